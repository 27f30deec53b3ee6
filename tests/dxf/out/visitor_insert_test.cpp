// tests/dxf/out/visitor_insert_test.cpp: the INSERT record of the DXF writer: placement groups
// left out only when exactly at their default, external-reference inserts under their reference's
// name, attributes written in drawing coordinates and closed by a SEQEND whose handle is booked
// for the save and free again once the visitor is gone, and a hatch written as one INSERT of its
// generated block carrying the hatch data.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf/out/visitor_support.h"

namespace {

const double kPi = std::acos(-1.0);

TEST(DxfInsertRecords, PlacementGroupsLeftOutOnlyAtTheirExactDefaults) {
  struct Case {
    double sx, sy, sz, rotate;
    long rows, columns;
    double columnSpacing, rowSpacing;
    std::string placement;  // the pairs after the insertion point
  };
  const Case cases[] = {
      {1, 1, 1, 0, 1, 1, 0, 0, ""},
      {2, -1, 0.5, kPi, 3, 4, 1.5, -2,
       ";41 2.000000;42 -1.000000;43 0.500000;50 180.000000;70 4;71 3;44 1.500000;"
       "45 -2.000000"},
      {1.0000001, 1, 1, 1e-9, 0, 1, 0, 1e-7, ";41 1.000000;50 0.000000;71 0;45 0.000000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.placement);
    RecordDrawing w;
    CBlock* door = w.d->getBlockFactory().create("DOOR 1", 0);
    w.d->getBlockTable().add(door);
    CEnt* e = w.add(createEntInsert(*w.d, w.layer0(), w.byLayer(), 256, *door, PNT_3D(10, 20, 0.5),
                                    c.sx, c.sy, c.sz, c.rotate, c.rows, c.columns, c.columnSpacing,
                                    c.rowSpacing, 0x80));
    RecordOutput out(w);
    e->accept(out.visitor);
    EXPECT_EQ(
        out.written(),
        pairs("0 INSERT;5 80;8 0;2 DOOR_1;10 10.000000;20 20.000000;30 0.500000" + c.placement));
  }
  RecordDrawing w;
  CBlockXRef* plan = w.d->getBlockFactory().createXRef(
      w.d->getLtypeContinuous(), w.d->getLtypeByLayer(), w.d->getLtypeByBlock(), w.d->getLayer0(),
      "MY PLAN", "plan.dxf", PNT_3D(0, 0, 0), 0);
  w.d->getBlockXRefTable().add(plan);
  EXPECT_EQ(record(w, createEntInsertXRef(*w.d, w.ab, w.byLayer(), 256, plan, PNT_3D(1, 2, 3), 1, 1,
                                          1, 0, 1, 1, 0, 0, 0x81)),
            pairs("0 INSERT;5 81;8 A_B;2 MY_PLAN;10 1.000000;20 2.000000;30 3.000000"));
}

// The insert is at (100, 50), scaled by 2 in X and Y and turned a quarter: an attribute at (1, 0)
// of its block lands at (100, 52), one at (0, 1) at (98, 50), with twice the height and a
// quarter turn more. The second is centred: "AB" at height 2 is 2.4 wide, so its baseline
// starts 1.2 below its alignment point once turned.
TEST(DxfInsertRecords, AttributesInDrawingCoordinatesThenSeqend) {
  RecordDrawing w;
  CBlock* tag = w.d->getBlockFactory().create("TAG", 0);
  w.d->getBlockTable().add(tag);
  IHandleGestor& g = w.d->getHandleGestor();
  CEntFactory& f = w.d->getEntFactory();
  CEntInsert* ins = createEntInsert(*w.d, w.ab, w.byLayer(), 256, *tag, PNT_3D(100, 50, 0), 2, 2, 1,
                                    kPi / 2, 1, 1, 0, 0, 0x82);
  ins->add(f.createEntAttrib(g, w.layer0(), w.byLayer(), 256,
                             TEXT_3D("VAL", w.standard(), 1, 0, 1, 0, 1, 0, 0, 0), "TAG", 0, 0x83));
  ins->add(f.createEntAttrib(g, w.ab, w.dashed, 4, TEXT_3D("AB", w.roman, 1, 0, 1, 0, 0, 1, 0, 1),
                             "NAME", 8, 0x84));
  w.add(ins);
  std::vector<long> booked;
  {
    RecordOutput out(w);
    ins->accept(out.visitor);
    EXPECT_EQ(
        withSeqendHandlesHidden(out.written()),
        pairs("0 INSERT;5 82;8 A_B;2 TAG;10 100.000000;20 50.000000;30 0.000000;41 2.000000;"
              "42 2.000000;50 90.000000;66 1;"
              "0 ATTRIB;5 83;8 0;70 0;2 TAG;40 2.000000;1 VAL;50 90.000000;10 100.000000;"
              "20 52.000000;30 0.000000;"
              "0 ATTRIB;5 84;8 A_B;6 DASHED;62 4;70 8;2 NAME;40 2.000000;1 AB;50 90.000000;"
              "7 ROMAN_1;10 98.000000;20 48.800000;30 0.000000;72 1;11 98.000000;21 50.000000;"
              "31 0.000000;0 SEQEND;5 *;8 A_B"));
    booked = seqendHandles(out.written());
    ASSERT_EQ(booked.size(), 1u);
    EXPECT_FALSE(handleFree(g, booked[0]));  // booked while the visitor lives
    for (long h : {0x82L, 0x83L, 0x84L}) EXPECT_NE(booked[0], h);
  }
  EXPECT_TRUE(handleFree(g, booked[0]));
}

TEST(DxfInsertRecords, AHatchIsOneInsertRecordWithTheHatchData) {
  RecordDrawing w;
  const HATCH_TYPE* brick = getHatch(String("BRICK"));
  ASSERT_TRUE(brick != nullptr && brick->noLines > 1);
  // Corners off the pattern's grid, so that no hatch line runs through one.
  const std::vector<PNT_3D> square = {PNT_3D(0.3, 0.7, 0), PNT_3D(100.3, 0.7, 0),
                                      PNT_3D(100.3, 50.7, 0), PNT_3D(0.3, 50.7, 0)};
  CEntHatch* h = createEntHatch(*w.d, w.ab, w.byLayer(), 256, *brick, 2, 0.5, square, 0xA0);
  std::vector<PNT_3D> boundary;
  for (long i = 0; i < h->getNoPnts(); ++i) boundary.push_back(h->getPnt(i));
  ASSERT_GE(boundary.size(), 4u);
  Pairs expected = pairs("0 INSERT;5 A0;8 A_B;2 " + std::string(h->getBlock()->getName().c_str()) +
                         ";10 0.000000;20 0.000000;30 0.000000");
  for (const Pair& q : hatchData("A0", *brick, 2, 0.5, boundary)) expected.push_back(q);
  EXPECT_EQ(record(w, h), expected);
}

}  // namespace
