// tests/core/smart_string_test.cpp: SmartString borrows its text and compares ignoring case.
#include <veltcore/core/string.h>

#include <gtest/gtest.h>

namespace {

TEST(SmartString, BorrowsTheCallersBuffer) {
  char token[] = "LINE";
  SmartString s(token);
  EXPECT_EQ(s.c_str(), token);
  token[0] = 'l';  // the view follows its owner's changes
  EXPECT_EQ(s[0], 'l');
  EXPECT_EQ(s.size(), 4);

  SmartString copy(s);
  SmartString assigned;
  assigned = copy;
  EXPECT_EQ(assigned.c_str(), token);
  assigned = "CIRCLE";
  EXPECT_EQ(assigned.size(), 6);
}

TEST(SmartString, BothComparisonsIgnoreCase) {
  const SmartString s("Section");
  EXPECT_TRUE(s.equal_ci("SECTION"));
  EXPECT_TRUE(s.equal_cs("section"));
  EXPECT_TRUE(s.equal_cs(SmartString("SeCtIoN")));
  EXPECT_FALSE(s.equal_ci("Sections"));
  EXPECT_FALSE(s.equal_cs(SmartString("Sectio")));
}

TEST(SmartString, NullViewReadsAsEmpty) {
  SmartString s;
  EXPECT_EQ(s.c_str(), nullptr);
  EXPECT_EQ(s.size(), 0);
  EXPECT_TRUE(s.equal_ci(""));
  EXPECT_FALSE(s.equal_ci("x"));
}

}  // namespace
