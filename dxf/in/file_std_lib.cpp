// dxf/in/file_std_lib.cpp: IFile's common part and CFileStdLib, files on the C standard streams
// in text mode. Touches nothing but its own stream; a failed call raises the IFile exception
// that names the failure, and a short but non-zero count is returned as it is.
// Reads fill a read-ahead buffer in large blocks and lines are cut from it with memchr: what a
// caller gets is byte for byte what fgets and fread would give, including where a long line is
// cut, a last line without line end, embedded NULs and CRs, and when the end or an error shows.
// Lines written are held back and passed on in large blocks with fwrite, which writes the bytes
// fputs would (line ends translated alike on systems whose text mode does so).
#include <veltcore/dxf/in/file.h>

#include <algorithm>
#include <cstring>

namespace {

// The position just after the first LF among the n bytes at from, or null.
char* afterLineEnd(char* from, std::size_t n) {
  if (n == 0) return nullptr;
  auto* lf = static_cast<char*>(std::memchr(from, '\n', n));
  return lf != nullptr ? lf + 1 : nullptr;
}

// The length of the text of the n bytes at from: up to their first NUL. Only a buffer known to
// hold one is searched: text files almost never do.
std::size_t textLengthOf(const char* from, std::size_t n, bool mayHoldNul) {
  if (!mayHoldNul) return n;
  const void* nul = std::memchr(from, '\0', n);
  return nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - from) : n;
}

}  // namespace

IFile::IFile(const String& name, long mode) : name_(name), mode_(static_cast<std::int32_t>(mode)) {}

IFile::~IFile() = default;

CFileStdLib::CFileStdLib(const String& name, long mode)
    : IFile(name, mode), stream_(nullptr), begin_(0), end_(0), aheadHasNul_(false), held_(0) {}

// The owner closes: a stream still open here stays open, with every line it was given.
CFileStdLib::~CFileStdLib() {
  if (stream_ != nullptr) passHeld();
}

void CFileStdLib::open() {
  close();  // and forgets what was read ahead
  const long mode = getMode();
  if (mode != kRead && mode != kWrite) throw IFileNotFound();
  stream_ = std::fopen(getName().c_str(), mode == kWrite ? "w" : "r");
  if (stream_ != nullptr) return;
  if (mode == kWrite) throw IFileCantWrite();
  throw IFileNotFound();
}

void CFileStdLib::close() {
  begin_ = end_ = 0;
  aheadHasNul_ = false;
  if (stream_ == nullptr) return;
  // Lines still held back are flushed here, so that a full disk shows for them: fclose would
  // not say.
  const bool passed = held_ == 0 || (passHeld() && std::fflush(stream_) == 0);
  std::fclose(stream_);
  stream_ = nullptr;
  if (!passed) throw IFileDiskFull();
}

// What was read ahead first, then the stream directly.
long CFileStdLib::read(char* buffer, long size) {
  if (stream_ == nullptr) throw IFileIOError();
  const std::size_t wanted = size > 0 ? static_cast<std::size_t>(size) : 0;
  std::size_t n = std::min(wanted, unread());
  if (n > 0) std::memcpy(buffer, ahead_.get() + begin_, n);
  begin_ += n;
  if (n < wanted) n += std::fread(buffer + n, 1, wanted - n, stream_);
  if (n == 0) raiseReadFailure();
  return static_cast<long>(n);
}

long CFileStdLib::write(const char* buffer, long size) {
  if (stream_ == nullptr || !passHeld()) throw IFileDiskFull();
  const std::size_t n = std::fwrite(buffer, 1, static_cast<std::size_t>(size), stream_);
  if (n == 0) throw IFileDiskFull();
  return static_cast<long>(n);
}

// As fgets: up to size - 1 bytes, through the first LF; the end of the stream ends a last line
// without LF; a read error fails the call even after some bytes.
void CFileStdLib::readLn(char* buffer, long size) {
  if (stream_ == nullptr) throw IFileIOError();
  if (size <= 0) raiseReadFailure();
  char* out = buffer;
  std::size_t room = static_cast<std::size_t>(size - 1);
  while (room > 0) {
    if (unread() == 0 && !readAhead()) {
      if (out == buffer || std::ferror(stream_)) raiseReadFailure();
      break;
    }
    char* from = ahead_.get() + begin_;
    const std::size_t n = std::min(room, unread());
    char* lineEnd = afterLineEnd(from, n);
    const std::size_t taken = lineEnd != nullptr ? static_cast<std::size_t>(lineEnd - from) : n;
    std::memcpy(out, from, taken);
    out += taken;
    room -= taken;
    begin_ += taken;
    if (lineEnd != nullptr) break;
  }
  *out = '\0';
}

// A line that runs past the bytes read ahead is scanned again from its start once more have
// come.
char* CFileStdLib::takeLine(long size, long& length, long& textLength) {
  if (stream_ == nullptr) throw IFileIOError();
  const std::size_t longest = static_cast<std::size_t>(size - 1);
  for (;;) {
    char* from = ahead_ ? ahead_.get() + begin_ : nullptr;
    const std::size_t available = unread();
    char* lineEnd = afterLineEnd(from, std::min(available, longest));
    if (lineEnd != nullptr || available >= longest) {
      const std::size_t taken =
          lineEnd != nullptr ? static_cast<std::size_t>(lineEnd - from) : longest;
      begin_ += taken;
      length = static_cast<long>(taken);
      textLength = static_cast<long>(textLengthOf(from, taken, aheadHasNul_));
      return from;
    }
    if (!readAhead()) {
      if (available == 0 || std::ferror(stream_)) raiseReadFailure();
      char* last = ahead_.get() + begin_;
      begin_ = end_;
      length = static_cast<long>(available);
      textLength = static_cast<long>(textLengthOf(last, available, aheadHasNul_));
      return last;
    }
  }
}

bool CFileStdLib::readAhead() {
  if (!ahead_) ahead_ = std::make_unique<char[]>(kReadAhead);
  const std::size_t kept = unread();
  if (begin_ > 0 && kept > 0) std::memmove(ahead_.get(), ahead_.get() + begin_, kept);
  begin_ = 0;
  end_ = kept;
  const std::size_t n = std::fread(ahead_.get() + end_, 1, kReadAhead - end_, stream_);
  end_ += n;
  aheadHasNul_ = std::memchr(ahead_.get(), '\0', end_) != nullptr;
  return n > 0;
}

// Held back; a line longer than the whole buffer goes straight on, after those held.
void CFileStdLib::writeLn(const char* text) {
  if (stream_ == nullptr) throw IFileDiskFull();
  const std::size_t n = std::strlen(text);
  if (n >= kWriteBehind) {
    if (!passHeld() || std::fputs(text, stream_) < 0) throw IFileDiskFull();
    return;
  }
  std::memcpy(lineRoom(n), text, n);
  held_ += n;
}

// lineRoom when the buffer is not there yet or has too little room left.
char* CFileStdLib::lineRoomAfterPassing(std::size_t size) {
  if (stream_ == nullptr) throw IFileDiskFull();
  if (size > kWriteBehind - held_ && !passHeld()) throw IFileDiskFull();
  if (!behind_) behind_ = std::make_unique<char[]>(kWriteBehind);
  return behind_.get() + held_;
}

bool CFileStdLib::passHeld() {
  const std::size_t n = held_;
  held_ = 0;
  return n == 0 || std::fwrite(behind_.get(), 1, n, stream_) == n;
}

void CFileStdLib::raiseReadFailure() const {
  if (unread() == 0 && std::feof(stream_)) throw IFileEOF();
  throw IFileIOError();
}
