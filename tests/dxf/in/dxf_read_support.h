// tests/dxf/in/dxf_read_support.h: helpers for the DXF reader tests: DXF text from a compact
// form of its pairs, a load that reports the error instead of throwing, the test font, and a load
// semantor that counts the calls a read begins and ends with.
#pragma once

#include <veltcore/database/data.h>
#include <veltcore/database/handle.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/geometry/font.h>

#include <map>
#include <string>
#include <vector>

#include "database/test_drawing.h"
#include "dxf/memory_file.h"
#include "geometry/test_font.h"
#include "support/handle_probe.h"

namespace dxftest {

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

// Sections followed by the EOF pair.
inline std::string drawing(const std::string& sections) {
  return sections + kEof;
}

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

// loadDXF of text into d, the outcome reported.
inline Outcome loadText(CData& d, const std::string& text) {
  MemoryFile file("test.dxf", text);
  CFileDXFILoadDataSemantor semantor(d);
  return load(semantor, d.getEntFactory(), file);
}

// The drawing's entities in table order.
inline std::vector<CEnt*> entities(const CData& d) {
  const auto& list = d.getEntTable().getEntityTbl();
  return std::vector<CEnt*>(list.begin(), list.end());
}

// The font "txt", registered once per process and made the default, so that STYLE records
// resolve and new drawings have a standard style with a font.
inline const ICADFont* testFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (const ICADFont* font = fonts.get("txt", false)) return font;
  auto* font = new TestFont("txt", TestFont::Metrics{10, 3, 6, 7, -2});
  fonts.add(font);
  fonts.setDefault(font);
  return font;
}

// The load semantor, counting the calls that end a read and those any read makes first.
class CountingSemantor : public CFileDXFILoadDataSemantor {
 public:
  explicit CountingSemantor(CData& d) : CFileDXFILoadDataSemantor(d) {}

  int count(const std::string& op) const {
    auto it = calls.find(op);
    return it == calls.end() ? 0 : it->second;
  }
  int total() const {
    int n = 0;
    for (const auto& c : calls) n += c.second;
    return n;
  }

  void unrecovableError() override { ++calls["unrecovableError"]; }
  void transition() override { ++calls["transition"]; }
  bool shouldReadHeaders() override {
    ++calls["shouldReadHeaders"];
    return true;
  }
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

// A drawing of one ENTITIES section under the given version.
inline std::string ents(const std::string& records, const char* acadver = "AC1009") {
  return drawing(section("HEADER", dxf(std::string("9 $ACADVER;1 ") + acadver)) +
                 section("ENTITIES", records));
}

// True when handle h is free: neither booked nor in use. The probe gives it back.
inline bool handleFree(CData& d, long h) {
  return handleFree(d.getHandleGestor(), h);
}

}  // namespace dxftest
