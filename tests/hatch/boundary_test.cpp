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

void expectAt(const std::vector<PNT_3D>& pts, std::size_t i, double x, double y, double z) {
  EXPECT_NEAR(pts[i].getX(), x, 1e-9) << "point " << i;
  EXPECT_NEAR(pts[i].getY(), y, 1e-9) << "point " << i;
  EXPECT_EQ(pts[i].getZ(), z) << "point " << i;
}

TEST(HatchBoundary, CircleArcAndEllipsePoints) {
  std::vector<PNT_3D> pts{PNT_3D(7, 7, 7)};
  hatch_add_circle(PNT_3D(1, 2, 3), 2, pts);
  ASSERT_EQ(pts.size(), 66u);
  EXPECT_EQ(pts[0], PNT_3D(7, 7, 7));  // appended, not cleared
  EXPECT_EQ(pts[1], PNT_3D(3, 2, 3));  // (cx + r, cy), exactly
  expectAt(pts, 17, 1, 4, 3);
  expectAt(pts, 65, 3, 2, 3);

  // Radius 1 about the origin: the angles of the first, middle and last of the 65 points.
  const struct {
    double start, end, first, mid, last;
  } arcs[] = {
      {0, kPi / 2, 0, kPi / 4, kPi / 2},
      {-kPi / 2, kPi / 2, 3 * kPi / 2, 2 * kPi, 5 * kPi / 2},  // a negative start wraps
      {5 * kPi, 7.5 * kPi, kPi, 5 * kPi / 4, 3 * kPi / 2},     // past 2pi comes back
      {kPi, kPi / 2, kPi, 7 * kPi / 4, 5 * kPi / 2},           // an end before start turns
      {1, 1, 1, 1 + kPi, 1 + 2 * kPi},                         // equal: the full circle
  };
  for (const auto& c : arcs) {
    SCOPED_TRACE(c.start);
    pts.clear();
    hatch_add_arc(PNT_3D(0, 0, 4), 1, c.start, c.end, pts);
    ASSERT_EQ(pts.size(), 65u);
    for (const auto& [i, a] : {std::pair{0, c.first}, {32, c.mid}, {64, c.last}})
      expectAt(pts, i, std::cos(a), std::sin(a), 4);
  }
  pts.clear();
  hatch_add_arc(PNT_3D(0, 0, 4), 1, 1e300, 1e300, pts);  // far-off angles still end
  EXPECT_EQ(pts.size(), 65u);

  // About (10, 20): parameter 0 on the major axis, pi/2 on the minor, which is the major turned
  // a quarter counter-clockwise, (-uy, ux) * minor. A null major axis collapses to the centre.
  const double ellipses[][7] = {
      {4, 0, 0.5, 14, 20, 10, 22}, {-3, -4, 0.4, 7, 16, 11.6, 18.8}, {0, 0, 0.5, 10, 20, 10, 20}};
  for (const auto& e : ellipses) {
    pts.clear();
    hatch_add_ellipse(PNT_3D(10, 20, 1), e[0], e[1], e[2], 0, 2 * kPi, pts);
    ASSERT_EQ(pts.size(), 65u);
    expectAt(pts, 0, e[3], e[4], 1);
    expectAt(pts, 16, e[5], e[6], 1);
  }
}

TEST(HatchBoundary, NonFiniteAnglesGiveNoPoints) {
  for (const double a : {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL}) {
    std::vector<PNT_3D> pts;
    hatch_add_arc(PNT_3D(0, 0, 0), 1, a, 1, pts);
    hatch_add_arc(PNT_3D(0, 0, 0), 1, 1, a, pts);
    hatch_add_ellipse(PNT_3D(0, 0, 0), 1, 0, 1, a, 1, pts);
    EXPECT_TRUE(pts.empty()) << a;
  }
}

// The points run from p0 to p1 whichever way the arc turns, at the mean Z of the ends; the
// middle one is the chord's midpoint moved by the sagitta (bulge * chord / 2) to the right of
// p0 -> p1 for a positive bulge.
TEST(HatchBoundary, BulgePointsRunFromP0ToP1) {
  const PNT_3D left(0, 0, 1), right(2, 0, 3);
  const struct {
    PNT_3D p0, p1;
    double bulge, midY;
  } cases[] = {{left, right, 1, -1},
               {left, right, -0.5, 0.5},
               {right, left, 1, 1},
               {right, left, -0.5, -0.5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bulge);
    std::vector<PNT_3D> pts;
    hatch_add_segment_bulge(c.p0, c.p1, c.bulge, pts);
    ASSERT_EQ(pts.size(), 65u);
    expectAt(pts, 0, c.p0.getX(), 0, 2);
    expectAt(pts, 32, 1, c.midY, 2);
    expectAt(pts, 64, c.p1.getX(), 0, 2);
  }
  std::vector<PNT_3D> pts;
  hatch_add_segment_bulge(PNT_3D(1, 2, 3), PNT_3D(4, 5, 6), 0, pts);
  EXPECT_EQ(pts, (std::vector<PNT_3D>{PNT_3D(1, 2, 3), PNT_3D(4, 5, 6)}));
}

TEST(HatchBoundary, CompactDropsRepeatsAndCloses) {
  const PNT_3D a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0), far(9, 9, 9);
  const PNT_3D e1(0.8e-12, 0, 0), e2(1.6e-12, 0, 0), e3(2.4e-12, 0, 0), e4(3e-12, 0, 0);
  const struct {
    std::vector<PNT_3D> out, in, expected;  // out before, in, out after
  } cases[] = {
      {{far}, {}, {far}},
      {{}, {a, a, b, b, b, c, d, d, a, a}, {a, b, c, d, a}},
      // Within |v| * 1e-12 + 1e-12 is a repeat; just beyond is kept.
      {{}, {a, b, PNT_3D(1 + 1e-12, 5e-13, 0), c, d, PNT_3D(1e-12, 1, 0)}, {a, b, c, d, a}},
      {{}, {a, e4, c}, {a, e4, c, a}},
      // Compared with the last kept point, not the last given.
      {{}, {a, e1, e2, e3, c}, {a, e2, c, a}},
      {{far}, {a, b, c}, {far, a, b, c, far}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::vector<PNT_3D> out = cases[i].out;
    _hatch_compactVertex(cases[i].in, out);
    EXPECT_EQ(out, cases[i].expected) << "case " << i;
  }
}

}  // namespace
