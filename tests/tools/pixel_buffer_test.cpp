// tests/tools/pixel_buffer_test.cpp: velt's raster lines and squares. The fast paths (two pixels
// blended at once, steep and flat lines walking memory differently, bands drawn on painter
// threads while the queue fills) are held to plain definitions: the per-pixel blend, the
// transpose of a line, one band for the whole image, the ink a line leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "render/line_raster.h"
#include "render/pixel_buffer.h"

namespace velt {
namespace {

constexpr std::uint32_t kWhite = 0xffffffffu;

// An image with a guard margin of pixels around it that nothing may touch.
class Image {
 public:
  Image(long width, long height, std::uint32_t fill = kWhite)
      : width_(width),
        height_(height),
        stride_(width + 2 * kMargin),
        store_(static_cast<std::size_t>(stride_ * (height + 2 * kMargin)), fill) {}

  std::uint32_t* pixels() { return store_.data() + kMargin * stride_ + kMargin; }
  long width() const { return width_; }
  long height() const { return height_; }
  long stride() const { return stride_; }
  std::uint32_t at(long x, long y) const {
    return store_[static_cast<std::size_t>((y + kMargin) * stride_ + x + kMargin)];
  }
  RasterBand band(long top, long bottom) { return {pixels(), width_, stride_, top, bottom}; }
  bool marginUntouched(std::uint32_t fill = kWhite) const {
    for (long y = -kMargin; y < height_ + kMargin; ++y)
      for (long x = -kMargin; x < width_ + kMargin; ++x)
        if ((x < 0 || y < 0 || x >= width_ || y >= height_) && at(x, y) != fill) return false;
    return true;
  }
  bool operator==(const Image& o) const { return store_ == o.store_; }

 private:
  static constexpr long kMargin = 3;
  long width_, height_, stride_;
  std::vector<std::uint32_t> store_;
};

struct Segment {
  PixelPoint a, b;
  Rgb colour;
};

// Lines of every kind: across the image and beyond it, short, nearly flat, nearly vertical,
// single points; colours at random.
std::vector<Segment> randomSegments(std::size_t count, double width, double height) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> u(0, 1);
  std::uniform_int_distribution<int> byte(0, 255), kind(0, 4);
  std::vector<Segment> out;
  for (std::size_t i = 0; i < count; ++i) {
    PixelPoint a{u(rng) * (width + 40) - 20, u(rng) * (height + 40) - 20};
    PixelPoint b{u(rng) * (width + 40) - 20, u(rng) * (height + 40) - 20};
    switch (kind(rng)) {
      case 0:
        b = {a.x + u(rng) * 6 - 3, a.y + u(rng) * 6 - 3};
        break;
      case 1:
        b.y = a.y + u(rng) * 2 - 1;
        break;
      case 2:
        b.x = a.x + u(rng) * 2 - 1;
        break;
      case 3:
        b = {a.x + u(rng) * 0.4, a.y};
        break;
      default:
        break;
    }
    out.push_back({a, b,
                   Rgb{static_cast<std::uint8_t>(byte(rng)), static_cast<std::uint8_t>(byte(rng)),
                       static_cast<std::uint8_t>(byte(rng))}});
  }
  return out;
}

// Items as the queue holds them: line ends within a pixel of the image (clamped here, which
// bends the lines but keeps them valid), and every ninth item a square.
PixelBuffer::Batch batchOf(const std::vector<Segment>& segments, double width, double height) {
  PixelBuffer::Batch batch;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const Segment& s = segments[i];
    const std::uint32_t c =
        (std::uint32_t{s.colour.r} << 16) | (std::uint32_t{s.colour.g} << 8) | s.colour.b;
    const auto fx = [&](double x) { return static_cast<float>(std::clamp(x, -1.0, width)); };
    const auto fy = [&](double y) { return static_cast<float>(std::clamp(y, -1.0, height)); };
    if (i % 9 == 0)
      batch.push_back({fx(s.a.x), fy(s.a.y), 2.5f, 0, c, 1});
    else
      batch.push_back({fx(s.a.x), fy(s.a.y), fx(s.b.x), fy(s.b.y), c, 0});
  }
  return batch;
}

