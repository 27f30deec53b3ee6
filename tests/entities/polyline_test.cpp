// tests/entities/polyline_test.cpp: CEntPolyline and CVertex outside curve fitting: construction
// orders and handles, table entry and exit, the gestor forms, counts, bad indices, boxes, widths,
// the move and unbook visitors and snapshots.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/linetypes/linetype.h>

#include "database/test_drawing.h"

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

enum class State { Free, Booked, Reserved };

// Asked of a copy, so that the question changes nothing.
State state(const CHandleGestorDefault& g, long h) {
  CHandleGestorDefault c(g);
  try {
    c.unbook(c.bookHandle(h));
    return State::Free;
  } catch (const IHandleGestor::HandleAlreadyUsedException&) {
  }
  c.unbook(h);
  try {
    c.unbook(c.bookHandle(h));
    return State::Booked;
  } catch (const IHandleGestor::HandleAlreadyUsedException&) {
    return State::Reserved;
  }
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
  std::vector<long> handles(const CEntPolyline& p) {
    std::vector<long> out;
    for (int i = 0; i < p.getNoTotalVertexes(); ++i) out.push_back(p[i].GetHandle());
    return out;
  }

  DataPtr d = newDrawing();
  LoggingGestor g;
  CEntFactory& f = d->getEntFactory();
  const std::vector<PNT_3D> square{{0, 0, 0}, {4, 0, 0}, {4, 4, 1}, {0, 4, 0}};
};

}  // namespace

TEST_F(PolylineTest, FromLineMakesStartThenEndWithTheLinesLookAndBox) {
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
  EXPECT_EQ(p->getType(), 5);
}

