// tools/velt/render/pixel_buffer.cpp: the queue, the bands and the rasterisers. A large drawing
// sends a few hundred million pixel columns through drawLine(), so its inner loop walks the
// minor axis in 16.16 fixed point and mixes two channels at a time, with bounds checks only at
// the band's edges; the two end columns, which the segment covers in part, take the general path.
#include "render/pixel_buffer.h"

#include "render/pixel_transform.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>
#include <utility>

namespace velt {

namespace {

// Past this many queued items the queue is drawn, so that its memory stays bounded.
constexpr std::size_t kMaxQueued = std::size_t{1} << 20;
// A queue shorter than this is drawn on the calling thread: threads would cost more.
constexpr std::size_t kThreadedQueue = std::size_t{1} << 14;
constexpr unsigned kMaxThreads = 4;

// Mixes the xRGB colour c into the pixel px by k / 256 (k in 0 ... 256): red and blue move
// together in one word, green in another; the lanes' borrows cancel once masked.
inline void mix(std::uint32_t& px, std::uint32_t k, std::uint32_t c) {
  const std::uint32_t rb = px & 0xff00ffu, g = px & 0x00ff00u;
  const std::uint32_t mixedRb = (rb + ((((c & 0xff00ffu) - rb) * k) >> 8)) & 0xff00ffu;
  const std::uint32_t mixedG = (g + ((((c & 0x00ff00u) - g) * k) >> 8)) & 0x00ff00u;
  px = 0xff000000u | mixedRb | mixedG;
}

bool within(long i, long from, long to) {
  return i >= from && i < to;
}

std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// The interior columns of a line: count columns from at, majorStep apart, the minor coordinate
// y (16.16 fixed point, offset by two pixels) growing by step. Everything is passed by value,
// and the function is kept out of line, so that the loop keeps it all in registers.
[[gnu::noinline]] void walk(std::uint32_t* at, long count, std::int64_t y, const std::int64_t step,
                            const PixelBuffer::Axes axes, const std::uint32_t colour) {
  const long majorStep = axes.majorStep, minorStep = axes.minorStep;
  const long from = axes.minorFrom, to = axes.minorTo;
  for (; count > 0; --count, y += step, at += majorStep) {
    const long row = static_cast<long>(y >> 16) - 2;
    const auto lower = static_cast<std::uint32_t>((y >> 8) & 0xff);
    if (row >= from && row + 1 < to) {
      // Both pixels inside: the common case.
      std::uint32_t* p = at + row * minorStep;
      mix(*p, 256 - lower, colour);
      mix(p[minorStep], lower, colour);
    } else {
      if (within(row, from, to)) mix(at[row * minorStep], 256 - lower, colour);
      if (within(row + 1, from, to)) mix(at[(row + 1) * minorStep], lower, colour);
    }
  }
}

}  // namespace

PixelBuffer::PixelBuffer(std::uint32_t* pixels, int width, int height, int stride)
    : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

void PixelBuffer::line(PixelPoint a, PixelPoint b, Rgb colour) {
  if (!clip(a, b)) return;
  items_.push_back({static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                    static_cast<float>(b.y), packed(colour), 0});
  if (items_.size() >= kMaxQueued) flush();
}

void PixelBuffer::square(PixelPoint p, double size, Rgb colour) {
  const double h = size / 2;
  if (!std::isfinite(p.x + p.y + size) || p.x + h < -1 || p.x - h > width_ || p.y + h < -1 ||
      p.y - h > height_)
    return;
  items_.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(size), 0,
                    packed(colour), 1});
  if (items_.size() >= kMaxQueued) flush();
}

void PixelBuffer::flush() {
  if (items_.empty()) return;
  const unsigned threads = items_.size() < kThreadedQueue
                               ? 1u
                               : std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
  std::vector<std::thread> others;
  for (unsigned t = 1; t < threads; ++t) {
    const Band band{height_ * static_cast<long>(t) / threads,
                    height_ * static_cast<long>(t + 1) / threads};
    try {
      others.emplace_back([this, band] { drawBand(band); });
    } catch (const std::system_error&) {
      drawBand(band);  // no thread to be had: this one draws the band
    }
  }
  drawBand({0, height_ / static_cast<long>(threads)});
  for (std::thread& t : others) t.join();
  items_.clear();
}

void PixelBuffer::drawBand(Band band) const {
  for (const Item& item : items_) {
    if (item.square != 0) {
      drawSquare(item, band);
    } else if (std::max(item.y0, item.y1) >= band.top - 1 &&
               std::min(item.y0, item.y1) <= band.bottom) {
      drawLine(item, band);
    }
  }
}

