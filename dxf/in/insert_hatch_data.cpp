// dxf/in/insert_hatch_data.cpp: reading the hatch data of an INSERT (older files), pair by pair
// in the order the DXF writer emits it. Inside the data a group code below 1000 means the data
// ended early (BadFileFormatParserError); another code where the layout fixes one is a fault in
// the data (BadFileFormatHatchParserError).
//
// How strict: the values the rest of the layout depends on are checked (the data version, the
// markers, the one boundary loop, straight boundary segments only, one seed point); the other
// constants (flags, the matrix, the repeated name, angle and scale, the pattern lines) are read
// for their group codes and dropped. What the writer never emits but drawings of other programs
// carry is taken too: the handles of the objects a boundary was picked from (counted by the
// third ASC_BOUNDS value and by the count after the segments), points of three codes where the
// writer repeats the last two, and a pattern name with a style after a comma ("ANSI31,I").
// Data of another version, such as the short form of version 16, which holds no boundary, is
// skipped to its closing brace and the insert stays an insert. Boundary segments of other kinds
// (arcs) are refused as values out of place rather than guessed at.
#include "dxf/in/insert_hatch_data.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <veltcore/core/string.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/hatch/pattern.h>

#include "geometry/text_angles.h"

using veltcore::dxfin::InsertHatchData;

namespace {

constexpr long kFirstXDataCode = 1000;
// The version of the data this reader knows, the one the writer gives.
constexpr long kDataVersion = 19;
// The only boundary segment the writer emits: a straight line.
constexpr long kLineSegment = 1;

// The catalogue record of that name (without a style after a comma); record 0 for a name the
// catalogue lacks.
const HATCH_TYPE& patternNamed(const SmartString& value) {
  std::string name(value.c_str());
  name.erase(std::min(name.find(','), name.size()));
  if (const HATCH_TYPE* t = getHatch(String(name.c_str()))) return *t;
  if (const HATCH_TYPE* t = getHatch(0L)) return *t;
  throw CFileDXFIParser::BadValueParserError();
}

double checkedScale(double scale) {
  if (!(scale > 0.0)) throw CFileDXFIParser::BadValueParserError();
  return scale;
}

// Into [0, 2*pi]; an angle that is not finite has no place there.
double checkedAngle(double angle) {
  if (!std::isfinite(angle)) throw CFileDXFIParser::BadValueParserError();
  return veltcore::detail::wrapAngleLoop(angle);
}

}  // namespace

long CFileDXFIVersionReader::HatchDataReader::readXData(std::optional<InsertHatchData>& data) {
  if (!reader_.value().equal_ci("ACAD")) return reader_.read();
  const long g = reader_.read();
  if (g != 1000 || !reader_.value().equal_ci("HATCH")) return g;
  data = readData();
  return reader_.read();
}

// The pattern with its scale and angle, the objects the boundary came from, then the R14 part.
std::optional<InsertHatchData> CFileDXFIVersionReader::HatchDataReader::readData() {
  expectText(1002, "{");
  next(1070);
  if (reader_.getInt() != kDataVersion) {
    skipToClosingBrace();
    return std::nullopt;
  }
  InsertHatchData d;
  next(1000);
  d.pattern = &patternNamed(reader_.value());
  d.scale = checkedScale(real(1040));
  d.angle = checkedAngle(real(1040));
  expectText(1000, "ASC_BOUNDS");
  skip({1070, 1070});
  skipHandles(count(1070));
  expectText(1000, "ASC_SEEDPOINT");
  skipPoint();
  readR14Data(d);
  expectText(1002, "}");
  return d;
}

