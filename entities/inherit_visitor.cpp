// entities/inherit_visitor.cpp: IEntInheritVisitor, whose entity visits forward up the class
// tree. Each forward is a virtual call, so a derived visitor's override of a higher level sees
// every class below it.
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/visitor.h>
#include <veltcore/hatch/ent_hatch.h>

// Texts below the text: the definition and the attribute.
void IEntInheritVisitor::visit(CEntAttdef& e) {
  visit(static_cast<CEntText&>(e));
}

void IEntInheritVisitor::visit(CEntAttrib& e) {
  visit(static_cast<CEntText&>(e));
}

// Inserts below the insert: the hatch and the external-reference insert.
void IEntInheritVisitor::visit(CEntHatch& e) {
  visit(static_cast<CEntInsert&>(e));
}

void IEntInheritVisitor::visit(CEntInsertXRef& e) {
  visit(static_cast<CEntInsert&>(e));
}

// Every class directly below the entity base.
void IEntInheritVisitor::visit(CEnt3DFace& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntInsert& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntText& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntPolyline& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntArc& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntCircle& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntLine& e) {
  visit(static_cast<CEnt&>(e));
}

void IEntInheritVisitor::visit(CEntPnt& e) {
  visit(static_cast<CEnt&>(e));
}
