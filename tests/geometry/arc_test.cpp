// tests/geometry/arc_test.cpp: ARC_3D values (angle normalisation, three-point arcs, the angle
// test and its tolerance, box, rotation, distances) and its crossings. Box and crossings are
// checked against an independent sweep test and sampled points, not against the formulas.
#include <veltcore/geometry/arc.h>

#include <gtest/gtest.h>

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

TEST(Arc, ConstructorAndSetBringAnglesIntoOneTurn) {
  struct Case {
    double start, end, wantStart, wantEnd;
  };
  const Case cases[] = {{-kPi / 2, 5 * kPi, 3 * kPi / 2, kPi},
                        {k2Pi, 0, k2Pi, 0},  // 2*pi itself stays
                        {-k2Pi, 4 * kPi, 0, k2Pi},
                        {7 * kPi / 2, -7 * kPi / 2, 3 * kPi / 2, kPi / 2},
                        {-1e-3, 2 * k2Pi + 1, k2Pi - 1e-3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " " << c.end);
    const ARC_3D a(1, 2, 3, 4, c.start, c.end);
    EXPECT_NEAR(a.start, c.wantStart, 1e-12);
    EXPECT_NEAR(a.end, c.wantEnd, 1e-12);
    ARC_3D b;
    b.set(1, 2, 3, 4, c.start, c.end);
    EXPECT_EQ(a, b);
  }
  // Huge and non-finite angles neither hang nor leave the range (finite ones).
  const ARC_3D big(0, 0, 0, 1, 1e30, -1e30);
  EXPECT_TRUE(big.start >= 0 && big.start <= k2Pi && big.end >= 0 && big.end <= k2Pi);
  EXPECT_TRUE(std::isinf(ARC_3D(0, 0, 0, 1, INFINITY, 0).start));
  // Equality takes in every field.
  const ARC_3D a(1, 2, 3, 4, 0.5, 1.5);
  const ARC_3D others[] = {ARC_3D(0, 2, 3, 4, 0.5, 1.5), ARC_3D(1, 0, 3, 4, 0.5, 1.5),
                           ARC_3D(1, 2, 0, 4, 0.5, 1.5), ARC_3D(1, 2, 3, 5, 0.5, 1.5),
                           ARC_3D(1, 2, 3, 4, 0.6, 1.5), ARC_3D(1, 2, 3, 4, 0.5, 1.6)};
  for (const ARC_3D& o : others) EXPECT_TRUE(a != o && !(a == o));
  EXPECT_TRUE(a == ARC_3D(1, 2, 3, 4, 0.5, 1.5) && !(a != ARC_3D(1, 2, 3, 4, 0.5, 1.5)));
  EXPECT_EQ(ARC_3D(), ARC_3D(0, 0, 0, 0, 0, 0));  // unlike a point, it starts at zero
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
      {PNT_3D(3, 0, 0), PNT_3D(3, 0.01, 0), PNT_3D(2.9, 1, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p2.getX() << ", " << c.p2.getY());
    const ARC_3D a(c.p1, c.p2, c.p3);
    EXPECT_EQ(static_cast<const CIRCLE_3D&>(a), CIRCLE_3D(c.p1, c.p2, c.p3));
    EXPECT_TRUE(onArcBySweep(a, c.p2, -1e-9));  // strictly inside
    PNT_3D ps, pe;
    a.end_points(ps, pe);
    const bool forward = ps.dist(c.p1) < 1e-9 && pe.dist(c.p3) < 1e-9;
    const bool backward = ps.dist(c.p3) < 1e-9 && pe.dist(c.p1) < 1e-9;
    EXPECT_TRUE(forward || backward);
  }
  // The worked case: (1, 1) is on the clockwise stretch, so the arc runs from (2, 0).
  const ARC_3D w(PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(2, 0, 0));
  EXPECT_EQ(w.start, 0.0);
  EXPECT_EQ(w.end, kPi);
  // Points in line throw and leave the arc alone.
  ARC_3D a(1, 1, 1, 1, 0.5, 1);
  EXPECT_THROW(a.create(PNT_3D(0, 0, 0), PNT_3D(1, 2, 0), PNT_3D(2, 4, 0)),
               CIRCLE_3D::LinearPointExcepion);
  EXPECT_EQ(a, ARC_3D(1, 1, 1, 1, 0.5, 1));
}

