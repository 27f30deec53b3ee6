// tests/hatch/boundary_test.cpp: the boundary-point helpers (65 points, angle normalisation,
// the minor axis, bulge direction both ways) and the compaction of a boundary (repeats within
// the tolerance of the last kept point dropped, closing on out[0], appending without clearing).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <veltcore/hatch/pattern.h>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void expectNear(const PNT_3D& p, double x, double y, double z, const char* what) {
  EXPECT_NEAR(p.getX(), x, 1e-9) << what;
  EXPECT_NEAR(p.getY(), y, 1e-9) << what;
  EXPECT_EQ(p.getZ(), z) << what;
}

TEST(HatchBoundary, CircleAppends65PointsClosingOnTheFirst) {
  std::vector<PNT_3D> pts{PNT_3D(7, 7, 7)};
  hatch_add_circle(PNT_3D(1, 2, 3), 2, pts);
  ASSERT_EQ(pts.size(), 66u);
  EXPECT_EQ(pts[0], PNT_3D(7, 7, 7));  // appended, not cleared
  EXPECT_EQ(pts[1], PNT_3D(3, 2, 3));  // (cx + r, cy), exactly
  expectNear(pts[17], 1, 4, 3, "quarter turn");
  expectNear(pts[33], -1, 2, 3, "half turn");
  expectNear(pts[65], 3, 2, 3, "full turn");
}

// Arcs of radius 1 about the origin: where the first, middle and last of the 65 points lie.
struct ArcCase {
  const char* what;
  double start, end;
  double firstAngle, midAngle, lastAngle;
};

const ArcCase kArcs[] = {
    {"plain", 0, kPi / 2, 0, kPi / 4, kPi / 2},
    {"negative start wraps through 0", -kPi / 2, kPi / 2, 3 * kPi / 2, 2 * kPi, 5 * kPi / 2},
    {"angles past 2pi come back", 5 * kPi, 7.5 * kPi, kPi, 5 * kPi / 4, 3 * kPi / 2},
    {"end before start gets a turn", kPi, kPi / 2, kPi, 7 * kPi / 4, 5 * kPi / 2},
    {"equal angles: the full circle", 1, 1, 1, 1 + kPi, 1 + 2 * kPi},
    {"far-off angles still end", 1e300, 1e300, 0, kPi, 2 * kPi},
};

TEST(HatchBoundary, ArcNormalisesItsAngles) {
  for (const ArcCase& c : kArcs) {
    std::vector<PNT_3D> pts;
    hatch_add_arc(PNT_3D(0, 0, 4), 1, c.start, c.end, pts);
    ASSERT_EQ(pts.size(), 65u) << c.what;
    if (c.start == 1e300) continue;  // where fmod lands is not hand-computable; it ended
    expectNear(pts[0], std::cos(c.firstAngle), std::sin(c.firstAngle), 4, c.what);
    expectNear(pts[32], std::cos(c.midAngle), std::sin(c.midAngle), 4, c.what);
    expectNear(pts[64], std::cos(c.lastAngle), std::sin(c.lastAngle), 4, c.what);
  }
}

TEST(HatchBoundary, NonFiniteAnglesGiveNoPoints) {
  const double bad[] = {kNaN, kInf, -kInf};
  for (const double a : bad) {
    std::vector<PNT_3D> pts;
    hatch_add_arc(PNT_3D(0, 0, 0), 1, a, 1, pts);
    hatch_add_arc(PNT_3D(0, 0, 0), 1, 1, a, pts);
    hatch_add_ellipse(PNT_3D(0, 0, 0), 1, 0, 1, a, 1, pts);
    EXPECT_TRUE(pts.empty()) << a;
  }
}

// Ellipses about (10, 20): the points at parameters 0 and pi/2 lie on the major axis and on the
// minor axis, which is the major turned a quarter counter-clockwise, (-uy, ux) * minor.
struct EllipseCase {
  double majorX, majorY, ratio;
  double atZeroX, atZeroY, atQuarterX, atQuarterY;
};

const EllipseCase kEllipses[] = {
    {4, 0, 0.5, 14, 20, 10, 22},
    {0, 4, 0.5, 10, 24, 8, 20},
    {-3, -4, 0.4, 7, 16, 11.6, 18.8},
    {0, 0, 0.5, 10, 20, 10, 20},  // a null major axis collapses to the centre
};

