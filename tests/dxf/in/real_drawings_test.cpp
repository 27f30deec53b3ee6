// tests/dxf/in/real_drawings_test.cpp: reads every public drawing of the shared corpus with
// loadDXF. Each must load, or fail with the error its recorded defect calls for: a version
// newer than the reader's (15), a version text of another form (9), a binary file or a
// stray ENDSEC where a section must begin (7). Skips when the corpus is not beside the
// project (a clone outside this workplace).
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/geometry/font.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "database/test_drawing.h"
#include "geometry/test_font.h"

namespace {

struct CorpusFile {
  std::string name;
  std::string acadver;
  std::string lineEndings;
  std::string notes;
  std::string entityCounts;  // "LINE=3;TEXT=1", "none" or "-"
};

std::string corpusDir() {
  return VELTCORE_SHARED_DXF_DIR;
}

std::vector<CorpusFile> readManifest(const std::string& path) {
  std::vector<CorpusFile> files;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    std::stringstream fields(line);
    for (std::string col; std::getline(fields, col, '\t');) cols.push_back(col);
    if (cols.size() >= 14) files.push_back({cols[0], cols[4], cols[5], cols[13], cols[11]});
  }
  return files;
}

// Files whose defect the manifest does not name, with the error it calls for.
struct KnownDefect {
  const char* file;
  long error;
  const char* why;
};
const KnownDefect kKnownDefects[] = {
    {"librecad_nover_hatch_pattern_cross.dxf", 9, "a LAYER record with colour 0"},
    {"ezdxf_r13_duplicate_handles_dims.dxf", 10, "two records carry the same handle"},
};

// The error the reader owes a file, from what the manifest records of it; 0 = must load.
long expectedError(const CorpusFile& f) {
  for (const KnownDefect& k : kKnownDefects)
    if (f.name == k.file) return k.error;
  if (f.lineEndings == "binary") return 7;                          // not pairs of text lines
  if (f.notes.find("stray ENDSEC") != std::string::npos) return 7;  // ENDSEC outside a section
  if (f.acadver == "none") return 0;
  const bool acShape = f.acadver.size() == 6 && f.acadver.compare(0, 4, "AC10") == 0;
  if (!acShape) return 9;
  return std::atoi(f.acadver.c_str() + 4) > 15 ? 15 : 0;
}

// Loads path into d: 0, or the reader's error number with its line.
long loadCorpusFile(CData& d, const std::string& path, long& line) {
  CFileStdLib file(path.c_str(), 1);
  try {
    loadDXF(d, file);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    line = e.getErrorLine();
    return e.getErrorNumber();
  }
  return 0;
}

class RealDrawings : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* font = new TestFont("txt", TestFont::Metrics{10, 3, 6, 7, -2});
    CFontTable::getInstance().add(font);
    CFontTable::getInstance().setDefault(font);
  }
};

TEST_F(RealDrawings, EveryFileLoadsOrFailsWithItsDefectsError) {
  const std::string dir = corpusDir();
  std::vector<CorpusFile> files = readManifest(dir + "/MANIFEST.tsv");
  if (files.empty()) GTEST_SKIP() << "no DXF corpus at " << dir;

  int loaded = 0;
  for (const CorpusFile& f : files) {
    SCOPED_TRACE(f.name);
    DataPtr d = newDrawing();
    long line = 0;
    const long error = loadCorpusFile(*d, dir + "/" + f.name, line);
    EXPECT_EQ(error, expectedError(f)) << "line " << line;
    if (error == 0) ++loaded;
    std::cout << f.name << ": " << (error == 0 ? "loaded" : "error " + std::to_string(error))
              << ", layers " << d->getLayerTable().size() << ", linetypes "
              << d->getLtypeTable().size() << ", styles " << d->getStyleTable().size()
              << ", blocks " << d->getBlockTable().size() << ", entities "
              << d->getEntTable().getEntityTbl().size() << "\n";
  }
  std::cout << loaded << " of " << files.size() << " files loaded\n";
}

// The manifest's count of each entity type in the ENTITIES section.
std::map<std::string, long> manifestCounts(const CorpusFile& f) {
  std::map<std::string, long> counts;
  std::stringstream items(f.entityCounts);
  for (std::string item; std::getline(items, item, ';');) {
    const auto eq = item.find('=');
    if (eq != std::string::npos) counts[item.substr(0, eq)] = std::atol(item.c_str() + eq + 1);
  }
  return counts;
}

// Our count of each entity type in the drawing, under the name the file uses for it.
std::map<std::string, long> drawingCounts(CData& d) {
  static const std::map<short, std::string> kNames = {
      {1, "POINT"}, {2, "LINE"},   {3, "CIRCLE"}, {4, "ARC"},    {5, "POLYLINE"},
      {6, "TEXT"},  {7, "ATTDEF"}, {8, "INSERT"}, {10, "HATCH"}, {11, "3DFACE"}};
  std::map<std::string, long> counts;
  for (CEnt* e : d.getEntTable().getEntityTbl()) {
    const auto name = kNames.find(e->getType());
    if (name != kNames.end()) ++counts[name->second];
  }
  return counts;
}

// The newer reader (AC1014 on) reads LWPOLYLINE and HATCH records; the older one skips them
// and reads hatches from the data on INSERT records instead.
bool newerReader(const CorpusFile& f) {
  return f.acadver.size() == 6 && f.acadver.compare(0, 4, "AC10") == 0 &&
         std::atoi(f.acadver.c_str() + 4) >= 14;
}

TEST_F(RealDrawings, EntityCountsMatchTheManifest) {
  const std::string dir = corpusDir();
  std::vector<CorpusFile> files = readManifest(dir + "/MANIFEST.tsv");
  if (files.empty()) GTEST_SKIP() << "no DXF corpus at " << dir;

  int compared = 0;
  for (const CorpusFile& f : files) {
    if (expectedError(f) != 0) continue;
    SCOPED_TRACE(f.name);
    DataPtr d = newDrawing();
    long line = 0;
    ASSERT_EQ(loadCorpusFile(*d, dir + "/" + f.name, line), 0) << "line " << line;
    std::map<std::string, long> want = manifestCounts(f);
    std::map<std::string, long> got = drawingCounts(*d);
    const bool newer = newerReader(f);
    if (newer) {
      want["POLYLINE"] += want["LWPOLYLINE"];
    } else {
      got["INSERT"] += got["HATCH"];  // hatch inserts of older files are INSERT records
      got.erase("HATCH");
      want.erase("HATCH");
    }
    for (const char* type :
         {"POINT", "LINE", "CIRCLE", "ARC", "TEXT", "INSERT", "3DFACE", "POLYLINE"})
      EXPECT_EQ(got[type], want[type]) << type;
    // A hatch whose pattern the catalogue lacks (a solid fill, say) is dropped.
    if (newer) {
      EXPECT_LE(got["HATCH"], want["HATCH"]);
      if (got["HATCH"] < want["HATCH"])
        std::cout << f.name << ": " << want["HATCH"] - got["HATCH"] << " of " << want["HATCH"]
                  << " hatches dropped\n";
    }
    ++compared;
  }
  std::cout << compared << " files compared with the manifest\n";
}

}  // namespace
