// tests/geometry/arc_test.cpp: ARC_3D values (angle normalisation, three-point arcs, the angle
// test and its tolerance, box, rotation, distances) and its crossings. Box and crossings are
// checked against an independent sweep test and sampled points, not against the formulas.
#include <veltcore/geometry/arc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double k2Pi = 2 * kPi;
const PNT_2D kUntouched(-777, -777);

// Counter-clockwise sweep of the arc, equal angles meaning the full turn.
double sweepOf(const ARC_3D& a) {
  const double s = a.end - a.start;
  return s > 0 ? s : s + k2Pi;
}

// Whether p's direction from the centre lies on the arc (with slack at both ends), computed
// from the sweep rather than through angle_in_arc.
bool onArcBySweep(const ARC_3D& a, const PNT_2D& p, double slack = 1e-9) {
  const double ang = std::atan2(p.getY() - a.centre.getY(), p.getX() - a.centre.getX());
  double rel = std::fmod(ang - a.start, k2Pi);
  if (rel < 0) rel += k2Pi;
  return rel <= sweepOf(a) + slack || rel >= k2Pi - slack;
}

double offRim(const CIRCLE_3D& c, const PNT_2D& p) {
  return std::fabs(p.dist(c.centre) - c.radius);
}

TEST(Arc, ConstructorAndSetBringAnglesIntoOneTurn) {
  struct Case {
    double start, end;
    double wantStart, wantEnd;
  };
  const Case cases[] = {
      {-kPi / 2, 5 * kPi, 3 * kPi / 2, kPi},
      {k2Pi, 0, k2Pi, 0},  // 2*pi itself stays
      {-k2Pi, 4 * kPi, 0, k2Pi},
      {7 * kPi / 2, -7 * kPi / 2, 3 * kPi / 2, kPi / 2},
      {0.25, 1.5, 0.25, 1.5},
      {-1e-3, 2 * k2Pi + 1, k2Pi - 1e-3, 1},
  };
  for (const Case& c : cases) {
    const ARC_3D a(1, 2, 3, 4, c.start, c.end);
    EXPECT_NEAR(a.start, c.wantStart, 1e-12) << c.start;
    EXPECT_NEAR(a.end, c.wantEnd, 1e-12) << c.end;
    EXPECT_TRUE(a.start >= 0 && a.start <= k2Pi && a.end >= 0 && a.end <= k2Pi);
    ARC_3D b;
    b.set(1, 2, 3, 4, c.start, c.end);
    EXPECT_EQ(a, b);
    double x, y, z, r, s, e;
    b.get(x, y, z, r, s, e);
    EXPECT_TRUE(x == 1 && y == 2 && z == 3 && r == 4 && s == a.start && e == a.end);
  }
  // Huge and non-finite angles neither hang nor leave the range (finite ones).
  const ARC_3D big(0, 0, 0, 1, 1e30, -1e30);
  EXPECT_TRUE(big.start >= 0 && big.start <= k2Pi && big.end >= 0 && big.end <= k2Pi);
  EXPECT_TRUE(std::isinf(ARC_3D(0, 0, 0, 1, INFINITY, 0).start));
}

TEST(Arc, EqualityComparesEveryField) {
  const ARC_3D a(1, 2, 3, 4, 0.5, 1.5);
  EXPECT_EQ(a, ARC_3D(1, 2, 3, 4, 0.5, 1.5));
  EXPECT_NE(a, ARC_3D(0, 2, 3, 4, 0.5, 1.5));
  EXPECT_NE(a, ARC_3D(1, 2, 0, 4, 0.5, 1.5));
  EXPECT_NE(a, ARC_3D(1, 2, 3, 5, 0.5, 1.5));
  EXPECT_NE(a, ARC_3D(1, 2, 3, 4, 0.6, 1.5));
  EXPECT_NE(a, ARC_3D(1, 2, 3, 4, 0.5, 1.6));
  ARC_3D copy;
  copy = a;
  EXPECT_TRUE(copy == a && !(copy != a));
  EXPECT_EQ(ARC_3D(), ARC_3D(0, 0, 0, 0, 0, 0));
}

