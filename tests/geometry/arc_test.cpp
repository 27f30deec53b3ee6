// tests/geometry/arc_test.cpp: ARC_3D values (angle normalisation, three-point arcs, the angle
// test and its tolerance, box, rotation, distances) and its crossings. Box and crossings are
// checked against an independent sweep test and sampled points, not against the formulas.
#include <veltcore/geometry/arc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
  const double cases[][4] = {{-kPi / 2, 5 * kPi, 3 * kPi / 2, kPi},
                             {k2Pi, 0, k2Pi, 0},  // 2*pi itself stays
                             {-k2Pi, 4 * kPi, 0, k2Pi},
                             {7 * kPi / 2, -7 * kPi / 2, 3 * kPi / 2, kPi / 2},
                             {-1e-3, 2 * k2Pi + 1, k2Pi - 1e-3, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c[0] << " " << c[1]);
    const ARC_3D a(1, 2, 3, 4, c[0], c[1]);
    EXPECT_NEAR(a.start, c[2], 1e-12);
    EXPECT_NEAR(a.end, c[3], 1e-12);
  }
  // Huge and non-finite angles neither hang nor leave the range (finite ones).
  const ARC_3D big(0, 0, 0, 1, 1e30, -1e30);
  EXPECT_TRUE(big.start >= 0 && big.start <= k2Pi && big.end >= 0 && big.end <= k2Pi);
  EXPECT_TRUE(std::isinf(ARC_3D(0, 0, 0, 1, INFINITY, 0).start));
  // Equality takes in every field; other tests rely on it.
  const ARC_3D a(1, 2, 3, 4, 0.5, 1.5);
  const ARC_3D others[] = {ARC_3D(0, 2, 3, 4, 0.5, 1.5), ARC_3D(1, 0, 3, 4, 0.5, 1.5),
                           ARC_3D(1, 2, 0, 4, 0.5, 1.5), ARC_3D(1, 2, 3, 5, 0.5, 1.5),
                           ARC_3D(1, 2, 3, 4, 0.6, 1.5), ARC_3D(1, 2, 3, 4, 0.5, 1.6)};
  for (const ARC_3D& o : others) EXPECT_TRUE(a != o && !(a == o));
  EXPECT_EQ(ARC_3D(), ARC_3D(0, 0, 0, 0, 0, 0));  // unlike a point, it starts at zero
}

TEST(Arc, ThroughThreePointsRunsThroughTheMiddleOne) {
  const PNT_3D cases[][3] = {
      {PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(2, 0, 0)},    // clockwise
      {PNT_3D(2, 0, 0), PNT_3D(1, 1, 0), PNT_3D(0, 0, 0)},    // counter-clockwise
      {PNT_3D(0, 1, 0), PNT_3D(1, 0, 0), PNT_3D(0, -1, 0)},   // clockwise through angle 0
      {PNT_3D(0, -1, 0), PNT_3D(1, 0, 0), PNT_3D(0, 1, 0)},   // ccw through angle 0
      {PNT_3D(0, 1, 0), PNT_3D(-1, 0, 0), PNT_3D(1, 0, 0)},   // major arc, ends at angle 0
      {PNT_3D(5, 7, 2), PNT_3D(-3, 1, 2), PNT_3D(4, -6, 2)},  // large sweep
      {PNT_3D(3, 0, 0), PNT_3D(3, 0.01, 0), PNT_3D(2.9, 1, 0)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c[1].getX() << ", " << c[1].getY());
    const ARC_3D a(c[0], c[1], c[2]);
    EXPECT_EQ(static_cast<const CIRCLE_3D&>(a), CIRCLE_3D(c[0], c[1], c[2]));
    EXPECT_TRUE(onArcBySweep(a, c[1], -1e-9));  // strictly inside
    PNT_3D ps, pe;
    a.end_points(ps, pe);
    const bool forward = ps.dist(c[0]) < 1e-9 && pe.dist(c[2]) < 1e-9;
    EXPECT_TRUE(forward || (ps.dist(c[2]) < 1e-9 && pe.dist(c[0]) < 1e-9));
  }
  // The worked case: (1, 1) is on the clockwise stretch, so the arc runs from (2, 0).
  EXPECT_EQ(ARC_3D(PNT_3D(0, 0, 0), PNT_3D(1, 1, 0), PNT_3D(2, 0, 0)), ARC_3D(1, 0, 0, 1, 0, kPi));
  // Points in line throw and leave the arc alone.
  ARC_3D a(1, 1, 1, 1, 0.5, 1);
  EXPECT_THROW(a.create(PNT_3D(0, 0, 0), PNT_3D(1, 2, 0), PNT_3D(2, 4, 0)),
               CIRCLE_3D::LinearPointExcepion);
  EXPECT_EQ(a, ARC_3D(1, 1, 1, 1, 0.5, 1));
}

