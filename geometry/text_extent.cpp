// geometry/text_extent.cpp: where a TEXT_3D lies: its base point offset and its four corners,
// from the metrics of its style's font, and the boxes built on them.
// A text without a style, font or positive cell height has no extent: everything collapses
// onto the insertion point.
#include <veltcore/database/style.h>
#include <veltcore/geometry/font.h>
#include <veltcore/geometry/text.h>

#include <cmath>

namespace {

// The font's measures of one text, already in drawing units.
struct TextMetrics {
  double width;    // W: advance width times the width scale
  double top;      // a.k
  double bottom;   // b.k
  double cell;     // H.k
  double descent;  // D.k
};

// False when the text cannot be measured.
bool measureText(const TEXT_3D& t, TextMetrics& m) {
  const CStyle* style = t.getStyle();
  const ICADFont* font = style != nullptr ? style->getFont() : nullptr;
  if (font == nullptr) return false;
  const int cell = font->getCellHeight();
  if (cell <= 0) return false;
  const CTextContext& c = t.getContext();
  int w = 0, a = 0, b = 0;
  font->measure(c.getString().c_str(), style->isHoriz(), style->isBold(), style->isItalic(), &w, &a,
                &b);
  const double k = c.getHeight() / cell;
  m.width = w * k * c.getWidthScale();
  m.top = a * k;
  m.bottom = b * k;
  m.cell = cell * k;
  m.descent = font->getDescent() * k;
  return true;
}

// Shift that puts the justification point on the insertion point, before rotation.
void justifyOffset(long h, long v, const TextMetrics& m, double& ox, double& oy) {
  switch (v) {
    case TEXT_3D::kBottom:
      oy = m.descent;
      break;
    case TEXT_3D::kMiddle:
      oy = -(m.top + m.bottom) / 2.0;
      break;
    case TEXT_3D::kTop:
      oy = -m.cell;
      break;
    default:
      oy = 0.0;
      break;
  }
  switch (h) {
    case TEXT_3D::kCenter:
      ox = -m.width / 2.0;
      break;
    case TEXT_3D::kRight:
      ox = -m.width;
      break;
    default:
      ox = 0.0;
      break;
  }
}

}  // namespace

void TEXT_3D::getDeltaXY(double& dx, double& dy) const {
  dx = dy = 0.0;
  TextMetrics m;
  // "Left" on the baseline is the insertion point itself: the font is not even asked.
  if (checkedAlign(align_) == 0 || !measureText(*this, m)) return;
  justifyOffset(getHorizAlign(), getVertAlign(), m, dx, dy);
  const double r = context_.getRotate();
  if (r != 0.0) {
    const double c = std::cos(r), s = std::sin(r);
    const double x = dx;
    dx = x * c - dy * s;
    dy = dy * c + x * s;
  }
}

void TEXT_3D::getBasePoint(PNT_3D& p) const {
  double dx, dy;
  getDeltaXY(dx, dy);
  p.set(pnt_.getX() + dx, pnt_.getY() + dy, pnt_.getZ());
}

void TEXT_3D::getExtremes(double xs[4], double ys[4]) const {
  TextMetrics m;
  if (!measureText(*this, m)) {
    for (int i = 0; i < 4; ++i) {
      xs[i] = pnt_.getX();
      ys[i] = pnt_.getY();
    }
    return;
  }
  double ox, oy;
  justifyOffset(getHorizAlign(), getVertAlign(), m, ox, oy);
  const double cellX[4] = {0.0, m.width, m.width, 0.0};
  const double cellY[4] = {m.bottom, m.bottom, m.top, m.top};
  // Vertical styles are not slanted.
  const double q = style_->isHoriz() ? std::tan(context_.getOblique()) : 0.0;
  const double r = context_.getRotate();
  const double c = std::cos(r), s = std::sin(r);
  for (int i = 0; i < 4; ++i) {
    const double x = cellX[i] + ox, y = cellY[i] + oy;
    // Shear by q, then rotation by r, in one step.
    xs[i] = x * c + y * (q * c - s) + pnt_.getX();
    ys[i] = x * s + y * (q * s + c) + pnt_.getY();
  }
}

void TEXT_3D::calc_bdry(RECT_2D& r) const {
  double xs[4], ys[4];
  getExtremes(xs, ys);
  r.set(xs, ys);
}

void TEXT_3D::calc_bdry(RECT_3D& r) const {
  double xs[4], ys[4];
  getExtremes(xs, ys);
  const double z = pnt_.getZ();
  const double zs[4] = {z, z, z, z};
  r.set(xs, ys, zs);
}
