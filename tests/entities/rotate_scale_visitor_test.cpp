// tests/entities/rotate_scale_visitor_test.cpp: CEntMoveVisitor, CEntRotateXYVisitor and
// CEntScaleVisitor on every entity class: each class ends where its geometry value's own
// transform says, each angle rule (insert: one step; hatch: loops; text and arc: their own
// rotate) with exact values, which boxes are recomputed and which are carried along (a stale box
// tells them apart), widths and insert scales, and hatches transformed in place.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "geometry/test_font.h"

namespace {

const double kTwoPi = 2.0 * std::acos(-1.0);

// Registered once for the program (the font table owns it), so that texts have a real box.
const ICADFont* transformTestFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (const ICADFont* f = fonts.get("xformfont", false)) return f;
  fonts.add(new TestFont("xformfont", {10, 2, 6, 8, -2}));
  return fonts.get("xformfont", false);
}

// The value transforms each visitor must agree with, one overload per geometry value.
struct Move {
  PNT_3D by;
  template <class G>
  G operator()(G g) const {
    g.move(by);
    return g;
  }
  CIRCLE_3D operator()(CIRCLE_3D k) const { return k.centre.move(by), k; }
  ARC_3D operator()(ARC_3D k) const { return k.centre.move(by), k; }
  TEXT_3D operator()(TEXT_3D t) const { return t.getPnt().move(by), t; }
};
struct Rotate {
  PNT_3D c;
  double a;
  template <class G>
  G operator()(G g) const {
    g.rotate(c, a);
    return g;
  }
  CIRCLE_3D operator()(CIRCLE_3D k) const { return k.centre.rotate(c, a), k; }
};
struct Scale {
  PNT_3D c;
  double f;
  template <class G>
  G operator()(G g) const {
    g.scale(c, f);
    return g;
  }
};

class TransformVisitorTest : public ::testing::Test {
 protected:
  TransformVisitorTest() {
    style_ = d->getStyleFactory().create("XFORM", transformTestFont(), 0, 1, 0, 0, 0);
    addStyle(*d, style_);
    unit_ = d->getBlockFactory().create("UNIT", PNT_3D(0, 0, 0), 0);
    unit_->add(createEntLine(*d, LINE_3D(0, 0, 0, 2, 1, 0), 0));
    d->getBlockTable().add(unit_);
  }

