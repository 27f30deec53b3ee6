// tests/entities/polyline_curve_test.cpp: curve fitting of CEntPolyline: vertex counts per curve
// type, points checked against the cubic bases evaluated by hand, width spread, degenerate
// control sets, and the handles of vertices through gener, regen, close, open and Rectify.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/linetypes/linetype.h>

#include "database/test_drawing.h"
#include "support/handle_probe.h"

namespace {

class PolylineCurveTest : public ::testing::Test {
 protected:
  CEntPolyline* poly(short flags, const std::vector<PNT_3D>& pts) {
    CEntPolyline* p =
        f.createEntPolyline(g, &d->getLayer0(), &d->getLtypeContinuous(), 256, flags, 0, 0);
    for (const PNT_3D& pt : pts) p->addVertex(*f.createVertex(g, pt, 0, 0, 0));
    return p;
  }
  std::vector<long> visibleHandles(const CEntPolyline& p) {
    std::vector<long> out;
    for (long i = p.getFirstVisibleVertex(); i < p.getNoTotalVertexes(); ++i)
      out.push_back(p[static_cast<int>(i)].GetHandle());
    return out;
  }
  void expectNear(const PNT_3D& got, const PNT_3D& want, const char* what) {
    EXPECT_NEAR(got.getX(), want.getX(), 1e-9) << what;
    EXPECT_NEAR(got.getY(), want.getY(), 1e-9) << what;
    EXPECT_NEAR(got.getZ(), want.getZ(), 1e-9) << what;
  }

  DataPtr d = newDrawing();
  IHandleGestor& g = d->getHandleGestor();
  CEntFactory& f = d->getEntFactory();
  const std::vector<PNT_3D> three{{0, 0, 0}, {5, 5, 1}, {10, 0, 2}};
  const std::vector<PNT_3D> square{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
};

PNT_3D mix(const PNT_3D& a, double ka, const PNT_3D& b, double kb, const PNT_3D& c, double kc) {
  return PNT_3D(a.getX() * ka + b.getX() * kb + c.getX() * kc,
                a.getY() * ka + b.getY() * kb + c.getY() * kc,
                a.getZ() * ka + b.getZ() * kb + c.getZ() * kc);
}

}  // namespace

TEST_F(PolylineCurveTest, VertexCountsAndEndsPerCurveType) {
  const struct {
    const char* what;
    short flags;
    int ctrl;
    long visible;
    bool endsOnControls;
  } cases[] = {
      {"open curve fit", 4, 3, 21, true},
      {"open spline fit", 2, 3, 41, true},
      // Other types are padded as curve fit.
      {"open type 6", 6, 3, 21, true},
      {"closed spline, 4 points", 1 | 2, 4, 41, false},
      {"closed curve fit, 4 points", 1 | 4, 4, 41, false},
      {"closed, 2 points", 1 | 4, 2, 21, false},
      // Padding gives a curve fit 3 points, fewer than a window: nothing is made.
      {"open curve fit, 1 point", 4, 1, 0, false},
      {"open spline fit, 1 point", 2, 1, 21, true},
  };
  for (const auto& c : cases) {
    const std::vector<PNT_3D> pts(square.begin(), square.begin() + c.ctrl);
    const std::unique_ptr<CEntPolyline> p(poly(0, c.ctrl == 3 ? three : pts));
    const std::vector<PNT_3D>& ctrl = c.ctrl == 3 ? three : pts;
    p->gener(g, f, static_cast<short>(c.flags & 14), 3, false);
    if (c.flags & 1) p->close(g, f, false);
    EXPECT_EQ(p->getNoCtrlPnts(), c.ctrl) << c.what;
    EXPECT_EQ(p->getNoVisibleVertexes(), c.visible) << c.what;
    if (c.endsOnControls) {
      expectNear(p->GetVertexPos(c.ctrl), ctrl.front(), c.what);
      expectNear(p->GetVertexPos(static_cast<int>(p->getNoTotalVertexes() - 1)), ctrl.back(),
                 c.what);
    }
  }
}

TEST_F(PolylineCurveTest, PointsFollowTheirBasis) {
  // Catmull-Rom passes through every control point, one span of ten steps apart.
  const std::unique_ptr<CEntPolyline> cr(poly(0, three));
  cr->gener(g, f, 4, 3, false);
  for (int k = 0; k < 3; ++k) expectNear(cr->GetVertexPos(3 + 10 * k), three[k], "catmull-rom");
  // Uniform cubic B-spline at t = 0 of window (a, b, c, d): (a + 4b + c) / 6. The closed square's
  // first window is c3, c0, c1, c2.
  const std::unique_ptr<CEntPolyline> bs(poly(1, square));
  bs->gener(g, f, 2, 3, false);
  expectNear(bs->GetVertexPos(4), mix(square[3], 1.0 / 6, square[0], 4.0 / 6, square[1], 1.0 / 6),
             "b-spline start");
  // Its tenth step starts the next window, c0, c1, c2, c3.
  expectNear(bs->GetVertexPos(14), mix(square[0], 1.0 / 6, square[1], 4.0 / 6, square[2], 1.0 / 6),
             "b-spline second span");
  // Half way along the first window: (a + 23b + 23c + d) / 48.
  const PNT_3D half = mix(square[3], 1.0 / 48, square[0], 23.0 / 48, square[1], 23.0 / 48);
  expectNear(bs->GetVertexPos(9), mix(half, 1, square[2], 1.0 / 48, PNT_3D(0, 0, 0), 0), "half");
}

TEST_F(PolylineCurveTest, WidthsSpreadLinearly) {
  const std::unique_ptr<CEntPolyline> p(poly(0, three));
  p->SetVertexWidth(0, 1, 9);  // only the start counts
  p->SetVertexWidth(1, 7, 3);  // control point n - 2: only its end counts
  p->gener(g, f, 4, 3, false);
  const long n = p->getNoVisibleVertexes();
  const double dw = (3.0 - 1.0) / (10 * (5 - 3));
  for (long i = 0; i < n; ++i) {
    const CVertex& v = (*p)[static_cast<int>(3 + i)];
    EXPECT_NEAR(v.GetWidthStart(), 1 + i * dw, 1e-12) << i;
    EXPECT_NEAR(v.GetWidthEnd(), 1 + (i + 1) * dw, 1e-12) << i;
  }
}

TEST_F(PolylineCurveTest, TooFewControlPointsMakeNoVertices) {
  const struct {
    const char* what;
    short flags;
    std::vector<PNT_3D> pts;
  } cases[] = {
      {"open, none", 0, {}},
      {"closed, none", 1, {}},
      {"closed, one", 1, {{1, 1, 1}}},
  };
  for (const auto& c : cases)
    for (short curve : {2, 4}) {
      const std::unique_ptr<CEntPolyline> p(poly(c.flags, c.pts));
      p->gener(g, f, curve, 3, false);
      EXPECT_EQ(p->getNoVisibleVertexes(), 0) << c.what << ' ' << curve;
      EXPECT_FALSE(p->getBdry().validRegion()) << c.what << ' ' << curve;
    }
}

TEST_F(PolylineCurveTest, GenerNoOpsAndBackToPlainVertices) {
  const std::unique_ptr<CEntPolyline> p(poly(0, three));
  p->gener(g, f, 4, 3, false);
  const std::vector<long> first = visibleHandles(*p);
  p->gener(g, f, 4, 3, false);
  EXPECT_EQ(visibleHandles(*p), first) << "same curve and degree";
  p->gener(g, f, 4, 2, false);
  EXPECT_NE(visibleHandles(*p), first) << "new degree regenerates";
  EXPECT_EQ(p->getDegree(), 2);
  p->gener(g, f, 0, 0, false);
  EXPECT_EQ(p->getNoTotalVertexes(), 3);
  EXPECT_EQ(p->getFirstVisibleVertex(), 0);
  EXPECT_FALSE(p->isCurve());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p->GetVertexPos(i), three[static_cast<size_t>(i)]);
  p->gener(g, f, 0, 7, false);
  EXPECT_EQ(p->getDegree(), 0) << "curve 0 on a plain polyline changes nothing";
}

