// dxf/in/pending_entities.h: entities the DXF reader has built but not yet handed to the
// semantor (internal). Whatever is still pending when the holder goes away, on success or on
// an exception, has its handles given back and is deleted, so a failed read leaks nothing.
#pragma once

#include <memory>

#include <veltcore/core/mylist.h>

class CEnt;
class CEntFactory;
class IHandleEnt;
class IHandleGestor;

namespace veltcore::dxfin {

// Gives back the handles of an object (an entity with its sub-objects, or a vertex) that never
// entered the drawing. It runs while another error may be on its way out, so a failure to
// unbook is swallowed rather than replacing that error.
void giveBackHandles(CEntFactory& factory, IHandleGestor& gestor, IHandleEnt* object) noexcept;

// The deleter of a reader's unique_ptr to such an object: handles back, then deleted.
struct Discard {
  CEntFactory* factory;
  IHandleGestor* gestor;

  template <class T>
  void operator()(T* object) const noexcept {
    if (object == nullptr) return;
    giveBackHandles(*factory, *gestor, object);
    delete object;
  }
};

template <class T>
using Held = std::unique_ptr<T, Discard>;

inline void discardEntity(CEntFactory& factory, IHandleGestor& gestor, CEnt* e) noexcept {
  Discard{&factory, &gestor}(e);
}

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
