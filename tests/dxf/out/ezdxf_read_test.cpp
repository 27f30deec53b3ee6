// tests/dxf/out/ezdxf_read_test.cpp: what SaveDXF writes opens in ezdxf, a DXF reader written
// by others, with as many modelspace entities of each DXF type as the drawing holds: a drawing
// of every entity kind built here, and every drawing of the shared corpus that loads. Runs
// ezdxf_read.py (beside this file) with a python3 that has ezdxf, and prints ezdxf's audit
// findings per file. Skips when no such python3 is installed or the corpus is not there.
#include <veltcore/dxf/out/saver.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/geometry/font.h>
#include <veltcore/geometry/text.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>
#include <veltcore/linetypes/linetype.h>

#include "database/test_drawing.h"
#include "geometry/test_font.h"

namespace {

namespace fs = std::filesystem;

// ---- ezdxf through python3 --------------------------------------------------------------

// The output of cmd (its standard output and error), or nothing when it cannot be run.
std::string outputOf(const std::string& cmd, int& status) {
  std::FILE* pipe = ::popen((cmd + " 2>&1").c_str(), "r");
  status = -1;
  if (pipe == nullptr) return {};
  std::string out;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
  status = ::pclose(pipe);
  return out;
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// A python3 that imports ezdxf, or "": VELTCORE_PYTHON when set, then the one on the path,
// then the system's (Debian's python3-ezdxf installs for that one only).
const std::string& pythonWithEzdxf() {
  static const std::string found = [] {
    std::vector<std::string> candidates;
    if (const char* own = std::getenv("VELTCORE_PYTHON")) candidates.emplace_back(own);
    candidates.emplace_back("python3");
    candidates.emplace_back("/usr/bin/python3");
    for (const std::string& python : candidates) {
      int status;
      outputOf(quoted(python) + " -c 'import ezdxf'", status);
      if (status == 0) return python;
    }
    return std::string();
  }();
  return found;
}

// What ezdxf_read.py reports of one file.
struct EzdxfReport {
  bool loaded = false;
  std::string failure;                 // the reader's exception when it did not load
  std::map<std::string, long> counts;  // modelspace entities per DXF type
  std::vector<std::string> audit;      // "ERROR code message" or "FIX code message"
};

// Runs the script over paths; a report for every path it got to.
std::map<std::string, EzdxfReport> ezdxfRead(const std::vector<std::string>& paths,
                                             std::string& output) {
  std::string cmd = quoted(pythonWithEzdxf()) + " " + quoted(VELTCORE_EZDXF_READ_SCRIPT);
  for (const std::string& p : paths) cmd += " " + quoted(p);
  int status;
  output = outputOf(cmd, status);
  std::map<std::string, EzdxfReport> reports;
  std::istringstream lines(output);
  EzdxfReport* current = nullptr;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "FILE") {
      current = &reports[rest];
    } else if (current == nullptr) {
      continue;
    } else if (word == "LOADED") {
      current->loaded = true;
    } else if (word == "FAILED") {
      current->failure = rest;
    } else if (word == "COUNT") {
      const std::size_t split = rest.rfind(' ');
      current->counts[rest.substr(0, split)] = std::atol(rest.c_str() + split + 1);
    } else if (word == "AUDIT") {
      current->audit.push_back(rest);
    }
  }
  return reports;
}

// ---- What the drawing holds, in DXF types ------------------------------------------------

// The record SaveDXF writes for each entity type code: a hatch is the INSERT of its block.
const char* dxfTypeOf(short type) {
  static const char* const kNames[] = {"?",    "POINT",  "LINE",   "CIRCLE", "ARC",    "POLYLINE",
                                       "TEXT", "ATTDEF", "INSERT", "ATTRIB", "INSERT", "3DFACE"};
  return type >= 1 && type <= 11 ? kNames[type] : "?";
}

std::map<std::string, long> expectedCounts(const CData& d) {
  std::map<std::string, long> counts;
  for (const CEnt* e : d.getEntTable().getEntityTbl()) ++counts[dxfTypeOf(e->getType())];
  return counts;
}

