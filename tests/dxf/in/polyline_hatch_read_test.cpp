// tests/dxf/in/polyline_hatch_read_test.cpp: the POLYLINE (with VERTEX and SEQEND), LWPOLYLINE
// and HATCH readers: the kind bits and both curve kinds, vertex values, the record errors with
// every handle given back, widths of LWPOLYLINE, hatch boundaries from polyline paths and from
// edges, hatches that are dropped, and counts in the file that promise more than it holds.
#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

const double kDeg = 0.01745329251994;

std::string vertex(const std::string& groups) {
  return dxf("0 VERTEX;8 0;" + groups);
}

const std::string kSeqend = dxf("0 SEQEND;8 0");

CEntPolyline& onlyPolyline(CData& d) {
  const std::vector<CEnt*> all = entities(d);
  EXPECT_EQ(all.size(), 1u);
  EXPECT_EQ(all.at(0)->getType(), 5);
  return *static_cast<CEntPolyline*>(all.at(0));
}

struct KindCase {
  std::string groups;  // 70 and 75 of the POLYLINE record
  short flags;
  short degree;
};

// The file's curve-fit flag 2 is the kind bit 4 and its spline flag 4 the kind bit 2.
TEST(DxfPolyline, FileFlagsBecomeKindBitsAndDegree) {
  const std::vector<KindCase> cases = {
      {"70 1", 1, 0},      {"70 128", 128, 0},  {"70 8", 0, 0},      {"70 4;75 5", 2, 2},
      {"70 5;75 6", 3, 3}, {"70 4;75 8", 2, 0}, {"70 2;75 6", 4, 0},
  };
  const std::string vertices = vertex("10 0;20 0") + vertex("10 5;20 0") + vertex("10 5;20 5");
  for (const char* version : {"AC1009", "AC1015"}) {
    for (const KindCase& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.groups);
      DataPtr d = newDrawing();
      const std::string record = dxf("0 POLYLINE;8 0;66 1;" + c.groups) + vertices + kSeqend;
      ASSERT_EQ(loadText(*d, ents(record, version)).error, 0);
      EXPECT_EQ(onlyPolyline(*d).getFlags(), c.flags);
      EXPECT_EQ(onlyPolyline(*d).getDegree(), c.degree);
    }
  }
}