TEST(PixelBuffer, BandsAndPaintersDrawWhatOneBandDraws) {
  Image whole(301, 203);
  const std::vector<Segment> segments = randomSegments(40000, 301, 203);
  const PixelBuffer::Batch batch = batchOf(segments, 301, 203);
  drawBatchBand(batch, whole.pixels(), whole.width(), whole.stride(), 0, whole.height());
  ASSERT_TRUE(whole.marginUntouched());

  for (long bands : {2L, 3L, 7L, 203L}) {
    Image cut(301, 203);
    for (long b = 0; b < bands; ++b)
      drawBatchBand(batch, cut.pixels(), cut.width(), cut.stride(), 203 * b / bands,
                    203 * (b + 1) / bands);
    EXPECT_TRUE(cut == whole) << bands << " bands";
  }

  // Through the queue: long enough to start the painters, flushed twice.
  Image queued(301, 203);
  {
    PixelBuffer buffer(queued.pixels(), 301, 203, static_cast<int>(queued.stride()));
    for (std::size_t i = 0; i < batch.size(); ++i) {
      const PixelBuffer::Item& it = batch[i];
      const Rgb colour{static_cast<std::uint8_t>(it.colour >> 16),
                       static_cast<std::uint8_t>(it.colour >> 8),
                       static_cast<std::uint8_t>(it.colour)};
      if (it.square != 0)
        buffer.square({it.x0, it.y0}, it.x1, colour);
      else
        buffer.line({it.x0, it.y0}, {it.x1, it.y1}, colour);
      if (i == batch.size() / 2) buffer.flush();
    }
    buffer.flush();
  }
  EXPECT_TRUE(queued == whole);
}

TEST(PixelBuffer, TransposedLineDrawsTransposedPixels) {
  // A flat line blends two pixels a row apart, a steep one two neighbours in memory: the two
  // paths must agree pixel for pixel.
  const std::vector<Segment> segments = randomSegments(3000, 97, 61);
  for (const Segment& s : segments) {
    if (std::fabs(std::fabs(s.b.x - s.a.x) - std::fabs(s.b.y - s.a.y)) < 1e-9) continue;
    Image flat(97, 61), steep(61, 97);
    const double c[4] = {std::clamp(s.a.x, -1.0, 97.0), std::clamp(s.a.y, -1.0, 61.0),
                         std::clamp(s.b.x, -1.0, 97.0), std::clamp(s.b.y, -1.0, 61.0)};
    const std::uint32_t colour = 0x103070u + static_cast<std::uint32_t>(s.colour.g) * 0x10101u;
    rasterLine(flat.band(0, 61), c[0], c[1], c[2], c[3], colour);
    rasterLine(steep.band(0, 97), c[1], c[0], c[3], c[2], colour);
    bool same = true;
    for (long y = 0; y < 61 && same; ++y)
      for (long x = 0; x < 97 && same; ++x) same = flat.at(x, y) == steep.at(y, x);
    ASSERT_TRUE(same) << "(" << c[0] << ", " << c[1] << ") to (" << c[2] << ", " << c[3] << ")";
    ASSERT_TRUE(flat.marginUntouched() && steep.marginUntouched());
  }
}

TEST(PixelBuffer, LinesThroughBandEdgesOnExactRowsStayInTheirBands) {
  // Gradients that make the walked coordinate land exactly on a row, so that a column's lower
  // pixel is exactly the first row past a band: flat and steep, rising and falling, leaving the
  // image and crossing bands of one row each.
  struct Case {
    double x0, y0, x1, y1;
  };
  const Case cases[] = {{0, 0, 20, 10}, {0, 9, 20, -1}, {3, 0, 35, 8},
                        {0, 0, 10, 20}, {9, 0, -1, 20}, {0, 4, 36, 13}};
  for (const Case& c : cases) {
    // The unused top byte left clear: any write, even one that blends nothing in, sets it.
    constexpr std::uint32_t kGrey = 0x00808080u;
    Image whole(24, 9, kGrey), rows(24, 9, kGrey);
    rasterLine(whole.band(0, 9), c.x0, c.y0, c.x1, c.y1, 0x3366ccu);
    for (long r = 0; r < 9; ++r) rasterLine(rows.band(r, r + 1), c.x0, c.y0, c.x1, c.y1, 0x3366ccu);
    EXPECT_TRUE(whole.marginUntouched(kGrey)) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
    EXPECT_TRUE(rows == whole) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
  }
}

