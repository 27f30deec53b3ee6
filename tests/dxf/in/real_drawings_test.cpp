// tests/dxf/in/real_drawings_test.cpp: reads every public drawing of the shared corpus with
// loadDXF. Each must load, or fail with the error its recorded defect calls for: a version
// newer than the reader's (15), a version text of another form (9), a binary file or a
// stray ENDSEC where a section must begin (7). Skips when the corpus is not beside the
// project (a clone outside this workplace).
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/geometry/font.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
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
    if (cols.size() >= 14) files.push_back({cols[0], cols[4], cols[5], cols[13]});
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
    CFileStdLib file((dir + "/" + f.name).c_str(), 1);
    long error = 0;
    long line = 0;
    try {
      loadDXF(*d, file);
    } catch (const CFileDXFIParser::FileDXFException& e) {
      error = e.getErrorNumber();
      line = e.getErrorLine();
    }
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

}  // namespace
