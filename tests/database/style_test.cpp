// tests/database/style_test.cpp: text styles: the standard style a table starts with, the
// table's ownership, flag bits, updateLastHeight, and what equality, copies, assignment and
// snapshots take into account.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/style.h>
#include <veltcore/geometry/font.h>

#include "geometry/test_font.h"

namespace {

const TestFont::Metrics kMetrics{10, 3, 6, 7, -2};

std::unique_ptr<CStyle> makeStyle(const char* name, const ICADFont* font = nullptr,
                                  double fixedHeight = 0.0, long flags = 0) {
  return std::unique_ptr<CStyle>(
      CStyleFactory().create(name, font, fixedHeight, 1.0, 0.0, 2.5, flags));
}

TEST(StyleTable, StartsWithTheStandardStyleAndOwnsWhatIsAdded) {
  TestFont font("txt", kMetrics);
  CFontTable::getInstance().setDefault(&font);
  CStyleTable table;
  CFontTable::getInstance().setDefault(nullptr);
  ASSERT_EQ(table.size(), 1);
  CStyleStandard& standard = table.getStyleStandard();
  EXPECT_EQ(table.get("standard"), &standard);
  EXPECT_STREQ(standard.getName(), "STANDARD");
  EXPECT_EQ(standard.getFont(), &font);
  const double values[] = {standard.getFixedHeight(), standard.getWidthScale(),
                           standard.getOblique(), standard.getLastHeight()};
  EXPECT_EQ(std::vector<double>(values, values + 4), std::vector<double>({0.0, 1.0, 0.0, 2.5}));
  EXPECT_EQ(standard.getFlags(), 0);
  EXPECT_TRUE(standard.isStandard());

  CStyle* notes = makeStyle("Notes").release();
  table.add(notes);
  EXPECT_EQ(table.get("NOTES"), notes);
  table.remove(notes);
  EXPECT_EQ(table.get("notes"), nullptr);
  delete notes;                              // removed items are the caller's again
  table.add(makeStyle("TITLES").release());  // deleted by the table
  std::unique_ptr<CStyle> copy(CStyleFactory().create(standard));
  EXPECT_FALSE(copy->isStandard());  // one standard style per table
  EXPECT_EQ(*copy, standard);
}

TEST(Style, FlagBitsAndLastHeight) {
  auto shape = makeStyle("S", nullptr, 0.0, CStyle::kShape);
  shape->setHoriz(false);
  shape->setBold(true);
  EXPECT_EQ(shape->getFlags(), 1 + 4 + 256);  // vertical is the bit of a style not horizontal
  EXPECT_TRUE(shape->IsShape() && !shape->isHoriz() && shape->isBold() && !shape->isItalic());
  for (double fixed : {0.0, 3.0, -0.0, 1e-300, -2.0}) {
    auto s = makeStyle("S", nullptr, fixed);
    s->updateLastHeight(5.0);
    EXPECT_EQ(s->getLastHeight(), fixed == 0.0 ? 5.0 : 2.5) << fixed;
  }
}

// One change at a time: whether the style still equals its unchanged copy, and whether a
// snapshot taken before the change still matches (setMemento must then undo the change).
TEST(Style, WhatEqualityAndSnapshotsSee) {
  TestFont fontA("a", kMetrics), fontB("b", kMetrics);
  using Change = void (*)(CStyle&, const ICADFont* other);
  const struct {
    const char* what;
    Change change;
    bool equal, snapshotEqual;
  } cases[] = {
      {"last height", [](CStyle& s, const ICADFont*) { s.setLastHeight(9.0); }, true, false},
      {"name case", [](CStyle& s, const ICADFont*) { s.setName("notes"); }, true, false},
      {"linetype uses", [](CStyle& s, const ICADFont*) { s.AddLtype(); }, true, true},
      {"entities", [](CStyle& s, const ICADFont*) { s.addEntity(); }, true, true},
      {"font", [](CStyle& s, const ICADFont* f) { s.setFont(f); }, false, false},
      {"fixed height", [](CStyle& s, const ICADFont*) { s.setFixedHeight(0.0); }, false, false},
      {"width scale", [](CStyle& s, const ICADFont*) { s.setWidthScale(0.9); }, false, false},
      {"oblique", [](CStyle& s, const ICADFont*) { s.setOblique(0.2); }, false, false},
      {"flags", [](CStyle& s, const ICADFont*) { s.setItalic(true); }, false, false},
  };
  const auto base = makeStyle("NOTES", &fontA, 1.0, 256);
  for (const auto& c : cases) {
    std::unique_ptr<CStyle> other(CStyleFactory().create(*base));
    std::unique_ptr<CStyleMemento> m(other->createMemento());
    c.change(*other, &fontB);
    EXPECT_EQ(*other == *base, c.equal) << c.what;
    EXPECT_EQ(*other != *base, !c.equal) << c.what;
    EXPECT_EQ(*m == *other, c.snapshotEqual) << c.what;
    other->setMemento(*m);
    EXPECT_TRUE(*m == *other && *other == *base) << c.what;
  }
}

TEST(Style, CopyKeepsLinetypeUsesAssignmentKeepsTheTargets) {
  auto source = makeStyle("SRC", nullptr, 2.0);
  source->setLastHeight(4.0);
  source->AddLtype();
  source->AddLtype();
  source->addEntity();
  std::unique_ptr<CStyle> copy(CStyleFactory().create(*source));
  EXPECT_EQ(copy->GetNoLtype(), 2);
  EXPECT_EQ(copy->getEntities(), 0);
  EXPECT_EQ(copy->getLastHeight(), 4.0);
  auto target = makeStyle("DST");
  target->AddLtype();
  *target = *source;
  EXPECT_EQ(target->GetNoLtype(), 1);
  EXPECT_EQ(target->getEntities(), 1);
  EXPECT_EQ(target->getLastHeight(), 4.0);
  EXPECT_EQ(*target, *source);
}

}  // namespace