TEST(Arc, SafeAnglesAlwaysIncrease) {
  const double cases[][3] = {{1, 2, 2}, {2, 1, 1 + k2Pi}, {1, 1, 1 + k2Pi}, {0, k2Pi, k2Pi}};
  for (const auto& c : cases) {
    double s, e;
    ARC_3D(0, 0, 0, 1, c[0], c[1]).getSafeAngles(s, e);
    EXPECT_EQ(s, c[0]);
    EXPECT_EQ(e, c[2]);
  }
}

// Kept as the contract: only the unrolled end is widened, so an arc that ends below 2*pi does not
// reach 2*pi, an angle just below 0 is brought to just below 2*pi, and an arc ending at angle 0
// reaches it only as 2*pi. Equal angles are not unrolled here: the arc holds that one angle.
TEST(Arc, AngleInArcWithEndTolerance) {
  struct Case {
    const char* name;
    ARC_3D arc;
    std::vector<double> in, out;
  };
  const Case cases[] = {
      {"through 0",
       ARC_3D(0, 0, 0, 1, 3 * kPi / 2, kPi / 2),
       {0, k2Pi, -kPi / 4, kPi / 4 + k2Pi, 3 * kPi / 2, kPi / 2, kPi / 2 + 1e-13,
        3 * kPi / 2 - 4e-12},
       {kPi, kPi / 2 + 1e-9, 3 * kPi / 2 - 1e-10}},
      {"upper", ARC_3D(0, 0, 0, 1, 0, kPi), {0, 1e-13, kPi + 1e-13}, {k2Pi, -1e-13}},
      {"to 2pi", ARC_3D(0, 0, 0, 1, kPi / 2, k2Pi), {k2Pi}, {0}},
      {"to zero", ARC_3D(0, 0, 0, 1, 3 * kPi / 2, 0), {k2Pi, 7 * kPi / 4}, {0}},
      {"single", ARC_3D(0, 0, 0, 1, 1, 1), {1}, {2}}};
  for (const Case& c : cases) {
    for (double a : c.in) EXPECT_TRUE(c.arc.angle_in_arc(a)) << c.name << " at " << a;
    for (double a : c.out) EXPECT_FALSE(c.arc.angle_in_arc(a)) << c.name << " at " << a;
  }
}

TEST(Arc, BoxHoldsTheArcAndNothingMore) {
  const double angles[][2] = {{0, kPi / 2},
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
                              {3 * kPi / 2 + 0.1, 1.5}};
  for (const auto& an : angles) {
    SCOPED_TRACE(testing::Message() << an[0] << " " << an[1]);
    const ARC_3D a(1, -2, 4, 3, an[0], an[1]);
    RECT_3D box, sampled;
    a.calc_bdry(box);
    sampled.initRegion();
    const int n = 20000;
    for (int i = 0; i <= n; ++i) sampled.updateRegion(a.getPntAngle(a.start + sweepOf(a) * i / n));
    EXPECT_NEAR(box.min.getX(), sampled.min.getX(), 1e-6);
    EXPECT_NEAR(box.min.getY(), sampled.min.getY(), 1e-6);
    EXPECT_NEAR(box.max.getX(), sampled.max.getX(), 1e-6);
    EXPECT_NEAR(box.max.getY(), sampled.max.getY(), 1e-6);
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
    double start, end, by, wantStart, wantEnd;
  };
  const Case cases[] = {
      {3 * kPi / 2, kPi / 2, kPi / 2, k2Pi, kPi},  // reaching 2*pi exactly stays 2*pi
      {kPi / 2, 0, -kPi, 3 * kPi / 2, kPi},
      {6, 0.2, 0.5, 6.5 - k2Pi, 0.7},
      // One step only: a turn of more than 2*pi leaves the angles out of range.
      {1, 2, 3 * k2Pi, 1 + 2 * k2Pi, 2 + 2 * k2Pi}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " by " << c.by);
    ARC_3D a(2, 0, 5, 1, c.start, c.end);
    PNT_3D ps, pe, qs, qe;
    a.end_points(ps, pe);
    const PNT_3D pivot(1, 0, 0);
    a.rotate(pivot, c.by);
    EXPECT_NEAR(a.start, c.wantStart, 1e-12);
    EXPECT_NEAR(a.end, c.wantEnd, 1e-12);
    EXPECT_EQ(a.centre.getZ(), 5);
    // The ends of the turned arc are the turned ends.
    ps.rotate(pivot, c.by);
    pe.rotate(pivot, c.by);
    a.end_points(qs, qe);
    EXPECT_NEAR(qs.dist(ps), 0.0, 1e-12);
    EXPECT_NEAR(qe.dist(pe), 0.0, 1e-12);
  }
}

