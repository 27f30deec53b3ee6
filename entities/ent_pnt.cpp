// entities/ent_pnt.cpp: the point entity and its snapshot.
// The setters and setMemento renew the cached box; a change through the non-const getter does not.
#include <veltcore/entities/pnt.h>

#include <veltcore/entities/visitor.h>
#include <veltcore/geometry/rect.h>

CEntPnt::CEntPnt(long handle, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p)
    : CEnt(handle, layer, ltype, color), pnt_(p) {
  calcBdry();
}

CEntPnt::CEntPnt(const CEntPnt& src, long handle) : CEnt(src, handle), pnt_(src.pnt_) {}

void CEntPnt::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntPnt::setMemento(CData&, const IEntDerivedMemento* m) {
  setPnt(static_cast<const CEntPntMemento*>(m)->getPnt());
}

void CEntPnt::calcBdry() {
  pnt_.calc_bdry(getBdry());
}

IEntDerivedMemento* CEntPnt::createDerivedMemento() const {
  return new CEntPntMemento(pnt_);
}

void CEntPnt::setPnt(const PNT_3D& p) {
  pnt_ = p;
  calcBdry();
}

void CEntPnt::setPnt(double x, double y, double z) {
  setPnt(PNT_3D(x, y, z));
}

CEnt* CEntPnt::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                     long handle) const {
  return new CEntPnt(*this, handle);
}

bool CEntPntMemento::operator==(const CEnt& e) const {
  const auto* pnt = dynamic_cast<const CEntPnt*>(&e);
  return pnt != nullptr && pnt->getPnt() == pnt_;
}
