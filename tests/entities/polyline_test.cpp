// tests/entities/polyline_test.cpp: CEntPolyline and CVertex: construction orders and handles,
// table entry and exit, the gestor forms, counts, bad indices, boxes, widths and flags (the
// snapshot restore is in memento_test.cpp); curve fitting: vertex counts per curve type, points
// checked against the cubic bases evaluated by hand, width spread, degenerate control sets, and the
// handles of vertices through gener, regen, close, open and Rectify.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "support/handle_probe.h"

namespace {

// Writes every reserve, release and unbook into a log ("r33 x34 u35") before doing it.
class LoggingGestor : public CHandleGestorDefault {
 public:
  LoggingGestor() : CHandleGestorDefault(100, 1000000) {}
  void reserve(const IHandleEnt* e) override {
    note('r', e->GetHandle());
    CHandleGestorDefault::reserve(e);
  }
  void release(long h) override {
    note('x', h);
    CHandleGestorDefault::release(h);
  }
  void unbook(long h) override {
    note('u', h);
    CHandleGestorDefault::unbook(h);
  }
  std::string take() { return std::exchange(log_, std::string()); }

 private:
  void note(char what, long h) { log_ += (log_.empty() ? "" : " ") + (what + std::to_string(h)); }
  std::string log_;
};

// '.' free, 'b' booked, 'r' reserved; asked of a copy, so that the question changes nothing.
char state(const CHandleGestorDefault& g, long h) {
  CHandleGestorDefault c(g);
  if (handleFree(c, h)) return '.';
  c.unbook(h);
  return handleFree(c, h) ? 'b' : 'r';
}

PNT_3D mix(const PNT_3D& a, double ka, const PNT_3D& b, double kb, const PNT_3D& c, double kc) {
  return PNT_3D(a.getX() * ka + b.getX() * kb + c.getX() * kc,
                a.getY() * ka + b.getY() * kb + c.getY() * kc,
                a.getZ() * ka + b.getZ() * kb + c.getZ() * kc);
}

class PolylineTest : public ::testing::Test {
 protected:
  CEntPolyline* poly(short flags, const std::vector<PNT_3D>& pts, double w = 0) {
    CEntPolyline* p =
        f.createEntPolyline(g, &d->getLayer0(), &d->getLtypeContinuous(), 256, flags, 0, 0);
    for (const PNT_3D& pt : pts) p->addVertex(*vertex(pt, w));
    return p;
  }
  CVertex* vertex(const PNT_3D& p, double w = 0) { return f.createVertex(g, p, w, w, 0); }
  // The handles of the vertices from first on.
  std::vector<long> handles(const CEntPolyline& p, long first = 0) {
    std::vector<long> out;
    for (long i = first; i < p.getNoTotalVertexes(); ++i)
      out.push_back(p[static_cast<int>(i)].GetHandle());
    return out;
  }
  std::vector<long> visibleHandles(const CEntPolyline& p) {
    return handles(p, p.getFirstVisibleVertex());
  }
  void expectNear(const PNT_3D& got, const PNT_3D& want, const std::string& what) {
    EXPECT_NEAR(got.getX(), want.getX(), 1e-9) << what;
    EXPECT_NEAR(got.getY(), want.getY(), 1e-9) << what;
    EXPECT_NEAR(got.getZ(), want.getZ(), 1e-9) << what;
  }

  DataPtr d = newDrawing();
  LoggingGestor g;
  CEntFactory& f = d->getEntFactory();
  const std::vector<PNT_3D> three{{0, 0, 0}, {5, 5, 1}, {10, 0, 2}};
  const std::vector<PNT_3D> square{{0, 0, 0}, {4, 0, 0}, {4, 4, 1}, {0, 4, 0}};
};

}  // namespace

