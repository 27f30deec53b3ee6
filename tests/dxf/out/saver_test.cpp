// tests/dxf/out/saver_test.cpp: whole files written by SaveDXF: the sections of a new drawing,
// header variables, table records, converted names wherever an item is named, external
// references and block order, the four option bits, and what happens when the file cannot be
// written.

#include <gtest/gtest.h>

#include <cmath>

#include "database/test_insert.h"
#include "dxf/in/dxf_read_support.h"
#include "dxf/out/dxf_pairs.h"

namespace {

// The test font is the default, so that the standard style of new drawings names it.
class DxfSaver : public ::testing::Test {
 protected:
  void SetUp() override { dxftest::testFont(); }
  void TearDown() override { CFontTable::getInstance().setDefault(nullptr); }

  static std::string saved(const CData& d, unsigned int flags) {
    MemoryFile file("out.dxf", "", IFile::kWrite);
    SaveDXF(d, file, flags);
    EXPECT_FALSE(file.isOpened());
    return file.written();
  }
  static Pairs savedPairs(const CData& d, unsigned int flags = 0) {
    return pairsOf(saved(d, flags));
  }
};

CLayer* addLayerNamed(CData& d, const char* name, short color, long flags) {
  CLayer* layer = d.getLayerFactory().create(name, &d.getLtypeContinuous(), color, flags);
  addLayer(d, layer);
  return layer;
}

CEntLine* lineOn(CData& d, CLayer* layer, double z, long handle) {
  return createEntLine(d, layer, &d.getLtypeByLayer(), 256, LINE_3D(0, 0, z, 1, 1, z), handle);
}

// The values of one group of the given records of a section, each followed by a blank.
std::string valuesOf(const Pairs& all, const char* section, const char* type, int code) {
  std::string values;
  for (const Pairs& r : recordsOf(sectionOf(all, section), type)) values += valueOf(r, code) + " ";
  return values;
}

TEST_F(DxfSaver, ANewDrawingGivesTheWholeExpectedText) {
  DataPtr d = newDrawing();
  const std::string header =
      "0 SECTION;2 HEADER;9 $ACADVER;1 AC1009;9 $LIMMIN;10 0.000000;20 0.000000;9 $LIMMAX;"
      "10 420.000000;20 297.000000;9 $LTSCALE;40 1.000000;9 $TEXTSTYLE;7 STANDARD;9 $CLAYER;8 0;"
      "9 $CELTYPE;6 BYLAYER;9 $ORTHOMODE;70 0;9 $PLINEGEN;70 0;9 $PLINEWID;40 0.000000;"
      "9 $AUNITS;70 0;9 $ANGBASE;50 0.000000;9 $ANGDIR;70 0;0 ENDSEC;";
  const std::string tables =
      "0 SECTION;2 TABLES;0 TABLE;2 LTYPE;70 1;0 LTYPE;2 Continuous;70 0;3 SolidLine;72 65;73 0;"
      "40 0.000000;0 ENDTAB;0 TABLE;2 LAYER;70 1;0 LAYER;2 0;70 0;62 7;6 Continuous;0 ENDTAB;"
      "0 TABLE;2 STYLE;70 1;0 STYLE;2 STANDARD;70 0;40 0.000000;41 1.000000;50 0.000000;71 0;"
      "42 2.500000;3 txt;0 ENDTAB;0 ENDSEC;";
  const std::string rest = "0 SECTION;2 BLOCKS;0 ENDSEC;0 SECTION;2 ENTITIES;0 ENDSEC;0 EOF";
  EXPECT_EQ(saved(*d, 0), dxfText(pairs(header + tables + rest)));
}

// "A B" meets the drawing's own "A_B" and is written "A_B0" in the header, its record and its
// entities alike.
TEST_F(DxfSaver, HeaderVariablesAndConvertedNamesWhereverAnItemIsNamed) {
  DataPtr d = newDrawing();
  CLtype* ltype = d->getLtypeFactory().create("LONG DASH", "", nullptr, 0, 0);
  addLtype(*d, ltype);
  CStyle* style = d->getStyleFactory().create("ROMAN S", nullptr, 0, 1, 0, 2.5, 0);
  addStyle(*d, style);
  addLayerNamed(*d, "A_B", 2, 0);
  CLayer* layer = addLayerNamed(*d, "A B", 1, 0);
  d->getEntTable().add(lineOn(*d, layer, 0, 0x60));
  CDataVariables& vars = d->getVars();
  vars.setLimMin(PNT_2D(-10, -20.5));
  vars.setLimMax(PNT_2D(841, 594));
  vars.setLtypeScale(0.25);
  vars.setCurLayer(layer);
  vars.setCurLtype(ltype);
  vars.setCurStyle(style);
  vars.setCurColor(3);  // not written
  vars.setOrtho(true);
  vars.setPLineGen(true);
  vars.setPLineWid(0.7);
  vars.setAngFormat(3);
  vars.setAngDir(std::acos(-1.0) / 4);
  vars.setAngClockWise(true);
  const Pairs all = savedPairs(*d);
  EXPECT_EQ(sectionOf(all, "HEADER"),
            pairs("9 $ACADVER;1 AC1009;9 $LIMMIN;10 -10.000000;20 -20.500000;9 $LIMMAX;"
                  "10 841.000000;20 594.000000;9 $LTSCALE;40 0.250000;9 $TEXTSTYLE;7 ROMAN_S;"
                  "9 $CLAYER;8 A_B0;9 $CELTYPE;6 LONG_DASH;9 $ORTHOMODE;70 1;9 $PLINEGEN;70 1;"
                  "9 $PLINEWID;40 0.700000;9 $AUNITS;70 3;9 $ANGBASE;50 45.000000;9 $ANGDIR;70 1"));
  EXPECT_EQ(valuesOf(all, "TABLES", "LAYER", 2), "0 A_B A_B0 ");
  EXPECT_EQ(valuesOf(all, "ENTITIES", "LINE", 8), "A_B0 ");
}

TEST_F(DxfSaver, TableRecords) {
  DataPtr d = newDrawing();
  // Linetypes write their length elements only.
  CLtype* ltype = d->getLtypeFactory().create("DASH DOT", "__ . __", nullptr, 0, 0x8000 | 64);
  ltype->AddDashDouble(1.25);
  ltype->AddDashText(TEXT_3D());
  ltype->AddDashDouble(-0.5);
  addLtype(*d, ltype);
  // Layers carry "off" as a negative colour and keep only the frozen and locked bits.
  addLayerNamed(*d, "OFF", 3, CLayer::kOff);
  addLayerNamed(*d, "FROZEN OFF", 3, CLayer::kOff | CLayer::kFrozen | CLayer::kLocked);
  addLayerNamed(*d, "PRIVATE", 12, CLayer::kPrivate | CLayer::kFrozen);
  addLayerNamed(*d, "ON", 255, 0);
  // Shape styles are counted in the table head but not written.
  TestFont roman("romans", {10, 2, 6, 8, -2});
  addStyle(*d, d->getStyleFactory().create("SHAPES", &roman, 0, 1, 0, 1, CStyle::kShape));
  addStyle(*d, d->getStyleFactory().create("SLANT", &roman, 3.5, 0.8, 0.2617993877991494, 4,
                                           CStyle::kBold | CStyle::kVertical));
  const Pairs t = sectionOf(savedPairs(*d), "TABLES");
  const std::vector<Pairs> ltypes = recordsOf(t, "LTYPE");
  ASSERT_EQ(ltypes.size(), 2u);
  EXPECT_EQ(ltypes[1], pairs("0 LTYPE;2 DASH_DOT;70 32832;3 __ . __;72 65;73 3;40 1.750000;"
                             "49 1.250000;49 -0.500000"));
  const std::vector<Pairs> layers = recordsOf(t, "LAYER");
  ASSERT_EQ(layers.size(), 5u);
  EXPECT_EQ(layers[1], pairs("0 LAYER;2 OFF;70 0;62 -3;6 Continuous"));
  EXPECT_EQ(layers[2], pairs("0 LAYER;2 FROZEN_OFF;70 5;62 -3;6 Continuous"));
  EXPECT_EQ(layers[3], pairs("0 LAYER;2 PRIVATE;70 1;62 12;6 Continuous"));
  EXPECT_EQ(layers[4], pairs("0 LAYER;2 ON;70 0;62 255;6 Continuous"));
  const std::vector<Pairs> styles = recordsOf(t, "STYLE");
  ASSERT_EQ(styles.size(), 2u);  // STANDARD and SLANT
  EXPECT_EQ(styles[1], pairs("0 STYLE;2 SLANT;70 4;40 3.500000;41 0.800000;50 15.000000;71 0;"
                             "42 4.000000;3 romans"));
  EXPECT_EQ(valueOf(recordsOf(t, "TABLE").at(2), 70), "3");  // the shape style is counted
  // A style without a font names none.
  CFontTable::getInstance().setDefault(nullptr);
  DataPtr bare = newDrawing();
  EXPECT_EQ(valuesOf(savedPairs(*bare), "TABLES", "STYLE", 3), " ");
}

TEST_F(DxfSaver, ExternalReferencesAreEmptyBlocksAndBlocksFollowTheBlocksTheyInsert) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = d->getBlockFactory().createXRef(
      d->getLtypeContinuous(), d->getLtypeByLayer(), d->getLtypeByBlock(), d->getLayer0(), "PLAN",
      "C:\\plans\\ground floor.dxf", PNT_3D(5, 5, 0), 4);
  d->getBlockXRefTable().add(plan);
  CLtypeXRef* dashed =
      d->getLtypeFactory().createXRef(*plan, "DASHED", "", CLtypeComplexDashSeq(), 16);
  plan->add(dashed);
  plan->add(d->getLayerFactory().createXRef(*plan, "WALLS", dashed, 2, 16));
  plan->add(d->getStyleFactory().create("NOTES", nullptr, 0, 1, 0, 1, 0));
  const Pairs all = savedPairs(*d);
  EXPECT_EQ(sectionOf(all, "BLOCKS"),
            pairs("0 BLOCK;8 0;2 PLAN;70 4;10 0.000000;20 0.000000;30 0.000000;3 PLAN;"
                  "1 C:\\plans\\ground floor.dxf;0 ENDBLK"));
  const Pairs t = sectionOf(all, "TABLES");
  EXPECT_EQ(recordsOf(t, "LAYER").at(1), pairs("0 LAYER;2 PLAN_WALLS;70 16;62 2;6 PLAN_DASHED"));
  EXPECT_EQ(valueOf(recordsOf(t, "LTYPE").at(1), 2), "PLAN_DASHED");
  EXPECT_EQ(valueOf(recordsOf(t, "LTYPE").at(1), 70), "16");
  // The reference's styles stay in its own file.
  EXPECT_EQ(valuesOf(all, "TABLES", "TABLE", 70), "2 2 1 ");

