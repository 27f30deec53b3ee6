// veltcore/dxf/in/file.h: IFile, the one interface through which the library reads and writes
// every file (DXF, linetype libraries), with its exception family, and CFileStdLib, the
// implementation on the C standard streams. Neither closes a file on destruction: the owner
// calls close().
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include <veltcore/core/string.h>

class IFile {
 public:
  // Open modes.
  static constexpr long kRead = 1;
  static constexpr long kWrite = 2;

  // The exceptions carry nothing: whoever holds the IFile knows its name.
  class IFileException {};
  // A file opened for reading cannot be opened.
  class IFileNotFound : public IFileException {};
  // A read failed for a reason other than the end of the file.
  class IFileIOError : public IFileException {};
  // A file opened for writing cannot be created.
  class IFileCantWrite : public IFileIOError {};
  // A write failed.
  class IFileDiskFull : public IFileIOError {};
  // A read met the end of the file.
  class IFileEOF : public IFileException {};

  virtual ~IFile();
  IFile(const IFile&) = delete;
  IFile& operator=(const IFile&) = delete;

  // Opens the file in the mode given at construction.
  virtual void open() = 0;
  virtual void close() = 0;
  virtual bool isOpened() const = 0;
  // Up to size bytes into buffer; the number read (more than 0: nothing read is an exception).
  virtual long read(char* buffer, long size) = 0;
  // size bytes from buffer; the number written (more than 0: nothing written is an exception).
  virtual long write(const char* buffer, long size) = 0;
  // One line, line end kept, at most size - 1 characters, NUL-terminated. A longer line is
  // cut there and its remainder is the next line.
  virtual void readLn(char* buffer, long size) = 0;
  // text as it stands: no line end is added.
  virtual void writeLn(const char* text) = 0;

  const String& getName() const { return name_; }

 protected:
  IFile(const String& name, long mode);
  long getMode() const { return mode_; }

 private:
  String name_;
  std::int32_t mode_;
};

// A file on the C standard streams, in text mode. A mode other than kRead or kWrite opens
// nothing: open() raises IFileNotFound without touching the file system. Reading goes through
// a read-ahead buffer, so that a line end is found by one scan of many bytes; what readLn and
// read return is exactly what fgets and fread on the stream would return.
class CFileStdLib : public IFile {
 public:
  CFileStdLib(const String& name, long mode);
  // Leaves the stream open if the owner did not close it (after passing it any lines held back).
  ~CFileStdLib() override;

  // fopen "r" for kRead, "w" for kWrite. An opened file is closed first, so opening again
  // starts from the beginning (and truncates again in kWrite).
  void open() override;
  // Closes the stream if there is one; closing twice does nothing. Lines held back are written
  // and flushed first: when that fails, the stream is closed all the same and IFileDiskFull is
  // raised (the file on disk ends where the stream stopped).
  void close() override;
  bool isOpened() const override { return stream_ != nullptr; }
  long read(char* buffer, long size) override;
  long write(const char* buffer, long size) override;
  void readLn(char* buffer, long size) override;
  void writeLn(const char* text) override;

 private:
  // The DXF lexer takes its lines in place from the read-ahead buffer (takeLine); the DXF
  // writer builds its lines in place among those held back (lineRoom, holdLine).
  friend class CFileDXFILexer;
  friend class CFileDXFOWriter;

  static constexpr std::size_t kReadAhead = 64 * 1024;
  static constexpr std::size_t kWriteBehind = 64 * 1024;

  std::FILE* stream_;
  // kReadAhead bytes from the first read on. Kept until destruction, not just until close(),
  // so that a line taken in place stays readable memory as long as the file exists.
  std::unique_ptr<char[]> ahead_;
  // The bytes read from the stream and not yet given out are ahead_[begin_, end_).
  std::size_t begin_;
  std::size_t end_;
  // Whether ahead_[0, end_) holds a NUL byte, which ends a line's text before its end.
  bool aheadHasNul_;
  // Lines given to writeLn and not yet to the stream: behind_[0, held_). kWriteBehind bytes
  // from the first writeLn on.
  std::unique_ptr<char[]> behind_;
  std::size_t held_;

  // The next line as readLn(buffer, size) would copy it, without the copy: its first byte in
  // the read-ahead buffer, its length (line end included) and the length of its text (up to
  // its first NUL, or the whole line). The bytes stay valid and may be overwritten until the
  // next read of any kind. size is at most kReadAhead.
  char* takeLine(long size, long& length, long& textLength);
  // Moves the unread bytes to the front of the buffer and appends what the stream gives;
  // false when it gives nothing (its end, or an error).
  bool readAhead();
  std::size_t unread() const { return end_ - begin_; }
  // IFileEOF when the stream is at its end and nothing read ahead is left, IFileIOError
  // otherwise (a read gave nothing).
  [[noreturn]] void raiseReadFailure() const;
  // Hands the lines held back to the stream; false when it takes fewer bytes (they are
  // dropped all the same, so that a failure is reported once).
  bool passHeld();
  // Where a line of up to size bytes (at most kWriteBehind) goes, after those held back,
  // which are passed on first when the room left is smaller; IFileDiskFull as writeLn raises
  // it. The line is held once holdLine is given its length.
  char* lineRoom(std::size_t size) {
    if (stream_ != nullptr && behind_ && size <= kWriteBehind - held_) return behind_.get() + held_;
    return lineRoomAfterPassing(size);
  }
  void holdLine(std::size_t length) { held_ += length; }
  char* lineRoomAfterPassing(std::size_t size);
};
