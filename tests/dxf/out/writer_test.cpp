// tests/dxf/out/writer_test.cpp: the lines of one group code/value pair: right-aligned codes,
// integers, six-decimal reals whatever the locale, upper-case hexadecimal, long strings.
#include <veltcore/dxf/out/writer.h>

#include <gtest/gtest.h>

#include <clocale>
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

// A writer on an opened memory file.
struct Output {
  MemoryFile file{"out.dxf", "", IFile::kWrite};
  CFileDXFOWriter writer{file};
  Output() { file.open(); }
  const std::string& text() const { return file.written(); }
};

struct PairCase {
  const char* what;
  std::function<void(CFileDXFOWriter&)> write;
  const char* expected;
};

const std::vector<PairCase>& pairCases() {
  static const std::vector<PairCase> cases = {
      {"code 0", [](CFileDXFOWriter& w) { w.write(0, "SECTION"); }, "  0\nSECTION\n"},
      {"code 10", [](CFileDXFOWriter& w) { w.write(10, 2.5); }, " 10\n2.500000\n"},
      {"code 330", [](CFileDXFOWriter& w) { w.write(330, "1F"); }, "330\n1F\n"},
      {"code 1071", [](CFileDXFOWriter& w) { w.write(1071, 3L); }, "1071\n3\n"},
      {"negative code", [](CFileDXFOWriter& w) { w.write(-1, "x"); }, " -1\nx\n"},
      {"real 1", [](CFileDXFOWriter& w) { w.write(40, 1.0); }, " 40\n1.000000\n"},
      {"real rounded", [](CFileDXFOWriter& w) { w.write(40, 0.1234567); }, " 40\n0.123457\n"},
      {"negative real", [](CFileDXFOWriter& w) { w.write(40, -1234.5); }, " 40\n-1234.500000\n"},
      {"negative zero", [](CFileDXFOWriter& w) { w.write(40, -0.0); }, " 40\n-0.000000\n"},
      {"tiny real", [](CFileDXFOWriter& w) { w.write(40, 1e-9); }, " 40\n0.000000\n"},
      {"large real", [](CFileDXFOWriter& w) { w.write(40, 1e20); },
       " 40\n100000000000000000000.000000\n"},
      {"infinity", [](CFileDXFOWriter& w) { w.write(40, -HUGE_VAL); }, " 40\n-inf\n"},
      {"integer", [](CFileDXFOWriter& w) { w.write(62, -3L); }, " 62\n-3\n"},
      {"true", [](CFileDXFOWriter& w) { w.write(70, true); }, " 70\n1\n"},
      {"false", [](CFileDXFOWriter& w) { w.write(70, false); }, " 70\n0\n"},
      {"hex 255", [](CFileDXFOWriter& w) { w.writeHex(5, 255L); }, "  5\nFF\n"},
      {"hex 0", [](CFileDXFOWriter& w) { w.writeHex(5, 0L); }, "  5\n0\n"},
      {"hex letters", [](CFileDXFOWriter& w) { w.writeHex(5, 0xABCDEFL); }, "  5\nABCDEF\n"},
      {"hex of -1 is 32-bit", [](CFileDXFOWriter& w) { w.writeHex(5, -1L); }, "  5\nFFFFFFFF\n"},
      {"empty string", [](CFileDXFOWriter& w) { w.write(1, ""); }, "  1\n\n"},
      {"null string", [](CFileDXFOWriter& w) { w.write(1, static_cast<const char*>(nullptr)); },
       "  1\n\n"},
      {"string kept as is", [](CFileDXFOWriter& w) { w.write(1, " a b "); }, "  1\n a b \n"},
  };
  return cases;
}

void expectPairCases() {
  for (const PairCase& c : pairCases()) {
    Output out;
    c.write(out.writer);
    EXPECT_EQ(out.text(), c.expected) << c.what;
  }
}

TEST(DxfWriter, PairsInTheCLocale) {
  expectPairCases();
}

TEST(DxfWriter, PairsUnderACommaLocale) {
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5");  // the locale really changes printf
  expectPairCases();
}

TEST(DxfWriter, RealsMatchPrintfInTheCLocale) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 40);
  std::vector<double> values = {0.5e-6,
                                1.5e-6,
                                2.5e-6,
                                0.0000005,
                                123456.0000005,
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::denorm_min()};
  for (int i = 0; i < 2000; ++i) values.push_back(std::ldexp(mantissa(random), exponent(random)));
  for (double v : values) {
    Output out;
    out.writer.write(40, v);
    std::vector<char> expected(512);
    std::snprintf(expected.data(), expected.size(), " 40\n%.6f\n", v);
    ASSERT_EQ(out.text(), expected.data()) << v;
  }
}

TEST(DxfWriter, IntegersMatchPrintf) {
  for (long v : {0L, 7L, -7L, 32767L, -2147483647L - 1, 2147483647L}) {
    Output out;
    out.writer.write(70, v);
    char expected[32];
    std::snprintf(expected, sizeof expected, " 70\n%ld\n", v);
    EXPECT_EQ(out.text(), expected);
  }
}

TEST(DxfWriter, StringsAreCutAfter1022Characters) {
  struct Case {
    std::size_t length, written;
  };
  for (Case c : {Case{1021, 1021}, Case{1022, 1022}, Case{1023, 1022}, Case{5000, 1022}}) {
    std::string value(c.length, 'x');
    value[0] = 'a';
    Output out;
    out.writer.write(1, value.c_str());
    EXPECT_EQ(out.text(), "  1\n" + value.substr(0, c.written) + "\n") << c.length;
  }
}

TEST(DxfWriter, EachLineIsOneWriteAndAFullFilePassesItsErrorOn) {
  Output out;
  out.file.setWriteLimit(6);  // the code line fits, the value line does not
  EXPECT_THROW(out.writer.write(2, "HEADER"), IFile::IFileDiskFull);
  EXPECT_EQ(out.text(), "  2\nHE");
}

}  // namespace
