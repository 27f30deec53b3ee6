// tests/hatch/catalogue_test.cpp: the built-in pattern catalogue against the standard pattern
// definitions it is compiled from (every record and line, to the digit), the lines' fitness for
// the generator, the lookups, and the anonymous hatch block names.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/hatch/pattern.h>

#include "database/test_drawing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// The .pat text form: "*NAME, description" headers, comma-separated number lines (angle in
// degrees, x, y, dx, dy, dashes...), ";;" comments.
struct PatPattern {
  std::string name, description;
  std::vector<std::vector<double>> lines;
};

std::vector<PatPattern> readPatFile(std::ifstream& in) {
  std::vector<PatPattern> out;
  for (std::string line; std::getline(in, line);) {
    line = trim(line);
    if (line.empty() || line.rfind(";;", 0) == 0) continue;
    if (line[0] == '*') {
      const auto comma = line.find(',');
      out.push_back({trim(line.substr(1, comma - 1)), trim(line.substr(comma + 1)), {}});
      continue;
    }
    std::vector<double>& numbers = out.back().lines.emplace_back();
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');)
      numbers.push_back(std::strtod(field.c_str(), nullptr));
  }
  return out;
}

// The right angles are the exact doubles the generator recognises.
double radians(double degrees) {
  if (degrees == 90) return kPi / 2;
  if (degrees == 180) return kPi;
  if (degrees == 270) return 3 * kPi / 2;
  return degrees * kPi / 180;
}

}  // namespace

TEST(HatchCatalogue, MatchesTheStandardPatternFileLineForLine) {
  const std::string path = std::string(VELTCORE_SHARED_HATCH_DIR) + "/patterns.pat";
  std::ifstream in(path);
  if (!in) GTEST_SKIP() << "no pattern file at " << path;
  const std::vector<PatPattern> file = readPatFile(in);
  ASSERT_EQ(file.size(), static_cast<std::size_t>(kNoHatchTypes));
  for (long i = 0; i < kNoHatchTypes; ++i) {
    const HATCH_TYPE& t = *getHatch(i);
    const PatPattern& p = file[static_cast<std::size_t>(i)];
    SCOPED_TRACE(p.name);
    EXPECT_EQ(t.name, p.name);
    EXPECT_EQ(t.description, p.description);
    ASSERT_EQ(t.noLines, static_cast<long>(p.lines.size()));
    // Consecutive records share one line table without gaps.
    if (i > 0) {
      EXPECT_EQ(getHatch(i - 1)->lines + getHatch(i - 1)->noLines, t.lines);
    }
    for (long k = 0; k < t.noLines; ++k) {
      const HATCH_LINE& l = t.lines[k];
      const std::vector<double>& n = p.lines[static_cast<std::size_t>(k)];
      SCOPED_TRACE("line " + std::to_string(k));
      ASSERT_EQ(l.noDashes, static_cast<long>(n.size() - 5));
      std::vector<double> got{l.x, l.y, l.deltaX, l.deltaY};
      got.insert(got.end(), l.dashes, l.dashes + l.noDashes);
      EXPECT_EQ(l.angle, radians(n[0]));
      EXPECT_EQ(got, std::vector<double>(n.begin() + 1, n.end()));
    }
  }
}

TEST(HatchCatalogue, LookupsAndLinesTheGeneratorCanUse) {
  EXPECT_EQ(getHatch(-1L), nullptr);
  EXPECT_EQ(getHatch(68L), nullptr);
  EXPECT_STREQ(getHatch(0L)->name, "ANGLE");
  EXPECT_STREQ(getHatch(67L)->name, "CATASTO1");
  EXPECT_EQ(getHatch(String("ansi31")), getHatch(1L));
  EXPECT_EQ(getHatch(String("Acad_Iso02w100")), getHatch(39L));
  EXPECT_EQ(getHatch(String("ANSI3")), nullptr);
  EXPECT_EQ(getHatch(String("")), nullptr);
  const HATCH_TYPE copy = *getHatch(1L);
  EXPECT_EQ(getHatch(copy), -1);
  EXPECT_EQ(getHatch(String("NET"))->lines[1].angle, kPi / 2);
  // Every line has a spacing, at most six dashes, and a period when dashed.
  long lines = 0;
  for (long i = 0; i < kNoHatchTypes; ++i) {
    const HATCH_TYPE& t = *getHatch(i);
    EXPECT_EQ(getHatch(t), i);
    for (long k = 0; k < t.noLines; ++k, ++lines) {
      const HATCH_LINE& l = t.lines[k];
      double period = 0;
      for (long j = 0; j < l.noDashes; ++j) period += std::fabs(l.dashes[j]);
      EXPECT_TRUE(l.deltaY != 0 && l.noDashes >= 0 && l.noDashes <= 6 &&
                  (l.noDashes == 0 || period > 0))
          << t.name << " line " << k;
    }
  }
  EXPECT_EQ(lines, 216);
}

// "*PAT" and the lowest free number, counted with case; the numbering itself is the block
// table's progressive names.
TEST(HatchCatalogue, HatchNamesTakeTheLowestFreeNumber) {
  DataPtr d = newDrawing();
  CBlockTable& blocks = d->getBlockTable();
  for (const char* name : {"*pat1", "*PAT01", "*PAT2"})
    blocks.add(d->getBlockFactory().create(String(name), 1));
  EXPECT_STREQ(getHatchName(blocks).c_str(), "*PAT1");
  blocks.add(d->getBlockFactory().create(getHatchName(blocks), 1));
  EXPECT_STREQ(getHatchName(blocks).c_str(), "*PAT3");
}
