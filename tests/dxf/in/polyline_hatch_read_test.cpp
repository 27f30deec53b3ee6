// tests/dxf/in/polyline_hatch_read_test.cpp: the POLYLINE (with VERTEX and SEQEND), LWPOLYLINE
// and HATCH readers: the kind bits and both curve kinds, vertex values, the record errors with
// every handle given back, widths of LWPOLYLINE, hatch boundaries from polyline paths and from
// edges, hatches that are dropped, and counts in the file that promise more than it holds.

#include <gtest/gtest.h>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

const double kDeg = 0.01745329251994;
const std::string kSeqend = dxf("0 SEQEND;8 0");

std::string vertex(const std::string& groups) {
  return dxf("0 VERTEX;8 0;" + groups);
}

// The drawing's only entity, of the given type.
template <class T>
T& only(CData& d, short type) {
  const std::vector<CEnt*> all = entities(d);
  EXPECT_EQ(all.size(), 1u);
  EXPECT_EQ(all.at(0)->getType(), type);
  return *static_cast<T*>(all.at(0));
}
CEntPolyline& onlyPolyline(CData& d) {
  return only<CEntPolyline>(d, 5);
}

// The file's curve-fit flag 2 is the kind bit 4 and its spline flag 4 the kind bit 2.
TEST(DxfPolyline, FileFlagsBecomeKindBitsAndDegree) {
  struct Case {
    std::string groups;  // 70 and 75 of the POLYLINE record
    short flags, degree;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"70 1", 1, 0}, {"70 128", 128, 0}, {"70 8", 0, 0}, {"70 4;75 5", 2, 2}, {"70 5;75 6", 3, 3},
      {"70 4;75 8", 2, 0}, {"70 2;75 6", 4, 0}
  };
  // clang-format on
  const std::string vertices = vertex("10 0;20 0") + vertex("10 5;20 0") + vertex("10 5;20 5");
  for (const char* version : {"AC1009", "AC1015"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.groups);
      DataPtr d = newDrawing();
      const std::string record = dxf("0 POLYLINE;8 0;66 1;" + c.groups) + vertices + kSeqend;
      ASSERT_EQ(loadText(*d, ents(record, version)).error, 0);
      EXPECT_EQ(onlyPolyline(*d).getFlags(), c.flags);
      EXPECT_EQ(onlyPolyline(*d).getDegree(), c.degree);
    }
  }
}

// A curve fit keeps its control points and regenerates: three of an open curve give 21 curve
// vertices; the file's own fitted vertices (flag 1) are dropped with their handles. A spline's
// flag 16 frames it, flag 8 is drawn, flags 0 is both (drawn as a copy).
TEST(DxfPolyline, CurvesSplitControlAndDrawnVertices) {
  DataPtr d = newDrawing();
  const std::string fit = dxf("0 POLYLINE;5 F0;8 0;66 1;70 2") + vertex("5 100;10 0;20 0;70 0") +
                          vertex("5 110;10 4;20 1;70 1") + vertex("5 101;10 10;20 0;70 0") +
                          vertex("5 111;10 9;20 6;70 1") + vertex("5 102;10 10;20 10;70 0") +
                          kSeqend;
  ASSERT_EQ(loadText(*d, ents(fit)).error, 0);
  const CEntPolyline& p = onlyPolyline(*d);
  ASSERT_EQ(p.getNoCtrlPnts(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p[i].GetHandle(), 0x100 + i);
  EXPECT_EQ(p.getNoVisibleVertexes(), 21);
  EXPECT_EQ(p.GetVertexPos(3), PNT_3D(0, 0, 0));
  const PNT_3D& last = p.GetVertexPos(p.getNoTotalVertexes() - 1);
  EXPECT_NEAR(last.getX(), 10.0, 1e-9);
  EXPECT_NEAR(last.getY(), 10.0, 1e-9);
  EXPECT_TRUE(handleFree(*d, 0x110) && handleFree(*d, 0x111));

  DataPtr e = newDrawing();
  const std::string spline = dxf("0 POLYLINE;8 0;66 1;70 4;75 6") +
                             vertex("5 200;10 0;20 0;70 16") + vertex("5 201;10 10;20 0;70 16") +
                             vertex("5 202;10 5;20 5;70 8") + vertex("5 203;10 10;20 10;70 0") +
                             kSeqend;
  ASSERT_EQ(loadText(*e, ents(spline)).error, 0);
  const CEntPolyline& s = onlyPolyline(*e);
  ASSERT_EQ(s.getNoCtrlPnts(), 3);
  ASSERT_EQ(s.getNoVisibleVertexes(), 2);
  const long handles[] = {0x200, 0x201, 0x203, 0x202};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s[i].GetHandle(), handles[i]);
  EXPECT_EQ(s.GetVertexPos(4), PNT_3D(10, 10, 0));
  EXPECT_NE(s[4].GetHandle(), 0x203);
  EXPECT_FALSE(handleFree(*e, s[4].GetHandle()));
}

