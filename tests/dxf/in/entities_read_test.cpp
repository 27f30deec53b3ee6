// tests/dxf/in/entities_read_test.cpp: the ENTITIES and BLOCKS sections: each simple entity with
// its handle, the common groups and the end-of-record checks, skipped types, blocks kept or
// dropped, and entities that are never handed over giving their handles back.

#include <gtest/gtest.h>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

TEST(DxfEntities, EachSimpleKindIsBuiltWithItsHandleAndUnknownTypesAreSkipped) {
  const std::string records =
      dxf("0 POINT;5 1A;8 0;10 1;20 2;30 3;0 MTEXT;8 0;1 note") +
      dxf("0 LINE;5 1b;8 0;10 1;20 2;11 4;21 5;31 6;0 SPLINE;8 0;71 3;10 0;20 0") +
      dxf("0 CIRCLE;5 20;8 0;10 1;20 2;40 3;0 DIMENSION;8 0") +
      dxf("0 arc;5 21;8 0;10 1;20 2;30 -1;40 3;50 90;51 -90;39 7;210 0") +
      dxf("0 3DFACE;5 FF;8 0;10 0;20 0;11 1;21 0;12 1;22 1;13 0;23 1;33 2;70 5");
  for (const char* version : {"AC1009", "AC1015"}) {
    SCOPED_TRACE(version);
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, ents(records, version)).error, 0);
    const std::vector<CEnt*> all = entities(*d);
    ASSERT_EQ(all.size(), 5u);
    const long handles[] = {0x1A, 0x1B, 0x20, 0x21, 0xFF};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(all[i]->GetHandle(), handles[i]);
      EXPECT_EQ(all[i]->getColor(), 256);
      EXPECT_EQ(all[i]->getLtype(), &d->getLtypeByLayer());
    }
    EXPECT_EQ(static_cast<CEntPnt*>(all[0])->getPnt(), PNT_3D(1, 2, 3));
    EXPECT_EQ(static_cast<CEntLine*>(all[1])->getLine(), LINE_3D(1, 2, 0, 4, 5, 6));
    EXPECT_EQ(static_cast<CEntCircle*>(all[2])->getCircle(), CIRCLE_3D(1, 2, 0, 3));
    const double f = 0.01745329251994;
    EXPECT_EQ(static_cast<CEntArc*>(all[3])->getArc(), ARC_3D(1, 2, -1, 3, 90 * f, -90 * f));
    auto* face = static_cast<CEnt3DFace*>(all[4]);
    EXPECT_EQ(face->getVertex(2), PNT_3D(1, 1, 0));
    EXPECT_EQ(face->getVertex(3), PNT_3D(0, 1, 2));
    EXPECT_EQ(face->getFlags(), 5);
  }
}

