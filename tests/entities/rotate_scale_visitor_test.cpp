// tests/entities/rotate_scale_visitor_test.cpp: CEntRotateXYVisitor and CEntScaleVisitor on every
// entity class, class by class: each angle rule (insert: one step; hatch: loops; text
// and arc: their own rotate) with exact values, which boxes are recomputed and which are carried
// along (a stale box tells them apart), polyline widths, inserts' scales, and hatches transformed
// in place without regeneration. Also CEntMoveVisitor on the classes whose box moves along.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/geometry/font.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

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

std::string boxText(const RECT_3D& r) {
  double v[6];
  r.get(v[0], v[1], v[2], v[3], v[4], v[5]);
  std::string s;
  for (double x : v) s += std::to_string(x) + " ";
  return s;
}

// The entity's own geometry equals the target's (through the target's snapshot) and so do the
// boxes, exactly.
void expectSame(const CEnt& got, const CEnt& want, const std::string& what) {
  const std::unique_ptr<IEntDerivedMemento> m(want.createDerivedMemento());
  EXPECT_TRUE(got == *m) << what;
  EXPECT_EQ(got.getBdry(), want.getBdry())
      << what << ": got " << boxText(got.getBdry()) << "want " << boxText(want.getBdry());
}

const std::vector<PNT_3D> kSquare{{0, 0, 2}, {10, 0, 2}, {10, 10, 2}, {0, 10, 2}};

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
    return keep(createEntHatch(*d, *getHatch(String("LINE")), scale, angle, kSquare, 0));
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

// ---- Rotation ----------------------------------------------------------------------------

// Every class but the insert and the hatch: the geometry turns as its geometry value's rotate
// says and the box is the one a fresh entity at the target has.
TEST_F(TransformVisitorTest, RotateTurnsEachClassAndRecomputesTheBox) {
  const PNT_3D c(1, 2, 0);
  const double a = 0.75;
  auto turned = [&](PNT_3D p) {
    p.rotate(c, a);
    return p;
  };
  LINE_3D l(0, 0, 1, 4, 3, 2);
  ARC_3D arc(3, 3, 3, 2, 1, 4);
  TEXT_3D t = text("AB", PNT_3D(5, 1, 0));
  const PNT_3D f[4] = {{0, 0, 0}, {2, 0, 1}, {2, 2, 2}, {0, 2, 3}};
  const std::vector<PNT_3D> poly{{0, 0, 0}, {4, 0, 1}, {4, 3, 2}};
  struct Case {
    std::string what;
    CEnt* moved;
    CEnt* target;
  };
  LINE_3D lt = l;
  lt.rotate(c, a);
  ARC_3D at = arc;
  at.rotate(c, a);
  TEXT_3D tt = t;
  tt.rotate(c, a);
  std::vector<PNT_3D> polyT;
  for (const PNT_3D& p : poly) polyT.push_back(turned(p));
  const Case cases[] = {
      {"point", keep(createEntPnt(*d, PNT_3D(1, 5, 3), 0)),
       keep(createEntPnt(*d, turned(PNT_3D(1, 5, 3)), 0))},
      {"line", keep(createEntLine(*d, l, 0)), keep(createEntLine(*d, lt, 0))},
      {"circle", keep(createEntCircle(*d, CIRCLE_3D(3, 3, 3, 2), 0)),
       keep(createEntCircle(
           *d, CIRCLE_3D(turned(PNT_3D(3, 3, 3)).getX(), turned(PNT_3D(3, 3, 3)).getY(), 3, 2),
           0))},
      {"arc", keep(createEntArc(*d, arc, 0)), keep(createEntArc(*d, at, 0))},
      {"text", keep(createEntText(*d, t, 0)), keep(createEntText(*d, tt, 0))},
      {"attribute definition", keep(createEntAttdef(*d, t, "v", "p", 1, 0)),
       keep(createEntAttdef(*d, tt, "v", "p", 1, 0))},
      {"attribute",
       keep(d->getEntFactory().createEntAttrib(d->getHandleGestor(), nullptr, nullptr, 256, t,
                                               "TAG", 0, 0)),
       keep(d->getEntFactory().createEntAttrib(d->getHandleGestor(), nullptr, nullptr, 256, tt,
                                               "TAG", 0, 0))},
      {"3D face", keep(createEnt3DFace(*d, f[0], f[1], f[2], f[3], 0x2, 0)),
       keep(createEnt3DFace(*d, turned(f[0]), turned(f[1]), turned(f[2]), turned(f[3]), 0x2, 0))},
      {"polyline", polyline(poly), polyline(polyT)},
  };
  CEntRotateXYVisitor rotate(c, a);
  for (const Case& k : cases) {
    k.moved->accept(rotate);
    expectSame(*k.moved, *k.target, k.what);
  }
  // Z stays where it was.
  EXPECT_EQ(static_cast<CEntLine*>(cases[1].moved)->getLine().end.getZ(), 2.0);
}

