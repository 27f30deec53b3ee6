// entities/vertex.cpp: CVertex, a polyline's vertex with its two segment widths, and its
// snapshot CVertexMemento.
#include <veltcore/entities/polyline.h>

#include <veltcore/core/object_heap.h>
#include <veltcore/entities/visitor.h>

CVertex::CVertex(const PNT_3D& p, double widthStart, double widthEnd, long handle)
    : IHandleEnt(handle), pnt_(p), widthStart_(widthStart), widthEnd_(widthEnd) {}

CVertex::CVertex(const CVertex& src, long handle)
    : IHandleEnt(handle), pnt_(src.pnt_), widthStart_(src.widthStart_), widthEnd_(src.widthEnd_) {}

CVertex::~CVertex() = default;

void* CVertex::operator new(std::size_t size) {
  return veltcore::detail::allocateObject(size);
}

void CVertex::operator delete(void* p, std::size_t size) noexcept {
  veltcore::detail::freeObject(p, size);
}

void CVertex::accept(IEntVisitor& v) {
  v.visit(*this);
}

CVertexMemento* CVertex::createMemento() const {
  return new CVertexMemento(*this);
}

void CVertex::setMemento(const CVertexMemento* m) {
  pnt_ = m->getPnt();
  widthStart_ = m->GetWidthStart();
  widthEnd_ = m->GetWidthEnd();
}

CVertexMemento::CVertexMemento(const CVertex& v)
    : pnt_(v.getPnt()), widthStart_(v.GetWidthStart()), widthEnd_(v.GetWidthEnd()) {}

CVertexMemento::~CVertexMemento() = default;

bool CVertexMemento::operator==(const CVertex& v) const {
  return pnt_ == v.getPnt() && widthStart_ == v.GetWidthStart() && widthEnd_ == v.GetWidthEnd();
}
