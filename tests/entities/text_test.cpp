// tests/entities/text_test.cpp: the text, attribute definition and attribute entities: style
// counts through every operation that moves them, boxes (with and without a font), snapshots,
// exact visit dispatch, moves, the factory forms and the block's walk over attribute definitions.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/geometry/font.h>
#include <veltcore/geometry/line.h>

#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "entities/test_entity.h"
#include "geometry/test_font.h"

namespace {

// Cell 10 with the test heights of 10: one drawing unit per font unit. Advance 6, top 8,
// bottom -2.
const ICADFont* textFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (const ICADFont* f = fonts.get("textfont", false)) return f;
  fonts.add(new TestFont("textfont", {10, 2, 6, 8, -2}));
  return fonts.get("textfont", false);
}

bool same(const String& s, const char* expected) {
  return std::strcmp(s.c_str(), expected) == 0;
}

// The standard style carries the registered font; "OTHER" uses it too, "NOFONT" has none.
class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CFontTable::getInstance().setDefault(textFont());
    d = newDrawing();
    standard = &d->getStyleTable().getStyleStandard();
    other = d->getStyleFactory().create("OTHER", textFont(), 0, 1, 0, 0, 0);
    noFont = d->getStyleFactory().create("NOFONT", nullptr, 0, 1, 0, 0, 0);
    d->getStyleTable().add(other);
    d->getStyleTable().add(noFont);
  }
  void TearDown() override {
    d.reset();
    CFontTable::getInstance().setDefault(nullptr);
  }

  TEXT_3D text(const char* s, CStyle* style, double x = 1, double y = 2, double z = 3) const {
    return TEXT_3D(s, style, 10, 0, 1, 0, x, y, z, 0);
  }
  CEntText* newText(CStyle* style) { return createEntText(*d, text("AB", style), 0); }
  CEntAttdef* newAttdef(CStyle* style) {
    return createEntAttdef(*d, text("TAG", style), "default", "Prompt?", 5, 0);
  }
  CEntAttrib* newAttrib(CStyle* style) {
    return d->getEntFactory().createEntAttrib(d->getHandleGestor(), nullptr, nullptr, 256,
                                              text("value", style), "TAG", 9, 0);
  }

  DataPtr d;
  CStyle* standard = nullptr;
  CStyle* other = nullptr;
  CStyle* noFont = nullptr;
};

}  // namespace

// Every operation that changes the style of a listed text, for each of the three classes: the
// counts of both styles after each step, and none left over at the end.
TEST_F(TextTest, StyleCountsFollowTableSettersAndSnapshotsWithoutDrift) {
  const std::function<CEntText*()> makers[] = {[&] { return newText(standard); },
                                               [&] { return newAttdef(standard); },
                                               [&] { return newAttrib(standard); }};
  for (const auto& make : makers) {
    CEntText* e = make();
    const std::string what = "type " + std::to_string(e->getType());
    std::unique_ptr<IEntDerivedMemento> snapshot;
    struct Step {
      const char* what;
      std::function<void()> run;
      long standardCount, otherCount;
    };
    const Step steps[] = {
        {"created: constructors count nothing", [] {}, 0, 0},
        {"added", [&] { d->getEntTable().add(e); }, 1, 0},
        {"snapshot taken", [&] { snapshot.reset(e->createDerivedMemento()); }, 1, 0},
        {"setStyle(other)", [&] { e->setStyle(other); }, 0, 1},
        {"setStyle(other) again", [&] { e->setStyle(other); }, 0, 1},
        {"setText on the standard style", [&] { e->setText(text("X", standard)); }, 1, 0},
        {"setText on other", [&] { e->setText(text("Y", other)); }, 0, 1},
        {"setMemento", [&] { e->setMemento(*d, snapshot.get()); }, 1, 0},
        {"setStyle(null)", [&] { e->setStyle(nullptr); }, 0, 0},
        {"setStyle(other) from null", [&] { e->setStyle(other); }, 0, 1},
        {"removed", [&] { d->getEntTable().remove(e); }, 0, 0},
    };
    for (const Step& s : steps) {
      s.run();
      EXPECT_EQ(standard->getEntities(), s.standardCount) << what << ": " << s.what;
      EXPECT_EQ(other->getEntities(), s.otherCount) << what << ": " << s.what;
    }
    // The layer and linetype were counted and uncounted alongside.
    if (e->getLayer() != nullptr) {
      EXPECT_EQ(e->getLayer()->getEntities(), 0) << what;
    }
    delete e;
  }
}

