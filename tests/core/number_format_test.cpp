// tests/core/number_format_test.cpp: formatFixed6 and its fast path against snprintf "%.6f" in
// the C locale on millions of generated doubles (fixed seeds): random bit patterns, decimals
// with up to six places, halfway cases exact and near, huge and tiny magnitudes, integers and
// the neighbours of powers of ten and of the fast path's limit, plus hand-picked edges. Every
// text must be printf's, byte for byte, and the fast path must take the magnitudes it is meant
// for. formatFixed is held to printf for other decimal counts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "core/number_format.h"
#include "core/text.h"

namespace {

using veltcore::text::formatFixed6;
using veltcore::text::kFixed6Room;

// The generated doubles of one kind.
class ValueMaker {
 public:
  explicit ValueMaker(std::uint64_t seed) : random_(seed) {}

  double randomBits() {
    const std::uint64_t bits = random_();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  // Up to 15 integer digits and 0 to 6 decimals, read as strtod reads a DXF value.
  double decimal() {
    std::string text = sign();
    text += digits(1 + below(15));
    if (const int places = below(7)) text += "." + digits(places);
    return std::strtod(text.c_str(), nullptr);
  }
  // x.xxxxxx5 with more digits or none after the 5: just above, just below or on the tie
  // once read into binary.
  double nearHalfway() {
    std::string text = sign();
    text += digits(1 + below(12)) + ".";
    text += digits(6) + "5";
    if (below(2) == 0) text += digits(1 + below(6));
    return std::strtod(text.c_str(), nullptr);
  }
  // The only exact ties at the sixth decimal are odd multiples of 2^-7 (5^6 divides the odd
  // numerator); around zero and up to the fast path's limit, with their neighbours.
  double exactHalfway() {
    const double tie = std::ldexp(static_cast<double>(2 * (random_() >> (15 + below(49))) + 1), -7);
    return nudge(below(2) == 0 ? -tie : tie, 3);
  }
  // A random mantissa at any power of ten from the subnormals to the largest doubles.
  double anyMagnitude() {
    const double mantissa = 1.0 + static_cast<double>(random_() >> 11) * 0x1.0p-53 * 9.0;
    const double v = mantissa * std::pow(10.0, below(632) - 323);
    return below(2) == 0 ? -v : v;
  }
  // Whole numbers of every size a 64-bit integer has, and their neighbours.
  double integer() {
    return nudge(static_cast<double>(static_cast<std::int64_t>(random_()) >> below(64)), 4);
  }
  // 10^k, 2^k and 10^k minus half a millionth, a few steps either side.
  double nearPowers() {
    const int k = below(40) - 12;
    double v = below(3) == 0 ? std::ldexp(1.0, k * 2) : std::pow(10.0, k);
    if (below(3) == 0) v -= 0.5e-6;
    for (int steps = below(5) - 2; steps != 0; steps += steps < 0 ? 1 : -1)
      v = std::nextafter(v, steps < 0 ? -HUGE_VAL : HUGE_VAL);
    return below(2) == 0 ? -v : v;
  }

 private:
  int below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
  std::string sign() { return below(4) == 0 ? "-" : ""; }
  std::string digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + below(10));
    return s;
  }
  // v or, one time in `odds` each, its neighbour below or above.
  double nudge(double v, int odds) {
    const int pick = below(odds);
    return pick > 1 ? v : std::nextafter(v, pick == 0 ? -HUGE_VAL : HUGE_VAL);
  }

  std::mt19937_64 random_;
};

struct Tally {
  long long values = 0, fast = 0, mismatches = 0;
};

// Compares formatFixed6 and, where it answers, the fast path alone with snprintf for v;
// reports the first few mismatches with their bits.
void check(double v, Tally& tally) {
  char expected[kFixed6Room + 8], whole[kFixed6Room], quick[kFixed6Room];
  std::snprintf(expected, sizeof expected, "%.6f", v);
  const std::string general(whole, formatFixed6(whole, v));
  char* quickEnd = veltcore::text::fast::formatFixed6(quick, v);
  ++tally.values;
  bool same = general == expected;
  if (quickEnd != nullptr) {
    ++tally.fast;
    same = same && std::string(quick, quickEnd) == expected;
  }
  if (!same && ++tally.mismatches <= 10) {
    ADD_FAILURE() << std::hexfloat << v << ": printf " << expected << ", formatFixed6 " << general
                  << ", fast path "
                  << (quickEnd != nullptr ? std::string(quick, quickEnd) : "declined");
  }
}

