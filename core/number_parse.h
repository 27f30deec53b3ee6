// core/number_parse.h: the exact fast paths of text::parseInt and text::parseDouble for the
// forms nearly every number in a drawing takes. Each either gives exactly the value the general
// conversion gives (text.h: parseIntGeneral, parseDoubleGeneral) or declines, and the caller
// falls back to the general one. Inline, since the DXF lexer converts millions of values.
#pragma once

#include <cfloat>
#include <cstdint>

namespace veltcore::text::fast {

inline bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool isDigit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}

// Blanks, an optional sign and at most nine digits, which no int can overflow; the rest of
// the text is ignored as parseIntGeneral ignores it. False for ten digits or more.
inline bool parseInt(const char* s, int& value) {
  while (isSpace(*s)) ++s;
  const bool negative = *s == '-';
  if (*s == '+' || *s == '-') ++s;
  int v = 0;
  for (int digits = 0; isDigit(*s); ++s) {
    if (++digits > 9) return false;
    v = v * 10 + (*s - '0');
  }
  value = negative ? -v : v;
  return true;
}

namespace detail {

// Every power of ten up to 10^22 is a double exactly (5^22 < 2^53).
inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr int kMaxExactPower = 22;
// Integers up to 2^53 are doubles exactly.
inline constexpr std::uint64_t kMaxExactMantissa = std::uint64_t{1} << 53;
// Nineteen decimal digits always fit 64 bits.
inline constexpr long kMaxDigits = 19;
// With wider intermediate results (x87) one operation may round twice: no fast path there.
inline constexpr bool kSingleRounding = FLT_EVAL_METHOD == 0;

// Appends the digits at s to mantissa (wrapping beyond 64 bits: the caller counts digits and
// declines such numbers) and returns the first byte after them.
inline const char* addDigits(const char* s, std::uint64_t& mantissa) {
  for (; isDigit(*s); ++s) mantissa = mantissa * 10 + static_cast<unsigned>(*s - '0');
  return s;
}

// After an 'e' or 'E': an optional sign and digits add to exponent. Without digits the
// letter is not part of the number and nothing changes. Saturates far beyond any exact power.
inline void addExponent(const char* s, long& exponent) {
  const bool negative = *s == '-';
  if (*s == '+' || *s == '-') ++s;
  long e = 0;
  for (; isDigit(*s); ++s)
    if (e < 100000) e = e * 10 + (*s - '0');
  exponent += negative ? -e : e;
}

}  // namespace detail

// Blanks, an optional sign, one to nineteen digits with an optional point, an optional
// exponent; the rest is ignored as parseDoubleGeneral ignores it. Exact when the digits form
// an integer up to 2^53 and the power of ten is 10^-22 ... 10^22: both are then doubles
// exactly, and one IEEE multiplication or division rounds the true product or quotient once,
// correctly, which is what the general conversion gives. False for every other text (no
// digits, a second sign, inf, nan, more digits, larger powers): the general one decides those.
inline bool parseDouble(const char* s, double& value) {
  using namespace detail;
  if (!kSingleRounding) return false;
  while (isSpace(*s)) ++s;
  const bool negative = *s == '-';
  if (*s == '+' || *s == '-') ++s;
  std::uint64_t mantissa = 0;
  const char* const integer = s;
  s = addDigits(s, mantissa);
  long digits = s - integer;
  long exponent = 0;
  if (*s == '.') {
    const char* const fraction = ++s;
    s = addDigits(s, mantissa);
    exponent = fraction - s;
    digits -= exponent;
  }
  // No digit at all is no number; more than fit 64 bits (leading zeros included) is rare.
  if (digits == 0 || digits > kMaxDigits) return false;
  if (*s == 'e' || *s == 'E') addExponent(s + 1, exponent);
  if (mantissa > kMaxExactMantissa || exponent < -kMaxExactPower || exponent > kMaxExactPower)
    return false;
  const double m = static_cast<double>(mantissa);
  const double v = exponent < 0 ? m / kPowersOfTen[-exponent] : m * kPowersOfTen[exponent];
  value = negative ? -v : v;
  return true;
}

}  // namespace veltcore::text::fast