// Outside any table the setters still move one count, as they do inside.
TEST_F(TextTest, SetStyleOnAnUnlistedTextStillMovesOneCount) {
  const std::unique_ptr<CEntText> t(newText(standard));
  t->setStyle(other);
  EXPECT_EQ(standard->getEntities(), -1);
  EXPECT_EQ(other->getEntities(), 1);
  t->setText(text("Z", standard));
  EXPECT_EQ(standard->getEntities(), 0);
  EXPECT_EQ(other->getEntities(), 0);
}

// The box from the font; the setters that change what is shown renew it; a text that cannot be
// measured collapses onto its insertion point instead of failing.
TEST_F(TextTest, BoxFollowsTheShownStringAndCollapsesWithoutAFont) {
  const std::unique_ptr<CEntText> t(newText(standard));
  const std::unique_ptr<CEntAttdef> def(newAttdef(standard));
  const std::unique_ptr<CEntAttrib> att(newAttrib(standard));
  const RECT_3D atPoint(1, 2, 3, 1, 2, 3);
  struct Step {
    const char* what;
    std::function<void()> run;
    const CEnt* e;
    RECT_3D box;
  };
  const Step steps[] = {
      {"text \"AB\"", [] {}, t.get(), {1, 0, 3, 13, 10, 3}},
      {"definition shows its tag", [] {}, def.get(), {1, 0, 3, 19, 10, 3}},
      {"attribute shows its value", [] {}, att.get(), {1, 0, 3, 31, 10, 3}},
      {"setTag", [&] { def->setTag("T"); }, def.get(), {1, 0, 3, 7, 10, 3}},
      {"attribute setValue", [&] { att->setValue("vv"); }, att.get(), {1, 0, 3, 13, 10, 3}},
      {"setText at another place",
       [&] { t->setText(text("ABC", standard, -4, 0, 0)); },
       t.get(),
       {-4, -2, 0, 14, 8, 0}},
      {"style without a font", [&] { t->setStyle(noFont); }, t.get(), {-4, 0, 0, -4, 0, 0}},
      {"no style at all", [&] { t->setStyle(nullptr); }, t.get(), {-4, 0, 0, -4, 0, 0}},
      {"setText without a style", [&] { t->setText(text("Q", nullptr)); }, t.get(), atPoint},
      {"font back", [&] { t->setStyle(other); }, t.get(), {1, 0, 3, 7, 10, 3}},
  };
  for (const Step& s : steps) {
    s.run();
    EXPECT_EQ(s.e->getBdry(), s.box) << s.what;
  }
  // Built without a style: a box, no crash.
  const std::unique_ptr<CEntText> bare(createEntText(*d, text("AB", nullptr), 0));
  EXPECT_EQ(bare->getBdry(), atPoint);
}

TEST_F(TextTest, AttributeMadeFromADefinition) {
  CLayer* layer = d->getLayerFactory().create("L1", nullptr, 3, 0);
  d->getLayerTable().add(layer);
  const std::unique_ptr<CEntAttdef> def(createEntAttdef(
      *d, layer, nullptr, 5, text("TAG", other, 7, 8, 9), "default", "Prompt?", 0x104, 0));
  TestInsert ins(nullptr, PNT_3D(100, 100, 0));
  ins.setInsert(PNT_3D(100, 100, 0), 2, 3, 1, 1.0);
  const std::unique_ptr<CEntAttrib> att(createEntAttrib(*d, "val", *def, ins, 0));
  ASSERT_NE(att, nullptr);
  EXPECT_TRUE(same(att->getTag(), "TAG"));
  EXPECT_TRUE(same(att->getValue(), "val"));
  EXPECT_EQ(att->getFlags(), 0x104);
  EXPECT_EQ(att->getLayer(), layer);
  EXPECT_EQ(att->getLtype(), nullptr);
  EXPECT_EQ(att->getColor(), 5);
  EXPECT_EQ(att->getStyle(), other);
  EXPECT_NE(att->GetHandle(), def->GetHandle());
  // The definition's placement, untouched by the insert; the box follows the new string.
  EXPECT_EQ(att->getText().getPnt(), PNT_3D(7, 8, 9));
  EXPECT_EQ(att->getText().getContext().getHeight(), 10);
  EXPECT_EQ(att->getBdry(), RECT_3D(7, 6, 9, 25, 16, 9));
  EXPECT_TRUE(same(def->getTag(), "TAG"));
}