TEST(DxfPolyline, VertexZFromElevationUnless3DAndDefaultWidths) {
  DataPtr d = newDrawing();
  const std::string record = dxf("0 POLYLINE;8 0;66 1;30 5;40 1;41 2") + vertex("10 1;20 1;30 9") +
                             vertex("10 2;20 2;30 9;70 32;40 3") + kSeqend;
  ASSERT_EQ(loadText(*d, ents(record)).error, 0);
  const CEntPolyline& p = onlyPolyline(*d);
  EXPECT_EQ(p.GetVertexPos(0), PNT_3D(1, 1, 5));
  EXPECT_EQ(p.GetVertexPos(1), PNT_3D(2, 2, 9));
  EXPECT_EQ(std::vector<double>({p[0].GetWidthStart(), p[0].GetWidthEnd(), p[1].GetWidthStart(),
                                 p[1].GetWidthEnd()}),
            std::vector<double>({1, 2, 3, 2}));
}

// The polyline (handle 300) and its vertices (301, 302) are never left booked.
TEST(DxfPolyline, RecordErrorsGiveEveryHandleBack) {
  struct Case {
    const char* what;
    std::string records;
    long error, param1, param2;
  };
  const std::string head = dxf("0 POLYLINE;5 300;8 0;66 1");
  const std::string v1 = vertex("5 301;10 0;20 0;70 16");
  const std::string v2 = vertex("5 302;10 1;20 0;70 8");
  // clang-format off
  const std::vector<Case> cases = {
      {"no 66", dxf("0 POLYLINE;5 300;8 0") + v1 + kSeqend, 11, 5, 1},
      {"vertex without 20", head + v1 + vertex("10 1") + kSeqend, 11, 40, 0x11},
      {"no SEQEND", head + v1 + v2 + dxf("0 POINT;8 0;10 0;20 0"), 7, 0, 0},
      {"negative default width", dxf("0 POLYLINE;8 0;66 1;40 -1") + v1 + kSeqend, 9, 0, 0},
      {"negative vertex width", head + v1 + vertex("10 1;20 1;41 -0.5") + kSeqend, 9, 0, 0},
      {"spline of one control point", dxf("0 POLYLINE;5 300;8 0;66 1;70 4") + v1 + v2 + kSeqend, 7, 0, 0},
      {"file ends among vertices", head + v1 + dxf("0 VERTEX;8 0"), 4, 0, 0}
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    const std::string text =
        c.error == 4 ? header("AC1009") + dxf("0 SECTION;2 ENTITIES") + c.records : ents(c.records);
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, c.error);
    EXPECT_EQ(out.param1, c.param1);
    EXPECT_EQ(out.param2, c.param2);
    for (long h : {0x300, 0x301, 0x302}) EXPECT_TRUE(handleFree(*d, h)) << h;
  }
}

// Widths hold for the vertex being read and those after it; 38 is every vertex's Z; the count
// 90 promises far more vertices than come and is not trusted. Older files skip the record.
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
  }
  EXPECT_EQ(p.GetVertexPos(0), PNT_3D(0, 0, 7));
  EXPECT_EQ(p.GetVertexPos(2), PNT_3D(5, 5, 7));

  const std::string skipped = dxf("0 LWPOLYLINE;8 0;10 0;20 0;10 1;20 1") +
                              dxf("0 HATCH;8 0;2 ANSI31;91 1;92 1;93 0;97 0") +
                              dxf("0 POINT;8 0;10 1;20 1");
  DataPtr older = newDrawing();
  ASSERT_EQ(loadText(*older, ents(skipped)).error, 0);
  only<CEnt>(*older, 1);
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

const std::string kSquareEdges = dxf("93 4") + lineEdge(0, 0, 10, 0) + lineEdge(10, 0, 10, 10) +
                                 lineEdge(10, 10, 0, 10) + lineEdge(0, 10, 0, 0);

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
  const std::string far = dxf("92 0;93 1") + lineEdge(100, 100, 200, 100) + dxf("97 0");
  const std::string paths = dxf("92 1") + kSquareEdges + dxf("97 1;330 1F") + far;
  ASSERT_EQ(loadText(*d, ents(hatch("20", "ansi31", "30 2;52 90", 2, paths), "AC1015")).error, 0);
  const CEntHatch& h = only<CEntHatch>(*d, 10);
  EXPECT_EQ(h.GetHandle(), 0x20);
  EXPECT_EQ(&h.getHatchType(), getHatch("ANSI31"));
  EXPECT_EQ(h.getHatchScale(), 1.0);
  EXPECT_EQ(h.getHatchRotate(), 90 * kDeg);
  expectBoundary(h, {PNT_3D(10, 0, 2), PNT_3D(10, 10, 2), PNT_3D(0, 10, 2), PNT_3D(0, 0, 2)});
  ASSERT_NE(h.getBlock(), nullptr);
  EXPECT_EQ(d->getBlockTable().get(h.getBlock()->getName()), h.getBlock());
  EXPECT_GT(h.getBlock()->size(), 0);
}

