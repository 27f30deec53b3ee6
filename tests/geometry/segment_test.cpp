// tests/geometry/segment_test.cpp: LINE_2D and LINE_3D crossing, distance and side tests,
// boxes and midpoint.
#include <veltcore/geometry/line.h>

#include <gtest/gtest.h>

namespace {

const LINE_2D kUnitX(0, 0, 1, 0);

TEST(Segment, IntersectSnapsParametersToTheEnds) {
  struct Case {
    const char* name;
    LINE_2D a, b;
    bool meets;
    PNT_2D at;
  };
  const PNT_2D none(-7, -7);
  const Case cases[] = {
      {"cross", LINE_2D(1, 1, 3, 3), LINE_2D(1, 3, 3, 1), true, PNT_2D(2, 2)},
      {"shared end", kUnitX, LINE_2D(1, 0, 1, 1), true, PNT_2D(1, 0)},
      {"shared start", kUnitX, LINE_2D(0, 0, 0, 1), true, PNT_2D(0, 0)},
      {"end on interior", kUnitX, LINE_2D(0.25, 0, 0.25, 5), true, PNT_2D(0.25, 0)},
      {"t=1+1e-13", kUnitX, LINE_2D(1 + 1e-13, -1, 1 + 1e-13, 1), true, PNT_2D(1, 0)},
      {"t=-5e-13", kUnitX, LINE_2D(-5e-13, -1, -5e-13, 1), true, PNT_2D(0, 0)},
      {"t=1+1e-9", kUnitX, LINE_2D(1 + 1e-9, -1, 1 + 1e-9, 1), false, none},
      {"collinear overlap", kUnitX, LINE_2D(0.5, 0, 3, 0), false, none},
      {"parallel", kUnitX, LINE_2D(0, 1, 1, 1), false, none},
      // Absolute parallel test: micro segments whose cross product is below 1e-12 never meet.
      {"micro", LINE_2D(0, 0, 1e-6, 0), LINE_2D(0.5e-6, 0, 1.5e-6, 1e-7), false, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PNT_2D out = none;
    EXPECT_EQ(c.a.intersect(c.b, out), c.meets);
    EXPECT_EQ(c.a.intersect(c.b), c.meets);
    // Snapped parameters put the point exactly on the shared end, not 1e-13 away from it.
    EXPECT_EQ(out, c.at);
  }
  // Without a point, one end parameter settles the answer (t = 1, s = -5; t = 5, s = 0;
  // t = 0, s = -0.5); with a point both must lie on the segments.
  for (const LINE_2D& o : {LINE_2D(1, 5, 1, 6), LINE_2D(5, 0, 5, 1), LINE_2D(0, 3, 0, 9)}) {
    PNT_2D out;
    EXPECT_TRUE(kUnitX.intersect(o)) << o.start.getX();
    EXPECT_FALSE(kUnitX.intersect(o, out)) << o.start.getX();
  }
}

TEST(Segment, DistSignFollowsTheOriginNotTheDirection) {
  struct Case {
    LINE_2D l;
    PNT_2D p;
    double expected;
  };
  const Case cases[] = {
      {LINE_2D(0, 1, 1, 1), PNT_2D(0, 3), 2},  {LINE_2D(1, 1, 0, 1), PNT_2D(0, 3), 2},
      {LINE_2D(0, 1, 1, 1), PNT_2D(5, 0), -1}, {LINE_2D(1, 0, 0, 0), PNT_2D(0, 2), 2},
      {LINE_2D(0, 0, 0, 1), PNT_2D(3, 0), 3},  {LINE_2D(0, 1, 0, 0), PNT_2D(3, 0), -3},
      {LINE_2D(2, 2, 2, 2), PNT_2D(5, 6), 5},  // null segment: distance to its start
  };
  for (const Case& c : cases) EXPECT_NEAR(c.l.dist(c.p), c.expected, 1e-15) << c.expected;
}

TEST(Segment, LeftSideIn2DAnd3D) {
  struct Case {
    LINE_3D l;
    PNT_3D p;
    bool left2d, left3d;
  };
  const LINE_3D up(0, 0, 0, 0, 1, 0), down(0, 1, 0, 0, 0, 0), east(0, 0, 0, 1, 0, 0);
  const Case cases[] = {
      {east, PNT_3D(0.5, 1, 0), true, true},
      {east, PNT_3D(0.5, -1, 0), false, false},
      {east, PNT_3D(7, 0, 0), false, false},
      {up, PNT_3D(-1, 0.5, 0), true, true},
      {down, PNT_3D(-1, 0.5, 0), false, true},  // vertical 3D: x < start.x whatever the way
      {down, PNT_3D(1, 0.5, 0), true, false},
      {LINE_3D(1, 1, 0, 3, 2, 5), PNT_3D(2, 2, 0), true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LINE_2D(c.l.start, c.l.end).ptLeftSide(c.p), c.left2d) << c.p.getX();
    EXPECT_EQ(c.l.ptLeftSide(c.p), c.left3d) << c.p.getX();
  }
}

TEST(Segment, BoxesAndMidpoint) {
  RECT_2D r2;
  LINE_2D(3, -1, -2, 4).calc_bdry(r2);
  EXPECT_TRUE(r2.min == PNT_2D(-2, -1) && r2.max == PNT_2D(3, 4));
  const LINE_3D l(4, 1, 6, 0, 3, -2);
  RECT_3D r3;
  l.calc_bdry(r3);
  EXPECT_TRUE(r3.min == PNT_3D(0, 1, -2) && r3.max == PNT_3D(4, 3, 6));
  PNT_3D mid;
  l.ptMedio(mid);
  EXPECT_EQ(mid, PNT_3D(2, 2, 2));
  EXPECT_EQ(LINE_2D(PAR_LINE_2D(1, 2, 3, -4)), LINE_2D(1, 2, 4, -2));
}

}  // namespace
