// entities/ent_arc.cpp: the arc entity and its snapshot.
// The setters and setMemento renew the cached box; a change through the non-const getter does not.
#include <veltcore/entities/arc.h>

#include <veltcore/entities/visitor.h>

CEntArc::CEntArc(long handle, CLayer* layer, CLtype* ltype, short color, const ARC_3D& a)
    : CEnt(handle, layer, ltype, color), arc_(a) {
  calcBdry();
}

CEntArc::CEntArc(const CEntArc& src, long handle) : CEnt(src, handle), arc_(src.arc_) {}

void CEntArc::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntArc::setMemento(CData&, const IEntDerivedMemento* m) {
  setArc(static_cast<const CEntArcMemento*>(m)->getArc());
}

void CEntArc::calcBdry() {
  arc_.calc_bdry(getBdry());
}

IEntDerivedMemento* CEntArc::createDerivedMemento() const {
  return new CEntArcMemento(arc_);
}

void CEntArc::setArc(const ARC_3D& a) {
  arc_ = a;
  calcBdry();
}

void CEntArc::setArc(double x, double y, double z, double r, double s, double e) {
  arc_.set(x, y, z, r, s, e);
  calcBdry();
}

CEnt* CEntArc::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                     long handle) const {
  return new CEntArc(*this, handle);
}

bool CEntArcMemento::operator==(const CEnt& e) const {
  const auto* arc = dynamic_cast<const CEntArc*>(&e);
  return arc != nullptr && arc->getArc() == arc_;
}
