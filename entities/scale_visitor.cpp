// entities/scale_visitor.cpp: CEntScaleVisitor, uniform scaling about a centre.
// Points, lines, circles, arcs, polylines and texts recompute their box; inserts renew it through
// setInsert; 3D faces and hatches scale the box they have.
#include <veltcore/database/block.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/hatch/ent_hatch.h>

namespace {

void scaleText(CEntText& e, const PNT_3D& c, double f) {
  e.getText().scale(c, f);
  e.calcBdry();
}

}  // namespace

void CEntScaleVisitor::visit(CEnt3DFace& e) {
  for (long i = 0; i < 4; ++i) e.getVertex(i).scale(c_, f_);
  e.getBdry().scale(c_, f_);
}

// The generated block is scaled with the hatch (its entities, then its box), never regenerated.
void CEntScaleVisitor::visit(CEntHatch& e) {
  if (CBlock* block = e.getBlock()) {
    for (int i = 0; i < block->size(); ++i) (*block)[i]->accept(*this);
    block->calcBdry();
  }
  for (long i = 0; i < e.getNoPnts(); ++i) e.getPnt(i).scale(c_, f_);
  e.setHatchScale(e.getHatchScale() * f_);
  e.getBdry().scale(c_, f_);
}

void CEntScaleVisitor::visit(CEntAttrib& e) {
  scaleText(e, c_, f_);
}

void CEntScaleVisitor::visit(CEntInsertXRef& e) {
  visit(static_cast<CEntInsert&>(e));
}

void CEntScaleVisitor::visit(CEntInsert& e) {
  PNT_3D p = e.getPnt();
  p.scale(c_, f_);
  double sx = 0.0, sy = 0.0, sz = 0.0;
  e.getScale(sx, sy, sz);
  e.setInsert(p, sx * f_, sy * f_, sz * f_, e.getRotate());
}

void CEntScaleVisitor::visit(CEntAttdef& e) {
  scaleText(e, c_, f_);
}

void CEntScaleVisitor::visit(CEntText& e) {
  scaleText(e, c_, f_);
}

void CEntScaleVisitor::visit(CEntPolyline& e) {
  for (long i = e.getNoTotalVertexes() - 1; i >= 0; --i) {
    const int k = static_cast<int>(i);
    PNT_3D p = e.GetVertexPos(k);
    p.scale(c_, f_);
    e.SetVertexPos(k, p);
    const CVertex& v = e[k];
    e.SetVertexWidth(k, v.GetWidthStart() * f_, v.GetWidthEnd() * f_);
  }
  e.calcBdry();
}

void CEntScaleVisitor::visit(CEntArc& e) {
  e.getArc().scale(c_, f_);
  e.calcBdry();
}

void CEntScaleVisitor::visit(CEntCircle& e) {
  e.getCircle().scale(c_, f_);
  e.calcBdry();
}

void CEntScaleVisitor::visit(CEntLine& e) {
  e.getLine().scale(c_, f_);
  e.calcBdry();
}

void CEntScaleVisitor::visit(CEntPnt& e) {
  e.getPnt().scale(c_, f_);
  e.calcBdry();
}
