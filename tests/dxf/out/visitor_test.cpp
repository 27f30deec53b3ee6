// tests/dxf/out/visitor_test.cpp: the entity records of the DXF writer (point, line, circle,
// arc, 3D face), the common groups and their defaults, flat Z, SEQEND handles, and the
// BLOCK record of the block writer.
#include <veltcore/dxf/out/visitor.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/dxf/in/name_converter.h>
#include <veltcore/dxf/out/block_writer.h>
#include <veltcore/dxf/out/writer.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include "database/test_drawing.h"
#include "dxf/memory_file.h"
#include "dxf/out/dxf_pairs.h"

namespace {

// A drawing with layer "A B" (colour 5, continuous) and linetype "DASHED".
struct Drawing {
  DataPtr d = newDrawing();
  CLtype* dashed;
  CLayer* ab;
  Drawing() {
    const double dashes[] = {0.5, -0.25};
    dashed = d->getLtypeFactory().create("DASHED", "- -", dashes, 2, 0);
    addLtype(*d, dashed);
    ab = d->getLayerFactory().create("A B", &d->getLtypeContinuous(), 5, 0);
    addLayer(*d, ab);
  }
  CLayer* layer0() const { return &d->getLayer0(); }
  CLtype* byLayer() const { return &d->getLtypeByLayer(); }
};

// Reaches the SEQEND writer, which only entities with sub-entities use.
class SeqVisitor : public CFileDXFOVisitor {
 public:
  using CFileDXFOVisitor::CFileDXFOVisitor;
  using CFileDXFOVisitor::seq_visit;
};

// A visitor (with a converter unless told otherwise) writing to a memory file.
struct Output {
  MemoryFile file{"out.dxf", "", IFile::kWrite};
  CFileDXFOWriter writer{file};
  CNameAcadConverter converter;
  SeqVisitor visitor;
  Output(Drawing& w, bool flat, bool convert = true)
      : converter(*w.d), visitor(*w.d, writer, flat) {
    file.open();
    if (convert) visitor.SetACADNameConverter(converter);
  }
  Pairs written() const { return pairsOf(file.written()); }
};

const double kPi = std::acos(-1.0);

TEST(DxfVisitor, EntityRecordsPlainAndFlat) {
  struct Case {
    const char* what;
    std::function<CEnt*(Drawing&)> make;
    std::string expected;
  };
  const Case cases[] = {
      {"line of the format's example",
       [](Drawing& w) {
         return createEntLine(*w.d, w.layer0(), w.byLayer(), 256, LINE_3D(0, 0, 0, 1, 2, 3), 0x2A);
       },
       "0 LINE;5 2A;8 0;10 0.000000;20 0.000000;30 0.000000;11 1.000000;21 2.000000;"
       "31 3.000000"},
      {"point with linetype and colour",
       [](Drawing& w) {
         return createEntPnt(*w.d, w.ab, w.dashed, 1, PNT_3D(1.5, -2, 0.25), 0x30);
       },
       "0 POINT;5 30;8 A_B;6 DASHED;62 1;10 1.500000;20 -2.000000;30 0.250000"},
      {"circle by block",
       [](Drawing& w) {
         return createEntCircle(*w.d, w.layer0(), &w.d->getLtypeByBlock(), 0,
                                CIRCLE_3D(1, 2, 3, 4.5), 0xFF);
       },
       "0 CIRCLE;5 FF;8 0;6 BYBLOCK;62 0;10 1.000000;20 2.000000;30 3.000000;40 4.500000"},
      {"arc angles in degrees",
       [](Drawing& w) {
         return createEntArc(*w.d, w.ab, w.byLayer(), 256, ARC_3D(0, 0, 0, 2, kPi / 2, kPi), 0x40);
       },
       "0 ARC;5 40;8 A_B;10 0.000000;20 0.000000;30 0.000000;40 2.000000;50 90.000000;"
       "51 180.000000"},
      {"3D face with hidden edges",
       [](Drawing& w) {
         return createEnt3DFace(*w.d, w.layer0(), w.byLayer(), 256, PNT_3D(0, 0, 0),
                                PNT_3D(1, 0, 0), PNT_3D(1, 1, 1), PNT_3D(0, 1, 1), 5, 0x41);
       },
       "0 3DFACE;5 41;8 0;10 0.000000;20 0.000000;30 0.000000;11 1.000000;21 0.000000;"
       "31 0.000000;12 1.000000;22 1.000000;32 1.000000;13 0.000000;23 1.000000;33 1.000000;"
       "70 5"},
      {"triangular 3D face, all edges visible",
       [](Drawing& w) {
         return createEnt3DFace(*w.d, w.layer0(), w.byLayer(), 256, PNT_3D(0, 0, 0),
                                PNT_3D(2, 0, 0), PNT_3D(0, 2, 0), PNT_3D(0, 2, 0), 0, 0x42);
       },
       "0 3DFACE;5 42;8 0;10 0.000000;20 0.000000;30 0.000000;11 2.000000;21 0.000000;"
       "31 0.000000;12 0.000000;22 2.000000;32 0.000000;13 0.000000;23 2.000000;33 0.000000"}};
  for (const Case& c : cases) {
    for (bool flat : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.what << (flat ? ", flat" : ""));
      Drawing w;
      CEnt* e = c.make(w);
      w.d->getEntTable().add(e);
      Pairs expected = pairs(c.expected);
      for (Pair& p : expected)
        if (flat && p.code >= 30 && p.code <= 33) p.value = "0.000000";
      Output out(w, flat);
      e->accept(out.visitor);
      EXPECT_EQ(out.written(), expected);
    }
  }
}

