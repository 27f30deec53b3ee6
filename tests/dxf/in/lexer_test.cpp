// tests/dxf/in/lexer_test.cpp: CFileDXFILexer over memory files: group codes, value trimming,
// comments, line counting, the end of the file, long lines, and getInt, getDouble and getHex
// with their empty-value errors; and the lines a CFileStdLib lends in place against the same
// lines copied, on random files.

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <type_traits>
#include <utility>

#include "dxf/in/dxf_read_support.h"

namespace {

static_assert(std::is_base_of_v<CFileDXFILexer::LexerError, CFileDXFILexer::LexerErrorEmptyValue>);
static_assert(std::is_base_of_v<CFileDXFILexer::LexerError, CFileDXFILexer::LexerErrorBadFormat>);

// A lexer over an opened memory file.
class Reading {
 public:
  explicit Reading(std::string content) : file_("t.dxf", std::move(content)), lexer_(file_) {
    file_.open();
  }
  CFileDXFILexer& lexer() { return lexer_; }
  std::string value() { return lexer_.getString().c_str(); }

 private:
  MemoryFile file_;
  CFileDXFILexer lexer_;
};

TEST(CFileDXFILexer, GroupCodeLinesAndValuesLoseTrailingBlanksButKeepLeadingOnes) {
  // Blank-padded, CR LF, CRs piled before the LF, negative, letters (not checked: 0), digits
  // followed by anything; a blank is not a line end.
  // clang-format off
  const std::pair<const char*, long> groups[] = {{"  10\n", 10}, {"10\r\n", 10},
      {"10\r\r\n", 10}, {"-5\n", -5}, {"Layer\n", 0}, {"8 junk\n", 8}, {"\t 62 \n", 62},
      {" \n", 0}};
  // clang-format on
  for (const auto& [line, group] : groups) {
    Reading r(std::string(line) + "value\n");
    EXPECT_EQ(r.lexer().read(), group) << line;
    EXPECT_EQ(r.lexer().getGroupValue(), group) << line;
    EXPECT_EQ(r.value(), "value") << line;
  }
  for (const char* content : {"\nvalue\n", "\r\nvalue\n", "\r\r\nvalue\n"}) {
    Reading r(content);  // a line end alone is an error
    EXPECT_THROW(r.lexer().read(), CFileDXFILexer::LexerError) << content;
  }
  // The last line needs no line end.
  // clang-format off
  const std::pair<const char*, const char*> values[] = {{"Layer 1 \t\r\n", "Layer 1"},
      {"  0\n", "  0"}, {"\t x \t\n", "\t x"}, {"abc\r\n", "abc"}, {"abc\r", "abc"},
      {"abc", "abc"}, {"a\r\r\n", "a"}, {"a b\n", "a b"}, {"\n", ""}, {" \t \r\n", ""}};
  // clang-format on
  for (const auto& [line, value] : values) {
    Reading r(std::string("8\n") + line);
    r.lexer().read();
    EXPECT_EQ(r.value(), value) << line;
    EXPECT_EQ(r.lexer().getString().size(), static_cast<int>(std::string(value).size()));
  }
  // Leading blanks make a name different but not a number.
  Reading r("8\n  0\n");
  r.lexer().read();
  EXPECT_FALSE(r.lexer().getString().equal_ci("0"));
  EXPECT_EQ(r.lexer().getInt(), 0);
}

TEST(CFileDXFILexer, CommentsCountTheLastPairIsReadAndTheValueIsOneBuffer) {
  Reading r("999\nwritten by hand\n0\nSECTION\n999\n\n999\nanother\n2\nHEADER\n0\nEOF");
  EXPECT_EQ(r.lexer().getLine(), 0);
  EXPECT_EQ(r.lexer().read(), 0);
  const char* first = r.lexer().getString().c_str();
  EXPECT_EQ(r.value(), "SECTION");
  EXPECT_EQ(r.lexer().getLine(), 4);
  EXPECT_EQ(r.lexer().read(), 2);
  EXPECT_EQ(r.lexer().getString().c_str(), first);  // the next read overwrites it
  EXPECT_STREQ(first, "HEADER");
  EXPECT_EQ(r.lexer().getLine(), 10);
  EXPECT_EQ(r.lexer().read(), 0);
  EXPECT_THROW(r.lexer().read(), IFile::IFileEOF);
  // Inside a pair, the end passes on after the group line is counted.
  Reading cut("0\r\nSECTION\r\n2\r\n");
  cut.lexer().read();
  EXPECT_THROW(cut.lexer().read(), IFile::IFileEOF);
  EXPECT_EQ(cut.lexer().getLine(), 3);
}

TEST(CFileDXFILexer, ALineLongerThanTheBufferIsCutAndItsRestIsTheNextLine) {
  const std::string head(static_cast<std::size_t>(CFileDXFILexer::kLineSize - 1), 'A');
  // The value line holds 4095 letters, then "42": the 42 becomes the next group code line.
  Reading r("1\n" + head + "42\nVAL\n0\nEOF\n");
  EXPECT_EQ(r.lexer().read(), 1);
  EXPECT_EQ(r.value(), head);
  EXPECT_EQ(r.lexer().read(), 42);
  EXPECT_EQ(r.value(), "VAL");
  EXPECT_EQ(r.lexer().getLine(), 4);
  // Exactly 4095 characters leave the line end alone on the next line: an empty group line.
  Reading exact("1\n" + head + "\n0\nEOF\n");
  exact.lexer().read();
  EXPECT_THROW(exact.lexer().read(), CFileDXFILexer::LexerError);
}

TEST(CFileDXFILexer, NumbersReadAsAtoiAtofAndHexWithEmptyValuesRefused) {
  struct Case {
    const char* value;
    long i;
    double d;
  };
  // clang-format off
  const Case cases[] = {{"7.9", 7, 7.9}, {"1e3", 1, 1000.0}, {"12abc", 12, 12.0}, {"abc", 0, 0.0},
      {"  -3", -3, -3.0}, {"+4.5", 4, 4.5}, {".5", 0, 0.5}, {"-2.5E-1", -2, -0.25},
      {"  1,5", 1, 1.0}};
  // Every character is a digit and the low 32 bits are kept: a ninth digit pushes the first
  // out; letters beyond F continue the count from 'a' ("1g" is 0x10 | 16: an oversized digit
  // overlaps the one before); ':' counts from 'A' - 10 and 'G' from 'a' - 10 (negative).
  const std::pair<const char*, long> hex[] = {{"1A", 26}, {"1a", 26}, {"0", 0},
      {"7FFFFFFF", 2147483647L}, {"80000000", -2147483647L - 1}, {"FFFFFFFF", -1},
      {"123456789", 0x23456789}, {"g", 16}, {"1g", 16}, {":", 3}, {"G", -16}};
  // clang-format on
  for (const Case& c : cases) {
    Reading r(std::string("40\n") + c.value + "\n");
    r.lexer().read();
    EXPECT_EQ(r.lexer().getInt(), c.i) << c.value;
    EXPECT_DOUBLE_EQ(r.lexer().getDouble(), c.d) << c.value;
  }
  for (const auto& [value, expected] : hex) {
    Reading r(std::string("5\n") + value + "\n");
    r.lexer().read();
    EXPECT_EQ(r.lexer().getHex(), expected) << value;
  }
  Reading r("5\n\n5\n \t\r\n");
  for (int pair = 0; pair < 2; ++pair) {
    r.lexer().read();
    EXPECT_EQ(r.value(), "");
    EXPECT_THROW(r.lexer().getInt(), CFileDXFILexer::LexerErrorEmptyValue);
    EXPECT_THROW(r.lexer().getDouble(), CFileDXFILexer::LexerErrorEmptyValue);
    EXPECT_THROW(r.lexer().getHex(), CFileDXFILexer::LexerErrorEmptyValue);
  }
}

// The lexer lends CFileStdLib's lines in place but copies those of any derived class through
// its readLn: this one copies them as they are, the other shouts them.
class CopiedLines : public CFileStdLib {
 public:
  using CFileStdLib::CFileStdLib;
};
class ShoutedLines : public CFileStdLib {
 public:
  using CFileStdLib::CFileStdLib;
  void readLn(char* buffer, long size) override {
    CFileStdLib::readLn(buffer, size);
    for (char* p = buffer; *p != '\0'; ++p) *p = static_cast<char>(std::toupper(*p));
  }
};

// Everything a reader can learn of one read(): its group, or how it failed, with the value,
// the line count and the three conversions.
std::string readAndDescribe(CFileDXFILexer& lexer) {
  std::string d;
  try {
    d = std::to_string(lexer.read());
  } catch (const IFile::IFileEOF&) {
    return "EOF at " + std::to_string(lexer.getLine());
  } catch (const CFileDXFILexer::LexerError&) {
    return "LexerError at " + std::to_string(lexer.getLine());
  }
  d += " [" + std::string(lexer.getString().c_str()) + "] " + std::to_string(lexer.getLine());
  try {
    d += " " + std::to_string(lexer.getInt()) + " " + std::to_string(lexer.getHex()) + " " +
         std::to_string(lexer.getDouble());
  } catch (const CFileDXFILexer::LexerErrorEmptyValue&) {
    d += " empty";
  }
  return d;
}

// Pair-like lines: group codes (blank-padded, comments, letters, rarely empty), values of every
// length up to beyond the line limit (those around 16 bytes included, where the line search
// changes method), CR LF and LF ends, trailing blanks, NULs unless withoutNul, and a file end
// with or without a last line end.
std::string randomDxf(std::mt19937_64& rng, bool withoutNul) {
  using namespace std::string_literals;
  static const std::string kGroups[] = {"  0", " 10", "999", "  8", "62", "abc", "  5", "\00010"s};
  // clang-format off
  static const std::string kValues[] = {"LINE", "12.5", "  0", "1A", "", "-3e2 ", "x\t \r",
      "0123456789abcd", "0123456789abcde", "0123456789abcdef", "a\0b"s, "\0 x"s};
  // clang-format on
  const std::size_t groups = withoutNul ? 7 : 8, values = withoutNul ? 10 : 12;
  std::string text;
  const int lines = static_cast<int>(rng() % 30000);
  for (int i = 0; i < lines; ++i) {
    if (i % 2 == 0)
      text += rng() % 5000 == 0 ? "" : kGroups[rng() % groups];  // "" and NUL-led: LexerError
    else if (rng() % 500 == 0)
      text += std::string(4000 + rng() % 200, 'V');  // around the 4095-character limit
    else if (rng() % 50 == 0)
      text += std::string(17 + rng() % 40, 'W');
    else
      text += kValues[rng() % values];
    text += rng() % 4 == 0 ? "\r\n" : "\n";
  }
  if (rng() % 2 == 0 && !text.empty()) text.pop_back();
  return text;
}

TEST(CFileDXFILexer, LinesReadInPlaceGiveWhatCopiedLinesGive) {
  dxftest::ScratchDir dir;
  std::mt19937_64 rng(11);
  long pairs = 0;
  for (int fileNo = 0; fileNo < 30; ++fileNo) {
    const std::string path = dir.write("r.dxf", randomDxf(rng, fileNo % 2 == 0));
    CFileStdLib inPlace(path.c_str(), IFile::kRead);
    CopiedLines copied(path.c_str(), IFile::kRead);
    inPlace.open();
    copied.open();
    CFileDXFILexer fast(inPlace), reference(copied);
    for (;; ++pairs) {
      const std::string want = readAndDescribe(reference);
      ASSERT_EQ(readAndDescribe(fast), want) << "file " << fileNo << ", pair " << pairs;
      if (want.rfind("EOF", 0) == 0) break;  // reading on after a LexerError compares more
    }
    inPlace.close();
    copied.close();
  }
  EXPECT_GT(pairs, 100000);

  const std::string path = dir.write("shout.dxf", "0\nline\n");
  ShoutedLines shouted(path.c_str(), IFile::kRead);
  shouted.open();
  CFileDXFILexer lexer(shouted);
  lexer.read();
  EXPECT_STREQ(lexer.getString().c_str(), "LINE");
  shouted.close();
}

}  // namespace