// The handle of the hatch, a placement that is always the identity, the boundary, and the
// pattern lines again.
void CFileDXFIVersionReader::HatchDataReader::readR14Data(InsertHatchData& d) {
  expectText(1000, "R14_HATCH_DATA");
  next(1000);
  d.handle = reader_.getHex();
  for (int axis = 0; axis < 3; ++axis) skipPoint();
  skip({1040, 1010, 1020, 1030, 1000, 1070, 1070});
  expectCount(1071, 1);  // boundary loops
  expectCount(1071, 1);  // the loop's kind: an outer loop of segments
  readBoundary(d.boundary);
  skipHandles(count(1071));  // the objects the boundary came from
  skip({1070, 1070, 1040, 1040, 1070});
  skipPatternLines();
  expectCount(1071, 1);  // seed points
  skip({1040, 1040, 1040});
}

// Braces nest; every pair up to the closing one must still be extended data.
void CFileDXFIVersionReader::HatchDataReader::skipToClosingBrace() {
  for (long depth = 1; depth > 0;) {
    if (reader_.read() < kFirstXDataCode) throw CFileDXFIParser::BadFileFormatParserError();
    if (reader_.group() != 1002) continue;
    if (reader_.value().equal_ci("{")) ++depth;
    if (reader_.value().equal_ci("}")) --depth;
  }
}

void CFileDXFIVersionReader::HatchDataReader::skipHandles(long n) {
  for (long i = 0; i < n; ++i) next(1005);
}

// Segment i runs from point i to point i + 1: each gives both its ends, and the repeats this makes
// go when the hatch compacts its boundary (a break in the chain stays). The points grow as
// segments are read: the announced count sizes nothing.
void CFileDXFIVersionReader::HatchDataReader::readBoundary(std::vector<PNT_3D>& points) {
  const long segments = count(1071);
  for (long i = 0; i < segments; ++i) {
    expectCount(1070, kLineSegment);
    const double x0 = real(1040);
    const double y0 = real(1040);
    const double x1 = real(1040);
    const double y1 = real(1040);
    points.push_back(PNT_3D(x0, y0, 0.0));
    points.push_back(PNT_3D(x1, y1, 0.0));
  }
}

// Angle, origin and offset of each line, then its dashes: the pattern itself comes from the
// catalogue by name.
void CFileDXFIVersionReader::HatchDataReader::skipPatternLines() {
  const long lines = count(1070);
  for (long i = 0; i < lines; ++i) {
    skip({1040, 1040, 1040, 1040, 1040});
    const long dashes = count(1070);
    for (long k = 0; k < dashes; ++k) next(1040);
  }
}

// The writer gives 1011, 1021, 1031 and then 1021, 1031 again; other programs the first three.
void CFileDXFIVersionReader::HatchDataReader::skipPoint() {
  skip({1011, 1021, 1031});
  if (peek() == 1021) skip({1021, 1031});
}

long CFileDXFIVersionReader::HatchDataReader::peek() {
  if (!peeked_) reader_.read();
  peeked_ = true;
  return reader_.group();
}

void CFileDXFIVersionReader::HatchDataReader::next(long code) {
  const long g = peeked_ ? reader_.group() : reader_.read();
  peeked_ = false;
  if (g < kFirstXDataCode) throw CFileDXFIParser::BadFileFormatParserError();
  if (g != code) throw CFileDXFIParser::BadFileFormatHatchParserError();
}

void CFileDXFIVersionReader::HatchDataReader::skip(std::initializer_list<long> codes) {
  for (long code : codes) next(code);
}

double CFileDXFIVersionReader::HatchDataReader::real(long code) {
  next(code);
  return reader_.getDouble();
}

long CFileDXFIVersionReader::HatchDataReader::count(long code) {
  next(code);
  const long n = reader_.getInt();
  if (n < 0) throw CFileDXFIParser::BadValueParserError();
  return n;
}

void CFileDXFIVersionReader::HatchDataReader::expectCount(long code, long n) {
  next(code);
  if (reader_.getInt() != n) throw CFileDXFIParser::BadValueParserError();
}

void CFileDXFIVersionReader::HatchDataReader::expectText(long code, const char* text) {
  next(code);
  if (!reader_.value().equal_ci(text)) throw CFileDXFIParser::BadValueParserError();
}
