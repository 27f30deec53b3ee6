// veltcore/entities/visitor.h: IEntVisitor, the double-dispatch interface every entity's accept
// calls, and IEntFooVisitor, a base whose visits all do nothing.
// Visitors are never deleted through these interfaces: their destructors are protected.
#pragma once

class CEntInsert;

// One visit per concrete entity class. The full list, in slot order, is: CVertex (does nothing
// here), CEnt3DFace, CEntHatch, CEntAttrib, CEntInsertXRef, CEntInsert, CEntAttdef, CEntText,
// CEntPolyline, CEntArc, CEntCircle, CEntLine, CEntPnt. Each class adds its visit at its place in
// that order when it joins the library; the ones present today follow.
class IEntVisitor {
 public:
  virtual void visit(CEntInsert& e) = 0;

 protected:
  // Not virtual by design: no visitor is owned or deleted through this interface.
  ~IEntVisitor() = default;
};

// Does nothing for every entity; visitors that care about a few classes derive from it and
// override only those. Keeps every visit of IEntVisitor, in the same order.
class IEntFooVisitor : public IEntVisitor {
 public:
  void visit(CEntInsert&) override {}

 protected:
  ~IEntFooVisitor() = default;
};
