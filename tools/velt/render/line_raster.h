// tools/velt/render/line_raster.h: the rasterisers behind PixelBuffer. Each draws one item into
// the rows of one band of a 32-bit xRGB image (cairo's RGB24 layout), touching no pixel outside
// the band, so that bands can be drawn side by side on different threads.
//
// A line is one pixel wide and antialiased by Xiaolin Wu's method: each column (each row for a
// steep line) shares the line between the two pixels nearest to it. A square covers each pixel
// by the area it has in it. Both blend by coverage in 1/256 steps:
//   channel = (old * (256 - k) + colour * k) / 256, rounded down,
// and set the unused top byte to 0xff.
#pragma once

#include <cstdint>

namespace velt {

struct RasterBand {
  // Row 0 of the image; pixel (x, y), centred at (x, y), is pixels[y * stride + x].
  std::uint32_t* pixels = nullptr;
  long width = 0;
  long stride = 0;
  // The rows drawn, bottom excluded.
  long top = 0;
  long bottom = 0;
};

// A line from (x0, y0) to (x1, y1), already clipped to reach at most a pixel beyond the image.
void rasterLine(const RasterBand& band, double x0, double y0, double x1, double y1,
                std::uint32_t colour);
// A square of side size centred at (cx, cy).
void rasterSquare(const RasterBand& band, double cx, double cy, double size, std::uint32_t colour);

// The blend of the colour c into the pixel px by k / 256 (k in 0 ... 256).
std::uint32_t blendPixel(std::uint32_t px, std::uint32_t k, std::uint32_t c);

}  // namespace velt
