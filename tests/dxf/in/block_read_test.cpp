// tests/dxf/in/block_read_test.cpp: the block semantor reads a file as one new block: a name in
// use is refused before any parsing; a good read adds the block (hatch lines on layer "0", no
// header variable); a failed read leaves the drawing's tables and handles as they were, blocks
// taken out referencing-first, hatch blocks and new external references included.

#include <gtest/gtest.h>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

Outcome readBlock(CData& d, const char* name, const std::string& text) {
  MemoryFile file("block.dxf", text);
  CFileDXFIBlockSemantor semantor(d, name);
  return load(semantor, d.getEntFactory(), file);
}

const std::string kBadLine = dxf("0 LINE;8 0;10 0;20 0;11 1");  // no 21: error 11
// A square of ANSI31 by a closed polyline path; newer files only.
const std::string kHatch =
    dxf("0 HATCH;8 0;10 0;20 0;30 0;2 ANSI31;70 0;71 0;91 1;92 3;72 0;73 1;93 4;10 0;20 0;10 10;20 "
        "0;10 10;20 10;10 0;20 10;97 0;75 0;76 1;98 0");

// A drawing with layer WALLS (current), block DOOR holding a line, one line on WALLS, and the
// external reference REF.
DataPtr existingDrawing() {
  testFont();
  DataPtr d = newDrawing();
  const std::string text =
      drawing(section("TABLES", table("LAYER", dxf("0 LAYER;2 WALLS;70 0;62 3;6 CONTINUOUS"))) +
              section("BLOCKS", block("DOOR", kLine) + block("REF", "", 4, "/nowhere/ref.dxf")) +
              section("ENTITIES", dxf("0 LINE;8 WALLS;10 0;20 0;11 1;21 1")));
  EXPECT_EQ(loadText(*d, text).error, 0);
  d->getVars().setCurLayer(d->getLayerTable().get("WALLS"));
  return d;
}

// The identity of every table item, in order, and whether each handle below 0x400 is free.
std::vector<const void*> snapshot(CData& d) {
  std::vector<const void*> s;
  for (int i = 0; i < d.getLayerTable().size(); ++i) s.push_back(d.getLayerTable()[i]);
  s.push_back(nullptr);
  for (int i = 0; i < d.getLtypeTable().size(); ++i) s.push_back(d.getLtypeTable()[i]);
  s.push_back(nullptr);
  for (int i = 0; i < d.getStyleTable().size(); ++i) s.push_back(d.getStyleTable()[i]);
  s.push_back(nullptr);
  for (int i = 0; i < d.getBlockTable().size(); ++i) s.push_back(d.getBlockTable()[i]);
  s.push_back(nullptr);
  for (int i = 0; i < d.getBlockXRefTable().size(); ++i) s.push_back(d.getBlockXRefTable()[i]);
  for (long h = 1; h < 0x400; ++h) s.push_back(handleFree(d, h) ? &d : nullptr);
  return s;
}

TEST(BlockRead, ANameInUseIsRefusedAndAGoodReadAddsOneBlock) {
  DataPtr d = existingDrawing();
  const std::vector<const void*> before = snapshot(*d);
  for (const char* name : {"DOOR", "door", "REF", "Ref"})
    EXPECT_THROW(CFileDXFIBlockSemantor(*d, name),
                 IFileDXFISemantor::BlockAlreadyDefinedSemantorError)
        << name;
  {
    CFileDXFIBlockSemantor semantor(*d, "UNUSED");
    EXPECT_EQ(semantor.getVars(), nullptr);
    EXPECT_FALSE(semantor.shouldReadHeaders() || semantor.shouldRespectHandles());
  }  // never read: its block goes with it
  EXPECT_TRUE(snapshot(*d) == before);

  const std::string text =
      drawing(header("AC1015", ";9 $LTSCALE;40 5") + section("BLOCKS", block("INNER", kLine)) +
              section("ENTITIES", dxf("0 LINE;5 2A;8 ROOF;10 0;20 0;11 1;21 1") + kHatch +
                                      insert("INNER") + insert("DOOR")));
  ASSERT_EQ(readBlock(*d, "PART", text).error, 0);
  CBlock* part = d->getBlockTable().get("PART");
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(d->getBlockTable()[d->getBlockTable().size() - 1], part);
  ASSERT_EQ(part->size(), 4);
  for (int i = 0; i < part->size(); ++i) EXPECT_FALSE(handleFree(*d, (*part)[i]->GetHandle()));
  EXPECT_NE(d->getLayerTable().get("ROOF"), nullptr);
  EXPECT_EQ(d->getVars().getLtypeScale(), 1.0);
  EXPECT_EQ((*part)[3]->getEntInsert()->getBlock(), d->getBlockTable().get("DOOR"));
  // The hatch's lines: layer "0", although the drawing's current layer is WALLS.
  ASSERT_EQ((*part)[1]->getType(), 10);
  const CBlock* pattern = static_cast<CEntHatch*>((*part)[1])->getBlock();
  ASSERT_NE(pattern, nullptr);
  EXPECT_EQ(d->getBlockTable().get(pattern->getName()), pattern);
  ASSERT_GT(pattern->size(), 0);
  for (int i = 0; i < pattern->size(); ++i)
    EXPECT_EQ((*pattern)[i]->getLayer(), &d->getLayer0()) << i;
}

TEST(BlockRead, AFailedReadLeavesTablesAndHandlesAsTheyWere) {
  const std::string everyKind =
      header("AC1015") +
      section("TABLES",
              table("LTYPE", dxf("0 LTYPE;2 DASHED;70 0;3 __;72 65;73 0;40 0")) +
                  table("LAYER", dxf("0 LAYER;2 ROOF;70 0;62 2;6 DASHED")) +
                  table("STYLE", dxf("0 STYLE;2 NOTES;70 0;40 0;41 1;50 0;42 2.5;3 txt"))) +
      section("BLOCKS", block("INNER", kHatch + insert("DOOR") +
                                           dxf("0 TEXT;8 WALLS;7 NOTES;10 0;20 0;40 1;1 hi"))) +
      section("ENTITIES", dxf("0 LINE;8 NEWLAYER;10 0;20 0;11 1;21 1") + kHatch + insert("INNER") +
                              insert("LATE") + kBadLine);
  // A inserts C before C exists, then D, then C inserts D: in recording order (C, A, D) or its
  // reverse some block is still referenced when taken out.
  const std::string ordered = section("BLOCKS", block("XR", "", 4, "/nowhere/xr.dxf") +
                                                    block("A", insert("C") + insert("XR")) +
                                                    block("D", dxf("0 POINT;8 0;10 1;20 1")) +
                                                    block("C", insert("D")) + block("E", kBadLine));
  const std::pair<std::string, long> cases[] = {
      {drawing(ordered), 11},
      {drawing(everyKind), 11},
      {drawing(section("BLOCKS", block("XR", "", 36, "/nowhere/xr.dxf"))), 2},  // loaded at once
      {drawing(section("ENTITIES", insert("part"))), 14},  // an insert of the block being read
  };
  for (const auto& [text, error] : cases) {
    SCOPED_TRACE(error);
    DataPtr d = existingDrawing();
    const std::vector<const void*> before = snapshot(*d);
    EXPECT_EQ(readBlock(*d, "PART", text).error, error);
    EXPECT_TRUE(snapshot(*d) == before);
    // Counts raised by the blocks this read had added are back down.
    EXPECT_EQ(d->getBlockTable().get("DOOR")->getEntities(), 0);
    EXPECT_EQ(d->getLayerTable().get("WALLS")->getEntities(), 1);
  }
}

}  // namespace
