// entities/insert_xref.cpp: the insert of an external reference. Besides the insert's own counts
// it holds one use of the reference in its dependency record while it is in a table.
#include <veltcore/database/xref.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/visitor.h>

CEntInsertXRef::CEntInsertXRef(long handle, CLayer* layer, CLtype* ltype, short color,
                               CBlockXRefDepend& depend, CBlockXRef* xref, const PNT_3D& pnt,
                               double sx, double sy, double sz, double rotate, long rows,
                               long columns, double columnSpacing, double rowSpacing)
    : CEntInsert(handle, layer, ltype, color, xref, pnt, sx, sy, sz, rotate, rows, columns,
                 columnSpacing, rowSpacing),
      depend_(&depend) {}

CEntInsertXRef::CEntInsertXRef(IHandleGestor& g, CEntFactory& f, const CEntInsertXRef& src,
                               long handle)
    : CEntInsert(g, f, src, handle), depend_(src.depend_) {}

void CEntInsertXRef::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntInsertXRef::addTbls(IHandleGestor& g) const {
  CEntInsert::addTbls(g);
  depend_->add(getXRef());
}

void CEntInsertXRef::removeTbls(IHandleGestor& g) const {
  CEntInsert::removeTbls(g);
  depend_->dec(getXRef());
}

CBlockXRef* CEntInsertXRef::getXRef() const {
  // Only the constructor sets the block of a reference insert; setBlock keeps the contract that
  // it be a reference.
  return static_cast<CBlockXRef*>(getBlock());
}

CEnt* CEntInsertXRef::clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory&, CBlockTable&,
                            long handle) const {
  return new CEntInsertXRef(g, ef, *this, handle);
}
