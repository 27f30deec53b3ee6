// tests/dxf/in/xref_load_test.cpp: CBlockXRef::load, unload and setPath over files written to a
// scratch folder: what the reference gets from its file (flags | 48, placeholders resolved,
// styles always new, handle 0, hatch lines on layer "0"), the status after each kind of failure,
// files that refer back to a reference being loaded, and drawings deleted in either order.

#include <gtest/gtest.h>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

std::string xrefBlock(const std::string& name, const std::string& path) {
  return block(name, "", 36, path);  // 4 | 32: a reference marked loaded
}

std::string standard(int height) {
  return dxf("0 STYLE;2 STANDARD;70 0;40 " + std::to_string(height) + ";41 1;50 0;42 2.5;3 txt");
}

const std::string kNotes = dxf("0 STYLE;2 NOTES;70 0;40 0;41 1;50 0;42 2.5;3 txt");

class XRefLoad : public ::testing::Test {
 protected:
  void SetUp() override { testFont(); }
  void TearDown() override { data.reset(); }  // before the folder goes

  // A new reference of the drawing, initialised with path and flags.
  CBlockXRef* newXRef(const char* name, const std::string& path, long flags = 4) {
    CFileDXFILoadDataSemantor(*data).createBlockXRef(name, path.c_str(), PNT_3D(0, 0, 0), flags);
    return data->getBlockXRefTable().get(name);
  }

  ScratchDir dir;
  DataPtr data = newDrawing();
};

TEST_F(XRefLoad, TheReferenceTakesItsFilesItemsAsItsOwn) {
  const std::string tables =
      table("LTYPE", dxf("0 LTYPE;2 DASHED;70 0;3 __;72 65;73 0;40 0")) +
      table("LAYER", dxf("0 LAYER;2 WALLS;70 0;62 1;6 DASHED;0 LAYER;2 DOORS;70 4;62 2;6 "
                         "CONTINUOUS")) +
      table("STYLE", standard(2) + kNotes + kNotes);
  const std::string records = dxf("0 LINE;5 2A;8 WALLS;10 0;20 0;11 1;21 1") + insert("WIN") +
                              dxf("0 TEXT;8 DOORS;7 NOTES;10 0;20 0;40 1;1 hi") +
                              dxf("0 HATCH;8 0;10 0;20 0;30 0;2 ANSI31;70 0;71 0;91 1;92 3;72 0;73 "
                                  "1;93 4;10 0;20 0;10 10;20 0;10 10;20 10;10 0;20 10;97 0;98 0");
  const std::string path = dir.write(
      "plan.dxf", drawing(header("AC1015") + section("TABLES", tables) +
                          section("BLOCKS", block("WIN", kLine)) + section("ENTITIES", records)));
  // The drawing read first: PLAN|WALLS is a placeholder; the current layer is ROOF.
  CFileDXFILoadDataSemantor host(*data);
  host.createLayer("ROOF", nullptr, 3, 0);
  data->getVars().setCurLayer(data->getLayerTable().get("ROOF"));
  host.createLayerXRef("PLAN", "WALLS", nullptr, 5, 16);
  CBlockXRef* plan = data->getBlockXRefTable().get("PLAN");
  CLayer* walls = plan->getLayer("WALLS");
  host.createBlockXRef("PLAN", path.c_str(), PNT_3D(0, 0, 0), 4 | 32);  // loads at once

  EXPECT_EQ(plan->getStatus(), CBlockXRef::kLoaded);
  EXPECT_EQ(plan->getFlags(), 4 | 32);
  // The placeholder gains bit 32 and keeps its colour; new layers and linetypes get | 48.
  EXPECT_EQ(plan->getLayer("WALLS"), walls);
  EXPECT_EQ(walls->getFlags(), 48);
  EXPECT_EQ(walls->getColor(), 5);
  CLayer* doors = plan->getLayer("DOORS");
  ASSERT_NE(doors, nullptr);
  EXPECT_EQ(doors->getFlags(), 4 | 48);
  EXPECT_STREQ(doors->getFullName().c_str(), "PLAN|DOORS");
  ASSERT_NE(plan->getLtype("DASHED"), nullptr);
  EXPECT_EQ(plan->getLtype("DASHED")->getFlags(), 48);
  EXPECT_EQ(data->getLayerTable().get("DOORS"), nullptr);
  // Styles: the reference's own, each record a new one; the drawing's standard is untouched.
  EXPECT_EQ(plan->getStyleTable().size(), 3);
  EXPECT_EQ(plan->getStyleTable().getStyleStandard().getFixedHeight(), 2.0);
  EXPECT_EQ(data->getStyleTable().getStyleStandard().getFixedHeight(), 0.0);
  EXPECT_EQ(data->getStyleTable().get("NOTES"), nullptr);
  // Blocks and entities: the reference's own, handle 0, on the reference's layers.
  ASSERT_NE(plan->getBlock("WIN"), nullptr);
  EXPECT_EQ(data->getBlockTable().size(), 0);
  ASSERT_EQ(plan->size(), 4);
  for (int i = 0; i < plan->size(); ++i) EXPECT_EQ((*plan)[i]->GetHandle(), 0) << i;
  EXPECT_EQ((*plan)[0]->getLayer(), walls);
  EXPECT_EQ(walls->getEntities(), 1);
  EXPECT_EQ((*plan)[1]->getEntInsert()->getBlock(), plan->getBlock("WIN"));
  EXPECT_EQ((*plan)[2]->getLayer(), doors);
  EXPECT_TRUE(entities(*data).empty());
  // The hatch block is the reference's; its lines are on layer "0", not the current layer.
  ASSERT_EQ((*plan)[3]->getType(), 10);
  const CBlock* pattern = static_cast<CEntHatch*>((*plan)[3])->getBlock();
  EXPECT_EQ(plan->getBlock(pattern->getName()), pattern);
  ASSERT_GT(pattern->size(), 0);
  EXPECT_EQ((*pattern)[0]->getLayer(), &data->getLayer0());
}

