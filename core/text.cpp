// core/text.cpp: locale-independent case folding and number text (see text.h).
// Numbers go through std::to_chars / std::from_chars, which never consult the locale (six
// decimals first through number_format.h's exact fast path); a number beyond the doubles is
// decided by its digits, not by strtod, which would.
#include "core/text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/number_format.h"

namespace veltcore::text {
namespace {

using fast::isDigit;
using fast::isSpace;

const char* skipSpace(const char* s) {
  while (isSpace(*s)) ++s;
  return s;
}

// Of a decimal number that from_chars found outside the doubles: whether it is too large
// (else it is too small). The power of ten of its leading significant digit decides, since
// the doubles reach far above and far below the units; the exponent saturates.
bool exceedsDoubles(const char* s) {
  long long lead = -1;
  while (*s == '0') ++s;
  for (; isDigit(*s); ++s) ++lead;
  if (*s == '.') {
    for (++s; lead < 0 && *s == '0'; ++s) --lead;
    while (isDigit(*s)) ++s;
  }
  long long exponent = 0;
  if (*s == 'e' || *s == 'E') {
    ++s;
    const bool negative = *s == '-';
    if (*s == '+' || *s == '-') ++s;
    for (; isDigit(*s); ++s)
      if (exponent < 1000000000) exponent = exponent * 10 + (*s - '0');
    if (negative) exponent = -exponent;
  }
  return lead + exponent >= 0;
}

}  // namespace

bool equalNoCase(const char* a, const char* b) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (foldCase(*a) != foldCase(*b)) return false;
  return *a == *b;
}

std::string formatInt(long long v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string formatUnsigned(unsigned long long v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string formatFixed(double v, int decimals) {
  if (decimals == 6) {  // the count of every real in a drawing's text, through its fast path
    char buf[kFixed6Room];
    return std::string(buf, formatFixed6(buf, v));
  }
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  // The largest double has 309 integer digits; the buffer holds it with the decimals.
  char buf[320 + 64];
  if (decimals > 64) decimals = 64;
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

int parseIntGeneral(const char* s) {
  if (s == nullptr) return 0;
  s = skipSpace(s);
  bool negative = *s == '-';
  if (*s == '+' || *s == '-') ++s;
  long long v = 0;
  for (; isDigit(*s); ++s) {
    v = v * 10 + (*s - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) break;  // clamped below
  }
  if (negative) v = -v;
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

double parseDoubleGeneral(const char* s) {
  if (s == nullptr) return 0.0;
  s = skipSpace(s);
  bool negative = *s == '-';
  const char* digits = (*s == '+' || *s == '-') ? s + 1 : s;
  if (*digits == '+' || *digits == '-') return 0.0;  // from_chars would take a second sign
  double v = 0.0;
  auto r = std::from_chars(digits, digits + std::strlen(digits), v);
  if (r.ec == std::errc::result_out_of_range) {
    v = exceedsDoubles(digits) ? HUGE_VAL : 0.0;
  } else if (r.ec != std::errc()) {
    return 0.0;
  }
  return negative ? -v : v;
}

}  // namespace veltcore::text
