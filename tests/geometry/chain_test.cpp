// tests/geometry/chain_test.cpp: offsets of point chains (CalcParalLine, 2D and 3D) and the
// side of a point against a chain (PtLeftSide). Offsets are checked against hand-worked corners
// and by their distance to the source segments; sides inside the box against an independent
// even-odd inside test.
#include <veltcore/geometry/arc.h>
#include <veltcore/geometry/constructions.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Pts = std::vector<PNT_2D>;

// Points from their coordinates in a row: {x0, y0, x1, y1, ...}.
Pts P(std::initializer_list<double> xy) {
  Pts pts;
  for (auto it = xy.begin(); it != xy.end(); it += 2) pts.emplace_back(it[0], it[1]);
  return pts;
}

Pts offset(const Pts& pts, double d, bool closed) {
  Pts out(pts.size(), PNT_2D(-777, -777));
  const int n = CalcParalLine(pts.data(), static_cast<int>(pts.size()), d, closed, out.data());
  EXPECT_LE(n, static_cast<int>(pts.size()));
  out.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return out;
}

TEST(ChainOffset, OpenAndClosedChains) {
  const Pts square = P({0, 0, 10, 0, 10, 10, 0, 10});
  const Pts squareOut = P({11, -1, 11, 11, -1, 11, -1, -1});
  // The offset of (10, 0) -> (0, 0.1) alone, where the sharp spike leaves only that line.
  const LINE_2D spikeTail = CalcParalLineAt(LINE_2D(10, 0, 0, 0.1), 1);
  struct Case {
    const char* name;
    Pts pts;
    double d;
    bool closed;
    Pts want;
  };
  const Case cases[] = {
      {"right angle, right side", P({0, 0, 10, 0, 10, 10}), 1, false, P({0, -1, 11, -1, 11, 10})},
      {"right angle, left side", P({0, 0, 10, 0, 10, 10}), -1, false, P({0, 1, 9, 1, 9, 10})},
      {"repeated points", P({0, 0, 0, 0, 10, 0, 10, 1e-13, 10, 10, 10, 10}), 1, false,
       P({0, -1, 11, -1, 11, 10})},
      {"straight run: corner at the end of the first line", P({0, 0, 5, 0, 10, 0}), 1, false,
       P({0, -1, 5, -1, 10, -1})},
      {"one segment, closed flag ignored", P({0, 0, 10, 0}), 1, true, P({0, -1, 10, -1})},
      {"closed square outwards", square, 1, true, squareOut},
      {"closed square inwards", square, -1, true, P({9, 1, 9, 9, 1, 9, 1, 1})},
      {"closed square, first point repeated at the end", P({0, 0, 10, 0, 10, 10, 0, 10, 0, 0}), 1,
       true, squareOut},
      {"closed square, first point doubled", P({0, 0, 0, 0, 10, 0, 10, 10, 0, 10}), 1, true,
       squareOut},
      {"open square", square, 1, false, P({0, -1, 11, -1, 11, 11, 0, 11})},
      // Parallel distinct offsets meet at the end of the earlier one (t = 1 on it, s = 0 on the
      // next), both for an open chain and around a closed one.
      {"open, back over itself", P({0, 0, 10, 0, 5, 0}), 1, false, P({0, -1, 10, -1, 5, 1})},
      {"open, back then up", P({0, 0, 10, 0, 5, 0, 5, 5}), 1, false,
       P({0, -1, 10, -1, 6, 1, 6, 5})},
      {"closed, flat triangle", P({0, 0, 10, 0, 5, 0}), 1, true, P({10, -1, 5, 1, 0, 1})},
      // Folded corners drop the shorter line and restart. The corner of the inner offset of
      // the tiny step falls behind the previous corner (t < s_prev): the short step goes. The
      // two long offsets are then parallel and turn back, so they meet at the end of the first.
      {"U-turn narrower than the offset", P({0, 0, 10, 0, 10, 1, 0, 1}), -1, false,
       P({0, 1, 10, 1, 0, 0})},
      // The corner lies 21 lengths along the first offset (t > 10): the shorter first line
      // goes and the second stands alone.
      {"sharp spike", P({0, 0, 10, 0, 0, 0.1}), 1, false, {spikeTail.start, spikeTail.end}},
      // The corner lies 29 lengths along the tiny second segment (s > 10): it goes, and the
      // first line stands alone.
      {"tiny last segment", P({0, 0, 10, 0, 10.01, -0.01}), 1, false, P({0, -1, 10, -1})},
      // After the tiny jog is dropped the neighbours are parallel in the same direction:
      // they too meet at the end of the first.
      {"tiny jog between parallel runs", P({0, 0, 10, 0, 10.01, -0.01, 20, -0.01}), 1, false,
       P({0, -1, 10, -1, 20, -1.01})},
      {"all points equal", P({1, 1, 1, 1, 1, 1 + 1e-13}), 1, true, {}},
      {"one point", P({1, 1}), 1, false, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Pts got = offset(c.pts, c.d, c.closed);
    ASSERT_EQ(got.size(), c.want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_NEAR(got[i].dist(c.want[i]), 0, 1e-9) << "point " << i;
  }
  EXPECT_EQ(CalcParalLine(square.data(), 0, 1, false, nullptr), 0);
}

TEST(ChainOffset, ConvexCornersLieAtTheOffsetFromBothSides) {
  const Pts pentagon = P({0, 0, 6, 0, 8, 5, 3, 9, -2, 5});
  const std::size_t n = pentagon.size();
  for (double d : {1.0, -1.0, 0.25}) {
    const Pts corners = offset(pentagon, d, true);
    ASSERT_EQ(corners.size(), n) << d;
    // Corner k joins the offsets of segments k and k + 1; PAR_LINE_2D::dist is positive on
    // the right, where a positive offset goes.
    for (std::size_t k = 0; k < n; ++k) {
      const PAR_LINE_2D before(pentagon[k], pentagon[(k + 1) % n]);
      const PAR_LINE_2D after(pentagon[(k + 1) % n], pentagon[(k + 2) % n]);
      EXPECT_NEAR(before.dist(corners[k]), d, 1e-12) << d << " corner " << k;
      EXPECT_NEAR(after.dist(corners[k]), d, 1e-12) << d << " corner " << k;
    }
  }
}

TEST(ChainOffset, SpatialChainsTakeTheZOfTheLineTheyEnd) {
  struct Case {
    const char* name;
    std::vector<PNT_3D> pts;
    bool closed;
    std::vector<PNT_3D> want;
  };
  using Q = PNT_3D;
  const Case cases[] = {{"right angle climbing",
                         {Q(0, 0, 0), Q(10, 0, 5), Q(10, 10, 10)},
                         false,
                         {Q(0, -1, 0), Q(11, -1, 5.5), Q(11, 10, 10)}},
                        {"vertical segment skipped",
                         {Q(0, 0, 0), Q(10, 0, 0), Q(10, 0, 7), Q(10, 10, 7)},
                         false,
                         {Q(0, -1, 0), Q(11, -1, 0), Q(11, 10, 7)}},
                        {"closed square at z 3",
                         {Q(0, 0, 3), Q(10, 0, 3), Q(10, 10, 3), Q(0, 10, 3)},
                         true,
                         {Q(11, -1, 3), Q(11, 11, 3), Q(-1, 11, 3), Q(-1, -1, 3)}},
                        {"turning back",
                         {Q(0, 0, 1), Q(10, 0, 2), Q(5, 0, 3)},
                         false,
                         {Q(0, -1, 1), Q(10, -1, 2), Q(5, 1, 3)}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<PNT_3D> out(c.pts.size(), PNT_3D(-7, -7, -7));
    const int n =
        CalcParalLine(c.pts.data(), static_cast<int>(c.pts.size()), 1, c.closed, out.data());
    ASSERT_EQ(n, static_cast<int>(c.want.size()));
    for (int i = 0; i < n; ++i) EXPECT_NEAR(out[i].dist(c.want[i]), 0, 1e-12) << i;
  }
}

// ---- side of a chain ---------------------------------------------------------------------

// Even-odd inside test of a closed polygon, for points off its edges.
bool insidePolygon(const Pts& poly, const PNT_2D& p) {
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const PNT_2D& a = poly[i];
    const PNT_2D& b = poly[j];
    if ((a.getY() > p.getY()) != (b.getY() > p.getY())) {
      const double x =
          a.getX() + (p.getY() - a.getY()) * (b.getX() - a.getX()) / (b.getY() - a.getY());
      if (p.getX() < x) in = !in;
    }
  }
  return in;
}

bool leftOf(const Pts& pts, bool closed, const PNT_2D& p) {
  return PtLeftSide(pts.data(), static_cast<int>(pts.size()), closed, p);
}

// An L shape, counter-clockwise: its inside is on the left of every edge.
const Pts kLShape = P({0, 0, 10, 0, 10, 5, 5, 5, 5, 10, 0, 10});

TEST(ChainSide, InsideTheBoxTheNearestSegmentDecides) {
  const Pts cw(kLShape.rbegin(), kLShape.rend());
  for (int i = 0; i < 20; ++i) {
    for (int j = 0; j < 20; ++j) {
      const PNT_2D p(0.25 + 0.5 * i, 0.25 + 0.5 * j);
      const bool in = insidePolygon(kLShape, p);
      EXPECT_EQ(leftOf(kLShape, true, p), in) << p.getX() << ", " << p.getY();
      EXPECT_EQ(leftOf(cw, true, p), !in) << p.getX() << ", " << p.getY();
    }
  }
}

TEST(ChainSide, OutsideTheBoxAndSingleCases) {
  const Pts ccw = P({0, 0, 10, 0, 10, 10, 0, 10});
  const Pts cw(ccw.rbegin(), ccw.rend());
  struct Case {
    const char* name;
    Pts pts;
    bool closed;
    PNT_2D p;
    bool left;
  };
  const Case cases[] = {
      // Outside the box, rays from the vertices vote.
      {"ccw below", ccw, true, PNT_2D(5, -5), false},
      {"ccw above, off-centre", ccw, true, PNT_2D(2, 14), false},
      {"cw below", cw, true, PNT_2D(5, -5), true},
      {"cw left", cw, true, PNT_2D(-3, 7), true},
      {"repeated points below", P({0, 0, 10, 0, 10, 0, 10, 10, 0, 10, 0, 10}), true, PNT_2D(5, -5),
       false},
      // (5, 3) is 0.54 from the end of the last segment but 3 above the foot on the first: the
      // foot wins, and (5, 3) is on the left of (0, 0) -> (10, 0) though on the right of the
      // last segment, (10, 10) -> (5.5, 3.2).
      {"a foot outranks a nearer end point", P({0, 0, 10, 0, 10, 10, 5.5, 3.2}), false,
       PNT_2D(5, 3), true},
      // (5, -10) is below the box. The rays from (4, 0) and (6, 0) run back up to the long top
      // segment (20, 5) -> (-20, 5) and vote for it; the rays from (5, 30) and (5.5, 31) cross
      // the top segment and then the short bottom one, which comes first in the chain and is
      // further on: only the bottom one gets their votes. Two votes each: the bottom segment,
      // first, answers (p on its right). Were every crossing to vote, the top one would win.
      {"a ray votes only for its further crossing; ties go first",
       P({4, 0, 6, 0, 20, 5, -20, 5, 5, 30, 5.5, 31}), false, PNT_2D(5, -10), false},
      // Kept as the contract: the best crossing along each ray starts at s = -1, so a crossing
      // behind the vertex votes. (20, 20) collects one vote for the bottom edge (from the ray
      // back from (10, 5)) and one for the left edge; the bottom edge comes first and has
      // (20, 20) on its left, although the point is outside the shape.
      {"crossings behind a vertex vote", kLShape, true, PNT_2D(20, 20), true},
      // Without votes, a segment that sees the point alone decides.
      {"segment, above", P({0, 0, 10, 0}), false, PNT_2D(5, 5), true},
      {"segment, below", P({0, 0, 10, 0}), false, PNT_2D(5, -5), false},
      {"segment, beyond its start", P({0, 0, 10, 0}), false, PNT_2D(-5, 3), true},
      // Both segments see (20, -5) alone, at the same distance: the first answers.
      {"corner, equal distances", P({0, 0, 10, 0, 10, 10}), false, PNT_2D(20, -5), false},
      // (-5, 5) is on the same side of both lines as the third vertex: no segment qualifies.
      {"corner, no segment qualifies", P({0, 0, 10, 0, 10, 10}), false, PNT_2D(-5, 5), false},
      {"one point", P({1, 1}), false, PNT_2D(1, 2), false},
      {"all points equal, away", P({1, 1, 1, 1, 1, 1}), true, PNT_2D(0, 2), false},
      {"no points", {}, false, PNT_2D(0, 0), false}};
  for (const Case& c : cases) EXPECT_EQ(leftOf(c.pts, c.closed, c.p), c.left) << c.name;
}

}  // namespace
