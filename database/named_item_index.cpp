// database/named_item_index.cpp: NamedItemIndex, the plain walks it must agree with, and the
// process-wide rename count (see named_item_index.h for why renames are watched this way).
#include "database/named_item_index.h"

#include <veltcore/database/named_item.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/text.h"

namespace veltcore::detail {
namespace {

// Atomic only so that drawings used from different threads do not race on it: an index cares
// about renames of its own items, which happen on the thread that uses its table.
std::atomic<std::uint64_t> g_nameChanges{0};

std::uint64_t nameChanges() {
  return g_nameChanges.load(std::memory_order_relaxed);
}

// An answer never exceeds the number of listings plus one, so longer digit strings (which could
// overflow) never block one and are left out.
constexpr std::size_t kMaxDigits = 18;

// Calls visit(base, n) for every way name reads as base followed by the "%d" digits of some
// n >= 1 of at most kMaxDigits digits: n is a tail of the name's trailing digits that does not
// start with '0'. "B120" reads as B + 120 and B1 + 20; "B12" + "0" would be n = 0, never asked.
template <class Visit>
void forEachReading(std::string_view name, Visit visit) {
  std::int64_t n = 0;
  std::int64_t weight = 1;
  for (std::size_t digits = 1; digits <= std::min(name.size(), kMaxDigits); ++digits) {
    const char c = name[name.size() - digits];
    if (c < '0' || c > '9') return;
    n += (c - '0') * weight;
    weight *= 10;
    if (c != '0') visit(name.substr(0, name.size() - digits), n);
  }
}

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

void noteNameChange() {
  g_nameChanges.fetch_add(1, std::memory_order_relaxed);
}

CNamedItem* findByWalk(const std::vector<CNamedItem*>& items, const String& name) {
  for (CNamedItem* item : items) {
    if (item->getName().equal(name)) return item;
  }
  return nullptr;
}

// Each item blocks at most one number, so the answer lies in 1 ... size+1. One pass marks the
// blocked numbers in that range and the first unmarked one is the answer: the same result as
// trying n = 1, 2, ... against every name, without building the candidate texts.
long progNumByWalk(const std::vector<CNamedItem*>& items, const String& base) {
  const char* prefix = base.c_str();
  const std::size_t prefixLength = std::strlen(prefix);
  const std::size_t cap = items.size() + 1;
  std::vector<bool> blocked(cap + 1, false);
  for (const CNamedItem* item : items) {
    blocked[progressiveNumberOf(item->getName().c_str(), prefix, prefixLength, cap)] = true;
  }
  std::size_t n = 1;
  while (blocked[n]) ++n;
  return static_cast<long>(n);
}

void NamedItemIndex::TakenNumbers::count(std::int64_t n, int step) {
  int& listed = listings[n];
  listed += step;
  if (listed == 0) {
    listings.erase(n);
    taken.erase(n);
  } else if (listed == 1 && step > 0) {
    taken.insert(n);
  }
}

CNamedItem* NamedItemIndex::find(const std::vector<CNamedItem*>& items, const String& name) {
  dropIfRenamed();
  if (!namesBuilt_) buildNames(items);
  const auto found = byFoldedName_.find(foldedKey(name.c_str()));
  return found == byFoldedName_.end() ? nullptr : found->second.front().item;
}

long NamedItemIndex::progNum(const std::vector<CNamedItem*>& items, const String& base) {
  dropIfRenamed();
  return static_cast<long>(numbersFor(items, base.c_str()).taken.firstNotIn(1));
}

void NamedItemIndex::added(CNamedItem* item) {
  dropIfRenamed();
  if (namesBuilt_) {
    byFoldedName_[foldedKey(item->getName().c_str())].push_back({nextOrder_++, item});
  }
  countTakenNumbers(*item, +1);
}

void NamedItemIndex::removedFirst(const CNamedItem* item) {
  dropIfRenamed();
  // Cannot fail for a listed item; should it, a rebuild is right where a guess might not be.
  if (namesBuilt_ && !eraseFirstListing(item)) namesBuilt_ = false;
  countTakenNumbers(*item, -1);
}

// The first listing of item in table order is its listing of lowest order, and all its
// listings share one key, as they share one name.
bool NamedItemIndex::eraseFirstListing(const CNamedItem* item) {
  const auto bucket = byFoldedName_.find(foldedKey(item->getName().c_str()));
  if (bucket == byFoldedName_.end()) return false;
  std::vector<Listing>& listings = bucket->second;
  const auto first = std::find_if(listings.begin(), listings.end(),
                                  [item](const Listing& l) { return l.item == item; });
  if (first == listings.end()) return false;
  listings.erase(first);
  if (listings.empty()) byFoldedName_.erase(bucket);
  return true;
}

void NamedItemIndex::cleared() {
  namesBuilt_ = false;
  byFoldedName_ = {};
  byBase_.clear();
}

void NamedItemIndex::dropIfRenamed() {
  const std::uint64_t renames = nameChanges();
  if (renames == renamesSeen_) return;
  renamesSeen_ = renames;
  cleared();
}

void NamedItemIndex::buildNames(const std::vector<CNamedItem*>& items) {
  byFoldedName_.clear();
  byFoldedName_.reserve(items.size());
  nextOrder_ = 0;
  for (CNamedItem* item : items) {
    byFoldedName_[foldedKey(item->getName().c_str())].push_back({nextOrder_++, item});
  }
  namesBuilt_ = true;
}

NamedItemIndex::TakenNumbers& NamedItemIndex::numbersFor(const std::vector<CNamedItem*>& items,
                                                         std::string_view base) {
  const auto known = byBase_.find(base);
  if (known != byBase_.end()) return known->second;
  TakenNumbers& numbers = byBase_[std::string(base)];
  for (const CNamedItem* item : items) {
    forEachReading(item->getName().c_str(), [&](std::string_view itemBase, std::int64_t n) {
      if (itemBase == base) numbers.count(n, +1);
    });
  }
  return numbers;
}

void NamedItemIndex::countTakenNumbers(const CNamedItem& item, int step) {
  if (byBase_.empty()) return;
  forEachReading(item.getName().c_str(), [&](std::string_view base, std::int64_t n) {
    const auto numbers = byBase_.find(base);
    if (numbers != byBase_.end()) numbers->second.count(n, step);
  });
}

const std::string& NamedItemIndex::foldedKey(const char* name) {
  probe_.assign(name);
  for (char& c : probe_) c = text::foldCase(c);
  return probe_;
}

}  // namespace veltcore::detail
