// tests/database/ref_counter_test.cpp: IRefCounter deletes itself on the decRef that reaches 0,
// and copies carry the count.
#include <gtest/gtest.h>

#include <veltcore/database/ref_counter.h>

namespace {

class Counted : public IRefCounter {
 public:
  explicit Counted(int* destroyed) : destroyed_(destroyed) {}
  ~Counted() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

// Calls decRef until the object is gone (at most 100 times); returns how many calls that took.
int decRefsUntilDeleted(Counted* p, const int& destroyed) {
  const int before = destroyed;
  int calls = 0;
  while (destroyed == before && calls < 100) p->decRef(), ++calls;
  return calls;
}

}  // namespace

TEST(RefCounterTest, DeletesOnTheDecRefThatReachesZeroAndCopiesCarryTheCount) {
  int destroyed = 0;
  auto* fresh = new Counted(&destroyed);
  EXPECT_EQ(decRefsUntilDeleted(fresh, destroyed), 1);
  auto* source = new Counted(&destroyed);
  source->addRef();  // 2
  auto* copy = new Counted(*source);
  auto* assigned = new Counted(&destroyed);
  for (int i = 0; i < 3; ++i) assigned->addRef();  // 4, replaced by 2
  *assigned = *source;
  EXPECT_EQ(decRefsUntilDeleted(copy, destroyed), 2);
  EXPECT_EQ(decRefsUntilDeleted(assigned, destroyed), 2);
  EXPECT_EQ(decRefsUntilDeleted(source, destroyed), 2);
  EXPECT_EQ(destroyed, 4);
}
