// tests/database/handle_runs_test.cpp: HandleRuns checked against std::set on random operations,
// including that its runs stay maximal (adjacent runs are always merged).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>

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