void PixelBuffer::drawLine(const Item& item, Band band) const {
  double x0 = item.x0, y0 = item.y0, x1 = item.x1, y1 = item.y1;
  // Walk the longer axis (the major one) a pixel at a time; a steep line walks the rows.
  const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
  if (steep) {
    std::swap(x0, y0);
    std::swap(x1, y1);
  }
  if (x0 > x1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const Axes axes = steep ? Axes{band.top, band.bottom, 0, width_, stride_, 1}
                          : Axes{0, width_, band.top, band.bottom, 1, stride_};
  const double gradient = x1 > x0 ? (y1 - y0) / (x1 - x0) : 0.0;
  const long first = std::lround(x0), last = std::lround(x1);
  const double yFirst = y0 + gradient * (static_cast<double>(first) - x0);
  if (first == last) {
    column(axes, first, yFirst, x1 - x0, item.colour);
    return;
  }
  // The end columns are covered from the segment's ends to their edges.
  column(axes, first, yFirst, static_cast<double>(first) + 0.5 - x0, item.colour);
  column(axes, last, yFirst + gradient * static_cast<double>(last - first),
         x1 - static_cast<double>(last) + 0.5, item.colour);
  long x = std::max(first + 1, axes.majorFrom);
  long end = std::min(last - 1, axes.majorTo - 1);
  if (!steep && gradient != 0) {
    // Only the columns whose two pixels can fall in the band's rows.
    const double xa = static_cast<double>(first) + (band.top - 1 - yFirst) / gradient;
    const double xb = static_cast<double>(first) + (band.bottom - yFirst) / gradient;
    x = std::max(x, static_cast<long>(std::floor(std::min(xa, xb))));
    end = std::min(end, static_cast<long>(std::ceil(std::max(xa, xb))));
  }
  if (x > end) return;
  // The clip keeps the minor coordinate above -1: two pixels of offset keep the fixed-point
  // value positive, so that shifting floors it.
  const double yStart = yFirst + gradient * static_cast<double>(x - first);
  walk(pixels_ + x * axes.majorStep, end - x + 1,
       static_cast<std::int64_t>((yStart + 2.0) * 65536.0),
       static_cast<std::int64_t>(gradient * 65536.0), axes, item.colour);
}

void PixelBuffer::column(const Axes& axes, long x, double y, double cover,
                         std::uint32_t colour) const {
  if (cover <= 0 || !within(x, axes.majorFrom, axes.majorTo)) return;
  const double below = std::floor(y);
  const long row = static_cast<long>(below);
  const double share = std::min(cover, 1.0);
  const auto k1 = static_cast<std::uint32_t>((y - below) * share * 256.0);
  const auto k0 = static_cast<std::uint32_t>(share * 256.0) - k1;
  std::uint32_t* at = pixels_ + x * axes.majorStep;
  if (k0 != 0 && within(row, axes.minorFrom, axes.minorTo))
    mix(at[row * axes.minorStep], k0, colour);
  if (k1 != 0 && within(row + 1, axes.minorFrom, axes.minorTo))
    mix(at[(row + 1) * axes.minorStep], k1, colour);
}

void PixelBuffer::drawSquare(const Item& item, Band band) const {
  const double h = item.x1 / 2.0;
  const double left = item.x0 - h, right = item.x0 + h, top = item.y0 - h, bottom = item.y0 + h;
  const long rowFrom = std::max(std::lround(top), band.top);
  const long rowTo = std::min(std::lround(bottom), band.bottom - 1);
  const long colFrom = std::max(std::lround(left), 0L);
  const long colTo = std::min(std::lround(right), long{width_} - 1);
  for (long y = rowFrom; y <= rowTo; ++y) {
    const double yc = static_cast<double>(y);
    const double hy = std::min(yc + 0.5, bottom) - std::max(yc - 0.5, top);
    for (long x = colFrom; x <= colTo; ++x) {
      const double xc = static_cast<double>(x);
      const double wx = std::min(xc + 0.5, right) - std::max(xc - 0.5, left);
      const double coverage = wx * hy;
      if (wx <= 0 || hy <= 0) continue;
      const auto k = coverage >= 1 ? 256u : static_cast<std::uint32_t>(coverage * 256);
      mix(pixels_[y * stride_ + x], k, item.colour);
    }
  }
}

bool PixelBuffer::clip(PixelPoint& a, PixelPoint& b) const {
  if (!std::isfinite(a.x + a.y + b.x + b.y)) return false;
  // The pixel centres run from 0 to width - 1: a line reaches one pixel further each way.
  const PixelBox reach{-1.0, -1.0, static_cast<double>(width_), static_cast<double>(height_)};
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t0, t1;
  if (!clipSegment(a, b, reach, t0, t1)) return false;
  const PixelPoint start = a;
  if (t0 > 0) a = {start.x + t0 * dx, start.y + t0 * dy};
  if (t1 < 1) b = {start.x + t1 * dx, start.y + t1 * dy};
  return true;
}

}  // namespace velt
