// tests/entities/cast_visitors_test.cpp: one entity of every class through the rules they all
// share: the type tests (each cast matches its own class exactly: an attribute definition is not
// a text, a hatch and an external-reference insert are matched by none) and the getters' reuse,
// IEntInheritVisitor's forwarding along the class tree (which shows each class's accept reaches
// its own slot), the type codes, snapshots, and copies that are fresh and unlisted.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "support/handle_probe.h"

namespace {

// The ten casts, each giving back the entity it matched or null.
const struct {
  const char* name;
  CEnt* (*cast)(CEnt*);
} kCasts[] = {
    {"castPnt", [](CEnt* e) -> CEnt* { return castPnt(e); }},
    {"castLine", [](CEnt* e) -> CEnt* { return castLine(e); }},
    {"castCircle", [](CEnt* e) -> CEnt* { return castCircle(e); }},
    {"castArc", [](CEnt* e) -> CEnt* { return castArc(e); }},
    {"castPolyline", [](CEnt* e) -> CEnt* { return castPolyline(e); }},
    {"castText", [](CEnt* e) -> CEnt* { return castText(e); }},
    {"castAttdef", [](CEnt* e) -> CEnt* { return castAttdef(e); }},
    {"castAttrib", [](CEnt* e) -> CEnt* { return castAttrib(e); }},
    {"castHatch", [](CEnt* e) -> CEnt* { return castHatch(e); }},
    {"cast3DFace", [](CEnt* e) -> CEnt* { return cast3DFace(e); }},
};
enum { kPnt, kLine, kCircle, kArc, kPolyline, kText, kAttdef, kAttrib, kHatch, k3DFace };

// A getter asked again forgets its earlier answer.
template <class Getter, class E>
void expectForgets(E* (Getter::*get)(CEnt*), E* hit, CEnt* miss) {
  Getter g;
  EXPECT_EQ((g.*get)(hit), hit);
  EXPECT_EQ((g.*get)(miss), nullptr) << hit->getType();
  EXPECT_EQ((g.*get)(hit), hit);
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

  struct Row {
    CEnt* e;
    int match;
    const char* path;
    short type;
  };
  std::vector<Row> rows() const {
    return {{pnt, kPnt, "Pnt>Ent", 1},
            {line, kLine, "Line>Ent", 2},
            {circle, kCircle, "Circle>Ent", 3},
            {arc, kArc, "Arc>Ent", 4},
            {polyline, kPolyline, "Polyline>Ent", 5},
            {text, kText, "Text>Ent", 6},
            {attdef, kAttdef, "Attdef>Text>Ent", 7},
            {insert, -1, "Insert>Ent", 8},
            {xrefInsert, -1, "XRef>Insert>Ent", 8},
            {attrib, kAttrib, "Attrib>Text>Ent", 9},
            {hatch, kHatch, "Hatch>Insert>Ent", 10},
            {face, k3DFace, "Face>Ent", 11}};
  }
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

// Overrides the text level only.
class TextsOnly : public IEntInheritVisitor {
 public:
  using IEntInheritVisitor::visit;
  void visit(CEntText&) override { ++count; }
  int count = 0;
};

}  // namespace

// Per class: the one cast that answers (none for either insert), the levels its visit passes
// through and its type code.
TEST_F(CastVisitorsTest, CastsLevelsAndTypeCodesOfEveryClass) {
  TextsOnly texts;
  for (const Row& row : rows()) {
    for (int c = 0; c < static_cast<int>(std::size(kCasts)); ++c)
      EXPECT_EQ(kCasts[c].cast(row.e), c == row.match ? row.e : nullptr)
          << kCasts[c].name << " of " << row.path;
    LevelRecorder r;
    row.e->accept(r);
    EXPECT_EQ(r.seen, row.path);
    EXPECT_EQ(r.last, row.e) << row.path;
    EXPECT_EQ(row.e->getType(), row.type) << row.path;
    row.e->accept(texts);
  }
  // The default levels hand on: the text, the definition and the attribute reach the text's.
  EXPECT_EQ(texts.count, 3);
  // A vertex is not an entity: its visit stays the empty one of IEntVisitor.
  LevelRecorder r;
  const_cast<CVertex&>((*polyline)[0]).accept(r);
  EXPECT_EQ(r.seen, "");
}

TEST_F(CastVisitorsTest, AGetterForgetsItsEarlierAnswer) {
  expectForgets(&CGetPntVisitor::getPnt, pnt, line);
  expectForgets(&CGetLineVisitor::getLine, line, circle);
  expectForgets(&CGetCircleVisitor::getCircle, circle, arc);
  expectForgets(&CGetArcVisitor::getArc, arc, circle);
  expectForgets(&CGetPolylineVisitor::getPolyline, polyline, face);
  expectForgets(&CGetTextVisitor::getText, text, attdef);
  expectForgets(&CGetAttdefVisitor::getAttdef, attdef, text);
  expectForgets(&CGetAttribVisitor::getAttrib, attrib, text);
  expectForgets(&CGetHatchVisitor::getHatch, hatch, insert);
  expectForgets(&CGet3DFaceVisitor::get3DFace, face, hatch);
}

// A snapshot differs after a change of its own class's fields; restoring makes the entity equal
// again, box and all. It never equals an entity of another class, except one derived from its
// own.
TEST_F(CastVisitorsTest, SnapshotsOfEveryClass) {
  const std::function<void()> changes[] = {
      // in the order of rows()
      [&] { pnt->setPnt(1, 2, 3.5); },
      [&] { line->setLine(0, 0, 0, 1, 1, 1 + 1e-15); },
      [&] { circle->setCircle(0, 0, 0, 2); },
      [&] { arc->setArc(0, 0, 0, 1, 0, 3); },
      [&] { polyline->SetVertexPos(1, PNT_3D(5, 5, 0)), polyline->calcBdry(); },
      [&] { text->getText().getContext().setString("AB!"), text->calcBdry(); },
      [&] { attdef->setPrompt("q"); },
      [&] { insert->setRotate(0.1); },
      [&] { xrefInsert->setPnt(PNT_3D(1, 1, 1)); },
      [&] { attrib->setValue("other"); },
      [&] { hatch->setHatchRotate(1); },
      [&] { face->setFlags(3); },
  };
  const std::vector<Row> all = rows();
  std::vector<std::unique_ptr<IEntDerivedMemento>> snaps;
  for (std::size_t i = 0; i < all.size(); ++i) {
    CEnt* e = all[i].e;
    snaps.emplace_back(e->createDerivedMemento());
    const IEntDerivedMemento& m = *snaps.back();
    const RECT_3D box = e->getBdry();
    EXPECT_TRUE(*e == m && !(*e != m)) << all[i].path;
    changes[i]();
    EXPECT_TRUE(*e != m && !(*e == m)) << all[i].path;
    e->setMemento(*d, &m);
    EXPECT_TRUE(*e == m) << all[i].path;
    EXPECT_EQ(e->getBdry(), box) << all[i].path;
  }
  // An external-reference insert records an insert's snapshot.
  for (std::size_t i = 0; i < all.size(); ++i)
    for (const Row& other : all) {
      const std::string path = other.path;
      const std::string own = all[i].e == xrefInsert ? "Insert>Ent" : all[i].path;
      const bool derived =
          path.size() >= own.size() && path.compare(path.size() - own.size(), own.size(), own) == 0;
      EXPECT_TRUE(derived || *snaps[i] != *other.e) << all[i].path << " against " << path;
    }
}

// The factory's copy and cloneEnt alike: the same class, fields (by both snapshots), box and
// caller words; a fresh booked handle; not selected, not in the table, not counted on the layer.
TEST_F(CastVisitorsTest, CopiesOfEveryClassAreFreshUnlistedAndAlike) {
  CEntFactory& f = d->getEntFactory();
  IHandleGestor& g = d->getHandleGestor();
  const std::function<CEnt*()> copies[] = {
      // in the order of rows(); the hatch has none here
      [&] { return f.createEntPnt(g, *pnt); },
      [&] { return f.createEntLine(g, *line); },
      [&] { return f.createEntCircle(g, *circle); },
      [&] { return f.createEntArc(g, *arc); },
      [&] { return f.createEntPolyline(g, *polyline); },
      [&] { return f.createEntText(g, *text); },
      [&] { return f.createEntAttdef(g, *attdef); },
      [&] { return f.createEntInsert(g, *insert); },
      [&] { return f.createEntInsertXRef(g, *xrefInsert); },
      [&] { return f.createEntAttrib(g, *attrib); },
      nullptr,
      [&] { return f.createEnt3DFace(g, *face); },
  };
  CEntTable& table = d->getEntTable();
  const std::vector<Row> all = rows();
  for (std::size_t i = 0; i < all.size(); ++i) {
    CEnt* e = all[i].e;
    if (!copies[i]) continue;
    e->setUserInfo(11, 12);
    e->setColor(5);
    const std::unique_ptr<IEntDerivedMemento> fields(e->createDerivedMemento());
    const std::unique_ptr<CEntBaseMemento> base(e->createBaseMemento());
    table.add(e);
    table.select(e);
    const long layerCount = e->getLayer()->getEntities();
    for (const bool viaClone : {false, true}) {
      const std::unique_ptr<CEnt> copy(viaClone ? cloneEnt(*d, *e) : copies[i]());
      const std::string what = std::string(all[i].path) + (viaClone ? " clone" : " copy");
      ASSERT_NE(copy, nullptr) << what;
      const CEnt& copied = *copy;
      EXPECT_EQ(typeid(copied), typeid(*e)) << what;
      EXPECT_TRUE(*copy == *fields && *copy == *base) << what;
      EXPECT_EQ(copy->getBdry(), e->getBdry()) << what;
      EXPECT_EQ(copy->getUserType() * 100 + copy->getUserData(), 1112) << what;
      EXPECT_NE(copy->GetHandle(), e->GetHandle()) << what;
      EXPECT_FALSE(copy->isSelected()) << what;
      EXPECT_EQ(table.get(copy->GetHandle()), nullptr) << what;
      EXPECT_EQ(e->getLayer()->getEntities(), layerCount) << what;
      EXPECT_FALSE(handleFree(g, copy->GetHandle())) << what;
      f.unbookHandle(g, copy.get());
    }
    table.remove(e);
  }
}
