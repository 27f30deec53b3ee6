// entities/entity_factory.cpp: CEntFactory's creation of entities, cloning, handle booking and
// unbooking of entities that never entered the drawing.
// Allocation failure gives null (the booked handle stays booked); the manager's exceptions pass.
#include <veltcore/entities/entity_factory.h>

#include <veltcore/database/handle.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>

CEntFactory::~CEntFactory() = default;

CEntPnt* CEntFactory::createEntPnt(IHandleGestor& g, const CEntPnt& src) {
  return make<CEntPnt>(src, g.bookNext());
}

CEntPnt* CEntFactory::createEntPnt(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                   const PNT_3D& p, long handle) {
  bookHandle(g, handle);
  return make<CEntPnt>(handle, layer, ltype, color, p);
}

CEntLine* CEntFactory::createEntLine(IHandleGestor& g, const CEntLine& src) {
  return make<CEntLine>(src, g.bookNext());
}

CEntLine* CEntFactory::createEntLine(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                     const LINE_3D& l, long handle) {
  bookHandle(g, handle);
  return make<CEntLine>(handle, layer, ltype, color, l);
}

CEntCircle* CEntFactory::createEntCircle(IHandleGestor& g, const CEntCircle& src) {
  return make<CEntCircle>(src, g.bookNext());
}

CEntCircle* CEntFactory::createEntCircle(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                         short color, const CIRCLE_3D& c, long handle) {
  bookHandle(g, handle);
  return make<CEntCircle>(handle, layer, ltype, color, c);
}

CEntArc* CEntFactory::createEntArc(IHandleGestor& g, const CEntArc& src) {
  return make<CEntArc>(src, g.bookNext());
}

CEntArc* CEntFactory::createEntArc(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                   const ARC_3D& a, long handle) {
  bookHandle(g, handle);
  return make<CEntArc>(handle, layer, ltype, color, a);
}

CEntPolyline* CEntFactory::createEntPolyline(IHandleGestor& g, const CEntLine& line) {
  return make<CEntPolyline>(g, *this, line, g.bookNext());
}

CEntPolyline* CEntFactory::createEntPolyline(IHandleGestor& g, const CEntPolyline& src) {
  return make<CEntPolyline>(g, *this, src, g.bookNext());
}

CEntPolyline* CEntFactory::createEntPolyline(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                             short color, short flags, short degree, long handle) {
  bookHandle(g, handle);
  return make<CEntPolyline>(handle, layer, ltype, color, flags, degree);
}

CVertex* CEntFactory::createVertex(IHandleGestor& g, const CVertex& src) {
  return make<CVertex>(src, g.bookNext());
}

CVertex* CEntFactory::createVertex(IHandleGestor& g, const PNT_3D& p, double widthStart,
                                   double widthEnd, long handle) {
  bookHandle(g, handle);
  return make<CVertex>(p, widthStart, widthEnd, handle);
}

CEntText* CEntFactory::createEntText(IHandleGestor& g, const CEntText& src) {
  return make<CEntText>(src, g.bookNext());
}

CEntText* CEntFactory::createEntText(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                     const TEXT_3D& t, long handle) {
  bookHandle(g, handle);
  return make<CEntText>(handle, layer, ltype, color, t);
}

CEntAttdef* CEntFactory::createEntAttdef(IHandleGestor& g, const CEntAttdef& src) {
  return make<CEntAttdef>(src, g.bookNext());
}

CEntAttdef* CEntFactory::createEntAttdef(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                         short color, const TEXT_3D& t, const String& value,
                                         const String& prompt, long flags, long handle) {
  bookHandle(g, handle);
  return make<CEntAttdef>(handle, layer, ltype, color, t, value, prompt, flags);
}

CEntInsert* CEntFactory::createEntInsert(IHandleGestor& g, const CEntInsert& src) {
  return make<CEntInsert>(g, *this, src, g.bookNext());
}

CEntInsert* CEntFactory::createEntInsert(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                         short color, CBlock* block, const PNT_3D& pnt, double sx,
                                         double sy, double sz, double rotate, long rows,
                                         long columns, double columnSpacing, double rowSpacing,
                                         long handle) {
  bookHandle(g, handle);
  return make<CEntInsert>(handle, layer, ltype, color, block, pnt, sx, sy, sz, rotate, rows,
                          columns, columnSpacing, rowSpacing);
}

