// tests/hatch/catalogue_test.cpp: the built-in pattern catalogue against the standard pattern
// definitions it is compiled from (every record and line), the rows drawings depend on, the
// lookups, and the anonymous hatch block names.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <set>
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

struct PatFile {
  struct Pattern {
    std::string name, description;
    std::vector<std::vector<double>> lines;  // angle in degrees, x, y, dx, dy, dashes...
  };
  std::vector<Pattern> patterns;
};

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  const auto e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Reads the .pat text form: "*NAME, description" headers, comma-separated number lines, ";;"
// comments.
bool readPatFile(const std::string& path, PatFile& out) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty() || line.rfind(";;", 0) == 0) continue;
    if (line[0] == '*') {
      const auto comma = line.find(',');
      out.patterns.push_back({trim(line.substr(1, comma - 1)), trim(line.substr(comma + 1)), {}});
      continue;
    }
    std::vector<double> numbers;
    std::stringstream fields(line);
    std::string field;
    while (std::getline(fields, field, ',')) numbers.push_back(std::strtod(field.c_str(), nullptr));
    out.patterns.back().lines.push_back(numbers);
  }
  return true;
}

double radians(double degrees) {
  if (degrees == 90) return kPi / 2;
  if (degrees == 180) return kPi;
  if (degrees == 270) return 3 * kPi / 2;
  return degrees * kPi / 180;
}

}  // namespace

TEST(HatchCatalogue, MatchesTheStandardPatternFileLineForLine) {
  PatFile file;
  const std::string path = std::string(VELTCORE_SHARED_HATCH_DIR) + "/patterns.pat";
  if (!readPatFile(path, file)) GTEST_SKIP() << "no pattern file at " << path;
  ASSERT_EQ(file.patterns.size(), static_cast<std::size_t>(kNoHatchTypes));
  long total = 0;
  for (long i = 0; i < kNoHatchTypes; ++i) {
    const HATCH_TYPE& t = *getHatch(i);
    const PatFile::Pattern& p = file.patterns[static_cast<std::size_t>(i)];
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
      EXPECT_DOUBLE_EQ(l.angle, radians(n[0]));
      EXPECT_EQ(l.x, n[1]);
      EXPECT_EQ(l.y, n[2]);
      EXPECT_EQ(l.deltaX, n[3]);
      EXPECT_EQ(l.deltaY, n[4]);
      ASSERT_EQ(l.noDashes, static_cast<long>(n.size() - 5));
      for (long j = 0; j < l.noDashes; ++j)
        EXPECT_EQ(l.dashes[j], n[static_cast<std::size_t>(5 + j)]);
    }
    total += t.noLines;
  }
  EXPECT_EQ(total, 216);
}

// Every line must be usable by the generator: a spacing, and a period when dashed.
TEST(HatchCatalogue, EveryLineHasASpacingAndDashedOnesAPeriod) {
  long lines = 0;
  for (long i = 0; i < kNoHatchTypes; ++i) {
    const HATCH_TYPE& t = *getHatch(i);
    for (long k = 0; k < t.noLines; ++k, ++lines) {
      const HATCH_LINE& l = t.lines[k];
      SCOPED_TRACE(std::string(t.name) + " line " + std::to_string(k));
      EXPECT_NE(l.deltaY, 0.0);
      ASSERT_GE(l.noDashes, 0);
      ASSERT_LE(l.noDashes, 6);
      double period = 0;
      for (long j = 0; j < l.noDashes; ++j) period += std::fabs(l.dashes[j]);
      if (l.noDashes > 0) {
        EXPECT_GT(period, 0.0);
      }
    }
  }
  EXPECT_EQ(lines, 216);
}