TEST(Arc, DistancesAndNearestPointOnTheArcOrAtTheNearerEnd) {
  const ARC_3D a(0, 0, 7, 5, 0, kPi / 2);
  struct Case {
    PNT_2D p;
    double dist;
  };
  const Case cases[] = {{PNT_2D(6, 8), 5},                   // beyond the rim, on the arc's side
                        {PNT_2D(1, 1), 5 - std::sqrt(2.0)},  // inside the rim
                        {PNT_2D(-3, -4), std::sqrt(80.0)},   // off the arc: nearer end (5, 0)
                        {PNT_2D(-1, 8), std::sqrt(10.0)},    // off the arc: nearer end (0, 5)
                        {PNT_2D(5, 0), 0},                   // at the start
                        {PNT_2D(3, -4), std::sqrt(20.0)}};   // below the start: to (5, 0)
  for (const Case& c : cases) EXPECT_NEAR(a.dist(c.p), c.dist, 1e-12) << c.p.getX();
  EXPECT_NEAR(a.dist_endpoints(PNT_2D(6, 8)), std::sqrt(45.0), 1e-12);    // ends only
  EXPECT_NEAR(a.dist_endpoints(PNT_2D(-1, -1)), std::sqrt(37.0), 1e-12);  // a tie

  struct Nearest {
    PNT_2D p, out;
    double angle;
  };
  const Nearest nearest[] = {
      {PNT_2D(6, 8), PNT_2D(3, 4), std::atan2(8.0, 6.0)},
      {PNT_2D(-10, 0), PNT_2D(0, 5), kPi},  // (0, 5) is nearer than (5, 0)
      {PNT_2D(10, -1), PNT_2D(5, 0), k2Pi - std::atan(0.1)},
      {PNT_2D(-1, -1), PNT_2D(0, 5), 5 * kPi / 4}};  // a tie goes to the end point
  for (const Nearest& c : nearest) {
    PNT_2D out;
    EXPECT_NEAR(pntNearest(a, c.p, out), c.angle, 1e-12) << c.p.getX();
    EXPECT_NEAR(out.dist(c.out), 0, 1e-12) << c.p.getX();
  }
}

// ---- crossings: the circle's crossings, of which those on the arc are kept, accepted first ---

