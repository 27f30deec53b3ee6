// veltcore/entities/cast_visitors.h: the type tests. Each CGet*Visitor matches exactly one
// concrete entity class through double dispatch, and each cast* function asks one on the stack.
// The test is exact: an attribute definition or an attribute is not a text for castText, and a
// hatch or an external-reference insert is matched by none of them (there is no castInsert).
#pragma once

#include <veltcore/entities/visitor.h>

class CEnt;

// Every getter sets the result to null, lets e accept the visitor and returns the result: e
// itself when it is of the class, null otherwise. e must not be null.
class CGetPntVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntPnt& e) override;
  CEntPnt* getPnt(CEnt* e);

 private:
  CEntPnt* result_ = nullptr;
};

class CGetLineVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntLine& e) override;
  CEntLine* getLine(CEnt* e);

 private:
  CEntLine* result_ = nullptr;
};

class CGetCircleVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntCircle& e) override;
  CEntCircle* getCircle(CEnt* e);

 private:
  CEntCircle* result_ = nullptr;
};

class CGetArcVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntArc& e) override;
  CEntArc* getArc(CEnt* e);

 private:
  CEntArc* result_ = nullptr;
};

class CGetPolylineVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntPolyline& e) override;
  CEntPolyline* getPolyline(CEnt* e);

 private:
  CEntPolyline* result_ = nullptr;
};

// The plain text only: definitions and attributes have visits of their own.
class CGetTextVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntText& e) override;
  CEntText* getText(CEnt* e);

 private:
  CEntText* result_ = nullptr;
};

class CGetAttdefVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntAttdef& e) override;
  CEntAttdef* getAttdef(CEnt* e);

 private:
  CEntAttdef* result_ = nullptr;
};

class CGetAttribVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntAttrib& e) override;
  CEntAttrib* getAttrib(CEnt* e);

 private:
  CEntAttrib* result_ = nullptr;
};

class CGetHatchVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEntHatch& e) override;
  CEntHatch* getHatch(CEnt* e);

 private:
  CEntHatch* result_ = nullptr;
};

class CGet3DFaceVisitor : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  void visit(CEnt3DFace& e) override;
  CEnt3DFace* get3DFace(CEnt* e);

 private:
  CEnt3DFace* result_ = nullptr;
};

// e as the named class, or null; e must not be null.
CEntPnt* castPnt(CEnt* e);
CEntLine* castLine(CEnt* e);
CEntCircle* castCircle(CEnt* e);
CEntArc* castArc(CEnt* e);
CEntPolyline* castPolyline(CEnt* e);
CEntText* castText(CEnt* e);
CEntAttdef* castAttdef(CEnt* e);
CEntAttrib* castAttrib(CEnt* e);
CEntHatch* castHatch(CEnt* e);
CEnt3DFace* cast3DFace(CEnt* e);
