// veltcore/database/block.h: CBlock, a named list of entities stored relative to its base
// point, with its iterators over attribute definitions and block references and its undo
// snapshot CBlockMemento.
// A block owns its entities and deletes them, last to first, when it is destroyed.
#pragma once

#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/core/string.h>
#include <veltcore/database/named_item.h>
#include <veltcore/geometry/rect.h>

class CBlockFactory;
class CBlockMemento;
class CEnt;
class CEntAttdef;
class CEntInsert;
class IHandleGestor;

class CBlock : public CNamedItem {
 public:
  // Flag bits a block sets or reads; the others are kept as they come.
  static constexpr long kHasAttdefs = 2;
  static constexpr long kXRefLoaded = 32;
  static constexpr long kPrivate = 32768;

  // Walks the entities of a block that are attribute definitions, in order; null at the end.
  // Only the definition class itself matches: the test is by visit, not by type code.
  class CAttdefIterator {
   public:
    explicit CAttdefIterator(const CBlock& block);
    CEntAttdef* operator*() const;
    CAttdefIterator& operator++();
    CAttdefIterator operator++(int);

   private:
    const CBlock* block_;
    int index_;  // -2 once the walk is over

    void seek(int from);
  };

  // Walks the entities of a block that are block references, in order; null at the end.
  class CInsertIterator {
   public:
    explicit CInsertIterator(const CBlock& block);
    CEntInsert* operator*() const;
    CInsertIterator& operator++();
    CInsertIterator operator++(int);

   private:
    const CBlock* block_;
    int index_;  // -2 once the walk is over

    void seek(int from);
  };

  // Deletes the entities.
  ~CBlock() override;

  // Moves e by minus the base point and appends it; an attribute definition sets the
  // attribute flag, any other entity extends the box.
  virtual void add(CEnt* e);
  virtual bool isXRef() const { return false; }

  int size() const { return static_cast<int>(entities_.size()); }
  CEnt* operator[](int i) const { return entities_[static_cast<std::size_t>(i)]; }
  const PNT_3D& getPnt() const { return base_; }
  const RECT_3D& getBdry() const { return bdry_; }
  RECT_3D& getBdry() { return bdry_; }

  // Box = union of the boxes of all entities, attribute definitions included.
  void calcBdry();
  // Empties the list without deleting the entities; empty box; attribute flag cleared.
  void clearEntities();
  // Deletes every entity, last to first, then clearEntities.
  void disposeEntities();
  // New base point and flags; the old entities are taken out, not deleted.
  void redefine(const PNT_3D& base, long flags);
  // Enters (or leaves) the drawing: addTbls (removeTbls) of every entity, last to first.
  void insertBlock(IHandleGestor& g) const;
  void removeBlock(IHandleGestor& g) const;

  bool isPrivate() const { return (getFlags() & kPrivate) != 0; }
  void setPrivate(bool on) { setFlags(kPrivate, on); }

  // A new snapshot (base point, flags, the entity pointers), owned by the caller.
  CBlockMemento* createMemento() const;
  // Takes the snapshot's entities back (not moved: they are in block coordinates already).
  void setMemento(CBlockMemento& m);

 protected:
  friend class CBlockFactory;
  explicit CBlock(const String& name);
  CBlock(const String& name, const PNT_3D& base, long flags);
  CBlock(const CBlock&) = delete;
  CBlock& operator=(const CBlock&) = delete;

  // Sets the base point only.
  void setNewMover(const PNT_3D& base) { base_ = base; }
  // Appends without moving, extending the box (or setting the attribute flag).
  void append(CEnt* e);

 private:
  RECT_3D bdry_;
  PNT_3D base_;
  std::vector<CEnt*> entities_;
};

// An undo snapshot of a block: base point, flags and its entity pointers (not owned).
class CBlockMemento {
 public:
  ~CBlockMemento();

  const PNT_3D& getPnt() const { return base_; }
  long getFlags() const { return flags_; }
  int size() const { return static_cast<int>(entities_.size()); }
  CEnt* operator[](int i) const { return entities_[static_cast<std::size_t>(i)]; }

  // Deletes the entities the snapshot points to: for a host that drops the snapshot while it
  // is their only holder (old contents kept for undo after a redefinition).
  void destroyEntity();

  // Base point, count, flags, then every entity pointer from the last to the first.
  bool operator==(const CBlock& b) const;
  bool operator!=(const CBlock& b) const { return !(*this == b); }

 private:
  friend class CBlock;
  explicit CBlockMemento(const CBlock& b);

  PNT_3D base_;
  long flags_;
  std::vector<CEnt*> entities_;
};
