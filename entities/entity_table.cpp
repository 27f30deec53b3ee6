// entities/entity_table.cpp: CEntTable and its iterator. Each entity of the table carries its
// own link (its node, and its neighbours among entities of the same handle); the table keeps
// handle -> first such entity. So remove, get and membership tests never walk the list, and every
// operation that links or unlinks an entity node updates link and index in the same step.
#include <veltcore/entities/entity_table.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>

#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/insert.h>
#include "core/rising_key_map.h"

using EntList = std::mylist<CEnt*>;

// Handle -> the first entity of that handle's ring. Since the list only grows at its end, a new
// entity goes last in its ring, and ring order stays list order. Handles are read while a
// drawing is built mostly in rising order, which the map is made for.
struct CEntTable::Index {
  veltcore::detail::RisingKeyMap<CEnt> firsts;

  // Links e, already at node, into the table. Either all of it happens or, when memory runs
  // out, nothing does.
  void link(const CEntTable& table, CEnt* e, EntList::iterator node) {
    const auto h = static_cast<std::int32_t>(e->GetHandle());
    CEnt* first = firsts.find(h);
    if (first == nullptr) {
      firsts.assign(h, e);
      e->tableLink_ = CEnt::TableLink{&table, node, e, e, h};
      return;
    }
    CEnt* last = first->tableLink_.prevSame;
    e->tableLink_ = CEnt::TableLink{&table, node, last, first, h};
    last->tableLink_.nextSame = e;
    first->tableLink_.prevSame = e;
  }

  // Takes e out of its ring and forgets its link. Never allocates.
  void unlink(CEnt* e) {
    CEnt::TableLink& link = e->tableLink_;
    if (link.nextSame == e) {
      firsts.erase(link.handle);
    } else {
      link.prevSame->tableLink_.nextSame = link.nextSame;
      link.nextSame->tableLink_.prevSame = link.prevSame;
      if (firsts.find(link.handle) == e) firsts.assign(link.handle, link.nextSame);
    }
    link = CEnt::TableLink{};
  }

  CEnt* first(long handle) const {
    // Handles are 32-bit: a value outside that range is nobody's handle.
    if (handle < std::numeric_limits<std::int32_t>::min() ||
        handle > std::numeric_limits<std::int32_t>::max())
      return nullptr;
    return firsts.find(static_cast<std::int32_t>(handle));
  }
};

namespace {

bool onFrozenLayer(const CEnt* e) {
  return e->getLayer() && e->getLayer()->isFrozen();
}

}  // namespace

CEntTable::CEntTable(IHandleGestor& g, CBlockXRefDepend& depend)
    : depend_(depend), gestor_(g), bdryValid_(true), index_(std::make_unique<Index>()) {
  bdry_.initRegion();
}

CEntTable::~CEntTable() {
  clearAll();
}

void CEntTable::add(CEnt* e) {
  if (!e || contains(e)) return;
  // Linked before addTbls so that a failure at any step can be undone and leaves nothing behind.
  entities_.push_back(e);
  try {
    index_->link(*this, e, std::prev(entities_.end()));
  } catch (...) {
    entities_.pop_back();
    throw;
  }
  try {
    e->addTbls(gestor_);
  } catch (...) {
    // Not in the table after all: the caller still owns e.
    index_->unlink(e);
    entities_.pop_back();
    throw;
  }
  if (bdryValid_ && e->getBdry().validRegion() && !onFrozenLayer(e))
    bdry_.updateRegion(e->getBdry());
}

void CEntTable::remove(CEnt* e) {
  if (!contains(e)) return;
  EntList::iterator node = e->tableLink_.node;
  _remove(node);
}

void CEntTable::_remove(EntList::iterator& node) {
  CEnt* e = *node;
  if (e->isSelected()) unselect(e);
  index_->unlink(e);
  node = entities_.erase(node);
  e->removeTbls(gestor_);
  bdryValid_ = false;
}

void CEntTable::clearAll() {
  while (!entities_.empty()) {
    // Unlinked before removeTbls, so that a manager that throws leaves the table consistent;
    // the entity is deleted either way.
    std::unique_ptr<CEnt> e(entities_.front());
    if (e->isSelected()) unselect(e.get());
    index_->unlink(e.get());
    entities_.pop_front();
    e->removeTbls(gestor_);
  }
  bdry_.initRegion();
  bdryValid_ = true;
}

void CEntTable::select(CEnt* e) {
  if (!e || e->isSelected() || !contains(e)) return;
  selection_.push_back(e);
  e->setSelectStatus(std::prev(selection_.end()));
}

void CEntTable::unselect(CEnt* e) {
  // An entity selected in some other table must not have its node unlinked from this list.
  if (!e || !e->isSelected() || !contains(e)) return;
  selection_.erase(*e->getSelectStatus());
  e->unselect();
}

void CEntTable::select(CEnt* e, bool on) {
  if (on)
    select(e);
  else
    unselect(e);
}

void CEntTable::unselectAll() {
  for (CEnt* e : selection_) e->unselect();
  selection_.clear();
}

CEnt* CEntTable::get(long handle) const {
  return index_->first(handle);
}

const RECT_3D& CEntTable::getBdry() const {
  if (!bdryValid_) recalcBdry();
  return bdry_;
}

void CEntTable::invalidateBdry() const {
  bdryValid_ = false;
}

void CEntTable::recalcBdry() const {
  bdry_.initRegion();
  for (CEnt* e : entities_) {
    if (onFrozenLayer(e)) continue;
    if (CEntInsert* insert = e->getEntInsert()) insert->calcBdry();
    bdry_.updateRegion(e->getBdry());
  }
  bdryValid_ = true;
}

bool CEntTable::contains(const CEnt* e) const {
  return e && e->tableLink_.table == this;
}

CEntTable::CEntIterator::CEntIterator(CEntTable& t, bool all)
    : table_(&t),
      list_(all ? &t.entities_ : &t.selection_),
      current_(list_->begin()),
      end_(list_->end()),
      all_(all) {}

CEntTable::CEntIterator::~CEntIterator() = default;

CEnt* CEntTable::CEntIterator::operator*() const {
  return current_ == end_ ? nullptr : *current_;
}

CEntTable::CEntIterator& CEntTable::CEntIterator::operator++() {
  if (current_ != end_) ++current_;
  return *this;
}

const CEntTable::CEntIterator CEntTable::CEntIterator::operator++(int) {
  const CEntIterator before(*this);
  ++*this;
  return before;
}

CEntTable::CEntIterator& CEntTable::CEntIterator::operator--() {
  if (current_ != list_->begin()) --current_;
  return *this;
}

const CEntTable::CEntIterator CEntTable::CEntIterator::operator--(int) {
  const CEntIterator before(*this);
  --*this;
  return before;
}

bool CEntTable::CEntIterator::isLast() const {
  return current_ == end_;
}

long CEntTable::CEntIterator::get_no_entities() const {
  return static_cast<long>(list_->size());
}

void CEntTable::CEntIterator::remove() {
  if (current_ == end_) return;
  if (all_) {
    table_->_remove(current_);
    return;
  }
  CEnt* e = *current_;
  ++current_;
  table_->unselect(e);
}