TEST(PixelBuffer, InteriorColumnsBlendAsOnePixelDoes) {
  // A horizontal line at row 5 + f shares each interior column between rows 5 and 6.
  struct Case {
    double fraction;
    std::uint32_t background, colour;
  };
  const Case cases[] = {{0.0, kWhite, 0x000000u},       {0.25, kWhite, 0x2080f0u},
                        {0.5, 0xff000000u, 0xffffffu},  {0.75, 0xff123456u, 0xabcdefu},
                        {0.99, 0xff00ff00u, 0xff00ffu}, {0.5, 0xff7f7f7fu, 0x808080u}};
  for (const Case& c : cases) {
    Image flat(40, 12, c.background), steep(12, 40, c.background);
    rasterLine(flat.band(0, 12), 2.0, 5.0 + c.fraction, 30.0, 5.0 + c.fraction, c.colour);
    rasterLine(steep.band(0, 40), 5.0 + c.fraction, 2.0, 5.0 + c.fraction, 30.0, c.colour);
    const auto lower = static_cast<std::uint32_t>(c.fraction * 256);
    const std::uint32_t upperPixel = blendPixel(c.background, 256 - lower, c.colour);
    const std::uint32_t lowerPixel = blendPixel(c.background, lower, c.colour);
    for (long x = 3; x <= 29; ++x) {
      EXPECT_EQ(flat.at(x, 5), upperPixel) << c.fraction << " column " << x;
      EXPECT_EQ(flat.at(x, 6), lowerPixel) << c.fraction << " column " << x;
      EXPECT_EQ(steep.at(5, x), upperPixel) << c.fraction << " row " << x;
      EXPECT_EQ(steep.at(6, x), lowerPixel) << c.fraction << " row " << x;
    }
    EXPECT_EQ(flat.at(3, 4), c.background | 0xff000000u);
  }
}

TEST(PixelBuffer, LineLeavesInkAlongItsLength) {
  // White on black: the ink of a line is its length along the walked axis, less what blending
  // in 1/256 steps rounds away.
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> u(2, 198);
  for (int i = 0; i < 200; ++i) {
    const double x0 = u(rng), y0 = u(rng), x1 = u(rng), y1 = u(rng);
    Image image(200, 200, 0xff000000u);
    rasterLine(image.band(0, 200), x0, y0, x1, y1, 0xffffffu);
    double ink = 0;
    for (long y = 0; y < 200; ++y)
      for (long x = 0; x < 200; ++x) ink += (image.at(x, y) & 0xff) / 255.0;
    const double walked = std::max(std::fabs(x1 - x0), std::fabs(y1 - y0));
    EXPECT_NEAR(ink, walked, 0.02 * walked + 1.0) << x0 << "," << y0 << " " << x1 << "," << y1;
  }
}

TEST(PixelBuffer, SquareCoversByArea) {
  Image image(10, 10, 0xff000000u);
  rasterSquare(image.band(0, 10), 4.5, 4.5, 2.0, 0xffffffu);  // exactly pixels 4, 5 of each axis
  rasterSquare(image.band(0, 10), 8.0, 1.0, 0.5, 0xffffffu);  // a quarter of pixel (8, 1)
  EXPECT_EQ(image.at(4, 4), kWhite);
  EXPECT_EQ(image.at(5, 5), kWhite);
  EXPECT_EQ(image.at(3, 4), 0xff000000u);
  EXPECT_EQ(image.at(8, 1) & 0xff, 63u);
  // Clipped to the band: the rows below it stay as they were.
  Image banded(10, 10, 0xff000000u);
  rasterSquare(banded.band(0, 5), 4.5, 4.5, 2.0, 0xffffffu);
  EXPECT_EQ(banded.at(4, 4), kWhite);
  EXPECT_EQ(banded.at(4, 5), 0xff000000u);
  EXPECT_TRUE(banded.marginUntouched(0xff000000u));
}

}  // namespace
}  // namespace velt