// Three control points of an open curve fit give 21 curve vertices; the file's own fitted
// vertices (flag 1) are dropped with their handles.
TEST(DxfPolyline, CurveFitKeepsControlPointsAndRegenerates) {
  DataPtr d = newDrawing();
  const std::string record = dxf("0 POLYLINE;5 F0;8 0;66 1;70 2") + vertex("5 100;10 0;20 0;70 0") +
                             vertex("5 110;10 4;20 1;70 1") + vertex("5 101;10 10;20 0;70 0") +
                             vertex("5 111;10 9;20 6;70 1") + vertex("5 102;10 10;20 10;70 0") +
                             kSeqend;
  ASSERT_EQ(loadText(*d, ents(record)).error, 0);
  const CEntPolyline& p = onlyPolyline(*d);
  ASSERT_EQ(p.getNoCtrlPnts(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p[i].GetHandle(), 0x100 + i);
  EXPECT_EQ(p.getNoVisibleVertexes(), 21);
  EXPECT_EQ(p.GetVertexPos(3), PNT_3D(0, 0, 0));
  const PNT_3D& last = p.GetVertexPos(p.getNoTotalVertexes() - 1);
  EXPECT_NEAR(last.getX(), 10.0, 1e-9);
  EXPECT_NEAR(last.getY(), 10.0, 1e-9);
  EXPECT_TRUE(handleFree(*d, 0x110));
  EXPECT_TRUE(handleFree(*d, 0x111));
}

// Flag 16 frames the spline, flag 8 is drawn, flags 0 is both (drawn as a copy).
TEST(DxfPolyline, SplineSplitsControlAndVisibleVertices) {
  DataPtr d = newDrawing();
  const std::string record = dxf("0 POLYLINE;8 0;66 1;70 4;75 6") +
                             vertex("5 200;10 0;20 0;70 16") + vertex("5 201;10 10;20 0;70 16") +
                             vertex("5 202;10 5;20 5;70 8") + vertex("5 203;10 10;20 10;70 0") +
                             kSeqend;
  ASSERT_EQ(loadText(*d, ents(record)).error, 0);
  const CEntPolyline& p = onlyPolyline(*d);
  ASSERT_EQ(p.getNoCtrlPnts(), 3);
  ASSERT_EQ(p.getNoVisibleVertexes(), 2);
  const long handles[] = {0x200, 0x201, 0x203, 0x202};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(p[i].GetHandle(), handles[i]);
  EXPECT_EQ(p.GetVertexPos(4), PNT_3D(10, 10, 0));
  EXPECT_NE(p[4].GetHandle(), 0x203);
  EXPECT_FALSE(handleFree(*d, p[4].GetHandle()));
}

TEST(DxfPolyline, VertexZFromElevationUnless3DAndDefaultWidths) {
  DataPtr d = newDrawing();
  const std::string record = dxf("0 POLYLINE;8 0;66 1;30 5;40 1;41 2") + vertex("10 1;20 1;30 9") +
                             vertex("10 2;20 2;30 9;70 32;40 3") + kSeqend;
  ASSERT_EQ(loadText(*d, ents(record)).error, 0);
  const CEntPolyline& p = onlyPolyline(*d);
  EXPECT_EQ(p.GetVertexPos(0), PNT_3D(1, 1, 5));
  EXPECT_EQ(p.GetVertexPos(1), PNT_3D(2, 2, 9));
  EXPECT_EQ(p[0].GetWidthStart(), 1.0);
  EXPECT_EQ(p[0].GetWidthEnd(), 2.0);
  EXPECT_EQ(p[1].GetWidthStart(), 3.0);
  EXPECT_EQ(p[1].GetWidthEnd(), 2.0);
}

struct ErrorCase {
  const char* what;
  std::string records;
  long error, param1, param2;
};

// The polyline (handle 300) and its vertices (301, 302) are never left booked.
TEST(DxfPolyline, RecordErrorsGiveEveryHandleBack) {
  const std::string head = dxf("0 POLYLINE;5 300;8 0;66 1");
  const std::string v1 = vertex("5 301;10 0;20 0;70 16");
  const std::string v2 = vertex("5 302;10 1;20 0;70 8");
  const std::vector<ErrorCase> cases = {
      {"no 66", dxf("0 POLYLINE;5 300;8 0") + v1 + kSeqend, 11, 5, 1},
      {"vertex without 20", head + v1 + vertex("10 1") + kSeqend, 11, 40, 0x11},
      {"no SEQEND", head + v1 + v2 + dxf("0 POINT;8 0;10 0;20 0"), 7, 0, 0},
      {"negative default width", dxf("0 POLYLINE;8 0;66 1;40 -1") + v1 + kSeqend, 9, 0, 0},
      {"negative vertex width", head + v1 + vertex("10 1;20 1;41 -0.5") + kSeqend, 9, 0, 0},
      {"spline of one control point", dxf("0 POLYLINE;5 300;8 0;66 1;70 4") + v1 + v2 + kSeqend, 7,
       0, 0},
      {"file ends among vertices", head + v1 + dxf("0 VERTEX;8 0"), 4, 0, 0},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    const std::string text = c.error == 4 ? section("HEADER", dxf("9 $ACADVER;1 AC1009")) +
                                                dxf("0 SECTION;2 ENTITIES") + c.records
                                          : ents(c.records);
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, c.error);
    EXPECT_EQ(out.param1, c.param1);
    EXPECT_EQ(out.param2, c.param2);
    for (long h : {0x300, 0x301, 0x302}) EXPECT_TRUE(handleFree(*d, h)) << h;
  }
}

// Widths hold for the vertex being read and those after it; 38 is every vertex's Z; the count
// 90 promises far more vertices than come and is not trusted.
TEST(DxfLwPolyline, WidthsCarryOverAndElevationIsZ) {
  DataPtr d = newDrawing();
  const std::string record = dxf(
      "0 LWPOLYLINE;5 2A;8 0;90 2000000000;70 1;43 1;10 0;20 0;10 5;20 0;40 0.5;10 5;20 5;38 7");
  ASSERT_EQ(loadText(*d, ents(record, "AC1014")).error, 0);
  const CEntPolyline& p = onlyPolyline(*d);
  EXPECT_EQ(p.GetHandle(), 0x2A);
  EXPECT_EQ(p.getFlags(), 1);
  ASSERT_EQ(p.getNoTotalVertexes(), 3);
  const double starts[] = {1.0, 0.5, 0.5};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p[i].GetWidthStart(), starts[i]) << i;
    EXPECT_EQ(p[i].GetWidthEnd(), 1.0) << i;
    EXPECT_EQ(p.GetVertexPos(i).getZ(), 7.0) << i;
  }
  EXPECT_EQ(p.GetVertexPos(2), PNT_3D(5, 5, 7));
}

