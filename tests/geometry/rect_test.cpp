// tests/geometry/rect_test.cpp: RECT_2D and RECT_3D: the empty region, growing, ordering of
// corners, containment, overlap and scaling.
#include <veltcore/geometry/rect.h>

#include <gtest/gtest.h>

namespace {

RECT_2D raw(double x1, double y1, double x2, double y2) {  // corners as given, not ordered
  RECT_2D r;
  r.min.set(x1, y1);
  r.max.set(x2, y2);
  return r;
}

TEST(Rect, EmptyRegionBecomesTheFirstThingAdded) {
  RECT_2D r;
  r.initRegion();
  EXPECT_EQ(r, raw(1.7e+200, 1.7e+200, -1.7e+200, -1.7e+200));
  const RECT_2D empty = r;
  r.updateRegion(PNT_2D(3, -4));
  EXPECT_EQ(r, raw(3, -4, 3, -4));
  r.updateRegion(empty);  // an empty box adds nothing
  r.updateRegion(RECT_2D(0, 0, 2, 1));
  EXPECT_EQ(r, raw(0, -4, 3, 1));

  RECT_3D b;
  b.initRegion();
  EXPECT_FALSE(b.validRegion());
  b.updateRegion(PNT_3D(1, 2, 3));
  EXPECT_EQ(b, RECT_3D(1, 2, 3, 1, 2, 3));
  b.updateRegion(RECT_3D(-1, 5, 9, 0, 0, 0));
  EXPECT_EQ(b, RECT_3D(-1, 0, 0, 1, 5, 9));
  PNT_3D(7, 8, 9).calc_bdry(b);
  EXPECT_EQ(b, RECT_3D(7, 8, 9, 7, 8, 9));
  // Only X decides validity, in 2D and 3D.
  EXPECT_TRUE(raw(0, 5, 1, -5).validRegion());
  EXPECT_TRUE(raw(1, 0, 1, 0).validRegion());
  EXPECT_FALSE(raw(2, 0, 1, 9).validRegion());
}

TEST(Rect, SetOrdersCornersFromAnySource) {
  const double xs[4] = {4, -1, 0, 3}, ys[4] = {2, 5, 6, 3}, zs[4] = {0, -3, 8, 1};
  const PNT_2D pts[3] = {PNT_2D(0, 6), PNT_2D(4, 2), PNT_2D(-1, 3)};
  RECT_2D fromArrays, fromPoints, fromNone(0, 0, 1, 1);
  fromArrays.set(xs, ys);
  fromPoints.set(pts, 3);
  fromNone.set(pts, 0);
  const RECT_2D all[] = {RECT_2D(4, 6, -1, 2), RECT_2D(-1, 6, 4, 2),
                         RECT_2D(PNT_2D(4, 2), PNT_2D(-1, 6)), fromArrays, fromPoints};
  for (const RECT_2D& r : all)
    EXPECT_EQ(r, raw(-1, 2, 4, 6)) << r.min.getX() << "," << r.min.getY();
  EXPECT_FALSE(fromNone.validRegion());
  RECT_3D r3;
  r3.set(xs, ys, zs);
  double v[6];
  r3.get(v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_TRUE(v[0] == -1 && v[1] == 2 && v[2] == -3 && v[3] == 4 && v[4] == 6 && v[5] == 8);
}

TEST(Rect, InsideIncludesTheBounds) {
  const double cases[][3] = {{0, 0, 1}, {4, 2, 1}, {2, 1, 1}, {4.0000001, 1, 0}, {2, -1e-300, 0}};
  const RECT_2D r(0, 0, 4, 2);
  const RECT_3D r3(0, 0, -1, 4, 2, 1);
  for (const auto& c : cases) {
    EXPECT_EQ(r.inside(PNT_2D(c[0], c[1])), c[2] != 0) << c[0] << "," << c[1];
    EXPECT_EQ(r3.inside(PNT_3D(c[0], c[1], 1)), c[2] != 0) << c[0] << "," << c[1];
  }
  EXPECT_FALSE(r3.inside(PNT_3D(1, 1, 1.5)));
  EXPECT_TRUE(r.inside(r));
  EXPECT_FALSE(r.inside(RECT_2D(1, 1, 5, 2)));
}

TEST(Rect, IntersectWritesTheCommonPartAlways) {
  struct Case {
    RECT_2D b;
    bool overlaps;
    RECT_2D common;  // larger mins and smaller maxes, inverted when apart
  };
  const RECT_2D a(0, 0, 4, 2);
  const Case cases[] = {
      {RECT_2D(1, 1, 6, 5), true, raw(1, 1, 4, 2)},  {RECT_2D(4, 2, 5, 3), true, raw(4, 2, 4, 2)},
      {RECT_2D(1, -1, 2, 9), true, raw(1, 0, 2, 2)}, {RECT_2D(5, 0, 6, 1), false, raw(5, 0, 4, 1)},
      {RECT_2D(0, 3, 4, 4), false, raw(0, 3, 4, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.b.min.getX() << "," << c.b.min.getY());
    RECT_2D out(-9, -9, -8, -8);
    EXPECT_EQ(a.intersect(c.b), c.overlaps);
    EXPECT_EQ(a.intersect(c.b, out), c.overlaps);
    EXPECT_EQ(out, c.common);
  }
  RECT_2D self = a;  // the result may overwrite an operand
  EXPECT_TRUE(self.intersect(RECT_2D(1, 1, 6, 5), self));
  EXPECT_EQ(self, raw(1, 1, 4, 2));
}

TEST(Rect, InflateShrinkAndScale) {
  RECT_2D r(0, 0, 4, 2);
  r.inflate(1, 2);
  EXPECT_EQ(r, raw(-1, -2, 5, 4));
  r.shrink(1, 2);
  EXPECT_EQ(r, raw(0, 0, 4, 2));
  // From (0, 1, 2)-(3, 4, 5) about (1, 1, 1); a negative factor swaps the corners back.
  const std::pair<double, RECT_3D> cases[] = {{2, RECT_3D(-1, 1, 3, 5, 7, 9)},
                                              {-2, RECT_3D(-3, -5, -7, 3, 1, -1)},
                                              {-1, RECT_3D(-1, -2, -3, 2, 1, 0)}};
  for (const auto& [f, expected] : cases) {
    RECT_3D b(1, 2, 3, 4, 5, 6);
    b.move(PNT_3D(-1, -1, -1));
    b.scale(PNT_3D(1, 1, 1), f);
    EXPECT_EQ(b, expected) << f;
  }
}

}  // namespace
