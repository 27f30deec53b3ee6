// tests/dxf/out/visitor_test.cpp: the entity records of the DXF writer (point, line, circle,
// arc, 3D face), the common groups and their defaults, flat Z, names without a converter,
// SEQEND handles, and the BLOCK record of the block writer.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "dxf/out/visitor_support.h"

namespace {

const double kPi = std::acos(-1.0);

TEST(DxfVisitor, EntityRecordsPlainAndFlat) {
  using W = const RecordDrawing&;
  const std::pair<std::function<CEnt*(W)>, std::string> cases[] = {
      {[](W w) {
         return createEntLine(*w.d, w.layer0(), w.byLayer(), 256, LINE_3D(0, 0, 0, 1, 2, 3), 0x2A);
       },
       "0 LINE;5 2A;8 0;10 0.000000;20 0.000000;30 0.000000;11 1.000000;21 2.000000;31 3.000000"},
      {[](W w) { return createEntPnt(*w.d, w.ab, w.dashed, 1, PNT_3D(1.5, -2, 0.25), 0x30); },
       "0 POINT;5 30;8 A_B;6 DASHED;62 1;10 1.500000;20 -2.000000;30 0.250000"},
      {[](W w) {
         return createEntCircle(*w.d, w.layer0(), &w.d->getLtypeByBlock(), 0,
                                CIRCLE_3D(1, 2, 3, 4.5), 0xFF);
       },
       "0 CIRCLE;5 FF;8 0;6 BYBLOCK;62 0;10 1.000000;20 2.000000;30 3.000000;40 4.500000"},
      {[](W w) {  // angles in degrees
         return createEntArc(*w.d, w.ab, w.byLayer(), 256, ARC_3D(0, 0, 0, 2, kPi / 2, kPi), 0x40);
       },
       "0 ARC;5 40;8 A_B;10 0.000000;20 0.000000;30 0.000000;40 2.000000;50 90.000000;"
       "51 180.000000"},
      {[](W w) {  // hidden edges; a triangle with all edges visible has no 70
         return createEnt3DFace(*w.d, w.layer0(), w.byLayer(), 256, PNT_3D(0, 0, 0),
                                PNT_3D(1, 0, 0), PNT_3D(1, 1, 1), PNT_3D(0, 1, 1), 5, 0x41);
       },
       "0 3DFACE;5 41;8 0;10 0.000000;20 0.000000;30 0.000000;11 1.000000;21 0.000000;"
       "31 0.000000;12 1.000000;22 1.000000;32 1.000000;13 0.000000;23 1.000000;33 1.000000;70 5"},
      {[](W w) {
         return createEnt3DFace(*w.d, w.layer0(), w.byLayer(), 256, PNT_3D(0, 0, 0),
                                PNT_3D(2, 0, 0), PNT_3D(0, 2, 0), PNT_3D(0, 2, 0), 0, 0x42);
       },
       "0 3DFACE;5 42;8 0;10 0.000000;20 0.000000;30 0.000000;11 2.000000;21 0.000000;"
       "31 0.000000;12 0.000000;22 2.000000;32 0.000000;13 0.000000;23 2.000000;33 0.000000"}};
  for (const auto& [make, text] : cases) {
    for (bool flat : {false, true}) {
      SCOPED_TRACE(testing::Message() << text << (flat ? ", flat" : ""));
      RecordDrawing w;
      Pairs expected = pairs(text);
      for (Pair& p : expected)
        if (flat && p.code >= 30 && p.code <= 33) p.value = "0.000000";
      EXPECT_EQ(record(w, make(w), flat), expected);
    }
  }
  // Without a converter, names are written as held.
  RecordDrawing w;
  CEnt* e = w.add(createEntLine(*w.d, w.ab, w.dashed, 256, LINE_3D(0, 0, 0, 1, 0, 0), 0));
  RecordOutput out(w, false, false);
  e->accept(out.visitor);
  EXPECT_EQ(valueOf(out.written(), 8) + valueOf(out.written(), 6), "A BDASHED");
}

TEST(DxfVisitor, SeqendHandlesAreFreshAndGivenBackAtTheEnd) {
  RecordDrawing w;
  CEnt* e = w.add(createEntLine(*w.d, w.ab, w.byLayer(), 256, LINE_3D(0, 0, 0, 1, 0, 0), 0));
  IHandleGestor& g = w.d->getHandleGestor();
  std::vector<long> booked;
  {
    RecordOutput out(w);
    out.visitor.seq_visit(*e);
    out.visitor.seq_visit(*e);
    for (const Pairs& r : recordsOf(out.written()))
      EXPECT_TRUE(r.size() == 3 && r[0] == (Pair{0, "SEQEND"}) && r[2] == (Pair{8, "A_B"}));
    booked = seqendHandles(out.written());
    ASSERT_EQ(booked.size(), 2u);
    EXPECT_NE(booked[0], booked[1]);
    for (long h : booked) EXPECT_TRUE(h != e->GetHandle() && !handleFree(g, h));
  }
  for (long h : booked) EXPECT_TRUE(handleFree(g, h));  // free again once the visitor is gone
}

TEST(DxfBlockWriter, OneBlockRecordWithItsEntities) {
  RecordDrawing w;
  CBlock* block =
      w.d->getBlockFactory().create("DOOR 1", PNT_3D(10, 10, 0), CBlock::kPrivate | 64 | 1);
  block->add(createEntPnt(*w.d, w.layer0(), w.byLayer(), 256, PNT_3D(11, 12, 0), 0x50));
  block->add(createEntLine(*w.d, w.ab, w.byLayer(), 256, LINE_3D(10, 10, 0, 12, 10, 0), 0x51));
  w.d->getBlockTable().add(block);
  RecordOutput out(w);
  CFileDXFOBlockWriter(out.writer, out.visitor, out.converter).doOperation(*block);
  // The base point is written as the origin; entities are relative to the base already.
  EXPECT_EQ(out.written(),
            pairs("0 BLOCK;8 0;2 DOOR_1;70 65;10 0.000000;20 0.000000;30 0.000000;"
                  "3 DOOR_1;1 ;0 POINT;5 50;8 0;10 1.000000;20 2.000000;30 0.000000;"
                  "0 LINE;5 51;8 A_B;10 0.000000;20 0.000000;30 0.000000;11 2.000000;"
                  "21 0.000000;31 0.000000;0 ENDBLK"));
}

}  // namespace
