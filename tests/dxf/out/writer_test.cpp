// tests/dxf/out/writer_test.cpp: the lines of one group code/value pair: right-aligned codes,
// integers, six-decimal reals whatever the locale, upper-case hexadecimal, long strings.
#include <veltcore/veltcore.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dxf/memory_file.h"
#include "support/comma_locale.h"

namespace {

using Write = std::function<void(CFileDXFOWriter&)>;
using Cases = std::vector<std::pair<Write, std::string>>;

// What write does on a fresh writer over an opened memory file.
std::string written(const Write& write) {
  MemoryFile file{"out.dxf", "", IFile::kWrite};
  CFileDXFOWriter writer{file};
  file.open();
  write(writer);
  return file.written();
}

const Cases& fixedCases() {
  using W = CFileDXFOWriter;
  static const Cases cases = {
      {[](W& w) { w.write(0, "SECTION"); }, "  0\nSECTION\n"},
      {[](W& w) { w.write(330, "1F"); }, "330\n1F\n"},
      {[](W& w) { w.write(1071, 3L); }, "1071\n3\n"},
      {[](W& w) { w.write(-1, "x"); }, " -1\nx\n"},
      {[](W& w) { w.write(40, -0.0); }, " 40\n-0.000000\n"},
      {[](W& w) { w.write(40, 1e20); }, " 40\n100000000000000000000.000000\n"},
      {[](W& w) { w.write(40, -HUGE_VAL); }, " 40\n-inf\n"},
      {[](W& w) { w.write(70, true); }, " 70\n1\n"},
      {[](W& w) { w.write(70, false); }, " 70\n0\n"},
      {[](W& w) { w.writeHex(5, 0L); }, "  5\n0\n"},
      {[](W& w) { w.writeHex(5, 0xABCDEFL); }, "  5\nABCDEF\n"},
      {[](W& w) { w.writeHex(5, -1L); }, "  5\nFFFFFFFF\n"},  // 32 bits
      {[](W& w) { w.write(1, ""); }, "  1\n\n"},
      {[](W& w) { w.write(1, static_cast<const char*>(nullptr)); }, "  1\n\n"},
      {[](W& w) { w.write(1, " a b "); }, "  1\n a b \n"}};
  return cases;
}

// Reals that printf rounds at the sixth decimal in every way, extremes, random ones across the
// exponents, and integers at the 32-bit limits, with their text from snprintf in the current
// (C) locale.
Cases printfCases() {
  Cases cases;
  std::vector<double> reals = {0.5e-6,
                               1.5e-6,
                               2.5e-6,
                               123456.0000005,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::denorm_min()};
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 40);
  for (int i = 0; i < 2000; ++i) reals.push_back(std::ldexp(mantissa(random), exponent(random)));
  std::vector<char> text(512);
  for (double v : reals) {
    std::snprintf(text.data(), text.size(), " 40\n%.6f\n", v);
    cases.emplace_back([v](CFileDXFOWriter& w) { w.write(40, v); }, text.data());
  }
  for (long v : {0L, 7L, -7L, 32767L, -2147483647L - 1, 2147483647L}) {
    std::snprintf(text.data(), text.size(), " 70\n%ld\n", v);
    cases.emplace_back([v](CFileDXFOWriter& w) { w.write(70, v); }, text.data());
  }
  return cases;
}

// The fixed pairs and the printf texts written in the current locale, whose decimal separator
// gives "half" for 0.5.
void expectPairs(const Cases& formatted, const char* half) {
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, half);  // the locale really is the one meant
  for (const Cases* cases : {&fixedCases(), &formatted})
    for (const auto& [write, expected] : *cases) ASSERT_EQ(written(write), expected);
}

TEST(DxfWriter, PairsInTheCLocale) {
  expectPairs(printfCases(), "0.5");
}

TEST(DxfWriter, PairsUnderACommaLocale) {
  const Cases formatted = printfCases();  // before the switch: in the C locale
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  expectPairs(formatted, "0,5");
}

TEST(DxfWriter, StringsAreCutAfter1022CharactersAndAFullFilePassesItsErrorOn) {
  for (const auto& [length, kept] :
       {std::pair<std::size_t, std::size_t>{1022, 1022}, {1023, 1022}, {5000, 1022}}) {
    std::string value(length, 'x');
    value[0] = 'a';
    EXPECT_EQ(written([&](CFileDXFOWriter& w) { w.write(1, value.c_str()); }),
              "  1\n" + value.substr(0, kept) + "\n")
        << length;
  }
  MemoryFile file{"out.dxf", "", IFile::kWrite};
  CFileDXFOWriter writer{file};
  file.open();
  file.setWriteLimit(6);  // the code line fits, the value line does not
  EXPECT_THROW(writer.write(2, "HEADER"), IFile::IFileDiskFull);
  EXPECT_EQ(file.written(), "  2\nHE");
}

}  // namespace
