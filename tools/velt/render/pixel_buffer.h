// tools/velt/render/pixel_buffer.h: antialiased one-pixel lines and small squares blended
// straight into a 32-bit xRGB pixel array (cairo's RGB24 image layout). A drawing holds hundreds
// of thousands of thin lines; drawn through a general path stroker each costs a hundred times
// what the few pixels along it cost here.
//
// Lines and squares are queued in batches. Once the queue is long, painter threads take the
// batches as they fill, each drawing one horizontal band of the image, while the caller goes on
// queueing. Every pixel lies in one band and sees the items in the order they came, so the image
// is the same as drawing each item at once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/canvas.h"

namespace velt {

class PixelBuffer {
 public:
  // pixels: row 0 first, stride pixels apart; not owned, and not to be touched by anyone else
  // until flush() returns. Pixel (x, y) has its centre at (x, y).
  PixelBuffer(std::uint32_t* pixels, int width, int height, int stride);
  // Stops the painters; items not yet flushed may be left undrawn.
  ~PixelBuffer();
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;

  // A line one pixel wide from a to b. Parts outside are clipped.
  void line(PixelPoint a, PixelPoint b, Rgb colour);
  // A square of side size centred at p, each pixel covered by the area the square has in it.
  void square(PixelPoint p, double size, Rgb colour);
  // Draws everything queued and waits for it: the pixels are then complete.
  void flush();

  int width() const { return width_; }
  int height() const { return height_; }

  // A queued line (x0, y0) to (x1, y1), or a square centred at (x0, y0) of side x1.
  struct Item {
    float x0, y0, x1, y1;
    std::uint32_t colour;
    std::uint32_t square;
  };
  using Batch = std::vector<Item>;

 private:
  class Painters;

  std::uint32_t* pixels_;
  int width_;
  int height_;
  int stride_;
  Batch items_;
  // Started when the queue first grows long; null while it is short, or when no thread can be
  // had.
  std::unique_ptr<Painters> painters_;

  // Hands the queue to the painters, or draws it here when there are none.
  void submit();
  void enqueue(const Item& item);
};

// Draws the items of batch that touch rows top ... bottom - 1, in order.
void drawBatchBand(const PixelBuffer::Batch& batch, std::uint32_t* pixels, long width, long stride,
                   long top, long bottom);

}  // namespace velt
