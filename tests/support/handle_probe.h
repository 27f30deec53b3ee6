// tests/support/handle_probe.h: asks a handle manager whether a handle is free (neither booked
// nor reserved) by booking it and giving it back, so the question changes nothing.
#pragma once

#include <veltcore/database/handle.h>

inline bool handleFree(IHandleGestor& g, long h) {
  try {
    g.unbook(g.bookHandle(h));
    return true;
  } catch (const IHandleGestor::HandleAlreadyUsedException&) {
    return false;
  }
}
