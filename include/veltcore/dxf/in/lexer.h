// veltcore/dxf/in/lexer.h: CFileDXFILexer, which cuts an ASCII DXF file into its pairs of lines,
// a group code and a value, through an IFile it neither opens nor closes.
// The value is a view into the lexer's one line buffer: it is valid until the next read().
#pragma once

#include <cstdint>

#include <veltcore/core/string.h>

class IFile;
class CFileStdLib;

class CFileDXFILexer {
 public:
  // The exceptions carry nothing: getLine() tells where reading stopped.
  class LexerError {};
  // A number was asked of an empty value.
  class LexerErrorEmptyValue : public LexerError {};
  // A value that is not the expected kind (raised by the parser; the lexer converts any text).
  class LexerErrorBadFormat : public LexerError {};

  // The longest line read at once is kLineSize - 1 characters; the rest is the next line.
  static constexpr long kLineSize = 4096;

  explicit CFileDXFILexer(IFile& file);
  CFileDXFILexer(const CFileDXFILexer&) = delete;
  CFileDXFILexer& operator=(const CFileDXFILexer&) = delete;

  // Reads the next pair, skipping comments (group 999), and returns its group code. The end
  // of the file inside a pair passes on as IFile::IFileEOF; an empty group code line raises
  // LexerError.
  long read();
  long getGroupValue() const { return group_; }
  // The value without its trailing CR, LF, blanks and TABs; leading blanks are kept. It views
  // the lexer's line buffer, or the file's own buffer when the file reads in place.
  const SmartString& getString() const { return value_; }
  // The value as atoi and atof read it in the C locale; LexerErrorEmptyValue when it is empty.
  long getInt() const;
  double getDouble() const;
  // The value's characters as hexadecimal digits, keeping the low 32 bits; no character is
  // refused. LexerErrorEmptyValue when it is empty.
  long getHex() const;
  // The 1-based number of the last line consumed; 0 before the first read().
  long getLine() const { return lineNo_; }

 private:
  IFile& file_;
  // The file when it is a CFileStdLib itself (not a class derived from it, which may read
  // otherwise): its lines are then taken in place instead of copied.
  CFileStdLib* const inPlace_;
  char line_[kLineSize];
  SmartString value_;
  std::int32_t lineNo_;
  std::int32_t group_;
  std::int32_t length_;

  // Reads one line, as readLn with kLineSize gives it: returns its first byte and sets length
  // to that of its text (up to a NUL). The bytes up to and including text[length] may be
  // written over, to trim and terminate it.
  char* readLine(long& length);
  void checkNotEmpty() const;
};