TEST(ArcCrossings, SegmentsKeepOnlyPointsOnTheArc) {
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
  const Case cases[] = {{"both on", upper, LINE_2D(-2, 0.5, 2, 0.5), 2},
                        {"both off", upper, LINE_2D(-2, -0.5, 2, -0.5), 0},
                        {"one on, vertical", upper, LINE_2D(0.5, -2, 0.5, 2), 1},
                        {"one on, reversed", upper, LINE_2D(0.5, 2, 0.5, -2), 1},
                        {"through 0: axis", right, LINE_2D(-2, 0, 2, 0), 1},
                        {"through 0: axis reversed", right, LINE_2D(2, 0, -2, 0), 1},
                        {"through 0: vertical", right, LINE_2D(0.5, -2, 0.5, 2), 2},
                        {"end exactly at the start angle", quarter, LINE_2D(0, 0, 2, 0), 1},
                        {"end exactly at the end angle", quarter, LINE_2D(0, 0, 0, 2), 1},
                        {"segment stops short", upper, LINE_2D(0.5, 0, 0.5, h / 2), 0},
                        {"segment misses circle", upper, LINE_2D(-2, 3, 2, 3), 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    EXPECT_EQ(k.arc.intersect(k.s, p1, p2), k.count);
    EXPECT_EQ(k.arc.intersect(k.s), k.count);
    if (k.count >= 1) {
      EXPECT_TRUE(onArcBySweep(k.arc, p1));
      EXPECT_NEAR(std::fabs(p1.dist(k.arc.centre) - 1), 0, 1e-12);
    }
    EXPECT_TRUE(k.count < 2 || onArcBySweep(k.arc, p2));
  }
}

TEST(ArcCrossings, LinesAndCirclesKeepTheAcceptedPointFirst) {
  const ARC_3D right(0, 0, 0, 1, 3 * kPi / 2, kPi / 2);
  const ARC_3D upper(0, 0, 0, 1, 0, kPi);
  const ARC_3D upper2(0, 0, 0, 2, 0, kPi);
  enum Kind { Imp, Par, Circle };
  struct Case {
    const char* name;
    Kind kind;
    const ARC_3D& arc;
    IMP_LINE_2D imp;
    PAR_LINE_2D par;
    CIRCLE_3D circle;
    long count;
  };
  const IMP_LINE_2D noImp(1, 0, 0);
  const PAR_LINE_2D noPar(0, 0, 1, 0);
  const CIRCLE_3D noCircle;
  const Case cases[] = {
      // y = 0 crosses at (-1, 0) and (1, 0): only (1, 0), at angle 0, is on the arc.
      {"imp: second accepted", Imp, right, IMP_LINE_2D(0, 1, 0), noPar, noCircle, 1},
      {"imp: both", Imp, right, IMP_LINE_2D(2, 0, -1), noPar, noCircle, 2},
      {"imp: both off", Imp, right, IMP_LINE_2D(2, 0, 1), noPar, noCircle, 0},
      {"par: both above", Par, upper2, noImp, PAR_LINE_2D(-3, 1, 1, 0), noCircle, 2},
      {"par: upper only", Par, upper2, noImp, PAR_LINE_2D(1, -3, 0, 1), noCircle, 1},
      {"par: run downwards", Par, upper2, noImp, PAR_LINE_2D(1, 3, 0, -2), noCircle, 1},
      {"par: below", Par, upper2, noImp, PAR_LINE_2D(-3, -1, 1, 0), noCircle, 0},
      {"par: misses", Par, upper2, noImp, PAR_LINE_2D(-3, 5, 1, 0), noCircle, 0},
      // The unit circle at (1, 0) crosses at (0.5, +-sqrt(0.75)): only the upper one counts.
      {"circle: one", Circle, upper, noImp, noPar, CIRCLE_3D(1, 0, 0, 1), 1},
      {"circle: below", Circle, upper, noImp, noPar, CIRCLE_3D(0, -1.5, 0, 1), 0},
      {"circle: above", Circle, upper, noImp, noPar, CIRCLE_3D(0, 1.5, 0, 1), 2},
      {"circle: touching the start", Circle, upper, noImp, noPar, CIRCLE_3D(2, 0, 0, 1), 2},
      {"circle: concentric", Circle, upper, noImp, noPar, CIRCLE_3D(0, 0, 0, 2), 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    long n = 0;
    if (k.kind == Par) {
      double t1 = -99, t2 = -99;
      n = k.arc.intersect(k.par, t1, t2);
      k.par.calcPt(t1, p1);
      k.par.calcPt(t2, p2);
    } else {
      n = k.kind == Imp ? k.arc.intersect(k.imp, p1, p2) : k.arc.intersect(k.circle, p1, p2);
    }
    EXPECT_EQ(n, k.count);
    if (n >= 1) {
      EXPECT_TRUE(onArcBySweep(k.arc, p1));
      EXPECT_NEAR(std::fabs(p1.dist(k.arc.centre) - k.arc.radius), 0, 1e-12);
    }
    EXPECT_TRUE(n < 2 || onArcBySweep(k.arc, p2));
  }
  // Missing the circle leaves the points alone.
  PNT_2D p1 = kUntouched, p2 = kUntouched;
  EXPECT_EQ(right.intersect(IMP_LINE_2D(1, 0, -3), p1, p2), 0);
  EXPECT_TRUE(p1 == kUntouched && p2 == kUntouched);
}

TEST(ArcCrossings, ArcsCountOnlyPointsOnBoth) {
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
      {"apart", ARC_3D(0, 0, 0, 1, 0, kPi), ARC_3D(5, 0, 0, 1, 0, kPi)}};
  const PNT_2D crossings[] = {PNT_2D(0.5, std::sqrt(0.75)), PNT_2D(0.5, -std::sqrt(0.75))};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    long expected = 0;
    if (k.a.centre.dist(k.b.centre) < 2) {
      for (const PNT_2D& c : crossings) expected += onArcBySweep(k.a, c) && onArcBySweep(k.b, c);
    }
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    EXPECT_EQ(k.a.intersect(k.b, p1, p2), expected);
    EXPECT_EQ(k.b.intersect(k.a, p1, p2), expected);
    EXPECT_TRUE(expected == 0 || (onArcBySweep(k.a, p1) && onArcBySweep(k.b, p1)));
  }
}

}  // namespace
