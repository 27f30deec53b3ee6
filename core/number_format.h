// core/number_format.h: reals as "%.6f" writes them in the C locale, the format of every real in
// a DXF file. An exact fast path takes the common magnitudes and gives printf's bytes; what it
// declines goes through std::to_chars, the general path. Inline: the DXF writer formats millions.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace veltcore::text {

// Room formatFixed6 needs: the largest double has 309 integer digits, then a sign, the point
// and six decimals.
inline constexpr std::size_t kFixed6Room = 320;

namespace fast {
namespace detail {

// "00" to "99": two digits per step.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The two digits of v (below 100) at out.
inline void putPair(char* out, unsigned v) {
  std::memcpy(out, kDigitPairs + 2 * v, 2);
}

// The decimal digits of v at out (no leading zeros; "0" for 0); returns the end.
inline char* putUnsigned(char* out, std::uint64_t v) {
  char digits[20];
  char* p = digits + sizeof digits;
  while (v >= 100) {
    p -= 2;
    putPair(p, static_cast<unsigned>(v % 100));
    v /= 100;
  }
  if (v >= 10) {
    p -= 2;
    putPair(p, static_cast<unsigned>(v));
  } else {
    *--p = static_cast<char>('0' + v);
  }
  const std::size_t n = static_cast<std::size_t>(digits + sizeof digits - p);
  std::memcpy(out, p, n);
  return out + n;
}

// The largest binary exponent taken: with a mantissa below 2^53 the magnitude is below 2^44,
// and the value in millionths fits 64 bits.
inline constexpr int kLargestExponent = -9;

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide;
#endif

}  // namespace detail

// v as "%.6f" gives it in the C locale (round half to even on the exact binary value, the sign
// kept on a negative value that rounds to zero), at out, when |v| < 2^44; returns the end of
// the text (not terminated). Null, with nothing written, for larger magnitudes, infinities and
// NaNs, and where no 128-bit product is at hand.
inline char* formatFixed6(char* out, double v) {
#if defined(__SIZEOF_INT128__)
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  // |v| = mantissa * 2^exponent exactly; subnormals have no hidden bit.
  const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int exponent = (biased == 0 ? 1 : biased) - 1075;
  if (biased == 0x7FF || exponent > detail::kLargestExponent) return nullptr;

  // millionths = mantissa * 10^6 / 2^-exponent = mantissa * 5^6 / 2^shift, rounded half to even.
  const int shift = -exponent - 6;  // at least 3
  std::uint64_t millionths = 0;
  if (shift < 68) {  // from 68 on, mantissa * 5^6 < 2^67 is below half a millionth
    using detail::Wide;
    const Wide scaled = static_cast<Wide>(mantissa) * 15625u;
    millionths = static_cast<std::uint64_t>(scaled >> shift);
    const Wide rest = scaled & ((Wide{1} << shift) - 1);
    const Wide half = Wide{1} << (shift - 1);
    if (rest > half || (rest == half && (millionths & 1) != 0)) ++millionths;
  }

  if (negative) *out++ = '-';
  out = detail::putUnsigned(out, millionths / 1000000);
  const auto decimals = static_cast<unsigned>(millionths % 1000000);
  *out = '.';
  detail::putPair(out + 1, decimals / 10000);
  detail::putPair(out + 3, decimals / 100 % 100);
  detail::putPair(out + 5, decimals % 100);
  return out + 7;
#else
  (void)out;
  (void)v;
  return nullptr;
#endif
}

}  // namespace fast

// v as "%.6f" gives it in the C locale, at out, which has kFixed6Room bytes; returns the end of
// the text (not terminated). NaNs and infinities come out as "nan", "-nan", "inf", "-inf".
inline char* formatFixed6(char* out, double v) {
  if (char* end = fast::formatFixed6(out, v)) return end;
  return std::to_chars(out, out + kFixed6Room, v, std::chars_format::fixed, 6).ptr;
}

}  // namespace veltcore::text
