// database/named_item_table.cpp: CNamedItemTableImp, the ordered owning list of table items, its
// case-blind lookup and its case-sensitive progressive names. Deletes items only in the
// destructor and clearAll; remove hands the item back to the caller.
#include <veltcore/database/named_item.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The n >= 1 for which name is exactly base followed by the "%d" digits of n, or 0 when name has
// another form. Digits with a leading zero or a sign are never produced by "%d" for n >= 1, so
// such names block nothing. Numbers above cap are reported as 0: they cannot be the answer.
std::size_t progressiveNumberOf(const char* name, const char* base, std::size_t baseLength,
                                std::size_t cap) {
  if (std::strncmp(name, base, baseLength) != 0) return 0;
  const char* digits = name + baseLength;
  if (*digits < '1' || *digits > '9') return 0;
  std::size_t n = 0;
  for (const char* p = digits; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return 0;
    n = n * 10 + static_cast<std::size_t>(*p - '0');
    if (n > cap) return 0;
  }
  return n;
}

}  // namespace

CNamedItemTableImp::~CNamedItemTableImp() {
  clearAll();
}

void CNamedItemTableImp::clearAll() {
  for (CNamedItem* item : items_) delete item;
  items_.clear();
}

void CNamedItemTableImp::add(CNamedItem* item) {
  items_.push_back(item);
}

void CNamedItemTableImp::remove(CNamedItem* item) {
  const auto at = std::find(items_.begin(), items_.end(), item);
  if (at != items_.end()) items_.erase(at);
}

CNamedItem* CNamedItemTableImp::get(const String& name) const {
  for (CNamedItem* item : items_) {
    if (item->getName().equal(name)) return item;
  }
  return nullptr;
}

// Each item blocks at most one number, so the answer lies in 1 ... size+1. One pass marks the
// blocked numbers in that range and the first unmarked one is the answer: the same result as
// trying n = 1, 2, ... against every name, in linear time. The candidate text is never built,
// so a base of any length is handled without a fixed-size buffer.
long CNamedItemTableImp::getProgNum(const String& base) const {
  const char* prefix = base.c_str();
  const std::size_t prefixLength = std::strlen(prefix);
  const std::size_t cap = items_.size() + 1;
  std::vector<bool> blocked(cap + 1, false);
  for (const CNamedItem* item : items_) {
    blocked[progressiveNumberOf(item->getName().c_str(), prefix, prefixLength, cap)] = true;
  }
  std::size_t n = 1;
  while (blocked[n]) ++n;
  return static_cast<long>(n);
}

const String CNamedItemTableImp::GetProgName(const String& base) const {
  String name(base);
  name += std::to_string(getProgNum(base)).c_str();
  return name;
}
