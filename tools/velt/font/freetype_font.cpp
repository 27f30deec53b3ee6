// tools/velt/font/freetype_font.cpp: reads a font file with FreeType once, keeping per
// character the advance and the vertical ink extent in font units; measuring is then a walk
// over a table, cheap enough for drawings with a million texts.
#include "font/freetype_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace velt {

namespace {

// Owns a FreeType library and face for the time the font is read.
struct FaceReader {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~FaceReader() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

}  // namespace

std::unique_ptr<FreeTypeFont> FreeTypeFont::open(const std::string& path, const char* name) {
  FaceReader r;
  if (FT_Init_FreeType(&r.library) != 0 || FT_New_Face(r.library, path.c_str(), 0, &r.face) != 0 ||
      !FT_IS_SCALABLE(r.face)) {
    throw std::runtime_error(path + ": not a font file FreeType can read");
  }
  std::unique_ptr<FreeTypeFont> font(new FreeTypeFont(name, path));
  const FT_Face f = r.face;
  font->family_ = f->family_name != nullptr ? f->family_name : "sans-serif";
  font->unitsPerEm_ = f->units_per_EM;
  font->cellHeight_ = f->ascender - f->descender;
  font->descent_ = -f->descender;
  for (unsigned c = 0; c < 256; ++c) {
    const FT_UInt index = FT_Get_Char_Index(f, c);
    if (index == 0 || FT_Load_Glyph(f, index, FT_LOAD_NO_SCALE) != 0) continue;
    Glyph& g = font->glyphs_[c];
    g.present = true;
    g.advance = static_cast<int>(f->glyph->metrics.horiAdvance);
    g.yMax = static_cast<int>(f->glyph->metrics.horiBearingY);
    g.yMin = static_cast<int>(f->glyph->metrics.horiBearingY - f->glyph->metrics.height);
  }
  return font;
}

void FreeTypeFont::measure(const char* s, bool horizontal, bool /*bold*/, bool /*italic*/,
                           int* width, int* top, int* bottom) const {
  *width = *top = *bottom = 0;
  const std::size_t n = std::strlen(s);
  if (n == 0) return;
  if (!horizontal) {
    for (std::size_t i = 0; i < n; ++i) {
      *width = std::max(*width, glyphs_[static_cast<unsigned char>(s[i])].advance);
    }
    *top = glyphs_[static_cast<unsigned char>(s[0])].yMax;
    const long below = static_cast<long>(n - 1) * cellHeight_;
    *bottom = static_cast<int>(glyphs_[static_cast<unsigned char>(s[n - 1])].yMin - below);
    return;
  }
  long advance = 0;
  int yMax = 0, yMin = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Glyph& g = glyphs_[static_cast<unsigned char>(s[i])];
    advance += g.advance;
    yMax = std::max(yMax, g.yMax);
    yMin = std::min(yMin, g.yMin);
  }
  *width = static_cast<int>(std::min<long>(advance, 0x7fffffff));
  *top = yMax;
  *bottom = yMin;
}

std::string defaultFontPath() {
  if (const char* env = std::getenv("VELT_FONT"); env != nullptr && *env != '\0') return env;
  return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

const FreeTypeFont& registerDefaultFont() {
  std::unique_ptr<FreeTypeFont> font = FreeTypeFont::open(defaultFontPath(), "VELT");
  const FreeTypeFont* kept = font.get();
  CFontTable& table = CFontTable::getInstance();
  table.add(font.release());
  table.setDefault(kept);
  return *kept;
}

}  // namespace velt