TEST_F(TransformVisitorTest, RotateQuarterTurnByHand) {
  CEntPnt* p = keep(createEntPnt(*d, PNT_3D(3, 2, 7), 0));
  CEntRotateXYVisitor quarter(PNT_3D(1, 2, 100), kTwoPi / 4);
  p->accept(quarter);
  EXPECT_NEAR(p->getPnt().getX(), 1.0, 1e-12);
  EXPECT_NEAR(p->getPnt().getY(), 4.0, 1e-12);
  EXPECT_EQ(p->getPnt().getZ(), 7.0);
  EXPECT_EQ(p->getBdry().min, p->getPnt());
  EXPECT_EQ(p->getBdry().max, p->getPnt());
}

// An insert's rotation takes one 2*pi step at most.
TEST_F(TransformVisitorTest, InsertRotationAboveTwoPiTakesOneStepDown) {
  CEntInsert* ins = insert(PNT_3D(3, 0, 0), 1, 1, 1, 6.0);
  CEntRotateXYVisitor rotate(PNT_3D(0, 0, 0), 0.5);
  ins->accept(rotate);
  EXPECT_EQ(ins->getRotate(), 6.5 - kTwoPi);
  PNT_3D p(3, 0, 0);
  p.rotate(PNT_3D(0, 0, 0), 0.5);
  EXPECT_EQ(ins->getPnt(), p);
  // The box is the one setRotate computes for the new placement.
  CEntInsert* fresh = insert(p, 1, 1, 1, 6.5 - kTwoPi);
  EXPECT_EQ(ins->getBdry(), fresh->getBdry());
}

TEST_F(TransformVisitorTest, InsertRotationOfExactlyTwoPiStays) {
  CEntInsert* ins = insert(PNT_3D(0, 0, 0), 1, 1, 1, 0.0);
  CEntRotateXYVisitor rotate(PNT_3D(0, 0, 0), kTwoPi);
  ins->accept(rotate);
  EXPECT_EQ(ins->getRotate(), kTwoPi);
}

TEST_F(TransformVisitorTest, InsertRotationBelowZeroTakesOneStepUp) {
  CEntInsert* ins = insert(PNT_3D(0, 0, 0), 1, 1, 1, 0.25);
  CEntRotateXYVisitor rotate(PNT_3D(0, 0, 0), -0.5);
  ins->accept(rotate);
  EXPECT_EQ(ins->getRotate(), -0.25 + kTwoPi);
}

// One step only: a turn of 7 on 6 leaves the rotation still above 2*pi.
TEST_F(TransformVisitorTest, InsertRotationTakesNoSecondStep) {
  CEntInsert* ins = insert(PNT_3D(0, 0, 0), 1, 1, 1, 6.0);
  CEntRotateXYVisitor rotate(PNT_3D(0, 0, 0), 7.0);
  ins->accept(rotate);
  EXPECT_EQ(ins->getRotate(), 13.0 - kTwoPi);
  EXPECT_GT(ins->getRotate(), kTwoPi);
}