TEST(DxfLwPolyline, OlderFilesSkipLwPolylineAndHatch) {
  DataPtr d = newDrawing();
  const std::string records = dxf("0 LWPOLYLINE;8 0;10 0;20 0;10 1;20 1") +
                              dxf("0 HATCH;8 0;2 ANSI31;91 1;92 1;93 0;97 0") +
                              dxf("0 POINT;8 0;10 1;20 1");
  ASSERT_EQ(loadText(*d, ents(records)).error, 0);
  ASSERT_EQ(entities(*d).size(), 1u);
  EXPECT_EQ(entities(*d)[0]->getType(), 1);
}

// A HATCH record: handle, pattern name, further groups, the paths, then the groups that follow
// them (a pattern line of two dashes and one seed point).
std::string hatch(const std::string& handle, const std::string& pattern, const std::string& head,
                  int paths, const std::string& body) {
  return dxf("0 HATCH;5 " + handle + ";8 0;10 0;20 0;2 " + pattern + ";70 0;71 0;" + head + ";91 " +
             std::to_string(paths)) +
         body + dxf("75 0;76 1;77 0;78 1;53 45;43 0;44 0;45 -0.088;46 0.088;79 2;49 1;49 -1") +
         dxf("98 1;10 5;20 5");
}

std::string lineEdge(double x0, double y0, double x1, double y1) {
  return dxf("72 1;10 " + std::to_string(x0) + ";20 " + std::to_string(y0) + ";11 " +
             std::to_string(x1) + ";21 " + std::to_string(y1));
}

CEntHatch& onlyHatch(CData& d) {
  const std::vector<CEnt*> all = entities(d);
  EXPECT_EQ(all.size(), 1u);
  EXPECT_EQ(all.at(0)->getType(), 10);
  return *static_cast<CEntHatch*>(all.at(0));
}

void expectBoundary(const CEntHatch& h, const std::vector<PNT_3D>& raw) {
  std::vector<PNT_3D> want;
  _hatch_compactVertex(raw, want);
  ASSERT_EQ(h.getNoPnts(), static_cast<long>(want.size()));
  for (long i = 0; i < h.getNoPnts(); ++i) EXPECT_EQ(h.getPnt(i), want[i]) << i;
}

// Four line edges give each corner once, starting at the first edge's end; the path without
// flag 1 is not boundary. No 41: scale 1. 52 is in degrees. The hatch keeps its file handle,
// which its lines, booked first, leave alone.
TEST(DxfHatch, LineEdgesOfTheExternalPathOnly) {
  DataPtr d = newDrawing();
  const std::string square = dxf("92 1;93 4") + lineEdge(0, 0, 10, 0) + lineEdge(10, 0, 10, 10) +
                             lineEdge(10, 10, 0, 10) + lineEdge(0, 10, 0, 0) + dxf("97 1;330 1F");
  const std::string far = dxf("92 0;93 1") + lineEdge(100, 100, 200, 100) + dxf("97 0");
  const std::string record = hatch("20", "ansi31", "30 2;52 90", 2, square + far);
  ASSERT_EQ(loadText(*d, ents(record, "AC1015")).error, 0);
  const CEntHatch& h = onlyHatch(*d);
  EXPECT_EQ(h.GetHandle(), 0x20);
  EXPECT_EQ(&h.getHatchType(), getHatch("ANSI31"));
  EXPECT_EQ(h.getHatchScale(), 1.0);
  EXPECT_EQ(h.getHatchRotate(), 90 * kDeg);
  expectBoundary(h, {PNT_3D(10, 0, 2), PNT_3D(10, 10, 2), PNT_3D(0, 10, 2), PNT_3D(0, 0, 2)});
  ASSERT_NE(h.getBlock(), nullptr);
  EXPECT_EQ(d->getBlockTable().get(h.getBlock()->getName()), h.getBlock());
  EXPECT_GT(h.getBlock()->size(), 0);
}

TEST(DxfHatch, PolylinePathWithBulges) {
  DataPtr d = newDrawing();
  const std::string path =
      dxf("92 3;72 1;73 1;93 4;10 0;20 0;42 0;10 10;20 0;42 0.5;10 10;20 10;42 0;10 0;20 10;42 "
          "-1;97 0");
  ASSERT_EQ(loadText(*d, ents(hatch("30", "ANSI31", "41 2", 1, path), "AC1014")).error, 0);
  const PNT_3D c[] = {PNT_3D(0, 0, 0), PNT_3D(10, 0, 0), PNT_3D(10, 10, 0), PNT_3D(0, 10, 0)};
  const double bulges[] = {0, 0.5, 0, -1};
  std::vector<PNT_3D> raw;
  for (int i = 0; i < 4; ++i) hatch_add_segment_bulge(c[i], c[(i + 1) % 4], bulges[i], raw);
  const CEntHatch& h = onlyHatch(*d);
  EXPECT_EQ(h.getHatchScale(), 2.0);
  expectBoundary(h, raw);
}

