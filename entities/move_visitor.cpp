// entities/move_visitor.cpp: CEntMoveVisitor, moving entities by an offset.
// Moving keeps each box current by moving it too, instead of recomputing it.
#include <veltcore/entities/insert.h>
#include <veltcore/entities/transform_visitors.h>

void CEntMoveVisitor::visit(CEntInsert& e) {
  e.getPnt().move(d_);
  e.getBdry().move(d_);
}
