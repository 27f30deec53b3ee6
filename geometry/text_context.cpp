// geometry/text_context.cpp: CTextContext, the height, oblique angle, width scale, rotation and
// string of a text. Plain value; only setRotate changes what it is given.
#include <veltcore/geometry/text.h>

#include <cstring>

#include "geometry/text_angles.h"

CTextContext::CTextContext(const String& s, double height, double oblique, double widthScale,
                           double rotate)
    : height_(height), oblique_(oblique), widthScale_(widthScale), rotate_(rotate), string_(s) {}

void CTextContext::setRotate(double r) {
  rotate_ = veltcore::detail::wrapAngleLoop(r);
}

bool CTextContext::operator==(const CTextContext& c) const {
  return std::strcmp(string_.c_str(), c.string_.c_str()) == 0 && height_ == c.height_ &&
         oblique_ == c.oblique_ && widthScale_ == c.widthScale_ && rotate_ == c.rotate_;
}
