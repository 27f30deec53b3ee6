// entities/entity_factory.cpp: CEntFactory's cloning, handle booking and unbooking of entities
// that never entered the drawing. Allocation failure gives null; the manager's exceptions pass.
#include <veltcore/entities/entity_factory.h>

#include <new>

#include <veltcore/database/handle.h>
#include <veltcore/entities/entity.h>

CEntFactory::~CEntFactory() = default;

CEnt* CEntFactory::clone(IHandleGestor& g, CBlockFactory& bf, CBlockTable& bt, const CEnt& src) {
  const long handle = g.bookNext();
  try {
    return src.clone(g, *this, bf, bt, handle);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void CEntFactory::unbookHandle(IHandleGestor& g, IHandleEnt* e) {
  g.unbook(e->GetHandle());
  CEntUnbookVisitor v(g);
  e->accept(v);
}

void CEntFactory::bookHandle(IHandleGestor& g, long& handle) {
  handle = handle == 0 ? g.bookNext() : g.bookHandle(handle);
}

void CEntFactory::CEntUnbookVisitor::visit(CEntInsert&) {
  // A block reference's sub-objects are its attributes; they are unbooked here, from the last
  // to the first, once block references carry them. Until then there is nothing to give back.
  (void)g_;
}
