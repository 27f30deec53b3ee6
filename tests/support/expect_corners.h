// tests/support/expect_corners.h: checks the corners of anything that reports them as
// get(x1, y1, x2, y2) (rectangles, viewport windows) against the expected values.
#pragma once

#include <gtest/gtest.h>

template <typename Box>
void expectCorners(const Box& box, double x1, double y1, double x2, double y2) {
  double a, b, c, d;
  box.get(a, b, c, d);
  EXPECT_DOUBLE_EQ(a, x1);
  EXPECT_DOUBLE_EQ(b, y1);
  EXPECT_DOUBLE_EQ(c, x2);
  EXPECT_DOUBLE_EQ(d, y2);
}
