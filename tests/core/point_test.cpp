// tests/core/point_test.cpp: angles, distances and transformations of PNT_2D and PNT_3D.
#include <veltcore/core/point.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Point, AngleLiesInZeroToTwoPi) {
  struct Case {
    PNT_2D to;
    double expected;
  };
  const PNT_2D origin(0, 0);
  const Case cases[] = {
      {PNT_2D(1, 0), 0},
      {PNT_2D(0, 1), kPi / 2},
      {PNT_2D(-1, 0), kPi},
      {PNT_2D(0, -1), 3 * kPi / 2},
      {PNT_2D(1, -1), 7 * kPi / 4},
      {PNT_2D(0, 0), 0},
  };
  for (const Case& c : cases) {
    const double a = origin.angle(c.to);
    EXPECT_NEAR(a, c.expected, 1e-15) << c.to.getX() << "," << c.to.getY();
    EXPECT_GE(a, 0);
    EXPECT_LT(a, 2 * kPi);
  }
}

TEST(Point, DistancesIn2DAnd3D) {
  const PNT_2D a(1, 1);
  EXPECT_DOUBLE_EQ(a.dist(PNT_2D(4, 5)), 5);
  EXPECT_DOUBLE_EQ(a.dist(4, 5), 5);
  EXPECT_DOUBLE_EQ(a.dist_square(4, 5), 25);
  const PNT_3D p(1, 2, 3);
  EXPECT_DOUBLE_EQ(p.dist(PNT_3D(3, 5, 9)), 7);
  EXPECT_DOUBLE_EQ(p.dist_square(3, 5, 9), 49);
  EXPECT_DOUBLE_EQ(p.dist(3, 5, 9), 7);
}

TEST(Point, RotationAboutACentreKeepsZ) {
  PNT_3D p(2, 1, 7);
  p.rotate(PNT_3D(1, 1, -5), kPi / 2);
  EXPECT_NEAR(p.getX(), 1, 1e-15);
  EXPECT_NEAR(p.getY(), 2, 1e-15);
  EXPECT_EQ(p.getZ(), 7);

  PNT_2D q(3, 0);
  q.rotate(PNT_2D(0, 0), kPi);
  EXPECT_NEAR(q.getX(), -3, 1e-15);
  EXPECT_NEAR(q.getY(), 0, 1e-15);
}

TEST(Point, ScaleAndMove) {
  PNT_3D p(1, 2, 3);
  p.scale(PNT_3D(5, 6, 7), 1.0);
  EXPECT_EQ(p, PNT_3D(1, 2, 3));
  p.scale(PNT_3D(1, 0, 1), 2.0);
  EXPECT_EQ(p, PNT_3D(1, 4, 5));
  p.move(PNT_3D(-1, -4, 0.5));
  EXPECT_EQ(p, PNT_3D(0, 0, 5.5));
}

TEST(Point, ComparisonsAreExact) {
  EXPECT_NE(PNT_3D(1, 2, 3), PNT_3D(1, 2, 3.0000001));
  EXPECT_EQ(PNT_3D(1, 2, 3), PNT_3D(1, 2, 3));
  EXPECT_NE(PNT_2D(0.1 + 0.2, 0), PNT_2D(0.3, 0));
  EXPECT_EQ(-PNT_3D(1, -2, 3), PNT_3D(-1, 2, -3));
  EXPECT_EQ(PNT_3D(1, 2, 3) - PNT_3D(1, 1, 1) + PNT_3D(0, 0, 1), PNT_3D(0, 1, 3));
}

TEST(Point, ThreeDPointWorksAsTwoD) {
  PNT_3D p(0, 0, 9);
  PNT_2D& flat = p;
  flat.set(4, 5);
  double x = 0, y = 0;
  flat.get(x, y);
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 5);
  EXPECT_EQ(p.getZ(), 9);
}

}  // namespace
