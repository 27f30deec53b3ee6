// entities/rotate_visitor.cpp: CEntRotateXYVisitor, turning entities about a vertical axis.
// Every entity's box is recomputed after the turn (inserts through setRotate). The angle rules
// differ by class: an insert's rotation is brought back by one 2*pi step at most, a hatch's
// angle by as many as it takes, and texts and arcs follow their own geometry's rotate.
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

#include "geometry/arc_angles.h"

namespace {

using veltcore::geom::kTwoPi;

void rotateText(CEntText& e, const PNT_3D& c, double a) {
  e.getText().rotate(c, a);
  e.calcBdry();
}

}  // namespace

void CEntRotateXYVisitor::visit(CEnt3DFace& e) {
  for (long i = 0; i < 4; ++i) e.getVertex(i).rotate(c_, a_);
  e.calcBdry();
}

// The generated block turns with the hatch (its entities, then its box), never regenerated.
void CEntRotateXYVisitor::visit(CEntHatch& e) {
  if (CBlock* block = e.getBlock()) {
    for (int i = 0; i < block->size(); ++i) (*block)[i]->accept(*this);
    block->calcBdry();
  }
  for (long i = 0; i < e.getNoPnts(); ++i) e.getPnt(i).rotate(c_, a_);
  // Brought into [0, 2*pi] by repeated steps (guarded against angles no step can move).
  e.setHatchRotate(veltcore::geom::normAngle(e.getHatchRotate() + a_));
  e.calcBdry();
}

void CEntRotateXYVisitor::visit(CEntAttrib& e) {
  rotateText(e, c_, a_);
}

void CEntRotateXYVisitor::visit(CEntInsertXRef& e) {
  visit(static_cast<CEntInsert&>(e));
}

// One step only: a rotation of exactly 2*pi stays, and one further out stays out of range.
void CEntRotateXYVisitor::visit(CEntInsert& e) {
  e.getPnt().rotate(c_, a_);
  double r = e.getRotate() + a_;
  if (r < 0.0) {
    r += kTwoPi;
  } else if (r > kTwoPi) {
    r -= kTwoPi;
  }
  e.setRotate(r);
}

void CEntRotateXYVisitor::visit(CEntAttdef& e) {
  rotateText(e, c_, a_);
}

void CEntRotateXYVisitor::visit(CEntText& e) {
  rotateText(e, c_, a_);
}

void CEntRotateXYVisitor::visit(CEntPolyline& e) {
  for (long i = e.getNoTotalVertexes() - 1; i >= 0; --i) {
    const int k = static_cast<int>(i);
    PNT_3D p = e.GetVertexPos(k);
    p.rotate(c_, a_);
    e.SetVertexPos(k, p);
  }
  e.calcBdry();
}

void CEntRotateXYVisitor::visit(CEntArc& e) {
  e.getArc().rotate(c_, a_);
  e.calcBdry();
}

void CEntRotateXYVisitor::visit(CEntCircle& e) {
  e.getCircle().centre.rotate(c_, a_);
  e.calcBdry();
}

void CEntRotateXYVisitor::visit(CEntLine& e) {
  e.getLine().rotate(c_, a_);
  e.calcBdry();
}

void CEntRotateXYVisitor::visit(CEntPnt& e) {
  e.getPnt().rotate(c_, a_);
  e.calcBdry();
}
