// entities/memento.cpp: the base snapshot of an entity (layer, linetype, colour) and the shared
// part of every derived snapshot. Comparisons are by identity of the layer and linetype objects.
#include <veltcore/entities/memento.h>

#include <veltcore/entities/entity.h>

CEntBaseMemento::CEntBaseMemento(const CEnt& e)
    : layer_(e.getLayer()), ltype_(e.getLtype()), color_(e.getColor()) {}

CEntBaseMemento::~CEntBaseMemento() = default;

bool CEntBaseMemento::operator==(const CEnt& e) const {
  return ltype_ == e.getLtype() && layer_ == e.getLayer() && color_ == e.getColor();
}

IEntDerivedMemento::~IEntDerivedMemento() = default;

IEntDerivedMemento* IEntDerivedMemento::fitMemento(const CEnt&) {
  return nullptr;
}
