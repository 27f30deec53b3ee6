// tests/geometry/chain_test.cpp: offsets of point chains (CalcParalLine, 2D and 3D) and the
// side of a point against a chain (PtLeftSide). Offsets are checked by their distance to the
// source segments; sides inside the box against an independent even-odd inside test.
#include <veltcore/geometry/arc.h>
#include <veltcore/geometry/constructions.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pts = std::vector<PNT_2D>;

std::string show(const Pts& pts) {
  std::string s;
  for (const PNT_2D& p : pts)
    s += "(" + std::to_string(p.getX()) + ", " + std::to_string(p.getY()) + ")";
  return s;
}

Pts offset(const Pts& pts, double d, bool closed) {
  Pts out(pts.size(), PNT_2D(-777, -777));
  const int n = CalcParalLine(pts.data(), static_cast<int>(pts.size()), d, closed, out.data());
  EXPECT_LE(n, static_cast<int>(pts.size()));
  out.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return out;
}

void expectPoints(const Pts& got, const Pts& want, const std::string& name) {
  ASSERT_EQ(got.size(), want.size()) << name << ": " << show(got);
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].dist(want[i]), 0, 1e-9) << name << " point " << i << ": " << show(got);
  }
}

TEST(ChainOffset, OpenAndClosedChains) {
  const Pts square = {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10), PNT_2D(0, 10)};
  struct Case {
    const char* name;
    Pts pts;
    double d;
    bool closed;
    Pts want;
  };
  const Case cases[] = {
      {"right angle, right side",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10)},
       1,
       false,
       {PNT_2D(0, -1), PNT_2D(11, -1), PNT_2D(11, 10)}},
      {"right angle, left side",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10)},
       -1,
       false,
       {PNT_2D(0, 1), PNT_2D(9, 1), PNT_2D(9, 10)}},
      {"repeated points",
       {PNT_2D(0, 0), PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 1e-13), PNT_2D(10, 10),
        PNT_2D(10, 10)},
       1,
       false,
       {PNT_2D(0, -1), PNT_2D(11, -1), PNT_2D(11, 10)}},
      {"straight run: corner at the end of the first line",
       {PNT_2D(0, 0), PNT_2D(5, 0), PNT_2D(10, 0)},
       1,
       false,
       {PNT_2D(0, -1), PNT_2D(5, -1), PNT_2D(10, -1)}},
      {"one segment, closed flag ignored",
       {PNT_2D(0, 0), PNT_2D(10, 0)},
       1,
       true,
       {PNT_2D(0, -1), PNT_2D(10, -1)}},
      {"closed square outwards",
       square,
       1,
       true,
       {PNT_2D(11, -1), PNT_2D(11, 11), PNT_2D(-1, 11), PNT_2D(-1, -1)}},
      {"closed square inwards",
       square,
       -1,
       true,
       {PNT_2D(9, 1), PNT_2D(9, 9), PNT_2D(1, 9), PNT_2D(1, 1)}},
      {"closed square, first point repeated at the end",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10), PNT_2D(0, 10), PNT_2D(0, 0)},
       1,
       true,
       {PNT_2D(11, -1), PNT_2D(11, 11), PNT_2D(-1, 11), PNT_2D(-1, -1)}},
      {"closed square, first point doubled",
       {PNT_2D(0, 0), PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10), PNT_2D(0, 10)},
       1,
       true,
       {PNT_2D(11, -1), PNT_2D(11, 11), PNT_2D(-1, 11), PNT_2D(-1, -1)}},
      {"open square",
       square,
       1,
       false,
       {PNT_2D(0, -1), PNT_2D(11, -1), PNT_2D(11, 11), PNT_2D(0, 11)}},
  };
  for (const Case& c : cases) expectPoints(offset(c.pts, c.d, c.closed), c.want, c.name);
}

TEST(ChainOffset, DegenerateInputWritesNothing) {
  PNT_2D out[4];
  const Pts same = {PNT_2D(1, 1), PNT_2D(1, 1), PNT_2D(1, 1 + 1e-13)};
  EXPECT_EQ(CalcParalLine(same.data(), 3, 1, false, out), 0);
  EXPECT_EQ(CalcParalLine(same.data(), 3, 1, true, out), 0);
  EXPECT_EQ(CalcParalLine(same.data(), 1, 1, false, out), 0);
  EXPECT_EQ(CalcParalLine(same.data(), 0, 1, false, out), 0);
}