// From a line: start then end, with the line's look and box. A copy makes its vertices from the
// last one back, so the first vertex has the last handle.
TEST_F(PolylineTest, ConstructionOrdersAndHandles) {
  const std::unique_ptr<CEntLine> line(f.createEntLine(g, &d->getLayer0(), &d->getLtypeContinuous(),
                                                       3, LINE_3D(1, 2, 3, 4, 5, 6), 0));
  const std::unique_ptr<CEntPolyline> p(f.createEntPolyline(g, *line));
  ASSERT_EQ(p->getNoTotalVertexes(), 2);
  EXPECT_EQ(p->GetVertexPos(0), PNT_3D(1, 2, 3));
  EXPECT_EQ(p->GetVertexPos(1), PNT_3D(4, 5, 6));
  EXPECT_EQ(handles(*p), (std::vector<long>{p->GetHandle() + 1, p->GetHandle() + 2}));
  EXPECT_EQ(p->getColor(), 3);
  EXPECT_EQ(p->getBdry(), line->getBdry());
  EXPECT_EQ(p->getFlags(), 0);

  const std::unique_ptr<CEntPolyline> src(poly(1 | 128, square, 0.5));
  const auto& drawingGestor = dynamic_cast<const CHandleGestorDefault&>(d->getHandleGestor());
  for (const bool viaClone : {false, true}) {
    const std::unique_ptr<CEnt> e(viaClone ? cloneEnt(*d, *src) : f.createEntPolyline(g, *src));
    const auto& c = static_cast<const CEntPolyline&>(*e);
    const long h = c.GetHandle();
    EXPECT_EQ(handles(c), (std::vector<long>{h + 4, h + 3, h + 2, h + 1})) << viaClone;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(c.GetVertexPos(i), src->GetVertexPos(i)) << i;
      EXPECT_EQ(c[i].GetWidthEnd(), 0.5) << i;
      EXPECT_EQ(state(viaClone ? drawingGestor : g, c[i].GetHandle()), 'b') << i;
    }
    EXPECT_EQ(c.getFlags(), src->getFlags());
    EXPECT_EQ(c.getBdry(), src->getBdry());
  }
}

TEST_F(PolylineTest, TableEntryExitAndClearWalkTheVerticesLastFirst) {
  const std::unique_ptr<CEntPolyline> p(poly(0, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
  const long h = p->GetHandle();
  const auto s = [h](char c, std::initializer_list<long> offsets) {
    std::string out;
    for (long o : offsets) out += (out.empty() ? "" : " ") + (c + std::to_string(h + o));
    return out;
  };
  p->addTbls(g);
  EXPECT_EQ(g.take(), s('r', {0, 3, 2, 1}));
  p->removeTbls(g);
  EXPECT_EQ(g.take(), s('x', {0, 3, 2, 1}));
  f.unbookHandle(g, p.get());
  EXPECT_EQ(g.take(), s('u', {0, 3, 2, 1}));
  for (long o : {0, 1, 2, 3}) EXPECT_EQ(state(g, h + o), '.') << o;
  p->addTbls(g);
  g.take();
  p->clearVertex(g);
  EXPECT_EQ(g.take(), s('x', {3, 2, 1}));
  EXPECT_EQ(p->getNoTotalVertexes(), 0);
  EXPECT_FALSE(p->getBdry().validRegion());
}

TEST_F(PolylineTest, GestorFormsReserveAndReleasePlainFormsTouchNoHandle) {
  const std::unique_ptr<CEntPolyline> p(poly(0, {}));
  CVertex* a = vertex({0, 0, 0});
  CVertex* b = vertex({1, 0, 0});
  CVertex* c = vertex({2, 0, 0});
  p->addVertex(g, *a);
  p->addVisibleVertex(g, *b);
  p->insertVertex(g, *c, 1);
  for (CVertex* v : {a, b, c}) EXPECT_EQ(state(g, v->GetHandle()), 'r');
  EXPECT_EQ(&(*p)[1], c);
  const std::unique_ptr<CVertex> plain(p->removeVertex(1));
  EXPECT_EQ(plain.get(), c);
  EXPECT_EQ(state(g, c->GetHandle()), 'r');
  const std::unique_ptr<CVertex> released(p->removeVertex(g, 0));
  EXPECT_EQ(released.get(), a);
  EXPECT_EQ(state(g, a->GetHandle()), '.');
  EXPECT_EQ(p->getNoTotalVertexes(), 1);
}

TEST_F(PolylineTest, CountsOfOpenClosedAndCurvedPolylines) {
  const std::vector<PNT_3D> five{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 0, 0}, {4, 2, 0}};
  const struct {
    const char* what;
    short flags;
    std::vector<PNT_3D> pts;
    long total, visible, segments, firstA, firstB;
  } cases[] = {
      {"open", 0, five, 5, 5, 4, 0, 1},
      {"closed", 1, five, 5, 5, 5, 4, 0},
      {"empty open", 0, {}, 0, 0, -1, 0, 1},
      {"empty closed", 1, {}, 0, 0, 0, -1, 0},
      {"one vertex", 0, {{1, 1, 1}}, 1, 1, 0, 0, 1},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<CEntPolyline> p(poly(c.flags, c.pts));
    long a = -9, b = -9;
    p->getFirstVisibileSegmentIndex(a, b);
    EXPECT_EQ(p->getNoTotalVertexes(), c.total) << c.what;
    EXPECT_EQ(p->getLastCtrlPnt(), c.total) << c.what;
    EXPECT_EQ(p->getLastVisibleVertex(), c.total) << c.what;
    EXPECT_EQ(p->getNoVisibleVertexes(), c.visible) << c.what;
    EXPECT_EQ(p->getNoVisibleSegments(), c.segments) << c.what;
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(c.firstA, c.firstB)) << c.what;
  }
  const std::unique_ptr<CEntPolyline> curve(poly(0, five));
  curve->gener(g, f, 4, 3, false);
  EXPECT_EQ(curve->getNoCtrlPnts(), 5);
  EXPECT_EQ(curve->getFirstVisibleVertex(), 5);
  EXPECT_EQ(curve->getNoVisibleVertexes(), curve->getNoTotalVertexes() - 5);
}

