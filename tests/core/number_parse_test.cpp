// tests/core/number_parse_test.cpp: the fast paths of parseInt and parseDouble against the
// general conversions on millions of generated texts (fixed seed): every value the fast path
// gives must be the general one bit for bit. Also values known exactly, the atoi/atof
// behaviour of the general conversions, and numbers beyond the doubles under a comma locale.
#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/number_parse.h"
#include "core/text.h"
#include "support/comma_locale.h"

namespace {

using namespace veltcore::text;

std::uint64_t bitsOf(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Texts of every shape the conversions meet: blanks, signs, leading zeros, long and short
// digit runs, points, exponents with and without digits, trailing garbage, the words and
// forms only the general path takes, and real doubles written as writers write them.
class TextMaker {
 public:
  std::string decimal() {
    if (below(50) == 0)
      return pick({"inf", "-INF", "nan", "Infinity", "0x1p3", ".", "-", "", "e5", ".e1", "+-1",
                   "--2", " \t\n", "1e99999999999999999999"});
    std::string s = std::string(below(4) == 0 ? below(3) + 1 : 0, below(2) ? ' ' : '\t');
    s += pick({"", "", "", "-", "-", "+"});
    if (below(10) == 0) s += "000";
    s += digits(lengthUpTo(20));
    if (below(10) < 7) s += '.' + digits(lengthUpTo(20));
    if (below(5) == 0) s += pick({"e", "E"}) + pick({"", "+", "-"}) + digits(below(5));
    if (below(10) < 3) s += pick({"abc", " 12", ",5", ".5", "e", "e+", "x", "\t", "-3"});
    return s;
  }

  // Drawing coordinates, lengths and angles, any power of ten, or any bit pattern (nan and
  // infinities included), written fixed, scientific, general or shortest.
  std::string formatted() {
    const long kind = below(4);
    double v;
    if (kind == 0) {
      v = uniform() * 1e5 - 5e4;
    } else if (kind == 1) {
      v = uniform() * 400.0;
    } else if (kind == 2) {
      v = std::pow(10.0, uniform() * 60 - 30) * (below(2) ? 1 : -1);
    } else {
      const std::uint64_t b = rng_();
      std::memcpy(&v, &b, sizeof v);
    }
    char text[400];
    const int precision = static_cast<int>(below(18));
    const std::chars_format formats[] = {std::chars_format::fixed, std::chars_format::scientific,
                                         std::chars_format::general};
    const long form = below(4);
    const std::to_chars_result r =
        form == 3
            ? std::to_chars(text, text + sizeof text, v)
            : std::to_chars(text, text + sizeof text, v, formats[form], precision + (form == 2));
    return r.ec == std::errc() ? std::string(text, r.ptr) : std::string("0");
  }

  std::string integer() {
    std::string s = std::string(below(3) == 0 ? 2 : 0, ' ');
    s += pick({"", "", "-", "+"});
    s += digits(below(14));
    if (below(4) == 0) s += pick({"abc", ".9", " 7", "e3"});
    return s;
  }

 private:
  std::mt19937_64 rng_{20240611};

  long below(long n) { return static_cast<long>(rng_() % static_cast<std::uint64_t>(n)); }
  double uniform() { return static_cast<double>(rng_() >> 11) * 0x1.0p-53; }
  // Short runs most often, up to n.
  long lengthUpTo(long n) { return below(2) ? below(7) : below(n + 1); }
  std::string digits(long n) {
    std::string s;
    for (long i = 0; i < n; ++i) s += static_cast<char>('0' + below(10));
    return s;
  }
  std::string pick(std::initializer_list<const char*> choices) {
    return *(choices.begin() + below(static_cast<long>(choices.size())));
  }
};

// Counts texts and fast answers; keeps the first mismatching texts.
struct Tally {
  long texts = 0, fast = 0;
  std::vector<std::string> mismatches;
  void mismatch(const std::string& s) {
    if (mismatches.size() < 10) mismatches.push_back(s);
  }
};

void checkDouble(const std::string& s, Tally& t) {
  ++t.texts;
  const double general = parseDoubleGeneral(s.c_str());
  double fastValue;
  if (fast::parseDouble(s.c_str(), fastValue)) {
    ++t.fast;
    if (bitsOf(fastValue) != bitsOf(general)) t.mismatch(s);
  }
  if (bitsOf(parseDouble(s.c_str())) != bitsOf(general)) t.mismatch(s);
}

TEST(NumberParse, FastDoublesAreTheGeneralOnesBitForBit) {
  TextMaker maker;
  Tally shapes, written;
  for (int i = 0; i < 1000000; ++i) checkDouble(maker.decimal(), shapes);
  for (int i = 0; i < 1000000; ++i) checkDouble(maker.formatted(), written);
  EXPECT_EQ(shapes.mismatches, std::vector<std::string>());
  EXPECT_EQ(written.mismatches, std::vector<std::string>());
  // The comparison means something only if the fast path took a good share of the texts.
  EXPECT_GT(shapes.fast, shapes.texts / 4);
  EXPECT_GT(written.fast, written.texts / 5);
}

TEST(NumberParse, FastIntegersAreTheGeneralOnes) {
  TextMaker maker;
  Tally t;
  for (int i = 0; i < 1000000; ++i) {
    const std::string s = maker.integer();
    ++t.texts;
    const int general = parseIntGeneral(s.c_str());
    int fastValue;
    if (fast::parseInt(s.c_str(), fastValue)) {
      ++t.fast;
      if (fastValue != general) t.mismatch(s);
    }
    if (parseInt(s.c_str()) != general) t.mismatch(s);
  }
  EXPECT_EQ(t.mismatches, std::vector<std::string>());
  EXPECT_GT(t.fast, t.texts / 2);
}

// The general conversions read like atoi and atof in the C locale, clamping ints.
TEST(NumberParse, GeneralConversionsReadLikeAtoiAndAtof) {
  const std::pair<const char*, int> ints[] = {{" \t+12abc", 12},         {" 999999999x", 999999999},
                                              {"2147483648", INT_MAX},   {"-2147483649", INT_MIN},
                                              {"-2147483648", INT_MIN},  {"99999999999", INT_MAX},
                                              {"-99999999999", INT_MIN}, {nullptr, 0}};
  for (const auto& [text, value] : ints) EXPECT_EQ(parseInt(text), value) << text;
  EXPECT_EQ(parseDouble("+-1"), 0.0);
  EXPECT_EQ(parseDouble(nullptr), 0.0);
  EXPECT_EQ(parseDouble("\n 6.5mm"), 6.5);
}

TEST(NumberParse, TheFastPathTakesExactCasesOnly) {
  // Values the compiler rounds from the same decimal literals.
  const std::pair<const char*, double> exact[] = {{"0.1", 0.1},
                                                  {"123456.789012", 123456.789012},
                                                  {"-2.5E-1", -0.25},
                                                  {"1e22", 1e22},
                                                  {"  7.", 7.0},
                                                  {".000001", 1e-6},
                                                  {"4.35e-5xyz", 4.35e-5},
                                                  {"9007199254740992", 9007199254740992.0}};
  for (const auto& [text, value] : exact) {
    double v = 0;
    EXPECT_TRUE(fast::parseDouble(text, v)) << text;
    EXPECT_EQ(bitsOf(v), bitsOf(value)) << text;
  }
  double v = 0;
  EXPECT_TRUE(fast::parseDouble("-0.0", v) && std::signbit(v));
  // More than 2^53, a power beyond 10^22, twenty digits, or no digits: the general path.
  for (const char* text :
       {"9007199254740993", "1e23", "1e-23", "00000000000000000001.5", "-.", "nan", "+-1"}) {
    EXPECT_FALSE(fast::parseDouble(text, v)) << text;
  }
  EXPECT_EQ(parseDouble("9007199254740993"), 9007199254740992.0);  // ties to even
  EXPECT_EQ(parseDouble("00000000000000000001.5"), 1.5);
}

TEST(NumberParse, NumbersBeyondTheDoublesIgnoreTheLocale) {
  auto expectRange = [] {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(parseDouble("1.5e999"), inf);
    EXPECT_EQ(parseDouble("-123456789.5e302"), -inf);
    EXPECT_EQ(parseDouble("0.0000000001e-320"), 0.0);
    EXPECT_EQ(parseDouble("1000.5e-330"), 0.0);
    EXPECT_TRUE(std::signbit(parseDouble("-2.5e-999")));
    EXPECT_EQ(parseDouble("-2.5e-999"), 0.0);
  };
  expectRange();
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  expectRange();
}

}  // namespace
