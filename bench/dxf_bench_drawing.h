// bench/dxf_bench_drawing.h: writes the AC1009 drawing the load benchmark reads: a header,
// linetypes, hundreds of layers, text styles on one font, hundreds of blocks (with attribute
// definitions) and an ENTITIES section of every kind the reader knows, grown to a given size.
// The same size always gives the same bytes.
#pragma once

#include <string>

namespace dxfbench {

// The font every STYLE record of the drawing names; the host must register it before loading.
inline constexpr const char* kFontName = "benchfont";

// What one generated file holds.
struct DrawingFile {
  long long bytes = 0;
  long long pairs = 0;     // group code / value pairs
  long long entities = 0;  // entity records, vertices and attributes included (not SEQEND)
  long long topLevel = 0;  // entity records of the ENTITIES section that a drawing holds
  long layers = 0;
  long blocks = 0;
};

// Writes the drawing to path, its ENTITIES section stopping once the file passes about
// targetBytes. Aborts when the file cannot be written.
DrawingFile writeBenchDrawing(const std::string& path, long long targetBytes);

// Registers, once per process, the font the drawing's text styles name (fixed metrics are all a
// load needs) and makes it the default.
void registerBenchFont();

}  // namespace dxfbench
