// dxf/in/lexer.cpp: cuts an ASCII DXF stream into (group code, value) pairs.
// Reads through the IFile only, into one fixed line buffer, and allocates nothing per pair; a
// CFileStdLib lends its lines in place, which saves copying every line. Both CR LF and LF line
// ends are accepted: trimming drops every trailing CR and LF.
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>

#include <cstring>
#include <typeinfo>

#include "core/text.h"

namespace {

constexpr long kCommentGroup = 999;

bool isLineEnd(char c) {
  return c == '\n' || c == '\r';
}

bool isValueTrail(char c) {
  return c == '\n' || c == '\r' || c == ' ' || c == '\t';
}

// Line counts wrap instead of overflowing (a file of 2^31 lines is not a drawing anyone has).
std::int32_t nextLine(std::int32_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(n) + 1u);
}

// The value of one digit as the DXF handles are read: below ':' from '0', up to 'F' from 'A',
// beyond from 'a'. Bytes are taken as signed chars, so that text outside ASCII gives the
// same (meaningless but fixed) result on every platform.
std::uint32_t hexDigit(char ch) {
  const int c = static_cast<signed char>(ch);
  int digit;
  if (c < ':')
    digit = c - '0';
  else if (c <= 'F')
    digit = c - '7';
  else
    digit = c - 'W';
  return static_cast<std::uint32_t>(digit);
}

// Only the exact class reads in place: a host's subclass may override readLn.
CFileStdLib* inPlaceReader(IFile& file) {
  return typeid(file) == typeid(CFileStdLib) ? static_cast<CFileStdLib*>(&file) : nullptr;
}

}  // namespace

CFileDXFILexer::CFileDXFILexer(IFile& file)
    : file_(file),
      inPlace_(inPlaceReader(file)),
      line_{},
      value_(line_),
      lineNo_(0),
      group_(0),
      length_(0) {}

// The helpers of read() and of the conversions are inline: used in this file only, they are
// compiled into their callers, each of which runs millions of times per drawing.

// A line taken in place ends with its LF, which is written over when the line is trimmed; a
// line without one (cut at the limit, or the last of the file) is copied, since the byte
// after it belongs to the next line or to no line.
inline char* CFileDXFILexer::readLine(long& length) {
  static_assert(CFileStdLib::kReadAhead >= kLineSize, "a whole line must fit the read-ahead");
  if (inPlace_ != nullptr) {
    long taken;
    char* text = inPlace_->takeLine(kLineSize, taken, length);
    if (length < taken || text[taken - 1] == '\n') return text;
    std::memcpy(line_, text, static_cast<std::size_t>(length));
    return line_;
  }
  file_.readLn(line_, kLineSize);
  length = static_cast<long>(std::strlen(line_));
  return line_;
}

inline void CFileDXFILexer::checkNotEmpty() const {
  if (length_ == 0) throw LexerErrorEmptyValue();
}

long CFileDXFILexer::read() {
  for (;;) {
    long n;
    char* text = readLine(n);
    while (n > 0 && isLineEnd(text[n - 1])) --n;
    if (n == 0) throw LexerError();
    text[n] = '\0';
    group_ = veltcore::text::parseInt(text);
    lineNo_ = nextLine(lineNo_);

    text = readLine(n);
    while (n > 0 && isValueTrail(text[n - 1])) --n;
    text[n] = '\0';
    value_ = text;
    length_ = static_cast<std::int32_t>(n);
    lineNo_ = nextLine(lineNo_);

    if (group_ != kCommentGroup) return group_;
  }
}

long CFileDXFILexer::getInt() const {
  checkNotEmpty();
  return veltcore::text::parseInt(value_.c_str());
}

double CFileDXFILexer::getDouble() const {
  checkNotEmpty();
  return veltcore::text::parseDouble(value_.c_str());
}

long CFileDXFILexer::getHex() const {
  checkNotEmpty();
  // Shifting in 32 bits drops the high digits of a longer text, as a 32-bit handle must.
  std::uint32_t v = 0;
  for (const char* p = value_.c_str(); *p != '\0'; ++p) v = (v << 4) | hexDigit(*p);
  return static_cast<std::int32_t>(v);
}
