// entities/cast_visitors.cpp: the type-test visitors and the cast* functions. Each visitor keeps
// the one visit it overrides; every other class falls to IEntFooVisitor's empty visits.
#include <veltcore/entities/cast_visitors.h>

#include <veltcore/entities/entity.h>

namespace {

// The getters' common part: clear the result, dispatch, answer what the visit stored.
template <class Class>
Class* ask(IEntVisitor& v, Class*& result, CEnt* e) {
  result = nullptr;
  e->accept(v);
  return result;
}

}  // namespace

void CGetPntVisitor::visit(CEntPnt& e) {
  result_ = &e;
}

CEntPnt* CGetPntVisitor::getPnt(CEnt* e) {
  return ask(*this, result_, e);
}

CEntPnt* castPnt(CEnt* e) {
  CGetPntVisitor v;
  return v.getPnt(e);
}

void CGetLineVisitor::visit(CEntLine& e) {
  result_ = &e;
}

CEntLine* CGetLineVisitor::getLine(CEnt* e) {
  return ask(*this, result_, e);
}

CEntLine* castLine(CEnt* e) {
  CGetLineVisitor v;
  return v.getLine(e);
}

void CGetCircleVisitor::visit(CEntCircle& e) {
  result_ = &e;
}

CEntCircle* CGetCircleVisitor::getCircle(CEnt* e) {
  return ask(*this, result_, e);
}

CEntCircle* castCircle(CEnt* e) {
  CGetCircleVisitor v;
  return v.getCircle(e);
}

void CGetArcVisitor::visit(CEntArc& e) {
  result_ = &e;
}

CEntArc* CGetArcVisitor::getArc(CEnt* e) {
  return ask(*this, result_, e);
}

CEntArc* castArc(CEnt* e) {
  CGetArcVisitor v;
  return v.getArc(e);
}

void CGetPolylineVisitor::visit(CEntPolyline& e) {
  result_ = &e;
}

CEntPolyline* CGetPolylineVisitor::getPolyline(CEnt* e) {
  return ask(*this, result_, e);
}

CEntPolyline* castPolyline(CEnt* e) {
  CGetPolylineVisitor v;
  return v.getPolyline(e);
}

void CGetTextVisitor::visit(CEntText& e) {
  result_ = &e;
}

CEntText* CGetTextVisitor::getText(CEnt* e) {
  return ask(*this, result_, e);
}

CEntText* castText(CEnt* e) {
  CGetTextVisitor v;
  return v.getText(e);
}

void CGetAttdefVisitor::visit(CEntAttdef& e) {
  result_ = &e;
}

CEntAttdef* CGetAttdefVisitor::getAttdef(CEnt* e) {
  return ask(*this, result_, e);
}

CEntAttdef* castAttdef(CEnt* e) {
  CGetAttdefVisitor v;
  return v.getAttdef(e);
}

void CGetAttribVisitor::visit(CEntAttrib& e) {
  result_ = &e;
}

CEntAttrib* CGetAttribVisitor::getAttrib(CEnt* e) {
  return ask(*this, result_, e);
}

CEntAttrib* castAttrib(CEnt* e) {
  CGetAttribVisitor v;
  return v.getAttrib(e);
}

void CGetHatchVisitor::visit(CEntHatch& e) {
  result_ = &e;
}

CEntHatch* CGetHatchVisitor::getHatch(CEnt* e) {
  return ask(*this, result_, e);
}

CEntHatch* castHatch(CEnt* e) {
  CGetHatchVisitor v;
  return v.getHatch(e);
}

void CGet3DFaceVisitor::visit(CEnt3DFace& e) {
  result_ = &e;
}

CEnt3DFace* CGet3DFaceVisitor::get3DFace(CEnt* e) {
  return ask(*this, result_, e);
}

CEnt3DFace* cast3DFace(CEnt* e) {
  CGet3DFaceVisitor v;
  return v.get3DFace(e);
}
