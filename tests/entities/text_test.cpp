// tests/entities/text_test.cpp: the text, attribute definition and attribute entities: style
// counts through every operation that moves them, boxes (with and without a font), snapshots
// field by field, the factory forms and the block's walk over attribute definitions.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
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
  for (CEntText* e :
       {static_cast<CEntText*>(newText(standard)), static_cast<CEntText*>(newAttdef(standard)),
        static_cast<CEntText*>(newAttrib(standard))}) {
    const std::unique_ptr<CEntText> owned(e);
    std::unique_ptr<IEntDerivedMemento> snapshot;
    const struct {
      const char* what;
      std::function<void()> run;
      long standardCount, otherCount;
    } steps[] = {
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
        // Outside any table the setters still move one count.
        {"unlisted setStyle", [&] { e->setStyle(standard); }, 1, -1},
        {"unlisted setText", [&] { e->setText(text("Z", other)); }, 0, 0},
    };
    for (const auto& s : steps) {
      s.run();
      EXPECT_EQ(standard->getEntities(), s.standardCount) << e->getType() << ": " << s.what;
      EXPECT_EQ(other->getEntities(), s.otherCount) << e->getType() << ": " << s.what;
    }
    EXPECT_TRUE(e->getLayer() == nullptr || e->getLayer()->getEntities() == 0) << e->getType();
  }
}

// The box from the font; the setters that change what is shown renew it; a text that cannot be
// measured collapses onto its insertion point instead of failing.
TEST_F(TextTest, BoxFollowsTheShownStringAndCollapsesWithoutAFont) {
  const std::unique_ptr<CEntText> t(newText(standard));
  const std::unique_ptr<CEntAttdef> def(newAttdef(standard));
  const std::unique_ptr<CEntAttrib> att(newAttrib(standard));
  const std::unique_ptr<CEntText> bare(createEntText(*d, text("AB", nullptr), 0));
  const RECT_3D atPoint(1, 2, 3, 1, 2, 3);
  const struct {
    const char* what;
    std::function<void()> run;
    const CEnt* e;
    RECT_3D box;
  } steps[] = {
      {"text \"AB\"", [] {}, t.get(), {1, 0, 3, 13, 10, 3}},
      {"definition shows its tag", [] {}, def.get(), {1, 0, 3, 19, 10, 3}},
      {"attribute shows its value", [] {}, att.get(), {1, 0, 3, 31, 10, 3}},
      {"built without a style", [] {}, bare.get(), atPoint},
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
  for (const auto& s : steps) {
    s.run();
    EXPECT_EQ(s.e->getBdry(), s.box) << s.what;
  }
}

// Explicit handles are booked as given; the calls without layer take the drawing's current
// settings.
TEST_F(TextTest, FactoryFormsHandlesAndCurrentSettings) {
  const std::unique_ptr<CEntText> t(createEntText(*d, nullptr, nullptr, 1, text("A", other), 500));
  const std::unique_ptr<CEntAttdef> def(
      createEntAttdef(*d, nullptr, nullptr, 2, text("T", other), "v", "p", 3, 501));
  EXPECT_EQ(t->GetHandle(), 500);
  EXPECT_EQ(def->GetHandle(), 501);
  const std::unique_ptr<CEntText> current(newText(other));
  EXPECT_EQ(current->getLayer(), d->getVars().getCurLayer());
  EXPECT_EQ(current->getColor(), d->getVars().getCurColor());
}

// Each snapshot differs after any one of its fields changes and makes the entity equal again
// when restored.
TEST_F(TextTest, SnapshotsRecordAndRestoreEveryField) {
  const std::unique_ptr<CEntText> t(newText(standard));
  const std::unique_ptr<CEntAttdef> def(newAttdef(standard));
  const std::unique_ptr<CEntAttrib> att(newAttrib(standard));
  const struct {
    const char* what;
    CEntText* e;
    std::function<void()> change;
  } cases[] = {
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
  for (const auto& c : cases) {
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
  auto line = [&] { return createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 0), 0); };
  for (CEnt* e :
       std::vector<CEnt*>{line(), first, newText(nullptr), newAttrib(nullptr), second, line()})
    block->add(e);
  EXPECT_NE(block->getFlags() & CBlock::kHasAttdefs, 0);
  // Entering the block moved the definition by minus the base point.
  EXPECT_EQ(first->getText().getPnt(), PNT_3D(0, 1, 3));

  CBlock::CAttdefIterator it(*block);
  EXPECT_EQ(*it, first);
  const CBlock::CAttdefIterator before = it++;
  EXPECT_EQ(*before, first);
  EXPECT_EQ(*it, second);
  EXPECT_EQ(*++it, nullptr);
  EXPECT_EQ(*it++, nullptr);
  EXPECT_EQ(*it, nullptr);
}
