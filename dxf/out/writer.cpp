// dxf/out/writer.cpp: CFileDXFOWriter, the formatting of one group code/value pair.
// Every line is built in a fixed buffer and handed to the file as one line; into a CFileStdLib
// the two lines of a pair are built in place among the lines it holds back. Numbers never read
// the locale: integers through std::to_chars, reals through formatFixed6 (core/number_format.h),
// both byte for byte what printf gives in the C locale.
#include <veltcore/dxf/out/writer.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <typeinfo>

#include <veltcore/dxf/in/file.h>

#include "core/number_format.h"

namespace {

// Sizes of the line buffers: group code, integer value, real value, string value.
constexpr std::size_t kCodeLine = 16;
constexpr std::size_t kIntLine = 24;
constexpr std::size_t kRealLine = 512;
constexpr std::size_t kStringLine = CFileDXFOWriter::kMaxString + 2;
static_assert(kRealLine >= veltcore::text::kFixed6Room + 2, "a real line holds any double");

// Only the exact class takes lines in place: a host's subclass may override writeLn.
CFileStdLib* directWriter(IFile& file) {
  return typeid(file) == typeid(CFileStdLib) ? static_cast<CFileStdLib*>(&file) : nullptr;
}

// The code as "%3d" writes it; returns the end of the text.
char* putCode(char* out, long code) {
  if (code >= 0 && code < 1000) {  // every code of an AC1009 file but the extended data's
    const auto c = static_cast<unsigned>(code);
    out[0] = c >= 100 ? static_cast<char>('0' + c / 100) : ' ';
    out[1] = c >= 10 ? static_cast<char>('0' + c / 10 % 10) : ' ';
    out[2] = static_cast<char>('0' + c % 10);
    return out + 3;
  }
  // The 32-bit view keeps the line within its buffer.
  char digits[kCodeLine];
  const char* end = std::to_chars(digits, digits + kCodeLine, static_cast<std::int32_t>(code)).ptr;
  const std::size_t length = static_cast<std::size_t>(end - digits);
  const std::size_t pad = length < 3 ? 3 - length : 0;
  std::memset(out, ' ', pad);
  std::memcpy(out + pad, digits, length);
  return out + pad + length;
}

}  // namespace

CFileDXFOWriter::CFileDXFOWriter(IFile& file) : file_(file), direct_(directWriter(file)) {}

// Into a CFileStdLib both lines are built in one piece among the lines it holds back; into any
// other file each goes through writeLn.
template <typename Put>
void CFileDXFOWriter::writePair(long code, std::size_t room, Put put) {
  static_assert(kCodeLine + kStringLine <= CFileStdLib::kWriteBehind, "a pair fits the buffer");
  if (direct_ != nullptr) {
    char* line = direct_->lineRoom(kCodeLine + room);
    char* value = putCode(line, code);
    *value++ = '\n';
    char* end = put(value);
    *end = '\n';
    direct_->holdLine(static_cast<std::size_t>(end + 1 - line));
    return;
  }
  writeGroup(code);
  char line[kStringLine];
  char* end = put(line);
  end[0] = '\n';
  end[1] = '\0';
  file_.writeLn(line);
}

void CFileDXFOWriter::write(long code, bool value) {
  write(code, value ? 1L : 0L);
}

void CFileDXFOWriter::write(long code, long value) {
  writePair(code, kIntLine,
            [value](char* line) { return std::to_chars(line, line + kIntLine - 2, value).ptr; });
}

void CFileDXFOWriter::write(long code, double value) {
  // NaN and infinities come out as "nan", "-nan", "inf", "-inf", as from printf.
  writePair(code, kRealLine,
            [value](char* line) { return veltcore::text::formatFixed6(line, value); });
}

void CFileDXFOWriter::write(long code, const char* value) {
  std::size_t length = value != nullptr ? std::strlen(value) : 0;
  if (length > kMaxString) length = kMaxString;
  writePair(code, kStringLine, [value, length](char* line) {
    if (length > 0) std::memcpy(line, value, length);
    return line + length;
  });
}

void CFileDXFOWriter::writeHex(long code, long value) {
  // Handles are 32-bit: a negative one is written as its two's complement, as "%X" does.
  writePair(code, kCodeLine, [value](char* line) {
    const auto bits = static_cast<std::uint32_t>(value);
    char* end = std::to_chars(line, line + kCodeLine - 2, bits, 16).ptr;
    for (char* c = line; c != end; ++c)
      if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
    return end;
  });
}

void CFileDXFOWriter::writeGroup(long code) {
  char line[kCodeLine];
  char* end = putCode(line, code);
  end[0] = '\n';
  end[1] = '\0';
  file_.writeLn(line);
}
