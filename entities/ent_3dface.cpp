// entities/ent_3dface.cpp: the 3D face entity, its flags rules and its snapshot.
// The triangle mark (bit 7) follows vertices 2 and 3 exactly; setFlags never changes it.
#include <veltcore/entities/face3d.h>

#include <veltcore/entities/visitor.h>
#include <veltcore/geometry/line.h>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

CEnt3DFace::CEnt3DFace(long handle, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p0,
                       const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3, long flags)
    : CEnt(handle, layer, ltype, color), flags_(toInt32(flags)) {
  setVertexes(p0, p1, p2, p3);
}

CEnt3DFace::CEnt3DFace(const CEnt3DFace& src, long handle)
    : CEnt(src, handle),
      vertex_{src.vertex_[0], src.vertex_[1], src.vertex_[2], src.vertex_[3]},
      flags_(src.flags_) {}

void CEnt3DFace::accept(IEntVisitor& v) {
  v.visit(*this);
}

void CEnt3DFace::setMemento(CData&, const IEntDerivedMemento* m) {
  const auto* face = static_cast<const CEnt3DFaceMemento*>(m);
  for (long i = 0; i < 4; ++i) vertex_[i] = face->getVertex(i);
  flags_ = toInt32(face->getFlagsWord());
  calcBdry();
}

void CEnt3DFace::calcBdry() {
  RECT_3D& bdry = getBdry();
  bdry.initRegion();
  for (const PNT_3D& p : vertex_) bdry.updateRegion(p);
}

IEntDerivedMemento* CEnt3DFace::createDerivedMemento() const {
  return new CEnt3DFaceMemento(*this);
}

void CEnt3DFace::setVertex(long i, const PNT_3D& p) {
  vertex_[slot(i)] = p;
  if (slot(i) >= 2) setTriangFlag();
  calcBdry();
}

void CEnt3DFace::setVertexes(const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2,
                             const PNT_3D& p3) {
  vertex_[0] = p0;
  vertex_[1] = p1;
  vertex_[2] = p2;
  vertex_[3] = p3;
  setTriangFlag();
  calcBdry();
}

void CEnt3DFace::setVertexes(const PNT_3D* const p) {
  setVertexes(p[0], p[1], p[2], p[3]);
}

void CEnt3DFace::setFlags(long f) {
  flags_ = toInt32((f & kEdgeBits) | (flags_ & kTriangular));
}

void CEnt3DFace::setEdgeVisib(long i, bool visible) {
  if (visible)
    flags_ &= ~edgeBit(i);
  else
    flags_ |= edgeBit(i);
}

void CEnt3DFace::setTriangular() {
  flags_ |= kTriangular;
  vertex_[3] = vertex_[2];
  calcBdry();
}

void CEnt3DFace::getPoints(long i, PNT_3D& a, PNT_3D& b) const {
  a = getVertex(i);
  b = getVertex(i + 1);
}

void CEnt3DFace::getLine(long i, LINE_3D& l) const {
  getPoints(i, l.start, l.end);
}

CEnt* CEnt3DFace::clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
                        long handle) const {
  return new CEnt3DFace(*this, handle);
}

void CEnt3DFace::setTriangFlag() {
  if (vertex_[3] == vertex_[2])
    flags_ |= kTriangular;
  else
    flags_ &= ~kTriangular;
}

CEnt3DFaceMemento::CEnt3DFaceMemento(const CEnt3DFace& face)
    : vertex_{face.vertex_[0], face.vertex_[1], face.vertex_[2], face.vertex_[3]},
      flags_(face.flags_) {}

bool CEnt3DFaceMemento::operator==(const CEnt& e) const {
  const auto* face = dynamic_cast<const CEnt3DFace*>(&e);
  if (face == nullptr) return false;
  for (long i = 0; i < 4; ++i)
    if (face->vertex_[i] != vertex_[i]) return false;
  return face->flags_ == flags_;
}