  template <class E>
  E* keep(E* e) {
    owned_.emplace_back(e);
    return e;
  }
  TEXT_3D text(const char* s, const PNT_3D& at, double rotate = 0.3) const {
    return TEXT_3D(s, style_, 2, 0, 1, rotate, at.getX(), at.getY(), at.getZ(), 0);
  }
  CEntAttrib* attrib(const TEXT_3D& t) {
    return keep(d->getEntFactory().createEntAttrib(d->getHandleGestor(), nullptr, nullptr, 256, t,
                                                   "TAG", 0, 0));
  }
  CEntPolyline* polyline(const std::vector<PNT_3D>& pts, double ws = 0, double we = 0) {
    CEntPolyline* p = keep(createEntPolyline(*d, 0, 0, 0));
    for (const PNT_3D& q : pts) p->addVertex(*createVertex(*d, q, ws, we, 0));
    return p;
  }
  CEntInsert* insert(const PNT_3D& at, double sx, double sy, double sz, double rotate) {
    return keep(createEntInsert(*d, *unit_, at, sx, sy, sz, rotate, 1, 1, 0, 0, 0));
  }
  CEntInsertXRef* xrefInsert(const PNT_3D& at, double s, double rotate) {
    CBlockXRef* x = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                    d->getLtypeByBlock(), d->getLayer0(), "X");
    d->getBlockXRefTable().add(x);
    return keep(createEntInsertXRef(*d, d->getDepend(), x, at, s, s, s, rotate, 1, 1, 0, 0, 0));
  }
  CEntHatch* hatch(double scale = 1, double angle = 0) {
    const std::vector<PNT_3D> square{{0, 0, 2}, {10, 0, 2}, {10, 10, 2}, {0, 10, 2}};
    return keep(createEntHatch(*d, *getHatch(String("LINE")), scale, angle, square, 0));
  }

  // xf put through the visitor v on one entity of every class must give the entity built from
  // the geometry value put through xf: the same geometry (by its snapshot) and the same box.
  template <class Xf>
  void expectEveryClassFollows(IEntVisitor& v, const Xf& xf, const std::string& name) {
    const PNT_3D f[3] = {{0, 0, 0}, {2, 0, 1}, {2, 2, 2}};
    const std::vector<PNT_3D> poly{{0, 0, 0}, {4, 0, 1}, {4, 3, 2}};
    std::vector<PNT_3D> polyT;
    for (const PNT_3D& p : poly) polyT.push_back(xf(p));
    const LINE_3D l(0, 0, 1, 4, 3, 2);
    const CIRCLE_3D circle(3, 3, 3, 2);
    const ARC_3D arc(3, 3, 3, 2, 1, 4);
    const TEXT_3D t = text("AB", PNT_3D(5, 1, 0)), tt = xf(t);
    const struct {
      const char* what;
      CEnt *moved, *target;
    } cases[] = {
        {"point", keep(createEntPnt(*d, f[1], 0)), keep(createEntPnt(*d, xf(f[1]), 0))},
        {"line", keep(createEntLine(*d, l, 0)), keep(createEntLine(*d, xf(l), 0))},
        {"circle", keep(createEntCircle(*d, circle, 0)), keep(createEntCircle(*d, xf(circle), 0))},
        {"arc", keep(createEntArc(*d, arc, 0)), keep(createEntArc(*d, xf(arc), 0))},
        {"text", keep(createEntText(*d, t, 0)), keep(createEntText(*d, tt, 0))},
        {"attribute definition", keep(createEntAttdef(*d, t, "v", "p", 1, 0)),
         keep(createEntAttdef(*d, tt, "v", "p", 1, 0))},
        {"attribute", attrib(t), attrib(tt)},
        // A triangle stays one; the whole flags word goes along.
        {"3D face", keep(createEnt3DFace(*d, f[0], f[1], f[2], f[2], 0x103, 0)),
         keep(createEnt3DFace(*d, xf(f[0]), xf(f[1]), xf(f[2]), xf(f[2]), 0x103, 0))},
        {"polyline", polyline(poly), polyline(polyT)},
    };
    for (const auto& k : cases) {
      k.moved->accept(v);
      const std::unique_ptr<IEntDerivedMemento> m(k.target->createDerivedMemento());
      EXPECT_TRUE(*k.moved == *m) << name << " " << k.what;
      EXPECT_EQ(k.moved->getBdry(), k.target->getBdry()) << name << " " << k.what;
    }
  }

  DataPtr d = newDrawing();
  // Declared after the drawing, so destroyed before it.
  std::vector<std::unique_ptr<CEnt>> owned_;
  CStyle* style_;
  CBlock* unit_;
};

// A hatch's block as it was: the block, its entities by identity and their segments.
struct BlockShot {
  explicit BlockShot(const CEntHatch& h) : block(h.getBlock()), name(block->getName().c_str()) {
    for (int i = 0; i < block->size(); ++i) {
      entities.push_back((*block)[i]);
      segments.push_back(static_cast<const CEntLine*>((*block)[i])->getLine());
    }
  }
  const CBlock* block;
  std::string name;
  std::vector<const CEnt*> entities;
  std::vector<LINE_3D> segments;
};

}  // namespace