TEST_F(TransformVisitorTest, ExternalReferenceInsertRotatesAsAnInsert) {
  CEntInsertXRef* ref = xrefInsert(PNT_3D(2, 0, 5), 1, 6.0);
  CEntRotateXYVisitor rotate(PNT_3D(0, 0, 0), 0.5);
  ref->accept(rotate);
  EXPECT_EQ(ref->getRotate(), 6.5 - kTwoPi);
  PNT_3D p(2, 0, 5);
  p.rotate(PNT_3D(0, 0, 0), 0.5);
  EXPECT_EQ(ref->getPnt(), p);
  // A reference never loaded has an empty block: the recomputed box is the empty region.
  EXPECT_FALSE(ref->getBdry().validRegion());
}

// A hatch's angle loops until it is within [0, 2*pi].
TEST_F(TransformVisitorTest, HatchAngleLoopsUp) {
  CEntHatch* h = hatch();
  ASSERT_NE(h, nullptr);
  CEntRotateXYVisitor rotate(PNT_3D(5, 5, 0), -7.0);
  h->accept(rotate);
  EXPECT_EQ(h->getHatchRotate(), (-7.0 + kTwoPi) + kTwoPi);
  // The insert part is not touched: the hatch stays at the origin, unrotated.
  EXPECT_EQ(h->getRotate(), 0.0);
  EXPECT_EQ(h->getPnt(), PNT_3D(0, 0, 0));
}

TEST_F(TransformVisitorTest, HatchAngleLoopsDown) {
  CEntHatch* h = hatch(1, 1.0);
  ASSERT_NE(h, nullptr);
  CEntRotateXYVisitor rotate(PNT_3D(5, 5, 0), 13.0);
  h->accept(rotate);
  EXPECT_EQ(h->getHatchRotate(), (14.0 - kTwoPi) - kTwoPi);
}

TEST_F(TransformVisitorTest, HatchAngleOfExactlyTwoPiStays) {
  CEntHatch* h = hatch();
  ASSERT_NE(h, nullptr);
  CEntRotateXYVisitor rotate(PNT_3D(5, 5, 0), kTwoPi);
  h->accept(rotate);
  EXPECT_EQ(h->getHatchRotate(), kTwoPi);
}

// A text goes through TEXT_3D::rotate: one step, then setRotate's loop.
TEST_F(TransformVisitorTest, TextRotationFollowsTextRotate) {
  CEntText* t = keep(createEntText(*d, text("AB", PNT_3D(0, 0, 0), 0.0), 0));
  CEntRotateXYVisitor big(PNT_3D(0, 0, 0), 13.0);
  t->accept(big);
  EXPECT_EQ(t->getText().getContext().getRotate(), (13.0 - kTwoPi) - kTwoPi);

  CEntAttdef* def = keep(createEntAttdef(*d, text("TAG", PNT_3D(0, 0, 0), 6.0), "v", "p", 0, 0));
  CEntRotateXYVisitor half(PNT_3D(0, 0, 0), 0.5);
  def->accept(half);
  EXPECT_EQ(def->getText().getContext().getRotate(), 6.5 - kTwoPi);

  CEntAttrib* a = keep(d->getEntFactory().createEntAttrib(
      d->getHandleGestor(), nullptr, nullptr, 256, text("V", PNT_3D(0, 0, 0), 0.25), "T", 0, 0));
  CEntRotateXYVisitor back(PNT_3D(0, 0, 0), -0.5);
  a->accept(back);
  EXPECT_EQ(a->getText().getContext().getRotate(), -0.25 + kTwoPi);
}

// An arc goes through ARC_3D::rotate: one step for each angle, however far it lands.
TEST_F(TransformVisitorTest, ArcAnglesTakeOneStepEach) {
  CEntArc* arc = keep(createEntArc(*d, ARC_3D(0, 0, 0, 1, 1.0, 4.0), 0));
  CEntRotateXYVisitor three(PNT_3D(0, 0, 0), 3.0);
  arc->accept(three);
  EXPECT_EQ(arc->getArc().start, 4.0);
  EXPECT_EQ(arc->getArc().end, 7.0 - kTwoPi);

  CEntArc* far = keep(createEntArc(*d, ARC_3D(0, 0, 0, 1, 1.0, 4.0), 0));
  CEntRotateXYVisitor thirteen(PNT_3D(0, 0, 0), 13.0);
  far->accept(thirteen);
  EXPECT_EQ(far->getArc().start, 14.0 - kTwoPi);
  EXPECT_EQ(far->getArc().end, 17.0 - kTwoPi);
}

