// core/text.h: locale-independent text helpers shared by the whole library.
// Case folding is ASCII only and numbers use '.' whatever locale the host has set,
// so names compare and drawings read and write the same on every machine.
#pragma once

#include <string>

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
int parseInt(const char* s);
// Like atof in the C locale: the longest valid prefix, 0 when there is none.
double parseDouble(const char* s);

}  // namespace veltcore::text
