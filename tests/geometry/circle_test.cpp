// tests/geometry/circle_test.cpp: CIRCLE_3D values and its crossings with segments, implicit
// and parametric lines and other circles, plus the nearest circle point. Results are checked
// by properties (points on both figures) wherever the order of roots is not the contract.
#include <veltcore/geometry/arc.h>
#include <veltcore/geometry/constructions.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr double kPi = 3.141592653589793;
const PNT_2D kUntouched(-777, -777);

// Distance of p from the circle's rim.
double offRim(const CIRCLE_3D& c, const PNT_2D& p) {
  return std::fabs(p.dist(c.centre) - c.radius);
}

// Checks n crossings of c with another figure (`off` gives a point's distance from it): each
// found point lies on both, slots beyond n are left alone, and two points are distinct unless
// the figures touch, when they are the same point.
void expectCrossings(const CIRCLE_3D& c, long n, const PNT_2D& p1, const PNT_2D& p2,
                     const std::function<double(const PNT_2D&)>& off, bool touching) {
  const PNT_2D* found[] = {&p1, &p2};
  for (long i = 0; i < 2; ++i) {
    if (i < n) {
      EXPECT_NEAR(offRim(c, *found[i]), 0.0, 1e-12) << "point " << i;
      EXPECT_NEAR(off(*found[i]), 0.0, 1e-12) << "point " << i;
    } else {
      EXPECT_EQ(*found[i], kUntouched) << "point " << i;  // a rejected root never lands
    }
  }
  EXPECT_TRUE(n != 2 || (touching ? p1 == p2 : p1.dist(p2) > 0.1)) << p1.dist(p2);
}

TEST(Circle, ThroughThreePointsOrAnExceptionForPointsInLine) {
  struct Case {
    PNT_3D p1, p2, p3, centre;
    double r;
  };
  const Case cases[] = {
      {PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(2, 0, 0), PNT_3D(1, 0, 0), 1},
      // The centre takes the first point's Z; the other Z values are ignored.
      {PNT_3D(3, 4, 5), PNT_3D(-4, 3, 7), PNT_3D(0, -5, 9), PNT_3D(0, 0, 5), 5},
      {PNT_3D(11, 2, -1), PNT_3D(1, 12, 0), PNT_3D(-9, 2, 0), PNT_3D(1, 2, -1), 10},
      {PNT_3D(2, 0, 0), PNT_3D(1, 1, 0), PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), 1}};  // clockwise
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p1.getX());
    const CIRCLE_3D circle(c.p1, c.p2, c.p3);
    EXPECT_NEAR(circle.centre.dist(c.centre), 0.0, 1e-12);  // Z included
    EXPECT_NEAR(circle.radius, c.r, 1e-12);
    for (const PNT_3D& p : {c.p1, c.p2, c.p3}) EXPECT_NEAR(offRim(circle, p), 0.0, 1e-12);
  }
  struct InLine {
    const char* name;
    PNT_3D p1, p2, p3;
    bool throws;
  };
  const InLine inLine[] = {
      {"collinear", PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(3, 3, 0), true},
      {"two equal", PNT_3D(1, 1, 0), PNT_3D(1, 1, 0), PNT_3D(3, 0, 0), true},
      {"only Z differs", PNT_3D(0, 0, 0), PNT_3D(0, 0, 1), PNT_3D(0, 0, 2), true},
      // det = 1e-13 is within the 1e-12 tolerance; 1e-11 is not.
      {"det 1e-13", PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(2, 1e-13, 0), true},
      {"det 1e-11", PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(2, 1e-11, 0), false}};
  for (const InLine& c : inLine) {
    SCOPED_TRACE(c.name);
    CIRCLE_3D circle(7, 8, 9, 10);
    if (c.throws) {
      EXPECT_THROW(circle.create(c.p1, c.p2, c.p3), CIRCLE_3D::LinearPointExcepion);
      EXPECT_EQ(circle, CIRCLE_3D(7, 8, 9, 10));  // left alone
    } else {
      EXPECT_NO_THROW(circle.create(c.p1, c.p2, c.p3));
    }
  }
}

