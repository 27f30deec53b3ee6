// tools/velt/render/png_canvas.h: a Canvas over a cairo image surface, written as PNG. Thin lines
// (nearly everything a drawing holds) are blended straight into the surface's pixels, a hundred
// times faster than cairo's general stroker; filled outlines go through cairo, antialiased, and
// texts through cairo with a FreeType face of the font the library measured them with.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "render/canvas.h"
#include "render/pixel_buffer.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace velt {

class CairoFontFace;

class PngCanvas : public Canvas {
 public:
  // Opens path for writing at once, so that an unwritable path fails before any drawing; throws
  // CommandFailure(kFileError) when it cannot be opened, or when the surface cannot be made.
  PngCanvas(const std::string& path, long width, long height, Rgb background);
  ~PngCanvas() override;
  PngCanvas(const PngCanvas&) = delete;
  PngCanvas& operator=(const PngCanvas&) = delete;

  bool raster() const override { return true; }
  void beginEntity(const char*) override {}
  void endEntity() override {}
  void beginGroup(const char*) override {}
  void endGroup() override {}
  void strokePath(const PixelPath& path, Rgb colour) override;
  void fillPath(const PixelPath& path, Rgb colour) override;
  void strokeCircle(PixelPoint centre, double radius, Rgb colour) override;
  void strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) override;
  void dot(PixelPoint p, Rgb colour) override;
  void text(const TextRun& run, Rgb colour) override;
  void finish() override;

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cairo_ = nullptr;
  std::unique_ptr<PixelBuffer> pixels_;
  // The text face, made on first use.
  std::unique_ptr<CairoFontFace> face_;
  // Whether cairo has drawn since the pixels were last written directly, and the other way
  // round: each side must see the other's work before it draws.
  bool cairoDrew_ = false;
  bool pixelsDrawn_ = false;
  PixelPath arc_;

  PixelBuffer& pixels();
  cairo_t* cairo();
  void release();
};

}  // namespace velt
