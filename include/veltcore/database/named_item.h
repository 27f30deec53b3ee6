// veltcore/database/named_item.h: CNamedItem, the base of every table item (name, flags, count of
// entities using it), and CNamedItemTableImp, the ordered table that owns its items.
// Names are compared ignoring case everywhere except in getProgNum, which is case-sensitive.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <veltcore/core/string.h>

// A layer, linetype, text style or block: a name, a word of flags whose bits belong to each item
// kind, and the number of entities that refer to the item (kept by the entities, never by us).
class CNamedItem {
 public:
  virtual ~CNamedItem();

  // Copies name, flags and the entity count; self-assignment changes nothing.
  CNamedItem& operator=(const CNamedItem& src);
  // Same name ignoring case and same flags; the entity count does not take part.
  bool operator==(const CNamedItem& other) const;
  bool operator!=(const CNamedItem& other) const { return !(*this == other); }

  const String& getName() const { return name_; }
  // Tables index their items by name; a change of the text here is what tells them to look again.
  void setName(const String& name);

  long getFlags() const { return flags_; }
  // Replaces every flag. Item kinds that react to flag changes override this form only, so a
  // derived class that overrides it should say `using CNamedItem::setFlags;` to keep the other.
  virtual void setFlags(long flags);
  // Sets (on) or clears (off) the bits of mask on the stored word, never through the override.
  void setFlags(long mask, bool on);

  void addEntity();
  void decEntity();
  void zeroEntities() { entities_ = 0; }
  long getEntities() const { return entities_; }

 protected:
  CNamedItem(const String& name, long flags);
  // Copies name and flags; the copy starts with no entities, as it is a new item.
  CNamedItem(const CNamedItem& src);

 private:
  String name_;
  std::int32_t flags_;
  std::int32_t entities_;
};

namespace veltcore::detail {
class NamedItemIndex;
}

// An ordered sequence of item pointers (insertion order kept, duplicates allowed) that owns the
// items: destroying or clearing the table deletes them. Typed tables derive from it and reach the
// protected add/remove/get/index members under their own rules. Not copyable: two tables cannot
// own the same items. Lookups by name go through an index, so they cost the same whatever the
// table's size; it follows every change of the sequence and every rename of an item.
class CNamedItemTableImp {
 public:
  CNamedItemTableImp();
  CNamedItemTableImp(const CNamedItemTableImp&) = delete;
  CNamedItemTableImp& operator=(const CNamedItemTableImp&) = delete;
  ~CNamedItemTableImp();

  long size() const { return static_cast<long>(items_.size()); }
  // Deletes every item, then empties the table.
  void clearAll();
  // The smallest n >= 1 such that no item is named exactly (case-sensitively) base followed by the
  // decimal digits of n. Bases of any length are accepted.
  long getProgNum(const String& base) const;
  // base followed by the decimal digits of getProgNum(base).
  const String GetProgName(const String& base) const;

 protected:
  // Appends item; the table owns it from now on.
  void add(CNamedItem* item);
  // Erases the first position holding item without deleting it; the caller owns it again.
  // Nothing happens when item is absent.
  void remove(CNamedItem* item);
  // The first item, in table order, whose name equals name ignoring case; null when none.
  CNamedItem* get(const String& name) const;
  // Empties the sequence without deleting the items: for a table whose items are deleted in
  // an order of its own.
  void releaseAll();
  // The i-th item, unchecked.
  CNamedItem* operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }

 private:
  std::vector<CNamedItem*> items_;
  // A cache of what get and getProgNum would find by walking items_, so const lookups update it.
  std::unique_ptr<veltcore::detail::NamedItemIndex> index_;
};

// A table of one kind of item: the owning sequence with its members typed. Used where a table
// stands on its own, outside any drawing (a linetype library's loaded linetypes).
template <class Item>
class CNamedItemTable : public CNamedItemTableImp {
 public:
  // Appends item; the table owns it.
  void add(Item* item) { CNamedItemTableImp::add(item); }
  // Takes item out without deleting it; nothing happens when it is not listed.
  void remove(Item* item) { CNamedItemTableImp::remove(item); }
  // The first item named name ignoring case; null when none is.
  Item* get(const String& name) const { return static_cast<Item*>(CNamedItemTableImp::get(name)); }
  // The i-th item, unchecked.
  Item* operator[](int i) const { return static_cast<Item*>(CNamedItemTableImp::operator[](i)); }
};
