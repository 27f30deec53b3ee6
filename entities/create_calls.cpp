// entities/create_calls.cpp: the drawing-level createEnt* calls and cloneEnt.
// The forms without layer, linetype and colour read the drawing's current ones at the call.
#include <veltcore/entities/create_calls.h>

#include <veltcore/database/data.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>

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

CEntPolyline* createEntPolyline(const CData& d, CLayer* layer, CLtype* ltype, short color,
                                long flags, short degree, long handle) {
  return d.getEntFactory().createEntPolyline(d.getHandleGestor(), layer, ltype, color,
                                             static_cast<short>(static_cast<unsigned short>(flags)), degree, handle);
}

CEntPolyline* createEntPolyline(const CData& d, long flags, short degree, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntPolyline(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), flags, degree,
                           handle);
}

CVertex* createVertex(const CData& d, const PNT_3D& p, double widthStart, double widthEnd,
                      long handle) {
  return d.getEntFactory().createVertex(d.getHandleGestor(), p, widthStart, widthEnd, handle);
}

CEntText* createEntText(const CData& d, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t,
                        long handle) {
  return d.getEntFactory().createEntText(d.getHandleGestor(), layer, ltype, color, t, handle);
}

CEntText* createEntText(const CData& d, const TEXT_3D& t, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntText(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), t, handle);
}

CEntAttdef* createEntAttdef(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const TEXT_3D& t, const String& value, const String& prompt, long flags,
                            long handle) {
  return d.getEntFactory().createEntAttdef(d.getHandleGestor(), layer, ltype, color, t, value,
                                           prompt, flags, handle);
}

CEntAttdef* createEntAttdef(const CData& d, const TEXT_3D& t, const String& value,
                            const String& prompt, long flags, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntAttdef(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), t, value, prompt,
                         flags, handle);
}

CEntInsert* createEntInsert(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            CBlock& block, const PNT_3D& pnt, double sx, double sy, double sz,
                            double rotate, long rows, long columns, double columnSpacing,
                            double rowSpacing, long handle) {
  return d.getEntFactory().createEntInsert(d.getHandleGestor(), layer, ltype, color, &block, pnt,
                                           sx, sy, sz, rotate, rows, columns, columnSpacing,
                                           rowSpacing, handle);
}

CEntInsert* createEntInsert(const CData& d, CBlock& block, const PNT_3D& pnt, double sx, double sy,
                            double sz, double rotate, long rows, long columns, double columnSpacing,
                            double rowSpacing, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntInsert(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), block, pnt, sx, sy,
                         sz, rotate, rows, columns, columnSpacing, rowSpacing, handle);
}

CEntAttrib* createEntAttrib(const CData& d, const String& value, const CEntAttdef& def,
                            const CEntInsert& ins, long handle) {
  return d.getEntFactory().createEntAttrib(d.getHandleGestor(), value, def, ins, handle);
}

CEntInsertXRef* createEntInsertXRef(CData& d, CLayer* layer, CLtype* ltype, short color,
                                    CBlockXRef* xref, const PNT_3D& pnt, double sx, double sy,
                                    double sz, double rotate, long rows, long columns,
                                    double columnSpacing, double rowSpacing, long handle) {
  return d.getEntFactory().createEntInsertXRef(d.getHandleGestor(), layer, ltype, color,
                                               d.getDepend(), xref, pnt, sx, sy, sz, rotate, rows,
                                               columns, columnSpacing, rowSpacing, handle);
}

CEntInsertXRef* createEntInsertXRef(const CData& d, CBlockXRefDepend& depend, CBlockXRef* xref,
                                    const PNT_3D& pnt, double sx, double sy, double sz,
                                    double rotate, long rows, long columns, double columnSpacing,
                                    double rowSpacing, long handle) {
  const CDataVariables& v = d.getVars();
  return d.getEntFactory().createEntInsertXRef(
      d.getHandleGestor(), v.getCurLayer(), v.getCurLtype(), v.getCurColor(), depend, xref, pnt, sx,
      sy, sz, rotate, rows, columns, columnSpacing, rowSpacing, handle);
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
