// database/handle_gestor_foo.cpp: CHandleGestorFoo, the manager of a drawing without handles.
// It only counts reserved objects; the count wraps like the 32-bit word it is.
#include <veltcore/database/handle.h>
#include "database/int32_cast.h"

using veltcore::detail::toInt32;

void CHandleGestorFoo::reserve(const IHandleEnt*) {
  count_ = toInt32(std::int64_t{count_} + 1);
}

void CHandleGestorFoo::release(long) {
  count_ = toInt32(std::int64_t{count_} - 1);
}
