// linetypes/linetype_xref.cpp: CLtypeXRef, a linetype that comes from an external reference.
// Its flags always carry the dependent bit, and the loaded bit follows the reference's state
// each time they are set.
#include <veltcore/database/xref.h>
#include <veltcore/linetypes/linetype.h>

#include "core/string_ops.h"

CLtypeXRef::CLtypeXRef(CBlockXRef& xref, const String& name, const String& desc,
                       const CLtypeComplexDashSeq& seq, long flags)
    : CLtype(name, desc, seq, flags), xref_(&xref), fullName_(xref.getName() + "|" + name) {}

void CLtypeXRef::setFlags(long flags) {
  long forced = flags | kXRefDependent;
  if (xref_->loaded())
    forced |= kXRefLoaded;
  else
    forced &= ~kXRefLoaded;
  CNamedItem::setFlags(forced);
}

void CLtypeXRef::accept(ILtypeVisitor& visitor) {
  visitor.visit(*this);
}
