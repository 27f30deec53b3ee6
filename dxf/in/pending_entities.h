// dxf/in/pending_entities.h: entities the DXF reader has built but not yet handed to the
// semantor (internal). Whatever is still pending when the holder goes away, on success or on
// an exception, has its handles given back and is deleted, so a failed read leaks nothing.
#pragma once

#include <veltcore/core/mylist.h>

class CEnt;
class CEntFactory;
class IHandleGestor;

namespace veltcore::dxfin {

// Gives back the handles of an entity that never entered the drawing, then deletes it.
void discardEntity(CEntFactory& factory, IHandleGestor& gestor, CEnt* e) noexcept;

// An owning list of entities read for one block definition.
class PendingEntities {
 public:
  PendingEntities(CEntFactory& factory, IHandleGestor& gestor)
      : factory_(factory), gestor_(gestor) {}
  // Discards every entity still in the list.
  ~PendingEntities();
  PendingEntities(const PendingEntities&) = delete;
  PendingEntities& operator=(const PendingEntities&) = delete;

  // Appends e; when the list cannot grow, e is discarded and the error passes on.
  void append(CEnt* e);
  bool empty() const { return list_.empty(); }
  // The list itself, for a semantor that takes entities out of it.
  std::mylist<CEnt*>& list() { return list_; }

 private:
  CEntFactory& factory_;
  IHandleGestor& gestor_;
  std::mylist<CEnt*> list_;
};

}  // namespace veltcore::dxfin
