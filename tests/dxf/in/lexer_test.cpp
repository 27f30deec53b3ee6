// tests/dxf/in/lexer_test.cpp: CFileDXFILexer over memory files: group codes, value
// trimming, comments, line counting, the end of the file, long lines, CR LF files, and the
// conversions getInt, getDouble and getHex with their empty-value errors; and the lines a
// CFileStdLib lends in place against the same lines copied, on random files.
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <type_traits>
#include <utility>

#include "dxf/memory_file.h"

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

 private:
  MemoryFile file_;
  CFileDXFILexer lexer_;
};

TEST(CFileDXFILexer, GroupCodeLines) {
  const std::pair<const char*, long> cases[] = {
      {"  10\n", 10},    // blank-padded, as many writers align group codes
      {"10\r\n", 10},    // CR LF
      {"10\r\r\n", 10},  // CRs piled before the LF
      {"-5\n", -5},      // negative codes are taken as they are
      {"Layer\n", 0},    // letters are not checked: they read as 0
      {"8 junk\n", 8},   // digits followed by anything
      {"\t 62 \n", 62},
  };
  for (const auto& [line, group] : cases) {
    Reading r(std::string(line) + "value\n");
    EXPECT_EQ(r.lexer().read(), group) << line;
    EXPECT_EQ(r.lexer().getGroupValue(), group) << line;
    EXPECT_STREQ(r.lexer().getString().c_str(), "value") << line;
  }
  // A line end alone is an error; a blank is not a line end: it reads as group 0.
  for (const char* content : {"\nvalue\n", "\r\nvalue\n", "\r\r\nvalue\n"}) {
    Reading r(content);
    EXPECT_THROW(r.lexer().read(), CFileDXFILexer::LexerError) << content;
  }
  Reading blank(" \nvalue\n");
  EXPECT_EQ(blank.lexer().read(), 0);
}

TEST(CFileDXFILexer, ValuesLoseTrailingBlanksTabsAndLineEndsButKeepLeadingBlanks) {
  struct Case {
    const char* line;
    const char* value;
  };
  const Case cases[] = {
      {"Layer 1 \t\r\n", "Layer 1"},
      {"  0\n", "  0"},
      {"\t x \t\n", "\t x"},
      {"abc\r\n", "abc"},
      {"abc\r", "abc"},
      {"abc", "abc"},  // the last line of a file needs no line end
      {"a\r\r\n", "a"},
      {"a b\n", "a b"},
      {"\n", ""},
      {" \t \r\n", ""},
  };
  for (const Case& c : cases) {
    Reading r(std::string("8\n") + c.line);
    r.lexer().read();
    EXPECT_STREQ(r.lexer().getString().c_str(), c.value) << c.line;
    EXPECT_EQ(r.lexer().getString().size(), static_cast<int>(std::string(c.value).size()));
  }
  // Leading blanks make a name different but not a number.
  Reading r("8\n  0\n");
  r.lexer().read();
  EXPECT_FALSE(r.lexer().getString().equal_ci("0"));
  EXPECT_EQ(r.lexer().getInt(), 0);
  EXPECT_DOUBLE_EQ(r.lexer().getDouble(), 0.0);
}

TEST(CFileDXFILexer, TheLastPairIsReadAndTheNextReadMeetsTheEndOfTheFile) {
  for (const char* content : {"0\nEOF\n", "0\nEOF", "0\r\nEOF\r\n"}) {
    Reading r(content);
    EXPECT_EQ(r.lexer().read(), 0);
    EXPECT_STREQ(r.lexer().getString().c_str(), "EOF");
    EXPECT_THROW(r.lexer().read(), IFile::IFileEOF) << content;
  }
  // Inside a pair, the end passes on after the group line is counted.
  Reading cut("0\nSECTION\n2\n");
  cut.lexer().read();
  EXPECT_THROW(cut.lexer().read(), IFile::IFileEOF);
  EXPECT_EQ(cut.lexer().getLine(), 3);
}

TEST(CFileDXFILexer, CommentsAreSkippedButTheirLinesCount) {
  Reading r(
      "999\nwritten by hand\n"
      "0\nSECTION\n"
      "999\n\n"
      "999\nanother\n"
      "2\nHEADER\n");
  EXPECT_EQ(r.lexer().getLine(), 0);
  EXPECT_EQ(r.lexer().read(), 0);
  EXPECT_STREQ(r.lexer().getString().c_str(), "SECTION");
  EXPECT_EQ(r.lexer().getLine(), 4);
  EXPECT_EQ(r.lexer().read(), 2);
  EXPECT_STREQ(r.lexer().getString().c_str(), "HEADER");
  EXPECT_EQ(r.lexer().getLine(), 10);
  EXPECT_THROW(r.lexer().read(), IFile::IFileEOF);
}

TEST(CFileDXFILexer, TheValueIsAViewIntoOneBufferThatTheNextReadOverwrites) {
  Reading r("1\nfirst\n1\nsecond\n");
  r.lexer().read();
  const char* first = r.lexer().getString().c_str();
  r.lexer().read();
  EXPECT_EQ(r.lexer().getString().c_str(), first);
  EXPECT_STREQ(first, "second");
}

TEST(CFileDXFILexer, ALineLongerThanTheBufferIsCutAndItsRestIsTheNextLine) {
  const long longest = CFileDXFILexer::kLineSize - 1;
  const std::string head(static_cast<std::size_t>(longest), 'A');
  // The value line holds 4095 letters, then "42": the 42 becomes the next group code line.
  Reading r("1\n" + head + "42\nVAL\n0\nEOF\n");
  EXPECT_EQ(r.lexer().read(), 1);
  EXPECT_EQ(std::string(r.lexer().getString().c_str()), head);
  EXPECT_EQ(r.lexer().read(), 42);
  EXPECT_STREQ(r.lexer().getString().c_str(), "VAL");
  EXPECT_EQ(r.lexer().getLine(), 4);
  EXPECT_EQ(r.lexer().read(), 0);

  // Exactly 4095 characters leave the line end alone on the next line: an empty group line.
  Reading exact("1\n" + head + "\n0\nEOF\n");
  exact.lexer().read();
  EXPECT_THROW(exact.lexer().read(), CFileDXFILexer::LexerError);
}