TEST(DxfHatch, ArcAndEllipseEdges) {
  DataPtr d = newDrawing();
  const std::string path = dxf("92 1;93 4") + lineEdge(0, 0, 10, 0) +
                           dxf("72 2;10 10;20 5;40 5;50 270;51 90;73 1") + lineEdge(10, 10, 0, 10) +
                           dxf("72 3;10 0;20 5;11 0;21 5;40 0.4;50 0;51 180;73 1;97 0");
  ASSERT_EQ(loadText(*d, ents(hatch("30", "NET", "41 1", 1, path), "AC1015")).error, 0);
  std::vector<PNT_3D> raw = {PNT_3D(10, 0, 0)};
  hatch_add_arc(PNT_3D(10, 5, 0), 5, 270 * kDeg, 90 * kDeg, raw);
  if (raw.back() != PNT_3D(10, 10, 0)) raw.push_back(PNT_3D(10, 10, 0));
  raw.push_back(PNT_3D(0, 10, 0));
  hatch_add_ellipse(PNT_3D(0, 5, 0), 0, 5, 0.4, 0, 180 * kDeg, raw);
  expectBoundary(onlyHatch(*d), raw);
}

// A solid fill (not in the catalogue), a scale the generator refuses and a boundary of no
// external path leave no entity, no block and no handle behind.
TEST(DxfHatch, HatchesThatCannotBeMadeAreDropped) {
  DataPtr d = newDrawing();
  const std::string square = dxf("93 4") + lineEdge(0, 0, 10, 0) + lineEdge(10, 0, 10, 10) +
                             lineEdge(10, 10, 0, 10) + lineEdge(0, 10, 0, 0) + dxf("97 0");
  const std::string records = hatch("70", "SOLID", "41 1", 1, dxf("92 1") + square) +
                              hatch("71", "ANSI31", "41 0", 1, dxf("92 1") + square) +
                              hatch("72", "ANSI31", "41 1", 1, dxf("92 16") + square);
  ASSERT_EQ(loadText(*d, ents(records, "AC1015")).error, 0);
  EXPECT_TRUE(entities(*d).empty());
  EXPECT_EQ(d->getBlockTable().size(), 0);
  for (long h : {0x70, 0x71, 0x72}) EXPECT_TRUE(handleFree(*d, h)) << h;
  EXPECT_EQ(d->getHandleGestor().bookNext(), 32);  // no line of a refused hatch stays booked
}

// Inside the counted parts every group has its place; a count far beyond the data fails at
// the first pair out of place instead of preparing for it.
struct BadHatch {
  const char* what;
  std::string groups;
};

TEST(DxfHatch, AGroupOutOfPlaceIsError7) {
  const std::string huge = "2000000000";
  const std::vector<BadHatch> cases = {
      {"edge path without 93", dxf("91 1;92 1;72 1")},
      {"edge of type 5", dxf("91 1;92 1;93 1;72 5")},
      {"pattern line without 43", dxf("78 1;53 45;44 0")},
      {"seed point without 20", dxf("98 1;10 0;30 0")},
      {"source objects without 330", dxf("91 1;92 1;93 0;97 2;330 1;5 2")},
      {"huge path count", dxf("91 " + huge)},
      {"huge vertex count", dxf("91 1;92 3;72 0;73 1;93 " + huge + ";10 0;20 0")},
      {"huge edge count", dxf("91 1;92 1;93 " + huge)},
      {"huge knot count", dxf("91 1;92 1;93 1;72 4;94 3;73 0;74 0;95 " + huge + ";96 3;40 0")},
      {"huge source count", dxf("91 1;92 1;93 0;97 " + huge)},
      {"huge dash count", dxf("78 1;53 0;43 0;44 0;45 0;46 1;79 " + huge + ";49 1")},
      {"huge seed count", dxf("98 " + huge + ";10 0;20 0")},
  };
  for (const BadHatch& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    const std::string record = dxf("0 HATCH;5 80;8 0;2 ANSI31;41 1") + c.groups;
    EXPECT_EQ(loadText(*d, ents(record, "AC1015")).error, 7);
    EXPECT_TRUE(handleFree(*d, 0x80));
    EXPECT_EQ(d->getBlockTable().size(), 0);
  }
}

}  // namespace
