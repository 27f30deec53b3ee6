// fuzz/load_dxf_fuzz.cpp: drives loadDXF with arbitrary bytes from memory. Every input must
// end in success or in the reader's one exception, with nothing leaked: a crash, a hang,
// a sanitizer report or a leak is a fault to fix (and to keep as a regression test).
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/geometry/font.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "dxf/memory_file.h"
#include "geometry/test_font.h"

// The font table lives for the whole run, as in a host; it is freed at exit so that only
// per-input leaks are reported.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto* font = new TestFont("txt", TestFont::Metrics{10, 3, 6, 7, -2});
  CFontTable::getInstance().add(font);
  CFontTable::getInstance().setDefault(font);
  std::atexit(shutdownCore);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryFile file("fuzz.dxf", std::string(reinterpret_cast<const char*>(data), size));
  CData* drawing = CDataFactory().createData();
  try {
    loadDXF(*drawing, file);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    // The message lookup is part of every failure a host sees.
    if (e.getErrorMessage().size() == 0) std::abort();
  }
  deleteData(drawing);
  return 0;
}
