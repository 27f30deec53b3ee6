// tests/view/projector_test.cpp: the four projectors: known mappings, round trips through
// to2D and to3D, view boxes, and the segment overloads reached through derived objects.
#include <veltcore/view/projector.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const CPOProjector kTop;
const CPVProjector kFront;
const CPLProjector kSide;
const CParalProjector kParalTop(1, 0, 0, 1);
const CParalProjector kSkew(1, 0.5, -1, 0.5);
const CParalProjector kUneven(0.866, -0.25, 0.3, 0.9);
const IProjector* const kAll[] = {&kTop, &kFront, &kSide, &kParalTop, &kSkew, &kUneven};

TEST(Projector, KnownMappingsAgreeAcrossOverloads) {
  struct Case {
    const IProjector* p;
    double u, v, depth;
  };
  const Case cases[] = {
      {&kTop, 1, 2, 3},      {&kFront, 1, 3, 2},   {&kSide, -2, 3, 1},
      {&kParalTop, 1, 5, 3}, {&kSkew, -1, 4.5, 3},
  };
  for (const Case& c : cases) {
    PNT_2D q, q2;
    double depth = 0, u = 0, v = 0;
    c.p->to2D(PNT_3D(1, 2, 3), q, depth);
    c.p->to2D(PNT_3D(1, 2, 3), q2);
    c.p->to2D(1, 2, 3, u, v);
    EXPECT_EQ(q, PNT_2D(c.u, c.v)) << c.u;
    EXPECT_EQ(depth, c.depth) << c.u;
    EXPECT_TRUE(q2 == q && PNT_2D(u, v) == q) << c.u;
  }
}

TEST(Projector, RoundTripGivesBackThePoint) {
  const PNT_3D points[] = {PNT_3D(0, 0, 0), PNT_3D(1, 2, 3), PNT_3D(-4.5, 7, -0.25),
                           PNT_3D(1e6, -3e5, 12), PNT_3D(-1e-4, 2e-3, 5e4)};
  for (int i = 0; i < 6; ++i) {
    for (const PNT_3D& p : points) {
      PNT_2D q;
      double depth = 0, x = 0, y = 0, z = 0;
      PNT_3D back;
      kAll[i]->to2D(p, q, depth);
      kAll[i]->to3D(q, depth, back);
      kAll[i]->to3D(q.getX(), q.getY(), depth, x, y, z);
      // The parallel view adds z to v and takes it off again, so |z| enters the error too.
      const double tol =
          1e-12 * (1 + std::fabs(p.getX()) + std::fabs(p.getY()) + std::fabs(p.getZ()));
      EXPECT_NEAR(back.getX(), p.getX(), tol) << "projector " << i << " x " << p.getX();
      EXPECT_NEAR(back.getY(), p.getY(), tol) << "projector " << i << " x " << p.getX();
      EXPECT_EQ(back.getZ(), p.getZ()) << "projector " << i;
      EXPECT_EQ(PNT_3D(x, y, z), back) << "projector " << i;
    }
  }
}

TEST(Projector, ViewBoxes) {
  struct Case {
    const IProjector* p;
    RECT_3D box;
    PNT_2D min, max;
  };
  const RECT_3D box(0, 0, 0, 1, 2, 3), cube(0, 0, 0, 1, 1, 1);
  const Case cases[] = {
      {&kTop, box, PNT_2D(0, 0), PNT_2D(1, 2)},      {&kFront, box, PNT_2D(0, 0), PNT_2D(1, 3)},
      {&kSide, box, PNT_2D(-2, 0), PNT_2D(0, 3)},    {&kSkew, cube, PNT_2D(-1, 0), PNT_2D(1, 2)},
      {&kParalTop, box, PNT_2D(0, 0), PNT_2D(1, 5)},
  };
  for (const Case& c : cases) {
    RECT_2D view;
    c.p->to2D(c.box, view);
    EXPECT_TRUE(view.min == c.min && view.max == c.max) << c.max.getY();
  }
}

TEST(Projector, ViewBoxIsTheBoxOfTheProjectedCorners) {
  const RECT_3D box(-1, 2, -3, 4, 5, 6);
  for (int i = 0; i < 6; ++i) {
    RECT_2D view, corners;
    kAll[i]->to2D(box, view);
    corners.initRegion();
    for (int k = 0; k < 8; ++k) {
      const PNT_3D corner((k & 1 ? box.max : box.min).getX(), (k & 2 ? box.max : box.min).getY(),
                          (k & 4 ? box.max : box.min).getZ());
      PNT_2D q;
      kAll[i]->to2D(corner, q);
      corners.updateRegion(q);
    }
    EXPECT_NEAR(view.min.getX(), corners.min.getX(), 1e-12) << "projector " << i;
    EXPECT_NEAR(view.min.getY(), corners.min.getY(), 1e-12) << "projector " << i;
    EXPECT_NEAR(view.max.getX(), corners.max.getX(), 1e-12) << "projector " << i;
    EXPECT_NEAR(view.max.getY(), corners.max.getY(), 1e-12) << "projector " << i;
  }
}

TEST(Projector, SegmentsThroughDerivedObjects) {
  const LINE_3D l(1, 2, 3, 4, 5, 6);
  LINE_2D flat;
  LINE_3D withDepth, same = l;
  kFront.to2D(l, flat);  // the base class's segment overloads, called on derived objects
  kSide.to2D(l, withDepth);
  kTop.to2D(same, same);  // writing over the source segment
  EXPECT_EQ(flat, LINE_2D(1, 3, 4, 6));
  EXPECT_EQ(withDepth, LINE_3D(-2, 3, 1, -5, 6, 4));
  EXPECT_EQ(same, l);

  CParalProjector copy = kSkew;
  copy = kUneven;  // assignment takes all coefficients, the inverse included
  PNT_3D back;
  copy.to3D(PNT_2D(0.5, 0.25), 2, back);
  PNT_2D q;
  kUneven.to2D(back, q);
  EXPECT_NEAR(q.getX(), 0.5, 1e-15);
  EXPECT_NEAR(q.getY(), 0.25, 1e-15);
}

}  // namespace
