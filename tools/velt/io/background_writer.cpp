// tools/velt/io/background_writer.cpp: the writer thread and the hand-over. At most one chunk
// waits while another is written: the caller blocks when it gets two ahead, so memory stays at
// three chunks.
#include "io/background_writer.h"

#include <system_error>
#include <utility>

#include "command.h"

namespace velt {

BackgroundWriter::BackgroundWriter(std::FILE* file, std::string path)
    : file_(file), path_(std::move(path)) {
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    // No thread to be had: write() writes in place.
  }
}

BackgroundWriter::~BackgroundWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void BackgroundWriter::write(std::string& chunk) {
  if (!thread_.joinable()) {
    if (!writeNow(chunk)) failed_ = true;
    throwIfFailed();
    chunk.clear();
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !hasPending_ || failed_; });
  throwIfFailed();
  pending_.swap(chunk);
  hasPending_ = true;
  chunk.swap(spare_);
  chunk.clear();
  changed_.notify_all();
}

void BackgroundWriter::finish() {
  if (thread_.joinable()) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (!hasPending_ && !writing_) || failed_; });
  }
  throwIfFailed();
}

void BackgroundWriter::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return hasPending_ || stopping_; });
    if (!hasPending_) return;
    std::string chunk;
    chunk.swap(pending_);
    hasPending_ = false;
    writing_ = true;
    changed_.notify_all();
    lock.unlock();
    const bool written = !failed_ && writeNow(chunk);
    lock.lock();
    writing_ = false;
    if (!written) failed_ = true;
    chunk.clear();
    // The written chunk's room serves the caller's next one.
    if (spare_.capacity() < chunk.capacity()) spare_.swap(chunk);
    changed_.notify_all();
  }
}

bool BackgroundWriter::writeNow(const std::string& chunk) {
  return chunk.empty() || std::fwrite(chunk.data(), 1, chunk.size(), file_) == chunk.size();
}

void BackgroundWriter::throwIfFailed() const {
  if (failed_) throw CommandFailure(kFileError, path_ + ": cannot be written");
}

}  // namespace velt
