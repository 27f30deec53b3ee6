// tools/velt/render/png_canvas.cpp: the raster canvas. cairo's pixel centres lie at half
// pixels, the canvas's at whole ones: cairo draws shifted by half a pixel. FreeType faces handed
// to cairo must outlive every cairo font made from them, so the face is given to cairo to close
// and cairo's caches are emptied before the FreeType library goes.
#include "render/png_canvas.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "command.h"
#include "font/freetype_font.h"
#include "render/curves.h"
#include "render/png_file.h"

namespace velt {

namespace {

constexpr double kDotSize = 2.0;

void setColour(cairo_t* cr, Rgb c) {
  cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

}  // namespace

// A cairo font face over a font file read by FreeType, without hinting, so that glyphs keep the
// advances the library measured with.
class CairoFontFace {
 public:
  explicit CairoFontFace(const FreeTypeFont& font) {
    if (FT_Init_FreeType(&library_) != 0) return;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, font.path().c_str(), 0, &face) != 0) return;
    face_ = cairo_ft_font_face_create_for_ft_face(face, 0);
    // cairo closes the FreeType face once it no longer needs it.
    static const cairo_user_data_key_t key{};
    if (cairo_font_face_set_user_data(face_, &key, face, [](void* f) {
          FT_Done_Face(static_cast<FT_Face>(f));
        }) != CAIRO_STATUS_SUCCESS) {
      FT_Done_Face(face);
    }
    options_ = cairo_font_options_create();
    cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
  }
  ~CairoFontFace() {
    if (options_ != nullptr) cairo_font_options_destroy(options_);
    if (face_ != nullptr) cairo_font_face_destroy(face_);
    // Scaled fonts cached by cairo still hold the face: empty the caches before the FreeType
    // library (and with it every face) goes.
    cairo_debug_reset_static_data();
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  CairoFontFace(const CairoFontFace&) = delete;
  CairoFontFace& operator=(const CairoFontFace&) = delete;

  bool usable() const { return face_ != nullptr; }

  void select(cairo_t* cr) const {
    cairo_set_font_face(cr, face_);
    cairo_set_font_options(cr, options_);
  }

 private:
  FT_Library library_ = nullptr;
  cairo_font_face_t* face_ = nullptr;
  cairo_font_options_t* options_ = nullptr;
};

PngCanvas::PngCanvas(const std::string& path, long width, long height, Rgb background)
    : path_(path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) throw CommandFailure(kFileError, path + ": cannot be written");
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width),
                                        static_cast<int>(height));
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    release();
    throw CommandFailure(kFileError, path + ": no memory for a " + std::to_string(width) + "x" +
                                         std::to_string(height) + " image");
  }
  cairo_ = cairo_create(surface_);
  cairo_translate(cairo_, 0.5, 0.5);
  setColour(cairo_, background);
  cairo_paint(cairo_);
  cairoDrew_ = true;
}

PngCanvas::~PngCanvas() {
  release();
}

void PngCanvas::release() {
  // The painter threads may still be drawing into the surface (a failure before finish).
  pixels_.reset();
  if (cairo_ != nullptr) cairo_destroy(cairo_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  cairo_ = nullptr;
  surface_ = nullptr;
  face_.reset();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

PixelBuffer& PngCanvas::pixels() {
  if (cairoDrew_) {
    cairo_surface_flush(surface_);
    cairoDrew_ = false;
  }
  if (!pixels_) {
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
    const int stride = cairo_image_surface_get_stride(surface_) / 4;
    pixels_ = std::make_unique<PixelBuffer>(data, cairo_image_surface_get_width(surface_),
                                            cairo_image_surface_get_height(surface_), stride);
  }
  pixelsDrawn_ = true;
  return *pixels_;
}

cairo_t* PngCanvas::cairo() {
  if (pixelsDrawn_) {
    pixels_->flush();
    cairo_surface_mark_dirty(surface_);
    pixelsDrawn_ = false;
  }
  cairoDrew_ = true;
  return cairo_;
}

void PngCanvas::strokePath(const PixelPath& path, Rgb colour) {
  PixelBuffer& px = pixels();
  const std::vector<PixelPoint>& p = path.points();
  for (const PixelPath::Subpath& s : path.subpaths()) {
    for (std::uint32_t i = 1; i < s.count; ++i) px.line(p[s.first + i - 1], p[s.first + i], colour);
    if (s.closed && s.count > 2) px.line(p[s.first + s.count - 1], p[s.first], colour);
  }
}

void PngCanvas::fillPath(const PixelPath& path, Rgb colour) {
  cairo_t* cr = cairo();
  cairo_new_path(cr);
  const std::vector<PixelPoint>& p = path.points();
  for (const PixelPath::Subpath& s : path.subpaths()) {
    for (std::uint32_t i = 0; i < s.count; ++i) {
      const PixelPoint q = p[s.first + i];
      if (i == 0) {
        cairo_move_to(cr, q.x, q.y);
      } else {
        cairo_line_to(cr, q.x, q.y);
      }
    }
    cairo_close_path(cr);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  setColour(cr, colour);
  cairo_fill(cr);
}

void PngCanvas::strokeCircle(PixelPoint centre, double radius, Rgb colour) {
  constexpr double kTwoPi = 6.283185307179586476925;
  strokeArc(centre, radius, 0, kTwoPi, colour);
}

void PngCanvas::strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) {
  if (radius < 0.5) {
    dot(centre, colour);
    return;
  }
  arc_.clear();
  addPixelArc(arc_, centre, radius, a0, a1);
  strokePath(arc_, colour);
}

void PngCanvas::dot(PixelPoint p, Rgb colour) {
  pixels().square(p, kDotSize, colour);
}

void PngCanvas::text(const TextRun& run, Rgb colour) {
  if (run.font == nullptr || run.utf8.empty()) return;
  // velt measures every text with its one font, so one face serves every run.
  if (!face_) face_ = std::make_unique<CairoFontFace>(*run.font);
  if (!face_->usable()) return;
  cairo_t* cr = cairo();
  cairo_save(cr);
  // Glyph space runs y downward, the run's font units upward.
  cairo_matrix_t m;
  cairo_matrix_init(&m, run.xx, run.yx, -run.xy, -run.yy, run.x0, run.y0);
  cairo_transform(cr, &m);
  face_->select(cr);
  cairo_set_font_size(cr, run.font->unitsPerEm());
  setColour(cr, colour);
  if (!run.vertical) {
    cairo_move_to(cr, 0, 0);
    cairo_show_text(cr, run.utf8.c_str());
  } else {
    // One character per line, a cell apart.
    const double cell = run.font->getCellHeight();
    double y = 0;
    for (std::size_t i = 0; i < run.utf8.size(); y += cell) {
      std::size_t n = 1;
      while (i + n < run.utf8.size() &&
             (static_cast<unsigned char>(run.utf8[i + n]) & 0xC0) == 0x80)
        ++n;
      const std::string one = run.utf8.substr(i, n);
      cairo_move_to(cr, 0, y);
      cairo_show_text(cr, one.c_str());
      i += n;
    }
  }
  cairo_restore(cr);
}

void PngCanvas::finish() {
  cairo();  // the directly written pixels join the surface
  cairo_surface_flush(surface_);
  const bool written = writePng(
      file_, reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface_)),
      cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_),
      cairo_image_surface_get_stride(surface_) / 4);
  std::FILE* f = file_;
  file_ = nullptr;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) throw CommandFailure(kFileError, path_ + ": cannot be written");
}

}  // namespace velt