  // OUTER is added first, so the graph lists it first, then redefined to insert the others.
  CBlockTable& blocks = d->getBlockTable();
  CBlock* outer = d->getBlockFactory().create("OUTER", 0);
  blocks.add(outer);
  CBlock* inner = d->getBlockFactory().create("INNER", 0);
  blocks.add(inner);
  CBlock* middle = d->getBlockFactory().create("MIDDLE", 0);
  blocks.add(middle);
  auto insert = [&](CBlock* b) {
    return new TestInsert(b, PNT_3D(0, 0, 0), &d->getLayer0(), &d->getLtypeByLayer());
  };
  blocks.redefine(middle, PNT_3D(0, 0, 0), 0, std::mylist<CEnt*>{insert(inner)});
  blocks.redefine(outer, PNT_3D(0, 0, 0), 0, std::mylist<CEnt*>{insert(middle), insert(inner)});
  EXPECT_EQ(valuesOf(savedPairs(*d), "BLOCKS", "BLOCK", 2), "PLAN INNER MIDDLE OUTER ");
}

// 1 writes every Z as 0, 2 skips entities on frozen or off layers (outside blocks only), 4
// writes the selection in its order, 8 leaves out the header and the tables.
TEST_F(DxfSaver, OptionBits) {
  DataPtr d = newDrawing();
  CLayer* frozen = addLayerNamed(*d, "FROZEN", 1, CLayer::kFrozen);
  CEntLine* a = lineOn(*d, frozen, 3, 0x60);
  d->getEntTable().add(a);
  d->getEntTable().add(lineOn(*d, addLayerNamed(*d, "OFF", 1, CLayer::kOff), 0, 0x61));
  CEntLine* c = lineOn(*d, addLayerNamed(*d, "LOCKED", 1, CLayer::kLocked), 0, 0x62);
  d->getEntTable().add(c);
  d->getEntTable().add(lineOn(*d, &d->getLayer0(), 0, 0x63));
  CBlock* block = d->getBlockFactory().create("B", 0);
  block->add(lineOn(*d, frozen, 4, 0x70));
  d->getBlockTable().add(block);
  d->getEntTable().select(c);
  d->getEntTable().select(a);
  struct Case {
    unsigned int flags;
    const char* entities;  // handles of the LINE records of the ENTITIES section
    const char* firstSection;
    const char* z;  // of the first entity line and of the block's line
  };
  const Case cases[] = {
      {0, "60 61 62 63 ", "HEADER", "3.000000 4.000000 "},
      {CFileDXFOSaver::kFlat, "60 61 62 63 ", "HEADER", "0.000000 0.000000 "},
      {CFileDXFOSaver::kSkipFrozen, "62 63 ", "HEADER", "0.000000 4.000000 "},
      {CFileDXFOSaver::kSelectedOnly, "62 60 ", "HEADER", "0.000000 4.000000 "},
      {CFileDXFOSaver::kNoHeaderTables, "60 61 62 63 ", "BLOCKS", "3.000000 4.000000 "}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.flags);
    const Pairs all = savedPairs(*d, k.flags);
    EXPECT_EQ(valuesOf(all, "ENTITIES", "LINE", 5), k.entities);
    EXPECT_EQ(valuesOf(all, "BLOCKS", "LINE", 5), "70 ");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[1], (Pair{2, k.firstSection}));
    EXPECT_EQ(sectionOf(all, "TABLES").empty(), k.flags == CFileDXFOSaver::kNoHeaderTables);
    EXPECT_EQ(all.back(), (Pair{0, "EOF"}));
    const std::string firstZ = valuesOf(all, "ENTITIES", "LINE", 31).substr(0, 9);
    EXPECT_EQ(firstZ + valuesOf(all, "BLOCKS", "LINE", 30), k.z);
    EXPECT_EQ(valuesOf(all, "BLOCKS", "LINE", 11), "1.000000 ");  // only Z changes
  }
  d->getEntTable().unselectAll();
  EXPECT_EQ(valuesOf(savedPairs(*d, CFileDXFOSaver::kSelectedOnly), "ENTITIES", "LINE", 5), "");
}

