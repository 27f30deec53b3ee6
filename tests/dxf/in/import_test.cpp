// tests/dxf/in/import_test.cpp: importDXF merges a file into a drawing that has contents: the
// drawing's layers, blocks, layer "0", standard style and variables win; a block the file names
// before defining it is filled by the definition; handles are new, so one file imports twice;
// a failed import keeps what it had merged.

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

long import(CData& d, const std::string& text) {
  MemoryFile file("import.dxf", text);
  try {
    importDXF(d, file);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    return e.getErrorNumber();
  }
  return 0;
}

std::string layer(const std::string& name, int color) {
  return dxf("0 LAYER;2 " + name + ";70 0;62 " + std::to_string(color) + ";6 CONTINUOUS");
}

// Every handle below 0x400 is held by an entity of the drawing (table or blocks) or free: a
// definition dropped or a read that failed left none booked.
void expectNoHandleLeftBooked(CData& d) {
  std::set<long> used;
  for (CEnt* e : entities(d)) used.insert(e->GetHandle());
  const CBlockTable& blocks = d.getBlockTable();
  for (int b = 0; b < blocks.size(); ++b)
    for (int i = 0; i < blocks[b]->size(); ++i) used.insert((*blocks[b])[i]->GetHandle());
  for (long h = 1; h < 0x400; ++h) ASSERT_EQ(handleFree(d, h), used.count(h) == 0) << h;
}

TEST(ImportDXF, TheDrawingsItemsAndVariablesWin) {
  testFont();
  DataPtr d = newDrawing();
  ASSERT_EQ(loadText(*d, drawing(section("TABLES", table("LAYER", layer("WALLS", 3))) +
                                 section("BLOCKS", block("DOOR", kLine))))
                .error,
            0);
  CLayer* walls = d->getLayerTable().get("WALLS");
  CBlock* door = d->getBlockTable().get("DOOR");
  const CDataVariables& vars = d->getVars();
  const double scale = vars.getLtypeScale();
  CLayer* const current = vars.getCurLayer();
  const short color = vars.getCurColor();

  const std::string tables =
      table("LAYER", layer("0", 5) + layer("WALLS", 1) + layer("ROOF", 2)) +
      table("STYLE", dxf("0 STYLE;2 STANDARD;70 0;40 9;41 1;50 0;42 2.5;3 txt"));
  const std::string blocks = block("DOOR", dxf("0 CIRCLE;8 0;10 0;20 0;40 1") + kLine) +
                             block("WIN", dxf("0 POINT;8 0;10 1;20 1"));
  const std::string records = dxf("0 INSERT;8 0;2 DOOR;10 5;20 0") + insert("WIN") +
                              dxf("0 LINE;8 ROOF;10 0;20 0;11 1;21 1");
  const std::string text = drawing(
      header("AC1009", ";9 $LTSCALE;40 5;9 $CLAYER;8 ROOF;9 $CECOLOR;62 3;9 $ORTHOMODE;70 1") +
      section("TABLES", tables) + section("BLOCKS", blocks) + section("ENTITIES", records));
  ASSERT_EQ(import(*d, text), 0);

  // Layers: WALLS keeps its colour, ROOF is new, layer 0 is untouched; the standard style too.
  EXPECT_EQ(d->getLayerTable().get("WALLS"), walls);
  EXPECT_EQ(walls->getColor(), 3);
  ASSERT_NE(d->getLayerTable().get("ROOF"), nullptr);
  EXPECT_EQ(d->getLayerTable().get("ROOF")->getColor(), 2);
  EXPECT_EQ(d->getLayer0().getColor(), 7);
  EXPECT_EQ(d->getStyleTable().getStyleStandard().getFixedHeight(), 0.0);
  // No header variable: scale, current layer, colour and ortho as they were.
  EXPECT_EQ(vars.getLtypeScale(), scale);
  EXPECT_EQ(vars.getCurLayer(), current);
  EXPECT_EQ(vars.getCurColor(), color);
  EXPECT_FALSE(vars.isOrtho());
  // DOOR is the drawing's, with its one line; the file's insert shows it. WIN is new.
  EXPECT_EQ(d->getBlockTable().get("DOOR"), door);
  ASSERT_EQ(door->size(), 1);
  EXPECT_EQ((*door)[0]->getType(), 2);
  CBlock* win = d->getBlockTable().get("WIN");
  ASSERT_NE(win, nullptr);
  EXPECT_EQ(win->size(), 1);
  const std::vector<CEnt*> all = entities(*d);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0]->getEntInsert()->getBlock(), door);
  EXPECT_EQ(all[1]->getEntInsert()->getBlock(), win);
  EXPECT_EQ(door->getEntities(), 1);
  expectNoHandleLeftBooked(*d);
}