// The factory's forms: explicit handles are booked as given, copies get fresh ones and keep
// their class; the calls without layer take the drawing's current settings.
TEST_F(TextTest, FactoryFormsHandlesAndCopies) {
  const std::unique_ptr<CEntText> t(createEntText(*d, nullptr, nullptr, 1, text("A", other), 500));
  const std::unique_ptr<CEntAttdef> def(
      createEntAttdef(*d, nullptr, nullptr, 2, text("T", other), "v", "p", 3, 501));
  EXPECT_EQ(t->GetHandle(), 500);
  EXPECT_EQ(def->GetHandle(), 501);

  const std::unique_ptr<CEntText> current(newText(other));
  EXPECT_EQ(current->getLayer(), d->getVars().getCurLayer());
  EXPECT_EQ(current->getColor(), d->getVars().getCurColor());

  CEntFactory& f = d->getEntFactory();
  const std::unique_ptr<CEntAttdef> defCopy(f.createEntAttdef(d->getHandleGestor(), *def));
  const std::unique_ptr<CEnt> defClone(cloneEnt(*d, *def));
  const CEnt* const copies[] = {defCopy.get(), defClone.get()};
  for (const CEnt* c : copies) {
    const auto* copy = dynamic_cast<const CEntAttdef*>(c);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->GetHandle(), def->GetHandle());
    EXPECT_TRUE(same(copy->getTag(), "T"));
    EXPECT_TRUE(same(copy->getValue(), "v"));
    EXPECT_TRUE(same(copy->getPrompt(), "p"));
    EXPECT_EQ(copy->getFlags(), 3);
    EXPECT_EQ(copy->getBdry(), def->getBdry());
  }
  const std::unique_ptr<CEntAttrib> att(newAttrib(other));
  const std::unique_ptr<CEnt> attClone(cloneEnt(*d, *att));
  const auto* attCopy = dynamic_cast<const CEntAttrib*>(attClone.get());
  ASSERT_NE(attCopy, nullptr);
  EXPECT_TRUE(same(attCopy->getTag(), "TAG"));
  EXPECT_EQ(attCopy->getFlags(), 9);
  const std::unique_ptr<CEnt> textClone(cloneEnt(*d, *t));
  EXPECT_EQ(dynamic_cast<const CEntAttdef*>(textClone.get()), nullptr);
}

// Each snapshot equals its unchanged entity, differs after any one of its fields changes, and
// makes the entity equal again when restored; snapshots of another class never match.
TEST_F(TextTest, SnapshotsRecordAndRestoreEveryField) {
  const std::unique_ptr<CEntText> t(newText(standard));
  const std::unique_ptr<CEntAttdef> def(newAttdef(standard));
  const std::unique_ptr<CEntAttrib> att(newAttrib(standard));
  struct Case {
    const char* what;
    CEntText* e;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"text string", t.get(), [&] { t->getText().getContext().setString("AB!"); }},
      {"text point", t.get(), [&] { t->getText().setPnt(PNT_3D(0, 0, 0)); }},
      {"definition tag", def.get(), [&] { def->setTag("tag"); }},
      {"definition value", def.get(), [&] { def->setValue("Default"); }},
      {"definition prompt", def.get(), [&] { def->setPrompt("prompt?"); }},
      {"definition flags", def.get(), [&] { def->setFlags(4); }},
      {"attribute value", att.get(), [&] { att->setValue("Value"); }},
      {"attribute tag", att.get(), [&] { att->setTag("tag"); }},
      {"attribute flags", att.get(), [&] { att->setFlags(1); }},
  };
  for (const Case& c : cases) {
    const RECT_3D box = c.e->getBdry();
    const std::unique_ptr<IEntDerivedMemento> m(c.e->createDerivedMemento());
    EXPECT_TRUE(*c.e == *m) << c.what;
    c.change();
    c.e->calcBdry();
    EXPECT_TRUE(*c.e != *m) << c.what;
    c.e->setMemento(*d, m.get());
    EXPECT_TRUE(*c.e == *m) << c.what;
    EXPECT_EQ(c.e->getBdry(), box) << c.what;
  }
  const std::unique_ptr<CEntLine> line(createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 1), 0));
  const std::unique_ptr<IEntDerivedMemento> textM(t->createDerivedMemento());
  const std::unique_ptr<IEntDerivedMemento> defM(def->createDerivedMemento());
  const std::unique_ptr<IEntDerivedMemento> attM(att->createDerivedMemento());
  EXPECT_TRUE(*textM != *line);
  EXPECT_TRUE(*defM != *att);
  EXPECT_TRUE(*attM != *def);
  EXPECT_TRUE(*defM != *t);
}