TEST_F(PolylineTest, IndicesOutsideTheVerticesAreIgnored) {
  const std::unique_ptr<CEntPolyline> p(poly(1, square));
  for (long i : {-2L, -1L, 4L, 99L}) {
    EXPECT_EQ(p->removeVertex(i), nullptr) << i;
    EXPECT_EQ(p->removeVertex(g, i), nullptr) << i;
    p->SetVertexPos(static_cast<int>(i), PNT_3D(9, 9, 9));
    p->SetVertexWidth(static_cast<int>(i), 5, 5);
  }
  double w = -1;
  EXPECT_TRUE(p->IsWidthConstant(w));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(p->GetVertexPos(i), square[static_cast<size_t>(i)]);
  // Segment 3 would need vertex 4, segment -2 vertex -1: both ends stay as they were. An empty
  // polyline has no segment at all.
  const std::unique_ptr<CEntPolyline> none(poly(0, {}));
  for (const auto& [q, i] :
       {std::pair{p.get(), 3L}, {p.get(), -2L}, {none.get(), -1L}, {none.get(), 0L}}) {
    PNT_3D a(7, 7, 7), b(8, 8, 8);
    q->getPoints(i, a, b);
    EXPECT_EQ(a, PNT_3D(7, 7, 7)) << i;
    EXPECT_EQ(b, PNT_3D(8, 8, 8)) << i;
  }
  // Segment -1 (firstVisible - 1) is the closing one.
  LINE_3D closing;
  p->getLine(-1, closing);
  EXPECT_EQ(closing, LINE_3D(square[3], square[0]));
  none->calcBdry();
  EXPECT_FALSE(none->getBdry().validRegion());
}

TEST_F(PolylineTest, BoxWidthsAndFlags) {
  const std::unique_ptr<CEntPolyline> thin(poly(0, {{0, 0, 0}, {10, 0, 2}}));
  thin->addVertex(*vertex({-3, 5, 0}));
  EXPECT_EQ(thin->getBdry(), RECT_3D(-3, 0, 0, 10, 5, 2));
  // Removing recomputes; SetVertexPos leaves the box to the caller.
  delete thin->removeVertex(2);
  EXPECT_EQ(thin->getBdry(), RECT_3D(0, 0, 0, 10, 0, 2));
  thin->SetVertexPos(1, PNT_3D(20, 0, 0));
  EXPECT_EQ(thin->getBdry(), RECT_3D(0, 0, 0, 10, 0, 2));
  // A wide polyline's box holds its outline; setWidth(0) makes it thin again.
  const std::unique_ptr<CEntPolyline> wide(poly(0, {{0, 0, 0}, {10, 0, 0}}, 2));
  EXPECT_EQ(wide->getBdry(), RECT_3D(0, -1, 0, 10, 1, 0));
  wide->setWidth(0);
  EXPECT_EQ(wide->getBdry(), RECT_3D(0, 0, 0, 10, 0, 0));

  const struct {
    std::vector<std::pair<double, double>> widths;
    bool constant;
    double w;
  } cases[] = {
      {{{0, 0}, {0, 0}}, true, 0},
      {{{2, 2}, {2, 2}}, true, 2},
      {{{1, 2}, {2, 2}}, false, 0},
      {{{2, 2}, {2, 2}, {2, 3}}, false, 0},
      {{}, false, 0},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<CEntPolyline> p(poly(0, {}));
    for (const auto& [s, e] : c.widths) p->addVertex(*f.createVertex(g, PNT_3D(s, e, 0), s, e, 0));
    double w = -1;
    EXPECT_EQ(p->IsWidthConstant(w), c.constant) << c.widths.size();
    EXPECT_EQ(w, c.w) << c.widths.size();
    EXPECT_EQ(p->isWide(), c.w != 0 || (!c.constant && !c.widths.empty())) << c.widths.size();
  }

  // setLtGen touches bit 7 only; the free call keeps the low 16 bits of its long flags.
  const std::unique_ptr<CEntPolyline> p(poly(1 | 4 | 64, {}));
  p->setLtGen(true);
  EXPECT_EQ(p->getFlags(), 1 | 4 | 64 | 128);
  EXPECT_TRUE(p->IsLtGen());
  p->setLtGen(false);
  EXPECT_EQ(p->getFlags(), 1 | 4 | 64);
  const std::unique_ptr<CEntPolyline> q(createEntPolyline(*d, 0x10081L, 3, 0));
  EXPECT_EQ(q->getFlags(), 0x81);
  EXPECT_EQ(q->getDegree(), 3);
  d->getEntFactory().unbookHandle(d->getHandleGestor(), q.get());
}

