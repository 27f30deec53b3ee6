// dxf/in/pending_entities.cpp: discarding entities the DXF reader built but never handed over.
// Unbooking goes through the entity factory, which knows the entity's sub-objects.
#include "dxf/in/pending_entities.h"

#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>

namespace veltcore::dxfin {

void giveBackHandles(CEntFactory& factory, IHandleGestor& gestor, IHandleEnt* object) noexcept {
  try {
    factory.unbookHandle(gestor, object);
  } catch (...) {
  }
}

PendingEntities::~PendingEntities() {
  for (CEnt* e : list_) discardEntity(factory_, gestor_, e);
}

void PendingEntities::append(CEnt* e) {
  try {
    list_.push_back(e);
  } catch (...) {
    discardEntity(factory_, gestor_, e);
    throw;
  }
}

}  // namespace veltcore::dxfin
