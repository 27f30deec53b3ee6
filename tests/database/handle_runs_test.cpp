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

std::size_t maximalRuns(const std::set<std::int64_t>& values) {
  std::size_t runs = 0;
  for (auto v : values) runs += values.count(v - 1) == 0 ? 1 : 0;
  return runs;
}

std::int64_t firstNotInSet(const std::set<std::int64_t>& values, std::int64_t v) {
  while (values.count(v) != 0) ++v;
  return v;
}

}  // namespace

TEST(HandleRunsTest, MatchesOrderedSetOnRandomOperations) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 200; ++round) {
    HandleRuns runs;
    std::set<std::int64_t> expected;
    std::uniform_int_distribution<std::int64_t> value(-5, 40);
    for (int step = 0; step < 400; ++step) {
      const std::int64_t v = value(rng);
      if (rng() % 2 == 0) {
        ASSERT_EQ(runs.insert(v), expected.insert(v).second) << "insert " << v;
      } else {
        ASSERT_EQ(runs.erase(v), expected.erase(v) == 1) << "erase " << v;
      }
      const std::int64_t probe = value(rng);
      ASSERT_EQ(runs.contains(probe), expected.count(probe) == 1) << probe;
      ASSERT_EQ(runs.firstNotIn(probe), firstNotInSet(expected, probe)) << probe;
      ASSERT_EQ(runs.size(), expected.size());
      ASSERT_EQ(runs.runCount(), maximalRuns(expected));
    }
  }
}

namespace {

// Applies one insert or erase to both sets and compares results, sizes, run counts, and
// contains/firstNotIn over every value in [lo, hi].
::testing::AssertionResult applyAndCompare(HandleRuns& runs, std::set<std::int64_t>& expected,
                                           bool insert, std::int64_t v, std::int64_t lo,
                                           std::int64_t hi) {
  const bool got = insert ? runs.insert(v) : runs.erase(v);
  const bool want = insert ? expected.insert(v).second : expected.erase(v) == 1;
  if (got != want) return ::testing::AssertionFailure() << (insert ? "insert " : "erase ") << v;
  if (runs.size() != expected.size()) return ::testing::AssertionFailure() << "size after " << v;
  if (runs.runCount() != maximalRuns(expected))
    return ::testing::AssertionFailure() << "run count after " << v;
  for (std::int64_t p = lo; p <= hi; ++p)
    if (runs.contains(p) != (expected.count(p) == 1) ||
        runs.firstNotIn(p) != firstNotInSet(expected, p))
      return ::testing::AssertionFailure() << "probe " << p << " after " << v;
  return ::testing::AssertionSuccess();
}

struct Op {
  bool insert;
  std::int64_t from, to;  // values from..to inclusive, descending when from > to
};

}  // namespace

// Hand-built sequences over runs laid out in [0, 120]: a polyline's vertices reserved last to
// first below the last run, the gap before the last run filled from either side, and erases at
// the start, middle and end of runs.
TEST(HandleRunsTest, StructuredSequencesMatchOrderedSet) {
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
  };
  for (std::size_t s = 0; s < sequences.size(); ++s) {
    HandleRuns runs;
    std::set<std::int64_t> expected;
    for (const Op& op : sequences[s]) {
      const std::int64_t step = op.from <= op.to ? 1 : -1;
      for (std::int64_t v = op.from; v != op.to + step; v += step)
        ASSERT_TRUE(applyAndCompare(runs, expected, op.insert, v, -2, 122)) << "sequence " << s;
    }
  }
}

// Random drawings: rising handles, polylines whose vertices are reserved last to first, and
// erasures scattered among what is present.
TEST(HandleRunsTest, MatchesOrderedSetOnPolylineLikeSequences) {
  std::mt19937 rng(99);
  for (int round = 0; round < 100; ++round) {
    HandleRuns runs;
    std::set<std::int64_t> expected;
    std::int64_t next = 1;
    for (int entity = 0; entity < 40; ++entity) {
      const std::int64_t gap = rng() % 3, vertices = rng() % 4 == 0 ? rng() % 8 + 1 : 0;
      const std::int64_t top = next + gap + vertices;
      const std::int64_t lo = next > 20 ? next - 20 : 0, hi = top + 2;
      for (std::int64_t v = top; v >= next + gap; --v)
        ASSERT_TRUE(applyAndCompare(runs, expected, true, v, lo, hi)) << "round " << round;
      next = top + 1;
      if (rng() % 3 == 0) {
        const std::int64_t v = static_cast<std::int64_t>(rng() % static_cast<unsigned>(next));
        ASSERT_TRUE(applyAndCompare(runs, expected, false, v, v - 3, v + 3)) << "round " << round;
      }
    }
  }
}