TEST(Arc, ThroughThreePointsRunsThroughTheMiddleOne) {
  struct Case {
    PNT_3D p1, p2, p3;
  };
  const Case cases[] = {
      {PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(2, 0, 0)},    // clockwise
      {PNT_3D(2, 0, 0), PNT_3D(1, 1, 0), PNT_3D(0, 0, 0)},    // counter-clockwise
      {PNT_3D(0, 1, 0), PNT_3D(1, 0, 0), PNT_3D(0, -1, 0)},   // clockwise through angle 0
      {PNT_3D(0, -1, 0), PNT_3D(1, 0, 0), PNT_3D(0, 1, 0)},   // ccw through angle 0
      {PNT_3D(0, 1, 0), PNT_3D(-1, 0, 0), PNT_3D(1, 0, 0)},   // major arc, ends at angle 0
      {PNT_3D(5, 7, 2), PNT_3D(-3, 1, 2), PNT_3D(4, -6, 2)},  // large sweep
      {PNT_3D(3, 0, 0), PNT_3D(3, 0.01, 0), PNT_3D(2.9, 1, 0)},
  };
  for (const Case& c : cases) {
    const ARC_3D a(c.p1, c.p2, c.p3);
    EXPECT_EQ(static_cast<const CIRCLE_3D&>(a), CIRCLE_3D(c.p1, c.p2, c.p3));
    EXPECT_TRUE(onArcBySweep(a, c.p2, -1e-9)) << c.p2.getX();  // strictly inside
    PNT_3D ps, pe;
    a.end_points(ps, pe);
    const bool forward = ps.dist(c.p1) < 1e-9 && pe.dist(c.p3) < 1e-9;
    const bool backward = ps.dist(c.p3) < 1e-9 && pe.dist(c.p1) < 1e-9;
    EXPECT_TRUE(forward || backward) << c.p2.getX();
  }
  // The worked case: (1, 1) is on the clockwise stretch, so the arc runs from (2, 0).
  const ARC_3D w(PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(2, 0, 0));
  EXPECT_EQ(w.start, 0.0);
  EXPECT_EQ(w.end, kPi);
}

TEST(Arc, ThreePointsInLineThrowAndLeaveTheArcAlone) {
  ARC_3D a(1, 1, 1, 1, 0.5, 1);
  const ARC_3D before = a;
  EXPECT_THROW(a.create(PNT_3D(0, 0, 0), PNT_3D(1, 2, 0), PNT_3D(2, 4, 0)),
               CIRCLE_3D::LinearPointExcepion);
  EXPECT_EQ(a, before);
}

TEST(Arc, SafeAnglesAlwaysIncrease) {
  struct Case {
    double start, end, wantEnd;
  };
  const Case cases[] = {{1, 2, 2}, {2, 1, 1 + k2Pi}, {1, 1, 1 + k2Pi}, {0, k2Pi, k2Pi}};
  for (const Case& c : cases) {
    double s, e;
    ARC_3D(0, 0, 0, 1, c.start, c.end).getSafeAngles(s, e);
    EXPECT_EQ(s, c.start);
    EXPECT_EQ(e, c.wantEnd);
  }
}