TEST(ImportDXF, ABlockNamedBeforeItsDefinitionIsFilledByIt) {
  DataPtr d = newDrawing();
  ASSERT_EQ(import(*d, drawing(section("BLOCKS", block("A", insert("B")) + block("B", kLine)))), 0);
  CBlock* a = d->getBlockTable().get("A");
  CBlock* b = d->getBlockTable().get("B");
  ASSERT_TRUE(a != nullptr && b != nullptr);
  EXPECT_EQ(d->getBlockTable().size(), 2);
  ASSERT_EQ(b->size(), 1);
  EXPECT_EQ((*b)[0]->getType(), 2);
  EXPECT_EQ((*a)[0]->getEntInsert()->getBlock(), b);
  // The block graph knows A holds B: B may not come to hold A.
  std::unique_ptr<CEnt> insertOfA(
      createEntInsert(*d, *a, PNT_3D(0, 0, 0), 1, 1, 1, 0, 1, 1, 0, 0, 0));
  std::mylist<CEnt*> contents{insertOfA.get()};
  EXPECT_FALSE(d->getBlockTable().canRedefine(b, contents));
  d->getEntFactory().unbookHandle(d->getHandleGestor(), insertOfA.get());
}

TEST(ImportDXF, OneFileImportsTwiceWithoutHandleCollisions) {
  DataPtr d = newDrawing();
  const std::string text =
      drawing(section("BLOCKS", block("K", dxf("0 LINE;5 22;8 0;10 0;20 0;11 1;21 0"))) +
              section("ENTITIES", dxf("0 LINE;5 20;8 0;10 0;20 0;11 1;21 0") +
                                      dxf("0 LINE;5 21;8 0;10 0;20 0;11 2;21 0")));
  ASSERT_EQ(loadText(*d, text).error, 0);  // loadDXF keeps 0x20 to 0x22
  ASSERT_EQ(import(*d, text), 0);
  ASSERT_EQ(import(*d, text), 0);
  std::set<long> handles;
  for (CEnt* e : entities(*d)) handles.insert(e->GetHandle());
  EXPECT_EQ(entities(*d).size(), 6u);
  EXPECT_EQ(handles.size(), 6u);
  EXPECT_EQ(handles.count(0), 0u);
  EXPECT_EQ(d->getBlockTable().size(), 1);
  EXPECT_EQ(d->getBlockTable().get("K")->size(), 1);
  expectNoHandleLeftBooked(*d);
}

TEST(ImportDXF, AFailedImportKeepsWhatWasMerged) {
  DataPtr d = newDrawing();
  // A line without group 21 fails the read with error 11 after ROOF and one line merged.
  const std::string bad = drawing(section("TABLES", table("LAYER", layer("ROOF", 2))) +
                                  section("ENTITIES", kLine + dxf("0 LINE;8 0;10 0;20 0;11 1")));
  EXPECT_EQ(import(*d, bad), 11);
  EXPECT_NE(d->getLayerTable().get("ROOF"), nullptr);
  EXPECT_EQ(entities(*d).size(), 1u);
  expectNoHandleLeftBooked(*d);
  // A block definition named as an external reference of the drawing: error 14.
  ASSERT_EQ(loadText(*d, drawing(section("BLOCKS", block("REF", "", 4, "/nowhere/ref.dxf")))).error,
            0);
  EXPECT_EQ(import(*d, drawing(section("BLOCKS", block("ref", kLine)))), 14);
  EXPECT_EQ(d->getBlockTable().get("REF"), nullptr);
  expectNoHandleLeftBooked(*d);
}

}  // namespace
