// entities/clone_ent.cpp: cloneEnt, the drawing-level copy of an entity through the drawing's
// own factory, handle manager, block factory and block table. The copy is in no table.
#include <veltcore/database/data.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>

CEnt* cloneEnt(CData& d, const CEnt& e) {
  return d.getEntFactory().clone(d.getHandleGestor(), d.getBlockFactory(), d.getBlockTable(), e);
}