// ---- Stale boxes: carried along or recomputed -------------------------------------------

// A vertex set without calcBdry leaves the box stale. A move carries the stale box along; a
// rotation and a scale recompute it.
TEST_F(TransformVisitorTest, PolylineMoveCarriesAStaleBoxRotateAndScaleRecomputeIt) {
  const std::vector<PNT_3D> pts{{0, 0, 0}, {4, 0, 0}, {4, 3, 0}};
  CEntPolyline* moved = polyline(pts);
  moved->SetVertexPos(2, PNT_3D(10, 10, 0));
  ASSERT_EQ(moved->getBdry(), RECT_3D(0, 0, 0, 4, 3, 0));
  CEntMoveVisitor move(PNT_3D(1, 2, 0));
  moved->accept(move);
  EXPECT_EQ(moved->getBdry(), RECT_3D(1, 2, 0, 5, 5, 0));  // not (1, 2, 0)-(11, 12, 0)
  EXPECT_EQ(moved->GetVertexPos(2), PNT_3D(11, 12, 0));
  EXPECT_EQ(moved->GetVertexPos(0), PNT_3D(1, 2, 0));

  // A turn by 0 leaves every point exactly where it is, so only the box can change.
  CEntPolyline* turned = polyline(pts);
  turned->SetVertexPos(2, PNT_3D(10, 10, 0));
  CEntRotateXYVisitor none(PNT_3D(3, 3, 0), 0.0);
  turned->accept(none);
  EXPECT_EQ(turned->getBdry(), RECT_3D(0, 0, 0, 10, 10, 0));

  CEntPolyline* scaled = polyline(pts);
  scaled->SetVertexPos(2, PNT_3D(10, 10, 0));
  CEntScaleVisitor twice(PNT_3D(0, 0, 0), 2.0);
  scaled->accept(twice);
  EXPECT_EQ(scaled->getBdry(), RECT_3D(0, 0, 0, 20, 20, 0));
}

// The 3D face: a move and a scale carry the box along, a rotation recomputes it.
TEST_F(TransformVisitorTest, FaceScaleScalesItsBoxRotateRecomputesIt) {
  auto staleFace = [&]() {
    CEnt3DFace* f = keep(createEnt3DFace(*d, PNT_3D(0, 0, 0), PNT_3D(2, 0, 0), PNT_3D(2, 2, 0),
                                         PNT_3D(0, 2, 0), 0, 0));
    f->getVertex(2) = PNT_3D(6, 6, 1);  // no calcBdry
    return f;
  };
  CEnt3DFace* scaled = staleFace();
  CEntScaleVisitor scale(PNT_3D(1, 1, 0), 3.0);
  scaled->accept(scale);
  EXPECT_EQ(scaled->getBdry(), RECT_3D(-2, -2, 0, 4, 4, 0));  // (0,0,0)-(2,2,0) scaled
  EXPECT_EQ(scaled->getVertex(2), PNT_3D(16, 16, 3));
  EXPECT_EQ(scaled->getVertex(0), PNT_3D(-2, -2, 0));

  CEnt3DFace* turned = staleFace();
  CEntRotateXYVisitor none(PNT_3D(1, 1, 0), 0.0);
  turned->accept(none);
  EXPECT_EQ(turned->getBdry(), RECT_3D(0, 0, 0, 6, 6, 1));

  CEnt3DFace* moved = staleFace();
  CEntMoveVisitor move(PNT_3D(1, 1, 1));
  moved->accept(move);
  EXPECT_EQ(moved->getBdry(), RECT_3D(1, 1, 1, 3, 3, 1));
}

