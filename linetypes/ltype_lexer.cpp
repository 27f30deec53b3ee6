// linetypes/ltype_lexer.cpp: CLtypeLoader::CFileLtypeLexer, the lines of a linetype library.
// A line is read with IFile::readLn into a fixed buffer. A line longer than the buffer is not
// cut into two lines, which could turn its tail into a header: the rest is read and passed
// over, and the line is marked damaged unless that rest was only blanks. A NUL byte marks the
// line damaged too; to see one, the buffer is kept filled with a non-NUL byte beyond what was
// read, so the last NUL in it is the terminator readLn wrote.
#include <veltcore/dxf/in/file.h>
#include <veltcore/linetypes/ltype_loader.h>

#include <cstring>

namespace {

constexpr char kSentinel = '\x7f';

// The characters taken off the end of every line.
bool isTrimmed(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool onlyTrimmed(const char* s, long n) {
  for (long i = 0; i < n; ++i)
    if (!isTrimmed(s[i])) return false;
  return true;
}

}  // namespace

CLtypeLoader::CFileLtypeLexer::CFileLtypeLexer(IFile& file)
    : file_(file), lineChunk_(0), spillChunk_(0), lines_(0), damaged_(false), atEnd_(false) {
  std::memset(line_, kSentinel, sizeof line_);
  std::memset(spill_, kSentinel, sizeof spill_);
  line_[0] = '\0';  // the empty line until the first NextLine; lineChunk_ 0 covers it
}

void CLtypeLoader::CFileLtypeLexer::NextLine() {
  for (;;) {
    readPhysicalLine();
    // A damaged line is never blank: it may be the pattern line a definition waits for.
    if (line_[0] == '\0' && !damaged_) continue;
    if (line_[0] == ';' && line_[1] == ';') continue;
    return;
  }
}

void CLtypeLoader::CFileLtypeLexer::readPhysicalLine() {
  if (atEnd_) throw IFile::IFileEOF();
  const long n = readChunk(line_, lineChunk_);
  ++lines_;
  long text = static_cast<long>(std::strlen(line_));
  damaged_ = text < n;  // a NUL byte
  const bool cut = n == kLineSize - 1 && line_[n - 1] != '\n';
  if (cut && passOverRest()) damaged_ = true;
  while (text > 0 && isTrimmed(line_[text - 1])) --text;
  line_[text] = '\0';
}

long CLtypeLoader::CFileLtypeLexer::readChunk(char* buffer, long& chunk) {
  std::memset(buffer, kSentinel, static_cast<std::size_t>(chunk) + 1);
  // A read that fails may have written anywhere in the buffer: the whole of it is refilled
  // next time.
  chunk = kLineSize - 1;
  file_.readLn(buffer, kLineSize);
  const long text = static_cast<long>(std::strlen(buffer));
  // readLn stops after the first LF, so a text ending in one is the whole chunk.
  if (text > 0 && buffer[text - 1] == '\n') return chunk = text;
  long end = kLineSize - 1;
  while (buffer[end] != '\0') --end;
  return chunk = end;
}

bool CLtypeLoader::CFileLtypeLexer::passOverRest() {
  bool more = false;
  for (;;) {
    long n;
    try {
      n = readChunk(spill_, spillChunk_);
    } catch (const IFile::IFileEOF&) {
      atEnd_ = true;  // the long line was the last; the next read reports the end
      return more;
    }
    if (static_cast<long>(std::strlen(spill_)) < n || !onlyTrimmed(spill_, n)) more = true;
    if (n < kLineSize - 1 || spill_[n - 1] == '\n') return more;
  }
}
