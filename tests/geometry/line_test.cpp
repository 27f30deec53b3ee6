// tests/geometry/line_test.cpp: implicit lines (IMP_LINE_2D) and parametric lines
// (PAR_LINE_2D, PAR_LINE_3D): construction failures, normalisation, parameters, crossings.
#include <veltcore/geometry/line.h>

#include <gtest/gtest.h>

namespace {

TEST(ImpLine, NormalizeGivesUnitNormalWithTheOriginOnTheNegativeSide) {
  const double cases[][6] = {
      {3, 4, 5, -0.6, -0.8, -1},    {3, 4, -5, 0.6, 0.8, -1}, {0, -2, 0, 0, 1, 0},
      {3, -4, 0, -0.6, 0.8, 0},     {-2, 0, 0, -1, 0, 0},  // through the origin, b = 0: kept
      {0, -1, 5e-13, 0, 1, -5e-13},  // c within 1e-12 counts as zero: b decides...
      {0, 1, 5e-13, 0, 1, 5e-13},    // ...so c may stay slightly positive
      {0, 1, 2e-12, 0, -1, -2e-12},  // beyond 1e-12, c decides alone
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c[0] << "," << c[1] << "," << c[2]);
    IMP_LINE_2D l(c[0], c[1], c[2]);
    l.normalize();
    EXPECT_NEAR(l.a, c[3], 1e-15);
    EXPECT_NEAR(l.b, c[4], 1e-15);
    EXPECT_NEAR(l.c, c[5], 1e-15);
  }
}

TEST(ImpLine, CreateRejectsCoincidentPointsAndKeepsTheOldLine) {
  const PNT_2D p(1, 1);
  EXPECT_THROW(IMP_LINE_2D(p, p), IMP_LINE_2D::SamePointException);
  EXPECT_NO_THROW(IMP_LINE_2D(p, PNT_2D(1, 1 + 1e-11)));
  IMP_LINE_2D l(LINE_2D(1, 2, 4, 6));
  EXPECT_EQ(l.eval(1, 2), 0);
  EXPECT_THROW(l.create(p, PNT_2D(1 + 5e-13, 1 - 5e-13)), IMP_LINE_2D::SamePointException);
  EXPECT_EQ(l.eval(4, 6), 0);
}

TEST(ImpLine, IntersectPerpendicularOffsetAndSides) {
  PNT_2D out(9, 9);
  EXPECT_TRUE(IMP_LINE_2D(1, 1, -2).intersect(IMP_LINE_2D(1, -1, 0), out));
  EXPECT_EQ(out, PNT_2D(1, 1));
  EXPECT_FALSE(IMP_LINE_2D(1, 1, -2).intersect(IMP_LINE_2D(2, 2, -4), out));  // same line
  EXPECT_FALSE(IMP_LINE_2D(0, 1, 0).intersect(IMP_LINE_2D(0, 1, -3), out));   // parallel

  const IMP_LINE_2D l(3, 4, -5);
  IMP_LINE_2D p;
  l.perpend(PNT_2D(7, -2), p);
  EXPECT_EQ(p.eval(7, -2), 0);
  EXPECT_EQ(p.a * l.a + p.b * l.b, 0);
  // Offset along the unit normal: y = 1 (normal length 2) moved by 2 is y = 3.
  EXPECT_EQ(IMP_LINE_2D(IMP_LINE_2D(0, 2, -2), 2).eval(5, 3), 0);

  const PNT_2D sides[][2] = {{PNT_2D(0, 0), PNT_2D(-1, 0)},  // same side
                             {PNT_2D(3, 3), PNT_2D(2, 9)},   // same side
                             {PNT_2D(0, 0), PNT_2D(3, 3)},
                             {PNT_2D(3, -1), PNT_2D(0, 0)}};  // (3, -1) is on the line
  const PAR_LINE_2D along(PNT_2D(3, -1), PNT_2D(-1, 2));      // the same line as l
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(l.sameSide(sides[i][0], sides[i][1]), i < 2) << i;
    EXPECT_EQ(along.sameSide(sides[i][0], sides[i][1]), i < 2) << i;
  }
}