// ---- Scaling -----------------------------------------------------------------------------

TEST_F(TransformVisitorTest, ScaleEachClassAsItsGeometryScales) {
  const PNT_3D c(1, 2, 3);
  const double f = 2.5;
  auto scaled = [&](PNT_3D p) {
    p.scale(c, f);
    return p;
  };
  LINE_3D l(0, 0, 1, 4, 3, 2);
  LINE_3D lt = l;
  lt.scale(c, f);
  ARC_3D arc(3, 3, 3, 2, 1, 4);
  ARC_3D at = arc;
  at.scale(c, f);
  TEXT_3D t = text("AB", PNT_3D(5, 1, 0));
  TEXT_3D tt = t;
  tt.scale(c, f);
  const PNT_3D fp[4] = {{0, 0, 0}, {2, 0, 1}, {2, 2, 2}, {0, 2, 3}};
  const std::vector<PNT_3D> poly{{0, 0, 0}, {4, 0, 1}, {4, 3, 2}};
  std::vector<PNT_3D> polyT;
  for (const PNT_3D& p : poly) polyT.push_back(scaled(p));
  const PNT_3D cc = scaled(PNT_3D(3, 3, 3));
  struct Case {
    std::string what;
    CEnt* moved;
    CEnt* target;
  };
  const Case cases[] = {
      {"point", keep(createEntPnt(*d, PNT_3D(1, 5, 3), 0)),
       keep(createEntPnt(*d, scaled(PNT_3D(1, 5, 3)), 0))},
      {"line", keep(createEntLine(*d, l, 0)), keep(createEntLine(*d, lt, 0))},
      {"circle", keep(createEntCircle(*d, CIRCLE_3D(3, 3, 3, 2), 0)),
       keep(createEntCircle(*d, CIRCLE_3D(cc.getX(), cc.getY(), cc.getZ(), 5), 0))},
      {"arc", keep(createEntArc(*d, arc, 0)), keep(createEntArc(*d, at, 0))},
      {"text", keep(createEntText(*d, t, 0)), keep(createEntText(*d, tt, 0))},
      {"attribute definition", keep(createEntAttdef(*d, t, "v", "p", 1, 0)),
       keep(createEntAttdef(*d, tt, "v", "p", 1, 0))},
      {"attribute",
       keep(d->getEntFactory().createEntAttrib(d->getHandleGestor(), nullptr, nullptr, 256, t,
                                               "TAG", 0, 0)),
       keep(d->getEntFactory().createEntAttrib(d->getHandleGestor(), nullptr, nullptr, 256, tt,
                                               "TAG", 0, 0))},
      {"3D face", keep(createEnt3DFace(*d, fp[0], fp[1], fp[2], fp[3], 0x5, 0)),
       keep(createEnt3DFace(*d, scaled(fp[0]), scaled(fp[1]), scaled(fp[2]), scaled(fp[3]), 0x5,
                            0))},
      {"polyline", polyline(poly), polyline(polyT)},
  };
  CEntScaleVisitor scale(c, f);
  for (const Case& k : cases) {
    k.moved->accept(scale);
    expectSame(*k.moved, *k.target, k.what);
  }
  // The radius and the height grew by f.
  EXPECT_EQ(static_cast<CEntArc*>(cases[3].moved)->getArc().radius, 5.0);
  EXPECT_EQ(static_cast<CEntText*>(cases[4].moved)->getText().getContext().getHeight(), 5.0);
}

TEST_F(TransformVisitorTest, PolylineWidthsScaleWithIt) {
  CEntPolyline* p = polyline({{0, 0, 0}, {4, 0, 0}}, 0.5, 1.0);
  CEntScaleVisitor twice(PNT_3D(0, 0, 0), 2.0);
  p->accept(twice);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ((*p)[i].GetWidthStart(), 1.0) << i;
    EXPECT_EQ((*p)[i].GetWidthEnd(), 2.0) << i;
  }
  EXPECT_EQ(p->GetVertexPos(1), PNT_3D(8, 0, 0));
  // A wide polyline's box is its outline's, as for one built at the target.
  CEntPolyline* target = polyline({{0, 0, 0}, {8, 0, 0}}, 1.0, 2.0);
  EXPECT_EQ(p->getBdry(), target->getBdry());
  EXPECT_GT(p->getBdry().max.getY(), 0.0);
}

