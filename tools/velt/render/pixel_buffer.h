// tools/velt/render/pixel_buffer.h: antialiased one-pixel lines and small squares blended
// straight into a 32-bit xRGB pixel array (cairo's RGB24 image layout). A drawing holds hundreds
// of thousands of thin lines; drawn through a general path stroker each costs a hundred times
// what the few pixels along it cost here.
//
// Lines and squares are queued and drawn when flushed, in horizontal bands, one thread per band
// when the queue is long: every pixel lies in one band and sees the items in the order they
// came, so the image is the same as drawing each item at once.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"

namespace velt {

class PixelBuffer {
 public:
  // pixels: row 0 first, stride pixels apart; not owned. Pixel (x, y) has its centre at (x, y).
  PixelBuffer(std::uint32_t* pixels, int width, int height, int stride);

  // A line one pixel wide from a to b (Xiaolin Wu's method: each column, or row for a steep
  // line, shares the line between the two pixels nearest to it). Parts outside are clipped.
  void line(PixelPoint a, PixelPoint b, Rgb colour);
  // A square of side size centred at p, each pixel covered by the area the square has in it.
  void square(PixelPoint p, double size, Rgb colour);
  // Draws everything queued; the pixels are then complete.
  void flush();

  int width() const { return width_; }
  int height() const { return height_; }

  // The axes a line walks: along major a pixel at a time, majorStep apart in memory; across
  // minor. from and to bound each to the band being drawn.
  struct Axes {
    long majorFrom, majorTo, minorFrom, minorTo;
    long majorStep, minorStep;
  };

 private:
  // A queued line (x0, y0) to (x1, y1), or a square centred at (x0, y0) of side x1.
  struct Item {
    float x0, y0, x1, y1;
    std::uint32_t colour;
    std::uint32_t square;
  };
  // The rows a band draws, bottom excluded.
  struct Band {
    long top;
    long bottom;
  };
  std::uint32_t* pixels_;
  int width_;
  int height_;
  int stride_;
  std::vector<Item> items_;

  void drawBand(Band band) const;
  void drawLine(const Item& item, Band band) const;
  void drawSquare(const Item& item, Band band) const;
  // One column of a line at major coordinate x, centred at minor coordinate y, of which the
  // segment covers the share cover (at most 1).
  void column(const Axes& axes, long x, double y, double cover, std::uint32_t colour) const;
  // Cuts the segment to the image and a pixel around it; false when nothing is left.
  bool clip(PixelPoint& a, PixelPoint& b) const;
};

}  // namespace velt