TEST_F(PolylineTest, CloneCopiesFromTheLastVertexAndKeepsSettings) {
  const std::unique_ptr<CEntPolyline> p(poly(1 | 128, square, 0.5));
  const std::unique_ptr<CEntPolyline> c(f.createEntPolyline(g, *p));
  const long h = c->GetHandle();
  EXPECT_EQ(handles(*c), (std::vector<long>{h + 4, h + 3, h + 2, h + 1}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(c->GetVertexPos(i), p->GetVertexPos(i)) << i;
    EXPECT_EQ((*c)[i].GetWidthEnd(), 0.5) << i;
    EXPECT_EQ(state(g, (*c)[i].GetHandle()), State::Booked) << i;
  }
  EXPECT_EQ(c->getFlags(), p->getFlags());
  EXPECT_EQ(c->getBdry(), p->getBdry());
  // The drawing-level clone goes the same way.
  const std::unique_ptr<CEntPolyline> q(createEntPolyline(*d, 0, 0, 0));
  for (const PNT_3D& pt : square) q->addVertex(*createVertex(*d, pt, 0, 0, 0));
  const std::unique_ptr<CEnt> e(cloneEnt(*d, *q));
  const auto& qc = static_cast<const CEntPolyline&>(*e);
  EXPECT_EQ(qc[3].GetHandle(), e->GetHandle() + 1);
  EXPECT_EQ(qc[0].GetHandle(), e->GetHandle() + 4);
  d->getEntFactory().unbookHandle(d->getHandleGestor(), e.get());
  d->getEntFactory().unbookHandle(d->getHandleGestor(), q.get());
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
  // Unbooked, the polyline's and every vertex's handle can be booked again.
  for (long o : {0, 1, 2, 3}) EXPECT_EQ(state(g, h + o), State::Free) << o;
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
  for (CVertex* v : {a, b, c}) EXPECT_EQ(state(g, v->GetHandle()), State::Reserved);
  EXPECT_EQ(&(*p)[1], c);
  const std::unique_ptr<CVertex> plain(p->removeVertex(1));
  EXPECT_EQ(plain.get(), c);
  EXPECT_EQ(state(g, c->GetHandle()), State::Reserved);
  const std::unique_ptr<CVertex> released(p->removeVertex(g, 0));
  EXPECT_EQ(released.get(), a);
  EXPECT_EQ(state(g, a->GetHandle()), State::Free);
  EXPECT_EQ(p->getNoTotalVertexes(), 1);
}

TEST_F(PolylineTest, CountsOfOpenClosedAndCurvedPolylines) {
  const std::vector<PNT_3D> five{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 0, 0}, {4, 2, 0}};
  const struct {
    const char* what;
    short flags;
    std::vector<PNT_3D> pts;
    long total, ctrl, visible, segments, firstA, firstB;
  } cases[] = {
      {"open", 0, five, 5, 5, 5, 4, 0, 1},
      {"closed", 1, five, 5, 5, 5, 5, 4, 0},
      {"empty open", 0, {}, 0, 0, 0, -1, 0, 1},
      {"empty closed", 1, {}, 0, 0, 0, 0, -1, 0},
      {"one vertex", 0, {{1, 1, 1}}, 1, 1, 1, 0, 0, 1},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<CEntPolyline> p(poly(c.flags, c.pts));
    long a = -9, b = -9;
    p->getFirstVisibileSegmentIndex(a, b);
    EXPECT_EQ(p->getNoTotalVertexes(), c.total) << c.what;
    EXPECT_EQ(p->getNoCtrlPnts(), c.ctrl) << c.what;
    EXPECT_EQ(p->getLastCtrlPnt(), c.ctrl) << c.what;
    EXPECT_EQ(p->getNoVisibleVertexes(), c.visible) << c.what;
    EXPECT_EQ(p->getNoVisibleSegments(), c.segments) << c.what;
    EXPECT_EQ(p->getLastVisibleVertex(), c.total) << c.what;
    EXPECT_EQ(a, c.firstA) << c.what;
    EXPECT_EQ(b, c.firstB) << c.what;
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
  EXPECT_EQ(p->getNoTotalVertexes(), 4);
  double w = -1;
  EXPECT_TRUE(p->IsWidthConstant(w));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(p->GetVertexPos(i), square[static_cast<size_t>(i)]);
  // Segment 3 would need vertex 4, segment -2 vertex -1: both ends stay as they were.
  for (long i : {3L, -2L}) {
    PNT_3D a(7, 7, 7), b(8, 8, 8);
    p->getPoints(i, a, b);
    EXPECT_EQ(a, PNT_3D(7, 7, 7)) << i;
    EXPECT_EQ(b, PNT_3D(8, 8, 8)) << i;
  }
  // Segment -1 (firstVisible - 1) is the closing one.
  LINE_3D closing;
  p->getLine(-1, closing);
  EXPECT_EQ(closing.start, square[3]);
  EXPECT_EQ(closing.end, square[0]);
  const std::unique_ptr<CEntPolyline> none(poly(0, {}));
  PNT_3D a(7, 7, 7), b(8, 8, 8);
  none->getPoints(-1, a, b);
  none->getPoints(0, a, b);
  EXPECT_EQ(a, PNT_3D(7, 7, 7));
  none->calcBdry();
  EXPECT_FALSE(none->getBdry().validRegion());
}

TEST_F(PolylineTest, BoxThinUsesVisibleVerticesWideUsesTheOutline) {
  const std::unique_ptr<CEntPolyline> thin(poly(0, {{0, 0, 0}, {10, 0, 2}}));
  EXPECT_EQ(thin->getBdry(), RECT_3D(0, 0, 0, 10, 0, 2));
  thin->addVertex(*vertex({-3, 5, 0}));
  EXPECT_EQ(thin->getBdry(), RECT_3D(-3, 0, 0, 10, 5, 2));
  // Removing recomputes; SetVertexPos leaves the box to the caller.
  delete thin->removeVertex(2);
  EXPECT_EQ(thin->getBdry(), RECT_3D(0, 0, 0, 10, 0, 2));
  thin->SetVertexPos(1, PNT_3D(20, 0, 0));
  EXPECT_EQ(thin->getBdry(), RECT_3D(0, 0, 0, 10, 0, 2));

  const std::unique_ptr<CEntPolyline> wide(poly(0, {{0, 0, 0}, {10, 0, 0}}, 2));
  PNT_3D lo, hi;
  wide->getBdry().get(lo, hi);
  EXPECT_NEAR(lo.getY(), -1, 1e-12);
  EXPECT_NEAR(hi.getY(), 1, 1e-12);
  wide->setWidth(0);
  EXPECT_EQ(wide->getBdry(), RECT_3D(0, 0, 0, 10, 0, 0));
}

TEST_F(PolylineTest, WidthConstantChecksEveryVertex) {
  const struct {
    const char* what;
    std::vector<std::pair<double, double>> widths;
    bool constant;
    double w;
  } cases[] = {
      {"zero widths", {{0, 0}, {0, 0}, {0, 0}}, true, 0},
      {"all 2", {{2, 2}, {2, 2}}, true, 2},
      {"first differs", {{1, 2}, {2, 2}}, false, 0},
      {"last end differs", {{2, 2}, {2, 2}, {2, 3}}, false, 0},
      {"no vertices", {}, false, 0},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<CEntPolyline> p(poly(0, {}));
    for (const auto& [s, e] : c.widths) p->addVertex(*f.createVertex(g, PNT_3D(s, e, 0), s, e, 0));
    double w = -1;
    EXPECT_EQ(p->IsWidthConstant(w), c.constant) << c.what;
    EXPECT_EQ(w, c.w) << c.what;
    EXPECT_EQ(p->isWide(), c.w != 0 || (!c.constant && !c.widths.empty())) << c.what;
  }
}

TEST_F(PolylineTest, FlagsLtGenTouchesBit7Only) {
  const std::unique_ptr<CEntPolyline> p(poly(1 | 4 | 64, {}));
  p->setLtGen(true);
  EXPECT_EQ(p->getFlags(), 1 | 4 | 64 | 128);
  EXPECT_TRUE(p->IsLtGen());
  p->setLtGen(false);
  EXPECT_EQ(p->getFlags(), 1 | 4 | 64);
  EXPECT_EQ(p->getCurve(), 4);
  EXPECT_TRUE(p->isClosed());
  // The free call keeps the low 16 bits of its long flags.
  const std::unique_ptr<CEntPolyline> q(createEntPolyline(*d, 0x10081L, 3, 0));
  EXPECT_EQ(q->getFlags(), 0x81);
  EXPECT_EQ(q->getDegree(), 3);
  d->getEntFactory().unbookHandle(d->getHandleGestor(), q.get());
}

TEST_F(PolylineTest, MoveShiftsEveryVertexAndTheBoxAsItWas) {
  const std::unique_ptr<CEntPolyline> p(poly(0, square));
  const RECT_3D before = p->getBdry();
  p->SetVertexPos(2, PNT_3D(50, 50, 50));  // box deliberately stale
  CEntMoveVisitor move(PNT_3D(1, 2, 3));
  p->accept(move);
  EXPECT_EQ(p->GetVertexPos(0), PNT_3D(1, 2, 3));
  EXPECT_EQ(p->GetVertexPos(2), PNT_3D(51, 52, 53));
  RECT_3D want = before;
  want.move(PNT_3D(1, 2, 3));
  EXPECT_EQ(p->getBdry(), want);
}

TEST_F(PolylineTest, VisitsReachTheirSlots) {
  struct Seen : IEntFooVisitor {
    using IEntFooVisitor::visit;
    std::string s;
    void visit(CVertex&) override { s += 'V'; }
    void visit(CEntPolyline&) override { s += 'Y'; }
  } seen;
  const std::unique_ptr<CEntPolyline> p(poly(0, square));
  p->accept(seen);
  const std::unique_ptr<CVertex> v(vertex({0, 0, 0}));
  v->accept(seen);
  EXPECT_EQ(seen.s, "YV");
}

TEST_F(PolylineTest, SnapshotRestoresRemovedVertexAndRewritesInPlace) {
  CEntPolyline* p = createEntPolyline(*d, 0, 0, 0);
  for (const PNT_3D& pt : square) p->addVertex(*createVertex(*d, pt, 1, 1, 0));
  d->getEntTable().add(p);
  const std::unique_ptr<IEntDerivedMemento> m(p->createDerivedMemento());
  EXPECT_TRUE(*m == *p);
  const CVertex* kept0 = &(*p)[0];
  delete p->removeVertex(d->getHandleGestor(), 2);
  EXPECT_TRUE(*m != *p);
  p->setMemento(*d, m.get());
  ASSERT_EQ(p->getNoTotalVertexes(), 4);
  EXPECT_EQ(&(*p)[0], kept0);
  EXPECT_EQ(p->GetVertexPos(2), square[2]);
  EXPECT_EQ((*p)[2].GetWidthStart(), 1);
  EXPECT_TRUE(*m == *p);
  const CVertex* v3 = &(*p)[3];
  p->SetVertexWidth(3, 4, 4);
  p->setMemento(*d, m.get());
  EXPECT_EQ(&(*p)[3], v3);
  EXPECT_EQ((*p)[3].GetWidthEnd(), 1);
  EXPECT_GT(m->size(), static_cast<long>(4 * sizeof(CVertexMemento)));
}
