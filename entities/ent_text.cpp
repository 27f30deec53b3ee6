// entities/ent_text.cpp: the text entity CEntText and its snapshot CEntTextMemento.
// The style count moves in addTbls/removeTbls, setText, setStyle and setMemento, and only there;
// a null style is allowed everywhere and simply counts nothing.
#include <veltcore/entities/text.h>

#include <veltcore/database/style.h>
#include <veltcore/entities/visitor.h>

namespace {

void useStyle(CStyle* s) {
  if (s != nullptr) s->addEntity();
}

void dropStyle(CStyle* s) {
  if (s != nullptr) s->decEntity();
}

}  // namespace

CEntText::CEntText(long handle, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t)
    : CEnt(handle, layer, ltype, color), text_(t) {
  calcBdry();
}

CEntText::CEntText(const CEntText& src, long handle) : CEnt(src, handle), text_(src.text_) {}

void CEntText::addTbls(IHandleGestor& g) const {
  CEnt::addTbls(g);
  useStyle(text_.getStyle());
}

void CEntText::removeTbls(IHandleGestor& g) const {
  CEnt::removeTbls(g);
  dropStyle(text_.getStyle());
}

void CEntText::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntText::setMemento(CData&, const IEntDerivedMemento* m) {
  setText(static_cast<const CEntTextMemento*>(m)->getText());
}

void CEntText::setStyle(CStyle* s) {
  dropStyle(text_.getStyle());
  text_.setStyle(s);
  useStyle(s);
  calcBdry();
}

void CEntText::calcBdry() {
  // TEXT_3D collapses an unmeasurable text (no style, no font, no cell height) onto its
  // insertion point, so such a text still has a box and never reaches a null font.
  text_.calc_bdry(getBdry());
}

IEntDerivedMemento* CEntText::createDerivedMemento() const {
  return new CEntTextMemento(text_);
}

void CEntText::setText(const TEXT_3D& t) {
  dropStyle(text_.getStyle());
  text_ = t;
  useStyle(text_.getStyle());
  calcBdry();
}

CEnt* CEntText::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                      long handle) const {
  return new CEntText(*this, handle);
}

void CEntText::setString(const String& s) {
  text_.getContext().setString(s);
  calcBdry();
}

bool CEntTextMemento::operator==(const CEnt& e) const {
  const auto* text = dynamic_cast<const CEntText*>(&e);
  return text != nullptr && text->getText() == text_;
}
