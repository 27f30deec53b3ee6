// tools/velt/render/text_layout.cpp: the frame of a text. A point (x, y) of the text's cell, in
// drawing units from its base point, lies at x (cos r, sin r) + y (q cos r - sin r, q sin r +
// cos r), q the tangent of the oblique angle (horizontal styles only): the same frame
// TEXT_3D::getExtremes places the cell with. Font units become drawing units through
// k = height / cell height, and x also through the width factor.
#include "render/text_layout.h"

#include <veltcore/database/style.h>

#include <cmath>

#include "font/freetype_font.h"

namespace velt {

namespace {

void appendLatin1(std::string& out, unsigned char c) {
  if (c < 0x20) return;  // control characters have no glyph and no place in XML
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  out += static_cast<char>(0xC0 | (c >> 6));
  out += static_cast<char>(0x80 | (c & 0x3F));
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void displayText(const char* text, std::string& out) {
  out.clear();
  for (const char* p = text; *p != '\0'; ++p) {
    if (p[0] != '%' || p[1] != '%' || p[2] == '\0') {
      appendLatin1(out, static_cast<unsigned char>(*p));
      continue;
    }
    const char code = p[2];
    if (isDigit(code) && isDigit(p[3]) && isDigit(p[4])) {
      const int n = (p[2] - '0') * 100 + (p[3] - '0') * 10 + (p[4] - '0');
      appendLatin1(out, static_cast<unsigned char>(n & 0xFF));
      p += 4;
      continue;
    }
    switch (code) {
      case 'd':
      case 'D':
        appendLatin1(out, 0xB0);
        break;
      case 'p':
      case 'P':
        appendLatin1(out, 0xB1);
        break;
      case 'c':
      case 'C':
        appendLatin1(out, 0xD8);
        break;
      case '%':
        out += '%';
        break;
      case 'u':
      case 'U':
      case 'o':
      case 'O':
        break;
      default:
        // Not a code: the characters stand as they are.
        out += "%%";
        appendLatin1(out, static_cast<unsigned char>(code));
    }
    p += 2;
  }
}

bool placeText(const TEXT_3D& t, const PixelTransform& transform, const FreeTypeFont* fallback,
               TextRun& run) {
  const CStyle* style = t.getStyle();
  const auto* font =
      style != nullptr ? dynamic_cast<const FreeTypeFont*>(style->getFont()) : nullptr;
  if (font == nullptr) font = fallback;
  if (font == nullptr || font->getCellHeight() <= 0) return false;
  const CTextContext& c = t.getContext();
  run.font = font;
  run.vertical = style != nullptr && !style->isHoriz();

  const double k = c.getHeight() / font->getCellHeight();
  const double width = c.getWidthScale() > 0 ? c.getWidthScale() : 1.0;
  const double q = run.vertical ? 0.0 : std::tan(c.getOblique());
  const double cr = std::cos(c.getRotate()), sr = std::sin(c.getRotate());
  const PixelPoint x = transform.applyVector(cr * k * width, sr * k * width);
  const PixelPoint y = transform.applyVector((q * cr - sr) * k, (q * sr + cr) * k);
  PNT_3D base;
  t.getBasePoint(base);
  const PixelPoint origin = transform.apply(base);
  run.xx = x.x;
  run.yx = x.y;
  run.xy = y.x;
  run.yy = y.y;
  run.x0 = origin.x;
  run.y0 = origin.y;
  return std::isfinite(run.xx + run.yx + run.xy + run.yy + run.x0 + run.y0);
}

double pixelHeight(const TextRun& run) {
  if (run.font == nullptr) return 0.0;
  return std::hypot(run.xy, run.yy) * run.font->getCellHeight();
}

void textCorners(const TEXT_3D& t, const PixelTransform& transform, PixelPoint corners[4]) {
  double xs[4], ys[4];
  t.getExtremes(xs, ys);
  for (int i = 0; i < 4; ++i) corners[i] = transform.apply(xs[i], ys[i]);
}

}  // namespace velt
