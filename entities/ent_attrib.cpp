// entities/ent_attrib.cpp: the attribute CEntAttrib and its snapshot.
// The value is the text string (it is what the attribute shows); tag and flags are plain fields.
// The placement stays in the owning insert's coordinates; nothing here reads the insert.
#include <veltcore/entities/text.h>

#include <cstring>

#include <veltcore/entities/visitor.h>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

namespace {

// Snapshots compare strings by content and case: String's own == would compare addresses.
bool sameString(const String& a, const String& b) {
  return std::strcmp(a.c_str(), b.c_str()) == 0;
}

}  // namespace

CEntAttrib::CEntAttrib(long handle, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t,
                       const String& tag, long flags)
    : CEntText(handle, layer, ltype, color, t), tag_(tag), flags_(toInt32(flags)) {}

CEntAttrib::CEntAttrib(const String& value, const CEntAttdef& def, const CEntInsert&, long handle)
    : CEntText(def, handle), tag_(def.getTag()), flags_(toInt32(def.getFlags())) {
  setString(value);
}

CEntAttrib::CEntAttrib(const CEntAttrib& src, long handle)
    : CEntText(src, handle), tag_(src.tag_), flags_(src.flags_) {}

void CEntAttrib::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntAttrib::setMemento(CData& d, const IEntDerivedMemento* m) {
  CEntText::setMemento(d, m);
  const auto* snapshot = static_cast<const CEntAttribMemento*>(m);
  tag_ = snapshot->getTag();
  flags_ = toInt32(snapshot->getFlags());
}

IEntDerivedMemento* CEntAttrib::createDerivedMemento() const {
  return new CEntAttribMemento(*this);
}

void CEntAttrib::setFlags(long flags) {
  flags_ = toInt32(flags);
}

CEnt* CEntAttrib::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                        long handle) const {
  return new CEntAttrib(*this, handle);
}

CEntAttribMemento::CEntAttribMemento(const CEntAttrib& e)
    : CEntTextMemento(e.getText()), tag_(e.getTag()), flags_(toInt32(e.getFlags())) {}

bool CEntAttribMemento::operator==(const CEnt& e) const {
  const auto* attrib = dynamic_cast<const CEntAttrib*>(&e);
  return attrib != nullptr && CEntTextMemento::operator==(e) &&
         sameString(attrib->getTag(), tag_) && attrib->getFlags() == flags_;
}