TEST_F(XRefLoad, StatusAfterEachKindOfFailure) {
  // loadDXF meets a reference marked loaded whose file is missing: error 2, with the
  // reference's file name and line 0, and the flags as they were.
  const std::string missing = dir.path("missing.dxf");
  MemoryFile host("host.dxf", drawing(section("BLOCKS", xrefBlock("GONE", missing))));
  try {
    loadDXF(*data, host);
    ADD_FAILURE() << "loadDXF did not fail";
  } catch (const CFileDXFIParser::FileDXFException& e) {
    EXPECT_EQ(e.getErrorNumber(), 2);
    EXPECT_STREQ(e.getErrorFile().c_str(), missing.c_str());
    EXPECT_EQ(e.getErrorLine(), 0);
  }
  CBlockXRef* gone = data->getBlockXRefTable().get("GONE");
  EXPECT_EQ(gone->getStatus(), CBlockXRef::kFileNotFound);
  EXPECT_EQ(gone->getFlags(), 36);
  // Any other error passes on as it was, and the status stays.
  CBlockXRef* broken = newXRef("BROKEN", dir.write("broken.dxf", section("ENTITIES", kLine)));
  try {
    broken->load(*data);
    ADD_FAILURE() << "load did not fail";
  } catch (const CFileDXFIParser::FileDXFException& e) {
    EXPECT_EQ(e.getErrorNumber(), 4);  // no EOF pair: the file is cut short
    EXPECT_STREQ(e.getErrorFile().c_str(), broken->getPath().c_str());
  }
  EXPECT_EQ(broken->getStatus(), CBlockXRef::kNotLoaded);
}