TEST(DxfEntities, RecordChecksGiveTheirErrorWithKindAndMask) {
  struct Case {
    const char* what;
    std::string record;
    long error, kind, mask;
  };
  const std::string circle = "0 CIRCLE;5 2A;8 0;10 1;20 1;40 1";
  const std::vector<Case> cases = {
      {"POINT without 20", "0 POINT;8 0;10 1", 11, 1, 0x11},
      {"LINE without 21", "0 LINE;8 0;10 1;20 1;11 2", 11, 2, 0x71},
      {"CIRCLE without 40", "0 CIRCLE;8 0;10 1;20 1", 11, 3, 0x31},
      {"ARC without 51", "0 ARC;8 0;10 1;20 1;40 1;50 0", 11, 4, 0xF1},
      {"3DFACE without 23", "0 3DFACE;8 0;10 0;20 0;11 1;21 0;12 1;22 1;13 0", 11, 11, 0x7F1},
      {"no layer: checked before the mask", "0 CIRCLE;10 1;20 1", 7, 0, 0},
      {"colour 0", circle + ";62 0", 0, 0, 0},
      {"colour 256", circle + ";62 256", 0, 0, 0},
      {"colour 257", circle + ";62 257", 9, 0, 0},
      {"colour -1", circle + ";62 -1", 9, 0, 0},
      {"empty linetype", circle + ";6 ", 6, 0, 0},
      {"empty layer", circle + ";8 ", 6, 0, 0},
      {"unknown linetype", circle + ";6 NOSUCH", 0, 0, 0},
      {"a handle used twice", circle + ";" + circle, 10, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    const Outcome out = loadText(*d, ents(dxf(c.record)));
    EXPECT_EQ(out.error, c.error);
    if (c.error == 11) {
      EXPECT_EQ(out.param1, c.kind);
      EXPECT_EQ(out.param2, c.mask);
    }
    if (c.error == 10) {
      EXPECT_EQ(entities(*d).size(), 1u);
    }
  }
}

// An unknown layer is made (colour 7, continuous) and an unknown linetype is BYLAYER.
// "REF|LAYER" is a layer of the reference REF: made there (flag 16) when missing, and found
// there both times, whether the LAYER table or an entity named it first.
TEST(DxfEntities, LayersNamedByEntities) {
  DataPtr d = newDrawing();
  const std::string text =
      drawing(section("TABLES", table("LAYER", dxf("0 LAYER;2 PLAN|WALLS;62 1;70 16"))) +
              section("ENTITIES", dxf("0 POINT;8 NEW;6 NOSUCH;62 0;10 1;20 1;0 POINT;8 new;10 2;"
                                      "20 2;0 POINT;8 PLAN|WALLS;10 1;20 1;0 POINT;8 PLAN|DOORS;"
                                      "10 2;20 2;0 POINT;8 plan|doors;10 3;20 3")));
  ASSERT_EQ(loadText(*d, text).error, 0);
  const CLayer* layer = d->getLayerTable().get("NEW");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->getColor(), 7);
  EXPECT_EQ(layer->getFlags(), 0);
  EXPECT_EQ(layer->getLtype(), &d->getLtypeContinuous());
  EXPECT_EQ(d->getLayerTable().size(), 1);
  const CBlockXRef* plan = d->getBlockXRefTable().get("PLAN");
  ASSERT_NE(plan, nullptr);
  const CLayer* walls = plan->getLayer("WALLS");
  const CLayer* doors = plan->getLayer("DOORS");
  ASSERT_TRUE(walls != nullptr && doors != nullptr);
  EXPECT_EQ(walls->getColor(), 1);
  EXPECT_EQ(doors->getColor(), 7);
  EXPECT_EQ(doors->getFlags(), 16);
  const std::vector<CEnt*> all = entities(*d);
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(std::vector<const CLayer*>({all[0]->getLayer(), all[1]->getLayer(), all[2]->getLayer(),
                                        all[3]->getLayer(), all[4]->getLayer()}),
            std::vector<const CLayer*>({layer, layer, walls, doors, doors}));
  EXPECT_EQ(all[0]->getLtype(), &d->getLtypeByLayer());
  EXPECT_EQ(all[0]->getColor(), 0);
}

// The vertices of a lightweight polyline get handles the file does not give. They start at the
// file's $HANDSEED, so a later record keeps its own handle; without it they would take 21.
TEST(DxfEntities, HandlesMadeUpByTheReaderStartAtTheFilesSeed) {
  const std::string records =
      dxf("0 LWPOLYLINE;5 20;8 0;90 2;10 0;20 0;10 1;20 0;0 POINT;5 21;8 0;10 1;20 1");
  for (const auto& [seed, error] : {std::pair{"100", 0}, {"1G", 10}, {"", 10}}) {
    SCOPED_TRACE(seed);
    DataPtr d = newDrawing();
    const std::string more = *seed ? std::string(";9 $HANDSEED;5 ") + seed : "";
    ASSERT_EQ(loadText(*d, drawing(header("AC1015", more) + section("ENTITIES", records))).error,
              error);
    if (error != 0) continue;
    const std::vector<CEnt*> all = entities(*d);
    ASSERT_EQ(all.size(), 2u);
    const auto& p = static_cast<const CEntPolyline&>(*all[0]);
    EXPECT_EQ(p[0].GetHandle(), 0x100);
    EXPECT_EQ(p[1].GetHandle(), 0x101);
    EXPECT_EQ(all[1]->GetHandle(), 0x21);
  }
}

