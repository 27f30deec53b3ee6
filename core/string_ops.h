// core/string_ops.h: concatenation operators for String, used inside the library only
// (not installed). Each returns a new String; the operands are unchanged.
#pragma once

#include <veltcore/core/string.h>

#include "core/text.h"

inline String operator+(const String& a, const String& b) {
  String r(a);
  r += b;
  return r;
}

inline String operator+(const String& a, const char* b) {
  String r(a);
  r += b;
  return r;
}

inline String operator+(const String& a, char c) {
  const char text[2] = {c, '\0'};
  return a + text;
}

inline String operator+(const String& a, int v) {
  return a + veltcore::text::formatInt(v).c_str();
}

inline String operator+(const String& a, double v) {
  return a + veltcore::text::formatFixed(v, 6).c_str();
}
