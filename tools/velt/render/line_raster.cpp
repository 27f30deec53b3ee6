// tools/velt/render/line_raster.cpp: Wu lines and covered squares. A dense drawing sends a few
// hundred million pixel columns through the line's inner loop, so that loop walks the minor axis
// in 32.32 fixed point and blends both pixels of a column at once in the 16-bit lanes of an SSE2
// register (part of every x86-64 processor). The two end columns, which the segment covers in
// part, take the scalar path.
#include "render/line_raster.h"
#include "render/rounding.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace velt {

namespace {

// Minor coordinates are walked in 32.32 fixed point: over the widest image the steps add up to
// less than a millionth of a pixel of error.
constexpr int kFixedShift = 32;
constexpr double kFixedOne = 4294967296.0;

bool within(long i, long from, long to) {
  return i >= from && i < to;
}

// The axes a line walks: along major a pixel at a time, majorStep apart in memory; across
// minor. from and to bound each to the band being drawn.
struct Axes {
  long majorFrom, majorTo, minorFrom, minorTo;
  long majorStep, minorStep;
};

// The lane weights of a column whose lower pixel takes k = 0 ... 255 of the line: the upper
// pixel's four channels weigh 256 - k, the lower's k; and what each pixel keeps of itself, the
// weights taken from 256.
struct ColumnWeights {
  struct Entry {
    std::array<std::uint16_t, 8> take;
    std::array<std::uint16_t, 8> keep;
  };
  alignas(16) std::array<Entry, 256> entries;
};

const ColumnWeights& columnWeights() {
  static const ColumnWeights table = [] {
    ColumnWeights t{};
    for (std::uint16_t k = 0; k < 256; ++k) {
      const auto upper = static_cast<std::uint16_t>(256 - k);
      t.entries[k] = {{upper, upper, upper, upper, k, k, k, k},
                      {k, k, k, k, upper, upper, upper, upper}};
    }
    return t;
  }();
  return table;
}

// Blends the colour (lanes c) into the two pixels held in the low half of px by the weights of
// entry: (old * keep + c * take) / 256 in each lane. The products stay below 65536, so 16-bit
// lanes hold them exactly.
inline __m128i blendTwo(__m128i px, const ColumnWeights::Entry& entry, __m128i c) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i take = _mm_load_si128(reinterpret_cast<const __m128i*>(entry.take.data()));
  const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(entry.keep.data()));
  const __m128i old = _mm_unpacklo_epi8(px, zero);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(old, keep), _mm_mullo_epi16(c, take));
  const __m128i packed = _mm_packus_epi16(_mm_srli_epi16(sum, 8), zero);
  return _mm_or_si128(packed, _mm_set1_epi32(static_cast<int>(0xff000000u)));
}

// How many columns from the one at y, at most count, keep y in [from, to) as it grows by step.
long columnsWithin(std::int64_t y, std::int64_t step, long count, std::int64_t from,
                   std::int64_t to) {
  if (y < from || y >= to) return 0;
  const std::int64_t n = step > 0   ? (to - 1 - y) / step + 1
                         : step < 0 ? (y - from) / -step + 1
                                    : count;
  return static_cast<long>(std::min<std::int64_t>(n, count));
}

// The interior columns of a line: count columns from at, majorStep apart, the minor coordinate
// y (32.32 fixed point, offset by two pixels) growing by step. Adjacent: the two pixels of a
// column are neighbours in memory (a steep line walking rows, minorStep 1), loaded and stored as
// one. The loop runs some hundred million times on a dense drawing: the columns whose pixels
// both lie in the band are counted out beforehand and walked without a test, rows stay in the
// offset form the shift gives, and the weights come from a table.
template <bool kAdjacent>
void walk(std::uint32_t* at, long count, std::int64_t y, const std::int64_t step, const Axes& axes,
          const std::uint32_t colour) {
  const long majorStep = axes.majorStep, minorStep = kAdjacent ? 1 : axes.minorStep;
  const long from = axes.minorFrom, to = axes.minorTo;
  // Both pixels of a column lie in the band while its offset row is in from + 2 ... to.
  const std::int64_t bothFrom = std::int64_t{from + 2} << kFixedShift;
  const std::int64_t bothTo = std::int64_t{to + 1} << kFixedShift;
  const __m128i c =
      _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), _mm_setzero_si128());
  const ColumnWeights::Entry* const weights = columnWeights().entries.data();
  while (count > 0) {
    const long run = columnsWithin(y, step, count, bothFrom, bothTo);
    for (long k = 0; k < run; ++k, y += step, at += majorStep) {
      const long offsetRow = static_cast<long>(y >> kFixedShift);
      const auto lower = static_cast<std::uint32_t>((y >> (kFixedShift - 8)) & 0xff);
      std::uint32_t* p = at + (offsetRow - 2) * minorStep;
      if constexpr (kAdjacent) {
        const __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), blendTwo(px, weights[lower], c));
      } else {
        const __m128i px = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(p[0])),
                                              _mm_cvtsi32_si128(static_cast<int>(p[minorStep])));
        const __m128i out = blendTwo(px, weights[lower], c);
        p[0] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(out));
        p[minorStep] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(out, 4)));
      }
    }
    count -= run;
    if (run > 0 || count == 0) continue;
    // A column with a pixel beyond the band's edge: each pixel on its own.
    const long row = static_cast<long>(y >> kFixedShift) - 2;
    const auto lower = static_cast<std::uint32_t>((y >> (kFixedShift - 8)) & 0xff);
    if (within(row, from, to))
      at[row * minorStep] = blendPixel(at[row * minorStep], 256 - lower, colour);
    if (within(row + 1, from, to))
      at[(row + 1) * minorStep] = blendPixel(at[(row + 1) * minorStep], lower, colour);
    --count;
    y += step;
    at += majorStep;
  }
}