TEST(DxfHatch, PolylinePathsWithBulgesAndArcAndEllipseEdges) {
  DataPtr d = newDrawing();
  const std::string bulges =
      dxf("92 3;72 1;73 1;93 4;10 0;20 0;42 0;10 10;20 0;42 0.5;10 10;20 10;42 0;10 0;20 10;42 "
          "-1;97 0");
  ASSERT_EQ(loadText(*d, ents(hatch("30", "ANSI31", "41 2", 1, bulges), "AC1014")).error, 0);
  const PNT_3D c[] = {PNT_3D(0, 0, 0), PNT_3D(10, 0, 0), PNT_3D(10, 10, 0), PNT_3D(0, 10, 0)};
  const double bulge[] = {0, 0.5, 0, -1};
  std::vector<PNT_3D> raw;
  for (int i = 0; i < 4; ++i) hatch_add_segment_bulge(c[i], c[(i + 1) % 4], bulge[i], raw);
  EXPECT_EQ(only<CEntHatch>(*d, 10).getHatchScale(), 2.0);
  expectBoundary(only<CEntHatch>(*d, 10), raw);

  DataPtr e = newDrawing();
  const std::string edges =
      dxf("92 1;93 4") + lineEdge(0, 0, 10, 0) + dxf("72 2;10 10;20 5;40 5;50 270;51 90;73 1") +
      lineEdge(10, 10, 0, 10) + dxf("72 3;10 0;20 5;11 0;21 5;40 0.4;50 0;51 180;73 1;97 0");
  ASSERT_EQ(loadText(*e, ents(hatch("30", "NET", "41 1", 1, edges), "AC1015")).error, 0);
  raw = {PNT_3D(10, 0, 0)};
  hatch_add_arc(PNT_3D(10, 5, 0), 5, 270 * kDeg, 90 * kDeg, raw);
  if (raw.back() != PNT_3D(10, 10, 0)) raw.push_back(PNT_3D(10, 10, 0));
  raw.push_back(PNT_3D(0, 10, 0));
  hatch_add_ellipse(PNT_3D(0, 5, 0), 0, 5, 0.4, 0, 180 * kDeg, raw);
  expectBoundary(only<CEntHatch>(*e, 10), raw);
}

// A solid fill (not in the catalogue), a scale the generator refuses and a boundary of no
// external path leave no entity, no block and no handle behind.
TEST(DxfHatch, HatchesThatCannotBeMadeAreDropped) {
  DataPtr d = newDrawing();
  const std::string square = kSquareEdges + dxf("97 0");
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
TEST(DxfHatch, AGroupOutOfPlaceIsError7) {
  const std::string huge = "2000000000";
  // clang-format off
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"edge path without 93", "91 1;92 1;72 1"}, {"edge of type 5", "91 1;92 1;93 1;72 5"},
      {"pattern line without 43", "78 1;53 45;44 0"}, {"seed point without 20", "98 1;10 0;30 0"},
      {"source objects without 330", "91 1;92 1;93 0;97 2;330 1;5 2"},
      {"huge path count", "91 " + huge},
      {"huge vertex count", "91 1;92 3;72 0;73 1;93 " + huge + ";10 0;20 0"},
      {"huge edge count", "91 1;92 1;93 " + huge},
      {"huge knot count", "91 1;92 1;93 1;72 4;94 3;73 0;74 0;95 " + huge + ";96 3;40 0"},
      {"huge source count", "91 1;92 1;93 0;97 " + huge},
      {"huge dash count", "78 1;53 0;43 0;44 0;45 0;46 1;79 " + huge + ";49 1"},
      {"huge seed count", "98 " + huge + ";10 0;20 0"}
  };
  // clang-format on
  for (const auto& [what, groups] : cases) {
    SCOPED_TRACE(what);
    DataPtr d = newDrawing();
    const std::string record = dxf("0 HATCH;5 80;8 0;2 ANSI31;41 1;" + groups);
    EXPECT_EQ(loadText(*d, ents(record, "AC1015")).error, 7);
    EXPECT_TRUE(handleFree(*d, 0x80));
    EXPECT_EQ(d->getBlockTable().size(), 0);
  }
}

}  // namespace
