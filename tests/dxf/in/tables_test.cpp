// tests/dxf/in/tables_test.cpp: LAYER, STYLE and LTYPE records: their range checks and error
// numbers, the flags they keep, names dependent on external references, the built-in
// linetypes, and the complex linetype elements of the newer reader.
#include <veltcore/database/data.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/linetypes/linetype.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

std::string tables(const std::string& content, const char* acadver = "AC1009") {
  return drawing(section("HEADER", dxf(std::string("9 $ACADVER;1 ") + acadver)) +
                 section("TABLES", content));
}

// A table of one record, its groups given in the compact form of dxf().
std::string layers(const std::string& record) {
  return table("LAYER", dxf("0 LAYER;" + record));
}

std::string styles(const std::string& record) {
  return table("STYLE", dxf("0 STYLE;" + record));
}

std::string ltypes(const std::string& record) {
  return table("LTYPE", dxf("0 LTYPE;" + record));
}

struct LayerCase {
  const char* color;
  const char* flags;
  long error;
  short expectedColor;
  long expectedFlags;
};

TEST(DxfTables, LayerColourAndFlags) {
  const std::vector<LayerCase> cases = {
      {"5", "0", 0, 5, 0},    {"-7", "0", 0, 7, 128},        {"255", "4", 0, 255, 4},
      {"3", "65", 0, 3, 1},   {"0", "0", 9, 0, 0},           {"256", "0", 9, 0, 0},
      {"-256", "0", 9, 0, 0}, {"-2147483648", "0", 9, 0, 0},
  };
  for (const LayerCase& c : cases) {
    SCOPED_TRACE(std::string("colour ") + c.color + ", flags " + c.flags);
    DataPtr d = newDrawing();
    const Outcome out =
        loadText(*d, tables(layers(std::string("2 WALLS;70 ") + c.flags + ";62 " + c.color)));
    ASSERT_EQ(out.error, c.error);
    if (c.error != 0) continue;
    const CLayer* walls = d->getLayerTable().get("WALLS");
    ASSERT_NE(walls, nullptr);
    EXPECT_EQ(walls->getColor(), c.expectedColor);
    EXPECT_EQ(walls->getFlags(), c.expectedFlags);
  }
}

TEST(DxfTables, ALayerOnAnUndefinedLinetypeIsError12AtThatValue) {
  DataPtr d = newDrawing();
  // HEADER: lines 1-10; TABLES: 11-14; TABLE, LAYER, 70: 15-20; LAYER, 2: 21-24; 6: 25-26.
  const Outcome out = loadText(*d, tables(layers("2 WALLS;6 DASHED;62 1;70 0")));
  EXPECT_EQ(out.error, 12);
  EXPECT_EQ(out.line, 26);
  EXPECT_EQ(out.message, "Tipo di linea non presente");
  EXPECT_EQ(d->getLayerTable().get("WALLS"), nullptr);
}

TEST(DxfTables, Layer0IsChangedInPlace) {
  DataPtr d = newDrawing();
  const std::string content =
      ltypes("2 DASHED;72 65;73 2;49 1;49 -0.5") + layers("2 0;6 DASHED;62 5;70 0");
  ASSERT_EQ(loadText(*d, tables(content)).error, 0);
  EXPECT_EQ(d->getLayer0().getColor(), 5);
  EXPECT_STREQ(d->getLayer0().getLtype()->getName().c_str(), "DASHED");
  EXPECT_EQ(d->getLayerTable().size(), 0);
}

TEST(DxfTables, ExternalReferenceLayersAndLinetypes) {
  DataPtr d = newDrawing();
  const std::string content =
      ltypes("2 PLAN|DASH;70 80;72 65;73 1;49 2") + layers("2 PLAN|WALLS;62 3;70 16");
  ASSERT_EQ(loadText(*d, tables(content)).error, 0);
  const CBlockXRef* plan = d->getBlockXRefTable().get("PLAN");
  ASSERT_NE(plan, nullptr);
  EXPECT_FALSE(plan->initialized());
  ASSERT_NE(plan->getLayer("WALLS"), nullptr);
  EXPECT_EQ(plan->getLayer("WALLS")->getColor(), 3);
  ASSERT_NE(plan->getLtype("DASH"), nullptr);
  EXPECT_EQ(plan->getLtype("DASH")->getNoDashes(), 1);
  EXPECT_EQ(d->getLayerTable().get("PLAN|WALLS"), nullptr);

  for (const char* name : {"|WALLS", "WALLS|", "WALLS"}) {
    DataPtr e = newDrawing();
    EXPECT_EQ(loadText(*e, tables(layers("2 " + std::string(name) + ";62 1;70 16"))).error, 7)
        << name;
    EXPECT_EQ(loadText(*e, tables(ltypes("2 " + std::string(name) + ";70 16"))).error, 7) << name;
  }
}

struct StyleCase {
  const char* what;
  std::string content;
  long error;
};

