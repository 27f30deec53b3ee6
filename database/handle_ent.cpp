// database/handle_ent.cpp: IHandleEnt's handle storage and the IHandleGestor destructor.
// The handle is kept as a signed 32-bit value; long arguments are narrowed with toInt32.
#include <veltcore/database/handle.h>
#include "database/int32_cast.h"

using veltcore::detail::toInt32;

IHandleEnt::IHandleEnt(long handle) : handle_(toInt32(handle)) {}

void IHandleEnt::SetHandle(long handle) {
  handle_ = toInt32(handle);
}

IHandleGestor::~IHandleGestor() = default;