TEST(CFileDXFILexer, GetIntAndGetDoubleReadAsAtoiAndAtof) {
  struct Case {
    const char* value;
    long i;
    double d;
  };
  const Case cases[] = {
      {"7.9", 7, 7.9}, {"1e3", 1, 1000.0},     {"12abc", 12, 12.0},
      {"abc", 0, 0.0}, {"  -3", -3, -3.0},     {"+4.5", 4, 4.5},
      {".5", 0, 0.5},  {"-2.5E-1", -2, -0.25}, {"  1,5", 1, 1.0},
  };
  for (const Case& c : cases) {
    Reading r(std::string("40\n") + c.value + "\n");
    r.lexer().read();
    EXPECT_EQ(r.lexer().getInt(), c.i) << c.value;
    EXPECT_DOUBLE_EQ(r.lexer().getDouble(), c.d) << c.value;
  }
}

TEST(CFileDXFILexer, GetHexReadsEveryCharacterAsADigitKeepingTheLow32Bits) {
  const std::pair<const char*, long> cases[] = {
      {"1A", 26},
      {"1a", 26},
      {"0", 0},
      {"FF", 255},
      {"7FFFFFFF", 2147483647L},
      {"80000000", -2147483647L - 1},
      {"FFFFFFFF", -1},
      {"123456789", 0x23456789},  // the ninth digit pushes the first out
      {"g", 16},                  // letters beyond F continue the count from 'a'
      {"1g", 16},                 // 0x10 | 16: an oversized digit overlaps the one before
      {":", 3},                   // ':' counts from 'A' - 10
      {"G", -16},                 // 'G' counts from 'a' - 10: a negative digit fills the top
  };
  for (const auto& [value, expected] : cases) {
    Reading r(std::string("5\n") + value + "\n");
    r.lexer().read();
    EXPECT_EQ(r.lexer().getHex(), expected) << value;
  }
}

TEST(CFileDXFILexer, NumbersOfAnEmptyValueAreErrorsButItsTextIsEmpty) {
  Reading r("5\n\n5\n \t\r\n");
  for (int pair = 0; pair < 2; ++pair) {
    r.lexer().read();
    EXPECT_STREQ(r.lexer().getString().c_str(), "");
    EXPECT_THROW(r.lexer().getInt(), CFileDXFILexer::LexerErrorEmptyValue);
    EXPECT_THROW(r.lexer().getDouble(), CFileDXFILexer::LexerErrorEmptyValue);
    EXPECT_THROW(r.lexer().getHex(), CFileDXFILexer::LexerErrorEmptyValue);
  }
}

// A CFileStdLib of a derived class: the lexer copies its lines through readLn, as it does for
// any file but CFileStdLib itself, which lends them in place.
class CopiedLines : public CFileStdLib {
 public:
  using CFileStdLib::CFileStdLib;
};

// A derived class that changes what readLn gives: the lexer must see the change.
class ShoutedLines : public CFileStdLib {
 public:
  using CFileStdLib::CFileStdLib;
  void readLn(char* buffer, long size) override {
    CFileStdLib::readLn(buffer, size);
    for (char* p = buffer; *p != '\0'; ++p) *p = static_cast<char>(std::toupper(*p));
  }
};

// A file of the temp directory with the given bytes, removed at the end of the scope.
class TempFile {
 public:
  explicit TempFile(const std::string& content)
      : path_((std::filesystem::temp_directory_path() /
               ("veltcore_lexer_" + std::to_string(::getpid()) + ".dxf"))
                  .string()) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
};

// Everything a reader can learn of one read(): its group, or how it failed, with the value
// (its bytes up to the terminating NUL), the line count and the three conversions.
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

// Pair-like lines: group codes (blank-padded, comments, letters, rarely empty), values of
// every length up to beyond the line limit (those around 16 bytes included, where the line
// search changes method), CR LF and LF ends, trailing blanks, NULs unless withoutNul, and a
// file end with or without a last line end.
std::string randomDxf(std::mt19937_64& rng, bool withoutNul) {
  using namespace std::string_literals;
  static const std::string kGroups[] = {"  0", " 10", "999", "  8", "62", "abc", "  5", "\00010"s};
  static const std::string kValues[] = {"LINE",
                                        "12.5",
                                        "  0",
                                        "1A",
                                        "",
                                        "-3e2 ",
                                        "x\t \r",
                                        "0123456789abcd",
                                        "0123456789abcde",
                                        "0123456789abcdef",
                                        "a\0b"s,
                                        "\0 x"s};
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
  std::mt19937_64 rng(11);
  long pairs = 0;
  for (int fileNo = 0; fileNo < 30; ++fileNo) {
    const TempFile dxf(randomDxf(rng, fileNo % 2 == 0));
    CFileStdLib inPlace(dxf.path(), IFile::kRead);
    CopiedLines copied(dxf.path(), IFile::kRead);
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
}

TEST(CFileDXFILexer, ADerivedFileIsReadThroughItsOwnReadLn) {
  const TempFile dxf("0\nline\n");
  ShoutedLines file(dxf.path(), IFile::kRead);
  file.open();
  CFileDXFILexer lexer(file);
  lexer.read();
  EXPECT_STREQ(lexer.getString().c_str(), "LINE");
  file.close();
}

}  // namespace
