// tests/database/handle_gestor_test.cpp: CHandleGestorDefault in scripted scenarios and against a
// plain step-by-step manager on random sequences; CHandleGestorFoo; IHandleEnt's 32-bit handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include <veltcore/database/handle.h>

namespace {

using Exhausted = IHandleGestor::HandleExaustedException;
using AlreadyUsed = IHandleGestor::HandleAlreadyUsedException;

class Item : public IHandleEnt {
 public:
  explicit Item(long h) : IHandleEnt(h) {}
  void accept(IEntVisitor&) override {}
  void set(long h) { SetHandle(h); }
};

// Exposes the protected search so that a test can ask which value is free next.
class Gestor : public CHandleGestorDefault {
 public:
  using CHandleGestorDefault::CHandleGestorDefault;
  long search(long h) const { return searchNext(h), h; }
};

enum Op { BookNext, BookHandle, Unbook, Reserve, Release, Seed, Search };

// What the operation returns ("0" for void ones), or "full" or "used" for the exceptions.
template <typename G>
std::string apply(G& g, Op op, long h) {
  try {
    const Item item(h);
    switch (op) {
      case BookNext:
        return std::to_string(g.bookNext());
      case BookHandle:
        return std::to_string(g.bookHandle(h));
      case Unbook:
        return g.unbook(h), "0";
      case Reserve:
        return g.reserve(&item), "0";
      case Release:
        return g.release(h), "0";
      case Seed:
        return std::to_string(g.nextseed());
      case Search:
        return std::to_string(g.search(h));
    }
  } catch (const Exhausted&) {
    return "full";
  } catch (const AlreadyUsed&) {
    return "used";
  }
  return "unknown operation";
}

// The manager written out as its steps, over std::set. Where its search would go round forever
// it stops after more steps than it has distinct states, and reports exhaustion.
class Reference {
 public:
  Reference(long seed, long limit) : seed_(seed), limit_(limit) {}
  long bookNext() {
    bool anyFree = false;
    for (long v = 1; v < limit_; ++v) anyFree = anyFree || !used(v);
    if (full() || !anyFree) throw Exhausted();
    searchNext(seed_);
    booked_.insert(seed_);
    return seed_++;
  }
  long bookHandle(long h) {
    if (full()) throw Exhausted();
    if (used(h)) throw AlreadyUsed();
    return booked_.insert(h), h;
  }
  void unbook(long h) { booked_.erase(h); }
  void reserve(const IHandleEnt* e) {
    long h = e->GetHandle();
    if (booked_.erase(h) == 0) searchNext(h);
    reserved_.insert(h);
  }
  void release(long h) { reserved_.erase(h); }
  long nextseed() const { return seed_; }
  long search(long h) const { return searchNext(h), h; }

 private:
  std::set<long> reserved_, booked_;
  long seed_, limit_;

  bool used(long v) const { return reserved_.count(v) + booked_.count(v) != 0; }
  bool full() const { return static_cast<long>(reserved_.size() + booked_.size()) == limit_; }
  void searchNext(long& h) const {
    // h stays within min(h, 1) ... max(limit, h, largest member + 1): one pass up, one wrap.
    long top = std::max(limit_, h);
    for (const auto* s : {&reserved_, &booked_})
      top = s->empty() ? top : std::max(top, *s->rbegin() + 1);
    long steps = 2 * (top - std::min(h, 1L) + 2);
    const auto step = [&] {
      if (--steps < 0) throw Exhausted();
    };
    for (;;) {
      while (reserved_.count(h) != 0) ++h, step();
      if (h >= limit_) {
        h = 1;
        while (reserved_.count(h) != 0) ++h, step();
      }
      if (booked_.count(h) == 0) return;
      ++h, step();
    }
  }
};

constexpr long k2to32 = 4294967296L;

}  // namespace

