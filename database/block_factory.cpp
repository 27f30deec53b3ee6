// database/block_factory.cpp: the default block factory. Results belong to the caller until
// a table takes them.
#include <veltcore/database/block_factory.h>
#include <veltcore/database/xref.h>

CBlockFactory::~CBlockFactory() = default;

CBlock* CBlockFactory::create(const String& name, long flags) const {
  return new CBlock(name, PNT_3D(0, 0, 0), flags);
}

CBlock* CBlockFactory::create(const String& name, const PNT_3D& base, long flags) const {
  return new CBlock(name, base, flags);
}

CBlockXRef* CBlockFactory::createXRef(CLtypeContinuous& continuous, CLtypeByLayer& byLayer,
                                      CLtypeByBlock& byBlock, CLayer0& layer0,
                                      const String& name) const {
  return new CBlockXRef(continuous, byLayer, byBlock, layer0, name);
}

CBlockXRef* CBlockFactory::createXRef(CLtypeContinuous& continuous, CLtypeByLayer& byLayer,
                                      CLtypeByBlock& byBlock, CLayer0& layer0, const String& name,
                                      const String& path, const PNT_3D& base, long flags) const {
  CBlockXRef* xref = createXRef(continuous, byLayer, byBlock, layer0, name);
  init(*xref, path, base, flags);
  return xref;
}

void CBlockFactory::init(CBlockXRef& xref, const String& path, const PNT_3D& base,
                         long flags) const {
  xref.init(path, base, flags);
}
