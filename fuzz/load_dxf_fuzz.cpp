// fuzz/load_dxf_fuzz.cpp: drives the DXF readers and the writer with arbitrary bytes from
// memory. Each input is loaded into a new drawing; a drawing that loads is saved and the saved
// text loaded again; the input is also imported into a drawing and read as a new block. Every
// step must end in success or in the reader's one exception, with nothing leaked: a crash, a
// hang, a sanitizer report or a leak is a fault to fix (and to keep as a regression test).
//
// External references name files: the run works in an empty temporary folder, so relative
// paths find nothing, and inputs that could name a file elsewhere (an absolute path, a climb
// with "..") are skipped, since a device file could block the read. Since the target changes
// folder as it starts, the corpus folders given to it must be absolute paths.
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/handle.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/dxf/out/saver.h>
#include <veltcore/geometry/font.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "dxf/memory_file.h"
#include "geometry/test_font.h"

namespace {

// A line that starts with '/' (after blanks) or any "..": possibly a path out of the folder.
bool mayNameOutsideFile(const std::string& text) {
  if (text.find("..") != std::string::npos) return true;
  bool lineStart = true;
  for (const char c : text) {
    if (lineStart && c == '/') return true;
    if (c == '\n')
      lineStart = true;
    else if (c != ' ' && c != '\t')
      lineStart = false;
  }
  return false;
}

void checkFailure(const CFileDXFIParser::FileDXFException& e) {
  // The message lookup is part of every failure a host sees.
  if (e.getErrorMessage().size() == 0) std::abort();
}

// Saves drawing and loads the text back into a new drawing.
void saveAndReload(const CData& drawing) {
  MemoryFile saved("saved.dxf", "", IFile::kWrite);
  try {
    SaveDXF(drawing, saved, 0);
  } catch (const IHandleGestor::HandleExaustedException&) {
    return;  // no handle left for a SEQEND record: a documented failure of saving
  }
  MemoryFile again("saved.dxf", saved.written());
  CData* copy = CDataFactory().createData();
  try {
    loadDXF(*copy, again);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    checkFailure(e);  // what the older form cannot carry fails as documented
  }
  deleteData(copy);
}

void importInto(CData& drawing, const std::string& text) {
  MemoryFile file("fuzz.dxf", text);
  try {
    importDXF(drawing, file);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    checkFailure(e);
  }
}

void readAsBlock(const std::string& text) {
  CData* drawing = CDataFactory().createData();
  MemoryFile file("fuzz.dxf", text);
  try {
    CFileDXFIBlockSemantor semantor(*drawing, "FUZZBLOCK");
    CFileDXFIParser parser(file, semantor, drawing->getEntFactory());
    parser.load();
  } catch (const CFileDXFIParser::FileDXFException& e) {
    checkFailure(e);
  }
  deleteData(drawing);
}

}  // namespace

// The font table lives for the whole run, as in a host; it is freed at exit so that only
// per-input leaks are reported.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto* font = new TestFont("txt", TestFont::Metrics{10, 3, 6, 7, -2});
  CFontTable::getInstance().add(font);
  CFontTable::getInstance().setDefault(font);
  std::atexit(shutdownCore);
  char folder[] = "/tmp/veltcore_fuzz_XXXXXX";
  if (::mkdtemp(folder) == nullptr || ::chdir(folder) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (mayNameOutsideFile(text)) return 0;
  MemoryFile file("fuzz.dxf", text);
  CData* drawing = CDataFactory().createData();
  bool loaded = true;
  try {
    loadDXF(*drawing, file);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    checkFailure(e);
    loaded = false;
  }
  if (loaded) saveAndReload(*drawing);
  importInto(*drawing, text);
  deleteData(drawing);
  readAsBlock(text);
  return 0;
}