struct Kind {
  const char* name;
  double (ValueMaker::*make)();
  long long count;
  // The share of values the fast path must take: all those below 2^44 in magnitude are meant
  // for it, and only those kinds that stay there are held to 100.
  int fastPercentAtLeast;
};

const Kind kKinds[] = {
    {"random bits", &ValueMaker::randomBits, 600000, 40},
    {"decimals", &ValueMaker::decimal, 1000000, 60},
    {"near halfway", &ValueMaker::nearHalfway, 1000000, 100},
    {"exact halfway", &ValueMaker::exactHalfway, 500000, 100},
    {"any magnitude", &ValueMaker::anyMagnitude, 600000, 40},
    {"integers", &ValueMaker::integer, 300000, 50},
    {"near powers", &ValueMaker::nearPowers, 300000, 60},
};

TEST(NumberFormat, Fixed6IsPrintfOnMillionsOfValues) {
  char probe[8];  // the references below are printf in the C locale
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0.5");
  std::uint64_t seed = 20240917;
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    ValueMaker maker(seed++);
    Tally tally;
    for (long long i = 0; i < kind.count; ++i) check((maker.*kind.make)(), tally);
    EXPECT_EQ(tally.mismatches, 0);
#if defined(__SIZEOF_INT128__)
    EXPECT_GE(tally.fast * 100, tally.values * kind.fastPercentAtLeast)
        << tally.fast << " of " << tally.values << " took the fast path";
#endif
  }
}

// Values each form meets at least once: zeros of both signs, the smallest subnormal, the
// limits of rounding to the first millionth, the fast path's upper limit and just below,
// infinities and NaNs (which the fast path must leave to the general one).
TEST(NumberFormat, Fixed6IsPrintfOnEdges) {
  using limits = std::numeric_limits<double>;
  const double limit = 0x1p44, belowLimit = std::nextafter(limit, 0.0), tiny = limits::denorm_min();
  const double edges[] = {0.0,
                          -0.0,
                          tiny,
                          -tiny,
                          limits::min(),
                          0.5e-6,
                          -0.5e-6,
                          std::nextafter(0.5e-6, 1.0),
                          std::nextafter(0.5e-6, 0.0),
                          1.5e-6,
                          0.0078125,
                          -0.0078125,
                          0.9999995,
                          999999.9999995,
                          limit,
                          belowLimit,
                          -belowLimit,
                          limits::max(),
                          -limits::max(),
                          HUGE_VAL,
                          -HUGE_VAL,
                          limits::quiet_NaN(),
                          -limits::quiet_NaN()};
  Tally tally;
  for (double v : edges) check(v, tally);
  EXPECT_EQ(tally.mismatches, 0);

  char out[kFixed6Room];
  for (double declined : {HUGE_VAL, limits::quiet_NaN(), limit})
    EXPECT_EQ(veltcore::text::fast::formatFixed6(out, declined), nullptr) << declined;
#if defined(__SIZEOF_INT128__)
  char* end = veltcore::text::fast::formatFixed6(out, belowLimit);
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(std::string(out, end), "17592186044415.998047");
#endif
}

// formatFixed (String's conversion of reals) gives the same text as printf for six decimals
// and for other counts, through whichever path it takes.
TEST(NumberFormat, FormatFixedIsPrintfForAnyDecimalCount) {
  ValueMaker maker(77);
  char expected[kFixed6Room + 80];
  for (int i = 0; i < 200000; ++i) {
    const double v = i % 2 == 0 ? maker.decimal() : maker.anyMagnitude();
    const int decimals = i % 3 == 0 ? i % 10 : 6;
    std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
    ASSERT_EQ(veltcore::text::formatFixed(v, decimals), expected) << std::hexfloat << v;
  }
}

}  // namespace