// Steps, blank-separated: an operation letter, its handle, and after '=' what it returns. N
// bookNext, H bookHandle, U unbook, R reserve, F release, S nextseed, Q the next free value
// searched from the handle.
TEST(HandleGestorTest, Scenarios) {
  const std::string kMin = std::to_string(INT_MIN), kMax = std::to_string(INT_MAX);
  const struct {
    const char* name;
    long seed, limit;
    std::string steps;
  } scenarios[] = {
      {"new drawing", 32, 1000000000, "N=32 N=33 S=34"},
      {"bookHandle keeps the seed; bookNext skips it; a second bookHandle is refused", 40, 1000,
       "H40=40 S=40 N=41 H40=used U40=0 Q40=40"},
      {"reserve of a booked handle: no search", 1, 100, "N=1 R1=0 U1=0 H1=used F1=0 H1=1"},
      {"reserve of a reserved handle reserves the next free value", 1, 100,
       "N=1 R1=0 R1=0 Q1=3 F2=0 N=2"},
      {"reserve at or above the limit wraps to the lowest free value", 1, 10,
       "N=1 R50=0 Q1=3 H50=50"},
      {"seed at limit-1, then wrap past booked and reserved values", 9, 10, "H1=1 R2=0 N=9 N=3"},
      {"bookNext exhausts below capacity and keeps its seed", 1, 4,
       "N=1 N=2 N=3 N=full S=4 U2=0 N=2"},
      {"handles above the limit fill capacity", 1, 2,
       "H100=100 H200=200 H100=full N=full F200=0 U200=0 H100=used"},
      {"a reserve that could only cycle throws", 1, 3, "N=1 R1=0 N=2 R7=full R2=0 R7=0 Q1=4"},
      {"limit 0", 1, 0, "N=full H5=full"},
      {"long arguments keep their low 32 bits", k2to32 + 7, k2to32 + 100,
       "N=7 H4294967301=5 H5=used R5=0 F8589934597=0 H-4294967291=5 H2147483648=" + kMin},
      {"the top of the 32-bit range wraps", INT_MAX, INT_MAX,
       "H" + kMax + "=" + kMax + " R" + kMax + "=0 Q" + kMax + "=1"}};
  for (const auto& sc : scenarios) {
    SCOPED_TRACE(sc.name);
    Gestor g(sc.seed, sc.limit);
    std::istringstream steps(sc.steps);
    for (std::string step; steps >> step;) {
      const std::size_t eq = step.find('=');
      const long h = eq > 1 ? std::stol(step.substr(1, eq - 1)) : 0;
      const Op op = static_cast<Op>(std::string("NHURFSQ").find(step[0]));
      EXPECT_EQ(apply(g, op, h), step.substr(eq + 1)) << step;
    }
  }
  Gestor byDefault;
  EXPECT_TRUE(byDefault.handling());
  EXPECT_EQ(byDefault.bookNext(), 1);
  EXPECT_EQ(byDefault.search(1000000000), 2);
}

TEST(HandleGestorTest, RandomSequencesMatchTheStepByStepManager) {
  std::mt19937 rng(7031);
  int counts[4] = {};  // exhausted, used, wrapped searches, cycling reserves
  for (int sequence = 0; sequence < 2500; ++sequence) {
    const long limit = sequence % 10 == 0 ? rng() % 4 : 8 + rng() % 57;
    const long seed = static_cast<long>(rng() % (limit + 4)) - 1;
    Reference ref(seed, limit);
    Gestor g(seed, limit);
    std::uniform_int_distribution<long> value(-2, limit + 4);
    for (int step = 0; step < 120; ++step) {
      SCOPED_TRACE("sequence " + std::to_string(sequence) + " step " + std::to_string(step));
      const Op op = static_cast<Op>(rng() % 6);  // Seed is compared after every step anyway
      const long h = op == Reserve && rng() % 2 ? ref.nextseed() - 1 : value(rng);
      const std::string expected = apply(ref, op, h);
      ASSERT_EQ(apply(g, op, h), expected);
      ASSERT_EQ(g.nextseed(), ref.nextseed());
      const long from = value(rng);
      const std::string found = apply(ref, Search, from);
      ASSERT_EQ(apply(g, Search, from), found) << "search from " << from;
      counts[0] += expected == "full";
      counts[1] += expected == "used";
      counts[2] += found != "full" && std::stol(found) < from;
      counts[3] += op == Reserve && expected == "full";
    }
  }
  // The sequences must reach what they exist for, including reserves that the step-by-step
  // manager could only end by going round forever.
  EXPECT_GT(counts[0], 10000);
  EXPECT_GT(counts[1], 5000);
  EXPECT_GT(counts[2], 10000);
  EXPECT_GT(counts[3], 1000);
}

TEST(HandleGestorTest, CopiesAreIndependent) {
  Gestor original(1, 100);
  const Item one(original.bookNext());
  original.reserve(&one);
  original.bookHandle(50);
  Gestor copy(original), assigned(7, 8);
  assigned = original;
  for (Gestor* g : {&copy, &assigned}) {
    EXPECT_EQ(g->nextseed(), 2);
    EXPECT_EQ(g->search(1), 2);
    g->release(1);
    g->unbook(50);
    EXPECT_EQ(g->search(1), 1);
    EXPECT_EQ(g->search(50), 50);
  }
  EXPECT_EQ(original.search(1), 2);
  EXPECT_EQ(original.search(50), 51);
}

TEST(HandleGestorTest, FooHandsOutZeroAndOnlyCountsReserves) {
  struct Foo : CHandleGestorFoo {
    using CHandleGestorFoo::reservedCount;
  } foo;
  const Item item(77);
  for (int i = 0; i < 4; ++i) foo.reserve(&item);
  foo.release(77);
  EXPECT_EQ(foo.reservedCount(), 3);
  EXPECT_FALSE(foo.handling());
  EXPECT_EQ(foo.bookHandle(77) + foo.bookNext() + foo.nextseed(), 0);
}

TEST(HandleGestorTest, HandleEntHoldsA32BitValue) {
  const long cases[][2] = {{32, 32}, {-7, -7}, {k2to32 + 9, 9}, {0x80000000L, INT_MIN}};
  for (const auto& c : cases) {
    Item item(c[0]);
    const Item copy(item);
    item.set(c[0] + 1);
    Item assigned(5);
    assigned = copy;
    EXPECT_EQ(copy.GetHandle(), c[1]);
    EXPECT_EQ(assigned.GetHandle(), c[1]);
    EXPECT_EQ(item.GetHandle(), c[1] + 1);
  }
}
