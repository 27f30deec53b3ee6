// linetypes/dash.cpp: the two kinds of pattern element, length dashes and text dashes.
// A text dash keeps its style's linetype-use count raised for exactly as long as it lives,
// whatever mix of construction, copying, assignment and destruction it goes through.
#include <veltcore/database/style.h>
#include <veltcore/linetypes/dash.h>

#include <cmath>

namespace {

void addUse(CStyle* style) {
  if (style != nullptr) style->AddLtype();
}

void dropUse(CStyle* style) {
  if (style != nullptr) style->DecLtype();
}

}  // namespace

ILtypeComplexDash::~ILtypeComplexDash() = default;

void CDoubleLtypeComplexDash::GetBdry(RECT_2D& r) const {
  r.set(0.0, 0.0, std::fabs(value_), 0.0);
}

ILtypeComplexDash* CDoubleLtypeComplexDash::Clone() const {
  return new CDoubleLtypeComplexDash(value_);
}

CFontLtypeComplexDash::CFontLtypeComplexDash(const TEXT_3D& text) : text_(text) {
  addUse(text_.getStyle());
}

CFontLtypeComplexDash::CFontLtypeComplexDash(const CFontLtypeComplexDash& src)
    : ILtypeComplexDash(src), text_(src.text_) {
  addUse(text_.getStyle());
}

CFontLtypeComplexDash& CFontLtypeComplexDash::operator=(const CFontLtypeComplexDash& src) {
  if (this == &src) return *this;
  dropUse(text_.getStyle());
  text_ = src.text_;
  addUse(text_.getStyle());
  return *this;
}

CFontLtypeComplexDash::~CFontLtypeComplexDash() {
  dropUse(text_.getStyle());
}

void CFontLtypeComplexDash::GetBdry(RECT_2D& r) const {
  text_.calc_bdry(r);
}

ILtypeComplexDash* CFontLtypeComplexDash::Clone() const {
  return new CFontLtypeComplexDash(*this);
}
