// dxf/in/file_std_lib.cpp: IFile's common part and CFileStdLib, files on the C standard streams
// in text mode. Touches nothing but its own stream; a failed call raises the IFile exception
// that names the failure, and a short but non-zero count is returned as it is.
#include <veltcore/dxf/in/file.h>

IFile::IFile(const String& name, long mode) : name_(name), mode_(static_cast<std::int32_t>(mode)) {}

IFile::~IFile() = default;

CFileStdLib::CFileStdLib(const String& name, long mode) : IFile(name, mode), stream_(nullptr) {}

// The owner closes: a stream still open here stays open.
CFileStdLib::~CFileStdLib() = default;

void CFileStdLib::open() {
  close();
  const long mode = getMode();
  if (mode != kRead && mode != kWrite) throw IFileNotFound();
  stream_ = std::fopen(getName().c_str(), mode == kWrite ? "w" : "r");
  if (stream_ != nullptr) return;
  if (mode == kWrite) throw IFileCantWrite();
  throw IFileNotFound();
}

void CFileStdLib::close() {
  if (stream_ == nullptr) return;
  std::fclose(stream_);
  stream_ = nullptr;
}

long CFileStdLib::read(char* buffer, long size) {
  if (stream_ == nullptr) throw IFileIOError();
  const std::size_t n = std::fread(buffer, 1, static_cast<std::size_t>(size), stream_);
  if (n == 0) raiseReadFailure();
  return static_cast<long>(n);
}

long CFileStdLib::write(const char* buffer, long size) {
  if (stream_ == nullptr) throw IFileDiskFull();
  const std::size_t n = std::fwrite(buffer, 1, static_cast<std::size_t>(size), stream_);
  if (n == 0) throw IFileDiskFull();
  return static_cast<long>(n);
}

void CFileStdLib::readLn(char* buffer, long size) {
  if (stream_ == nullptr) throw IFileIOError();
  if (std::fgets(buffer, static_cast<int>(size), stream_) == nullptr) raiseReadFailure();
}

void CFileStdLib::writeLn(const char* text) {
  if (stream_ == nullptr) throw IFileDiskFull();
  if (std::fputs(text, stream_) < 0) throw IFileDiskFull();
}

void CFileStdLib::raiseReadFailure() const {
  if (std::feof(stream_)) throw IFileEOF();
  throw IFileIOError();
}
