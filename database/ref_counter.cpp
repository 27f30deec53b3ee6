// database/ref_counter.cpp: IRefCounter's count steps. The count is a signed 32-bit word stepped
// in 64 bits, so it wraps instead of overflowing; only an exact 0 deletes the object.
#include <veltcore/database/ref_counter.h>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

IRefCounter::~IRefCounter() = default;

void IRefCounter::addRef() {
  count_ = toInt32(std::int64_t{count_} + 1);
}

void IRefCounter::decRef() {
  count_ = toInt32(std::int64_t{count_} - 1);
  if (count_ == 0) delete this;
}
