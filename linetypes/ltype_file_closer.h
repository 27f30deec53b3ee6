// linetypes/ltype_file_closer.h (internal): closes a linetype library file when an exception
// leaves the code that opened it. IFile implementations leave closing to their owner, so
// without this a failed read or write would keep the stream open.
#pragma once

#include <veltcore/dxf/in/file.h>

namespace veltcore::detail {

class LtypeFileCloser {
 public:
  explicit LtypeFileCloser(IFile& file) : file_(file) {}
  LtypeFileCloser(const LtypeFileCloser&) = delete;
  LtypeFileCloser& operator=(const LtypeFileCloser&) = delete;
  // A close that fails here is dropped: an exception is already on its way to the caller.
  ~LtypeFileCloser() {
    if (!file_.isOpened()) return;
    try {
      file_.close();
    } catch (const IFile::IFileException&) {
    }
  }

 private:
  IFile& file_;
};

}  // namespace veltcore::detail
