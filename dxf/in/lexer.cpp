// dxf/in/lexer.cpp: cuts an ASCII DXF stream into (group code, value) pairs.
// Reads through the IFile only, into one fixed line buffer, and allocates nothing per pair; a
// CFileStdLib lends its lines in place, which saves copying every line. Both CR LF and LF line
// ends are accepted: trimming drops every trailing CR and LF.
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>

#include <algorithm>
#include <cstring>
#include <typeinfo>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The first LF among the n bytes at from, or null. DXF lines are short: one 16-byte compare
// finds most of them before a library search would have started.
char* findLineFeed(char* from, std::size_t n) {
  constexpr std::size_t kBlock = 16;
#ifdef __SSE2__
  if (n >= kBlock) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
    if (hits != 0) return from + __builtin_ctz(static_cast<unsigned>(hits));
    if (n == kBlock) return nullptr;
    return static_cast<char*>(std::memchr(from + kBlock, '\n', n - kBlock));
  }
#endif
  const std::size_t head = std::min(n, kBlock);
  for (std::size_t i = 0; i < head; ++i)
    if (from[i] == '\n') return from + i;
  if (n <= kBlock) return nullptr;
  return static_cast<char*>(std::memchr(from + kBlock, '\n', n - kBlock));
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
    // Nearly every line is whole among the bytes read ahead, in a buffer without NULs: it is
    // taken here, as takeLine would take it, without the call.
    CFileStdLib& file = *inPlace_;
    const std::size_t available = std::min(file.unread(), std::size_t{kLineSize - 1});
    if (file.stream_ != nullptr && !file.aheadHasNul_ && available > 0) {
      char* from = file.ahead_.get() + file.begin_;
      if (char* lf = findLineFeed(from, available)) {
        const std::size_t taken = static_cast<std::size_t>(lf - from) + 1;
        file.begin_ += taken;
        length = static_cast<long>(taken);
        return from;
      }
    }
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
