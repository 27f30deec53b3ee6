// tests/dxf/out/saver_test.cpp: whole files written by SaveDXF: the sections of a new drawing,
// header variables, table records, external references and block order, the four option
// bits, and what happens when the file cannot be written.
#include <veltcore/dxf/out/saver.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/line.h>
#include <veltcore/geometry/font.h>
#include "database/test_drawing.h"
#include "database/test_insert.h"
#include "dxf/memory_file.h"
#include "dxf/out/dxf_pairs.h"
#include "geometry/test_font.h"

namespace {

// Registers a default font, so that the standard style of new drawings names it.
class DxfSaver : public ::testing::Test {
 protected:
  void SetUp() override { CFontTable::getInstance().setDefault(&font_); }
  void TearDown() override { CFontTable::getInstance().setDefault(nullptr); }

  // The text SaveDXF writes for d with flags.
  static std::string saved(const CData& d, unsigned int flags) {
    MemoryFile file("out.dxf", "", IFile::kWrite);
    SaveDXF(d, file, flags);
    EXPECT_FALSE(file.isOpened());
    return file.written();
  }
  static Pairs savedPairs(const CData& d, unsigned int flags) { return pairsOf(saved(d, flags)); }
  static Pairs tables(const CData& d) { return sectionOf(savedPairs(d, 0), "TABLES"); }

 private:
  TestFont font_{"txt", {10, 2, 6, 8, -2}};
};

CLayer* addLayerNamed(CData& d, const char* name, short color, long flags) {
  CLayer* layer = d.getLayerFactory().create(name, &d.getLtypeContinuous(), color, flags);
  addLayer(d, layer);
  return layer;
}

CEntLine* lineOn(CData& d, CLayer* layer, double z, long handle) {
  return createEntLine(d, layer, &d.getLtypeByLayer(), 256, LINE_3D(0, 0, z, 1, 1, z), handle);
}

// The handles (group 5) of the LINE records of a section, in order.
std::string lineHandles(const Pairs& pairs, const char* section) {
  std::string handles;
  for (const Pairs& r : recordsOf(sectionOf(pairs, section), "LINE"))
    handles += valueOf(r, 5) + " ";
  return handles;
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

TEST_F(DxfSaver, HeaderVariablesAndConvertedCurrentNames) {
  DataPtr d = newDrawing();
  CLtype* ltype = d->getLtypeFactory().create("LONG DASH", "", nullptr, 0, 0);
  addLtype(*d, ltype);
  CStyle* style = d->getStyleFactory().create("ROMAN S", nullptr, 0, 1, 0, 2.5, 0);
  addStyle(*d, style);
  CDataVariables& vars = d->getVars();
  vars.setLimMin(PNT_2D(-10, -20.5));
  vars.setLimMax(PNT_2D(841, 594));
  vars.setLtypeScale(0.25);
  vars.setCurLayer(addLayerNamed(*d, "A B", 1, 0));
  vars.setCurLtype(ltype);
  vars.setCurStyle(style);
  vars.setCurColor(3);  // not written
  vars.setOrtho(true);
  vars.setPLineGen(true);
  vars.setPLineWid(0.7);
  vars.setAngFormat(3);
  vars.setAngDir(std::acos(-1.0) / 4);
  vars.setAngClockWise(true);
  EXPECT_EQ(sectionOf(savedPairs(*d, 0), "HEADER"),
            pairs("9 $ACADVER;1 AC1009;9 $LIMMIN;10 -10.000000;20 -20.500000;9 $LIMMAX;"
                  "10 841.000000;20 594.000000;9 $LTSCALE;40 0.250000;9 $TEXTSTYLE;7 ROMAN_S;"
                  "9 $CLAYER;8 A_B;9 $CELTYPE;6 LONG_DASH;9 $ORTHOMODE;70 1;9 $PLINEGEN;70 1;"
                  "9 $PLINEWID;40 0.700000;9 $AUNITS;70 3;9 $ANGBASE;50 45.000000;9 $ANGDIR;70 1"));
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
  const Pairs t = tables(*d);

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
  const std::vector<Pairs> heads = recordsOf(t, "TABLE");
  ASSERT_EQ(heads.size(), 3u);
  EXPECT_EQ(valueOf(heads[2], 70), "3");  // the shape style is counted

  // A style without a font names none.
  CFontTable::getInstance().setDefault(nullptr);
  DataPtr bare = newDrawing();
  EXPECT_EQ(valueOf(recordsOf(tables(*bare), "STYLE").at(0), 3), "");
}

TEST_F(DxfSaver, ExternalReferencesAreEmptyBlocksAndTheirItemsAreListed) {
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
  const Pairs all = savedPairs(*d, 0);
  EXPECT_EQ(sectionOf(all, "BLOCKS"),
            pairs("0 BLOCK;8 0;2 PLAN;70 4;10 0.000000;20 0.000000;30 0.000000;3 PLAN;"
                  "1 C:\\plans\\ground floor.dxf;0 ENDBLK"));
  const Pairs t = sectionOf(all, "TABLES");
  EXPECT_EQ(recordsOf(t, "LAYER").at(1), pairs("0 LAYER;2 PLAN_WALLS;70 16;62 2;6 PLAN_DASHED"));
  EXPECT_EQ(valueOf(recordsOf(t, "LTYPE").at(1), 2), "PLAN_DASHED");
  EXPECT_EQ(valueOf(recordsOf(t, "LTYPE").at(1), 70), "16");
  // The reference's styles stay in its own file.
  EXPECT_EQ(recordsOf(t, "STYLE").size(), 1u);
  std::string counts;
  for (const Pairs& head : recordsOf(t, "TABLE")) counts += valueOf(head, 70);
  EXPECT_EQ(counts, "221");
}

TEST_F(DxfSaver, ABlockFollowsTheBlocksItInserts) {
  DataPtr d = newDrawing();
  CBlockTable& blocks = d->getBlockTable();
  // Added first, so the graph lists it first; redefined below to insert the other two.
  CBlock* outer = d->getBlockFactory().create("OUTER", 0);
  blocks.add(outer);
  CBlock* inner = d->getBlockFactory().create("INNER", 0);
  blocks.add(inner);
  CBlock* middle = d->getBlockFactory().create("MIDDLE", 0);
  blocks.add(middle);
  auto insert = [&](CBlock* b, double x) {
    return new TestInsert(b, PNT_3D(x, 0, 0), &d->getLayer0(), &d->getLtypeByLayer());
  };
  blocks.redefine(middle, PNT_3D(0, 0, 0), 0, std::mylist<CEnt*>{insert(inner, 0)});
  blocks.redefine(outer, PNT_3D(0, 0, 0), 0,
                  std::mylist<CEnt*>{insert(middle, 0), insert(inner, 1)});
  std::string order;
  for (const Pairs& r : recordsOf(sectionOf(savedPairs(*d, 0), "BLOCKS"), "BLOCK"))
    order += valueOf(r, 2) + " ";
  EXPECT_EQ(order, "INNER MIDDLE OUTER ");
}

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
  // 1 writes every Z as 0, 2 skips entities on frozen or off layers (outside blocks only), 4
  // writes the selection in its order, 8 leaves out the header and the tables.
  const Case cases[] = {
      {0, "60 61 62 63 ", "HEADER", "3.000000 4.000000"},
      {CFileDXFOSaver::kFlat, "60 61 62 63 ", "HEADER", "0.000000 0.000000"},
      {CFileDXFOSaver::kSkipFrozen, "62 63 ", "HEADER", "0.000000 4.000000"},
      {CFileDXFOSaver::kSelectedOnly, "62 60 ", "HEADER", "0.000000 4.000000"},
      {CFileDXFOSaver::kNoHeaderTables, "60 61 62 63 ", "BLOCKS", "3.000000 4.000000"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.flags);
    const Pairs all = savedPairs(*d, k.flags);
    EXPECT_EQ(lineHandles(all, "ENTITIES"), k.entities);
    EXPECT_EQ(lineHandles(all, "BLOCKS"), "70 ");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[1], (Pair{2, k.firstSection}));
    EXPECT_EQ(sectionOf(all, "TABLES").empty(), k.flags == CFileDXFOSaver::kNoHeaderTables);
    EXPECT_EQ(all.back(), (Pair{0, "EOF"}));
    const Pairs first = recordsOf(sectionOf(all, "ENTITIES"), "LINE").at(0);
    const Pairs inBlock = recordsOf(sectionOf(all, "BLOCKS"), "LINE").at(0);
    EXPECT_EQ(valueOf(first, 31) + " " + valueOf(inBlock, 30), k.z);
    EXPECT_EQ(valueOf(inBlock, 11), "1.000000");  // only Z changes
  }
  d->getEntTable().unselectAll();
  EXPECT_EQ(lineHandles(savedPairs(*d, CFileDXFOSaver::kSelectedOnly), "ENTITIES"), "");
}

