// entities/create_calls.cpp: the drawing-level createEnt* calls and cloneEnt.
// The forms without layer, linetype and colour read the drawing's current ones at the call.
#include <veltcore/entities/create_calls.h>

#include <veltcore/database/data.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>

CEntPnt* createEntPnt(const CData& d, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p,
                      long handle) {
  return d.getEntFactory().createEntPnt(d.getHandleGestor(), layer, ltype, color, p, handle);
}

CEntPnt* createEntPnt(const CData& d, const PNT_3D& p, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntPnt(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), p, handle);
}

CEntLine* createEntLine(const CData& d, CLayer* layer, CLtype* ltype, short color, const LINE_3D& l,
                        long handle) {
  return d.getEntFactory().createEntLine(d.getHandleGestor(), layer, ltype, color, l, handle);
}

CEntLine* createEntLine(const CData& d, const LINE_3D& l, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntLine(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), l, handle);
}

CEntCircle* createEntCircle(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const CIRCLE_3D& c, long handle) {
  return d.getEntFactory().createEntCircle(d.getHandleGestor(), layer, ltype, color, c, handle);
}

CEntCircle* createEntCircle(const CData& d, const CIRCLE_3D& c, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntCircle(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), c, handle);
}

CEntArc* createEntArc(const CData& d, CLayer* layer, CLtype* ltype, short color, const ARC_3D& a,
                      long handle) {
  return d.getEntFactory().createEntArc(d.getHandleGestor(), layer, ltype, color, a, handle);
}

CEntArc* createEntArc(const CData& d, const ARC_3D& a, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntArc(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), a, handle);
}

CEnt3DFace* createEnt3DFace(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3,
                            long flags, long handle) {
  return d.getEntFactory().createEnt3DFace(d.getHandleGestor(), layer, ltype, color, p0, p1, p2, p3,
                                           flags, handle);
}

CEnt3DFace* createEnt3DFace(const CData& d, const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2,
                            const PNT_3D& p3, long flags, long handle) {
  const CDataVariables& v = d.getVars();
  return createEnt3DFace(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), p0, p1, p2, p3,
                         flags, handle);
}

CEnt* cloneEnt(CData& d, const CEnt& e) {
  return d.getEntFactory().clone(d.getHandleGestor(), d.getBlockFactory(), d.getBlockTable(), e);
}
