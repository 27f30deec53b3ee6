// tools/velt/io/load_drawing.h: reads a DXF file into a new drawing for a command, with the
// progress bar on a terminal, and turns the reader's error into a CommandFailure that names the
// file, the line and the library's own message.
#pragma once

#include "command.h"

#include <string>

namespace velt {

struct LoadedDrawing {
  DrawingPtr data;
  double seconds = 0.0;  // wall time of the load itself
};

// Throws CommandFailure(kFileError) when the file cannot be opened or read as a drawing.
LoadedDrawing loadDrawing(const std::string& path);

}  // namespace velt
