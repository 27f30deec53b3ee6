// entities/ent_line.cpp: the segment entity and its snapshot.
// The setters and setMemento renew the cached box; a change through the non-const getter does not.
#include <veltcore/entities/line.h>

#include <veltcore/entities/visitor.h>
#include <veltcore/geometry/rect.h>

CEntLine::CEntLine(long handle, CLayer* layer, CLtype* ltype, short color, const LINE_3D& l)
    : CEnt(handle, layer, ltype, color), line_(l) {
  calcBdry();
}

CEntLine::CEntLine(const CEntLine& src, long handle) : CEnt(src, handle), line_(src.line_) {}

void CEntLine::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEntLine::setMemento(CData&, const IEntDerivedMemento* m) {
  setLine(static_cast<const CEntLineMemento*>(m)->getLine());
}

void CEntLine::calcBdry() {
  line_.calc_bdry(getBdry());
}

IEntDerivedMemento* CEntLine::createDerivedMemento() const {
  return new CEntLineMemento(line_);
}

void CEntLine::setLine(const LINE_3D& l) {
  line_ = l;
  calcBdry();
}

void CEntLine::setLine(double x1, double y1, double z1, double x2, double y2, double z2) {
  setLine(LINE_3D(x1, y1, z1, x2, y2, z2));
}

CEnt* CEntLine::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                      long handle) const {
  return new CEntLine(*this, handle);
}

bool CEntLineMemento::operator==(const CEnt& e) const {
  const auto* line = dynamic_cast<const CEntLine*>(&e);
  return line != nullptr && line->getLine() == line_;
}
