// tests/entities/polyline_append_box_test.cpp: the box kept while vertices are appended one by
// one must equal a full recompute after every append, on thousands of random polylines (repeated
// positions, zero end widths, sharp and parallel joints, closed and open, changes between
// appends), and a regression: a last vertex changed in place before the next append.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"

namespace {

// The box from scratch: the visible vertices when thin, every outline point when wide.
RECT_3D fullBox(const CEntPolyline& p) {
  RECT_3D box;
  box.initRegion();
  if (!p.isWide()) {
    for (long i = p.getFirstVisibleVertex(); i < p.getNoTotalVertexes(); ++i)
      box.updateRegion(p.GetVertexPos(static_cast<int>(i)));
    return box;
  }
  const CPolylineSilhouette outline(p);
  for (int r = 0; r < outline.GetNoRuns(); ++r)
    for (const PNT_3D& pt : outline.GetRunNo(r)->GetSegmentList()) box.updateRegion(pt);
  return box;
}

std::string describe(const RECT_3D& b) {
  return "(" + std::to_string(b.min.getX()) + "," + std::to_string(b.min.getY()) + "," +
         std::to_string(b.min.getZ()) + ")-(" + std::to_string(b.max.getX()) + "," +
         std::to_string(b.max.getY()) + "," + std::to_string(b.max.getZ()) + ")";
}

// Small integer grids make repeated positions, collinear runs, reversals and right angles
// common; a third of the polylines leave the grid for arbitrary directions.
class RandomPolylines {
 public:
  explicit RandomPolylines(unsigned seed) : rng_(seed) {}

  PNT_3D nextPoint(const PNT_3D& previous, bool offGrid, bool flat) {
    if (pick(5) == 0) return previous;  // a repeated position
    const double x = offGrid ? real(-10, 10) : static_cast<double>(pick(7));
    const double y = offGrid ? real(-10, 10) : static_cast<double>(pick(7));
    const double z = flat ? 0.0 : static_cast<double>(pick(3));
    return PNT_3D(x, y, z);
  }
  double width() {
    static const double widths[] = {0.0, 0.0, 0.5, 1.0, 2.0, 0.25};
    return widths[pick(6)];
  }
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  double real(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }

 private:
  std::mt19937 rng_;
};

class PolylineAppendBoxTest : public ::testing::Test {
 protected:
  CVertex* vertex(const PNT_3D& p, double ws, double we) {
    return d->getEntFactory().createVertex(d->getHandleGestor(), p, ws, we, 0);
  }
  // Appends through one of the three appending calls.
  void append(CEntPolyline& p, CVertex& v, int how) {
    if (how == 0)
      p.addVertex(v);
    else if (how == 1)
      p.addVisibleVertex(v);
    else
      p.insertVertex(v, p.getNoTotalVertexes() + how);
  }

  DataPtr d = newDrawing(false);
};

}  // namespace

// Every other polyline is also changed in other ways between appends, each change followed by
// what its caller owes (calcBdry after SetVertexPos, SetVertexWidth or a change to the vertex it
// still holds) or needing nothing; later appends must still agree.
TEST_F(PolylineAppendBoxTest, EveryAppendGivesTheFullRecomputesBox) {
  RandomPolylines r(20261206);
  CEntFactory& f = d->getEntFactory();
  IHandleGestor& g = d->getHandleGestor();
  for (int n = 0; n < 5000; ++n) {
    const bool closed = r.pick(2) == 0, offGrid = r.pick(3) == 0, flat = r.pick(2) == 0;
    std::unique_ptr<CEntPolyline> p(createEntPolyline(*d, closed ? 1 : 0, 0, 0));
    PNT_3D at(0, 0, 0);
    const int count = 1 + r.pick(30);
    for (int k = 0; k < count; ++k) {
      at = r.nextPoint(at, offGrid, flat);
      // Zero end widths close wide runs; equal widths give parallel edges.
      const double ws = r.width(), we = r.pick(4) == 0 ? 0.0 : (r.pick(2) ? ws : r.width());
      CVertex* last = vertex(at, ws, we);
      append(*p, *last, r.pick(3));
      const int mid = r.pick(static_cast<int>(p->getNoTotalVertexes()));
      switch (n % 2 ? r.pick(8) : -1) {
        case 0:
          p->SetVertexPos(mid, r.nextPoint(at, true, flat));
          p->calcBdry();
          break;
        case 1:
          p->SetVertexWidth(mid, r.width(), r.width());
          p->calcBdry();
          break;
        case 2:
          last->setPnt(r.nextPoint(at, offGrid, flat));
          last->SetWidthEnd(r.width());
          p->calcBdry();
          break;
        case 3:
          if (p->getNoTotalVertexes() > 1) delete p->removeVertex(mid);
          break;
        case 4:
          p->insertVertex(*vertex(r.nextPoint(at, offGrid, flat), r.width(), 0), mid);
          break;
        case 5:
          if (p->isClosed())
            p->open(g, f, false);
          else
            p->close(g, f, false);
          break;
      }
      at = (*p)[static_cast<int>(p->getNoTotalVertexes() - 1)].getPnt();
      const RECT_3D expected = fullBox(*p);
      ASSERT_EQ(p->getBdry(), expected)
          << "polyline " << n << " after " << k + 1 << " steps: " << describe(p->getBdry())
          << " instead of " << describe(expected);
    }
  }
}

// A vertex changed in place at the end, without calcBdry, is still noticed by the next append.
TEST_F(PolylineAppendBoxTest, InPlaceChangeOfTheLastVertexIsNoticed) {
  std::unique_ptr<CEntPolyline> p(createEntPolyline(*d, 0, 0, 0));
  p->addVertex(*vertex({0, 0, 0}, 1, 1));
  CVertex* v = vertex({10, 0, 0}, 1, 1);
  p->addVertex(*v);
  v->setPnt(PNT_3D(0, 30, 0));
  p->addVertex(*vertex({5, 30, 0}, 1, 1));
  EXPECT_EQ(p->getBdry(), fullBox(*p));
  EXPECT_GT(p->getBdry().max.getY(), 30.0);
  EXPECT_LT(p->getBdry().max.getX(), 10.0);
}