TEST_F(TransformVisitorTest, InsertScaleMultipliesItsScalesAndKeepsItsRotation) {
  CEntInsert* ins = insert(PNT_3D(1, 1, 1), 1, 2, 3, 0.3);
  CEntScaleVisitor twice(PNT_3D(0, 0, 0), 2.0);
  ins->accept(twice);
  EXPECT_EQ(ins->getPnt(), PNT_3D(2, 2, 2));
  double sx = 0, sy = 0, sz = 0;
  ins->getScale(sx, sy, sz);
  EXPECT_EQ(sx, 2.0);
  EXPECT_EQ(sy, 4.0);
  EXPECT_EQ(sz, 6.0);
  EXPECT_EQ(ins->getRotate(), 0.3);
  CEntInsert* fresh = insert(PNT_3D(2, 2, 2), 2, 4, 6, 0.3);
  EXPECT_EQ(ins->getBdry(), fresh->getBdry());

  CEntInsertXRef* ref = xrefInsert(PNT_3D(1, 0, 0), 1.5, 1.0);
  CEntScaleVisitor half(PNT_3D(3, 0, 0), 0.5);
  ref->accept(half);
  EXPECT_EQ(ref->getPnt(), PNT_3D(2, 0, 0));
  ref->getScale(sx, sy, sz);
  EXPECT_EQ(sx, 0.75);
  EXPECT_EQ(sz, 0.75);
  EXPECT_EQ(ref->getRotate(), 1.0);
}

// ---- Hatches: transformed in place, never regenerated -------------------------------------

TEST_F(TransformVisitorTest, HatchRotateTurnsItsBlockInPlace) {
  CEntHatch* h = hatch(1, 0.25);
  ASSERT_NE(h, nullptr);
  const BlockShot before(*h);
  ASSERT_GT(before.entities.size(), 1u);
  const long blocks = d->getBlockTable().size();
  const std::vector<PNT_3D> boundary(&h->getPnt(0L), &h->getPnt(0L) + h->getNoPnts());

  const PNT_3D c(5, 5, 0);
  const double a = 0.5;
  CEntRotateXYVisitor rotate(c, a);
  h->accept(rotate);

  // The same block with the same entities, turned.
  const BlockShot after(*h);
  EXPECT_EQ(after.block, before.block);
  EXPECT_EQ(after.name, before.name);
  EXPECT_EQ(after.entities, before.entities);
  EXPECT_EQ(d->getBlockTable().size(), blocks);
  RECT_3D box;
  box.initRegion();
  for (std::size_t i = 0; i < before.segments.size(); ++i) {
    LINE_3D want = before.segments[i];
    want.rotate(c, a);
    EXPECT_EQ(after.segments[i], want) << i;
    box.updateRegion(want.start);
    box.updateRegion(want.end);
  }
  // The block's box and the hatch's are recomputed from the turned lines.
  EXPECT_EQ(h->getBlock()->getBdry(), box);
  EXPECT_EQ(h->getBdry(), box);
  for (long i = 0; i < h->getNoPnts(); ++i) {
    PNT_3D want = boundary[static_cast<std::size_t>(i)];
    want.rotate(c, a);
    EXPECT_EQ(h->getPnt(i), want) << i;
  }
  EXPECT_EQ(h->getHatchRotate(), 0.75);
  EXPECT_EQ(h->getHatchScale(), 1.0);
}

