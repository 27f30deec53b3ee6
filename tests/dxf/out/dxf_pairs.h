// tests/dxf/out/dxf_pairs.h: helpers for the DXF writer tests (and the reader tests of hatch
// data): expected pairs from a compact text, the text of a list of pairs, the written text split
// back into pairs, sections and records, and the hatch data an INSERT record carries. Expected
// text is formatted with snprintf in the C locale, independently of the writer.
#pragma once

#include <veltcore/hatch/pattern.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct Pair {
  int code;
  std::string value;
  bool operator==(const Pair& o) const { return code == o.code && value == o.value; }
};
using Pairs = std::vector<Pair>;

inline std::ostream& operator<<(std::ostream& os, const Pair& p) {
  return os << p.code << "/" << p.value;
}

// Pairs from a compact text: pairs separated by ';', each a group code, one blank and the value
// (which may be empty or hold blanks): "0 LINE;8 0;10 1.500000".
inline Pairs pairs(const std::string& compact) {
  Pairs out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t bar = compact.find(';', from);
    const std::string pair = compact.substr(from, bar == std::string::npos ? bar : bar - from);
    const std::size_t blank = pair.find(' ');
    out.push_back({std::atoi(pair.substr(0, blank).c_str()), pair.substr(blank + 1)});
    if (bar == std::string::npos) return out;
    from = bar + 1;
  }
}

// The DXF text of pairs: "%3d" code lines, value lines as given.
inline std::string dxfText(const Pairs& pairs) {
  std::string text;
  for (const Pair& p : pairs) {
    char code[16];
    std::snprintf(code, sizeof code, "%3d\n", p.code);
    text += code + p.value + "\n";
  }
  return text;
}

// The written text as pairs; a last line without its end or an odd number of lines fails.
inline Pairs pairsOf(const std::string& text) {
  EXPECT_TRUE(text.empty() || text.back() == '\n') << "last line has no line end";
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(lines.size() % 2, 0u) << "odd number of lines";
  Pairs pairs;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
    pairs.push_back({std::atoi(lines[i].c_str()), lines[i + 1]});
  return pairs;
}

// The pairs between 0/SECTION 2/name and the next 0/ENDSEC, both excluded; empty when absent.
inline Pairs sectionOf(const Pairs& pairs, const std::string& name) {
  for (std::size_t i = 0; i + 1 < pairs.size(); ++i) {
    if (!(pairs[i] == Pair{0, "SECTION"} && pairs[i + 1] == Pair{2, name})) continue;
    Pairs body;
    for (std::size_t j = i + 2; j < pairs.size() && !(pairs[j] == Pair{0, "ENDSEC"}); ++j)
      body.push_back(pairs[j]);
    return body;
  }
  return {};
}

// The records of a stretch of pairs (each starts at a pair of code 0), those whose first pair
// is 0/type when a type is given.
inline std::vector<Pairs> recordsOf(const Pairs& pairs, const std::string& type = "") {
  std::vector<Pairs> records;
  for (const Pair& p : pairs) {
    if (p.code == 0 || records.empty()) records.emplace_back();
    records.back().push_back(p);
  }
  std::vector<Pairs> found;
  for (const Pairs& r : records)
    if (type.empty() || r.front() == Pair{0, type}) found.push_back(r);
  return found;
}

// The value of the first pair of record with the given code; "<none>" when there is none.
inline std::string valueOf(const Pairs& record, int code) {
  for (const Pair& p : record)
    if (p.code == code) return p.value;
  return "<none>";
}

inline std::string fixed6(double v) {
  char text[400];
  std::snprintf(text, sizeof text, "%.6f", v);
  return text;
}

// The hatch data of an INSERT record as the older reader takes it: pattern t at scale and angle
// (radians), a boundary of straight segments through b (closed: the last point is the first),
// and the catalogue's pattern lines in millimetres, not scaled by the hatch.
inline Pairs hatchData(const std::string& handle, const HATCH_TYPE& t, double scale, double angle,
                       const std::vector<PNT_3D>& b) {
  std::string s = std::string("1001 ACAD;1000 HATCH;1002 {;1070 19;1000 ") + t.name + ";1040 " +
                  fixed6(scale) + ";1040 " + fixed6(angle) +
                  ";1000 ASC_BOUNDS;1070 1;1070 2;1070 0;1000 ASC_SEEDPOINT;1011 0.000000;"
                  "1021 0.000000;1031 0.000000;1021 0.000000;1031 0.000000;1000 R14_HATCH_DATA;"
                  "1000 " +
                  handle +
                  ";1011 1;1021 0;1031 0;1021 0;1031 0;1011 0;1021 0;1031 0;1021 1;1031 0;"
                  "1011 0;1021 0;1031 0;1021 0;1031 1;1040 0;1010 0;1020 0;1030 1;1000 " +
                  t.name + ";1070 0;1070 0;1071 1;1071 1;1071 " + std::to_string(b.size() - 1);
  for (std::size_t i = 0; i + 1 < b.size(); ++i)
    s += ";1070 1;1040 " + fixed6(b[i].getX()) + ";1040 " + fixed6(b[i].getY()) + ";1040 " +
         fixed6(b[i + 1].getX()) + ";1040 " + fixed6(b[i + 1].getY());
  s += ";1071 0;1070 0;1070 1;1040 " + fixed6(angle) + ";1040 " + fixed6(scale) + ";1070 0;1070 " +
       std::to_string(t.noLines);
  for (long i = 0; i < t.noLines; ++i) {
    const HATCH_LINE& l = t.lines[i];
    for (double v : {l.angle, l.x * 25.4, l.y * 25.4, l.deltaX * 25.4, l.deltaY * 25.4})
      s += ";1040 " + fixed6(v);
    s += ";1070 " + std::to_string(l.noDashes);
    for (long k = 0; k < l.noDashes; ++k) s += ";1040 " + fixed6(l.dashes[k] * 25.4);
  }
  return pairs(s + ";1071 1;1040 0;1040 0;1040 0;1002 }");
}
