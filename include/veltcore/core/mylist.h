// veltcore/core/mylist.h: std::mylist<T>, the ordered list of entity pointers used by the entity
// table, block redefinition and the DXF block builders. It is a std::list: nodes (and their
// iterators) stay valid while other nodes are inserted or erased, which the selection relies on.
// Its nodes come from the library's object heap, as the entities do: a drawing holds one node
// per entity.
#pragma once

#include <list>

#include <veltcore/core/object_heap.h>

// The name std::mylist is the one the exported interface fixes for this list, so it is declared
// where callers look for it. An alias template adds no new type to namespace std: std::mylist<T>
// is std::list<T> with the object heap's allocator.
namespace std {
template <class T>
using mylist = list<T, veltcore::detail::PoolAllocator<T>>;
}  // namespace std
