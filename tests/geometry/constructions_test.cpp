// tests/geometry/constructions_test.cpp: vector product, collinearity, perpendicular feet,
// nearest points, parallel offsets and parametric line intersection.
#include <veltcore/geometry/constructions.h>

#include <gtest/gtest.h>

namespace {

TEST(Construction, VectorProduct) {
  EXPECT_EQ(prodVect(PNT_3D(1, 0, 0), PNT_3D(0, 1, 0)), PNT_3D(0, 0, 1));
  EXPECT_EQ(prodVect(PNT_3D(2, 3, 4), PNT_3D(5, 6, 7)), PNT_3D(-3, 6, -3));
  EXPECT_EQ(prodVect(PNT_3D(5, 6, 7), PNT_3D(2, 3, 4)), PNT_3D(3, -6, 3));
  // Three points: (b - a) x (c - b); a left turn in the XY plane points up.
  EXPECT_EQ(prodVect(PNT_3D(1, 1, 1), PNT_3D(2, 1, 1), PNT_3D(2, 2, 1)), PNT_3D(0, 0, 1));
}

TEST(Construction, PointsInLine) {
  struct Case {
    PNT_3D a, b, c;
    bool in2d, in3d;
  };
  const Case cases[] = {
      {PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(0.5, 5e-7, 0), true, true},
      {PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(0.5, 2e-6, 0), false, false},
      // 2D measures a distance, 3D a product: long sides make a small offset count.
      {PNT_3D(0, 0, 0), PNT_3D(100, 0, 0), PNT_3D(200, 1e-7, 0), true, false},
      {PNT_3D(0, 0, 0), PNT_3D(1e-3, 0, 0), PNT_3D(5, 5e-7, 0), true, true},
      {PNT_3D(1, 1, 0), PNT_3D(3, 3, 1), PNT_3D(-7, -7, -4), true, true},
      {PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(2, 0, 1e-5), true, false},  // off in Z only
      {PNT_3D(1, 1, 1), PNT_3D(1, 1, 1), PNT_3D(1, 1, 1), false, true},     // 2D: 0/0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pntsInLine(PNT_2D(c.a), PNT_2D(c.b), PNT_2D(c.c)), c.in2d) << c.c.getX();
    EXPECT_EQ(pntsInLine(c.a, c.b, c.c), c.in3d) << c.c.getX();
  }
}

TEST(Construction, PerpendicularFootIsNotClamped) {
  struct Case {
    PNT_2D p;
    double t;
    PNT_2D foot;
  };
  const PNT_2D a(0, 0), b(2, 0);
  const LINE_3D l3(0, 0, 5, 2, 0, 9);  // the same segment in XY; Z is ignored
  const Case cases[] = {{PNT_2D(3, 5), 1.5, PNT_2D(3, 0)},
                        {PNT_2D(-1, 1), -0.5, PNT_2D(-1, 0)},
                        {PNT_2D(1, -4), 0.5, PNT_2D(1, 0)}};
  for (const Case& c : cases) {
    PNT_2D f1, f2, f3;
    EXPECT_DOUBLE_EQ(pntPerp(a, b, c.p, f1), c.t);
    EXPECT_DOUBLE_EQ(pntPerp(LINE_2D(a, b), c.p, f2), c.t);
    EXPECT_DOUBLE_EQ(pntPerp(l3, PNT_3D(c.p.getX(), c.p.getY(), 100), f3), c.t);
    EXPECT_TRUE(f1 == c.foot && f2 == c.foot && f3 == c.foot) << c.t;
  }
  PNT_3D foot3;
  EXPECT_DOUBLE_EQ(pntPerp(PNT_3D(0, 0, 0), PNT_3D(0, 0, 2), PNT_3D(1, 1, 1), foot3), 0.5);
  EXPECT_EQ(foot3, PNT_3D(0, 0, 1));
  EXPECT_DOUBLE_EQ(pntPerp(PNT_3D(0, 0, 0), PNT_3D(2, 1, 2), PNT_3D(2, 2, 6), foot3), 2);
  EXPECT_EQ(foot3, PNT_3D(4, 2, 4));

  PNT_2D f;
  EXPECT_THROW(pntPerp(a, a, b, f), VELTMathException);
  EXPECT_THROW(pntPerp(PNT_3D(1, 2, 3), PNT_3D(1, 2, 3), PNT_3D(), foot3), VELTMathException);
  EXPECT_THROW(pntPerp(LINE_3D(1, 1, 0, 1, 1, 5), PNT_3D(0, 0, 0), f), VELTMathException);
}

TEST(Construction, NearestPointClampsButReturnsTheRawParameter) {
  struct Case {
    LINE_3D l;
    PNT_2D p;
    double t;
    PNT_3D at;
  };
  const LINE_3D l(0, 0, 0, 2, 0, 4);
  const Case cases[] = {
      {l, PNT_2D(-1, 1), -0.5, PNT_3D(0, 0, 0)},
      {l, PNT_2D(3, 1), 1.5, PNT_3D(2, 0, 4)},
      {l, PNT_2D(0.5, 3), 0.25, PNT_3D(0.5, 0, 1)},                   // Z interpolated in 3D
      {LINE_3D(1, 1, 0, 1, 1, 0), PNT_2D(5, 5), 0, PNT_3D(1, 1, 0)},  // null segment
      {LINE_3D(1, 1, 0, 1, 1, 5), PNT_2D(9, 9), 0, PNT_3D(1, 1, 0)},  // vertical in space
  };
  for (const Case& c : cases) {
    PNT_3D out3;
    PNT_2D out2;
    EXPECT_DOUBLE_EQ(pntNearest(c.l, c.p, out3), c.t);
    EXPECT_EQ(out3, c.at);
    if (c.l.start != c.l.end && PNT_2D(c.l.start) == PNT_2D(c.l.end)) continue;
    EXPECT_DOUBLE_EQ(pntNearest(LINE_2D(c.l.start, c.l.end), c.p, out2), c.t);
    EXPECT_EQ(out2, PNT_2D(c.at));
  }
}

TEST(Construction, TranslateMovesToTheRightOfTheDirection) {
  struct Case {
    LINE_2D l;
    double d;
    LINE_2D expected;
  };
  const Case cases[] = {
      {LINE_2D(0, 0, 1, 0), 1, LINE_2D(0, -1, 1, -1)},
      {LINE_2D(1, 0, 0, 0), 1, LINE_2D(1, 1, 0, 1)},
      {LINE_2D(0, 0, 0, 2), 2, LINE_2D(2, 0, 2, 2)},
      {LINE_2D(0, 0, 1, 0), -3, LINE_2D(0, 3, 1, 3)},
      {LINE_2D(0, 0, 3, 4), 5, LINE_2D(4, -3, 7, 1)},
      {LINE_2D(1, 1, 1, 1), 5, LINE_2D(1, 1, 1, 1)},
  };
  for (const Case& c : cases) {
    LINE_2D moved = c.l;
    TranslateLine(moved, c.d);
    EXPECT_EQ(moved, c.expected) << c.l.end.getX() << "," << c.l.end.getY() << " d " << c.d;
    EXPECT_EQ(CalcParalLineAt(c.l, c.d), c.expected);
  }
  EXPECT_EQ(CalcParalLineAtPlane(LINE_3D(0, 0, 1, 1, 0, 7), 1), LINE_3D(0, -1, 1, 1, -1, 7));
  PAR_LINE_2D perp;
  CalcPerpendic(PAR_LINE_2D(1, 2, 3, 4), perp);
  EXPECT_EQ(LINE_2D(perp), LINE_2D(1, 2, -3, 5));
}

TEST(Construction, IntersectionOfParametricLines) {
  struct Case {
    PAR_LINE_2D l2;
    bool found;
    PNT_2D at;
  };
  const PAR_LINE_2D l1(0, 0, 1, 1);
  const Case cases[] = {
      {PAR_LINE_2D(2, 0, 0, 1), true, PNT_2D(2, 2)},
      {PAR_LINE_2D(5, 5, 2, 2), true, PNT_2D(1, 1)},  // coincident: l1 at parameter 1
      {PAR_LINE_2D(0, 1, 1, 1), false, PNT_2D(-4, -4)},
  };
  for (const Case& c : cases) {
    PNT_2D out(-4, -4);
    EXPECT_EQ(CalcolaPuntoIntersezione(l1, c.l2, out), c.found) << c.l2.x;
    EXPECT_EQ(out, c.at) << c.l2.x;
  }
}

}  // namespace