// One column of a line at major coordinate x, centred at minor coordinate y, of which the
// segment covers the share cover (at most 1).
void column(const RasterBand& band, const Axes& axes, long x, double y, double cover,
            std::uint32_t colour) {
  if (cover <= 0 || !within(x, axes.majorFrom, axes.majorTo)) return;
  const long row = floorToLong(y);
  const double share = std::min(cover, 1.0);
  const auto k1 = static_cast<std::uint32_t>((y - static_cast<double>(row)) * share * 256.0);
  const auto k0 = static_cast<std::uint32_t>(share * 256.0) - k1;
  std::uint32_t* at = band.pixels + x * axes.majorStep;
  if (k0 != 0 && within(row, axes.minorFrom, axes.minorTo)) {
    std::uint32_t& px = at[row * axes.minorStep];
    px = blendPixel(px, k0, colour);
  }
  if (k1 != 0 && within(row + 1, axes.minorFrom, axes.minorTo)) {
    std::uint32_t& px = at[(row + 1) * axes.minorStep];
    px = blendPixel(px, k1, colour);
  }
}

}  // namespace

std::uint32_t blendPixel(std::uint32_t px, std::uint32_t k, std::uint32_t c) {
  // Red and blue move together in one word, green in another; the lanes' borrows cancel once
  // masked.
  const std::uint32_t rb = px & 0xff00ffu, g = px & 0x00ff00u;
  const std::uint32_t mixedRb = (rb + ((((c & 0xff00ffu) - rb) * k) >> 8)) & 0xff00ffu;
  const std::uint32_t mixedG = (g + ((((c & 0x00ff00u) - g) * k) >> 8)) & 0x00ff00u;
  return 0xff000000u | mixedRb | mixedG;
}

void rasterLine(const RasterBand& band, double x0, double y0, double x1, double y1,
                std::uint32_t colour) {
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
  const Axes axes = steep ? Axes{band.top, band.bottom, 0, band.width, band.stride, 1}
                          : Axes{0, band.width, band.top, band.bottom, 1, band.stride};
  const double gradient = x1 > x0 ? (y1 - y0) / (x1 - x0) : 0.0;
  const long first = roundHalfAway(x0), last = roundHalfAway(x1);
  const double yFirst = y0 + gradient * (static_cast<double>(first) - x0);
  if (first == last) {
    column(band, axes, first, yFirst, x1 - x0, colour);
    return;
  }
  // The end columns are covered from the segment's ends to their edges.
  column(band, axes, first, yFirst, static_cast<double>(first) + 0.5 - x0, colour);
  column(band, axes, last, yFirst + gradient * static_cast<double>(last - first),
         x1 - static_cast<double>(last) + 0.5, colour);
  long x = std::max(first + 1, axes.majorFrom);
  long end = std::min(last - 1, axes.majorTo - 1);
  if (!steep && gradient != 0) {
    // Only the columns whose two pixels can fall in the band's rows.
    const double xa = static_cast<double>(first) + (band.top - 1 - yFirst) / gradient;
    const double xb = static_cast<double>(first) + (band.bottom - yFirst) / gradient;
    if (x > end) return;
    // Clamped before converting: a nearly flat line puts them far outside any long.
    const double low = std::clamp(std::min(xa, xb), static_cast<double>(x), end + 1.0);
    const double high = std::clamp(std::max(xa, xb), x - 1.0, static_cast<double>(end));
    x = floorToLong(low);
    end = -floorToLong(-high);
  }
  if (x > end) return;
  // The fixed-point walk starts from the first interior column whatever band is drawn, so that
  // a column's pixels do not depend on where the bands were cut. The clip keeps the minor
  // coordinate above -1: two pixels of offset keep the value positive, so that shifting floors.
  const auto yInterior = static_cast<std::int64_t>((yFirst + gradient + 2.0) * kFixedOne);
  const auto step = static_cast<std::int64_t>(gradient * kFixedOne);
  const std::int64_t y = yInterior + (x - first - 1) * step;
  std::uint32_t* at = band.pixels + x * axes.majorStep;
  if (steep)
    walk<true>(at, end - x + 1, y, step, axes, colour);
  else
    walk<false>(at, end - x + 1, y, step, axes, colour);
}

void rasterSquare(const RasterBand& band, double cx, double cy, double size, std::uint32_t colour) {
  const double h = size / 2.0;
  const double left = cx - h, right = cx + h, top = cy - h, bottom = cy + h;
  const long rowFrom = std::max(roundHalfAway(top), band.top);
  const long rowTo = std::min(roundHalfAway(bottom), band.bottom - 1);
  const long colFrom = std::max(roundHalfAway(left), 0L);
  const long colTo = std::min(roundHalfAway(right), band.width - 1);
  for (long y = rowFrom; y <= rowTo; ++y) {
    const double yc = static_cast<double>(y);
    const double hy = std::min(yc + 0.5, bottom) - std::max(yc - 0.5, top);
    for (long x = colFrom; x <= colTo; ++x) {
      const double xc = static_cast<double>(x);
      const double wx = std::min(xc + 0.5, right) - std::max(xc - 0.5, left);
      if (wx <= 0 || hy <= 0) continue;
      const double coverage = wx * hy;
      const auto k = coverage >= 1 ? 256u : static_cast<std::uint32_t>(coverage * 256);
      std::uint32_t& px = band.pixels[y * band.stride + x];
      px = blendPixel(px, k, colour);
    }
  }
}

}  // namespace velt
