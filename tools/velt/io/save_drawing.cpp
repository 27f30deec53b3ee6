// tools/velt/io/save_drawing.cpp: SaveDXF through the library's own stdio file.
#include "io/save_drawing.h"

#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/out/saver.h>

namespace velt {

void saveDrawing(const CData& data, const std::string& path, unsigned int flags) {
  CFileStdLib file(path.c_str(), IFile::kWrite);
  try {
    SaveDXF(data, file, flags);
  } catch (const IFile::IFileException&) {
    throw CommandFailure(kFileError, path + ": cannot be written");
  }
}

}  // namespace velt