TEST_F(TransformVisitorTest, EveryClassFollowsItsGeometryValue) {
  CEntMoveVisitor move(PNT_3D(1, -2, 0.5));
  expectEveryClassFollows(move, Move{PNT_3D(1, -2, 0.5)}, "move");
  CEntRotateXYVisitor rotate(PNT_3D(1, 2, 0), 0.75);
  expectEveryClassFollows(rotate, Rotate{PNT_3D(1, 2, 0), 0.75}, "rotate");
  CEntScaleVisitor scale(PNT_3D(1, 2, 3), 2.5);
  expectEveryClassFollows(scale, Scale{PNT_3D(1, 2, 3), 2.5}, "scale");
}

// An insert's rotation takes one 2*pi step at most (exactly 2*pi stays); its point turns and its
// box is the one setRotate computes. A reference never loaded has an empty box.
TEST_F(TransformVisitorTest, InsertRotationTakesOneStepAtMost) {
  const struct {
    bool xref;
    double start, turn, want;
  } cases[] = {
      {false, 6.0, 0.5, 6.5 - kTwoPi},
      {false, 0.0, kTwoPi, kTwoPi},
      {false, 0.25, -0.5, -0.25 + kTwoPi},
      {false, 6.0, 7.0, 13.0 - kTwoPi},  // still above 2*pi: no second step
      {true, 6.0, 0.5, 6.5 - kTwoPi},
  };
  for (const auto& c : cases) {
    const PNT_3D at(3, 0, 5);
    CEntInsert* ins = c.xref ? xrefInsert(at, 1, c.start) : insert(at, 1, 1, 1, c.start);
    CEntRotateXYVisitor rotate(PNT_3D(0, 0, 0), c.turn);
    ins->accept(rotate);
    EXPECT_EQ(ins->getRotate(), c.want) << c.start << " + " << c.turn;
    const Rotate turned{PNT_3D(0, 0, 0), c.turn};
    EXPECT_EQ(ins->getPnt(), turned(at));
    if (c.xref) {
      EXPECT_FALSE(ins->getBdry().validRegion());
    } else {
      EXPECT_EQ(ins->getBdry(), insert(ins->getPnt(), 1, 1, 1, c.want)->getBdry());
    }
  }
}

// A hatch's angle loops into [0, 2*pi]; a text's takes TEXT_3D::rotate's one step, then
// setRotate's loop; an arc's angles take one step each, however far they land.
TEST_F(TransformVisitorTest, AngleRulesOfHatchesTextsAndArcs) {
  const struct {
    double start, turn, want;
  } hatches[] = {{0, -7.0, (-7.0 + kTwoPi) + kTwoPi},
                 {1.0, 13.0, (14.0 - kTwoPi) - kTwoPi},
                 {0, kTwoPi, kTwoPi}};
  for (const auto& c : hatches) {
    CEntHatch* h = hatch(1, c.start);
    CEntRotateXYVisitor rotate(PNT_3D(5, 5, 0), c.turn);
    h->accept(rotate);
    EXPECT_EQ(h->getHatchRotate(), c.want) << c.turn;
    // The insert part is not touched.
    EXPECT_EQ(h->getRotate(), 0.0);
    EXPECT_EQ(h->getPnt(), PNT_3D(0, 0, 0));
  }
  const PNT_3D o(0, 0, 0);
  const struct {
    CEntText* e;
    double turn, want;
  } texts[] = {
      {keep(createEntText(*d, text("AB", o, 0.0), 0)), 13.0, (13.0 - kTwoPi) - kTwoPi},
      {keep(createEntAttdef(*d, text("TAG", o, 6.0), "v", "p", 0, 0)), 0.5, 6.5 - kTwoPi},
      {attrib(text("V", o, 0.25)), -0.5, -0.25 + kTwoPi},
  };
  for (const auto& c : texts) {
    CEntRotateXYVisitor rotate(o, c.turn);
    c.e->accept(rotate);
    EXPECT_EQ(c.e->getText().getContext().getRotate(), c.want) << c.e->getType();
  }
  for (const double turn : {3.0, 13.0}) {
    CEntArc* arc = keep(createEntArc(*d, ARC_3D(0, 0, 0, 1, 1.0, 4.0), 0));
    CEntRotateXYVisitor rotate(o, turn);
    arc->accept(rotate);
    EXPECT_EQ(arc->getArc().start, turn == 3.0 ? 4.0 : 14.0 - kTwoPi);
    EXPECT_EQ(arc->getArc().end, 4.0 + turn - kTwoPi);
  }
}