TEST(Circle, PointAtAngleBoxAndScale) {
  const CIRCLE_3D c(1, 2, 3, 2);
  for (double a : {0.0, kPi / 2, kPi, 3 * kPi / 2, 0.3, -0.7, 10.0}) {
    const PNT_3D p = c.getPntAngle(a);
    EXPECT_NEAR(offRim(c, p), 0.0, 1e-12) << a;
    EXPECT_EQ(p.getZ(), 3) << a;
    EXPECT_NEAR(std::remainder(c.centre.angle(p) - a, 2 * kPi), 0.0, 1e-12) << a;
  }
  RECT_3D box;
  c.calc_bdry(box);
  EXPECT_EQ(box, RECT_3D(-1, 0, 3, 3, 4, 3));
  CIRCLE_3D s = c;
  s.scale(PNT_3D(1, 0, 1), 3);  // Z scales too
  EXPECT_EQ(s, CIRCLE_3D(1, 6, 7, 6));
}

TEST(CircleSegment, CountsAndPointsLieOnBoth) {
  const CIRCLE_3D c(1, 2, 0, 5);
  struct Case {
    const char* name;
    LINE_2D s;
    long count;
    bool touching = false;
  };
  const Case cases[] = {{"through", LINE_2D(-10, 3, 12, 4), 2},
                        {"vertical through", LINE_2D(2, -10, 2, 10), 2},
                        {"horizontal through", LINE_2D(10, 2, -10, 2), 2},
                        {"from inside", LINE_2D(1, 2, 20, 9), 1},
                        {"from outside to inside", LINE_2D(20, 9, 1, 2), 1},
                        {"inside", LINE_2D(0, 1, 2, 3), 0},
                        {"outside", LINE_2D(7, -10, 7, 10), 0},
                        {"short of the rim", LINE_2D(-10, 2, -4.5, 2), 0},
                        {"end exactly on the rim", LINE_2D(-10, 2, -4, 2), 1},
                        {"start exactly on the rim", LINE_2D(6, 2, 10, 2), 1},
                        {"null segment", LINE_2D(6, 2, 6, 2), 0},
                        {"tangent: two equal points", LINE_2D(-10, 7, 10, 7), 2, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    const long n = c.intersect(k.s, &p1, &p2);
    EXPECT_EQ(n, k.count);
    const auto offSegment = [&k](const PNT_2D& p) {
      PNT_2D near;
      pntNearest(k.s, p, near);
      return p.dist(near);
    };
    expectCrossings(c, n, p1, p2, offSegment, k.touching);
  }
}

TEST(CircleSegment, AxisSegmentsGiveTheirCandidatesInOrder) {
  const CIRCLE_3D c(1, -1, 0, 5);
  struct Case {
    const char* name;
    bool horizontal;
    LINE_2D s;
    long count;
    PNT_2D p1, p2;
  };
  // h = 4 at distance 3 from the centre: the candidates are exact.
  const Case cases[] = {
      {"hor both", true, LINE_2D(-10, 2, 10, 2), 2, PNT_2D(5, 2), PNT_2D(-3, 2)},
      {"hor right only", true, LINE_2D(1, 2, 10, 2), 1, PNT_2D(5, 2), kUntouched},
      {"hor left only", true, LINE_2D(-10, 2, 1, 2), 1, PNT_2D(-3, 2), kUntouched},
      {"hor ends on both", true, LINE_2D(-3, 2, 5, 2), 2, PNT_2D(5, 2), PNT_2D(-3, 2)},
      {"hor tangent", true, LINE_2D(-10, 4, 10, 4), 2, PNT_2D(1, 4), PNT_2D(1, 4)},
      {"hor above", true, LINE_2D(-10, 4.000001, 10, 4.000001), 0, kUntouched, kUntouched},
      {"hor between", true, LINE_2D(-2, 2, 4, 2), 0, kUntouched, kUntouched},
      {"ver both", false, LINE_2D(4, -10, 4, 10), 2, PNT_2D(4, 3), PNT_2D(4, -5)},
      {"ver upper only", false, LINE_2D(4, 0, 4, 10), 1, PNT_2D(4, 3), kUntouched},
      {"ver lower only", false, LINE_2D(4, -10, 4, 0), 1, PNT_2D(4, -5), kUntouched},
      {"ver tangent", false, LINE_2D(-4, -10, -4, 10), 2, PNT_2D(-4, -1), PNT_2D(-4, -1)},
      {"ver right of", false, LINE_2D(6.5, -10, 6.5, 10), 0, kUntouched, kUntouched}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    EXPECT_EQ(k.horizontal ? c.intersect_hor(k.s, &p1, &p2) : c.intersect_ver(k.s, &p1, &p2),
              k.count);
    EXPECT_EQ(p1, k.p1);
    EXPECT_EQ(p2, k.p2);
    EXPECT_EQ(c.intersect(k.s, nullptr, nullptr), k.count);  // as the general crossing counts
  }
}

TEST(CircleImplicitLine, EveryBranchFindsPointsOnBoth) {
  const CIRCLE_3D c(1, 1, 0, 2);
  struct Case {
    const char* name;
    IMP_LINE_2D l;
    long count;
  };
  const Case cases[] = {{"steep |b| < |a|", IMP_LINE_2D(2, -1, -1), 2},
                        {"flat |b| > |a|", IMP_LINE_2D(1, -3, 2), 2},
                        {"diagonal |a| = |b|", IMP_LINE_2D(1, 1, -1), 2},
                        {"steep miss", IMP_LINE_2D(5, -1, 30), 0},
                        {"flat miss", IMP_LINE_2D(1, 4, 40), 0},
                        {"vertical b = 0", IMP_LINE_2D(2, 0, -2), 2},
                        {"vertical miss", IMP_LINE_2D(1, 0, 5), 0},
                        {"horizontal a = 0", IMP_LINE_2D(0, 3, -6), 2},
                        {"horizontal miss", IMP_LINE_2D(0, 1, 9), 0},
                        {"no normal", IMP_LINE_2D(0, 0, 1), 0},
                        {"no normal through everything", IMP_LINE_2D(0, 0, 0), 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    const long n = c.intersect(k.l, &p1, &p2);
    EXPECT_EQ(n, k.count);
    expectCrossings(
        c, n, p1, p2, [&k](const PNT_2D& p) { return k.l.eval(p); }, false);
  }
}

TEST(CircleImplicitLine, AxisLinesInOrderAndTangentsAsTwoEqualPoints) {
  struct Case {
    const char* name;
    CIRCLE_3D c;
    IMP_LINE_2D l;
    PNT_2D p1, p2;
  };
  const CIRCLE_3D c(1, 1, 0, 2), c5(1, 1, 0, 5);
  const Case cases[] = {
      {"x = 1: the lower point first", c, IMP_LINE_2D(-1, 0, 1), PNT_2D(1, -1), PNT_2D(1, 3)},
      {"y = 1: the left point first", c, IMP_LINE_2D(0, 2, -2), PNT_2D(-1, 1), PNT_2D(3, 1)},
      {"vertical tangent", c, IMP_LINE_2D(1, 0, -3), PNT_2D(3, 1), PNT_2D(3, 1)},
      {"horizontal tangent", c, IMP_LINE_2D(0, -1, -1), PNT_2D(1, -1), PNT_2D(1, -1)},
      // Slanted tangents through both solving branches.
      {"tangent solved for x", c5, IMP_LINE_2D(3, 4, -32), PNT_2D(4, 5), PNT_2D(4, 5)},
      {"tangent solved for y", c5, IMP_LINE_2D(4, 3, -32), PNT_2D(5, 4), PNT_2D(5, 4)}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1, p2;
    EXPECT_EQ(k.c.intersect(k.l, &p1, &p2), 2);
    EXPECT_EQ(p1, k.p1);
    EXPECT_EQ(p2, k.p2);
  }
}

TEST(CircleCrossings, NullTargets) {
  const CIRCLE_3D c(0, 0, 0, 1);
  const LINE_2D s(-2, 0, 2, 0);
  PNT_2D p1 = kUntouched, p2 = kUntouched;
  // Segments: a null slot is skipped, the other still gets its own root.
  EXPECT_EQ(c.intersect(s, nullptr, nullptr), 2);
  EXPECT_EQ(c.intersect(s, nullptr, &p2), 2);
  EXPECT_EQ(c.intersect(s, &p1, nullptr), 2);
  EXPECT_EQ(std::fabs(p1.getX()), 1.0);
  EXPECT_EQ(std::fabs(p2.getX()), 1.0);
  EXPECT_NE(p1, p2);  // the two slots received the two different roots
  // Implicit lines and circles count but write only with both targets.
  PNT_2D p = kUntouched;
  EXPECT_EQ(c.intersect(IMP_LINE_2D(1, 1, 0), &p, nullptr), 2);
  EXPECT_EQ(c.intersect(IMP_LINE_2D(1, 1, 0), nullptr, &p), 2);
  EXPECT_EQ(c.intersect(IMP_LINE_2D(1, 0, 0), &p, nullptr), 2);
  EXPECT_EQ(c.intersect(CIRCLE_3D(1, 0, 0, 1), &p, nullptr), 2);
  EXPECT_EQ(c.intersect(CIRCLE_3D(1, 0, 0, 1), nullptr, &p), 2);
  EXPECT_EQ(p, kUntouched);
}

TEST(CircleCircle, CrossingTouchingAndApart) {
  struct Case {
    const char* name;
    CIRCLE_3D a, b;
    long count;
    bool touching;
  };
  const Case cases[] = {
      {"crossing", CIRCLE_3D(1, 1, 0, 5), CIRCLE_3D(7, 1, 0, 5), 2, false},
      {"crossing, other Z", CIRCLE_3D(1, 1, 0, 5), CIRCLE_3D(4, 5, 99, 3), 2, false},
      {"crossing slanted", CIRCLE_3D(-2, 3, 0, 4), CIRCLE_3D(1, 7, 0, 2.5), 2, false},
      {"touching outside", CIRCLE_3D(0, 0, 0, 1), CIRCLE_3D(2, 0, 0, 1), 2, true},
      {"touching outside, vertical", CIRCLE_3D(0, 0, 0, 1), CIRCLE_3D(0, 2, 0, 1), 2, true},
      {"touching inside", CIRCLE_3D(0, 0, 0, 2), CIRCLE_3D(1, 0, 0, 1), 2, true},
      {"touching inside, swapped", CIRCLE_3D(1, 0, 0, 1), CIRCLE_3D(0, 0, 0, 2), 2, true},
      {"apart", CIRCLE_3D(0, 0, 0, 1), CIRCLE_3D(3, 0, 0, 1), 0, false},
      {"inside", CIRCLE_3D(0, 0, 0, 5), CIRCLE_3D(1, 1, 0, 1), 0, false},
      {"contains", CIRCLE_3D(1, 1, 0, 1), CIRCLE_3D(0, 0, 0, 5), 0, false},
      {"concentric", CIRCLE_3D(2, 2, 0, 1), CIRCLE_3D(2, 2, 0, 3), 0, false},
      {"same circle", CIRCLE_3D(2, 2, 0, 1), CIRCLE_3D(2, 2, 0, 1), 0, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    const long n = k.a.intersect(k.b, &p1, &p2);
    EXPECT_EQ(n, k.count);
    expectCrossings(
        k.a, n, p1, p2, [&k](const PNT_2D& p) { return offRim(k.b, p); }, k.touching);
  }
}

TEST(CircleParametricLine, RootsAreParametersOfRimPoints) {
  const CIRCLE_3D c(1, 2, 0, 3);
  struct Case {
    const char* name;
    PAR_LINE_2D l;
    long count;
  };
  const Case cases[] = {{"through", PAR_LINE_2D(-5, 0, 2, 0.5), 2},
                        {"long direction", PAR_LINE_2D(1, 2, 30, 40), 2},
                        {"tangent", PAR_LINE_2D(-3, 5, 1, 0), 2},
                        {"miss", PAR_LINE_2D(-3, 6, 1, 0), 0},
                        {"null direction", PAR_LINE_2D(0, 0, 0, 0), -1},
                        // A null direction at a rim point: every parameter solves it.
                        {"null direction on rim", PAR_LINE_2D(4, 2, 0, 0), -2}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    double t1 = -99, t2 = -99;
    EXPECT_EQ(c.intersect(k.l, t1, t2), k.count);
    for (double t : {t1, t2}) {
      PNT_2D p;
      k.l.calcPt(t, p);
      EXPECT_TRUE(k.count != 2 || offRim(c, p) < 1e-12) << t;
    }
  }
}

TEST(CircleNearest, PointTowardsPAndItsAngle) {
  const CIRCLE_3D c(1, 2, 7, 10);
  struct Case {
    PNT_2D p, out;
    double angle;
  };
  const Case cases[] = {
      {PNT_2D(4, 6), PNT_2D(7, 10), std::atan2(4.0, 3.0)},           // inside
      {PNT_2D(31, 42), PNT_2D(7, 10), std::atan2(4.0, 3.0)},         // outside
      {PNT_2D(-2, -2), PNT_2D(-5, -6), kPi + std::atan2(4.0, 3.0)},  // third quadrant
      {PNT_2D(1, -3), PNT_2D(1, -8), 3 * kPi / 2},
      {PNT_2D(11, 2), PNT_2D(11, 2), 0},  // already on the rim
      {PNT_2D(1, 2), PNT_2D(1, 2), 0}};   // the centre has no direction: it answers itself
  for (const Case& k : cases) {
    PNT_2D out;
    EXPECT_NEAR(pntNearest(c, k.p, out), k.angle, 1e-12) << k.p.getX();
    EXPECT_NEAR(out.dist(k.out), 0.0, 1e-12) << k.p.getX();
  }
}

}  // namespace