TEST_F(DxfSaver, FailuresCloseWhatWasOpenedAndPassOnAndHandlesStayAsTheyWere) {
  DataPtr d = newDrawing();
  d->getEntTable().add(lineOn(*d, &d->getLayer0(), 0, 0x60));
  const long seed = d->getHandleGestor().nextseed();
  MemoryFile full("out.dxf", "", IFile::kWrite);
  full.setWriteLimit(100);
  EXPECT_THROW(SaveDXF(*d, full, 0), IFile::IFileDiskFull);
  EXPECT_FALSE(full.isOpened());
  EXPECT_EQ(full.closeCount(), 1);
  EXPECT_EQ(full.written(), saved(*d, 0).substr(0, 100));
  MemoryFile missing("out.dxf", "", IFile::kWrite);
  missing.setMissing(true);
  EXPECT_THROW(SaveDXF(*d, missing, 0), IFile::IFileCantWrite);
  EXPECT_FALSE(missing.isOpened());
  EXPECT_EQ(missing.closeCount(), 0);
  EXPECT_EQ(missing.written(), "");
  EXPECT_EQ(d->getHandleGestor().nextseed(), seed);
  const long next = d->getHandleGestor().bookNext();
  EXPECT_NE(next, 0x60);
  d->getHandleGestor().unbook(next);
}

}  // namespace