TEST_F(TransformVisitorTest, HatchScaleScalesItsBlockInPlaceAndItsBox) {
  CEntHatch* h = hatch(1, 0);
  ASSERT_NE(h, nullptr);
  const BlockShot before(*h);
  const long blocks = d->getBlockTable().size();
  const std::vector<PNT_3D> boundary(&h->getPnt(0L), &h->getPnt(0L) + h->getNoPnts());
  // A stale box shows that the hatch's box is scaled, not recomputed.
  h->getBdry().set(-1, -1, -1, 1, 1, 1);

  const PNT_3D c(0, 0, 0);
  CEntScaleVisitor twice(c, 2.0);
  h->accept(twice);

  const BlockShot after(*h);
  EXPECT_EQ(after.block, before.block);
  EXPECT_EQ(after.name, before.name);
  EXPECT_EQ(after.entities, before.entities);
  EXPECT_EQ(d->getBlockTable().size(), blocks);
  RECT_3D box;
  box.initRegion();
  for (std::size_t i = 0; i < before.segments.size(); ++i) {
    LINE_3D want = before.segments[i];
    want.scale(c, 2.0);
    EXPECT_EQ(after.segments[i], want) << i;
    box.updateRegion(want.start);
    box.updateRegion(want.end);
  }
  EXPECT_EQ(h->getBlock()->getBdry(), box);  // the block's box is recomputed
  EXPECT_EQ(h->getBdry(), RECT_3D(-2, -2, -2, 2, 2, 2));
  for (long i = 0; i < h->getNoPnts(); ++i) {
    EXPECT_EQ(h->getPnt(i),
              boundary[static_cast<std::size_t>(i)] + boundary[static_cast<std::size_t>(i)])
        << i;
  }
  EXPECT_EQ(h->getHatchScale(), 2.0);
  EXPECT_EQ(h->getHatchRotate(), 0.0);
}

// Without a stale box, the scaled box of a hatch is the box of its scaled lines.
TEST_F(TransformVisitorTest, HatchScaledBoxFollowsItsLines) {
  CEntHatch* h = hatch(1, 0);
  ASSERT_NE(h, nullptr);
  CEntScaleVisitor twice(PNT_3D(0, 0, 0), 2.0);
  h->accept(twice);
  EXPECT_EQ(h->getBdry(), h->getBlock()->getBdry());
}

// ---- Move: the classes whose box moves along ---------------------------------------------

TEST_F(TransformVisitorTest, MoveCarriesTheBoxOfTextsAndInserts) {
  const PNT_3D by(1, 2, 3);
  CEntMoveVisitor move(by);

  CEntText* t = keep(createEntText(*d, text("AB", PNT_3D(0, 0, 0)), 0));
  CEntAttdef* def = keep(createEntAttdef(*d, text("T", PNT_3D(0, 0, 0)), "v", "p", 0, 0));
  CEntAttrib* a = keep(d->getEntFactory().createEntAttrib(
      d->getHandleGestor(), nullptr, nullptr, 256, text("V", PNT_3D(0, 0, 0)), "T", 0, 0));
  CEntText* texts[] = {t, def, a};
  for (CEntText* e : texts) {
    // Stale: the point changed without calcBdry.
    e->getText().getPnt() = PNT_3D(50, 50, 0);
    RECT_3D want = e->getBdry();
    want.move(by);
    e->accept(move);
    EXPECT_EQ(e->getText().getPnt(), PNT_3D(51, 52, 3)) << e->getType();
    EXPECT_EQ(e->getBdry(), want) << e->getType();
  }

  CEntInsert* ins = insert(PNT_3D(0, 0, 0), 1, 1, 1, 0);
  CEntInsertXRef* ref = xrefInsert(PNT_3D(0, 0, 0), 1, 0);
  ref->getBdry().set(0, 0, 0, 1, 1, 1);
  CEntInsert* inserts[] = {ins, ref};
  for (CEntInsert* e : inserts) {
    e->getPnt() = PNT_3D(50, 50, 0);
    RECT_3D want = e->getBdry();
    want.move(by);
    e->accept(move);
    EXPECT_EQ(e->getPnt(), PNT_3D(51, 52, 3)) << e->getType();
    EXPECT_EQ(e->getBdry(), want) << e->getType();
  }
}
