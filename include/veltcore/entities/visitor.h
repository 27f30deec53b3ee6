// veltcore/entities/visitor.h: IEntVisitor, the double-dispatch interface every entity's accept
// calls, and IEntFooVisitor, a base whose visits all do nothing.
// IEntInheritVisitor forwards each visit up the class tree, ending at visit(CEnt&).
// Visitors are never deleted through these interfaces: their destructors are protected.
#pragma once

class CEnt;
class CEnt3DFace;
class CEntArc;
class CEntAttdef;
class CEntAttrib;
class CEntCircle;
class CEntHatch;
class CEntInsert;
class CEntInsertXRef;
class CEntLine;
class CEntPnt;
class CEntPolyline;
class CEntText;
class CVertex;

// One visit per concrete entity class. The full list, in slot order, is: CVertex (does nothing
// here), CEnt3DFace, CEntHatch, CEntAttrib, CEntInsertXRef, CEntInsert, CEntAttdef, CEntText,
// CEntPolyline, CEntArc, CEntCircle, CEntLine, CEntPnt.
class IEntVisitor {
 public:
  // Vertices are visited with their polyline; a visitor that wants them alone overrides this.
  virtual void visit(CVertex&) {}
  virtual void visit(CEnt3DFace& e) = 0;
  virtual void visit(CEntHatch& e) = 0;
  virtual void visit(CEntAttrib& e) = 0;
  virtual void visit(CEntInsertXRef& e) = 0;
  virtual void visit(CEntInsert& e) = 0;
  virtual void visit(CEntAttdef& e) = 0;
  virtual void visit(CEntText& e) = 0;
  virtual void visit(CEntPolyline& e) = 0;
  virtual void visit(CEntArc& e) = 0;
  virtual void visit(CEntCircle& e) = 0;
  virtual void visit(CEntLine& e) = 0;
  virtual void visit(CEntPnt& e) = 0;

 protected:
  // Not virtual by design: no visitor is owned or deleted through this interface.
  ~IEntVisitor() = default;
};

// Does nothing for every entity; visitors that care about a few classes derive from it and
// override only those (with `using IEntFooVisitor::visit;` to keep the other overloads in
// sight). Keeps every visit of IEntVisitor, in the same order.
class IEntFooVisitor : public IEntVisitor {
 public:
  void visit(CVertex&) override {}
  void visit(CEnt3DFace&) override {}
  void visit(CEntHatch&) override {}
  void visit(CEntAttrib&) override {}
  void visit(CEntInsertXRef&) override {}
  void visit(CEntInsert&) override {}
  void visit(CEntAttdef&) override {}
  void visit(CEntText&) override {}
  void visit(CEntPolyline&) override {}
  void visit(CEntArc&) override {}
  void visit(CEntCircle&) override {}
  void visit(CEntLine&) override {}
  void visit(CEntPnt&) override {}

 protected:
  ~IEntFooVisitor() = default;
};

// Adds slot 13, visit(CEnt&), and forwards every entity visit along the class tree: attribute
// definitions and attributes to visit(CEntText&), hatches and external-reference inserts to
// visit(CEntInsert&), and every other entity (3D face, insert, text, polyline, arc, circle,
// line, point) to visit(CEnt&), which does nothing. A visitor derived from it overrides only the
// levels it cares about (with `using IEntInheritVisitor::visit;`); an override that wants the
// levels above calls this class's visit for its own class. The forwarding calls are virtual, so
// an override of visit(CEntText&) also sees attribute definitions and attributes.
class IEntInheritVisitor : public IEntVisitor {
 public:
  using IEntVisitor::visit;
  void visit(CEnt3DFace& e) override;
  void visit(CEntHatch& e) override;
  void visit(CEntAttrib& e) override;
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  void visit(CEntPolyline& e) override;
  void visit(CEntArc& e) override;
  void visit(CEntCircle& e) override;
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;
  // Slot 13: the root of the tree; does nothing.
  virtual void visit(CEnt&) {}

 protected:
  ~IEntInheritVisitor() = default;
};