TEST(HatchCatalogue, RowsDrawingsDependOnToTheDigit) {
  struct Row {
    const char* pattern;
    long line;
    double degrees, x, y, dx, dy;
    std::vector<double> dashes;
  };
  const Row rows[] = {
      {"ANSI31", 0, 45, 0, 0, 0, 0.125, {}},
      {"ANGLE", 0, 0, 0, 0, 0, 0.275, {0.2, -0.075}},
      {"ANGLE", 1, 90, 0, 0, 0, 0.275, {0.2, -0.075}},
      {"ANSI32", 1, 45, 0.176776695, 0, 0, 0.375, {}},
      {"DASH", 0, 0, 0, 0, 0.125, 0.125, {0.125, -0.125}},
      {"DOTS", 0, 0, 0, 0, 0.03125, 0.0625, {0, -0.0625}},
      {"CROSS", 1, 90, 0.0625, -0.0625, 0.25, 0.25, {0.125, -0.375}},
      {"LINE", 0, 0, 0, 0, 0, 0.125, {}},
      {"NET", 0, 0, 0, 0, 0, 0.125, {}},
      {"NET", 1, 90, 0, 0, 0, 0.125, {}},
      {"MUDST", 0, 0, 0, 0, 0.5, 0.25, {0.25, -0.25, 0, -0.25, 0, -0.25}},
      {"AR-CONC", 9, 37.5, 0, 0, 2.123, 2.567, {0, -6.52, 0, -6.7, 0, -6.625}},
      {"ACAD_ISO02W100", 0, 0, 0, 0, 0, 5, {12, -3}},
      {"CATASTO1", 0, 45, 0, 0, 0.125, 0.125, {0.375, -0.125}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.pattern) + " line " + std::to_string(r.line));
    const HATCH_TYPE* t = getHatch(String(r.pattern));
    ASSERT_NE(t, nullptr);
    const HATCH_LINE& l = t->lines[r.line];
    EXPECT_EQ(l.angle, radians(r.degrees));
    EXPECT_EQ(l.x, r.x);
    EXPECT_EQ(l.y, r.y);
    EXPECT_EQ(l.deltaX, r.dx);
    EXPECT_EQ(l.deltaY, r.dy);
    ASSERT_EQ(l.noDashes, static_cast<long>(r.dashes.size()));
    for (long j = 0; j < l.noDashes; ++j)
      EXPECT_EQ(l.dashes[j], r.dashes[static_cast<std::size_t>(j)]);
  }
  // The right angles are the exact doubles the generator recognises.
  EXPECT_EQ(getHatch(String("NET"))->lines[1].angle, kPi / 2);
  EXPECT_EQ(getHatch(String("ANSI31"))->lines[0].angle, kPi / 4);
}

TEST(HatchCatalogue, Lookups) {
  EXPECT_EQ(getHatch(-1L), nullptr);
  EXPECT_EQ(getHatch(68L), nullptr);
  EXPECT_STREQ(getHatch(0L)->name, "ANGLE");
  EXPECT_STREQ(getHatch(67L)->name, "CATASTO1");
  EXPECT_EQ(getHatch(String("ansi31")), getHatch(1L));
  EXPECT_EQ(getHatch(String("Acad_Iso02w100")), getHatch(39L));
  EXPECT_EQ(getHatch(String("ANSI3")), nullptr);
  EXPECT_EQ(getHatch(String("")), nullptr);
  for (long i = 0; i < kNoHatchTypes; ++i) EXPECT_EQ(getHatch(*getHatch(i)), i);
  const HATCH_TYPE copy = *getHatch(1L);
  EXPECT_EQ(getHatch(copy), -1);
}

// The lowest free "*PAT" number, case-sensitive, checked against a plain walk over the names
// after random additions and removals.
TEST(HatchCatalogue, HatchNamesTakeTheLowestFreeNumber) {
  DataPtr d = newDrawing();
  CBlockTable& blocks = d->getBlockTable();
  EXPECT_EQ(std::string(getHatchName(blocks).c_str()), "*PAT1");
  blocks.add(d->getBlockFactory().create(String("*pat1"), 1));  // another case: not taken
  blocks.add(d->getBlockFactory().create(String("*PAT01"), 1));
  EXPECT_EQ(std::string(getHatchName(blocks).c_str()), "*PAT1");

  std::mt19937 rng(5);
  std::set<int> used;
  std::vector<CBlock*> mine;
  for (int step = 0; step < 400; ++step) {
    if (!mine.empty() && rng() % 3 == 0) {
      const std::size_t at = rng() % mine.size();
      used.erase(std::atoi(mine[at]->getName().c_str() + 4));
      blocks.remove(mine[at]);
      delete mine[at];
      mine.erase(mine.begin() + static_cast<long>(at));
    } else {
      const String name = getHatchName(blocks);
      int expected = 1;
      while (used.count(expected)) ++expected;
      ASSERT_EQ(std::string(name.c_str()), "*PAT" + std::to_string(expected));
      used.insert(expected);
      mine.push_back(d->getBlockFactory().create(name, 1));
      blocks.add(mine.back());
    }
  }
}
