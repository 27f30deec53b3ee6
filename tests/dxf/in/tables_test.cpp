// tests/dxf/in/tables_test.cpp: LAYER, STYLE and LTYPE records: their range checks and error
// numbers, the flags they keep, first definitions winning and layer "0" and the standard style
// changed in place, names dependent on external references, the built-in linetypes, and the
// complex linetype elements of the newer reader.
#include <gtest/gtest.h>

#include <tuple>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

std::string tables(const std::string& content, const std::string& acadver = "AC1009") {
  return drawing(header(acadver) + section("TABLES", content));
}
// A table of one record, its groups given in the compact form of dxf().
std::string records(const std::string& type, const std::string& groups) {
  return table(type, dxf("0 " + type + ";" + groups));
}

TEST(DxfTables, LayerColourFlagsAndLinetype) {
  struct Case {
    const char* color;
    const char* flags;
    long error;
    short expectedColor;
    long expectedFlags;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"5", "0", 0, 5, 0}, {"-7", "0", 0, 7, 128}, {"255", "4", 0, 255, 4}, {"3", "65", 0, 3, 1},
      {"0", "0", 9, 0, 0}, {"256", "0", 9, 0, 0}, {"-256", "0", 9, 0, 0},
      {"-2147483648", "0", 9, 0, 0}
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("colour ") + c.color + ", flags " + c.flags);
    DataPtr d = newDrawing();
    const std::string layer = std::string("2 WALLS;70 ") + c.flags + ";62 " + c.color;
    ASSERT_EQ(loadText(*d, tables(records("LAYER", layer))).error, c.error);
    if (c.error != 0) continue;
    const CLayer* walls = d->getLayerTable().get("WALLS");
    ASSERT_NE(walls, nullptr);
    EXPECT_EQ(walls->getColor(), c.expectedColor);
    EXPECT_EQ(walls->getFlags(), c.expectedFlags);
  }
  // An undefined linetype is error 12 at its value: HEADER is lines 1-10, TABLES 11-14, the
  // table head 15-20, LAYER and 2 21-24, 6 25-26.
  DataPtr d = newDrawing();
  const Outcome out = loadText(*d, tables(records("LAYER", "2 WALLS;6 DASHED;62 1;70 0")));
  EXPECT_EQ(out.error, 12);
  EXPECT_EQ(out.line, 26);
  EXPECT_EQ(d->getLayerTable().get("WALLS"), nullptr);
  // Layer 0 is changed in place; the first definition of a name wins.
  const std::string content =
      table("LTYPE", dxf("0 LTYPE;2 DASHED;72 65;73 2;49 1;49 -0.5;0 LTYPE;2 Dashed;72 65;73 0")) +
      table("LAYER", dxf("0 LAYER;2 0;6 DASHED;62 5;70 0;0 LAYER;2 ROOF;62 2;70 4;0 LAYER;2 roof;"
                         "62 3;70 0"));
  ASSERT_EQ(loadText(*d, tables(content)).error, 0);
  EXPECT_EQ(d->getLayer0().getColor(), 5);
  EXPECT_EQ(d->getLayer0().getLtype()->getNoDashes(), 2);
  ASSERT_EQ(d->getLayerTable().size(), 1);
  const CLayer* roof = d->getLayerTable()[0];
  EXPECT_EQ(std::make_tuple(roof->getColor(), roof->getFlags()), std::make_tuple(2, 4));
}

TEST(DxfTables, ExternalReferenceLayersAndLinetypes) {
  DataPtr d = newDrawing();
  const std::string content = records("LTYPE", "2 PLAN|DASH;70 80;72 65;73 1;49 2") +
                              records("LAYER", "2 PLAN|WALLS;62 3;70 16");
  ASSERT_EQ(loadText(*d, tables(content)).error, 0);
  const CBlockXRef* plan = d->getBlockXRefTable().get("PLAN");
  ASSERT_NE(plan, nullptr);
  EXPECT_FALSE(plan->initialized());
  ASSERT_NE(plan->getLayer("WALLS"), nullptr);
  EXPECT_EQ(plan->getLayer("WALLS")->getColor(), 3);
  ASSERT_NE(plan->getLtype("DASH"), nullptr);
  EXPECT_EQ(plan->getLtype("DASH")->getNoDashes(), 1);
  EXPECT_EQ(d->getLayerTable().get("PLAN|WALLS"), nullptr);
  // The dependent flag needs a name of the form REF|NAME.
  for (const std::string name : {"|WALLS", "WALLS|", "WALLS"}) {
    EXPECT_EQ(loadText(*d, tables(records("LAYER", "2 " + name + ";62 1;70 16"))).error, 7);
    EXPECT_EQ(loadText(*d, tables(records("LTYPE", "2 " + name + ";70 16"))).error, 7) << name;
  }
}

