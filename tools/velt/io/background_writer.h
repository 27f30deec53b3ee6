// tools/velt/io/background_writer.h: writes the chunks of a large output file on a thread of
// its own, so that the kernel's copying into the page cache (a tenth of a second per hundred
// megabytes) runs beside the work that makes the next chunk instead of after it. One chunk is
// written while the next is filled; a writer that cannot have a thread writes in place.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace velt {

class BackgroundWriter {
 public:
  // file: open for writing; stays the caller's, not to be touched until finish() returns.
  // path names it in errors.
  BackgroundWriter(std::FILE* file, std::string path);
  // Stops the thread; chunks not yet written may be lost (finish() was not reached).
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Takes chunk to be written after the ones before it and leaves in it an empty string with
  // room, for the next. Throws CommandFailure(kFileError) when an earlier chunk failed.
  void write(std::string& chunk);
  // Writes what is left and waits for it; throws CommandFailure(kFileError) when any chunk
  // failed.
  void finish();

 private:
  std::FILE* file_;
  std::string path_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string pending_;  // handed over, not yet taken by the thread
  bool hasPending_ = false;
  bool writing_ = false;
  bool failed_ = false;
  bool stopping_ = false;
  std::string spare_;
  std::thread thread_;

  void run();
  bool writeNow(const std::string& chunk);
  void throwIfFailed() const;
};

}  // namespace velt