// Kept as the contract: only the unrolled end is widened, so an arc that ends below 2*pi does not
// reach 2*pi, an angle just below 0 is brought to just below 2*pi, and an arc ending at angle 0
// reaches it only as 2*pi. Equal angles are not unrolled here: the arc holds that one angle.
// getSafeAngles unrolls the end past the start, equal angles making a full turn.
TEST(Arc, AngleInArcWithEndToleranceAndSafeAngles) {
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
  const double safe[][3] = {{1, 2, 2}, {2, 1, 1 + k2Pi}, {1, 1, 1 + k2Pi}, {0, k2Pi, k2Pi}};
  for (const auto& c : safe) {
    double s, e;
    ARC_3D(0, 0, 0, 1, c[0], c[1]).getSafeAngles(s, e);
    EXPECT_TRUE(s == c[0] && e == c[2]) << c[0] << " " << c[1];
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
    EXPECT_LT(box.min.dist(sampled.min), 1e-6);
    EXPECT_LT(box.max.dist(sampled.max), 1e-6);
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
  const double cases[][5] = {// start, end, by, wanted start and end
                             {3 * kPi / 2, kPi / 2, kPi / 2, k2Pi, kPi},  // 2*pi exactly stays
                             {kPi / 2, 0, -kPi, 3 * kPi / 2, kPi},
                             {6, 0.2, 0.5, 6.5 - k2Pi, 0.7},
                             // One step only: more than a turn leaves the angles out of range.
                             {1, 2, 3 * k2Pi, 1 + 2 * k2Pi, 2 + 2 * k2Pi}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c[0] << " by " << c[2]);
    ARC_3D a(2, 0, 5, 1, c[0], c[1]);
    PNT_3D ps, pe, qs, qe;
    a.end_points(ps, pe);
    const PNT_3D pivot(1, 0, 0);
    a.rotate(pivot, c[2]);
    EXPECT_NEAR(a.start, c[3], 1e-12);
    EXPECT_NEAR(a.end, c[4], 1e-12);
    // The ends of the turned arc are the turned ends, at the same Z.
    ps.rotate(pivot, c[2]);
    pe.rotate(pivot, c[2]);
    a.end_points(qs, qe);
    EXPECT_NEAR(qs.dist(ps), 0.0, 1e-12);
    EXPECT_NEAR(qe.dist(pe), 0.0, 1e-12);
  }
}

