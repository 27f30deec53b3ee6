// tools/velt/font/freetype_font.h: the host font velt registers with the library: an ICADFont
// over a TrueType file read with FreeType, so that text boxes, justifications and extents are
// those of a real font. Metrics are the font's own units (unscaled), taken once per character
// when the font is opened; the renderers also ask it for the file and the units per em.
#pragma once

#include <veltcore/geometry/font.h>

#include <array>
#include <memory>
#include <string>

namespace velt {

class FreeTypeFont : public ICADFont {
 public:
  // Reads the font file at path and registers nothing; the font answers to name. Throws
  // std::runtime_error naming the file when FreeType cannot open it.
  static std::unique_ptr<FreeTypeFont> open(const std::string& path, const char* name);

  // Ascender minus descender: one line of the font.
  int getCellHeight() const override { return cellHeight_; }
  bool hasGlyph(unsigned char c) const override { return glyphs_[c].present; }
  int getDescent() const override { return descent_; }
  // Horizontal: the sum of the advances, and the highest and lowest ink of the characters.
  // Vertical (characters stacked one cell apart): the widest advance, the first character's top
  // and the last one's bottom. Bold and italic are drawn from the same face, so they measure the
  // same; bytes are taken as Latin-1 characters.
  void measure(const char* s, bool horizontal, bool bold, bool italic, int* width, int* top,
               int* bottom) const override;

  int unitsPerEm() const { return unitsPerEm_; }
  const std::string& path() const { return path_; }
  // The family name in the file ("DejaVu Sans"), for SVG's font-family.
  const std::string& family() const { return family_; }

 private:
  struct Glyph {
    int advance = 0;
    int yMin = 0;
    int yMax = 0;
    bool present = false;
  };

  FreeTypeFont(const char* name, std::string path) : ICADFont(name), path_(std::move(path)) {}

  std::string path_;
  std::string family_;
  std::array<Glyph, 256> glyphs_{};
  int unitsPerEm_ = 0;
  int cellHeight_ = 0;
  int descent_ = 0;
};

// The font file velt uses: $VELT_FONT when set, else DejaVu Sans from fonts-dejavu-core.
std::string defaultFontPath();

// Opens the default font, adds it to the library's font table under the name "VELT" and makes
// it the default font, so that every style without a font of its own measures with it. Returns
// the font (owned by the table). Throws std::runtime_error when the file cannot be read.
const FreeTypeFont& registerDefaultFont();

}  // namespace velt