std::string countsText(const std::map<std::string, long>& counts) {
  std::string text;
  for (const auto& [type, n] : counts) text += type + "=" + std::to_string(n) + " ";
  return text;
}

// A directory of its own for the saved files, removed with everything in it.
class ScratchDir {
 public:
  explicit ScratchDir(const char* what)
      : path_(fs::temp_directory_path() /
              ("veltcore_ezdxf_" + std::to_string(::getpid()) + "_" + what)) {
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// SaveDXF of d to path through the library's own file class; false when it throws.
bool save(const CData& d, const std::string& path) {
  CFileStdLib file(path.c_str(), IFile::kWrite);
  try {
    SaveDXF(d, file, 0);
  } catch (const IFile::IFileException&) {
    return false;
  }
  return true;
}

// Whether an audit finding is one ezdxf 0.18 makes of every R12 file with a POLYLINE inside a
// BLOCK, its own files included: it links the polyline to a SEQEND of its own making and drops
// the one read as ownerless. Any other finding is a fault of the file.
bool isReadersOwnQuirk(const std::string& finding) {
  return finding.rfind("FIX 202 Deleted SEQEND(", 0) == 0 &&
         finding.find("invalid owner handle #None") != std::string::npos;
}

// Checks that ezdxf loaded every saved file with the drawing's counts and that its audit found
// nothing but its own quirk; prints every finding.
void expectReadAlike(const std::map<std::string, std::map<std::string, long>>& saved) {
  std::vector<std::string> paths;
  for (const auto& entry : saved) paths.push_back(entry.first);
  std::string output;
  const std::map<std::string, EzdxfReport> reports = ezdxfRead(paths, output);
  for (const auto& [path, counts] : saved) {
    const std::string name = fs::path(path).filename().string();
    SCOPED_TRACE(name);
    const auto it = reports.find(path);
    ASSERT_NE(it, reports.end()) << "no report from ezdxf_read.py; it printed:\n" << output;
    const EzdxfReport& r = it->second;
    EXPECT_TRUE(r.loaded) << r.failure;
    EXPECT_EQ(r.counts, counts) << "ezdxf: " << countsText(r.counts)
                                << "\ndrawing: " << countsText(counts);
    std::cout << name << ": " << (r.loaded ? "loaded" : "FAILED " + r.failure) << ", "
              << countsText(r.counts) << "\n";
    for (const std::string& finding : r.audit) {
      std::cout << "  audit " << finding << "\n";
      EXPECT_TRUE(isReadersOwnQuirk(finding)) << finding;
    }
  }
}

// ---- A drawing of every entity kind --------------------------------------------------------

class EveryKindDrawing {
 public:
  explicit EveryKindDrawing(const ICADFont* font) {
    CData& d = *d_;
    walls_ = d.getLayerFactory().create("WALLS", &d.getLtypeContinuous(), 3, 0);
    addLayer(d, walls_);
    dashed_ = d.getLtypeFactory().create("DASHED", "- -", nullptr, 0, 0);
    dashed_->AddDashDouble(0.5);
    dashed_->AddDashDouble(-0.25);
    addLtype(d, dashed_);
    style_ = d.getStyleFactory().create("NOTES", font, 0, 0.8, 0.2, 2.5, 0);
    addStyle(d, style_);
    simple();
    texts();
    polylines();
    inserts();
    hatches();
  }
  const CData& data() const { return *d_; }

 private:
  DataPtr d_ = newDrawing();
  CLayer* walls_;
  CLtype* dashed_;
  CStyle* style_;

  CLayer* layer0() const { return &d_->getLayer0(); }
  CLtype* byLayer() const { return &d_->getLtypeByLayer(); }
  void add(CEnt* e) const { d_->getEntTable().add(e); }

  void simple() {
    CData& d = *d_;
    add(createEntPnt(d, walls_, byLayer(), 4, PNT_3D(1.5, 2.5, 0.25), 0));
    add(createEntLine(d, walls_, dashed_, 256, LINE_3D(0, 0, 0, 1.1234567, 2, 3), 0));
    add(createEntCircle(d, layer0(), &d.getLtypeByBlock(), 0, CIRCLE_3D(1, 1, 0, 2.75), 0));
    add(createEntArc(d, walls_, byLayer(), 256, ARC_3D(0, 0, 0, 3, 0.3, 4.1), 0));
    add(createEnt3DFace(d, walls_, byLayer(), 256, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0.5),
                        PNT_3D(1, 1, 0), PNT_3D(0, 1, 0), 6, 0));
  }

  // Every justification, rotated, narrowed and slanted now and then.
  void texts() {
    for (long align = 0; align < TEXT_3D::kAlignCount; ++align) {
      const TEXT_3D t(String((std::string("T ") + TEXT_3D::getAlignName(align)).c_str()),
                      align % 2 == 0 ? &d_->getStyleTable().getStyleStandard() : style_, 2.5,
                      align % 3 == 0 ? 0.2 : 0, align % 4 == 0 ? 1 : 0.75, 0.55 * align, 10 + align,
                      5, 0, align);
      add(createEntText(*d_, walls_, byLayer(), 256, t, 0));
    }
    const TEXT_3D tag("ROOM", style_, 1.5, 0, 1, 0.3, 2, 3, 0, 0);
    add(createEntAttdef(*d_, walls_, byLayer(), 256, tag, "101", "Room number?", 0, 0));
  }

  CEntPolyline* polyline(long flags, const std::vector<PNT_3D>& points, double ws = 0,
                         double we = 0) {
    CEntPolyline* p = createEntPolyline(*d_, walls_, byLayer(), 256, flags, 0, 0);
    for (const PNT_3D& point : points) p->addVertex(*createVertex(*d_, point, ws, we, 0));
    return p;
  }

  // Plain, closed, 3D, wide, and fitted as a spline and as a curve.
  void polylines() {
    const std::vector<PNT_3D> zigzag = {PNT_3D(0, 0, 1.5), PNT_3D(2, 1, 1.5), PNT_3D(4, 0, 1.5),
                                        PNT_3D(6, 1, 1.5)};
    add(polyline(0, zigzag));
    add(polyline(1, zigzag));
    add(polyline(0, {PNT_3D(0, 0, 0), PNT_3D(1, 0, 2), PNT_3D(1, 1, -3)}));
    add(polyline(0, zigzag, 0.5, 1.25));
    IHandleGestor& g = d_->getHandleGestor();
    CEntPolyline* spline = polyline(0, zigzag);
    spline->gener(g, d_->getEntFactory(), 2, 3, false);
    add(spline);
    CEntPolyline* curve = polyline(0, {PNT_3D(0, 0, 0), PNT_3D(3, 4, 0), PNT_3D(8, 1, 0)});
    curve->gener(g, d_->getEntFactory(), 4, 0, false);
    add(curve);
  }

  // A block with an attribute definition, inserted arrayed with an attribute and through a
  // block that inserts it; and a reference to a drawing that is not there.
  void inserts() {
    CData& d = *d_;
    CBlock* tag = d.getBlockFactory().create("TAG", 0);
    tag->add(createEntLine(d, walls_, byLayer(), 256, LINE_3D(0, 0, 0, 4, 0, 0), 0));
    tag->add(createEntAttdef(d, walls_, byLayer(), 256,
                             TEXT_3D("NAME", style_, 1, 0, 1, 0, 0, 1, 0, 0), "", "Name?", 0, 0));
    d.getBlockTable().add(tag);
    CEntInsert* arrayed = createEntInsert(d, walls_, byLayer(), 256, *tag, PNT_3D(50, 40, 1), 2, 2,
                                          2, 0.4, 2, 3, 10.5, -5, 0);
    arrayed->add(d.getEntFactory().createEntAttrib(
        d.getHandleGestor(), walls_, byLayer(), 256,
        TEXT_3D("value", style_, 1.25, 0, 1, 0.3, 1, 2, 0, 0), "NAME", 0, 0));
    add(arrayed);
    CBlock* outer = d.getBlockFactory().create("OUTER", 0);
    outer->add(createEntInsert(d, walls_, byLayer(), 256, *tag, PNT_3D(1, 1, 0), 1, 1, 1, 0, 1, 1,
                               0, 0, 0));
    outer->add(createEntCircle(d, walls_, byLayer(), 256, CIRCLE_3D(0, 0, 0, 1), 0));
    d.getBlockTable().add(outer);
    add(createEntInsert(d, walls_, byLayer(), 256, *outer, PNT_3D(20, 20, 0), 1, 1, 1, 0, 1, 1, 0,
                        0, 0));
    CBlockXRef* plan = d.getBlockFactory().createXRef(d.getLtypeContinuous(), d.getLtypeByLayer(),
                                                      d.getLtypeByBlock(), d.getLayer0(), "PLAN",
                                                      "/nowhere/plan.dxf", PNT_3D(0, 0, 0), 0);
    d.getBlockXRefTable().add(plan);
    add(createEntInsertXRef(d, walls_, byLayer(), 256, plan, PNT_3D(5, 5, 0), 1, 1, 1, 0, 1, 1, 0,
                            0, 0));
  }

  void hatches() {
    const std::vector<PNT_3D> square = {PNT_3D(0, 0, 0), PNT_3D(40, 0, 0), PNT_3D(40, 30, 0),
                                        PNT_3D(0, 30, 0)};
    add(createEntHatch(*d_, walls_, byLayer(), 256, *getHatch(String("ANSI31")), 1.5, 0.5, square,
                       0));
  }
};

// ---- The tests ---------------------------------------------------------------------------

// Styles read from a file need their font registered: one font, the default, for the program.
class EzdxfRead : public ::testing::Test {
 protected:
  void SetUp() override {
    if (pythonWithEzdxf().empty())
      GTEST_SKIP() << "no python3 with ezdxf (Debian: python3-ezdxf; or set VELTCORE_PYTHON)";
    CFontTable& fonts = CFontTable::getInstance();
    if (fonts.get("ezfont", false) == nullptr) fonts.add(new TestFont("ezfont", {10, 2, 6, 8, -2}));
    font_ = fonts.get("ezfont", false);
    fonts.setDefault(font_);
  }
  void TearDown() override { CFontTable::getInstance().setDefault(nullptr); }
  const ICADFont* font_ = nullptr;
};

TEST_F(EzdxfRead, ADrawingOfEveryKindOpensWithItsEntityCounts) {
  const EveryKindDrawing every(font_);
  const std::map<std::string, long> counts = expectedCounts(every.data());
  // Every kind is there, so that a kind ezdxf cannot read would show.
  for (const char* type :
       {"POINT", "LINE", "CIRCLE", "ARC", "3DFACE", "TEXT", "ATTDEF", "POLYLINE", "INSERT"})
    EXPECT_GT(counts.count(type), 0u) << type;
  ScratchDir dir("every_kind");
  const std::string path = dir.file("every_kind.dxf");
  ASSERT_TRUE(save(every.data(), path));
  expectReadAlike({{path, counts}});
}

std::vector<std::string> corpusFiles(const std::string& dir) {
  std::vector<std::string> files;
  std::ifstream in(dir + "/MANIFEST.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) files.push_back(line.substr(0, line.find('\t')));
  return files;
}

TEST_F(EzdxfRead, EverySavedCorpusDrawingOpensWithItsEntityCounts) {
  const std::string corpus = VELTCORE_SHARED_DXF_DIR;
  const std::vector<std::string> files = corpusFiles(corpus);
  if (files.empty()) GTEST_SKIP() << "no DXF corpus at " << corpus;
  ScratchDir dir("corpus");
  std::map<std::string, std::map<std::string, long>> saved;
  for (const std::string& name : files) {
    DataPtr d = newDrawing();
    CFileStdLib in((corpus + "/" + name).c_str(), IFile::kRead);
    try {
      loadDXF(*d, in);
    } catch (const CFileDXFIParser::FileDXFException&) {
      continue;  // what does not load has nothing to save
    }
    const std::string path = dir.file(name);
    EXPECT_TRUE(save(*d, path)) << name;
    saved[path] = expectedCounts(*d);
  }
  ASSERT_FALSE(saved.empty());
  std::cout << saved.size() << " of " << files.size() << " corpus files loaded and saved\n";
  expectReadAlike(saved);
}

}  // namespace