namespace {

// Records the overload each accept reached.
class Recorder : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  std::string seen;
  void visit(CEntText&) override { seen += 'T'; }
  void visit(CEntAttdef&) override { seen += 'D'; }
  void visit(CEntAttrib&) override { seen += 'B'; }
};

// Cares about plain texts only.
class TextsOnly : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  int texts = 0;
  void visit(CEntText&) override { ++texts; }
};

}  // namespace

TEST_F(TextTest, AcceptReachesTheExactOverloadAndTypeCodes) {
  const std::unique_ptr<CEnt> ents[] = {std::unique_ptr<CEnt>(newAttrib(other)),
                                        std::unique_ptr<CEnt>(newText(other)),
                                        std::unique_ptr<CEnt>(newAttdef(other))};
  Recorder r;
  TextsOnly texts;
  std::string types;
  for (const auto& e : ents) {
    e->accept(r);
    e->accept(texts);
    types += std::to_string(e->getType());
  }
  EXPECT_EQ(r.seen, "BTD");
  EXPECT_EQ(texts.texts, 1);
  EXPECT_EQ(types, "967");
}

// The placement point and the box move by the offset, for the three classes, exactly as a text
// built at the target would have them.
TEST_F(TextTest, MoveVisitorMovesPointAndBox) {
  const PNT_3D by(2, -1, 0.5);
  std::unique_ptr<CEntText> moved[] = {std::unique_ptr<CEntText>(newText(other)),
                                       std::unique_ptr<CEntText>(newAttdef(other)),
                                       std::unique_ptr<CEntText>(newAttrib(other))};
  CEntMoveVisitor move(by);
  for (auto& e : moved) {
    TEXT_3D t = e->getText();
    t.getPnt().move(by);
    const std::unique_ptr<CEntText> target(createEntText(*d, t, 0));
    e->accept(move);
    EXPECT_EQ(e->getText().getPnt(), PNT_3D(3, 1, 3.5)) << e->getType();
    EXPECT_EQ(e->getBdry(), target->getBdry()) << e->getType();
  }
}

namespace {

// Claims the definition's type code without being one.
class FakeAttdef : public TestPnt {
 public:
  using TestPnt::TestPnt;
  short getType() const override { return 7; }
};

}  // namespace

// The walk yields the definitions only, in order, each once; a look-alike type code does not
// count, neither for the walk nor for the block's attribute flag.
TEST_F(TextTest, AttdefIteratorWalksDefinitionsOnly) {
  const std::unique_ptr<CBlock> block(d->getBlockFactory().create("B", PNT_3D(1, 1, 0), 0));
  EXPECT_EQ(*CBlock::CAttdefIterator(*block), nullptr);
  block->add(new FakeAttdef(0, nullptr, nullptr, 256, PNT_3D(5, 5, 0)));
  EXPECT_EQ(*CBlock::CAttdefIterator(*block), nullptr);
  EXPECT_EQ(block->getFlags() & CBlock::kHasAttdefs, 0);

  CEntAttdef* first = newAttdef(nullptr);
  CEntAttdef* second = newAttdef(nullptr);
  block->add(createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 0), 0));
  block->add(first);
  block->add(newText(nullptr));
  block->add(newAttrib(nullptr));
  block->add(second);
  block->add(createEntLine(*d, LINE_3D(0, 0, 0, 2, 2, 0), 0));
  EXPECT_NE(block->getFlags() & CBlock::kHasAttdefs, 0);
  // Entering the block moved the definition by minus the base point.
  EXPECT_EQ(first->getText().getPnt(), PNT_3D(0, 1, 3));

  CBlock::CAttdefIterator it(*block);
  EXPECT_EQ(*it, first);
  const CBlock::CAttdefIterator before = it++;
  EXPECT_EQ(*before, first);
  EXPECT_EQ(*it, second);
  EXPECT_EQ(*++it, nullptr);
  EXPECT_EQ(*++it, nullptr);
  EXPECT_EQ(*it++, nullptr);
}
