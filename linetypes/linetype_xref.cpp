// linetypes/linetype_xref.cpp: CLtypeXRef, a linetype that comes from an external reference.
// Its flags always carry the dependent bit, and the loaded bit follows the reference's state
// each time they are set.
#include <veltcore/database/xref.h>
#include <veltcore/linetypes/linetype.h>

CLtypeXRef::CLtypeXRef(CBlockXRef& xref, const String& name, const String& desc,
                       const CLtypeComplexDashSeq& seq, long flags)
    : CLtype(name, desc, seq, flags), xref_(&xref), fullName_(xref.dependentName(name)) {}

void CLtypeXRef::setFlags(long flags) {
  CNamedItem::setFlags(xref_->dependentFlags(flags));
}

void CLtypeXRef::accept(ILtypeVisitor& visitor) {
  visitor.visit(*this);
}
