// core/text.h: locale-independent text helpers shared by the whole library.
// Case folding is ASCII only and numbers use '.' whatever locale the host has set,
// so names compare and drawings read and write the same on every machine.
#pragma once

#include <string>

#include "core/number_parse.h"

namespace veltcore::text {

// ASCII lower case of c; other bytes unchanged.
inline char foldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// True when a and b are equal ignoring ASCII case; a null pointer reads as "".
bool equalNoCase(const char* a, const char* b);

// Decimal digits of v, as "%d" and "%u" give them.
std::string formatInt(long long v);
std::string formatUnsigned(unsigned long long v);
// v with `decimals` digits after the point, as "%.Nf" gives it in the C locale.
std::string formatFixed(double v, int decimals);

// Leading whitespace, an optional sign, digits: like atoi, clamped to the int range.
// A null pointer reads as "".
int parseIntGeneral(const char* s);
// Like atof in the C locale: the longest valid prefix, 0 when there is none; too large gives
// infinity and too small zero. A null pointer reads as "".
double parseDoubleGeneral(const char* s);

// The same two conversions, through their exact fast paths (number_parse.h) when the text
// takes a common form: the result is always the general one, bit for bit.
inline int parseInt(const char* s) {
  int v;
  if (s != nullptr && fast::parseInt(s, v)) return v;
  return parseIntGeneral(s);
}

inline double parseDouble(const char* s) {
  double v;
  if (s != nullptr && fast::parseDouble(s, v)) return v;
  return parseDoubleGeneral(s);
}

}  // namespace veltcore::text
