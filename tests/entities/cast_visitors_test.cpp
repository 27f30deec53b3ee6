// tests/entities/cast_visitors_test.cpp: the type tests against one entity of every class (each
// cast matches its own class exactly: an attribute definition is not a text, a hatch and an
// external-reference insert are matched by none), the getters' reuse, and IEntInheritVisitor's
// forwarding along the class tree.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/cast_visitors.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/visitor.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include "database/test_drawing.h"

namespace {

// The ten casts.
enum Cast { kPnt, kLine, kCircle, kArc, kPolyline, kText, kAttdef, kAttrib, kHatch, k3DFace };
constexpr int kCasts = 10;
const char* const kCastNames[kCasts] = {"castPnt",      "castLine",  "castCircle", "castArc",
                                        "castPolyline", "castText",  "castAttdef", "castAttrib",
                                        "castHatch",    "cast3DFace"};

CEnt* castBy(int which, CEnt* e) {
  switch (which) {
    case kPnt:
      return castPnt(e);
    case kLine:
      return castLine(e);
    case kCircle:
      return castCircle(e);
    case kArc:
      return castArc(e);
    case kPolyline:
      return castPolyline(e);
    case kText:
      return castText(e);
    case kAttdef:
      return castAttdef(e);
    case kAttrib:
      return castAttrib(e);
    case kHatch:
      return castHatch(e);
    default:
      return cast3DFace(e);
  }
}

// One entity of every concrete class, owned by the test; the blocks they use are in the
// drawing's tables.
class CastVisitorsTest : public ::testing::Test {
 protected:
  CastVisitorsTest() {
    CBlock* b = d->getBlockFactory().create("B", PNT_3D(0, 0, 0), 0);
    b->add(createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 0), 0));
    d->getBlockTable().add(b);
    CBlockXRef* x = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                    d->getLtypeByBlock(), d->getLayer0(), "X");
    d->getBlockXRefTable().add(x);

    pnt = keep(createEntPnt(*d, PNT_3D(1, 2, 3), 0));
    line = keep(createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 1), 0));
    circle = keep(createEntCircle(*d, CIRCLE_3D(0, 0, 0, 1), 0));
    arc = keep(createEntArc(*d, ARC_3D(0, 0, 0, 1, 0, 1), 0));
    polyline = keep(createEntPolyline(*d, 0, 0, 0));
    polyline->addVertex(*createVertex(*d, PNT_3D(0, 0, 0), 0, 0, 0));
    polyline->addVertex(*createVertex(*d, PNT_3D(1, 0, 0), 0, 0, 0));
    const TEXT_3D t("T", nullptr, 1, 0, 1, 0, 0, 0, 0, 0);
    text = keep(createEntText(*d, t, 0));
    attdef = keep(createEntAttdef(*d, t, "v", "p", 0, 0));
    insert = keep(createEntInsert(*d, *b, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0));
    attrib = keep(createEntAttrib(*d, "value", *attdef, *insert, 0));
    xrefInsert = keep(
        createEntInsertXRef(*d, d->getDepend(), x, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0));
    hatch = keep(createEntHatch(*d, *getHatch(String("LINE")), 1, 0,
                                {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, 0));
    face = keep(createEnt3DFace(*d, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(1, 1, 0),
                                PNT_3D(0, 1, 0), 0, 0));
  }

  template <class E>
  E* keep(E* e) {
    owned_.emplace_back(e);
    return e;
  }

  DataPtr d = newDrawing();
  // Declared after the drawing, so destroyed before it.
  std::vector<std::unique_ptr<CEnt>> owned_;
  CEntPnt* pnt;
  CEntLine* line;
  CEntCircle* circle;
  CEntArc* arc;
  CEntPolyline* polyline;
  CEntText* text;
  CEntAttdef* attdef;
  CEntInsert* insert;
  CEntAttrib* attrib;
  CEntInsertXRef* xrefInsert;
  CEntHatch* hatch;
  CEnt3DFace* face;
};

// Records every level an entity's visit passes through, each override handing on to the base.
class LevelRecorder : public IEntInheritVisitor {
 public:
  using IEntInheritVisitor::visit;
  void visit(CEnt3DFace& e) override { step("Face", e); }
  void visit(CEntHatch& e) override { step("Hatch", e); }
  void visit(CEntAttrib& e) override { step("Attrib", e); }
  void visit(CEntInsertXRef& e) override { step("XRef", e); }
  void visit(CEntInsert& e) override { step("Insert", e); }
  void visit(CEntAttdef& e) override { step("Attdef", e); }
  void visit(CEntText& e) override { step("Text", e); }
  void visit(CEntPolyline& e) override { step("Polyline", e); }
  void visit(CEntArc& e) override { step("Arc", e); }
  void visit(CEntCircle& e) override { step("Circle", e); }
  void visit(CEntLine& e) override { step("Line", e); }
  void visit(CEntPnt& e) override { step("Pnt", e); }
  void visit(CEnt& e) override {
    seen += "Ent";
    last = &e;
  }

  std::string seen;
  CEnt* last = nullptr;

 private:
  template <class E>
  void step(const char* level, E& e) {
    seen += level;
    seen += '>';
    IEntInheritVisitor::visit(e);
  }
};

// Overrides the root only.
class RootCounter : public IEntInheritVisitor {
 public:
  using IEntInheritVisitor::visit;
  void visit(CEnt& e) override {
    ++count;
    last = &e;
  }
  int count = 0;
  CEnt* last = nullptr;
};

