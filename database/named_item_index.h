// database/named_item_index.h: NamedItemIndex, the lookup structures behind CNamedItemTableImp
// (case-blind name -> first item, base -> numbers taken by progressive names), the plain walks
// whose results they must reproduce, and the process-wide count of item renames that keeps them
// honest. Internal: not installed.
//
// Keeping the index right when an item is renamed while listed: every CNamedItem name change
// (setName, operator=) that alters the text bumps one process-wide counter. An index remembers
// the count it was built at and, finding it moved, drops itself and is rebuilt from the table at
// the next lookup. This needs no link from items to tables, so it stays right for items listed
// twice, listed in two tables, released by releaseAll or renamed while out of any table. Renames
// are rare (a user's rename, an undo); between them every lookup and update costs the same
// whatever the table's size. Setting a name to its current text is not a change: undo snapshots
// restore names that way on every restore.
#pragma once

#include <cstdint>
#include <functional>  // std::less<>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "database/handle_runs.h"

class CNamedItem;
class String;

namespace veltcore::detail {

// Called by CNamedItem whenever an item's name text changes.
void noteNameChange();

// The definitions: the first item in table order whose name equals name ignoring case, null
// when none; and the smallest n >= 1 such that no item is named exactly base + "%d" of n.
CNamedItem* findByWalk(const std::vector<CNamedItem*>& items, const String& name);
long progNumByWalk(const std::vector<CNamedItem*>& items, const String& base);

// Answers findByWalk and progNumByWalk for one table without walking it. The table reports
// every change of its sequence (added, removedFirst, cleared); names are watched through the
// rename count. Each part is built on first use, so a table never asked pays nothing.
class NamedItemIndex {
 public:
  CNamedItem* find(const std::vector<CNamedItem*>& items, const String& name);
  long progNum(const std::vector<CNamedItem*>& items, const String& base);

  // item was appended to the table.
  void added(CNamedItem* item);
  // The first listing of item, which must be listed, was erased.
  void removedFirst(const CNamedItem* item);
  // The table was emptied.
  void cleared();

 private:
  // An item listed at a position; `order` grows with the position, so the listings of one name
  // sorted by order are in table order. Positions shift on removal, orders never do.
  struct Listing {
    std::uint64_t order;
    CNamedItem* item;
  };
  // The numbers that names of the form base + digits take for one base; a name listed twice
  // takes its number twice, and it is free again only when both listings are gone.
  struct TakenNumbers {
    std::unordered_map<std::int64_t, int> listings;
    HandleRuns taken;
    // One more (step +1) or one fewer (step -1) listing of a name that takes n.
    void count(std::int64_t n, int step);
  };

  // Drops both parts when some item was renamed since they were built.
  void dropIfRenamed();
  void buildNames(const std::vector<CNamedItem*>& items);
  // Erases the listing of item with the lowest order; false when item has none.
  bool eraseFirstListing(const CNamedItem* item);
  TakenNumbers& numbersFor(const std::vector<CNamedItem*>& items, std::string_view base);
  // step (+1 or -1) on every number that item takes under a base asked for so far.
  void countTakenNumbers(const CNamedItem& item, int step);
  // name folded to ASCII lower case, in probe_.
  const std::string& foldedKey(const char* name);

  std::uint64_t renamesSeen_ = 0;
  bool namesBuilt_ = false;
  std::uint64_t nextOrder_ = 0;
  std::unordered_map<std::string, std::vector<Listing>> byFoldedName_;
  // Only the bases asked for so far; std::less<> finds a base from a view of a name.
  std::map<std::string, TakenNumbers, std::less<>> byBase_;
  std::string probe_;  // reused key text, so that a lookup allocates nothing
};

}  // namespace veltcore::detail