TEST_F(PolylineCurveTest, AddVertexOnACurveAddsAControlPointOnly) {
  const std::unique_ptr<CEntPolyline> p(poly(0, three));
  p->gener(g, f, 2, 3, false);
  const std::vector<long> before = visibleHandles(*p);
  const RECT_3D box = p->getBdry();
  p->addVertex(*f.createVertex(g, PNT_3D(100, 100, 0), 0, 0, 0));
  EXPECT_EQ(p->getNoCtrlPnts(), 4);
  EXPECT_EQ(p->GetVertexPos(3), PNT_3D(100, 100, 0));
  EXPECT_EQ(visibleHandles(*p), before);
  EXPECT_EQ(p->getBdry(), box);
  p->regen(g, f, false);
  EXPECT_EQ(p->getNoVisibleVertexes(), 51);
}

TEST_F(PolylineCurveTest, HandlesOutOfTableStayBookedInTableAreReleasedAndReserved) {
  const std::unique_ptr<CEntPolyline> p(poly(0, three));
  p->gener(g, f, 4, 3, false);
  const std::vector<long> outOfTable = visibleHandles(*p);
  p->regen(g, f, false);
  // Deleted without release: still booked.
  for (long h : outOfTable) EXPECT_FALSE(handleFree(g, h)) << h;
  for (long h : outOfTable) g.unbook(h);

  CEntPolyline* listed = p.get();
  d->getEntTable().add(listed);
  const std::vector<long> inTable = visibleHandles(*listed);
  listed->close(g, f, true);
  for (long h : inTable) EXPECT_TRUE(handleFree(g, h)) << "released " << h;
  const std::vector<long> closed = visibleHandles(*listed);
  EXPECT_EQ(closed.size(), 31u);  // 3 + 3 padded points, 3 spans
  // New vertices are reserved: unbook cannot free them.
  for (long h : closed) {
    g.unbook(h);
    EXPECT_FALSE(handleFree(g, h)) << h;
  }
  listed->open(g, f, true);
  for (long h : closed) EXPECT_TRUE(handleFree(g, h)) << h;
  EXPECT_EQ(listed->getNoVisibleVertexes(), 21);

  // Rectify keeps the control points' handles reserved although the vertices are gone.
  std::vector<long> ctrl;
  for (int i = 0; i < 3; ++i) ctrl.push_back((*listed)[i].GetHandle());
  const std::vector<long> kept = visibleHandles(*listed);
  listed->Rectify();
  EXPECT_EQ(listed->getFirstVisibleVertex(), 0);
  EXPECT_EQ(listed->getCurve(), 0);
  EXPECT_EQ(listed->getDegree(), 0);
  EXPECT_EQ(visibleHandles(*listed), kept);
  for (long h : ctrl) EXPECT_FALSE(handleFree(g, h)) << h;
  d->getEntTable().remove(listed);
  for (long h : ctrl) g.release(h);
  f.unbookHandle(g, listed);  // the table gave it back: delete with the unique_ptr
}
