// tests/tools/curves_test.cpp: arcs as chains of points. The points are found by turning the
// one before, so they are held here to the angles they stand for, and the chain to its ends.
#include <gtest/gtest.h>

#include <cmath>

#include "render/curves.h"

namespace velt {
namespace {

TEST(Curves, ArcPointsStandAtEvenAnglesAndEndExactly) {
  struct Case {
    double radius, a0, a1;
  };
  const Case cases[] = {
      {3.0, 0.0, 6.283185307179586}, {40.0, -1.0, 2.5}, {5000.0, 0.3, 0.31}, {1e6, 2.0, 8.0}};
  for (const Case& c : cases) {
    PixelPath path;
    addPixelArc(path, {10.0, -20.0}, c.radius, c.a0, c.a1);
    ASSERT_EQ(path.subpaths().size(), 1u);
    const auto& pts = path.points();
    const int n = chordsFor(c.radius, c.a1 - c.a0);
    ASSERT_EQ(pts.size(), static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
      const double a = c.a0 + (c.a1 - c.a0) * i / n;
      EXPECT_NEAR(pts[i].x, 10.0 + c.radius * std::cos(a), c.radius * 1e-11) << i;
      EXPECT_NEAR(pts[i].y, -20.0 + c.radius * std::sin(a), c.radius * 1e-11) << i;
    }
    EXPECT_EQ(pts.back().x, 10.0 + c.radius * std::cos(c.a1));
    EXPECT_EQ(pts.back().y, -20.0 + c.radius * std::sin(c.a1));
  }
}

}  // namespace
}  // namespace velt
