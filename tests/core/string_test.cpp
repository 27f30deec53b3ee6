// tests/core/string_test.cpp: String's sharing, copy on write, assignment, conversions and
// bounds checks; SmartString, which borrows its text; and the ASCII-only, locale-blind case
// folding and number text both rely on. Sharing is observed through c_str(): two Strings share
// a representation exactly when they hand out the same buffer.
#include <veltcore/core/string.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/string_ops.h"
#include "core/text.h"
#include "support/comma_locale.h"

namespace {

bool shares(const String& a, const String& b) {
  return a.c_str() == b.c_str();
}

TEST(String, CopiesShareUntilOneWrites) {
  EXPECT_STREQ(String().c_str(), "");  // never null
  EXPECT_STREQ(String(static_cast<const char*>(nullptr)).c_str(), "");
  String b("layer");
  String a;
  a = b;
  String c(b);
  EXPECT_TRUE(shares(a, b));
  EXPECT_TRUE(shares(c, b));

  a.write(0, 'X');
  EXPECT_STREQ(a.c_str(), "Xayer");
  EXPECT_STREQ(b.c_str(), "layer");
  EXPECT_TRUE(shares(c, b));  // the other copies still share

  c[1] = 'Y';  // through the Cref proxy
  EXPECT_STREQ(c.c_str(), "lYyer");
  EXPECT_STREQ(b.c_str(), "layer");
  EXPECT_EQ(b.getBuffer(), b.c_str());  // b is now the only user: stays in place

  String d(b);  // appending nothing keeps sharing
  d += "";
  d += String();
  d += static_cast<const char*>(nullptr);
  EXPECT_TRUE(shares(b, d));
}

TEST(String, WritesThatLeaveOtherCopiesIntact) {
  // Every mutator on a shared String must leave its former partner unchanged.
  struct Case {
    const char* name;
    void (*mutate)(String&);
    const char* expected;
  };
  const Case cases[] = {
      {"assign text", [](String& s) { s = "other"; }, "other"},
      {"assign same length", [](String& s) { s = "XXXX"; }, "XXXX"},
      {"empty", [](String& s) { s.empty(); }, ""},
      {"resize shorter", [](String& s) { s.resize(2); }, "ab"},
      {"append", [](String& s) { s += "!"; }, "abcd!"},
      {"getBuffer", [](String& s) { s.getBuffer()[3] = 'Z'; }, "abcZ"},
      {"LoadString", [](String& s) { s.LoadString(29); }, "Cyan"},
      {"char", [](String& s) { s = 'q'; }, "q"},
      {"NUL char", [](String& s) { s = '\0'; }, ""},
      {"unsigned max", [](String& s) { s = 4294967295u; }, "4294967295"},
      {"int min", [](String& s) { s = -2147483647 - 1; }, "-2147483648"},
      {"double rounds", [](String& s) { s = 2.0000005; }, "2.000001"},
      {"negative double", [](String& s) { s = -0.25; }, "-0.250000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    String original("abcd");
    String copy(original);
    c.mutate(copy);
    EXPECT_STREQ(copy.c_str(), c.expected);
    EXPECT_EQ(copy.size(), static_cast<int>(std::strlen(c.expected)));
    EXPECT_STREQ(original.c_str(), "abcd");
    EXPECT_EQ(original.size(), 4);
  }
}

TEST(String, SelfAssignmentAndAliasedSources) {
  String s("drawing");
  const String& alias = s;
  s = alias;
  EXPECT_STREQ(s.c_str(), "drawing");
  s = s.c_str() + 2;  // source inside the buffer that is being replaced
  EXPECT_STREQ(s.c_str(), "awing");
  s = s.c_str();  // same length, same buffer
  EXPECT_STREQ(s.c_str(), "awing");
  s += s;
  EXPECT_STREQ(s.c_str(), "awingawing");
  s += s.c_str() + 5;
  EXPECT_STREQ(s.c_str(), "awingawingawing");
}

TEST(String, ConcatenationAndLargeDoubles) {
  const String base("Block");
  EXPECT_STREQ((base + String("X") + "Y" + 'Z').c_str(), "BlockXYZ");
  EXPECT_STREQ((base + 12 + -3).c_str(), "Block12-3");
  EXPECT_STREQ((base + 0.5).c_str(), "Block0.500000");
  EXPECT_STREQ(base.c_str(), "Block");
  String s;
  s = 1e300;
  EXPECT_EQ(s.size(), 301 + 7);  // 301 integer digits, the point and six decimals
  EXPECT_EQ(std::string(s.c_str()).substr(s.size() - 7), ".000000");
}

TEST(String, CheckedIndexThrowsRange) {
  String s("abc");
  const String& cs = s;
  EXPECT_EQ(cs[2], 'c');
  EXPECT_THROW(s[s.size()], String::Range);
  EXPECT_THROW(s[-1], String::Range);
  EXPECT_THROW(cs[3], String::Range);
  EXPECT_THROW(String()[0], String::Range);
  EXPECT_NO_THROW(s.check(2));
  EXPECT_THROW(s.check(3), String::Range);
  EXPECT_STREQ(s.c_str(), "abc");
}

TEST(String, SubRangesAndSizes) {
  String s("abcdef");
  EXPECT_STREQ(s.sub(1, 3).c_str(), "bcd");
  EXPECT_STREQ(s.sub(0, 5).c_str(), "abcdef");
  EXPECT_STREQ(s.sub(2, 1).c_str(), "");  // empty range
  // A source that ends inside the range leaves NULs: the length is still the range's.
  String past(4, 9, "abcdef");
  EXPECT_EQ(past.size(), 6);
  EXPECT_STREQ(past.c_str(), "ef");
  String blank(3u);
  EXPECT_EQ(blank.size(), 3);
  EXPECT_EQ(blank.c_str()[3], '\0');
  s.resize(3);
  EXPECT_STREQ(s.c_str(), "abc");
  s.resize(5);
  EXPECT_EQ(s.size(), 5);
  EXPECT_EQ(std::string(s.c_str(), 3), "abc");
  EXPECT_EQ(s.c_str()[5], '\0');
}

// Names compare ignoring ASCII case only; SmartString's two comparisons both ignore case.
TEST(String, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(String("layer0").equal("LAYER0"));
  EXPECT_TRUE(String("layer0").equal(String("Layer0")));
  EXPECT_FALSE(String("layer0").equal("layer01"));
  EXPECT_FALSE(String("layer").equal("layes"));
  EXPECT_TRUE(String().equal(""));
  EXPECT_FALSE(veltcore::text::equalNoCase("\xC8", "\xE8"));  // bytes beyond ASCII compare exactly
  EXPECT_TRUE(veltcore::text::equalNoCase(nullptr, ""));
  const SmartString s("Section");
  EXPECT_TRUE(s.equal_ci("SECTION") && s.equal_cs("section"));
  EXPECT_TRUE(s.equal_cs(SmartString("SeCtIoN")));
  EXPECT_FALSE(s.equal_ci("Sections"));
  EXPECT_FALSE(s.equal_cs(SmartString("Sectio")));
  EXPECT_TRUE(SmartString().equal_ci(""));  // the null view reads as empty
  EXPECT_FALSE(SmartString().equal_ci("x"));
  EXPECT_EQ(SmartString().size(), 0);
}

TEST(SmartString, BorrowsTheCallersBuffer) {
  char token[] = "LINE";
  SmartString s(token);
  token[0] = 'l';  // the view follows its owner's changes
  EXPECT_EQ(s[0], 'l');
  EXPECT_EQ(s.size(), 4);
  SmartString assigned;
  assigned = SmartString(s);
  EXPECT_EQ(assigned.c_str(), token);
  assigned = "CIRCLE";
  EXPECT_EQ(assigned.size(), 6);
}

// Number text reads and writes with a point, in the C locale and under a comma locale.
TEST(String, NumbersIgnoreTheLocale) {
  const auto expectNumbers = [] {
    String s;
    s = 1.25;
    EXPECT_STREQ(s.c_str(), "1.250000");
    s = -1e20;  // beyond the fast path
    EXPECT_STREQ(s.c_str(), "-100000000000000000000.000000");
    EXPECT_EQ(veltcore::text::formatFixed(-0.5, 3), "-0.500");
    EXPECT_EQ(String("  42xyz").toInt(), 42);
    EXPECT_EQ(String("abc").toInt(), 0);
    EXPECT_DOUBLE_EQ(String(" 2.5e1").toDouble(), 25.0);
    EXPECT_DOUBLE_EQ(String("-.5").toDouble(), -0.5);
    EXPECT_EQ(String("x1").toDouble(), 0.0);
    EXPECT_EQ(String("Q").toChar(), 'Q');
    EXPECT_EQ(String().toChar(), '\0');
  };
  expectNumbers();
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  expectNumbers();
}

}  // namespace
