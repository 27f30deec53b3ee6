// entities/ent_attdef.cpp: the attribute definition CEntAttdef and its snapshot.
// The tag is the text string (it is what the definition shows); value, prompt and flags are
// plain fields. Flags are kept as 32-bit words and never interpreted.
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

CEntAttdef::CEntAttdef(long handle, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t,
                       const String& value, const String& prompt, long flags)
    : CEntText(handle, layer, ltype, color, t),
      value_(value),
      prompt_(prompt),
      flags_(toInt32(flags)) {}

CEntAttdef::CEntAttdef(const CEntAttdef& src, long handle)
    : CEntText(src, handle), value_(src.value_), prompt_(src.prompt_), flags_(src.flags_) {}

void CEntAttdef::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntAttdef::setMemento(CData& d, const IEntDerivedMemento* m) {
  CEntText::setMemento(d, m);
  const auto* snapshot = static_cast<const CEntAttdefMemento*>(m);
  value_ = snapshot->getValue();
  prompt_ = snapshot->getPrompt();
  flags_ = toInt32(snapshot->getFlags());
}

IEntDerivedMemento* CEntAttdef::createDerivedMemento() const {
  return new CEntAttdefMemento(*this);
}

void CEntAttdef::setFlags(long flags) {
  flags_ = toInt32(flags);
}

CEnt* CEntAttdef::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                        long handle) const {
  return new CEntAttdef(*this, handle);
}

CEntAttdefMemento::CEntAttdefMemento(const CEntAttdef& e)
    : CEntTextMemento(e.getText()),
      value_(e.getValue()),
      prompt_(e.getPrompt()),
      flags_(toInt32(e.getFlags())) {}

bool CEntAttdefMemento::operator==(const CEnt& e) const {
  const auto* def = dynamic_cast<const CEntAttdef*>(&e);
  return def != nullptr && CEntTextMemento::operator==(e) && sameString(def->getValue(), value_) &&
         sameString(def->getPrompt(), prompt_) && def->getFlags() == flags_;
}