TEST(Arc, AngleInArcWithEndTolerance) {
  const ARC_3D through0(0, 0, 0, 1, 3 * kPi / 2, kPi / 2);
  const ARC_3D upper(0, 0, 0, 1, 0, kPi);
  const ARC_3D toTwoPi(0, 0, 0, 1, kPi / 2, k2Pi);
  const ARC_3D toZero(0, 0, 0, 1, 3 * kPi / 2, 0);
  const ARC_3D single(0, 0, 0, 1, 1, 1);
  struct Case {
    const char* name;
    const ARC_3D& arc;
    double angle;
    bool in;
  };
  const Case cases[] = {
      {"through 0: 0", through0, 0, true},
      {"through 0: 2pi", through0, k2Pi, true},
      {"through 0: pi", through0, kPi, false},
      {"through 0: -pi/4", through0, -kPi / 4, true},
      {"through 0: pi/4 + 2pi", through0, kPi / 4 + k2Pi, true},
      {"through 0: start", through0, 3 * kPi / 2, true},
      {"through 0: end", through0, kPi / 2, true},
      {"through 0: end + 1e-13", through0, kPi / 2 + 1e-13, true},
      {"through 0: end + 1e-9", through0, kPi / 2 + 1e-9, false},
      {"through 0: start - 4e-12", through0, 3 * kPi / 2 - 4e-12, true},
      {"through 0: start - 1e-10", through0, 3 * kPi / 2 - 1e-10, false},
      {"upper: pi/2", upper, kPi / 2, true},
      {"upper: 3pi/2", upper, 3 * kPi / 2, false},
      {"upper: 0", upper, 0, true},
      {"upper: 1e-13", upper, 1e-13, true},
      {"upper: pi + 1e-13", upper, kPi + 1e-13, true},
      // Kept as the contract: only the unrolled end is widened, so an arc that ends below
      // 2*pi does not reach 2*pi, and an arc ending at angle 0 reaches it only as 2*pi.
      {"upper: 2pi", upper, k2Pi, false},
      {"upper: -1e-13 is brought to just below 2pi", upper, -1e-13, false},
      {"to 2pi: 0", toTwoPi, 0, false},
      {"to 2pi: 2pi", toTwoPi, k2Pi, true},
      {"to zero: 0", toZero, 0, false},
      {"to zero: 2pi", toZero, k2Pi, true},
      {"to zero: 7pi/4", toZero, 7 * kPi / 4, true},
      // Equal angles are not unrolled here: the arc holds that one angle.
      {"single: 1", single, 1, true},
      {"single: 2", single, 2, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.arc.angle_in_arc(c.angle), c.in) << c.name;
}

TEST(Arc, BoxHoldsTheArcAndNothingMore) {
  const double angles[][2] = {
      {0, kPi / 2},
      {kPi / 2, 3 * kPi / 2},
      {3 * kPi / 2, kPi / 2},
      {2, 1.8},
      {5.5, 0.3},
      {0.1, 0.05},
      {kPi, kPi / 2},
      {kPi / 4, 7 * kPi / 4},
      {3 * kPi / 2, 0},
      {0, k2Pi},
      {3, k2Pi},
      {4.5, 4.4},
      {3 * kPi / 2 + 0.1, 1.5},
  };
  for (const auto& an : angles) {
    const ARC_3D a(1, -2, 4, 3, an[0], an[1]);
    RECT_3D box;
    a.calc_bdry(box);
    // The box of points sampled densely along the arc.
    RECT_3D sampled;
    sampled.initRegion();
    const int n = 20000;
    for (int i = 0; i <= n; ++i) sampled.updateRegion(a.getPntAngle(a.start + sweepOf(a) * i / n));
    const double slack = 1e-6;
    EXPECT_NEAR(box.min.getX(), sampled.min.getX(), slack) << an[0] << " " << an[1];
    EXPECT_NEAR(box.min.getY(), sampled.min.getY(), slack) << an[0] << " " << an[1];
    EXPECT_NEAR(box.max.getX(), sampled.max.getX(), slack) << an[0] << " " << an[1];
    EXPECT_NEAR(box.max.getY(), sampled.max.getY(), slack) << an[0] << " " << an[1];
    EXPECT_TRUE(box.min.getZ() == 4 && box.max.getZ() == 4);
  }
  // The worked case: from 3pi/2 to pi/2 the box reaches cx + r on the right only.
  RECT_3D box;
  ARC_3D(0, 0, 0, 1, 3 * kPi / 2, kPi / 2).calc_bdry(box);
  EXPECT_EQ(box.max.getX(), 1.0);
  EXPECT_NEAR(box.min.getX(), 0.0, 1e-15);
  // Kept as the contract: equal angles give the box of the single end point.
  ARC_3D(0, 0, 0, 1, 1, 1).calc_bdry(box);
  EXPECT_EQ(box.min, box.max);
}

TEST(Arc, RotationTurnsCentreAndAnglesOneStep) {
  struct Case {
    double start, end, by;
    double wantStart, wantEnd;
  };
  const Case cases[] = {
      {3 * kPi / 2, kPi / 2, kPi / 2, k2Pi, kPi},  // reaching 2*pi exactly stays 2*pi
      {kPi / 2, 0, -kPi, 3 * kPi / 2, kPi},
      {1, 2, 0.5, 1.5, 2.5},
      {6, 0.2, 0.5, 6.5 - k2Pi, 0.7},
      // One step only: a turn of more than 2*pi leaves the angles out of range.
      {1, 2, 3 * k2Pi, 1 + 2 * k2Pi, 2 + 2 * k2Pi},
  };
  for (const Case& c : cases) {
    ARC_3D a(2, 0, 5, 1, c.start, c.end);
    PNT_3D ps, pe;
    a.end_points(ps, pe);
    const PNT_3D pivot(1, 0, 0);
    a.rotate(pivot, c.by);
    EXPECT_NEAR(a.start, c.wantStart, 1e-12);
    EXPECT_NEAR(a.end, c.wantEnd, 1e-12);
    EXPECT_EQ(a.centre.getZ(), 5);
    // The ends of the turned arc are the turned ends.
    ps.rotate(pivot, c.by);
    pe.rotate(pivot, c.by);
    PNT_3D qs, qe;
    a.end_points(qs, qe);
    EXPECT_NEAR(qs.dist(ps), 0.0, 1e-12);
    EXPECT_NEAR(qe.dist(pe), 0.0, 1e-12);
  }
}

TEST(Arc, DistancesToRimOrNearerEnd) {
  const ARC_3D a(0, 0, 7, 5, 0, kPi / 2);
  struct Case {
    PNT_2D p;
    double dist;
  };
  const Case cases[] = {
      {PNT_2D(6, 8), 5},                   // beyond the rim, on the arc's side
      {PNT_2D(1, 1), 5 - std::sqrt(2.0)},  // inside the rim
      {PNT_2D(-3, -4), std::sqrt(80.0)},   // off the arc: nearer end (5, 0)
      {PNT_2D(-1, 8), std::sqrt(10.0)},    // off the arc: nearer end (0, 5)
      {PNT_2D(5, 0), 0},                   // at the start
      {PNT_2D(3, -4), std::sqrt(20.0)},    // below the start: to (5, 0)
  };
  for (const Case& c : cases) EXPECT_NEAR(a.dist(c.p), c.dist, 1e-12) << c.p.getX();
  EXPECT_NEAR(a.dist_endpoints(PNT_2D(6, 8)), std::sqrt(45.0), 1e-12);    // ends only
  EXPECT_NEAR(a.dist_endpoints(PNT_2D(-1, -1)), std::sqrt(37.0), 1e-12);  // a tie

  PNT_3D ps, pe;
  a.end_points(ps, pe);
  EXPECT_NEAR(ps.dist(PNT_3D(5, 0, 7)), 0, 1e-15);
  EXPECT_NEAR(pe.dist(PNT_3D(0, 5, 7)), 0, 1e-15);
}

TEST(ArcNearest, OnTheArcOrAtTheNearerEnd) {
  const ARC_3D a(0, 0, 0, 5, 0, kPi / 2);
  struct Case {
    PNT_2D p, out;
    double angle;
  };
  const Case cases[] = {
      {PNT_2D(6, 8), PNT_2D(3, 4), std::atan2(8.0, 6.0)},
      {PNT_2D(-10, 0), PNT_2D(0, 5), kPi},  // (0, 5) is nearer than (5, 0)
      {PNT_2D(10, -1), PNT_2D(5, 0), k2Pi - std::atan(0.1)},
      {PNT_2D(-1, -1), PNT_2D(0, 5), 5 * kPi / 4},  // a tie goes to the end point
  };
  for (const Case& c : cases) {
    PNT_2D out;
    EXPECT_NEAR(pntNearest(a, c.p, out), c.angle, 1e-12) << c.p.getX();
    EXPECT_NEAR(out.dist(c.out), 0, 1e-12) << c.p.getX();
  }
}

// ---- crossings -------------------------------------------------------------------------

TEST(ArcSegment, KeepsOnlyPointsOnTheArcAcceptedFirst) {
  const ARC_3D upper(0, 0, 0, 1, 0, kPi);
  const ARC_3D right(0, 0, 0, 1, 3 * kPi / 2, kPi / 2);  // through angle 0
  const ARC_3D quarter(0, 0, 0, 1, 0, kPi / 2);
  struct Case {
    const char* name;
    const ARC_3D& arc;
    LINE_2D s;
    long count;
  };
  const double h = std::sqrt(0.75);
  const Case cases[] = {
      {"both on", upper, LINE_2D(-2, 0.5, 2, 0.5), 2},
      {"both off", upper, LINE_2D(-2, -0.5, 2, -0.5), 0},
      {"one on, vertical", upper, LINE_2D(0.5, -2, 0.5, 2), 1},
      {"one on, reversed", upper, LINE_2D(0.5, 2, 0.5, -2), 1},
      {"through 0: axis", right, LINE_2D(-2, 0, 2, 0), 1},
      {"through 0: axis reversed", right, LINE_2D(2, 0, -2, 0), 1},
      {"through 0: vertical", right, LINE_2D(0.5, -2, 0.5, 2), 2},
      {"end exactly at the start angle", quarter, LINE_2D(0, 0, 2, 0), 1},
      {"end exactly at the end angle", quarter, LINE_2D(0, 0, 0, 2), 1},
      {"segment stops short", upper, LINE_2D(0.5, 0, 0.5, h / 2), 0},
      {"segment misses circle", upper, LINE_2D(-2, 3, 2, 3), 0},
  };
  for (const Case& k : cases) {
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    EXPECT_EQ(k.arc.intersect(k.s, p1, p2), k.count) << k.name;
    EXPECT_EQ(k.arc.intersect(k.s), k.count) << k.name;
    if (k.count >= 1) {
      EXPECT_TRUE(onArcBySweep(k.arc, p1)) << k.name;
      EXPECT_NEAR(offRim(k.arc, p1), 0, 1e-12) << k.name;
    }
    if (k.count == 2) {
      EXPECT_TRUE(onArcBySweep(k.arc, p2)) << k.name;
    }
  }
}

TEST(ArcImplicitLine, AcceptedPointFirst) {
  const ARC_3D right(0, 0, 0, 1, 3 * kPi / 2, kPi / 2);
  PNT_2D p1 = kUntouched, p2 = kUntouched;
  // y = 0 crosses at (-1, 0) and (1, 0); only (1, 0), at angle 0, is on the arc.
  EXPECT_EQ(right.intersect(IMP_LINE_2D(0, 1, 0), p1, p2), 1);
  EXPECT_EQ(p1, PNT_2D(1, 0));
  // x = 0.5 crosses twice, both on the arc.
  EXPECT_EQ(right.intersect(IMP_LINE_2D(2, 0, -1), p1, p2), 2);
  EXPECT_TRUE(onArcBySweep(right, p1) && onArcBySweep(right, p2));
  EXPECT_NE(p1, p2);
  // x = -0.5: both off the arc.
  EXPECT_EQ(right.intersect(IMP_LINE_2D(2, 0, 1), p1, p2), 0);
  // Missing the circle leaves the points alone.
  p1 = p2 = kUntouched;
  EXPECT_EQ(right.intersect(IMP_LINE_2D(1, 0, -3), p1, p2), 0);
  EXPECT_TRUE(p1 == kUntouched && p2 == kUntouched);
}

TEST(ArcParametricLine, AcceptedParameterFirst) {
  const ARC_3D upper(0, 0, 0, 2, 0, kPi);
  struct Case {
    PAR_LINE_2D l;
    long count;
  };
  const Case cases[] = {
      {PAR_LINE_2D(-3, 1, 1, 0), 2},   // y = 1, both points above the axis
      {PAR_LINE_2D(1, -3, 0, 1), 1},   // x = 1, only the upper point
      {PAR_LINE_2D(1, 3, 0, -2), 1},   // the same line run downwards
      {PAR_LINE_2D(-3, -1, 1, 0), 0},  // y = -1, below
      {PAR_LINE_2D(-3, 5, 1, 0), 0},   // misses the circle
  };
  for (const Case& k : cases) {
    double t1 = -99, t2 = -99;
    EXPECT_EQ(upper.intersect(k.l, t1, t2), k.count);
    if (k.count >= 1) {
      PNT_2D p;
      k.l.calcPt(t1, p);
      EXPECT_TRUE(onArcBySweep(upper, p)) << t1;
      EXPECT_NEAR(offRim(upper, p), 0, 1e-12);
    }
  }
}

TEST(ArcCircle, AcceptedPointFirst) {
  const ARC_3D upper(0, 0, 0, 1, 0, kPi);
  PNT_2D p1 = kUntouched, p2 = kUntouched;
  // The unit circle at (1, 0) crosses at (0.5, +-sqrt(0.75)): only the upper one counts.
  EXPECT_EQ(upper.intersect(CIRCLE_3D(1, 0, 0, 1), p1, p2), 1);
  EXPECT_NEAR(p1.dist(PNT_2D(0.5, std::sqrt(0.75))), 0, 1e-12);
  EXPECT_EQ(upper.intersect(CIRCLE_3D(0, -1.5, 0, 1), p1, p2), 0);
  EXPECT_EQ(upper.intersect(CIRCLE_3D(0, 1.5, 0, 1), p1, p2), 2);
  EXPECT_TRUE(onArcBySweep(upper, p1) && onArcBySweep(upper, p2));
  // Touching at the arc's start point (1, 0).
  EXPECT_EQ(upper.intersect(CIRCLE_3D(2, 0, 0, 1), p1, p2), 2);
  EXPECT_EQ(p1, PNT_2D(1, 0));
  // Concentric: nothing.
  EXPECT_EQ(upper.intersect(CIRCLE_3D(0, 0, 0, 2), p1, p2), 0);
}

TEST(ArcArc, CountsOnlyPointsOnBothArcs) {
  // The unit circles at (0, 0) and (1, 0) cross at (0.5, +-sqrt(0.75)).
  struct Case {
    const char* name;
    ARC_3D a, b;
  };
  const Case cases[] = {
      {"upper vs left half", ARC_3D(0, 0, 0, 1, 0, kPi), ARC_3D(1, 0, 0, 1, kPi / 2, 3 * kPi / 2)},
      {"upper vs lower-left", ARC_3D(0, 0, 0, 1, 0, kPi), ARC_3D(1, 0, 0, 1, kPi, 3 * kPi / 2)},
      {"right vs left half", ARC_3D(0, 0, 0, 1, 3 * kPi / 2, kPi / 2),
       ARC_3D(1, 0, 0, 1, kPi / 2, 3 * kPi / 2)},
      {"right vs right half", ARC_3D(0, 0, 0, 1, 3 * kPi / 2, kPi / 2),
       ARC_3D(1, 0, 0, 1, 3 * kPi / 2, kPi / 2)},
      {"lower vs through 0", ARC_3D(0, 0, 0, 1, kPi, k2Pi), ARC_3D(1, 0, 0, 1, 5, 0.5)},
      {"apart", ARC_3D(0, 0, 0, 1, 0, kPi), ARC_3D(5, 0, 0, 1, 0, kPi)},
  };
  const PNT_2D crossings[] = {PNT_2D(0.5, std::sqrt(0.75)), PNT_2D(0.5, -std::sqrt(0.75))};
  for (const Case& k : cases) {
    long expected = 0;
    if (k.a.centre.dist(k.b.centre) < 2) {
      for (const PNT_2D& c : crossings) {
        if (onArcBySweep(k.a, c) && onArcBySweep(k.b, c)) ++expected;
      }
    }
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    EXPECT_EQ(k.a.intersect(k.b, p1, p2), expected) << k.name;
    EXPECT_EQ(k.b.intersect(k.a, p1, p2), expected) << k.name;
    if (expected >= 1) {
      EXPECT_TRUE(onArcBySweep(k.a, p1) && onArcBySweep(k.b, p1)) << k.name;
    }
  }
}

}  // namespace