TEST(DxfTables, StyleRecords) {
  const ICADFont* font = testFont();
  // clang-format off
  const std::vector<std::pair<const char*, long>> cases = {
      {"41 0.01", 0}, {"41 0.005", 9}, {"41 100.5", 9}, {"50 -85", 0}, {"50 86", 9}, {"40 -1", 9},
      {"42 -1", 9}, {"40 nan", 9}
  };
  // clang-format on
  for (const auto& [groups, error] : cases) {
    DataPtr d = newDrawing();
    const std::string style = std::string("2 S;3 txt;70 0;") + groups;
    EXPECT_EQ(loadText(*d, tables(records("STYLE", style))).error, error) << groups;
  }
  DataPtr d = newDrawing();
  // A shape file needs no font and is not kept; any other style does.
  EXPECT_EQ(loadText(*d, tables(records("STYLE", "2 SHAPES;70 1"))).error, 0);
  EXPECT_EQ(d->getStyleTable().get("SHAPES"), nullptr);
  EXPECT_EQ(loadText(*d, tables(records("STYLE", "2 S;70 0"))).error, 7);
  CFontTable::getInstance().setDefault(nullptr);
  const Outcome unknownFont = loadText(*d, tables(records("STYLE", "2 S;3 romans.shx;70 0")));
  CFontTable::getInstance().setDefault(font);
  EXPECT_EQ(unknownFont.error, 13);  // with no default font to fall back on

  // Styles are created and the standard style is changed in place.
  d = newDrawing();
  const std::string content =
      table("STYLE", dxf("0 STYLE;2 NOTES;70 68;40 2;41 0.8;50 15;42 3.5;3 txt;0 STYLE;2 "
                         "standard;70 0;40 0;41 1.5;50 0;42 1;3 txt;0 STYLE;2 notes;40 9;3 txt"));
  ASSERT_EQ(loadText(*d, tables(content)).error, 0);
  const CStyle* notes = d->getStyleTable().get("NOTES");
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(notes->getFont(), font);
  EXPECT_EQ(notes->getFlags(), 4);  // bit 64 dropped
  EXPECT_EQ(notes->getFixedHeight(), 2);
  EXPECT_EQ(notes->getWidthScale(), 0.8);
  EXPECT_EQ(notes->getOblique(), 15 * 0.01745329251994);
  EXPECT_EQ(notes->getLastHeight(), 3.5);
  EXPECT_EQ(d->getStyleTable().getStyleStandard().getWidthScale(), 1.5);
  EXPECT_EQ(d->getStyleTable().size(), 2);
}

TEST(DxfTables, LtypeRecordsOfBothReaders) {
  struct Case {
    const char* what;
    std::string groups;
    const char* acadver;
    long error;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"older: three dashes for two", "2 D;72 65;73 2;49 1;49 -1;49 1", "AC1009", 7},
      {"older: count after a dash", "2 D;49 1;73 1", "AC1009", 7},
      {"older: negative count", "2 D;73 -1", "AC1009", 7},
      {"alignment not A", "2 D;72 66", "AC1009", 7},
      {"newer: negative count", "2 D;73 -1", "AC1015", 7},
      {"newer: one element too many", "2 D;73 1;49 1;74 0;49 -1;74 0", "AC1015", 7},
      {"newer: element type 3", "2 D;73 1;49 1;74 3", "AC1014", 7},
      {"newer: element out of order", "2 D;73 1;49 1;74 4;75 1;46 1", "AC1014", 7},
      {"newer: shape element", "2 D;73 1;49 1;74 4;75 1;340 1A;46 1;50 0;44 0;45 0", "AC1014", 0}
  };
  // clang-format on
  for (const Case& c : cases) {
    DataPtr d = newDrawing();
    EXPECT_EQ(loadText(*d, tables(records("LTYPE", c.groups), c.acadver)).error, c.error) << c.what;
  }
  // Built-in names are ignored.
  DataPtr d = newDrawing();
  const std::string builtIns =
      table("LTYPE", dxf("0 LTYPE;2 CONTINUOUS;72 65;73 0;0 LTYPE;2 ByBlock;0 LTYPE;2 bylayer"));
  ASSERT_EQ(loadText(*d, tables(builtIns)).error, 0);
  EXPECT_EQ(d->getLtypeTable().size(), 0);
}

TEST(DxfTables, TheNewerReaderKeepsATextElement) {
  DataPtr d = newDrawing();
  const std::string gas =
      "2 GAS;3 Gas line;70 64;72 65;73 3;49 0.5;74 0;49 -0.2;74 2;75 0;340 11;46 0.1;50 30;"
      "44 -0.1;45 -0.05;9 GAS;49 -0.2;74 0";
  ASSERT_EQ(loadText(*d, tables(records("LTYPE", gas), "AC1015")).error, 0);
  const CLtype* ltype = d->getLtypeTable().get("GAS");
  ASSERT_NE(ltype, nullptr);
  EXPECT_STREQ(ltype->getDesc().c_str(), "Gas line");
  EXPECT_EQ(ltype->getFlags(), 0);
  ASSERT_EQ(ltype->getNoDashes(), 4);
  EXPECT_DOUBLE_EQ(ltype->getPatternLen(), 0.9);
  ASSERT_TRUE(ltype->GetDash(2)->IsText());
  const TEXT_3D* text = ltype->GetDash(2)->GetText();
  EXPECT_STREQ(text->getContext().getString().c_str(), "GAS");
  EXPECT_EQ(text->getContext().getHeight(), 0.1);
  EXPECT_EQ(text->getContext().getRotate(), 30);  // as read
  EXPECT_EQ(text->getPnt(), PNT_3D(-0.1, -0.05, 0));
  EXPECT_EQ(text->getStyle(), &d->getStyleTable().getStyleStandard());
}

}  // namespace
