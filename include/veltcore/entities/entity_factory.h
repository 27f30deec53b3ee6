// veltcore/entities/entity_factory.h: CEntFactory, through which every entity is created, copied
// or cloned with a handle from the drawing's handle manager, and the free function cloneEnt.
// Every result belongs to the caller and is in no table; its handle is booked, not yet in use.
#pragma once

#include <veltcore/entities/visitor.h>

class CBlockFactory;
class CBlockTable;
class CData;
class CEnt;
class IHandleEnt;
class IHandleGestor;

// Has no data; every operation is virtual so that a host can derive its own factory.
class CEntFactory {
 public:
  // Unbooks the handles of an entity's sub-objects (a block reference's attributes, a polyline's
  // vertices), from the last to the first. The entity's own handle is not its business. Final,
  // so its plain destructor is safe: a factory that unbooks differently overrides unbookHandle.
  class CEntUnbookVisitor final : public IEntFooVisitor {
   public:
    explicit CEntUnbookVisitor(IHandleGestor& g) : g_(g) {}

    // The attributes are unbooked here once block references carry them; until then a block
    // reference has no sub-object with a handle.
    void visit(CEntInsert& e) override;

   private:
    IHandleGestor& g_;
  };

  virtual ~CEntFactory();

  // The creation operations of the entity classes (copy form then parameter form, class by
  // class: point, line, circle, arc, polyline, vertex, text, attribute definition, insert,
  // attribute, external-reference insert, hatch, 3D face) come before clone, each added with its
  // class in that order.

  // A copy of src under a handle fresh from bookNext, made by src's own clone with g, this
  // factory, bf and bt. Null when memory for it cannot be had (the handle then stays booked).
  virtual CEnt* clone(IHandleGestor& g, CBlockFactory& bf, CBlockTable& bt, const CEnt& src);
  // Gives back the handles of an entity that never entered the drawing: its own, then those of
  // its sub-objects. Call it on a discarded entity, then delete the entity.
  virtual void unbookHandle(IHandleGestor& g, IHandleEnt* e);

 protected:
  // 0 asks for a fresh handle (bookNext); any other handle is booked as given and the manager's
  // exception passes on when it is taken, before anything is allocated.
  void bookHandle(IHandleGestor& g, long& handle);
};

// The drawing's factory clone of e with the drawing's handle manager, block factory and blocks.
CEnt* cloneEnt(CData& d, const CEnt& e);
