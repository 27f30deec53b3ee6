// core/text.cpp: locale-independent case folding and number text (see text.h).
// Numbers go through std::to_chars / std::from_chars, which never consult the locale.
#include "core/text.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace veltcore::text {
namespace {

bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

const char* skipSpace(const char* s) {
  while (isSpace(*s)) ++s;
  return s;
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
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  // The largest double has 309 integer digits; the buffer holds it with the decimals.
  char buf[320 + 64];
  if (decimals > 64) decimals = 64;
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

int parseInt(const char* s) {
  if (s == nullptr) return 0;
  s = skipSpace(s);
  bool negative = *s == '-';
  if (*s == '+' || *s == '-') ++s;
  long long v = 0;
  for (; *s >= '0' && *s <= '9'; ++s) {
    v = v * 10 + (*s - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) break;  // clamped below
  }
  if (negative) v = -v;
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

double parseDouble(const char* s) {
  if (s == nullptr) return 0.0;
  s = skipSpace(s);
  bool negative = *s == '-';
  const char* digits = (*s == '+' || *s == '-') ? s + 1 : s;
  if (*digits == '+' || *digits == '-') return 0.0;  // from_chars would take a second sign
  double v = 0.0;
  auto r = std::from_chars(digits, digits + std::strlen(digits), v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small zero, as atof does.
    v = std::strtod(digits, nullptr);
  } else if (r.ec != std::errc()) {
    return 0.0;
  }
  return negative ? -v : v;
}

}  // namespace veltcore::text
