// tests/geometry/curve_constructions_test.cpp: tangent points (pntTang), fillet circles
// (CreateCircle) and bulge arcs (createArcFromBulge). Results are checked by what makes them
// right: tangency, distance to both lines, chord ends and included angle.
#include <veltcore/geometry/arc.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
const PNT_3D kUntouched3(-777, -777, -777);
const PNT_3D kAny(-555, -555, -555);

// (t - c) . (t - p): zero when the line from p through t is tangent at t.
double tangencyDefect(const CIRCLE_3D& c, const PNT_3D& p, const PNT_3D& t) {
  return (t.getX() - c.centre.getX()) * (t.getX() - p.getX()) +
         (t.getY() - c.centre.getY()) * (t.getY() - p.getY());
}

TEST(Tangents, FromOutsideOnAndInside) {
  const double h = std::sqrt(0.75);
  struct Case {
    const char* name;
    CIRCLE_3D c;
    PNT_3D p;
    long count;
    PNT_3D first;  // kAny: any tangent point
  };
  const Case cases[] = {
      {"outside", CIRCLE_3D(1, 2, 3, 2), PNT_3D(5, 7, 0), 2, kAny},
      {"outside, below left", CIRCLE_3D(-4, 1, -2, 0.5), PNT_3D(-9, -3, 0), 2, kAny},
      {"far away", CIRCLE_3D(0, 0, 0, 1), PNT_3D(1e4, -3e3, 0), 2, kAny},
      // From (2, 0) the tangent of slope +1/sqrt(3) comes first and touches below the axis.
      {"order", CIRCLE_3D(0, 0, 0, 1), PNT_3D(2, 0, 0), 2, PNT_3D(0.5, -h, 0)},
      // A vertical tangent touches at the side of the circle.
      {"vertical, right", CIRCLE_3D(2, -1, 4, 2), PNT_3D(4, 5, 0), 2, PNT_3D(4, -1, 4)},
      {"vertical, left", CIRCLE_3D(2, -1, 4, 2), PNT_3D(0, 5, 0), 2, PNT_3D(0, -1, 4)},
      {"inside", CIRCLE_3D(1, 2, 3, 2), PNT_3D(2, 2.5, 0), 0, kUntouched3},
      {"at the centre", CIRCLE_3D(1, 2, 3, 2), PNT_3D(1, 2, 0), 0, kUntouched3},
      // From a point on the circle: the point itself, at the circle's Z, and nothing more.
      {"on", CIRCLE_3D(0, 0, 1, 5), PNT_3D(3, 4, 0), 1, PNT_3D(3, 4, 1)},
      {"on, slope 0", CIRCLE_3D(0, 0, 1, 5), PNT_3D(0, 5, 0), 1, PNT_3D(0, 5, 1)},
      {"on, vertical", CIRCLE_3D(0, 0, 1, 5), PNT_3D(5, 0, 0), 1, PNT_3D(5, 0, 1)},
      {"on, vertical left", CIRCLE_3D(0, 0, 1, 5), PNT_3D(-5, 0, 0), 1, PNT_3D(-5, 0, 1)}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_3D out[2] = {kUntouched3, kUntouched3};
    ASSERT_EQ(pntTang(k.c, k.p, out), k.count);
    EXPECT_TRUE(k.first == kAny || out[0].dist(k.first) < 1e-12);
    if (k.count < 2) {
      EXPECT_EQ(out[1], kUntouched3);
      continue;
    }
    const double scale = k.c.centre.dist(k.p);
    for (const PNT_3D& t : out) {
      EXPECT_NEAR(t.dist(k.c.centre) - k.c.radius, 0, 1e-12 * scale);  // Z included
      EXPECT_NEAR(tangencyDefect(k.c, k.p, t), 0, 1e-10 * scale * scale);
    }
    EXPECT_GT(out[0].dist(out[1]), 1e-3 * k.c.radius);  // two different points
  }
}

