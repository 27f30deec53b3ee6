// veltcore/dxf/out/writer.h: CFileDXFOWriter, which writes one DXF group code/value pair as two
// lines through an IFile. Numbers never follow the C locale: reals always carry a '.'.
// A string value longer than kMaxString characters is cut to its first kMaxString.
#pragma once

#include <cstddef>

class CFileStdLib;
class IFile;

class CFileDXFOWriter {
 public:
  // The longest string value written whole: the value line buffer is 1024 bytes and also
  // holds the line end and the terminating NUL.
  static constexpr std::size_t kMaxString = 1022;

  // Writes to file, which the caller opens, closes and keeps alive.
  explicit CFileDXFOWriter(IFile& file);
  CFileDXFOWriter(const CFileDXFOWriter&) = delete;
  CFileDXFOWriter& operator=(const CFileDXFOWriter&) = delete;

  // 1 for true, 0 for false.
  void write(long code, bool value);
  // Decimal, as "%d".
  void write(long code, long value);
  // Fixed notation with six decimals, as "%.6f" in the C locale.
  void write(long code, double value);
  // The text as it stands (cut at kMaxString); a null pointer writes an empty value.
  void write(long code, const char* value);
  // Upper-case hexadecimal of the value's low 32 bits, no leading zeros, as "%X".
  void writeHex(long code, long value);

 protected:
  // The group code line: right-aligned in three columns, as "%3d".
  void writeGroup(long code);

 private:
  IFile& file_;
  // The file when it is a CFileStdLib itself (not a class derived from it, which may write
  // lines its own way): lines are then built in place among the lines it holds back, with
  // the same bytes and the same failures as through writeLn.
  CFileStdLib* const direct_;

  // Writes the code line and then the value line, whose text put writes at the pointer it is
  // given (room bytes at most, line end and NUL included) and whose end it returns.
  template <typename Put>
  void writePair(long code, std::size_t room, Put put);
};
