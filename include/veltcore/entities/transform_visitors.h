// veltcore/entities/transform_visitors.h: visitors that transform entities in place.
// CEntMoveVisitor moves an entity by an offset; each entity class handles it in its own
// visit, so the visitor grows a visit with every entity class.
// CEntRotateXYVisitor turns entities about a vertical axis and CEntScaleVisitor scales them
// uniformly about a centre, each class as its own visit says.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/entities/visitor.h>

class CEntMoveVisitor : public IEntVisitor {
 public:
  explicit CEntMoveVisitor(const PNT_3D& d) : d_(d) {}

  // A lone vertex is moved with its polyline, never by itself.
  using IEntVisitor::visit;
  // The four vertices and the box move (a move keeps the triangle mark true or false).
  void visit(CEnt3DFace& e) override;
  // The generated block's entities and box, the boundary and the hatch's box move; nothing is
  // regenerated.
  void visit(CEntHatch& e) override;
  // The placement point and the box move (text, definition and attribute alike).
  void visit(CEntAttrib& e) override;
  // The insertion point and the box move; the block is untouched.
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  // As the attribute.
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  // Every vertex moves (last to first) and the box moves with them, not recomputed.
  void visit(CEntPolyline& e) override;
  // The centre moves and the box is recomputed.
  void visit(CEntArc& e) override;
  void visit(CEntCircle& e) override;
  // Both ends move and the box is recomputed.
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;

 private:
  PNT_3D d_;
};

// Turns entities by a radians (counter-clockwise) about the vertical axis through c; every point
// turns as PNT_3D::rotate, z unchanged.
class CEntRotateXYVisitor : public IEntVisitor {
 public:
  CEntRotateXYVisitor(const PNT_3D& c, double a) : c_(c), a_(a) {}

  // A lone vertex turns with its polyline, never by itself.
  using IEntVisitor::visit;
  // The four vertices turn and the box is recomputed.
  void visit(CEnt3DFace& e) override;
  // The generated block's entities turn and its box is recomputed, the boundary turns, the hatch
  // angle takes a and is brought into [0, 2*pi] by as many steps as it needs, and the box is
  // recomputed; nothing is regenerated.
  void visit(CEntHatch& e) override;
  // TEXT_3D::rotate (one 2*pi step, then CTextContext::setRotate) and the box is recomputed.
  void visit(CEntAttrib& e) override;
  // The insertion point turns and the rotation takes a, brought back by one 2*pi step at most
  // (exactly 2*pi stays), through setRotate, which recomputes the box.
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  // As the attribute.
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  // Every vertex turns (last to first) and the box is recomputed.
  void visit(CEntPolyline& e) override;
  // ARC_3D::rotate (one 2*pi step per angle) and the box is recomputed.
  void visit(CEntArc& e) override;
  // The centre turns and the box is recomputed.
  void visit(CEntCircle& e) override;
  // Both ends turn and the box is recomputed.
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;

 private:
  PNT_3D c_;
  double a_;
};

// Scales entities by f about c on all three axes: every point p becomes c + (p - c) * f, and
// lengths (radii, heights, widths, insert scales, hatch scale) are multiplied by f.
class CEntScaleVisitor : public IEntVisitor {
 public:
  CEntScaleVisitor(const PNT_3D& c, double f) : c_(c), f_(f) {}

  // A lone vertex is scaled with its polyline, never by itself.
  using IEntVisitor::visit;
  // The four vertices are scaled and the box is scaled with them, not recomputed.
  void visit(CEnt3DFace& e) override;
  // The generated block's entities are scaled and its box recomputed, the boundary is scaled,
  // the hatch scale is multiplied by f and the hatch's box is scaled, not recomputed; nothing is
  // regenerated.
  void visit(CEntHatch& e) override;
  // TEXT_3D::scale (placement point and height) and the box is recomputed.
  void visit(CEntAttrib& e) override;
  // The insertion point is scaled and the three scales multiplied by f, through setInsert with
  // the rotation unchanged, which recomputes the box.
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  // As the attribute.
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  // Every vertex (last to first) is scaled and its two widths multiplied by f; then the box is
  // recomputed.
  void visit(CEntPolyline& e) override;
  // CIRCLE_3D::scale (centre and radius) and the box is recomputed.
  void visit(CEntArc& e) override;
  void visit(CEntCircle& e) override;
  // Both ends are scaled and the box is recomputed.
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;

 private:
  PNT_3D c_;
  double f_;
};
