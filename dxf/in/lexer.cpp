// dxf/in/lexer.cpp: cuts an ASCII DXF stream into (group code, value) pairs.
// Reads through the IFile only, into one fixed line buffer, and allocates nothing per pair.
// Both CR LF and LF line ends are accepted: trimming drops every trailing CR and LF.
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>

#include <cstring>

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

}  // namespace

CFileDXFILexer::CFileDXFILexer(IFile& file)
    : file_(file), line_{}, value_(line_), lineNo_(0), group_(0), length_(0) {}

long CFileDXFILexer::read() {
  for (;;) {
    long n = readLine();
    while (n > 0 && isLineEnd(line_[n - 1])) --n;
    if (n == 0) throw LexerError();
    line_[n] = '\0';
    group_ = veltcore::text::parseInt(line_);
    lineNo_ = nextLine(lineNo_);

    n = readLine();
    while (n > 0 && isValueTrail(line_[n - 1])) --n;
    line_[n] = '\0';
    length_ = static_cast<std::int32_t>(n);
    lineNo_ = nextLine(lineNo_);

    if (group_ != kCommentGroup) return group_;
  }
}

long CFileDXFILexer::getInt() const {
  checkNotEmpty();
  return veltcore::text::parseInt(line_);
}

double CFileDXFILexer::getDouble() const {
  checkNotEmpty();
  return veltcore::text::parseDouble(line_);
}

long CFileDXFILexer::getHex() const {
  checkNotEmpty();
  // Shifting in 32 bits drops the high digits of a longer text, as a 32-bit handle must.
  std::uint32_t v = 0;
  for (const char* p = line_; *p != '\0'; ++p) v = (v << 4) | hexDigit(*p);
  return static_cast<std::int32_t>(v);
}

long CFileDXFILexer::readLine() {
  file_.readLn(line_, kLineSize);
  return static_cast<long>(std::strlen(line_));
}

void CFileDXFILexer::checkNotEmpty() const {
  if (length_ == 0) throw LexerErrorEmptyValue();
}