TEST_F(PolylineTest, CurveVertexCountsAndEndsPerCurveType) {
  const struct {
    const char* what;
    short flags;
    int ctrl;
    long visible;
    bool endsOnControls;
  } cases[] = {
      {"open curve fit", 4, 3, 21, true},
      {"open spline fit", 2, 3, 41, true},
      {"open type 6, padded as curve fit", 6, 3, 21, true},
      {"closed spline, 4 points", 1 | 2, 4, 41, false},
      {"closed curve fit, 4 points", 1 | 4, 4, 41, false},
      {"closed, 2 points", 1 | 4, 2, 21, false},
      // Padding gives a curve fit 3 points, fewer than a window: nothing is made.
      {"open curve fit, 1 point", 4, 1, 0, false},
      {"open spline fit, 1 point", 2, 1, 21, true},
  };
  for (const auto& c : cases) {
    const std::vector<PNT_3D> ctrl =
        c.ctrl == 3 ? three : std::vector<PNT_3D>(square.begin(), square.begin() + c.ctrl);
    const std::unique_ptr<CEntPolyline> p(poly(0, ctrl));
    p->gener(g, f, static_cast<short>(c.flags & 14), 3, false);
    if (c.flags & 1) p->close(g, f, false);
    EXPECT_EQ(p->getNoCtrlPnts(), c.ctrl) << c.what;
    EXPECT_EQ(p->getNoVisibleVertexes(), c.visible) << c.what;
    if (!c.endsOnControls) continue;
    expectNear(p->GetVertexPos(c.ctrl), ctrl.front(), c.what);
    expectNear(p->GetVertexPos(static_cast<int>(p->getNoTotalVertexes() - 1)), ctrl.back(), c.what);
  }
  // Built closed or open with no control point, or closed with one: no vertex and no box.
  for (const auto& [flags, n] : {std::pair<short, int>{0, 0}, {1, 0}, {1, 1}})
    for (short curve : {2, 4}) {
      const std::unique_ptr<CEntPolyline> p(poly(flags, std::vector<PNT_3D>(n, {1, 1, 1})));
      p->gener(g, f, curve, 3, false);
      EXPECT_EQ(p->getNoVisibleVertexes(), 0) << flags << n << curve;
      EXPECT_FALSE(p->getBdry().validRegion()) << flags << n << curve;
    }
}