TEST(DxfTables, StyleRecordChecks) {
  testFont();
  const std::vector<StyleCase> cases = {
      {"narrowest width", styles("2 S;3 txt;41 0.01;70 0"), 0},
      {"too narrow", styles("2 S;3 txt;41 0.005;70 0"), 9},
      {"too wide", styles("2 S;3 txt;41 100.5;70 0"), 9},
      {"oblique 85", styles("2 S;3 txt;50 -85;70 0"), 0},
      {"oblique 86", styles("2 S;3 txt;50 86;70 0"), 9},
      {"negative height", styles("2 S;3 txt;40 -1;70 0"), 9},
      {"negative last height", styles("2 S;3 txt;42 -1;70 0"), 9},
      {"not a number", styles("2 S;3 txt;40 nan;70 0"), 9},
      {"shape file without font", styles("2 SHAPES;70 1"), 0},
      {"no font", styles("2 S;70 0"), 7},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    EXPECT_EQ(loadText(*d, tables(c.content)).error, c.error);
    EXPECT_EQ(d->getStyleTable().get("SHAPES"), nullptr);
  }
}

TEST(DxfTables, StylesAreCreatedAndTheStandardStyleChangedInPlace) {
  const ICADFont* font = testFont();
  DataPtr d = newDrawing();
  const std::string content =
      table("STYLE", dxf("0 STYLE;2 NOTES;70 68;40 2;41 0.8;50 15;42 3.5;3 txt;0 STYLE;2 "
                         "standard;70 0;40 0;41 1.5;50 0;42 1;3 txt"));
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

TEST(DxfTables, AnUnknownFontIsError13WhenThereIsNoDefault) {
  const ICADFont* font = testFont();
  DataPtr d = newDrawing();
  CFontTable::getInstance().setDefault(nullptr);
  const Outcome out = loadText(*d, tables(styles("2 S;3 romans.shx;70 0")));
  CFontTable::getInstance().setDefault(font);
  EXPECT_EQ(out.error, 13);
  EXPECT_EQ(out.message, "Font non presente");
}

struct LtypeCase {
  const char* what;
  std::string content;
  const char* acadver;
  long error;
};

TEST(DxfTables, LtypeRecordsOfBothReaders) {
  const std::vector<LtypeCase> cases = {
      {"older: three dashes for two", ltypes("2 D;72 65;73 2;49 1;49 -1;49 1"), "AC1009", 7},
      {"older: count after a dash", ltypes("2 D;49 1;73 1"), "AC1009", 7},
      {"older: negative count", ltypes("2 D;73 -1"), "AC1009", 7},
      {"alignment not A", ltypes("2 D;72 66"), "AC1009", 7},
      {"newer: negative count", ltypes("2 D;73 -1"), "AC1015", 7},
      {"newer: one element too many", ltypes("2 D;73 1;49 1;74 0;49 -1;74 0"), "AC1015", 7},
      {"newer: element type 3", ltypes("2 D;73 1;49 1;74 3"), "AC1014", 7},
      {"newer: element out of order", ltypes("2 D;73 1;49 1;74 4;75 1;46 1"), "AC1014", 7},
      {"newer: shape element", ltypes("2 D;73 1;49 1;74 4;75 1;340 1A;46 1;50 0;44 0;45 0"),
       "AC1014", 0},
  };
  for (const LtypeCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    EXPECT_EQ(loadText(*d, tables(c.content, c.acadver)).error, c.error);
  }
}

TEST(DxfTables, TheNewerReaderKeepsATextElement) {
  DataPtr d = newDrawing();
  const std::string content = ltypes(
      "2 GAS;3 Gas line;70 64;72 65;73 3;49 0.5;74 0;49 -0.2;74 2;75 0;340 11;46 0.1;50 30;44 "
      "-0.1;45 -0.05;9 GAS;49 -0.2;74 0");
  ASSERT_EQ(loadText(*d, tables(content, "AC1015")).error, 0);
  const CLtype* gas = d->getLtypeTable().get("GAS");
  ASSERT_NE(gas, nullptr);
  EXPECT_STREQ(gas->getDesc().c_str(), "Gas line");
  EXPECT_EQ(gas->getFlags(), 0);
  ASSERT_EQ(gas->getNoDashes(), 4);
  EXPECT_DOUBLE_EQ(gas->getPatternLen(), 0.9);
  ASSERT_TRUE(gas->GetDash(2)->IsText());
  const TEXT_3D* text = gas->GetDash(2)->GetText();
  EXPECT_STREQ(text->getContext().getString().c_str(), "GAS");
  EXPECT_EQ(text->getContext().getHeight(), 0.1);
  EXPECT_EQ(text->getContext().getRotate(), 30);  // as read
  EXPECT_EQ(text->getPnt(), PNT_3D(-0.1, -0.05, 0));
  EXPECT_EQ(text->getStyle(), &d->getStyleTable().getStyleStandard());
}

TEST(DxfTables, BuiltInLinetypeNamesAreIgnored) {
  DataPtr d = newDrawing();
  const std::string content =
      table("LTYPE", dxf("0 LTYPE;2 CONTINUOUS;72 65;73 0;0 LTYPE;2 ByBlock;0 LTYPE;2 bylayer"));
  ASSERT_EQ(loadText(*d, tables(content)).error, 0);
  EXPECT_EQ(d->getLtypeTable().size(), 0);
}

}  // namespace
