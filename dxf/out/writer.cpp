// dxf/out/writer.cpp: CFileDXFOWriter, the formatting of one group code/value pair.
// Every line is built in a fixed stack buffer with std::to_chars, which never reads the locale
// and gives exactly what printf gives in the C locale, then handed to IFile::writeLn.
#include <veltcore/dxf/out/writer.h>

#include <charconv>
#include <cstdint>
#include <cstring>

#include <veltcore/dxf/in/file.h>

namespace {

// Sizes of the line buffers: group code, integer value, real value, string value.
constexpr std::size_t kCodeLine = 16;
constexpr std::size_t kIntLine = 24;
constexpr std::size_t kRealLine = 512;
constexpr std::size_t kStringLine = CFileDXFOWriter::kMaxString + 2;

// Ends the text that runs from line to end with "\n" and a NUL; the callers leave room for both.
void endLine(char* end) {
  end[0] = '\n';
  end[1] = '\0';
}

}  // namespace

CFileDXFOWriter::CFileDXFOWriter(IFile& file) : file_(file) {}

void CFileDXFOWriter::write(long code, bool value) {
  write(code, value ? 1L : 0L);
}

void CFileDXFOWriter::write(long code, long value) {
  writeGroup(code);
  char line[kIntLine];
  endLine(std::to_chars(line, line + kIntLine - 2, value).ptr);
  file_.writeLn(line);
}

void CFileDXFOWriter::write(long code, double value) {
  writeGroup(code);
  char line[kRealLine];
  // The largest double has 309 integer digits: with the sign, the point and six decimals
  // it fits. NaN and infinities come out as "nan", "-nan", "inf", "-inf", as from printf.
  endLine(std::to_chars(line, line + kRealLine - 2, value, std::chars_format::fixed, 6).ptr);
  file_.writeLn(line);
}

void CFileDXFOWriter::write(long code, const char* value) {
  writeGroup(code);
  char line[kStringLine];
  std::size_t length = value != nullptr ? std::strlen(value) : 0;
  if (length > kMaxString) length = kMaxString;
  if (length > 0) std::memcpy(line, value, length);
  endLine(line + length);
  file_.writeLn(line);
}

void CFileDXFOWriter::writeHex(long code, long value) {
  writeGroup(code);
  char line[kCodeLine];
  // Handles are 32-bit: a negative one is written as its two's complement, as "%X" does.
  const auto bits = static_cast<std::uint32_t>(value);
  char* end = std::to_chars(line, line + kCodeLine - 2, bits, 16).ptr;
  for (char* c = line; c != end; ++c)
    if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
  endLine(end);
  file_.writeLn(line);
}

void CFileDXFOWriter::writeGroup(long code) {
  // Group codes of the format are small; the 32-bit view keeps the line within its buffer.
  char digits[kCodeLine];
  const char* end = std::to_chars(digits, digits + kCodeLine, static_cast<std::int32_t>(code)).ptr;
  const std::size_t length = static_cast<std::size_t>(end - digits);
  const std::size_t pad = length < 3 ? 3 - length : 0;
  char line[kCodeLine];
  std::memset(line, ' ', pad);
  std::memcpy(line + pad, digits, length);
  endLine(line + pad + length);
  file_.writeLn(line);
}
