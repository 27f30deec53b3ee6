// tools/velt/io/load_drawing.cpp: loading with a progress bar. The library reads fastest from
// its own CFileStdLib, so the counting wrapper is used only when a bar can be shown at all.
#include "io/load_drawing.h"

#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/parser.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "io/progress.h"

namespace velt {

namespace {

// An IFile that reads through a CFileStdLib and reports the bytes read to a progress bar.
class ProgressFile : public IFile {
 public:
  ProgressFile(const String& name, double size)
      : IFile(name, kRead), inner_(name, kRead), bar_("loading", size) {}

  void open() override { inner_.open(); }
  void close() override { inner_.close(); }
  bool isOpened() const override { return inner_.isOpened(); }
  long read(char* buffer, long size) override { return counted(inner_.read(buffer, size)); }
  long write(const char* buffer, long size) override { return inner_.write(buffer, size); }
  void readLn(char* buffer, long size) override {
    inner_.readLn(buffer, size);
    counted(static_cast<long>(std::strlen(buffer)));
  }
  void writeLn(const char* text) override { inner_.writeLn(text); }

 private:
  CFileStdLib inner_;
  ProgressBar bar_;
  double done_ = 0.0;

  long counted(long n) {
    done_ += static_cast<double>(n);
    bar_.update(done_);
    return n;
  }
};

std::string describe(const CFileDXFIParser::FileDXFException& e, const std::string& path) {
  const std::string where =
      e.getErrorLine() > 0 ? path + ":" + std::to_string(e.getErrorLine()) : path;
  return where + ": error " + std::to_string(e.getErrorNumber()) + ": " +
         e.getErrorMessage().c_str();
}

}  // namespace

LoadedDrawing loadDrawing(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw CommandFailure(kFileError, path + ": no such file");
  }
  LoadedDrawing out;
  out.data.reset(CDataFactory().createData());
  const auto start = std::chrono::steady_clock::now();
  try {
    if (ProgressBar::available()) {
      ProgressFile file(path.c_str(), static_cast<double>(std::filesystem::file_size(path, ec)));
      loadDXF(*out.data, file);
    } else {
      CFileStdLib file(path.c_str(), IFile::kRead);
      loadDXF(*out.data, file);
    }
  } catch (const CFileDXFIParser::FileDXFException& e) {
    throw CommandFailure(kFileError, describe(e, path));
  }
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return out;
}

}  // namespace velt
