// tests/dxf/memory_file.h: MemoryFile, an IFile over a std::string for tests and fuzzing: reads
// come from the text given at construction, writes collect in written(). It raises the same
// exceptions as CFileStdLib: IFileEOF when a read finds no data left.
#pragma once

#include <veltcore/dxf/in/file.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

class MemoryFile : public IFile {
 public:
  // Line ends are bytes like any other: "\r\n" reaches the reader as it stands, as a text-mode
  // stream delivers it on POSIX systems.
  MemoryFile(const String& name, std::string content, long mode = kRead)
      : IFile(name, mode), content_(std::move(content)) {}

  // Reading starts from the beginning again; writing starts from an empty text. A mode other
  // than kRead or kWrite raises IFileNotFound, as CFileStdLib does.
  void open() override {
    if (getMode() != kRead && getMode() != kWrite) throw IFileNotFound();
    if (missing_ && getMode() == kWrite) throw IFileCantWrite();
    if (missing_) throw IFileNotFound();
    opened_ = true;
    pos_ = 0;
    if (getMode() == kWrite) written_.clear();
  }
  void close() override {
    if (opened_) ++closes_;
    opened_ = false;
  }
  bool isOpened() const override { return opened_; }

  long read(char* buffer, long size) override {
    if (!opened_) throw IFileIOError();
    const std::size_t n = std::min(static_cast<std::size_t>(size), content_.size() - pos_);
    if (n == 0) throw IFileEOF();
    std::memcpy(buffer, content_.data() + pos_, n);
    pos_ += n;
    return static_cast<long>(n);
  }
  long write(const char* buffer, long size) override {
    if (!opened_) throw IFileDiskFull();
    const std::size_t n = std::min(static_cast<std::size_t>(size), room());
    if (n == 0) throw IFileDiskFull();
    written_.append(buffer, n);
    return static_cast<long>(n);
  }
  // As fgets: up to size - 1 bytes, stopping after a '\n'; IFileEOF when nothing is left.
  void readLn(char* buffer, long size) override {
    if (!opened_) throw IFileIOError();
    if (pos_ >= content_.size()) throw IFileEOF();
    std::size_t n = 0;
    const std::size_t max = static_cast<std::size_t>(size - 1);
    while (n < max && pos_ < content_.size()) {
      const char c = content_[pos_++];
      buffer[n++] = c;
      if (c == '\n') break;
    }
    buffer[n] = '\0';
  }
  // Writes the whole text or, when it does not fit, raises IFileDiskFull (writing what fits,
  // as a full disk leaves a partial line).
  void writeLn(const char* text) override {
    if (!opened_) throw IFileDiskFull();
    const std::size_t len = std::strlen(text);
    const std::size_t n = std::min(len, room());
    written_.append(text, n);
    if (n < len) throw IFileDiskFull();
  }

  const std::string& written() const { return written_; }
  // Writes beyond limit bytes in all fail as on a full disk.
  void setWriteLimit(std::size_t limit) { limit_ = limit; }
  // open() fails as on a path that cannot be opened.
  void setMissing(bool missing) { missing_ = missing; }
  // How many times an opened file was closed.
  int closeCount() const { return closes_; }

 private:
  std::string content_;
  std::string written_;
  std::size_t pos_ = 0;
  std::size_t limit_ = std::numeric_limits<std::size_t>::max();
  bool opened_ = false;
  bool missing_ = false;
  int closes_ = 0;

  std::size_t room() const { return limit_ > written_.size() ? limit_ - written_.size() : 0; }
};
