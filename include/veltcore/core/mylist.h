// veltcore/core/mylist.h: std::mylist<T>, the ordered list of entity pointers used by the entity
// table, block redefinition and the DXF block builders. It is std::list itself: nodes (and their
// iterators) stay valid while other nodes are inserted or erased, which the selection relies on.
#pragma once

#include <list>

// The name std::mylist is the one the exported interface fixes for this list, so it is declared
// where callers look for it. An alias template adds no new type to namespace std: std::mylist<T>
// is exactly std::list<T>, and code may use either name.
namespace std {
template <class T>
using mylist = list<T>;
}  // namespace std
