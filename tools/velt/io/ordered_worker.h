// tools/velt/io/ordered_worker.h: OrderedWorker, a thread that carries out chunks of work in
// the order they are handed over, while the caller prepares the next. Used where one output
// stream is made on one thread and finished on another: the SVG canvas's calls, the blocks of a
// large file. A few chunks wait at most, so memory stays bounded; the storage of chunks carried
// out comes back to the caller for reuse. What the work throws is kept and thrown to the caller
// at its next hand-over or at drain(). Without a thread to be had, the caller does the work.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace velt {

// Chunk: movable, with clear() leaving it empty and keeping its storage.
template <typename Chunk>
class OrderedWorker {
 public:
  // work runs on the worker's thread, once per chunk, in order; the caller blocks when
  // maxWaiting chunks already wait.
  OrderedWorker(std::function<void(Chunk&)> work, std::size_t maxWaiting)
      : work_(std::move(work)), maxWaiting_(maxWaiting) {
    try {
      thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
      // No thread to be had: handOver() works in place.
    }
  }
  // Stops the thread; chunks not yet carried out are dropped (drain() was not reached).
  ~OrderedWorker() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
  OrderedWorker(const OrderedWorker&) = delete;
  OrderedWorker& operator=(const OrderedWorker&) = delete;

  // Takes chunk to be carried out after the ones before it, and leaves in it an empty chunk,
  // with the storage of one carried out when there is one.
  void handOver(Chunk& chunk) {
    if (!thread_.joinable()) {
      work_(chunk);
      chunk.clear();
      return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < maxWaiting_ || failure_; });
    throwIfFailed();
    waiting_.push_back(std::move(chunk));
    chunk = Chunk{};
    if (!spare_.empty()) {
      chunk = std::move(spare_.back());
      spare_.pop_back();
    }
    changed_.notify_all();
  }

  // Returns when every chunk handed over has been carried out.
  void drain() {
    if (!thread_.joinable()) return;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (waiting_.empty() && !busy_) || failure_; });
    throwIfFailed();
  }

 private:
  std::function<void(Chunk&)> work_;
  const std::size_t maxWaiting_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Chunk> waiting_;  // handed over, oldest first
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::vector<Chunk> spare_;
  std::thread thread_;  // last: it starts once everything above is in place

  void throwIfFailed() {
    if (failure_) std::rethrow_exception(failure_);
  }

  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
      if (stopping_) return;
      Chunk chunk = std::move(waiting_.front());
      waiting_.pop_front();
      busy_ = true;
      lock.unlock();
      std::exception_ptr failed;
      try {
        work_(chunk);
      } catch (...) {
        failed = std::current_exception();
      }
      chunk.clear();
      lock.lock();
      busy_ = false;
      if (failed) {
        failure_ = failed;
        waiting_.clear();
      }
      spare_.push_back(std::move(chunk));
      changed_.notify_all();
    }
  }
};

}  // namespace velt
