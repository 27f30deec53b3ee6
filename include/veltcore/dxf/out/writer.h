// veltcore/dxf/out/writer.h: CFileDXFOWriter, which writes one DXF group code/value pair as two
// lines through an IFile. Numbers never follow the C locale: reals always carry a '.'.
// A string value longer than kMaxString characters is cut to its first kMaxString.
#pragma once

#include <cstddef>

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
};
