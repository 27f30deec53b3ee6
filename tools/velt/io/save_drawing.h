// tools/velt/io/save_drawing.h: writes a drawing as an AC1009 DXF file for a command, turning
// a file error into a CommandFailure that names the file.
#pragma once

#include <string>

#include "command.h"

namespace velt {

// flags: SaveDXF's option bits. Throws CommandFailure(kFileError) when path cannot be written.
void saveDrawing(const CData& data, const std::string& path, unsigned int flags);

}  // namespace velt