CEntAttrib* CEntFactory::createEntAttrib(IHandleGestor& g, const CEntAttrib& src) {
  return make<CEntAttrib>(src, g.bookNext());
}

CEntAttrib* CEntFactory::createEntAttrib(IHandleGestor& g, const String& value,
                                         const CEntAttdef& def, const CEntInsert& ins,
                                         long handle) {
  bookHandle(g, handle);
  return make<CEntAttrib>(value, def, ins, handle);
}

CEntAttrib* CEntFactory::createEntAttrib(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                         short color, const TEXT_3D& t, const String& tag,
                                         long flags, long handle) {
  bookHandle(g, handle);
  return make<CEntAttrib>(handle, layer, ltype, color, t, tag, flags);
}

CEntInsertXRef* CEntFactory::createEntInsertXRef(IHandleGestor& g, const CEntInsertXRef& src) {
  return make<CEntInsertXRef>(g, *this, src, g.bookNext());
}

CEntInsertXRef* CEntFactory::createEntInsertXRef(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                                 short color, CBlockXRefDepend& depend,
                                                 CBlockXRef* xref, const PNT_3D& pnt, double sx,
                                                 double sy, double sz, double rotate, long rows,
                                                 long columns, double columnSpacing,
                                                 double rowSpacing, long handle) {
  bookHandle(g, handle);
  return make<CEntInsertXRef>(handle, layer, ltype, color, depend, xref, pnt, sx, sy, sz, rotate,
                              rows, columns, columnSpacing, rowSpacing);
}

CEntHatch* CEntFactory::createEntHatch(IHandleGestor& g, CBlockFactory& bf, CBlockTable& bt,
                                       const CEntHatch& src) {
  return make<CEntHatch>(g, *this, bf, bt, src, g.bookNext());
}

CEntHatch* CEntFactory::createEntHatch(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                       const String& blockName, const HATCH_TYPE& type,
                                       double scale, double angle,
                                       const std::vector<PNT_3D>& boundary, CData& d, long handle) {
  bookHandle(g, handle);
  return make<CEntHatch>(handle, layer, ltype, color, blockName, type, scale, angle, boundary, d);
}

CEntHatch* CEntFactory::createEntHatch(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                       CBlock* block, const HATCH_TYPE& type, double scale,
                                       double angle, const std::vector<PNT_3D>& boundary,
                                       long handle) {
  bookHandle(g, handle);
  return make<CEntHatch>(handle, layer, ltype, color, block, type, scale, angle, boundary);
}

CEnt3DFace* CEntFactory::createEnt3DFace(IHandleGestor& g, const CEnt3DFace& src) {
  return make<CEnt3DFace>(src, g.bookNext());
}

CEnt3DFace* CEntFactory::createEnt3DFace(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                         short color, const PNT_3D& p0, const PNT_3D& p1,
                                         const PNT_3D& p2, const PNT_3D& p3, long flags,
                                         long handle) {
  bookHandle(g, handle);
  return make<CEnt3DFace>(handle, layer, ltype, color, p0, p1, p2, p3, flags);
}

CEnt* CEntFactory::clone(IHandleGestor& g, CBlockFactory& bf, CBlockTable& bt, const CEnt& src) {
  const long handle = g.bookNext();
  try {
    return src.clone(g, *this, bf, bt, handle);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void CEntFactory::unbookHandle(IHandleGestor& g, IHandleEnt* e) {
  g.unbook(e->GetHandle());
  CEntUnbookVisitor v(g);
  e->accept(v);
}

void CEntFactory::bookHandle(IHandleGestor& g, long& handle) {
  handle = handle == 0 ? g.bookNext() : g.bookHandle(handle);
}

void CEntFactory::CEntUnbookVisitor::visit(CEntHatch& e) {
  visit(static_cast<CEntInsert&>(e));
}

void CEntFactory::CEntUnbookVisitor::visit(CEntInsertXRef& e) {
  visit(static_cast<CEntInsert&>(e));
}

void CEntFactory::CEntUnbookVisitor::visit(CEntInsert& e) {
  for (long i = e.size() - 1; i >= 0; --i) g_.unbook(e[static_cast<int>(i)].GetHandle());
}

void CEntFactory::CEntUnbookVisitor::visit(CEntPolyline& e) {
  for (long i = e.getNoTotalVertexes() - 1; i >= 0; --i)
    g_.unbook(e[static_cast<int>(i)].GetHandle());
}
