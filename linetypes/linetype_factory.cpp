// linetypes/linetype_factory.cpp: CLtypeFactory, the default maker of linetypes. Results belong
// to the caller until a table takes them; a copy is always a plain CLtype.
#include <veltcore/linetypes/linetype.h>

CLtypeFactory::~CLtypeFactory() = default;

CLtype* CLtypeFactory::create(const CLtype& lt) {
  return new CLtype(lt);
}

CLtype* CLtypeFactory::create(const String& name, const String& desc, const double* dashes, long n,
                              long flags) {
  return new CLtype(name, desc, dashes, n, flags);
}

CLtype* CLtypeFactory::create(const String& name, const String& desc,
                              const CLtypeComplexDashSeq& seq, long flags) {
  return new CLtype(name, desc, seq, flags);
}

CLtypeXRef* CLtypeFactory::createXRef(CBlockXRef& xref, const String& name, const String& desc,
                                      const CLtypeComplexDashSeq& seq, long flags) {
  return new CLtypeXRef(xref, name, desc, seq, flags);
}
