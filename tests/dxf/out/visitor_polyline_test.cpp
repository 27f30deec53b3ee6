// tests/dxf/out/visitor_polyline_test.cpp: the POLYLINE record of the DXF writer: header flags,
// elevation or 3D form, widths hoisted into the header only when every drawn vertex agrees,
// curves as their control points and drawn vertices in the reader's order and flags, and the
// header alone when nothing is drawn.
#include <gtest/gtest.h>

#include <cstdio>

#include "dxf/out/visitor_support.h"

namespace {

// One VERTEX record as the pairs must carry it: handle, point, then the flags and widths in rest.
std::string vx(const char* handle, double x, double y, double z, const char* rest = "") {
  return std::string(";0 VERTEX;5 ") + handle + ";8 A_B;10 " + fixed6(x) + ";20 " + fixed6(y) +
         ";30 " + fixed6(z) + rest;
}

// Adds the vertices of a text "x y z ws we;...", handles counting on from handle. On a curve
// addVertex adds a control point and addVisibleVertex a drawn vertex.
void addVertices(CData& d, CEntPolyline& p, const char* text, bool drawn, long& handle) {
  double x, y, z, ws, we;
  for (int n = 0; std::sscanf(text, "%lf %lf %lf %lf %lf%n", &x, &y, &z, &ws, &we, &n) == 5;
       text += n + (text[n] == ';')) {
    CVertex& v = *createVertex(d, PNT_3D(x, y, z), ws, we, handle++);
    drawn ? p.addVisibleVertex(v) : p.addVertex(v);
  }
}

const std::string kSeq = ";0 SEQEND;5 *;8 A_B";
const std::string kHead = "0 POLYLINE;5 90;8 A_B;10 0.000000;20 0.000000;";

struct PolylineCase {
  const char* what;
  long flags;  // CEntPolyline flags: 1 closed, 2 spline, 4 curve fit, 128 ltgen
  short degree;
  const char* control;   // vertices of a plain polyline, control points of a curve
  const char* drawn;     // a curve's generated vertices
  std::string expected;  // SEQEND handle hidden
};

// clang-format off
const PolylineCase kCases[] = {
    {"plain, flat at the first vertex's Z", 0, 0, "0 0 2 0 0;1 0 2 0 0;1 1 2 0 0", "",
     kHead + "30 2.000000;66 1" + vx("91", 0, 0, 2) + vx("92", 1, 0, 2) + vx("93", 1, 1, 2) + kSeq},
    {"closed with linetype generation", 129, 0, "0 0 0 0 0;1 0 0 0 0", "",
     kHead + "30 0.000000;70 129;66 1" + vx("91", 0, 0, 0) + vx("92", 1, 0, 0) + kSeq},
    {"Z 0, 0, 5: a 3D polyline", 0, 0, "0 0 0 0 0;1 0 0 0 0;1 1 5 0 0", "",
     kHead + "30 0.000000;70 8;66 1" + vx("91", 0, 0, 0, ";70 32") + vx("92", 1, 0, 0, ";70 32") +
         vx("93", 1, 1, 5, ";70 32") + kSeq},
    {"all start widths 0.5, end widths 0: in the header", 0, 0, "0 0 0 .5 0;1 0 0 .5 0;2 0 0 .5 0",
     "", kHead + "30 0.000000;40 0.500000;66 1" + vx("91", 0, 0, 0) + vx("92", 1, 0, 0) +
         vx("93", 2, 0, 0) + kSeq},
    {"widths that differ: each vertex its own, zeros left out", 0, 0, "0 0 0 1 2;1 0 0 0 3;2 0 0 1 2",
     "", kHead + "30 0.000000;66 1" + vx("91", 0, 0, 0, ";40 1.000000;41 2.000000") +
         vx("92", 1, 0, 0, ";41 3.000000") + vx("93", 2, 0, 0, ";40 1.000000;41 2.000000") + kSeq},
    {"quadratic spline: first control point, drawn vertices, other control points", 2, 2,
     "0 0 0 0 0;5 5 0 0 0;9 0 0 0 0", ".5 .5 0 0 0;8 1 0 0 0",
     kHead + "30 0.000000;70 4;75 5;66 1" + vx("91", 0, 0, 0, ";70 16") +
         vx("94", 0.5, 0.5, 0, ";70 8") + vx("95", 8, 1, 0, ";70 8") + vx("92", 5, 5, 0, ";70 16") +
         vx("93", 9, 0, 0, ";70 16") + kSeq},
    {"cubic closed spline whose drawn vertices agree on widths the control points lack", 3, 3,
     "0 0 0 0 0;4 4 0 2 3", "1 1 0 1 1;3 3 0 1 1",
     kHead + "30 0.000000;70 5;75 6;40 1.000000;41 1.000000;66 1" + vx("91", 0, 0, 0, ";70 16") +
         vx("93", 1, 1, 0, ";70 8") + vx("94", 3, 3, 0, ";70 8") + vx("92", 4, 4, 0, ";70 16") + kSeq},
    {"curve fit in 3D", 4, 0, "0 0 0 0 0;2 2 1 0 0", "1 1 .5 0 0",
     kHead + "30 0.000000;70 10;66 1" + vx("91", 0, 0, 0, ";70 48") +
         vx("93", 1, 1, 0.5, ";70 33") + vx("92", 2, 2, 1, ";70 48") + kSeq},
    {"a curve not generated: header alone at its first control point's Z", 4, 0,
     "0 0 3 1 1;2 2 3 1 1", "", kHead + "30 3.000000;70 2"},
    {"no vertex at all: header alone at elevation 0", 0, 0, "", "", kHead + "30 0.000000"},
};
// clang-format on

TEST(DxfPolylineRecords, HeaderVerticesAndSeqend) {
  for (const PolylineCase& c : kCases) {
    SCOPED_TRACE(c.what);
    RecordDrawing w;
    CEntPolyline* p = createEntPolyline(*w.d, w.ab, w.byLayer(), 256, c.flags, c.degree, 0x90);
    long handle = 0x91;
    addVertices(*w.d, *p, c.control, false, handle);
    addVertices(*w.d, *p, c.drawn, true, handle);
    EXPECT_EQ(record(w, p), pairs(c.expected));
  }
}

}  // namespace