TEST_F(XRefLoad, FilesThatReferBackEndLoadedAndDeleteCleanly) {
  const std::string a = dir.path("a.dxf"), b = dir.path("b.dxf"), self = dir.path("self.dxf");
  dir.write("a.dxf",
            drawing(section("BLOCKS", xrefBlock("B", b)) + section("ENTITIES", insert("B"))));
  dir.write("b.dxf",
            drawing(section("BLOCKS", xrefBlock("A", a)) + section("ENTITIES", insert("A"))));
  dir.write("self.dxf", drawing(section("BLOCKS", xrefBlock("SELF", self)) +
                                section("ENTITIES", insert("SELF") + kLine)));
  struct Case {
    std::string host;
    const char* first;   // the reference the host names, loaded first
    const char* second;  // the reference the first file names; the same for a file naming itself
  };
  const Case cases[] = {{xrefBlock("A", a), "A", "B"},
                        {xrefBlock("B", b), "B", "A"},
                        {xrefBlock("SELF", self), "SELF", "SELF"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    data = newDrawing();
    ASSERT_EQ(loadText(*data, drawing(section("BLOCKS", c.host))).error, 0);
    CBlockXRef* first = data->getBlockXRefTable().get(c.first);
    CBlockXRef* second = data->getBlockXRefTable().get(c.second);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_EQ(data->getBlockXRefTable()[0], first);
    EXPECT_TRUE(first->loaded() && second->loaded());
    // Each holds an insert of the other (or of itself), counted once.
    EXPECT_EQ((*first)[0]->getEntInsert()->getBlock(), second);
    EXPECT_EQ((*second)[0]->getEntInsert()->getBlock(), first);
    EXPECT_EQ(first->getNeeded(), 1);
    EXPECT_EQ(second->getNeeded(), 1);
  }  // each drawing is deleted by the next assignment or the fixture: the sanitizers watch
}

TEST_F(XRefLoad, LoadUnloadLoadAndSetPath) {
  const std::string one =
      dir.write("one.dxf", drawing(section("TABLES", table("STYLE", standard(2) + kNotes)) +
                                   section("ENTITIES", kLine)));
  const std::string two = dir.write(
      "two.dxf",
      drawing(section("TABLES", table("STYLE", standard(3))) +
              section("ENTITIES", kLine + dxf("0 TEXT;8 0;7 STANDARD;10 0;20 0;40 1;1 a"))));
  CBlockXRef* x = newXRef("X", one);
  for (int round = 0; round < 2; ++round) {  // the second load follows an unload
    x->load(*data);
    EXPECT_TRUE(x->loaded());
    EXPECT_EQ(x->getFlags(), 4 | 32);
    EXPECT_EQ(x->size(), 1);
    ASSERT_EQ(x->getStyleTable().size(), 2);  // a new standard style and NOTES, once
    EXPECT_EQ(x->getStyleTable().getStyleStandard().getFixedHeight(), 2.0);
    x->unload();
    EXPECT_EQ(x->getStatus(), CBlockXRef::kNotLoaded);
    EXPECT_EQ(x->getFlags(), 4);
    EXPECT_EQ(x->size(), 0);
    EXPECT_EQ(x->getStyleTable().size(), 0);  // the standard style went with the others
  }
  x->load(*data);
  x->setPath(*data, two.c_str());  // loaded: read again from the new path
  EXPECT_TRUE(x->loaded());
  EXPECT_STREQ(x->getPath().c_str(), two.c_str());
  ASSERT_EQ(x->size(), 2);
  EXPECT_EQ(x->getStyleTable().size(), 1);
  EXPECT_EQ(x->getStyleTable().getStyleStandard().getFixedHeight(), 3.0);
  EXPECT_EQ((*x)[1]->getType(), 6);
  x->unload();
  x->setPath(*data, one.c_str());  // not loaded: only the path changes
  EXPECT_EQ(x->getStatus(), CBlockXRef::kNotLoaded);
  EXPECT_EQ(x->size(), 0);
  EXPECT_STREQ(x->getPath().c_str(), one.c_str());
}

}  // namespace
