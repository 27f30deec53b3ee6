// veltcore/entities/poly_adder_visitor.h: CEntPolyAdderVisitor, which chains lines and open
// polylines onto a target polyline when an end of theirs meets an end of the target (exactly),
// and closes the target when a piece joins both its ends.
#pragma once

#include <veltcore/entities/visitor.h>

class CEnt;
class CEntFactory;
class CEntPolyline;
class IHandleGestor;
class PNT_3D;

// Built on the stack over one target. The target owns every vertex the adder gives it (made
// through the factory with fresh handles); the visited entities are only read. The target is
// meant to be a plain polyline (not a curve): its ends are its first and last vertices.
class CEntPolyAdderVisitor : public IEntFooVisitor {
 public:
  // inTable says whether the target is in a table: it is passed to the target's vertex
  // insertion (handles reserved) and to its open and close.
  CEntPolyAdderVisitor(IHandleGestor& g, CEntFactory& f, CEntPolyline& target, bool inTable);

  // Tries to chain e onto the target and returns how many segments that added (closing counts
  // one); 0 when e is neither a line nor an open polyline of two or more control points, or
  // when it meets no end of the target.
  long visit(CEnt* e);

  using IEntFooVisitor::visit;
  void visit(CEntLine& e) override;
  void visit(CEntPolyline& e) override;

 private:
  // A new vertex at p with the given widths, at the front (the end) of the target.
  void addVertexAhead(const PNT_3D& p, double widthStart, double widthEnd);
  void addVertexTail(const PNT_3D& p, double widthStart, double widthEnd);
  // Copies of p's control vertices i, i +- 1, ..., j (either way round), each with its position
  // and widths, so that the target begins with vertex i and reaches vertex j just before its
  // old first vertex (Ahead), or runs on from its old last vertex into vertex i and ends with j
  // (Tail). The count becomes |i - j| + 1.
  void addPolyAhead(const CEntPolyline& p, long i, long j);
  void addPolyTail(const CEntPolyline& p, long i, long j);
  // Inserts copies of p's vertices i ... j at index at of the target, in one step.
  void insertRun(const CEntPolyline& p, long i, long j, long at);
  // The current ends read again from the target's first and last control points.
  void takeEnds();
  void openTarget();
  void closeTarget();

  IHandleGestor& g_;
  CEntFactory& f_;
  bool inTable_;
  CEntPolyline& target_;
  // Point into the target's own vertices, so they stay valid whatever becomes of the entities
  // visited; null while the target has no vertex.
  const PNT_3D* first_;
  const PNT_3D* last_;
  long count_;
};