TEST(ParLine, CalcParamByAxisOrProjection) {
  struct Case {
    PAR_LINE_2D l;
    PNT_2D p;
    double t;
  };
  const Case cases[] = {
      {PAR_LINE_2D(1, 1, 0, 2), PNT_2D(9, 5), 2},     // vertical: Y only
      {PAR_LINE_2D(1, 1, 0, 0), PNT_2D(9, 5), 0},     // null direction
      {PAR_LINE_2D(1, 1, 4, 0), PNT_2D(3, 50), 0.5},  // horizontal: X only
      {PAR_LINE_2D(0, 0, 2, 4), PNT_2D(3, 6), 1.5},   // on the line
      {PAR_LINE_2D(0, 0, 2, 4), PNT_2D(3, 1), 0.5},   // off the line: projected
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(c.l.calcParam(c.p), c.t) << c.p.getX();
}

TEST(ParLine, DirectionSignAndNullness) {
  PAR_LINE_2D l(1, 2, 3, 4);
  EXPECT_DOUBLE_EQ(l.dist(PNT_2D(5, -1)), 5);  // right of the direction: positive
  EXPECT_DOUBLE_EQ(l.dist(PNT_2D(-3, 5)), -5);
  l.Normalize();
  EXPECT_DOUBLE_EQ(l.length(), 1);
  EXPECT_DOUBLE_EQ(l.dx, 0.6);
  const PAR_LINE_2D fromImp(IMP_LINE_2D(3, 4, 0), 1, 1);
  EXPECT_DOUBLE_EQ(fromImp.dx, 0.8);
  EXPECT_DOUBLE_EQ(fromImp.dy, -0.6);
  PAR_LINE_2D samePoints(PNT_2D(1, 1), PNT_2D(1, 1));  // no exception in 2D
  samePoints.Normalize();
  EXPECT_TRUE(samePoints.IsNull());
  EXPECT_TRUE(PAR_LINE_2D(0, 0, 1e-13, -1e-13).IsNull());
  EXPECT_FALSE(PAR_LINE_2D(0, 0, 0, 1e-11).IsNull());
  EXPECT_TRUE(PAR_LINE_2D(IMP_LINE_2D(1e-13, 0, 5), 1, 1).IsNull());
}

TEST(ParLine, IntersectReturnsKindOfMeeting) {
  struct Case {
    PAR_LINE_2D o;
    IMP_LINE_2D asImp;  // the same line as o
    int kind;
    double t, s;  // -1: not written
  };
  const PAR_LINE_2D base(1, 0, 2, 0);  // y = 0 from x = 1
  const Case cases[] = {{PAR_LINE_2D(3, -2, 0, 1), IMP_LINE_2D(1, 0, -3), 2, 1, 2},
                        {PAR_LINE_2D(-3, 0, -4, 0), IMP_LINE_2D(0, 1, 0), 1, -1, -1},
                        {PAR_LINE_2D(-3, 1, 4, 0), IMP_LINE_2D(0, 1, -1), 0, -1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    double t = -1, s = -1, ti = -1;
    EXPECT_EQ(base.intersect(c.o, t, s), c.kind);
    EXPECT_EQ(base.intersect(c.asImp, ti), c.kind);
    EXPECT_TRUE(t == c.t && ti == c.t && s == c.s);
  }
}

TEST(ParLine, ThreeDimensionalLine) {
  const PNT_3D p(1, 2, 3);
  EXPECT_THROW(PAR_LINE_3D(p, p), PAR_LINE_3D::SamePointException);
  EXPECT_THROW(PAR_LINE_3D(LINE_3D(p, PNT_3D(1, 2, 3 + 1e-13))), PAR_LINE_3D::SamePointException);
  EXPECT_TRUE(PAR_LINE_3D(p, PNT_3D(1, 2, 5)).IsNull());  // null in XY, a line in space
  const PAR_LINE_3D l(LINE_3D(1, 2, 3, 3, 6, 7));
  PNT_3D q;
  l.calcPt(1.5, q);
  EXPECT_EQ(q, PNT_3D(4, 8, 9));
  EXPECT_DOUBLE_EQ(l.calcParam(q), 1.5);
  EXPECT_DOUBLE_EQ(l.calcParam(PNT_3D(3, 1, 3)), 0);  // (2, -1, 0) off p is perpendicular
}

}  // namespace
