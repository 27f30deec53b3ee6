// veltcore/entities/transform_visitors.h: visitors that transform entities in place.
// CEntMoveVisitor moves an entity by an offset; each entity class handles it in its own
// visit, so the visitor grows a visit with every entity class.
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