TEST(DxfBlocks, BlocksAreKeptOrDroppedAndReferencesDefinedWithTheirPath) {
  DataPtr d = newDrawing();
  const std::string records =
      dxf("0 BLOCK;8 0;2 DOOR;70 0;10 1;20 1;30 0;0 LINE;5 40;8 0;10 1;20 1;11 2;21 2") +
      dxf("0 ENDBLK;8 0;0 BLOCK;2 *Model_Space;70 0;0 POINT;5 41;8 0;10 1;20 1;0 ENDBLK") +
      dxf("0 BLOCK;2 *PAPER_SPACE0;0 ENDBLK;0 BLOCK;2 *U3;70 0;0 ENDBLK") +
      dxf("0 BLOCK;2 *U4;70 1;0 ENDBLK;0 BLOCK;2 *U5;70 0;0 POINT;8 0;10 1;20 1;0 ENDBLK") +
      dxf("0 BLOCK;2 PLAN;70 4;1 plan.dxf;10 5;0 POINT;5 50;8 0;10 1;20 1;0 ENDBLK");
  ASSERT_EQ(loadText(*d, drawing(section("BLOCKS", records))).error, 0);
  const CBlock* door = d->getBlockTable().get("DOOR");
  ASSERT_NE(door, nullptr);
  ASSERT_EQ(door->size(), 1);
  EXPECT_EQ((*door)[0]->GetHandle(), 0x40);
  EXPECT_EQ(door->getPnt(), PNT_3D(1, 1, 0));
  EXPECT_EQ(d->getBlockTable().get("*Model_Space"), nullptr);
  EXPECT_EQ(d->getBlockTable().get("*Paper_Space0"), nullptr);
  EXPECT_TRUE(handleFree(*d, 0x41));  // the dropped layout's point gave its handle back
  EXPECT_EQ(d->getBlockTable().get("*U3"), nullptr);
  ASSERT_NE(d->getBlockTable().get("*U4"), nullptr);
  EXPECT_EQ(d->getBlockTable().get("*U4")->size(), 0);
  ASSERT_NE(d->getBlockTable().get("*U5"), nullptr);
  EXPECT_TRUE(entities(*d).empty());
  const CBlockXRef* plan = d->getBlockXRefTable().get("PLAN");
  ASSERT_NE(plan, nullptr);
  EXPECT_TRUE(plan->initialized());
  EXPECT_STREQ(plan->getPath().c_str(), "plan.dxf");
  EXPECT_EQ(plan->getPnt(), PNT_3D(5, 0, 0));
  EXPECT_EQ(d->getBlockTable().get("PLAN"), nullptr);
  EXPECT_TRUE(handleFree(*d, 0x50));  // entities of a reference's definition are not kept
}

// Entities read but never handed over must give back their handles (and, under the leak
// checker, their memory) whatever stops the read.
TEST(DxfBlocks, EntitiesNotHandedOverGiveTheirHandlesBack) {
  const std::string points = dxf("0 POINT;5 60;8 0;10 1;20 1;0 POINT;5 61;8 0;10 2;20 2");
  const std::string xrefLayer =
      section("TABLES", table("LAYER", dxf("0 LAYER;2 PLAN|WALLS;62 1;70 16")));
  const std::pair<std::string, long> cases[] = {
      {drawing(section("BLOCKS", dxf("0 BLOCK;2 B") + points + dxf("0 CIRCLE;62 300"))), 9},
      {section("BLOCKS", dxf("0 BLOCK;2 B") + points), 4},  // the file ends inside a block
      {drawing(xrefLayer + section("BLOCKS", dxf("0 BLOCK;2 PLAN") + points + dxf("0 ENDBLK"))),
       14},
  };
  for (const auto& [text, error] : cases) {
    DataPtr d = newDrawing();
    EXPECT_EQ(loadText(*d, text).error, error);
    EXPECT_TRUE(handleFree(*d, 0x60) && handleFree(*d, 0x61)) << error;
    EXPECT_EQ(d->getBlockTable().get("B"), nullptr);
  }
}

}  // namespace
