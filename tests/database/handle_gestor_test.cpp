// tests/database/handle_gestor_test.cpp: CHandleGestorDefault in scripted scenarios and against a
// plain step-by-step manager on random sequences; CHandleGestorFoo; IHandleEnt's 32-bit handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <veltcore/database/handle.h>

namespace {

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

struct Exhausted {};
struct AlreadyUsed {};

// The value f returns, or the name of the exception it throws.
std::string outcome(const std::function<long()>& f) {
  try {
    return std::to_string(f());
  } catch (const Exhausted&) {
    return "exhausted";
  } catch (const IHandleGestor::HandleExaustedException&) {
    return "exhausted";
  } catch (const AlreadyUsed&) {
    return "used";
  } catch (const IHandleGestor::HandleAlreadyUsedException&) {
    return "used";
  }
}

enum Op { BookNext, BookHandle, Unbook, Reserve, Release, Seed, Search };

template <typename G>
std::string apply(G& g, Op op, long h) {
  return outcome([&]() -> long {
    switch (op) {
      case BookNext:
        return g.bookNext();
      case BookHandle:
        return g.bookHandle(h);
      case Unbook:
        return g.unbook(h), 0;
      case Reserve: {
        const Item item(h);
        return g.reserve(&item), 0;
      }
      case Release:
        return g.release(h), 0;
      case Seed:
        return g.nextseed();
      case Search:
        return g.search(h);
    }
    return -1;
  });
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

TEST(HandleGestorTest, Scenarios) {
  struct Step {
    Op op;
    long h;
    std::string expected;  // the value returned, "0" for void operations, or the exception
  };
  struct Scenario {
    const char* name;
    long seed, limit;
    std::vector<Step> steps;
  };
  const std::vector<Scenario> scenarios = {
      {"new drawing", 32, 1000000000, {{BookNext, 0, "32"}, {BookNext, 0, "33"}, {Seed, 0, "34"}}},
      {"bookHandle keeps the seed; bookNext skips it; a second bookHandle is refused",
       40,
       1000,
       {{BookHandle, 40, "40"},
        {Seed, 0, "40"},
        {BookNext, 0, "41"},
        {BookHandle, 40, "used"},
        {Unbook, 40, "0"},
        {Search, 40, "40"}}},
      {"reserve of a booked handle: no search",
       1,
       100,
       {{BookNext, 0, "1"},
        {Reserve, 1, "0"},
        {Unbook, 1, "0"},
        {BookHandle, 1, "used"},
        {Release, 1, "0"},
        {BookHandle, 1, "1"}}},
      {"reserve of a reserved handle reserves the next free value",
       1,
       100,
       {{BookNext, 0, "1"},
        {Reserve, 1, "0"},
        {Reserve, 1, "0"},
        {Search, 1, "3"},
        {Release, 2, "0"},
        {BookNext, 0, "2"}}},
      {"reserve at or above the limit wraps to the lowest free value",
       1,
       10,
       {{BookNext, 0, "1"}, {Reserve, 50, "0"}, {Search, 1, "3"}, {BookHandle, 50, "50"}}},
      {"seed at limit-1, then wrap past booked and reserved values",
       9,
       10,
       {{BookHandle, 1, "1"}, {Reserve, 2, "0"}, {BookNext, 0, "9"}, {BookNext, 0, "3"}}},
      {"bookNext exhausts below capacity and keeps its seed",
       1,
       4,
       {{BookNext, 0, "1"},
        {BookNext, 0, "2"},
        {BookNext, 0, "3"},
        {BookNext, 0, "exhausted"},
        {Seed, 0, "4"},
        {Unbook, 2, "0"},
        {BookNext, 0, "2"}}},
      {"handles above the limit fill capacity",
       1,
       2,
       {{BookHandle, 100, "100"},
        {BookHandle, 200, "200"},
        {BookHandle, 100, "exhausted"},
        {BookNext, 0, "exhausted"},
        {Release, 200, "0"},
        {Unbook, 200, "0"},
        {BookHandle, 100, "used"}}},
      {"a reserve that could only cycle throws",
       1,
       3,
       {{BookNext, 0, "1"},
        {Reserve, 1, "0"},
        {BookNext, 0, "2"},
        {Reserve, 7, "exhausted"},
        {Reserve, 2, "0"},
        {Reserve, 7, "0"},
        {Search, 1, "4"}}},
      {"limit 0", 1, 0, {{BookNext, 0, "exhausted"}, {BookHandle, 5, "exhausted"}}},
      {"long arguments keep their low 32 bits",
       k2to32 + 7,
       k2to32 + 100,
       {{BookNext, 0, "7"},
        {BookHandle, k2to32 + 5, "5"},
        {BookHandle, 5, "used"},
        {Reserve, 5, "0"},
        {Release, 2 * k2to32 + 5, "0"},
        {BookHandle, 5 - k2to32, "5"},
        {BookHandle, 0x80000000L, std::to_string(INT_MIN)}}},
      {"the top of the 32-bit range wraps",
       INT_MAX,
       INT_MAX,
       {{BookHandle, INT_MAX, std::to_string(INT_MAX)},
        {Reserve, INT_MAX, "0"},
        {Search, INT_MAX, "1"}}},
  };
  for (const Scenario& sc : scenarios) {
    Gestor g(sc.seed, sc.limit);
    for (std::size_t i = 0; i < sc.steps.size(); ++i) {
      const Step& s = sc.steps[i];
      EXPECT_EQ(apply(g, s.op, s.h), s.expected) << sc.name << ", step " << i;
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
      const Op op = static_cast<Op>(rng() % 6);  // Seed is compared after every step anyway
      const long h = op == Reserve && rng() % 2 ? ref.nextseed() - 1 : value(rng);
      const std::string expected = apply(ref, op, h);
      ASSERT_EQ(apply(g, op, h), expected) << "sequence " << sequence << " step " << step;
      ASSERT_EQ(g.nextseed(), ref.nextseed()) << "sequence " << sequence << " step " << step;
      const long from = value(rng);
      const std::string found = apply(ref, Search, from);
      ASSERT_EQ(apply(g, Search, from), found) << "search from " << from;
      counts[0] += expected == "exhausted";
      counts[1] += expected == "used";
      counts[2] += found != "exhausted" && std::stol(found) < from;
      counts[3] += op == Reserve && expected == "exhausted";
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

TEST(HandleGestorTest, FooHandsOutZeroAndNeverThrows) {
  struct Foo : CHandleGestorFoo {
    using CHandleGestorFoo::reservedCount;
  } foo;
  IHandleGestor& g = foo;
  const Item item(77);
  for (long h : {77L, 77L, 0L, -1L}) {
    EXPECT_EQ(g.bookHandle(h), 0);
    EXPECT_EQ(g.bookNext(), 0);
    g.reserve(&item);
  }
  g.release(77);
  g.unbook(0);
  EXPECT_EQ(foo.reservedCount(), 3);
  EXPECT_FALSE(g.handling());
  EXPECT_EQ(g.nextseed(), 0);
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