TEST(Arc, DistancesAndNearestPointOnTheArcOrAtTheNearerEnd) {
  const ARC_3D a(0, 0, 7, 5, 0, kPi / 2);
  const std::pair<PNT_2D, double> cases[] = {
      {PNT_2D(6, 8), 5},                   // beyond the rim, on the arc's side
      {PNT_2D(1, 1), 5 - std::sqrt(2.0)},  // inside the rim
      {PNT_2D(-3, -4), std::sqrt(80.0)},   // off the arc: nearer end (5, 0)
      {PNT_2D(-1, 8), std::sqrt(10.0)},    // off the arc: nearer end (0, 5)
      {PNT_2D(3, -4), std::sqrt(20.0)}};   // below the start: to (5, 0)
  for (const auto& [p, dist] : cases) EXPECT_NEAR(a.dist(p), dist, 1e-12) << p.getX();
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

// One crossing call: the count, with the first two points found (or left alone).
using Cross = std::function<long(const ARC_3D&, PNT_2D&, PNT_2D&)>;

Cross segment(double x1, double y1, double x2, double y2) {
  return [s = LINE_2D(x1, y1, x2, y2)](const ARC_3D& on, PNT_2D& p1, PNT_2D& p2) {
    EXPECT_EQ(on.intersect(s), on.intersect(s, p1, p2));  // the counting form agrees
    return on.intersect(s, p1, p2);
  };
}
Cross implicit(double a, double b, double c) {
  return [l = IMP_LINE_2D(a, b, c)](const ARC_3D& on, PNT_2D& p1, PNT_2D& p2) {
    return on.intersect(l, p1, p2);
  };
}
Cross parametric(double x, double y, double dx, double dy) {
  return [l = PAR_LINE_2D(x, y, dx, dy)](const ARC_3D& on, PNT_2D& p1, PNT_2D& p2) {
    double t1 = -99, t2 = -99;
    const long n = on.intersect(l, t1, t2);
    l.calcPt(t1, p1);
    l.calcPt(t2, p2);
    return n;
  };
}
Cross circle(double x, double y, double r) {
  return [c = CIRCLE_3D(x, y, 0, r)](const ARC_3D& on, PNT_2D& p1, PNT_2D& p2) {
    return on.intersect(c, p1, p2);
  };
}
// Arcs on the unit circle at (1, 0): they cross the unit circle at (0, 0) at (0.5, +-0.866).
Cross arc(double x, double s, double e) {
  return [o = ARC_3D(x, 0, 0, 1, s, e)](const ARC_3D& on, PNT_2D& p1, PNT_2D& p2) {
    const long n = on.intersect(o, p1, p2);
    EXPECT_TRUE(n == 0 || onArcBySweep(o, p1));
    PNT_2D q1, q2;
    EXPECT_EQ(o.intersect(on, q1, q2), n);  // either way round
    return n;
  };
}

TEST(ArcCrossings, KeepOnlyPointsOnTheArcTheAcceptedOneFirst) {
  const ARC_3D upper(0, 0, 0, 1, 0, kPi), right(0, 0, 0, 1, 3 * kPi / 2, kPi / 2);
  const ARC_3D quarter(0, 0, 0, 1, 0, kPi / 2), upper2(0, 0, 0, 2, 0, kPi);
  const ARC_3D lower(0, 0, 0, 1, kPi, k2Pi);
  const double h = std::sqrt(0.75);
  struct Case {
    const char* name;
    const ARC_3D& arc;
    Cross cross;
    long count;
  };
  const Case cases[] = {
      {"segment: both on", upper, segment(-2, 0.5, 2, 0.5), 2},
      {"segment: both off", upper, segment(-2, -0.5, 2, -0.5), 0},
      {"segment: one on", upper, segment(0.5, -2, 0.5, 2), 1},
      {"segment: one on, reversed", upper, segment(0.5, 2, 0.5, -2), 1},
      {"segment: through 0, axis", right, segment(-2, 0, 2, 0), 1},
      {"segment: through 0, axis reversed", right, segment(2, 0, -2, 0), 1},
      {"segment: through 0, vertical", right, segment(0.5, -2, 0.5, 2), 2},
      {"segment ends at the start angle", quarter, segment(0, 0, 2, 0), 1},
      {"segment ends at the end angle", quarter, segment(0, 0, 0, 2), 1},
      {"segment stops short", upper, segment(0.5, 0, 0.5, h / 2), 0},
      {"segment misses the circle", upper, segment(-2, 3, 2, 3), 0},
      // y = 0 crosses at (-1, 0) and (1, 0): only (1, 0), at angle 0, is on the arc.
      {"implicit: second accepted", right, implicit(0, 1, 0), 1},
      {"implicit: both", right, implicit(2, 0, -1), 2},
      {"implicit: both off", right, implicit(2, 0, 1), 0},
      {"parametric: both above", upper2, parametric(-3, 1, 1, 0), 2},
      {"parametric: upper only", upper2, parametric(1, -3, 0, 1), 1},
      {"parametric: run downwards", upper2, parametric(1, 3, 0, -2), 1},
      {"parametric: below", upper2, parametric(-3, -1, 1, 0), 0},
      {"parametric: misses", upper2, parametric(-3, 5, 1, 0), 0},
      // The unit circle at (1, 0) crosses at (0.5, +-h): only the upper one counts.
      {"circle: one", upper, circle(1, 0, 1), 1},
      {"circle: below", upper, circle(0, -1.5, 1), 0},
      {"circle: above", upper, circle(0, 1.5, 1), 2},
      {"circle: touching the start", upper, circle(2, 0, 1), 2},
      {"circle: concentric", upper, circle(0, 0, 2), 0},
      {"arc: upper vs left half", upper, arc(1, kPi / 2, 3 * kPi / 2), 1},
      {"arc: upper vs lower left", upper, arc(1, kPi, 3 * kPi / 2), 0},
      {"arc: through 0 vs left half", right, arc(1, kPi / 2, 3 * kPi / 2), 2},
      {"arc: through 0 vs right half", right, arc(1, 3 * kPi / 2, kPi / 2), 0},
      {"arc: lower vs through 0", lower, arc(1, 5, 0.5), 0},
      {"arc: lower vs lower half", lower, arc(1, kPi, k2Pi), 1},
      {"arc: apart", upper, arc(5, 0, kPi), 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PNT_2D p1 = kUntouched, p2 = kUntouched;
    const long n = k.cross(k.arc, p1, p2);
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

}  // namespace
