// tests/database/handle_runs_test.cpp: HandleRuns checked against std::set on random and structured
// operation sequences, including that its runs stay maximal (adjacent runs are always merged).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "database/handle_runs.h"

using veltcore::detail::HandleRuns;

namespace {

// Both sets side by side. apply makes one insert or erase on each and compares the results,
// sizes, run counts (runs must stay maximal), and contains/firstNotIn over every value in
// [lo, hi].
struct Twin {
  HandleRuns runs;
  std::set<std::int64_t> expected;

  ::testing::AssertionResult apply(bool insert, std::int64_t v, std::int64_t lo, std::int64_t hi) {
    const bool got = insert ? runs.insert(v) : runs.erase(v);
    if (got != (insert ? expected.insert(v).second : expected.erase(v) == 1))
      return ::testing::AssertionFailure() << (insert ? "insert " : "erase ") << v;
    std::size_t maximalRuns = 0;
    for (auto e : expected) maximalRuns += expected.count(e - 1) == 0 ? 1 : 0;
    if (runs.size() != expected.size() || runs.runCount() != maximalRuns)
      return ::testing::AssertionFailure() << "size or run count after " << v;
    for (std::int64_t p = lo; p <= hi; ++p) {
      std::int64_t free = p;
      while (expected.count(free) != 0) ++free;
      if (runs.contains(p) != (expected.count(p) == 1) || runs.firstNotIn(p) != free)
        return ::testing::AssertionFailure() << "probe " << p << " after " << v;
    }
    return ::testing::AssertionSuccess();
  }
};

}  // namespace

TEST(HandleRunsTest, MatchesOrderedSetOnRandomOperations) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::int64_t> value(-5, 40);
  for (int round = 0; round < 200; ++round) {
    Twin twin;
    for (int step = 0; step < 400; ++step) {
      const std::int64_t v = value(rng), probe = value(rng);
      ASSERT_TRUE(twin.apply(rng() % 2 == 0, v, probe, probe));
    }
  }
}

// Hand-built sequences over runs laid out in [0, 120]: a polyline's vertices reserved last to
// first below the last run, the gap before the last run filled from either side, and erases at
// the start, middle and end of runs. Each step inserts or erases the values from..to inclusive,
// descending when from > to.
TEST(HandleRunsTest, StructuredSequencesMatchOrderedSet) {
  struct Op {
    bool insert;
    std::int64_t from, to;
  };
  const std::vector<std::vector<Op>> sequences = {
      // Descending just below the last run extends it downwards, one value at a time.
      {{true, 0, 9}, {true, 100, 109}, {true, 99, 60}},
      // Descending into the gap before the last run, then closing the gap from below.
      {{true, 0, 9}, {true, 100, 109}, {true, 80, 70}, {true, 10, 69}, {true, 99, 81}},
      // Filling the gap before the last run rising, then descending.
      {{true, 0, 9}, {true, 50, 59}, {true, 10, 29}, {true, 49, 30}},
      // Vertex blocks, each reserved last to first above the previous one.
      {{true, 5, 0}, {true, 12, 7}, {true, 13, 13}, {true, 20, 14}, {true, 6, 6}},
      // Erasing in the middle splits a run; erasing at either end shortens it; absent is refused.
      {{true, 0, 40}, {false, 20, 20}, {false, 40, 40}, {false, 0, 0}, {false, 21, 21}},
      {{true, 0, 40}, {false, 19, 19}, {false, 41, 41}, {false, 20, 20}, {false, 39, 30}},
      // Erasing next to either end of a run leaves a one-value run there.
      {{true, 0, 40}, {false, 39, 39}, {false, 1, 1}, {false, 38, 30}, {false, 2, 18}},
      // Erasing the whole last run and a value in the middle, then refilling descending.
      {{true, 0, 9}, {true, 20, 29}, {false, 29, 20}, {false, 5, 5}, {true, 29, 6}},
      // Clearing in rising order across runs, while inserts merge the runs ahead of it and
      // rekey the run being cleared.
      {{true, 0, 9},
       {true, 11, 20},
       {true, 22, 31},
       {true, 40, 49},
       {false, 0, 4},
       {true, 10, 10},
       {false, 5, 14},
       {true, 21, 21},
       {true, 4, 3},
       {false, 3, 30},
       {true, 39, 32},
       {false, 31, 49}},
  };
  for (std::size_t s = 0; s < sequences.size(); ++s) {
    Twin twin;
    for (const Op& op : sequences[s]) {
      const std::int64_t step = op.from <= op.to ? 1 : -1;
      for (std::int64_t v = op.from; v != op.to + step; v += step)
        ASSERT_TRUE(twin.apply(op.insert, v, -2, 122)) << "sequence " << s;
    }
  }
}

// Random drawings: rising handles, polylines whose vertices are reserved last to first, and
// erasures scattered among what is present.
TEST(HandleRunsTest, MatchesOrderedSetOnPolylineLikeSequences) {
  std::mt19937 rng(99);
  for (int round = 0; round < 100; ++round) {
    Twin twin;
    std::int64_t next = 1;
    for (int entity = 0; entity < 40; ++entity) {
      const std::int64_t gap = rng() % 3, vertices = rng() % 4 == 0 ? rng() % 8 + 1 : 0;
      const std::int64_t top = next + gap + vertices;
      for (std::int64_t v = top; v >= next + gap; --v)
        ASSERT_TRUE(twin.apply(true, v, next > 20 ? next - 20 : 0, top + 2)) << "round " << round;
      next = top + 1;
      if (rng() % 3 == 0) {
        const std::int64_t v = static_cast<std::int64_t>(rng() % static_cast<unsigned>(next));
        ASSERT_TRUE(twin.apply(false, v, v - 3, v + 3)) << "round " << round;
      }
    }
  }
}
