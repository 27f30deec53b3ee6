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

 private:
  TestFont font_{"txt", {10, 2, 6, 8, -2}};
};

// The golden text of a new drawing, one header variable or table record per line.
// clang-format off
const Pairs kHeaderOfANewDrawing = {
    {0, "SECTION"}, {2, "HEADER"},
    {9, "$ACADVER"}, {1, "AC1009"},
    {9, "$LIMMIN"}, {10, "0.000000"}, {20, "0.000000"},
    {9, "$LIMMAX"}, {10, "420.000000"}, {20, "297.000000"},
    {9, "$LTSCALE"}, {40, "1.000000"},
    {9, "$TEXTSTYLE"}, {7, "STANDARD"},
    {9, "$CLAYER"}, {8, "0"},
    {9, "$CELTYPE"}, {6, "BYLAYER"},
    {9, "$ORTHOMODE"}, {70, "0"},
    {9, "$PLINEGEN"}, {70, "0"},
    {9, "$PLINEWID"}, {40, "0.000000"},
    {9, "$AUNITS"}, {70, "0"},
    {9, "$ANGBASE"}, {50, "0.000000"},
    {9, "$ANGDIR"}, {70, "0"},
    {0, "ENDSEC"},
};

const Pairs kTablesOfANewDrawing = {
    {0, "SECTION"}, {2, "TABLES"},
    {0, "TABLE"}, {2, "LTYPE"}, {70, "1"},
    {0, "LTYPE"}, {2, "Continuous"}, {70, "0"}, {3, "SolidLine"}, {72, "65"}, {73, "0"},
        {40, "0.000000"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "LAYER"}, {70, "1"},
    {0, "LAYER"}, {2, "0"}, {70, "0"}, {62, "7"}, {6, "Continuous"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "STYLE"}, {70, "1"},
    {0, "STYLE"}, {2, "STANDARD"}, {70, "0"}, {40, "0.000000"}, {41, "1.000000"},
        {50, "0.000000"}, {71, "0"}, {42, "2.500000"}, {3, "txt"},
    {0, "ENDTAB"},
    {0, "ENDSEC"},
};

