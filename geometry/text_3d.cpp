// geometry/text_3d.cpp: TEXT_3D as a value: the justification tables, construction, comparison,
// and moving the text (scale, rotate). Needs no font; the extent lives in text_extent.cpp.
// Justification indexes outside 0-11 are stored as given and read as 0 by the table lookups.
#include <veltcore/geometry/text.h>

#include "geometry/text_angles.h"

const long TEXT_3D::s_hAlign[kAlignCount] = {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2};
const long TEXT_3D::s_vAlign[kAlignCount] = {0, 0, 0, 3, 3, 3, 2, 2, 2, 1, 1, 1};
const char* const TEXT_3D::s_lpszAlignNames[kAlignCount] = {
    "Left",        "Center",        "Right",        "Top left",    "Top center",    "Top right",
    "Middle left", "Middle center", "Middle right", "Bottom left", "Bottom center", "Bottom right"};

TEXT_3D::TEXT_3D() : pnt_(0.0, 0.0, 0.0), style_(nullptr), align_(0) {}

TEXT_3D::TEXT_3D(const CTextContext& context, CStyle* style, double x, double y, double z,
                 long align)
    : pnt_(x, y, z), context_(context), style_(style), align_(align) {}

TEXT_3D::TEXT_3D(const String& s, CStyle* style, double height, double oblique, double widthScale,
                 double rotate, double x, double y, double z, long align)
    : pnt_(x, y, z),
      context_(s, height, oblique, widthScale, rotate),
      style_(style),
      align_(align) {}

long TEXT_3D::findJustify(long h, long v) {
  for (long i = 0; i < kAlignCount; ++i) {
    if (s_hAlign[i] == h && s_vAlign[i] == v) return i;
  }
  return 0;
}

const char* TEXT_3D::getAlignName(long i) {
  return (i >= 0 && i < kAlignCount) ? s_lpszAlignNames[i] : nullptr;
}

bool TEXT_3D::operator==(const TEXT_3D& t) const {
  return context_ == t.context_ && align_ == t.align_ && pnt_ == t.pnt_;
}

long TEXT_3D::getHorizAlign() const {
  return s_hAlign[checkedAlign(align_)];
}

long TEXT_3D::getVertAlign() const {
  return s_vAlign[checkedAlign(align_)];
}

void TEXT_3D::scale(const PNT_3D& centre, double f) {
  pnt_.scale(centre, f);
  context_.setHeight(context_.getHeight() * f);
}

// One 2*pi step before setRotate's loop: the rotation was in range and so is a turn.
void TEXT_3D::rotate(const PNT_3D& centre, double a) {
  pnt_.rotate(centre, a);
  context_.setRotate(veltcore::detail::wrapAngleOnce(context_.getRotate() + a));
}
