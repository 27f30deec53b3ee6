// tests/hatch/dash_walk_test.cpp: the dash walk's pass budget, which no sound boundary reaches:
// crossings farther apart than the budget covers must end the walk and report it. (A position
// the dashes cannot move is reached through createHatch in generator_test.cpp.)
#include <gtest/gtest.h>

#include <vector>

#include "hatch/dash_walk.h"

namespace {

using veltcore::hatch::Dash;
using veltcore::hatch::DashSink;
using veltcore::hatch::walkDashes;

class CountingSink : public DashSink {
 public:
  void stretch(double, double) override { ++stretches; }
  void dot(double) override {}
  int stretches = 0;
};

const std::vector<Dash> kDash{{1, true}, {1, false}};

TEST(HatchDashWalk, StopsWhenThePassBudgetIsSpent) {
  const double t[] = {0, 1e6};
  CountingSink sink;
  EXPECT_FALSE(walkDashes(kDash, 2, t, 2, 10, sink));
  EXPECT_EQ(sink.stretches, 10);  // one dash per pass
  EXPECT_TRUE(walkDashes(kDash, 2, t, 2, 500001, sink));
}

}  // namespace
