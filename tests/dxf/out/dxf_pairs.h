// tests/dxf/out/dxf_pairs.h: helpers for the DXF writer tests: expected pairs from a compact
// text, the expected text of a list of pairs, and the written text split back into pairs,
// sections and records. The expected text is formatted with snprintf in the C locale,
// independently of the writer.
#pragma once

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
    text += code;
    text += p.value + "\n";
  }
  return text;
}

// The written text as pairs; a text with an odd number of lines fails the test.
inline Pairs pairsOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line has no line end";
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
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

// The records of a stretch of pairs: each starts at a pair of code 0.
inline std::vector<Pairs> recordsOf(const Pairs& pairs) {
  std::vector<Pairs> records;
  for (const Pair& p : pairs) {
    if (p.code == 0 || records.empty()) records.emplace_back();
    records.back().push_back(p);
  }
  return records;
}

// The records whose first pair is 0/type.
inline std::vector<Pairs> recordsOf(const Pairs& pairs, const std::string& type) {
  std::vector<Pairs> found;
  for (const Pairs& r : recordsOf(pairs))
    if (r.front() == Pair{0, type}) found.push_back(r);
  return found;
}

// The value of the first pair of record with the given code; "<none>" when there is none.
inline std::string valueOf(const Pairs& record, int code) {
  for (const Pair& p : record)
    if (p.code == code) return p.value;
  return "<none>";
}