const Pairs kEmptyBlocksEntitiesEof = {
    {0, "SECTION"}, {2, "BLOCKS"}, {0, "ENDSEC"},
    {0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"},
    {0, "EOF"},
};
// clang-format on

Pairs concat(std::vector<Pairs> parts) {
  Pairs all;
  for (const Pairs& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

CLayer* addLayerNamed(CData& d, const char* name, short color, long flags) {
  CLayer* layer = d.getLayerFactory().create(name, &d.getLtypeContinuous(), color, flags);
  addLayer(d, layer);
  return layer;
}

CEntLine* addLine(CData& d, CLayer* layer, double z, long handle) {
  CEntLine* line =
      createEntLine(d, layer, &d.getLtypeByLayer(), 256, LINE_3D(0, 0, z, 1, 1, z), handle);
  d.getEntTable().add(line);
  return line;
}

// The handles (group 5) of the LINE records of pairs, in order.
std::vector<std::string> lineHandles(const Pairs& pairs) {
  std::vector<std::string> handles;
  for (const Pairs& r : recordsOf(pairs, "LINE")) handles.push_back(valueOf(r, 5));
  return handles;
}

TEST_F(DxfSaver, ANewDrawingGivesTheWholeExpectedText) {
  DataPtr d = newDrawing();
  const std::string expected =
      dxfText(concat({kHeaderOfANewDrawing, kTablesOfANewDrawing, kEmptyBlocksEntitiesEof}));
  EXPECT_EQ(saved(*d, 0), expected);
}

TEST_F(DxfSaver, HeaderVariablesAndConvertedCurrentNames) {
  DataPtr d = newDrawing();
  CLayer* layer = addLayerNamed(*d, "A B", 1, 0);
  CLtype* ltype = d->getLtypeFactory().create("LONG DASH", "", nullptr, 0, 0);
  addLtype(*d, ltype);
  CStyle* style = d->getStyleFactory().create("ROMAN S", nullptr, 0, 1, 0, 2.5, 0);
  addStyle(*d, style);
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

  const Pairs expected = {
      {9, "$ACADVER"},    {1, "AC1009"},     {9, "$LIMMIN"},     {10, "-10.000000"},
      {20, "-20.500000"}, {9, "$LIMMAX"},    {10, "841.000000"}, {20, "594.000000"},
      {9, "$LTSCALE"},    {40, "0.250000"},  {9, "$TEXTSTYLE"},  {7, "ROMAN_S"},
      {9, "$CLAYER"},     {8, "A_B"},        {9, "$CELTYPE"},    {6, "LONG_DASH"},
      {9, "$ORTHOMODE"},  {70, "1"},         {9, "$PLINEGEN"},   {70, "1"},
      {9, "$PLINEWID"},   {40, "0.700000"},  {9, "$AUNITS"},     {70, "3"},
      {9, "$ANGBASE"},    {50, "45.000000"}, {9, "$ANGDIR"},     {70, "1"},
  };
  EXPECT_EQ(sectionOf(savedPairs(*d, 0), "HEADER"), expected);
}

TEST_F(DxfSaver, LinetypeRecordsWriteLengthElementsOnly) {
  DataPtr d = newDrawing();
  CLtype* ltype = d->getLtypeFactory().create("DASH DOT", "__ . __", nullptr, 0, 0x8000 | 64);
  ltype->AddDashDouble(1.25);
  ltype->AddDashText(TEXT_3D());
  ltype->AddDashDouble(-0.5);
  addLtype(*d, ltype);
  const Pairs tables = sectionOf(savedPairs(*d, 0), "TABLES");
  const std::vector<Pairs> ltypes = recordsOf(tables, "LTYPE");
  ASSERT_EQ(ltypes.size(), 2u);
  const Pairs expected = {{0, "LTYPE"},     {2, "DASH_DOT"},  {70, "32832"},
                          {3, "__ . __"},   {72, "65"},       {73, "3"},
                          {40, "1.750000"}, {49, "1.250000"}, {49, "-0.500000"}};
  EXPECT_EQ(ltypes[1], expected);
}

TEST_F(DxfSaver, LayerRecordsCarryOffAsANegativeColour) {
  DataPtr d = newDrawing();
  struct Case {
    const char* name;
    short color;
    long flags;
    const char* flagsWritten;
    const char* colorWritten;
  };
  const std::vector<Case> cases = {
      {"OFF", 3, CLayer::kOff, "0", "-3"},
      {"FROZEN OFF", 3, CLayer::kOff | CLayer::kFrozen | CLayer::kLocked, "5", "-3"},
      {"PRIVATE", 12, CLayer::kPrivate | CLayer::kFrozen, "1", "12"},
      {"ON", 255, 0, "0", "255"},
  };
  for (const Case& c : cases) addLayerNamed(*d, c.name, c.color, c.flags);
  const std::vector<Pairs> layers = recordsOf(sectionOf(savedPairs(*d, 0), "TABLES"), "LAYER");
  ASSERT_EQ(layers.size(), cases.size() + 1);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Pairs& r = layers[i + 1];
    EXPECT_EQ(valueOf(r, 70), cases[i].flagsWritten) << cases[i].name;
    EXPECT_EQ(valueOf(r, 62), cases[i].colorWritten) << cases[i].name;
    EXPECT_EQ(valueOf(r, 6), "Continuous") << cases[i].name;
  }
  EXPECT_EQ(valueOf(layers[2], 2), "FROZEN_OFF");
}

TEST_F(DxfSaver, StyleRecordsSkipShapesButCountThem) {
  DataPtr d = newDrawing();
  TestFont roman("romans", {10, 2, 6, 8, -2});
  addStyle(*d, d->getStyleFactory().create("SHAPES", &roman, 0, 1, 0, 1, CStyle::kShape));
  addStyle(*d, d->getStyleFactory().create("SLANT", &roman, 3.5, 0.8, 0.2617993877991494, 4,
                                           CStyle::kBold | CStyle::kVertical));
  const Pairs tables = sectionOf(savedPairs(*d, 0), "TABLES");
  const std::vector<Pairs> styles = recordsOf(tables, "STYLE");
  ASSERT_EQ(styles.size(), 2u);  // STANDARD and SLANT
  const std::vector<Pairs> tableHeads = recordsOf(tables, "TABLE");
  ASSERT_EQ(tableHeads.size(), 3u);
  EXPECT_EQ(valueOf(tableHeads[2], 70), "3");  // the shape style is counted
  const Pairs expected = {{0, "STYLE"},     {2, "SLANT"},     {70, "4"},
                          {40, "3.500000"}, {41, "0.800000"}, {50, "15.000000"},
                          {71, "0"},        {42, "4.000000"}, {3, "romans"}};
  EXPECT_EQ(styles[1], expected);
}

TEST_F(DxfSaver, AStyleWithoutAFontNamesNone) {
  CFontTable::getInstance().setDefault(nullptr);
  DataPtr d = newDrawing();
  const std::vector<Pairs> styles = recordsOf(sectionOf(savedPairs(*d, 0), "TABLES"), "STYLE");
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_EQ(valueOf(styles[0], 3), "");
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
  const Pairs pairs = savedPairs(*d, 0);

  const Pairs expectedBlocks = {
      {0, "BLOCK"},     {8, "0"},         {2, "PLAN"},
      {70, "4"},        {10, "0.000000"}, {20, "0.000000"},
      {30, "0.000000"}, {3, "PLAN"},      {1, "C:\\plans\\ground floor.dxf"},
      {0, "ENDBLK"},
  };
  EXPECT_EQ(sectionOf(pairs, "BLOCKS"), expectedBlocks);

  const Pairs tables = sectionOf(pairs, "TABLES");
  const std::vector<Pairs> layers = recordsOf(tables, "LAYER");
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(valueOf(layers[1], 2), "PLAN_WALLS");
  EXPECT_EQ(valueOf(layers[1], 70), "16");
  EXPECT_EQ(valueOf(layers[1], 6), "PLAN_DASHED");
  const std::vector<Pairs> ltypes = recordsOf(tables, "LTYPE");
  ASSERT_EQ(ltypes.size(), 2u);
  EXPECT_EQ(valueOf(ltypes[1], 2), "PLAN_DASHED");
  EXPECT_EQ(valueOf(ltypes[1], 70), "16");
  // The reference's styles stay in its own file.
  EXPECT_EQ(recordsOf(tables, "STYLE").size(), 1u);
  const std::vector<Pairs> heads = recordsOf(tables, "TABLE");
  ASSERT_EQ(heads.size(), 3u);
  EXPECT_EQ(valueOf(heads[0], 70), "2");
  EXPECT_EQ(valueOf(heads[1], 70), "2");
  EXPECT_EQ(valueOf(heads[2], 70), "1");
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
  std::mylist<CEnt*> middleEnts = {
      new TestInsert(inner, PNT_3D(0, 0, 0), &d->getLayer0(), &d->getLtypeByLayer())};
  blocks.redefine(middle, PNT_3D(0, 0, 0), 0, middleEnts);
  std::mylist<CEnt*> outerEnts = {
      new TestInsert(middle, PNT_3D(0, 0, 0), &d->getLayer0(), &d->getLtypeByLayer()),
      new TestInsert(inner, PNT_3D(1, 0, 0), &d->getLayer0(), &d->getLtypeByLayer())};
  blocks.redefine(outer, PNT_3D(0, 0, 0), 0, outerEnts);

  std::vector<std::string> order;
  for (const Pairs& r : recordsOf(sectionOf(savedPairs(*d, 0), "BLOCKS"), "BLOCK"))
    order.push_back(valueOf(r, 2));
  EXPECT_EQ(order, (std::vector<std::string>{"INNER", "MIDDLE", "OUTER"}));
}

TEST_F(DxfSaver, NoHeaderOrTablesWithFlag8) {
  DataPtr d = newDrawing();
  addLine(*d, &d->getLayer0(), 0, 0x60);
  const Pairs pairs = savedPairs(*d, CFileDXFOSaver::kNoHeaderTables);
  ASSERT_GE(pairs.size(), 2u);
  EXPECT_EQ(pairs[0], (Pair{0, "SECTION"}));
  EXPECT_EQ(pairs[1], (Pair{2, "BLOCKS"}));
  EXPECT_TRUE(sectionOf(pairs, "HEADER").empty());
  EXPECT_TRUE(sectionOf(pairs, "TABLES").empty());
  EXPECT_EQ(lineHandles(sectionOf(pairs, "ENTITIES")), std::vector<std::string>{"60"});
  EXPECT_EQ(pairs.back(), (Pair{0, "EOF"}));
}

TEST_F(DxfSaver, Flag2SkipsEntitiesOnFrozenOrOffLayersOutsideBlocksOnly) {
  DataPtr d = newDrawing();
  CLayer* frozen = addLayerNamed(*d, "FROZEN", 1, CLayer::kFrozen);
  CLayer* off = addLayerNamed(*d, "OFF", 1, CLayer::kOff);
  CLayer* locked = addLayerNamed(*d, "LOCKED", 1, CLayer::kLocked);
  addLine(*d, frozen, 0, 0x60);
  addLine(*d, off, 0, 0x61);
  addLine(*d, locked, 0, 0x62);
  addLine(*d, &d->getLayer0(), 0, 0x63);
  CBlock* block = d->getBlockFactory().create("B", 0);
  block->add(
      createEntLine(*d, frozen, &d->getLtypeByLayer(), 256, LINE_3D(0, 0, 0, 1, 0, 0), 0x70));
  d->getBlockTable().add(block);

  const Pairs all = savedPairs(*d, 0);
  EXPECT_EQ(lineHandles(sectionOf(all, "ENTITIES")),
            (std::vector<std::string>{"60", "61", "62", "63"}));
  const Pairs skipping = savedPairs(*d, CFileDXFOSaver::kSkipFrozen);
  EXPECT_EQ(lineHandles(sectionOf(skipping, "ENTITIES")), (std::vector<std::string>{"62", "63"}));
  EXPECT_EQ(lineHandles(sectionOf(skipping, "BLOCKS")), std::vector<std::string>{"70"});
}

TEST_F(DxfSaver, Flag4WritesTheSelectionInItsOrder) {
  DataPtr d = newDrawing();
  CEntLine* a = addLine(*d, &d->getLayer0(), 0, 0x60);
  addLine(*d, &d->getLayer0(), 0, 0x61);
  CEntLine* c = addLine(*d, &d->getLayer0(), 0, 0x62);
  d->getEntTable().select(c);
  d->getEntTable().select(a);
  EXPECT_EQ(lineHandles(sectionOf(savedPairs(*d, CFileDXFOSaver::kSelectedOnly), "ENTITIES")),
            (std::vector<std::string>{"62", "60"}));
  d->getEntTable().unselectAll();
  EXPECT_EQ(lineHandles(sectionOf(savedPairs(*d, CFileDXFOSaver::kSelectedOnly), "ENTITIES")),
            std::vector<std::string>{});
}

TEST_F(DxfSaver, Flag1ZeroesZInEntitiesAndBlocks) {
  DataPtr d = newDrawing();
  addLine(*d, &d->getLayer0(), 3, 0x60);
  CBlock* block = d->getBlockFactory().create("B", 0);
  block->add(createEntLine(*d, &d->getLayer0(), &d->getLtypeByLayer(), 256,
                           LINE_3D(0, 0, 4, 1, 0, 4), 0x70));
  d->getBlockTable().add(block);
  for (unsigned int flags : {0u, 1u}) {
    const Pairs pairs = savedPairs(*d, flags);
    std::vector<Pairs> lines = recordsOf(sectionOf(pairs, "ENTITIES"), "LINE");
    for (const Pairs& r : recordsOf(sectionOf(pairs, "BLOCKS"), "LINE")) lines.push_back(r);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(valueOf(lines[0], 31), flags ? "0.000000" : "3.000000");
    EXPECT_EQ(valueOf(lines[1], 30), flags ? "0.000000" : "4.000000");
    EXPECT_EQ(valueOf(lines[1], 10), "0.000000");  // only Z changes
    EXPECT_EQ(valueOf(lines[1], 11), "1.000000");
  }
}

TEST_F(DxfSaver, EveryReferenceToAnItemUsesItsConvertedName) {
  DataPtr d = newDrawing();
  CLayer* layer = addLayerNamed(*d, "A B", 1, 0);
  addLayerNamed(*d, "A_B", 2, 0);
  d->getVars().setCurLayer(layer);
  addLine(*d, layer, 0, 0x60);
  const Pairs pairs = savedPairs(*d, 0);
  EXPECT_EQ(valueOf(sectionOf(pairs, "HEADER"), 8), "A_B0");
  EXPECT_EQ(valueOf(recordsOf(sectionOf(pairs, "TABLES"), "LAYER")[1], 2), "A_B0");
  EXPECT_EQ(valueOf(recordsOf(sectionOf(pairs, "ENTITIES"), "LINE")[0], 8), "A_B0");
}

TEST_F(DxfSaver, AFullDiskClosesTheFileAndPassesOn) {
  DataPtr d = newDrawing();
  MemoryFile file("out.dxf", "", IFile::kWrite);
  file.setWriteLimit(100);
  EXPECT_THROW(SaveDXF(*d, file, 0), IFile::IFileDiskFull);
  EXPECT_FALSE(file.isOpened());
  EXPECT_EQ(file.closeCount(), 1);
  EXPECT_EQ(file.written(), saved(*d, 0).substr(0, 100));
}

TEST_F(DxfSaver, AFileThatCannotBeCreatedWritesNothing) {
  DataPtr d = newDrawing();
  MemoryFile file("out.dxf", "", IFile::kWrite);
  file.setMissing(true);
  EXPECT_THROW(SaveDXF(*d, file, 0), IFile::IFileCantWrite);
  EXPECT_FALSE(file.isOpened());
  EXPECT_EQ(file.closeCount(), 0);
  EXPECT_EQ(file.written(), "");
}

TEST_F(DxfSaver, SavingLeavesTheHandleManagerAsItWas) {
  DataPtr d = newDrawing();
  addLine(*d, &d->getLayer0(), 0, 0x60);
  const long seed = d->getHandleGestor().nextseed();
  saved(*d, 0);
  EXPECT_EQ(d->getHandleGestor().nextseed(), seed);
  const long next = d->getHandleGestor().bookNext();
  EXPECT_NE(next, 0x60);
  d->getHandleGestor().unbook(next);
}

}  // namespace
