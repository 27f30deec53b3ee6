// veltcore/entities/entity_table.h: CEntTable, the drawing's entities in order of addition, the
// selection in order of selection, and the cached extent; CEntTable::CEntIterator walks either.
// The table owns what is in it: clearAll and the destructor delete; remove hands back, undeleted.
#pragma once

#include <memory>

#include <veltcore/core/mylist.h>
#include <veltcore/geometry/rect.h>

class CBlockXRefDepend;
class CEnt;
class IHandleGestor;

class CEntTable {
 public:
  // Walks the entity list or the selection list from its first element. Stays usable while other
  // elements come and go; removing the current one goes through remove().
  class CEntIterator {
   public:
    // all: the entity list; otherwise the selection list.
    CEntIterator(CEntTable& t, bool all);
    CEntIterator(const CEntIterator& src) = default;
    CEntIterator& operator=(const CEntIterator& src) = default;
    virtual ~CEntIterator();

    // The current entity; null at the end.
    CEnt* operator*() const;
    // Advances unless at the end.
    CEntIterator& operator++();
    const CEntIterator operator++(int);
    // Steps back unless at the first element.
    CEntIterator& operator--();
    const CEntIterator operator--(int);
    // Past the last element.
    bool isLast() const;
    long get_no_entities() const;
    // Over the entity list: takes the current entity out of the table (not deleted: the caller
    // owns it). Over the selection list: unselects it (it stays in the table). Either way the
    // iterator moves to the following element; at the end nothing happens.
    void remove();

   private:
    CEntTable* table_;
    std::mylist<CEnt*>* list_;
    std::mylist<CEnt*>::iterator current_;
    std::mylist<CEnt*>::iterator end_;
    bool all_;
  };

  // Empty lists and a valid, empty extent. depend is kept for the drawing; the table's own
  // operations do not use it.
  CEntTable(IHandleGestor& g, CBlockXRefDepend& depend);
  // Two tables cannot own the same entities.
  CEntTable(const CEntTable&) = delete;
  CEntTable& operator=(const CEntTable&) = delete;
  // clearAll.
  ~CEntTable();

  // Registers e (addTbls with the table's manager), appends it and, while the extent is current,
  // grows it by e's box unless e's layer is frozen. The table owns e from now on. Adding an
  // entity that is already in the table changes nothing.
  void add(CEnt* e);
  // Takes e out as _remove does; e belongs to the caller again. Nothing happens when e is not in
  // the table.
  void remove(CEnt* e);
  // From the front: removeTbls, delete, unlink; then the selection is emptied and the extent is
  // the empty region again.
  void clearAll();

  // Appends e to the selection. An entity already selected, or not in the table, is left alone.
  void select(CEnt* e);
  // Takes e out of the selection; nothing happens when e is not selected in this table.
  void unselect(CEnt* e);
  void select(CEnt* e, bool on);
  void unselectAll();

  // The first entity, in list order, whose handle is handle; null when none. Found through an
  // index, not by walking the list.
  CEnt* get(long handle) const;

  // The extent of the entities on layers that are not frozen, recomputed first when stale.
  const RECT_3D& getBdry() const;
  void invalidateBdry() const;
  // Block references recompute their own box first, since their block may have changed.
  void recalcBdry() const;

  const std::mylist<CEnt*>& getEntityTbl() const { return entities_; }
  const std::mylist<CEnt*>& getSelectedEntityTbl() const { return selection_; }

 protected:
  // Unselects the entity at node if needed, unlinks it, calls its removeTbls and marks the extent
  // stale. The entity is not deleted. On return node is the following node of the entity list.
  void _remove(std::mylist<CEnt*>::iterator& node);

 private:
  // Entity -> its node, and handle -> its entities in list order; defined beside the sources.
  struct Index;

  // Held for the drawing; the table's own operations never read it.
  [[maybe_unused]] CBlockXRefDepend& depend_;
  std::mylist<CEnt*> entities_;
  std::mylist<CEnt*> selection_;
  IHandleGestor& gestor_;
  // The extent is a cache: const readers refresh it.
  mutable RECT_3D bdry_;
  mutable bool bdryValid_;
  std::unique_ptr<Index> index_;

  bool contains(const CEnt* e) const;
};
