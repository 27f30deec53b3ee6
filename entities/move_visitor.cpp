// entities/move_visitor.cpp: CEntMoveVisitor, moving entities by an offset.
// Points, lines, circles and arcs recompute their box after the move; faces, inserts and hatches
// move their box along instead.
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

// A move does not change a text's shape: the box travels with the placement point.
void moveTextBy(CEntText& e, const PNT_3D& d) {
  e.getText().getPnt().move(d);
  e.getBdry().move(d);
}

}  // namespace

void CEntMoveVisitor::visit(CEnt3DFace& e) {
  for (long i = 0; i < 4; ++i) e.getVertex(i).move(d_);
  e.getBdry().move(d_);
}

// The generated block moves with the hatch (its entities, then its box), never regenerated.
void CEntMoveVisitor::visit(CEntHatch& e) {
  if (CBlock* block = e.getBlock()) {
    for (int i = 0; i < block->size(); ++i) (*block)[i]->accept(*this);
    block->calcBdry();
  }
  for (long i = 0; i < e.getNoPnts(); ++i) e.getPnt(i).move(d_);
  e.getBdry().move(d_);
}

void CEntMoveVisitor::visit(CEntInsertXRef& e) {
  visit(static_cast<CEntInsert&>(e));
}

void CEntMoveVisitor::visit(CEntInsert& e) {
  e.getPnt().move(d_);
  e.getBdry().move(d_);
}

void CEntMoveVisitor::visit(CEntAttrib& e) {
  moveTextBy(e, d_);
}

void CEntMoveVisitor::visit(CEntAttdef& e) {
  moveTextBy(e, d_);
}

void CEntMoveVisitor::visit(CEntText& e) {
  moveTextBy(e, d_);
}

void CEntMoveVisitor::visit(CEntArc& e) {
  e.getArc().centre.move(d_);
  e.calcBdry();
}

void CEntMoveVisitor::visit(CEntCircle& e) {
  e.getCircle().centre.move(d_);
  e.calcBdry();
}

void CEntMoveVisitor::visit(CEntLine& e) {
  e.getLine().move(d_);
  e.calcBdry();
}

void CEntMoveVisitor::visit(CEntPnt& e) {
  e.getPnt().move(d_);
  e.calcBdry();
}

void CEntMoveVisitor::visit(CEntPolyline& e) {
  for (long i = e.getNoTotalVertexes() - 1; i >= 0; --i) {
    const int k = static_cast<int>(i);
    PNT_3D p = e.GetVertexPos(k);
    p.move(d_);
    e.SetVertexPos(k, p);
  }
  e.getBdry().move(d_);
}
