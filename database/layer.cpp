// database/layer.cpp: CLayer, CLayer0 and CLayerXRef, and the layer snapshot.
// Only setLtype and setMemento move a linetype's layer count; constructors never do.
#include <veltcore/database/layer.h>
#include <veltcore/database/xref.h>
#include <veltcore/linetypes/linetype.h>

#include <cstring>

namespace {

// Moves one layer's use from the linetype `from` to `to`.
void moveLayerCount(CLtype* from, CLtype* to) {
  if (from != nullptr) from->decLayer();
  if (to != nullptr) to->addLayer();
}

}  // namespace

CLayer::CLayer(const String& name, CLtype* lt, short color, long flags)
    : CNamedItem(name, flags), ltype_(lt), color_(color) {}

CLayer::CLayer(const CLayer& src) : CNamedItem(src), ltype_(src.ltype_), color_(src.color_) {}

CLayer::~CLayer() = default;

const String& CLayer::getFullName() const {
  return getName();
}

void CLayer::setFlags(long flags) {
  CNamedItem::setFlags(flags);
}

void CLayer::accept(ILayerVisitor& visitor) {
  visitor.visit(*this);
}

CLayer& CLayer::operator=(const CLayer& src) {
  if (this == &src) return *this;
  CNamedItem::operator=(src);
  ltype_ = src.ltype_;
  color_ = src.color_;
  return *this;
}

bool CLayer::operator==(const CLayer& other) const {
  return CNamedItem::operator==(other) && ltype_ == other.ltype_ && color_ == other.color_;
}

void CLayer::setLtype(CLtype* lt) {
  moveLayerCount(ltype_, lt);
  ltype_ = lt;
}

CLayerMemento* CLayer::createMemento() const {
  return new CLayerMemento(*this);
}

void CLayer::setMemento(const CLayerMemento& m) {
  setName(m.name_);
  setLtype(m.ltype_);
  setFlags(m.flags_);
  color_ = m.color_;
}

CLayer0::CLayer0(CLtype* lt, short color, long flags) : CLayer("0", lt, color, flags) {}

void CLayer0::accept(ILayerVisitor& visitor) {
  visitor.visit(*this);
}

CLayerXRef::CLayerXRef(CBlockXRef& xref, const String& name, CLtype* lt, short color, long flags)
    : CLayer(name, lt, color, flags), xref_(&xref), fullName_(xref.dependentName(name)) {}

void CLayerXRef::setFlags(long flags) {
  CNamedItem::setFlags(xref_->dependentFlags(flags));
}

void CLayerXRef::accept(ILayerVisitor& visitor) {
  visitor.visit(*this);
}

CLayerMemento::CLayerMemento(const CLayer& layer)
    : name_(layer.getName()),
      ltype_(layer.getLtype()),
      flags_(layer.getFlags()),
      color_(layer.getColor()) {}

bool CLayerMemento::operator==(const CLayer& layer) const {
  return std::strcmp(name_.c_str(), layer.getName().c_str()) == 0 && ltype_ == layer.getLtype() &&
         flags_ == layer.getFlags() && color_ == layer.getColor();
}
