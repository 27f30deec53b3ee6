// database/named_item_table.cpp: CNamedItemTableImp, the ordered owning list of table items, its
// case-blind lookup and its case-sensitive progressive names, both answered by an index that
// hears of every change to the list. Deletes items only in the destructor and clearAll; remove
// hands the item back to the caller.
#include <veltcore/database/named_item.h>

#include <algorithm>
#include <string>

#include "database/named_item_index.h"

using veltcore::detail::NamedItemIndex;

CNamedItemTableImp::CNamedItemTableImp() : index_(std::make_unique<NamedItemIndex>()) {}

CNamedItemTableImp::~CNamedItemTableImp() {
  clearAll();
}

void CNamedItemTableImp::clearAll() {
  for (CNamedItem* item : items_) delete item;
  releaseAll();
}

void CNamedItemTableImp::releaseAll() {
  items_.clear();
  index_->cleared();
}

void CNamedItemTableImp::add(CNamedItem* item) {
  items_.push_back(item);
  index_->added(item);
}

void CNamedItemTableImp::remove(CNamedItem* item) {
  const auto at = std::find(items_.begin(), items_.end(), item);
  if (at == items_.end()) return;
  items_.erase(at);
  index_->removedFirst(item);
}

CNamedItem* CNamedItemTableImp::get(const String& name) const {
  return index_->find(items_, name);
}

long CNamedItemTableImp::getProgNum(const String& base) const {
  return index_->progNum(items_, base);
}

const String CNamedItemTableImp::GetProgName(const String& base) const {
  String name(base);
  name += std::to_string(getProgNum(base)).c_str();
  return name;
}