TEST(ChainOffset, ConvexCornersLieAtTheOffsetFromBothSides) {
  const Pts pentagon = {PNT_2D(0, 0), PNT_2D(6, 0), PNT_2D(8, 5), PNT_2D(3, 9), PNT_2D(-2, 5)};
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

TEST(ChainOffset, FoldedCornersDropTheShorterLineAndRestart) {
  struct Case {
    const char* name;
    Pts pts;
    double d;
    Pts want;
  };
  // The offset of (10, 0) -> (0, 0.1) alone, where the sharp spike leaves only that line.
  const LINE_2D spikeTail = CalcParalLineAt(LINE_2D(10, 0, 0, 0.1), 1);
  const Case cases[] = {
      // The corner of the inner offset of the tiny step falls behind the previous corner
      // (t < s_prev): the short step goes. The two long offsets are then parallel and turn
      // back on each other, so they meet at the end of the first.
      {"U-turn narrower than the offset",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 1), PNT_2D(0, 1)},
       -1,
       {PNT_2D(0, 1), PNT_2D(10, 1), PNT_2D(0, 0)}},
      // The corner lies 21 lengths along the first offset (t > 10): the shorter first line
      // goes and the second stands alone.
      {"sharp spike",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(0, 0.1)},
       1,
       {spikeTail.start, spikeTail.end}},
      // The corner lies 29 lengths along the tiny second segment (s > 10): it goes, and the
      // first line stands alone.
      {"tiny last segment",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10.01, -0.01)},
       1,
       {PNT_2D(0, -1), PNT_2D(10, -1)}},
      // After the tiny jog is dropped the neighbours are parallel in the same direction:
      // they too meet at the end of the first.
      {"tiny jog between parallel runs",
       {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10.01, -0.01), PNT_2D(20, -0.01)},
       1,
       {PNT_2D(0, -1), PNT_2D(10, -1), PNT_2D(20, -1.01)}},
  };
  for (const Case& c : cases) expectPoints(offset(c.pts, c.d, false), c.want, c.name);
}

TEST(ChainOffset, ChainsThatTurnBack) {
  // Parallel distinct offsets meet at the end of the earlier one (t = 1 on it, s = 0 on the
  // next), both for an open chain and around a closed one.
  expectPoints(offset({PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(5, 0)}, 1, false),
               {PNT_2D(0, -1), PNT_2D(10, -1), PNT_2D(5, 1)}, "open, back over itself");
  expectPoints(offset({PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(5, 0), PNT_2D(5, 5)}, 1, false),
               {PNT_2D(0, -1), PNT_2D(10, -1), PNT_2D(6, 1), PNT_2D(6, 5)}, "open, back then up");
  expectPoints(offset({PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(5, 0)}, 1, true),
               {PNT_2D(10, -1), PNT_2D(5, 1), PNT_2D(0, 1)}, "closed, flat triangle");
}

TEST(ChainOffset, SpatialChainsTakeTheZOfTheLineTheyEnd) {
  using Pts3 = std::vector<PNT_3D>;
  struct Case {
    const char* name;
    Pts3 pts;
    bool closed;
    Pts3 want;
  };
  const Case cases[] = {
      {"right angle climbing",
       {PNT_3D(0, 0, 0), PNT_3D(10, 0, 5), PNT_3D(10, 10, 10)},
       false,
       {PNT_3D(0, -1, 0), PNT_3D(11, -1, 5.5), PNT_3D(11, 10, 10)}},
      {"vertical segment skipped",
       {PNT_3D(0, 0, 0), PNT_3D(10, 0, 0), PNT_3D(10, 0, 7), PNT_3D(10, 10, 7)},
       false,
       {PNT_3D(0, -1, 0), PNT_3D(11, -1, 0), PNT_3D(11, 10, 7)}},
      {"straight climb",
       {PNT_3D(0, 0, 0), PNT_3D(5, 0, 2), PNT_3D(10, 0, 4)},
       false,
       {PNT_3D(0, -1, 0), PNT_3D(5, -1, 2), PNT_3D(10, -1, 4)}},
      {"closed square at z 3",
       {PNT_3D(0, 0, 3), PNT_3D(10, 0, 3), PNT_3D(10, 10, 3), PNT_3D(0, 10, 3)},
       true,
       {PNT_3D(11, -1, 3), PNT_3D(11, 11, 3), PNT_3D(-1, 11, 3), PNT_3D(-1, -1, 3)}},
      {"turning back",
       {PNT_3D(0, 0, 1), PNT_3D(10, 0, 2), PNT_3D(5, 0, 3)},
       false,
       {PNT_3D(0, -1, 1), PNT_3D(10, -1, 2), PNT_3D(5, 1, 3)}},
  };
  for (const Case& c : cases) {
    Pts3 out(c.pts.size(), PNT_3D(-7, -7, -7));
    const int n =
        CalcParalLine(c.pts.data(), static_cast<int>(c.pts.size()), 1, c.closed, out.data());
    ASSERT_EQ(n, static_cast<int>(c.want.size())) << c.name;
    for (int i = 0; i < n; ++i) EXPECT_NEAR(out[i].dist(c.want[i]), 0, 1e-12) << c.name << i;
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

TEST(ChainSide, InsideTheBoxTheNearestSegmentDecides) {
  // An L shape, counter-clockwise: its inside is on the left of every edge.
  const Pts ccw = {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 5),
                   PNT_2D(5, 5), PNT_2D(5, 10), PNT_2D(0, 10)};
  const Pts cw(ccw.rbegin(), ccw.rend());
  int checked = 0;
  for (int i = 0; i < 20; ++i) {
    for (int j = 0; j < 20; ++j) {
      const PNT_2D p(0.25 + 0.5 * i, 0.25 + 0.5 * j);
      const bool in = insidePolygon(ccw, p);
      EXPECT_EQ(leftOf(ccw, true, p), in) << p.getX() << ", " << p.getY();
      EXPECT_EQ(leftOf(cw, true, p), !in) << p.getX() << ", " << p.getY();
      ++checked;
    }
  }
  EXPECT_EQ(checked, 400);
}

TEST(ChainSide, AFootOutranksANearerEndPoint) {
  // (5, 3) is 0.54 from the end of the last segment but 3 above the foot on the first: the
  // foot wins, and (5, 3) is on the left of (0, 0) -> (10, 0) though on the right of the last.
  const Pts chain = {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10), PNT_2D(5.5, 3.2)};
  EXPECT_TRUE(leftOf(chain, false, PNT_2D(5, 3)));
  EXPECT_FALSE(LINE_2D(chain[2], chain[3]).ptLeftSide(PNT_2D(5, 3)));
}