TEST(Fillet, CircleTouchesBothLinesInsideTheChosenAngle) {
  struct Case {
    const char* name;
    PAR_LINE_2D l1;
    double t1;
    PAR_LINE_2D l2;
    double t2;
    double r;
  };
  const Case cases[] = {
      {"right angle", PAR_LINE_2D(0, 0, 1, 0), 1, PAR_LINE_2D(0, 0, 0, 1), 1, 1},
      {"right angle, other quadrant", PAR_LINE_2D(0, 0, 1, 0), 1, PAR_LINE_2D(0, 0, 0, 1), -1, 1},
      {"right angle, third quadrant", PAR_LINE_2D(0, 0, 1, 0), -2, PAR_LINE_2D(0, 0, 0, 1), -3,
       0.5},
      {"acute", PAR_LINE_2D(0, 0, 1, 0), 5, PAR_LINE_2D(0, 0, 1, 0.2), 5, 0.3},
      {"obtuse", PAR_LINE_2D(1, 1, 1, 0), 3, PAR_LINE_2D(1, 1, -1, 1), 2, 2},
      {"slanted, away from the bases", PAR_LINE_2D(2, 3, 2, 1), -4, PAR_LINE_2D(-1, 4, 1, -3), 3,
       1.5},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    CIRCLE_3D out(9, 9, 9, 9);
    ASSERT_TRUE(CreateCircle(k.l1, k.t1, k.l2, k.t2, k.r, out));
    EXPECT_EQ(out.radius, k.r);
    EXPECT_EQ(out.centre.getZ(), 0);
    EXPECT_NEAR(std::fabs(k.l1.dist(out.centre)), k.r, 1e-12);
    EXPECT_NEAR(std::fabs(k.l2.dist(out.centre)), k.r, 1e-12);
    // The centre lies in the angle holding the two chosen points.
    PNT_2D a, b;
    k.l1.calcPt(k.t1, a);
    k.l2.calcPt(k.t2, b);
    EXPECT_TRUE(k.l1.sameSide(out.centre, b));
    EXPECT_TRUE(k.l2.sameSide(out.centre, a));
  }
  // No circle for parallel lines, or when a chosen point sits on the corner (both rays then
  // lie along one line); the output is left alone.
  const PAR_LINE_2D x(0, 0, 1, 0), y(0, 0, 0, 1);
  const struct {
    PAR_LINE_2D l1;
    double t1;
    PAR_LINE_2D l2;
    double t2;
  } none[] = {{x, 1, PAR_LINE_2D(0, 1, 2, 0), 1},
              {x, 1, PAR_LINE_2D(3, 0, -1, 0), 1},
              {x, 1, y, 0},
              {PAR_LINE_2D(2, 2, 1, 0), 0, PAR_LINE_2D(2, 2, 0, 1), 0}};
  for (const auto& k : none) {
    CIRCLE_3D out(9, 9, 9, 9);
    EXPECT_FALSE(CreateCircle(k.l1, k.t1, k.l2, k.t2, 1, out)) << k.l2.x << " " << k.t2;
    EXPECT_EQ(out, CIRCLE_3D(9, 9, 9, 9));
  }
}

TEST(Bulge, HalfCirclesZeroBulgeAndNullChord) {
  ARC_3D a;
  ASSERT_TRUE(createArcFromBulge(PNT_3D(0, 0, 1), PNT_3D(2, 0, 3), 1, a));
  // Bulge 1 runs counter-clockwise from p0: the half below the chord.
  EXPECT_EQ(a, ARC_3D(1, 0, 2, 1, kPi, 2 * kPi));
  ASSERT_TRUE(createArcFromBulge(PNT_3D(0, 0, 1), PNT_3D(2, 0, 3), -1, a));
  EXPECT_EQ(a, ARC_3D(1, 0, 2, 1, 0, kPi));
  // A vertical chord upwards, bulge 1: counter-clockwise from the bottom end, through angle 0.
  ASSERT_TRUE(createArcFromBulge(PNT_3D(5, -1, 0), PNT_3D(5, 3, 0), 1, a));
  EXPECT_TRUE(a.centre == PNT_3D(5, 1, 0) && a.radius == 2);
  EXPECT_NEAR(a.start, 3 * kPi / 2, 1e-15);
  EXPECT_NEAR(a.end, kPi / 2, 1e-15);

  a = ARC_3D(9, 9, 9, 9, 1, 2);
  EXPECT_FALSE(createArcFromBulge(PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), 0, a));
  EXPECT_EQ(a, ARC_3D(9, 9, 9, 9, 1, 2));
  // No chord, no direction: the arc collapses to the point rather than becoming NaN.
  ASSERT_TRUE(createArcFromBulge(PNT_3D(3, 4, 0), PNT_3D(3, 4, 2), 0.5, a));
  EXPECT_TRUE(a.centre == PNT_3D(3, 4, 1) && a.radius == 0);
}

TEST(Bulge, ArcJoinsTheEndsWithTheIncludedAngle) {
  const double bulges[] = {0.1, 0.5, 0.9, 0.999, 1.001, 2, 10, -0.1, -0.5, -2, -10, 1e-8, -1e-6};
  const PNT_3D p0(1, 2, 4), p1(4, 6, 10);  // chord 5
  for (double b : bulges) {
    SCOPED_TRACE(b);
    ARC_3D a(9, 9, 9, 9, 0, 0);
    ASSERT_TRUE(createArcFromBulge(p0, p1, b, a));
    // Tiny bulges give huge radii: allow for the size of the figure.
    const double tol = 1e-9 * (1 + a.radius);
    EXPECT_EQ(a.centre.getZ(), 7);
    // A positive bulge runs from p0 to p1, a negative one from p1 to p0.
    PNT_3D ps, pe;
    a.end_points(ps, pe);
    EXPECT_NEAR(static_cast<PNT_2D>(ps).dist(b > 0 ? p0 : p1), 0, tol);
    EXPECT_NEAR(static_cast<PNT_2D>(pe).dist(b > 0 ? p1 : p0), 0, tol);
    // The included angle is 4 * atan(|b|).
    double s, e;
    a.getSafeAngles(s, e);
    EXPECT_NEAR(e - s, 4 * std::atan(std::fabs(b)), 1e-9);
    // The arc's middle lies |b| * half chord from the chord's middle, on the right of
    // p0 -> p1 for a positive bulge (counter-clockwise about a centre on the left).
    const PNT_3D mid = a.getPntAngle((s + e) / 2);
    EXPECT_NEAR(static_cast<PNT_2D>(mid).dist(PNT_2D(2.5, 4)), std::fabs(b) * 2.5, tol);
    EXPECT_EQ(LINE_2D(p0, p1).ptLeftSide(mid), b < 0);
  }
}

}  // namespace
