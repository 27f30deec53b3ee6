// hatch/hatch_block.cpp: HatchBlock (hatch_block.h). Touches the block, the entity factory and
// the handle manager only.
#include "hatch/hatch_block.h"

#include <new>

#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/geometry/line.h>

namespace veltcore::hatch {

HatchBlock::HatchBlock(CBlock* block, IHandleGestor& g, CEntFactory& ef, const EntityStyle& style)
    : block_(block), g_(g), ef_(ef), style_(style) {}

HatchBlock::~HatchBlock() {
  if (!block_) return;
  // The entities never entered the drawing: their handles go back before they are deleted.
  // A manager that cannot take one back leaves it booked; a destructor has no better choice.
  try {
    for (int i = 0; i < block_->size(); ++i) ef_.unbookHandle(g_, (*block_)[i]);
  } catch (...) {
  }
}

void HatchBlock::addLine(const PNT_2D& from, const PNT_2D& to) {
  const LINE_3D l(from.getX(), from.getY(), style_.z, to.getX(), to.getY(), style_.z);
  adopt(ef_.createEntLine(g_, style_.layer, style_.ltype, style_.color, l, 0));
}

void HatchBlock::addPoint(const PNT_2D& at) {
  const PNT_3D p(at.getX(), at.getY(), style_.z);
  adopt(ef_.createEntPnt(g_, style_.layer, style_.ltype, style_.color, p, 0));
}

void HatchBlock::adopt(CEnt* e) {
  // A null entity still has its booked handle, which only the factory knew: it stays booked.
  if (e == nullptr) throw std::bad_alloc();
  std::unique_ptr<CEnt> owned(e);
  try {
    block_->add(e);
  } catch (...) {
    ef_.unbookHandle(g_, e);
    throw;
  }
  owned.release();
}

}  // namespace veltcore::hatch
