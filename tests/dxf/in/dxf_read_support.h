// tests/dxf/in/dxf_read_support.h: helpers for the DXF reader and writer tests: DXF text from a
// compact form of its pairs, loads that report the error instead of throwing, the test font, a
// scratch folder, the shared corpus's manifest, and a semantor counting the calls a read makes.
#pragma once

#include <unistd.h>
#include <veltcore/veltcore.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "database/test_drawing.h"
#include "dxf/memory_file.h"
#include "geometry/test_font.h"
#include "support/handle_probe.h"
#include "support/scratch_dir.h"

namespace dxftest {

using ::ScratchDir;

// The pairs of a compact text: pairs separated by ';', each a group code, one blank and the
// value (which may be empty or hold blanks): "0 LINE;8 0;10 1.5".
inline std::string dxf(const std::string& compact, const char* eol = "\n") {
  std::string text;
  std::size_t from = 0;
  for (;;) {
    const std::size_t bar = compact.find(';', from);
    const std::string pair = compact.substr(from, bar == std::string::npos ? bar : bar - from);
    const std::size_t blank = pair.find(' ');
    text += pair.substr(0, blank) + eol + pair.substr(blank + 1) + eol;
    if (bar == std::string::npos) return text;
    from = bar + 1;
  }
}

inline std::string section(const std::string& name, const std::string& body) {
  return dxf("0 SECTION;2 " + name) + body + dxf("0 ENDSEC");
}
inline std::string table(const std::string& name, const std::string& records) {
  return dxf("0 TABLE;2 " + name + ";70 1") + records + dxf("0 ENDTAB");
}
inline const std::string kEof = "0\nEOF\n";
inline std::string drawing(const std::string& sections) {
  return sections + kEof;
}
inline std::string header(const std::string& acadver, const std::string& more = "") {
  return section("HEADER", dxf("9 $ACADVER;1 " + acadver + more));
}
// A drawing of one ENTITIES section under the given version.
inline std::string ents(const std::string& records, const std::string& acadver = "AC1009") {
  return drawing(header(acadver) + section("ENTITIES", records));
}
inline std::string block(const std::string& name, const std::string& body, int flags = 0,
                         const std::string& path = "") {
  return dxf("0 BLOCK;8 0;2 " + name + ";70 " + std::to_string(flags) + ";10 0;20 0;30 0" +
             (path.empty() ? "" : ";1 " + path)) +
         body + dxf("0 ENDBLK;8 0");
}
inline std::string insert(const std::string& name) {
  return dxf("0 INSERT;8 0;2 " + name + ";10 0;20 0");
}
inline const std::string kLine = dxf("0 LINE;8 0;10 0;20 0;11 1;21 0");

struct Outcome {
  long error = 0;  // 0: loaded
  long line = 0;
  long param1 = 0;
  long param2 = 0;
  std::string message;
};

inline Outcome load(IFileDXFISemantor& semantor, CEntFactory& factory, IFile& file) {
  Outcome out;
  try {
    CFileDXFIParser(file, semantor, factory).load();
  } catch (const CFileDXFIParser::FileDXFException& e) {
    out = {e.getErrorNumber(), e.getErrorLine(), e.getParam1(), e.getParam2(),
           e.getErrorMessage().c_str()};
  }
  return out;
}
inline Outcome loadFile(CData& d, IFile& file) {
  CFileDXFILoadDataSemantor semantor(d);
  return load(semantor, d.getEntFactory(), file);
}
inline Outcome loadText(CData& d, const std::string& text) {
  MemoryFile file("test.dxf", text);
  return loadFile(d, file);
}

// The drawing's entities in table order.
inline std::vector<CEnt*> entities(const CData& d) {
  const auto& list = d.getEntTable().getEntityTbl();
  return std::vector<CEnt*>(list.begin(), list.end());
}

// The font "txt", registered once per process (the table owns it) and made the default, so
// that STYLE records resolve and new drawings have a standard style with a font.
inline const ICADFont* testFont() {
  CFontTable& fonts = CFontTable::getInstance();
  const ICADFont* font = fonts.get("txt", false);
  if (font == nullptr) fonts.add(new TestFont("txt", TestFont::Metrics{10, 3, 6, 7, -2}));
  font = fonts.get("txt", false);
  fonts.setDefault(font);
  return font;
}

inline bool handleFree(CData& d, long h) {
  return handleFree(d.getHandleGestor(), h);
}

// One drawing of the shared corpus as its manifest describes it.
struct CorpusFile {
  std::string name, acadver, lineEndings, notes;
  std::string entityCounts;  // "LINE=3;TEXT=1", "none" or "-"
};

inline const std::string kCorpusDir = VELTCORE_SHARED_DXF_DIR;

// Empty when the corpus is not beside the project (a clone outside this workplace).
inline std::vector<CorpusFile> corpus() {
  std::vector<CorpusFile> files;
  std::ifstream in(kCorpusDir + "/MANIFEST.tsv");
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

// The load semantor, counting the calls that end a read and those any read makes first.
class CountingSemantor : public CFileDXFILoadDataSemantor {
 public:
  using CFileDXFILoadDataSemantor::CFileDXFILoadDataSemantor;
  int total() const {
    int n = 0;
    for (const auto& c : calls) n += c.second;
    return n;
  }
  void unrecovableError() override { ++calls["unrecovableError"]; }
  void transition() override { ++calls["transition"]; }
  bool shouldReadHeaders() override { return ++calls["shouldReadHeaders"] > 0; }
  CDataVariables* getVars() override {
    ++calls["getVars"];
    return CFileDXFILoadDataSemantor::getVars();
  }
  void add(CEnt* e) override {
    ++calls["add"];
    CFileDXFILoadDataSemantor::add(e);
  }
  std::map<std::string, int> calls;
};

}  // namespace dxftest