// A point changed without calcBdry leaves the box stale: a transform that carries the box along
// keeps the stale one moved or scaled, one that recomputes it sees the changed point. A turn by
// 0 leaves every point where it is, so only the box can change.
TEST_F(TransformVisitorTest, StaleBoxesAreCarriedOrRecomputed) {
  CEntMoveVisitor move(PNT_3D(1, 2, 0));
  CEntRotateXYVisitor none(PNT_3D(3, 3, 0), 0.0);
  CEntScaleVisitor twice(PNT_3D(0, 0, 0), 2.0);
  auto stalePolyline = [&] {
    CEntPolyline* p = polyline({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}});
    p->SetVertexPos(2, PNT_3D(10, 10, 0));
    return p;
  };
  auto staleFace = [&] {
    CEnt3DFace* f = keep(createEnt3DFace(*d, PNT_3D(0, 0, 0), PNT_3D(2, 0, 0), PNT_3D(2, 2, 0),
                                         PNT_3D(0, 2, 0), 0, 0));
    f->getVertex(2) = PNT_3D(6, 6, 1);
    return f;
  };
  const struct {
    const char* what;
    CEnt* e;
    IEntVisitor& v;
    RECT_3D want;
  } cases[] = {
      {"polyline moved", stalePolyline(), move, {1, 2, 0, 5, 5, 0}},
      {"polyline turned", stalePolyline(), none, {0, 0, 0, 10, 10, 0}},
      {"polyline scaled", stalePolyline(), twice, {0, 0, 0, 20, 20, 0}},
      {"face moved", staleFace(), move, {1, 2, 0, 3, 4, 0}},
      {"face turned", staleFace(), none, {0, 0, 0, 6, 6, 1}},
      {"face scaled", staleFace(), twice, {0, 0, 0, 4, 4, 0}},
  };
  for (const auto& c : cases) {
    c.e->accept(c.v);
    EXPECT_EQ(c.e->getBdry(), c.want) << c.what;
  }
  // Texts and inserts carry their box along a move.
  CEntInsertXRef* ref = xrefInsert(PNT_3D(0, 0, 0), 1, 0);
  ref->getBdry().set(0, 0, 0, 1, 1, 1);
  const PNT_3D o(0, 0, 0);
  for (CEnt* e : std::vector<CEnt*>{keep(createEntText(*d, text("AB", o), 0)),
                                    keep(createEntAttdef(*d, text("T", o), "v", "p", 0, 0)),
                                    attrib(text("V", o)), insert(o, 1, 1, 1, 0), ref}) {
    CEntInsert* ins = e->getEntInsert();
    PNT_3D& at = ins ? ins->getPnt() : static_cast<CEntText*>(e)->getText().getPnt();
    at = PNT_3D(50, 50, 0);
    RECT_3D want = e->getBdry();
    want.move(PNT_3D(1, 2, 0));
    e->accept(move);
    EXPECT_EQ(at, PNT_3D(51, 52, 0)) << e->getType();
    EXPECT_EQ(e->getBdry(), want) << e->getType();
  }
}

