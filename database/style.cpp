// database/style.cpp: CStyle and CStyleStandard, and the style snapshot CStyleMemento.
// The linetype-use count moves only through AddLtype/DecLtype (text dashes call them); copying
// a style copies that count, assigning one keeps the target's.
#include <veltcore/database/style.h>

#include <cstdint>
#include <cstring>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

CStyle::CStyle(const String& name, const ICADFont* font, double fixedHeight, double widthScale,
               double oblique, double lastHeight, long flags)
    : CNamedItem(name, flags),
      fixedHeight_(fixedHeight),
      widthScale_(widthScale),
      oblique_(oblique),
      lastHeight_(lastHeight),
      font_(font),
      ltypeUses_(0) {}

CStyle::CStyle(const CStyle& src)
    : CNamedItem(src),
      fixedHeight_(src.fixedHeight_),
      widthScale_(src.widthScale_),
      oblique_(src.oblique_),
      lastHeight_(src.lastHeight_),
      font_(src.font_),
      ltypeUses_(src.ltypeUses_) {}

CStyle::~CStyle() = default;

void CStyle::accept(IStyleVisitor& visitor) {
  visitor.visit(*this);
}

CStyle& CStyle::operator=(const CStyle& src) {
  if (this == &src) return *this;
  CNamedItem::operator=(src);
  fixedHeight_ = src.fixedHeight_;
  widthScale_ = src.widthScale_;
  oblique_ = src.oblique_;
  lastHeight_ = src.lastHeight_;
  font_ = src.font_;
  return *this;
}

bool CStyle::operator==(const CStyle& other) const {
  return CNamedItem::operator==(other) && font_ == other.font_ &&
         fixedHeight_ == other.fixedHeight_ && widthScale_ == other.widthScale_ &&
         oblique_ == other.oblique_;
}

void CStyle::updateLastHeight(double h) {
  if (fixedHeight_ == 0.0) lastHeight_ = h;
}

void CStyle::AddLtype() {
  ltypeUses_ = toInt32(std::int64_t{ltypeUses_} + 1);
}

void CStyle::DecLtype() {
  ltypeUses_ = toInt32(std::int64_t{ltypeUses_} - 1);
}

CStyleMemento* CStyle::createMemento() const {
  return new CStyleMemento(*this);
}

void CStyle::setMemento(const CStyleMemento& m) {
  setName(m.name_);
  fixedHeight_ = m.fixedHeight_;
  widthScale_ = m.widthScale_;
  oblique_ = m.oblique_;
  lastHeight_ = m.lastHeight_;
  font_ = m.font_;
  setFlags(m.flags_);
}

CStyleStandard::CStyleStandard(const ICADFont* font, double fixedHeight, double widthScale,
                               double oblique, double lastHeight, long flags)
    : CStyle("STANDARD", font, fixedHeight, widthScale, oblique, lastHeight, flags) {}

void CStyleStandard::accept(IStyleVisitor& visitor) {
  visitor.visit(*this);
}

CStyleMemento::CStyleMemento(const CStyle& style)
    : name_(style.getName()),
      fixedHeight_(style.getFixedHeight()),
      widthScale_(style.getWidthScale()),
      oblique_(style.getOblique()),
      lastHeight_(style.getLastHeight()),
      font_(style.getFont()),
      flags_(toInt32(style.getFlags())) {}

bool CStyleMemento::operator==(const CStyle& style) const {
  return std::strcmp(name_.c_str(), style.getName().c_str()) == 0 &&
         fixedHeight_ == style.getFixedHeight() && widthScale_ == style.getWidthScale() &&
         oblique_ == style.getOblique() && lastHeight_ == style.getLastHeight() &&
         font_ == style.getFont() && flags_ == style.getFlags();
}
