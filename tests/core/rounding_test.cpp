// tests/core/rounding_test.cpp: halves up versus halves down, and values off the int range.
#include <veltcore/core/rounding.h>

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace {

TEST(Rounding, HalvesGoUpOrDown) {
  struct Case {
    double x;
    int up;
    int down;
  };
  const Case cases[] = {
      {2.5, 3, 2}, {-2.5, -2, -3}, {2.4, 2, 2},   {2.6, 3, 3}, {-2.6, -3, -3},
      {0.0, 0, 0}, {0.5, 1, 0},    {-0.5, 0, -1}, {7.0, 7, 7}, {-1e-9, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(iround(c.x), c.up);
    EXPECT_EQ(fround(c.x), static_cast<double>(c.up));
    EXPECT_EQ(iround_down(c.x), c.down);
    EXPECT_EQ(fround_down(c.x), static_cast<double>(c.down));
  }
}

TEST(Rounding, OutOfRangeIsClamped) {
  EXPECT_EQ(iround(1e20), INT_MAX);
  EXPECT_EQ(iround(-1e20), INT_MIN);
  EXPECT_EQ(iround_down(std::numeric_limits<double>::quiet_NaN()), INT_MIN);
  EXPECT_EQ(fround(1e20), 1e20);
}

}  // namespace
