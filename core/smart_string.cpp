// core/smart_string.cpp: SmartString, a borrowed view of a NUL-terminated text.
// A null view reads as the empty text.
#include <veltcore/core/string.h>

#include <cstring>

#include "core/text.h"

int SmartString::size() const {
  return s_ ? static_cast<int>(std::strlen(s_)) : 0;
}

bool SmartString::equal_ci(const char* s) const {
  return veltcore::text::equalNoCase(s_, s);
}

bool SmartString::equal_ci(const SmartString& s) const {
  return veltcore::text::equalNoCase(s_, s.s_);
}