TEST(DxfVisitor, WithoutAConverterNamesAreWrittenAsHeld) {
  Drawing w;
  CEnt* e = createEntLine(*w.d, w.ab, w.dashed, 256, LINE_3D(0, 0, 0, 1, 0, 0), 0);
  w.d->getEntTable().add(e);
  Output out(w, false, false);
  e->accept(out.visitor);
  EXPECT_EQ(valueOf(out.written(), 8), "A B");
  EXPECT_EQ(valueOf(out.written(), 6), "DASHED");
}

TEST(DxfVisitor, SeqendHandlesAreFreshAndGivenBackAtTheEnd) {
  Drawing w;
  CEnt* e = createEntLine(*w.d, w.ab, w.byLayer(), 256, LINE_3D(0, 0, 0, 1, 0, 0), 0);
  w.d->getEntTable().add(e);
  IHandleGestor& g = w.d->getHandleGestor();
  std::vector<long> booked;
  {
    Output out(w, false);
    out.visitor.seq_visit(*e);
    out.visitor.seq_visit(*e);
    const std::vector<Pairs> records = recordsOf(out.written(), "SEQEND");
    ASSERT_EQ(records.size(), 2u);
    for (const Pairs& r : records) {
      ASSERT_EQ(r.size(), 3u);
      EXPECT_EQ(valueOf(r, 8), "A_B");
      booked.push_back(std::stol(valueOf(r, 5), nullptr, 16));
    }
    EXPECT_NE(booked[0], booked[1]);
    for (long h : booked) {
      EXPECT_NE(h, e->GetHandle());
      EXPECT_THROW(g.bookHandle(h), IHandleGestor::HandleAlreadyUsedException);
    }
  }
  for (long h : booked) {
    EXPECT_EQ(g.bookHandle(h), h);  // free again once the visitor is gone
    g.unbook(h);
  }
}

TEST(DxfBlockWriter, OneBlockRecordWithItsEntities) {
  Drawing w;
  CBlock* block =
      w.d->getBlockFactory().create("DOOR 1", PNT_3D(10, 10, 0), CBlock::kPrivate | 64 | 1);
  block->add(createEntPnt(*w.d, w.layer0(), w.byLayer(), 256, PNT_3D(11, 12, 0), 0x50));
  block->add(createEntLine(*w.d, w.ab, w.byLayer(), 256, LINE_3D(10, 10, 0, 12, 10, 0), 0x51));
  w.d->getBlockTable().add(block);
  Output out(w, false);
  CFileDXFOBlockWriter(out.writer, out.visitor, out.converter).doOperation(*block);
  // The base point is written as the origin; entities are relative to the base already.
  EXPECT_EQ(out.written(),
            pairs("0 BLOCK;8 0;2 DOOR_1;70 65;10 0.000000;20 0.000000;30 0.000000;"
                  "3 DOOR_1;1 ;0 POINT;5 50;8 0;10 1.000000;20 2.000000;30 0.000000;"
                  "0 LINE;5 51;8 A_B;10 0.000000;20 0.000000;30 0.000000;11 2.000000;"
                  "21 0.000000;31 0.000000;0 ENDBLK"));
}

}  // namespace
