// entities/ent_circle.cpp: the circle entity and its snapshot.
// The setters and setMemento renew the cached box; a change through the non-const getter does not.
#include <veltcore/entities/circle.h>

#include <veltcore/entities/visitor.h>

CEntCircle::CEntCircle(long handle, CLayer* layer, CLtype* ltype, short color, const CIRCLE_3D& c)
    : CEnt(handle, layer, ltype, color), circle_(c) {
  calcBdry();
}

CEntCircle::CEntCircle(const CEntCircle& src, long handle)
    : CEnt(src, handle), circle_(src.circle_) {}

void CEntCircle::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntCircle::setMemento(CData&, const IEntDerivedMemento* m) {
  setCircle(static_cast<const CEntCircleMemento*>(m)->getCircle());
}

void CEntCircle::calcBdry() {
  circle_.calc_bdry(getBdry());
}

IEntDerivedMemento* CEntCircle::createDerivedMemento() const {
  return new CEntCircleMemento(circle_);
}

void CEntCircle::setCircle(const CIRCLE_3D& c) {
  circle_ = c;
  calcBdry();
}

void CEntCircle::setCircle(double x, double y, double z, double r) {
  circle_.set(x, y, z, r);
  calcBdry();
}

CEnt* CEntCircle::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                        long handle) const {
  return new CEntCircle(*this, handle);
}

bool CEntCircleMemento::operator==(const CEnt& e) const {
  const auto* circle = dynamic_cast<const CEntCircle*>(&e);
  return circle != nullptr && circle->getCircle() == circle_;
}