TEST_F(PolylineTest, CurvePointsFollowTheirBasisAndWidthsSpreadLinearly) {
  // Catmull-Rom passes through every control point, one span of ten steps apart.
  const std::unique_ptr<CEntPolyline> cr(poly(0, three));
  cr->SetVertexWidth(0, 1, 9);  // only the start counts
  cr->SetVertexWidth(1, 7, 3);  // control point n - 2: only its end counts
  cr->gener(g, f, 4, 3, false);
  for (int k = 0; k < 3; ++k) expectNear(cr->GetVertexPos(3 + 10 * k), three[k], "catmull-rom");
  const double dw = (3.0 - 1.0) / (10 * (5 - 3));
  for (long i = 0; i < cr->getNoVisibleVertexes(); ++i) {
    const CVertex& v = (*cr)[static_cast<int>(3 + i)];
    EXPECT_NEAR(v.GetWidthStart(), 1 + i * dw, 1e-12) << i;
    EXPECT_NEAR(v.GetWidthEnd(), 1 + (i + 1) * dw, 1e-12) << i;
  }
  // Uniform cubic B-spline at t = 0 of window (a, b, c, d): (a + 4b + c) / 6. The closed square's
  // first window is c3, c0, c1, c2; its tenth step starts the next, c0, c1, c2, c3.
  const std::unique_ptr<CEntPolyline> bs(poly(1, square));
  bs->gener(g, f, 2, 3, false);
  const auto& s = square;
  expectNear(bs->GetVertexPos(4), mix(s[3], 1.0 / 6, s[0], 4.0 / 6, s[1], 1.0 / 6), "start");
  expectNear(bs->GetVertexPos(14), mix(s[0], 1.0 / 6, s[1], 4.0 / 6, s[2], 1.0 / 6), "span 2");
  // Half way along the first window: (a + 23b + 23c + d) / 48.
  const PNT_3D half = mix(s[3], 1.0 / 48, s[0], 23.0 / 48, s[1], 23.0 / 48);
  expectNear(bs->GetVertexPos(9), mix(half, 1, s[2], 1.0 / 48, PNT_3D(0, 0, 0), 0), "half");
}

TEST_F(PolylineTest, GenerNoOpsControlPointsAndBackToPlainVertices) {
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

  // On a curve, addVertex adds a control point only: no regeneration, the same box.
  p->gener(g, f, 2, 3, false);
  const std::vector<long> before = visibleHandles(*p);
  const RECT_3D box = p->getBdry();
  p->addVertex(*vertex(PNT_3D(100, 100, 0)));
  EXPECT_EQ(p->getNoCtrlPnts(), 4);
  EXPECT_EQ(p->GetVertexPos(3), PNT_3D(100, 100, 0));
  EXPECT_EQ(visibleHandles(*p), before);
  EXPECT_EQ(p->getBdry(), box);
  p->regen(g, f, false);
  EXPECT_EQ(p->getNoVisibleVertexes(), 51);
}

TEST_F(PolylineTest, CurveHandlesOutOfTableStayBookedInTableAreReleasedAndReserved) {
  IHandleGestor& dg = d->getHandleGestor();
  CEntPolyline* listed = createEntPolyline(*d, 0, 0, 0);
  for (const PNT_3D& pt : three) listed->addVertex(*createVertex(*d, pt, 0, 0, 0));
  const std::unique_ptr<CEntPolyline> owner(listed);
  listed->gener(dg, f, 4, 3, false);
  const std::vector<long> outOfTable = visibleHandles(*listed);
  listed->regen(dg, f, false);
  // Deleted without release: still booked.
  for (long h : outOfTable) EXPECT_FALSE(handleFree(dg, h)) << h;
  for (long h : outOfTable) dg.unbook(h);

  d->getEntTable().add(listed);
  const std::vector<long> inTable = visibleHandles(*listed);
  listed->close(dg, f, true);
  for (long h : inTable) EXPECT_TRUE(handleFree(dg, h)) << "released " << h;
  const std::vector<long> closed = visibleHandles(*listed);
  EXPECT_EQ(closed.size(), 31u);  // 3 + 3 padded points, 3 spans
  // New vertices are reserved: unbook cannot free them.
  for (long h : closed) {
    dg.unbook(h);
    EXPECT_FALSE(handleFree(dg, h)) << h;
  }
  listed->open(dg, f, true);
  for (long h : closed) EXPECT_TRUE(handleFree(dg, h)) << h;
  EXPECT_EQ(listed->getNoVisibleVertexes(), 21);

  // Rectify keeps the control points' handles reserved although the vertices are gone.
  const std::vector<long> ctrl = {(*listed)[0].GetHandle(), (*listed)[1].GetHandle(),
                                  (*listed)[2].GetHandle()};
  const std::vector<long> kept = visibleHandles(*listed);
  listed->Rectify();
  EXPECT_EQ(listed->getFirstVisibleVertex(), 0);
  EXPECT_EQ(listed->getCurve(), 0);
  EXPECT_EQ(listed->getDegree(), 0);
  EXPECT_EQ(visibleHandles(*listed), kept);
  for (long h : ctrl) EXPECT_FALSE(handleFree(dg, h)) << h;
  d->getEntTable().remove(listed);
  for (long h : ctrl) dg.release(h);
  f.unbookHandle(dg, listed);  // the table gave it back: the unique_ptr deletes it
}
