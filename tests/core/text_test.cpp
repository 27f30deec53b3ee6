// tests/core/text_test.cpp: number text and case folding do not depend on the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include <veltcore/core/string.h>
#include "core/text.h"
#include "support/comma_locale.h"

namespace {

void expectPointDecimals() {
  String s;
  s = 1.25;
  EXPECT_STREQ(s.c_str(), "1.250000");
  EXPECT_DOUBLE_EQ(String("3.75").toDouble(), 3.75);
  EXPECT_EQ(veltcore::text::formatFixed(-0.5, 3), "-0.500");
}

TEST(Text, NumbersUseAPointInTheCLocale) {
  expectPointDecimals();
}

TEST(Text, NumbersUseAPointUnderACommaLocale) {
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  expectPointDecimals();
}

TEST(Text, ParsingLikeAtoiAndAtof) {
  using veltcore::text::parseDouble;
  using veltcore::text::parseInt;
  EXPECT_EQ(parseInt(" \t+12abc"), 12);
  EXPECT_EQ(parseInt("99999999999"), 2147483647);
  EXPECT_EQ(parseInt("-99999999999"), -2147483647 - 1);
  EXPECT_EQ(parseInt(nullptr), 0);
  EXPECT_EQ(parseDouble("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(parseDouble("+-1"), 0.0);
  EXPECT_DOUBLE_EQ(parseDouble("\n 6.5mm"), 6.5);
}

TEST(Text, CaseFoldingIsAsciiOnly) {
  using veltcore::text::equalNoCase;
  EXPECT_TRUE(equalNoCase("Layer_A", "LAYER_a"));
  EXPECT_FALSE(equalNoCase("\xC8", "\xE8"));  // bytes beyond ASCII compare exactly
  EXPECT_TRUE(equalNoCase(nullptr, ""));
  EXPECT_FALSE(equalNoCase("a", "ab"));
}

}  // namespace
