// entities/entity.cpp: CEnt's shared state, table membership (handle and counts), the base
// snapshot and the comparisons with snapshots.
// Counts on layers and linetypes move here and nowhere else in the base class.
#include <veltcore/entities/entity.h>

#include <veltcore/core/object_heap.h>

#include <veltcore/database/layer.h>
#include <veltcore/entities/memento.h>
#include <veltcore/linetypes/linetype.h>

namespace {

// The count of one use moves from the item in place to the new one; either may be null.
template <class Item>
void moveUse(Item*& place, Item* item) {
  if (place) place->decEntity();
  place = item;
  if (place) place->addEntity();
}

}  // namespace

CEnt::CEnt(long handle, CLayer* layer, CLtype* ltype, short color)
    : IHandleEnt(handle), layer_(layer), ltype_(ltype), userType_(0), userData_(0), color_(color) {
  bdry_.initRegion();
}

CEnt::CEnt(const CEnt& src, long handle)
    : IHandleEnt(handle),
      bdry_(src.bdry_),
      layer_(src.layer_),
      ltype_(src.ltype_),
      userType_(src.userType_),
      userData_(src.userData_),
      color_(src.color_) {}

CEnt::~CEnt() = default;

void* CEnt::operator new(std::size_t size) {
  return veltcore::detail::allocateObject(size);
}

void CEnt::operator delete(void* p, std::size_t size) noexcept {
  veltcore::detail::freeObject(p, size);
}

void CEnt::addTbls(IHandleGestor& g) const {
  try {
    g.reserve(this);
  } catch (const IHandleGestor::HandleAlreadyUsedException&) {
    // A handle already in use does not keep the entity out: it is still counted below.
  }
  if (layer_) layer_->addEntity();
  if (ltype_) ltype_->addEntity();
}

void CEnt::removeTbls(IHandleGestor& g) const {
  g.release(GetHandle());
  if (layer_) layer_->decEntity();
  if (ltype_) ltype_->decEntity();
}

CStyle* CEnt::getStyle() const {
  return nullptr;
}

void CEnt::setStyle(CStyle*) {}

CEntInsert* CEnt::getEntInsert() {
  return nullptr;
}

const CEntInsert* CEnt::getEntInsert() const {
  return nullptr;
}

void CEnt::setLayer(CLayer* layer) {
  moveUse(layer_, layer);
}

void CEnt::setLtype(CLtype* ltype) {
  moveUse(ltype_, ltype);
}

CEntBaseMemento* CEnt::createBaseMemento() const {
  return new CEntBaseMemento(*this);
}

void CEnt::setMemento(const CEntBaseMemento* m) {
  moveUse(ltype_, m->getLtype());
  moveUse(layer_, m->getLayer());
  color_ = m->getColor();
}

bool CEnt::operator==(const CEntBaseMemento& m) const {
  return m == *this;
}

bool CEnt::operator!=(const CEntBaseMemento& m) const {
  return m != *this;
}

bool CEnt::operator==(const IEntDerivedMemento& m) const {
  return m == *this;
}

bool CEnt::operator!=(const IEntDerivedMemento& m) const {
  return m != *this;
}