TEST_F(TransformVisitorTest, ScaleMultipliesWidthsAndInsertScales) {
  CEntPolyline* p = polyline({{0, 0, 0}, {4, 0, 0}}, 0.5, 1.0);
  CEntScaleVisitor twice(PNT_3D(0, 0, 0), 2.0);
  p->accept(twice);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ((*p)[i].GetWidthStart(), 1.0) << i;
    EXPECT_EQ((*p)[i].GetWidthEnd(), 2.0) << i;
  }
  // A wide polyline's box is its outline's, as for one built at the target.
  EXPECT_EQ(p->getBdry(), polyline({{0, 0, 0}, {8, 0, 0}}, 1.0, 2.0)->getBdry());

  CEntInsert* ins = insert(PNT_3D(1, 1, 1), 1, 2, 3, 0.3);
  ins->accept(twice);
  EXPECT_EQ(ins->getBdry(), insert(PNT_3D(2, 2, 2), 2, 4, 6, 0.3)->getBdry());
  CEntInsertXRef* ref = xrefInsert(PNT_3D(1, 0, 0), 1.5, 1.0);
  CEntScaleVisitor half(PNT_3D(3, 0, 0), 0.5);
  ref->accept(half);
  EXPECT_EQ(ref->getPnt(), PNT_3D(2, 0, 0));
  const struct {
    const CEntInsert* e;
    std::vector<double> scales;
    double rotate;
  } inserts[] = {{ins, {2, 4, 6}, 0.3}, {ref, {0.75, 0.75, 0.75}, 1.0}};
  for (const auto& c : inserts) {
    double sx = 0, sy = 0, sz = 0;
    c.e->getScale(sx, sy, sz);
    EXPECT_EQ(std::vector<double>({sx, sy, sz}), c.scales);
    EXPECT_EQ(c.e->getRotate(), c.rotate);
  }
}

// A hatch keeps its block and the block's entities: every line and boundary point is transformed
// in place and the block's box recomputed. A turn recomputes the hatch's box; a scale scales it
// (a stale box shows which). The hatch angle takes the turn, the hatch scale the factor.
TEST_F(TransformVisitorTest, HatchesTransformTheirBlockInPlace) {
  const PNT_3D c(5, 5, 0);
  CEntRotateXYVisitor rotate(c, 0.5);
  CEntScaleVisitor scale(c, 2.0);
  const struct {
    const char* what;
    IEntVisitor& v;
    std::function<PNT_3D(PNT_3D)> xf;
    bool boxScaled;
    double angle, scale;
  } cases[] = {
      {"rotate", rotate, Rotate{c, 0.5}, false, 0.75, 1.0},
      {"scale", scale, Scale{c, 2.0}, true, 0.25, 2.0},
  };
  for (const auto& k : cases) {
    CEntHatch* h = hatch(1, 0.25);
    const BlockShot before(*h);
    ASSERT_GT(before.entities.size(), 1u);
    const long blocks = d->getBlockTable().size();
    const std::vector<PNT_3D> boundary(&h->getPnt(0L), &h->getPnt(0L) + h->getNoPnts());
    const RECT_3D stale(-1, -1, -1, 1, 1, 1);
    h->getBdry() = stale;
    h->accept(k.v);

    const BlockShot after(*h);
    EXPECT_EQ(after.block, before.block) << k.what;
    EXPECT_EQ(after.name, before.name) << k.what;
    EXPECT_EQ(after.entities, before.entities) << k.what;
    EXPECT_EQ(d->getBlockTable().size(), blocks) << k.what;
    RECT_3D box;
    box.initRegion();
    for (std::size_t i = 0; i < before.segments.size(); ++i) {
      const LINE_3D want(k.xf(before.segments[i].start), k.xf(before.segments[i].end));
      EXPECT_EQ(after.segments[i], want) << k.what << " " << i;
      box.updateRegion(want.start);
      box.updateRegion(want.end);
    }
    EXPECT_EQ(h->getBlock()->getBdry(), box) << k.what;
    RECT_3D scaled = stale;
    scaled.scale(c, 2.0);
    EXPECT_EQ(h->getBdry(), k.boxScaled ? scaled : box) << k.what;
    for (long i = 0; i < h->getNoPnts(); ++i)
      EXPECT_EQ(h->getPnt(i), k.xf(boundary[static_cast<std::size_t>(i)])) << k.what << " " << i;
    EXPECT_EQ(h->getHatchRotate(), k.angle) << k.what;
    EXPECT_EQ(h->getHatchScale(), k.scale) << k.what;
  }
}