TEST_F(DxfSaver, EveryReferenceToAnItemUsesItsConvertedName) {
  DataPtr d = newDrawing();
  CLayer* layer = addLayerNamed(*d, "A B", 1, 0);
  addLayerNamed(*d, "A_B", 2, 0);
  d->getVars().setCurLayer(layer);
  d->getEntTable().add(lineOn(*d, layer, 0, 0x60));
  const Pairs all = savedPairs(*d, 0);
  EXPECT_EQ(valueOf(sectionOf(all, "HEADER"), 8), "A_B0");
  EXPECT_EQ(valueOf(recordsOf(sectionOf(all, "TABLES"), "LAYER")[1], 2), "A_B0");
  EXPECT_EQ(valueOf(recordsOf(sectionOf(all, "ENTITIES"), "LINE")[0], 8), "A_B0");
}

TEST_F(DxfSaver, FailuresCloseWhatWasOpenedAndPassOn) {
  DataPtr d = newDrawing();
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
}

TEST_F(DxfSaver, SavingLeavesTheHandleManagerAsItWas) {
  DataPtr d = newDrawing();
  d->getEntTable().add(lineOn(*d, &d->getLayer0(), 0, 0x60));
  const long seed = d->getHandleGestor().nextseed();
  saved(*d, 0);
  EXPECT_EQ(d->getHandleGestor().nextseed(), seed);
  const long next = d->getHandleGestor().bookNext();
  EXPECT_NE(next, 0x60);
  d->getHandleGestor().unbook(next);
}

}  // namespace
