// veltcore/database/block_factory.h: CBlockFactory, which makes blocks and external
// references; a host may derive its own. Every result belongs to the caller until a table
// takes it.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>

class CBlock;
class CBlockXRef;
class CLayer0;
class CLtypeByBlock;
class CLtypeByLayer;
class CLtypeContinuous;

class CBlockFactory {
 public:
  virtual ~CBlockFactory();
  // Base point (0, 0, 0).
  virtual CBlock* create(const String& name, long flags) const;
  virtual CBlock* create(const String& name, const PNT_3D& base, long flags) const;
  // Not initialized: init gives it path, base point and flags later. The four fixed items
  // are those of the host drawing.
  virtual CBlockXRef* createXRef(CLtypeContinuous& continuous, CLtypeByLayer& byLayer,
                                 CLtypeByBlock& byBlock, CLayer0& layer0, const String& name) const;
  virtual CBlockXRef* createXRef(CLtypeContinuous& continuous, CLtypeByLayer& byLayer,
                                 CLtypeByBlock& byBlock, CLayer0& layer0, const String& name,
                                 const String& path, const PNT_3D& base, long flags) const;
  virtual void init(CBlockXRef& xref, const String& path, const PNT_3D& base, long flags) const;
};