TEST(ChainSide, OutsideTheBoxRaysFromTheVerticesVote) {
  const Pts ccw = {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10), PNT_2D(0, 10)};
  const Pts cw(ccw.rbegin(), ccw.rend());
  const Pts withRepeats = {PNT_2D(0, 0),   PNT_2D(10, 0), PNT_2D(10, 0),
                           PNT_2D(10, 10), PNT_2D(0, 10), PNT_2D(0, 10)};
  struct Case {
    const char* name;
    const Pts& pts;
    PNT_2D p;
    bool left;
  };
  const Case cases[] = {
      {"ccw below", ccw, PNT_2D(5, -5), false},
      {"ccw right", ccw, PNT_2D(15, 5), false},
      {"ccw above, off-centre", ccw, PNT_2D(2, 14), false},
      {"cw below", cw, PNT_2D(5, -5), true},
      {"cw left", cw, PNT_2D(-3, 7), true},
      {"repeated points below", withRepeats, PNT_2D(5, -5), false},
  };
  for (const Case& c : cases) EXPECT_EQ(leftOf(c.pts, true, c.p), c.left) << c.name;
}

TEST(ChainSide, ARayVotesOnlyWhenItsCrossingIsFurtherOnAndTiesGoFirst) {
  // p = (5, -10) is below the box. The rays from (4, 0) and (6, 0) run back up to the long
  // top segment (20, 5) -> (-20, 5) and vote for it; the rays from (5, 30) and (5.5, 31)
  // cross the top segment and then the short bottom one (4, 0) -> (6, 0), which comes first
  // in the chain and is further on: only the bottom one gets their votes. Two votes each:
  // the bottom segment, first, answers (p is on its right). Were every crossing to vote, the
  // top segment (p on its left) would win.
  const Pts chain = {PNT_2D(4, 0),   PNT_2D(6, 0),  PNT_2D(20, 5),
                     PNT_2D(-20, 5), PNT_2D(5, 30), PNT_2D(5.5, 31)};
  EXPECT_FALSE(leftOf(chain, false, PNT_2D(5, -10)));
}

TEST(ChainSide, CrossingsBehindAVertexVoteToo) {
  // Kept as the contract: the best crossing along each ray starts at s = -1, so a crossing
  // behind the vertex votes. For this L shape, (20, 20) collects one vote for the bottom edge
  // (from the ray back from (10, 5)) and one for the left edge; the bottom edge comes first
  // and has (20, 20) on its left, although the point is outside the shape.
  const Pts ccw = {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 5),
                   PNT_2D(5, 5), PNT_2D(5, 10), PNT_2D(0, 10)};
  EXPECT_TRUE(leftOf(ccw, true, PNT_2D(20, 20)));
}

TEST(ChainSide, WithoutVotesASegmentThatSeesThePointAloneDecides) {
  const Pts segment = {PNT_2D(0, 0), PNT_2D(10, 0)};
  EXPECT_TRUE(leftOf(segment, false, PNT_2D(5, 5)));
  EXPECT_FALSE(leftOf(segment, false, PNT_2D(5, -5)));
  EXPECT_TRUE(leftOf(segment, false, PNT_2D(-5, 3)));
  const Pts corner = {PNT_2D(0, 0), PNT_2D(10, 0), PNT_2D(10, 10)};
  // Both segments see (20, -5) alone, at the same distance: the first answers.
  EXPECT_FALSE(leftOf(corner, false, PNT_2D(20, -5)));
  // (-5, 5) is on the same side of both lines as the third vertex: no segment qualifies.
  EXPECT_FALSE(leftOf(corner, false, PNT_2D(-5, 5)));
}

TEST(ChainSide, DegenerateChains) {
  const Pts one = {PNT_2D(1, 1)};
  EXPECT_FALSE(leftOf(one, false, PNT_2D(1, 2)));
  const Pts same = {PNT_2D(1, 1), PNT_2D(1, 1), PNT_2D(1, 1)};
  EXPECT_FALSE(leftOf(same, true, PNT_2D(1, 1)));
  EXPECT_FALSE(leftOf(same, true, PNT_2D(0, 2)));
  EXPECT_FALSE(PtLeftSide(nullptr, 0, false, PNT_2D(0, 0)));
}

}  // namespace
