// dxf/out/visitor_hatch.cpp: a hatch as the INSERT record of its generated block followed by the
// hatch data (extended data of the application "ACAD") from which the older reader rebuilds the
// hatch: pattern, scale, angle and boundary. The layout is fixed pair by pair; the values the
// layout marks as integers go out through the integer writer even under real group codes.
#include <veltcore/dxf/out/visitor.h>

#include <veltcore/core/point.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

namespace {

// Catalogue patterns are in inches; the data gives them in drawing units (millimetres).
constexpr double kMillimetresPerInch = 25.4;
// The version of the data layout below.
constexpr long kDataVersion = 19;

}  // namespace

void CFileDXFOVisitor::visit(CEntHatch& e) {
  writeInsertGroups(e);
  writeHatchData(e);
}

void CFileDXFOVisitor::writeHatchData(const CEntHatch& e) {
  const HATCH_TYPE& type = e.getHatchType();
  const double scale = e.getHatchScale();
  const double angle = e.getHatchRotate();  // radians, as the data carries it
  write(1001, "ACAD");
  write(1000, "HATCH");
  write(1002, "{");
  write(1070, kDataVersion);
  write(1000, type.name);
  write(1040, scale);
  write(1040, angle);
  // No objects the boundary was picked from, and an unused seed point.
  write(1000, "ASC_BOUNDS");
  write(1070, 1L);
  write(1070, 2L);
  write(1070, 0L);
  write(1000, "ASC_SEEDPOINT");
  for (long code : {1011, 1021, 1031, 1021, 1031}) write(code, 0.0);

  write(1000, "R14_HATCH_DATA");
  writeHex(1000, e.GetHandle());
  // The placement: the three rows of the identity, then the origin and the Z axis.
  const long identity[3][5] = {{1, 0, 0, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}};
  for (const auto& row : identity) {
    const long codes[5] = {1011, 1021, 1031, 1021, 1031};
    for (int i = 0; i < 5; ++i) write(codes[i], row[i]);
  }
  write(1040, 0L);
  write(1010, 0L);
  write(1020, 0L);
  write(1030, 1L);
  write(1000, type.name);
  write(1070, 0L);
  write(1070, 0L);

  // One outer loop of straight segments, segment i from point i to point i + 1.
  write(1071, 1L);
  write(1071, 1L);
  const long points = e.getNoPnts();
  write(1071, points - 1);
  for (long i = 0; i + 1 < points; ++i) {
    write(1070, 1L);
    write(1040, e.getPnt(i).getX());
    write(1040, e.getPnt(i).getY());
    write(1040, e.getPnt(i + 1).getX());
    write(1040, e.getPnt(i + 1).getY());
  }
  write(1071, 0L);

  write(1070, 0L);
  write(1070, 1L);
  write(1040, angle);
  write(1040, scale);
  write(1070, 0L);
  // The pattern as defined, in drawing units but neither scaled nor turned: like the angle of
  // each line, which is its own and not the hatch's, the lengths describe the catalogue pattern,
  // and this hatch's scale and angle stand beside them above.
  write(1070, type.noLines);
  for (long i = 0; i < type.noLines; ++i) {
    const HATCH_LINE& line = type.lines[i];
    write(1040, line.angle);
    write(1040, line.x * kMillimetresPerInch);
    write(1040, line.y * kMillimetresPerInch);
    write(1040, line.deltaX * kMillimetresPerInch);
    write(1040, line.deltaY * kMillimetresPerInch);
    write(1070, line.noDashes);
    for (long k = 0; k < line.noDashes; ++k) write(1040, line.dashes[k] * kMillimetresPerInch);
  }

  // One seed point, at the origin.
  write(1071, 1L);
  write(1040, 0L);
  write(1040, 0L);
  write(1040, 0L);
  write(1002, "}");
}