TEST(HatchBoundary, EllipseRunsAlongMajorThenMinorAxis) {
  for (const EllipseCase& c : kEllipses) {
    std::vector<PNT_3D> pts;
    hatch_add_ellipse(PNT_3D(10, 20, 1), c.majorX, c.majorY, c.ratio, 0, 2 * kPi, pts);
    ASSERT_EQ(pts.size(), 65u);
    expectNear(pts[0], c.atZeroX, c.atZeroY, 1, "parameter 0");
    expectNear(pts[16], c.atQuarterX, c.atQuarterY, 1, "parameter pi/2");
  }
}

// Bulged segments: the points run from p0 to p1 whichever way the arc turns; the middle point
// is the chord's midpoint moved by the sagitta (bulge * chord / 2) to the right of p0 -> p1 for
// a positive bulge.
struct BulgeCase {
  PNT_3D p0, p1;
  double bulge;
  double midX, midY;
};

const BulgeCase kBulges[] = {
    {PNT_3D(0, 0, 1), PNT_3D(2, 0, 3), 1, 1, -1},
    {PNT_3D(0, 0, 1), PNT_3D(2, 0, 3), -1, 1, 1},
    {PNT_3D(0, 0, 1), PNT_3D(2, 0, 3), 0.5, 1, -0.5},
    {PNT_3D(0, 0, 1), PNT_3D(2, 0, 3), -0.5, 1, 0.5},
    {PNT_3D(2, 0, 1), PNT_3D(0, 0, 3), 1, 1, 1},
    {PNT_3D(2, 0, 1), PNT_3D(0, 0, 3), -0.5, 1, -0.5},
};

TEST(HatchBoundary, BulgePointsRunFromP0ToP1) {
  for (const BulgeCase& c : kBulges) {
    std::vector<PNT_3D> pts;
    hatch_add_segment_bulge(c.p0, c.p1, c.bulge, pts);
    ASSERT_EQ(pts.size(), 65u) << c.bulge;
    // Every point at the arc centre's Z, the mean of the ends'.
    expectNear(pts[0], c.p0.getX(), c.p0.getY(), 2, "first");
    expectNear(pts[32], c.midX, c.midY, 2, "middle");
    expectNear(pts[64], c.p1.getX(), c.p1.getY(), 2, "last");
  }
}

TEST(HatchBoundary, ZeroBulgeGivesTheEnds) {
  std::vector<PNT_3D> pts;
  hatch_add_segment_bulge(PNT_3D(1, 2, 3), PNT_3D(4, 5, 6), 0, pts);
  EXPECT_EQ(pts, (std::vector<PNT_3D>{PNT_3D(1, 2, 3), PNT_3D(4, 5, 6)}));
}

struct CompactCase {
  const char* what;
  std::vector<PNT_3D> out;  // before
  std::vector<PNT_3D> in;
  std::vector<PNT_3D> expected;  // out after
};

const PNT_3D a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0), far(9, 9, 9);

const CompactCase kCompacts[] = {
    {"nothing in, nothing added", {far}, {}, {far}},
    {"an open chain is closed", {}, {a, b, c, d}, {a, b, c, d, a}},
    {"a closed chain stays", {}, {a, b, c, d, a}, {a, b, c, d, a}},
    {"repeats dropped", {}, {a, a, b, b, b, c, d, d, a, a}, {a, b, c, d, a}},
    {"within |v| * 1e-12 + 1e-12 is a repeat",
     {},
     {a, b, PNT_3D(1 + 1e-12, 5e-13, 0), c, d, PNT_3D(1e-12, 1, 0)},
     {a, b, c, d, a}},
    {"just beyond is kept", {}, {a, PNT_3D(3e-12, 0, 0), c}, {a, PNT_3D(3e-12, 0, 0), c, a}},
    {"compared with the last kept point, not the last given",
     {},
     {a, PNT_3D(0.8e-12, 0, 0), PNT_3D(1.6e-12, 0, 0), PNT_3D(2.4e-12, 0, 0), c},
     {a, PNT_3D(1.6e-12, 0, 0), c, a}},
    {"appends without clearing and closes on out[0]", {far}, {a, b, c}, {far, a, b, c, far}},
};

TEST(HatchBoundary, CompactDropsRepeatsAndCloses) {
  for (const CompactCase& k : kCompacts) {
    std::vector<PNT_3D> out = k.out;
    _hatch_compactVertex(k.in, out);
    EXPECT_EQ(out, k.expected) << k.what;
  }
}

}  // namespace
