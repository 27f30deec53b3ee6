// tools/velt/io/background_writer.h: writes the chunks of a large output file on a thread of
// its own, so that the kernel's copying into the page cache (a tenth of a second per hundred
// megabytes) runs beside the work that makes the next chunk instead of after it. One chunk is
// written while the next is filled; a writer that cannot have a thread writes in place.
#pragma once

#include <cstdio>
#include <string>

#include "io/ordered_worker.h"

namespace velt {

class BackgroundWriter {
 public:
  // file: open for writing; stays the caller's, not to be touched until finish() returns.
  // path names it in errors.
  BackgroundWriter(std::FILE* file, std::string path);
  // Stops the thread; chunks not yet written may be lost (finish() was not reached).
  ~BackgroundWriter() = default;
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Takes chunk to be written after the ones before it and leaves in it an empty string with
  // room, for the next. Throws CommandFailure(kFileError) when an earlier chunk failed.
  void write(std::string& chunk) { worker_.handOver(chunk); }
  // Waits until every chunk is written; throws CommandFailure(kFileError) when one failed.
  void finish() { worker_.drain(); }

 private:
  std::FILE* file_;
  std::string path_;
  // One chunk waits while another is written: memory stays at three chunks.
  OrderedWorker<std::string> worker_;

  void writeNow(const std::string& chunk);
};

}  // namespace velt