// Overrides the text level only: texts, definitions and attributes reach it.
class TextCounter : public IEntInheritVisitor {
 public:
  using IEntInheritVisitor::visit;
  void visit(CEntText&) override { ++count; }
  int count = 0;
};

}  // namespace

TEST_F(CastVisitorsTest, EveryCastMatchesItsOwnClassExactly) {
  const struct {
    const char* what;
    CEnt* e;
    int match;  // the one cast that answers, or -1 for none
  } rows[] = {
      {"point", pnt, kPnt},
      {"line", line, kLine},
      {"circle", circle, kCircle},
      {"arc", arc, kArc},
      {"polyline", polyline, kPolyline},
      {"text", text, kText},
      {"attribute definition", attdef, kAttdef},
      {"attribute", attrib, kAttrib},
      {"hatch", hatch, kHatch},
      {"3D face", face, k3DFace},
      // Neither insert has a cast of its own, and neither is taken for anything else.
      {"insert", insert, -1},
      {"external-reference insert", xrefInsert, -1},
  };
  for (const auto& row : rows) {
    for (int c = 0; c < kCasts; ++c) {
      CEnt* const want = c == row.match ? row.e : nullptr;
      EXPECT_EQ(castBy(c, row.e), want) << kCastNames[c] << " of the " << row.what;
    }
  }
}

TEST_F(CastVisitorsTest, AnAttributeDefinitionIsNotATextAndAHatchIsNotAnInsertKind) {
  EXPECT_EQ(castText(attdef), nullptr);
  EXPECT_EQ(castAttdef(attdef), attdef);
  EXPECT_EQ(castText(attrib), nullptr);
  EXPECT_EQ(castAttrib(attrib), attrib);
  EXPECT_EQ(castText(text), text);
  // The hatch is a block reference underneath, but only castHatch knows it.
  EXPECT_EQ(castHatch(hatch), hatch);
  EXPECT_EQ(castHatch(insert), nullptr);
  EXPECT_EQ(castHatch(xrefInsert), nullptr);
}

// A getter clears what an earlier call found, so one visitor can be asked again and again.
TEST_F(CastVisitorsTest, AGetterForgetsItsEarlierAnswer) {
  CGetLineVisitor lines;
  EXPECT_EQ(lines.getLine(line), line);
  EXPECT_EQ(lines.getLine(circle), nullptr);
  EXPECT_EQ(lines.getLine(line), line);
  CGetTextVisitor texts;
  EXPECT_EQ(texts.getText(text), text);
  EXPECT_EQ(texts.getText(attdef), nullptr);
  CGet3DFaceVisitor faces;
  EXPECT_EQ(faces.get3DFace(face), face);
  EXPECT_EQ(faces.get3DFace(hatch), nullptr);
  CGetHatchVisitor hatches;
  EXPECT_EQ(hatches.getHatch(hatch), hatch);
  EXPECT_EQ(hatches.getHatch(pnt), nullptr);
  CGetPntVisitor pnts;
  CGetCircleVisitor circles;
  CGetArcVisitor arcs;
  CGetPolylineVisitor polylines;
  CGetAttdefVisitor attdefs;
  CGetAttribVisitor attribs;
  EXPECT_EQ(pnts.getPnt(pnt), pnt);
  EXPECT_EQ(circles.getCircle(circle), circle);
  EXPECT_EQ(arcs.getArc(arc), arc);
  EXPECT_EQ(arcs.getArc(circle), nullptr);
  EXPECT_EQ(polylines.getPolyline(polyline), polyline);
  EXPECT_EQ(attdefs.getAttdef(attdef), attdef);
  EXPECT_EQ(attribs.getAttrib(attrib), attrib);
}

TEST_F(CastVisitorsTest, InheritVisitorForwardsAlongTheClassTree) {
  const struct {
    CEnt* e;
    const char* path;
  } rows[] = {
      {face, "Face>Ent"},
      {hatch, "Hatch>Insert>Ent"},
      {attrib, "Attrib>Text>Ent"},
      {xrefInsert, "XRef>Insert>Ent"},
      {insert, "Insert>Ent"},
      {attdef, "Attdef>Text>Ent"},
      {text, "Text>Ent"},
      {polyline, "Polyline>Ent"},
      {arc, "Arc>Ent"},
      {circle, "Circle>Ent"},
      {line, "Line>Ent"},
      {pnt, "Pnt>Ent"},
  };
  for (const auto& row : rows) {
    LevelRecorder r;
    row.e->accept(r);
    EXPECT_EQ(r.seen, row.path) << "type " << row.e->getType();
    EXPECT_EQ(r.last, row.e) << "type " << row.e->getType();
  }
}

TEST_F(CastVisitorsTest, InheritVisitorRootSeesEveryEntityOnceAndNoVertex) {
  RootCounter root;
  CEnt* const all[] = {pnt,    line,   circle, arc,        polyline, text,
                       attdef, insert, attrib, xrefInsert, hatch,    face};
  for (CEnt* e : all) {
    const int before = root.count;
    e->accept(root);
    EXPECT_EQ(root.count, before + 1) << "type " << e->getType();
    EXPECT_EQ(root.last, e) << "type " << e->getType();
  }
  // A vertex is not an entity: its visit stays the empty one of IEntVisitor.
  const int before = root.count;
  const_cast<CVertex&>((*polyline)[0]).accept(root);
  EXPECT_EQ(root.count, before);

  TextCounter texts;
  for (CEnt* e : all) e->accept(texts);
  EXPECT_EQ(texts.count, 3);  // the text, the definition and the attribute
}
