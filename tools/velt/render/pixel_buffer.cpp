// tools/velt/render/pixel_buffer.cpp: the queue, the clip, and the painter threads. Batches
// wait in a short first-in first-out line; each painter draws every batch, in order, within its
// own band, and the last painter done with a batch hands its storage back for reuse. The caller
// waits only when the line is full, so the scene walk and the drawing overlap.
#include "render/pixel_buffer.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "render/line_raster.h"
#include "render/pixel_transform.h"

namespace velt {

namespace {

// A batch is handed to the painters when it holds this many items: large enough that passing
// it costs nothing next to drawing it, small enough that the painters start early.
constexpr std::size_t kBatchItems = std::size_t{1} << 16;
// Batches waiting or being drawn at once; past this the caller waits, so memory stays bounded.
constexpr std::size_t kBatchesInFlight = 4;
// A queue flushed shorter than this, with no painters yet, is drawn on the calling thread:
// threads would cost more than they save.
constexpr std::size_t kThreadedQueue = std::size_t{1} << 14;
constexpr unsigned kMaxPainters = 4;

std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

}  // namespace

void drawBatchBand(const PixelBuffer::Batch& batch, std::uint32_t* pixels, long width, long stride,
                   long top, long bottom) {
  const RasterBand band{pixels, width, stride, top, bottom};
  for (const PixelBuffer::Item& item : batch) {
    if (item.square != 0) {
      rasterSquare(band, item.x0, item.y0, item.x1, item.colour);
    } else if (std::max(item.y0, item.y1) >= static_cast<float>(top - 2) &&
               std::min(item.y0, item.y1) <= static_cast<float>(bottom + 1)) {
      // An end column is centred on its pixel, up to half a pixel beyond the segment's end,
      // and blends the pixels on either side of that: a line reaches rows up to 1.5 beyond.
      rasterLine(band, item.x0, item.y0, item.x1, item.y1, item.colour);
    }
  }
}

// One thread per band, each drawing the batches in the order they were handed over.
class PixelBuffer::Painters {
 public:
  // Throws std::system_error when not even one thread can be started.
  Painters(std::uint32_t* pixels, long width, long height, long stride, unsigned bands)
      : pixels_(pixels), width_(width), stride_(stride) {
    try {
      for (unsigned b = 0; b < bands; ++b) {
        const long top = height * b / bands, bottom = height * (b + 1) / bands;
        threads_.emplace_back([this, top, bottom] { paint(top, bottom); });
      }
    } catch (const std::system_error&) {
      stop();
      throw;
    }
  }
  ~Painters() { stop(); }
  Painters(const Painters&) = delete;
  Painters& operator=(const Painters&) = delete;

  // Takes batch's items and leaves it empty, with storage for the next batch when some is free.
  void take(Batch& batch) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return line_.size() < kBatchesInFlight; });
    line_.push_back({std::move(batch), static_cast<unsigned>(threads_.size())});
    batch.clear();
    if (!spare_.empty()) {
      batch = std::move(spare_.back());
      spare_.pop_back();
    } else {
      batch.reserve(kBatchItems);
    }
    changed_.notify_all();
  }
  // Returns when every batch taken has been drawn.
  void wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return line_.empty(); });
  }

 private:
  struct Waiting {
    Batch items;
    unsigned bandsLeft;
  };
  std::uint32_t* pixels_;
  long width_;
  long stride_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // The batches handed over and not yet drawn by every band, oldest first; the first is number
  // first_ of all batches.
  std::deque<Waiting> line_;
  unsigned long first_ = 0;
  std::vector<Batch> spare_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;

  void paint(long top, long bottom) {
    for (unsigned long next = 0;; ++next) {
      const Batch* batch = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || next - first_ < line_.size(); });
        if (stopping_) return;
        // The batch stays in place until this band, too, has drawn it.
        batch = &line_[next - first_].items;
      }
      drawBatchBand(*batch, pixels_, width_, stride_, top, bottom);
      std::lock_guard<std::mutex> lock(mutex_);
      --line_[next - first_].bandsLeft;
      retireDrawn();
    }
  }
  void retireDrawn() {
    bool retired = false;
    while (!line_.empty() && line_.front().bandsLeft == 0) {
      line_.front().items.clear();
      spare_.push_back(std::move(line_.front().items));
      line_.pop_front();
      ++first_;
      retired = true;
    }
    if (retired) changed_.notify_all();
  }
  void stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
    threads_.clear();
  }
};

PixelBuffer::PixelBuffer(std::uint32_t* pixels, int width, int height, int stride)
    : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

PixelBuffer::~PixelBuffer() = default;

void PixelBuffer::line(PixelPoint a, PixelPoint b, Rgb colour) {
  if (!std::isfinite(a.x + a.y + b.x + b.y)) return;
  // The pixel centres run from 0 to width - 1: a line reaches one pixel further each way.
  const PixelBox reach{-1.0, -1.0, static_cast<double>(width_), static_cast<double>(height_)};
  double t0, t1;
  if (!clipSegment(a, b, reach, t0, t1)) return;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const PixelPoint start = a;
  if (t0 > 0) a = {start.x + t0 * dx, start.y + t0 * dy};
  if (t1 < 1) b = {start.x + t1 * dx, start.y + t1 * dy};
  enqueue({static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
           static_cast<float>(b.y), packed(colour), 0});
}

void PixelBuffer::square(PixelPoint p, double size, Rgb colour) {
  const double h = size / 2;
  if (!std::isfinite(p.x + p.y + size) || p.x + h < -1 || p.x - h > width_ || p.y + h < -1 ||
      p.y - h > height_)
    return;
  enqueue({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(size), 0,
           packed(colour), 1});
}

void PixelBuffer::enqueue(const Item& item) {
  items_.push_back(item);
  if (items_.size() >= kBatchItems) submit();
}

void PixelBuffer::submit() {
  if (!painters_ && items_.size() >= kThreadedQueue) {
    const unsigned bands = std::min(std::thread::hardware_concurrency(), kMaxPainters);
    if (bands > 1) {
      try {
        painters_ = std::make_unique<Painters>(pixels_, width_, height_, stride_, bands);
      } catch (const std::system_error&) {
        // No thread to be had: this one draws.
      }
    }
  }
  if (painters_) {
    painters_->take(items_);
  } else {
    drawBatchBand(items_, pixels_, width_, stride_, 0, height_);
    items_.clear();
  }
}

void PixelBuffer::flush() {
  if (!items_.empty()) submit();
  if (painters_) painters_->wait();
}

}  // namespace velt
