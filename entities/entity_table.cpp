// entities/entity_table.cpp: CEntTable and its iterator. Besides the two lists the table keeps an
// index (entity -> node, handle -> entities in list order) so that remove and get never walk the
// list; every operation that links or unlinks an entity node updates the index in the same step.
#include <veltcore/entities/entity_table.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <unordered_map>

#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/insert.h>

using EntList = std::mylist<CEnt*>;

// Every entity of the list has one Entry, holding its node. Entries with the same handle are
// chained in list order; since the list only grows at its end, a new entity is the last of its
// chain. The handle is the one the entity had when it was added, so the chains stay consistent.
struct CEntTable::Index {
  struct Entry {
    EntList::iterator node;
    Entry* prevSame;
    Entry* nextSame;
    std::int32_t handle;
  };
  struct Chain {
    Entry* first;
    Entry* last;
  };

  // Element addresses of unordered_map survive rehashing, so the chains may point at entries.
  std::unordered_map<const CEnt*, Entry> entries;
  std::unordered_map<std::int32_t, Chain> chains;

  // Either both maps gain the entity or, when memory runs out, neither does. False, with
  // nothing changed, when e is already there: one hash lookup both tests and inserts.
  bool insert(CEnt* e, EntList::iterator node) {
    const auto h = static_cast<std::int32_t>(e->GetHandle());
    const auto [it, added] = entries.try_emplace(e, Entry{node, nullptr, nullptr, h});
    if (!added) return false;
    Entry& entry = it->second;
    try {
      auto [chain, fresh] = chains.try_emplace(h, Chain{&entry, &entry});
      if (fresh) return true;
      entry.prevSame = chain->second.last;
      chain->second.last->nextSame = &entry;
      chain->second.last = &entry;
    } catch (...) {
      entries.erase(e);
      throw;
    }
    return true;
  }

  void erase(std::unordered_map<const CEnt*, Entry>::iterator it) {
    Entry& entry = it->second;
    Chain& chain = chains.find(entry.handle)->second;
    (entry.prevSame ? entry.prevSame->nextSame : chain.first) = entry.nextSame;
    (entry.nextSame ? entry.nextSame->prevSame : chain.last) = entry.prevSame;
    if (!chain.first) chains.erase(entry.handle);
    entries.erase(it);
  }

  CEnt* first(long handle) const {
    // Handles are 32-bit: a value outside that range is nobody's handle.
    if (handle < std::numeric_limits<std::int32_t>::min() ||
        handle > std::numeric_limits<std::int32_t>::max())
      return nullptr;
    const auto chain = chains.find(static_cast<std::int32_t>(handle));
    return chain == chains.end() ? nullptr : *chain->second.first->node;
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
  if (!e) return;
  // Linked before addTbls so that a failure at any step can be undone and leaves nothing behind.
  entities_.push_back(e);
  bool added = false;
  try {
    added = index_->insert(e, std::prev(entities_.end()));
  } catch (...) {
    entities_.pop_back();
    throw;
  }
  if (!added) {  // already in the table
    entities_.pop_back();
    return;
  }
  try {
    e->addTbls(gestor_);
  } catch (...) {
    // Not in the table after all: the caller still owns e.
    index_->erase(index_->entries.find(e));
    entities_.pop_back();
    throw;
  }
  if (bdryValid_ && e->getBdry().validRegion() && !onFrozenLayer(e))
    bdry_.updateRegion(e->getBdry());
}

void CEntTable::remove(CEnt* e) {
  const auto found = index_->entries.find(e);
  if (found == index_->entries.end()) return;
  EntList::iterator node = found->second.node;
  _remove(node);
}

void CEntTable::_remove(EntList::iterator& node) {
  CEnt* e = *node;
  if (e->isSelected()) unselect(e);
  index_->erase(index_->entries.find(e));
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
    index_->erase(index_->entries.find(e.get()));
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
  return index_->entries.count(e) != 0;
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
