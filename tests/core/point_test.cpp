// tests/core/point_test.cpp: angles, distances and transformations of PNT_2D and PNT_3D.
#include <veltcore/core/point.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Point, AngleLiesInZeroToTwoPi) {
  const std::pair<PNT_2D, double> cases[] = {{PNT_2D(1, 0), 0},
                                             {PNT_2D(0, 1), kPi / 2},
                                             {PNT_2D(-1, 0), kPi},
                                             {PNT_2D(0, -1), 3 * kPi / 2},
                                             {PNT_2D(1, -1), 7 * kPi / 4},
                                             {PNT_2D(0, 0), 0}};
  for (const auto& [to, expected] : cases)
    EXPECT_NEAR(PNT_2D(0, 0).angle(to), expected, 1e-15) << to.getX() << "," << to.getY();
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

TEST(Point, RotateScaleMoveAndCompare) {
  PNT_3D p(2, 1, 7);
  p.rotate(PNT_3D(1, 1, -5), kPi / 2);  // Z is kept
  EXPECT_NEAR(p.dist(PNT_3D(1, 2, 7)), 0, 1e-15);
  PNT_3D q(1, 2, 3);
  q.scale(PNT_3D(1, 0, 1), 2.0);
  EXPECT_EQ(q, PNT_3D(1, 4, 5));
  q.move(PNT_3D(-1, -4, 0.5));
  EXPECT_EQ(q, PNT_3D(0, 0, 5.5));
  // Comparisons are exact.
  EXPECT_NE(PNT_3D(1, 2, 3), PNT_3D(1, 2, 3.0000001));
  EXPECT_NE(PNT_2D(0.1 + 0.2, 0), PNT_2D(0.3, 0));
  EXPECT_EQ(-PNT_3D(1, -2, 3), PNT_3D(-1, 2, -3));
  EXPECT_EQ(PNT_3D(1, 2, 3) - PNT_3D(1, 1, 1) + PNT_3D(0, 0, 1), PNT_3D(0, 1, 3));
  // A 3D point set through its 2D part keeps its Z.
  PNT_2D& flat = q;
  flat.set(4, 5);
  EXPECT_EQ(q, PNT_3D(4, 5, 5.5));
}

}  // namespace
