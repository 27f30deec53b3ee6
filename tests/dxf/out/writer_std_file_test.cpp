// tests/dxf/out/writer_std_file_test.cpp: CFileDXFOWriter over the library's own CFileStdLib,
// which holds lines back and lets the writer build them in place, against the same writer over
// a plain IFile that takes every line through writeLn: the same bytes for many thousands of
// random pairs across many buffer refills. Also what the held-back lines must keep: order with
// write(), lines longer than the buffer, a full disk reported by close(), and a class derived
// from CFileStdLib still seeing each line.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

#include "dxf/in/dxf_read_support.h"

namespace {

using dxftest::ScratchDir;
using Write = std::function<void(CFileDXFOWriter&)>;

// Pairs of every kind the writer has: codes short, long and negative; reals of every size,
// NaN and infinity among them; integers and handles of every width; strings from empty to
// beyond the longest the writer takes.
std::vector<Write> randomPairs(int count) {
  std::mt19937_64 random(4242);
  const auto below = [&](std::uint64_t n) { return static_cast<long>(random() % n); };
  std::vector<Write> pairs;
  for (int i = 0; i < count; ++i) {
    const long code = below(10) == 0 ? below(2000) - 5 : below(100);
    const auto integer = static_cast<long>(random()) >> below(64);
    switch (below(5)) {
      case 0: {
        double v;
        const std::uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (below(4) != 0) v = std::ldexp(static_cast<double>(below(2000000)) - 1e6, -below(30));
        pairs.emplace_back([code, v](CFileDXFOWriter& w) { w.write(code, v); });
        break;
      }
      case 1:
        pairs.emplace_back([code, integer](CFileDXFOWriter& w) { w.write(code, integer); });
        break;
      case 2:
        pairs.emplace_back([code, integer](CFileDXFOWriter& w) { w.writeHex(code, integer); });
        break;
      case 3:
        pairs.emplace_back([code, v = integer % 2 == 0](CFileDXFOWriter& w) { w.write(code, v); });
        break;
      default: {
        std::string v(below(20) == 0 ? below(1500) : below(12), 'x');
        for (char& c : v) c = static_cast<char>('!' + below(90));
        pairs.emplace_back([code, v](CFileDXFOWriter& w) { w.write(code, v.c_str()); });
      }
    }
  }
  return pairs;
}

TEST(DxfWriterOnStdFile, PairsAreTheBytesOfTheGeneralPath) {
  const std::vector<Write> pairs = randomPairs(60000);
  MemoryFile memory("m.dxf", "", IFile::kWrite);
  memory.open();
  CFileDXFOWriter general(memory);
  for (const Write& w : pairs) w(general);
  ScratchDir dir;
  CFileStdLib file(dir.path("pairs.dxf").c_str(), IFile::kWrite);
  file.open();
  CFileDXFOWriter direct(file);
  for (const Write& w : pairs) w(direct);
  file.close();
  ASSERT_GT(memory.written().size(), 20u * 65536);  // many refills of the held-back lines
  EXPECT_TRUE(ScratchDir::read(dir.path("pairs.dxf")) == memory.written());
}

TEST(DxfWriterOnStdFile, HeldLinesKeepTheirOrderAndLongLinesPassWhole) {
  ScratchDir dir;
  CFileStdLib file(dir.path("order.dxf").c_str(), IFile::kWrite);
  file.open();
  const std::string longLine(200000, 'L');
  std::string expected;
  for (int round = 0; round < 3; ++round) {
    file.writeLn("  0\n");
    file.writeLn(longLine.c_str());
    EXPECT_EQ(file.write("AB", 2), 2);
    file.writeLn("\nEOF\n");
    expected += "  0\n" + longLine + "AB\nEOF\n";
  }
  file.close();
  EXPECT_TRUE(ScratchDir::read(dir.path("order.dxf")) == expected);
}

TEST(DxfWriterOnStdFile, AFullDiskShowsAtTheLatestWhenTheFileIsClosed) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  CFileStdLib file("/dev/full", IFile::kWrite);
  file.open();
  CFileDXFOWriter writer(file);
  writer.write(0, "SECTION");  // small enough to be held back
  EXPECT_THROW(file.close(), IFile::IFileDiskFull);
  EXPECT_FALSE(file.isOpened());
  file.close();  // nothing left to fail
  // Past the held-back buffer, the writer meets the failure itself.
  file.open();
  const std::string name(1000, 'n');
  const auto fill = [&] {
    for (int i = 0; i < 1000; ++i) writer.write(2, name.c_str());
  };
  EXPECT_THROW(fill(), IFile::IFileDiskFull);
  file.close();
}

// A host's file derived from CFileStdLib may do more with each line: it gets every one.
class CountingFile : public CFileStdLib {
 public:
  using CFileStdLib::CFileStdLib;
  void writeLn(const char* text) override {
    ++lines;
    CFileStdLib::writeLn(text);
  }
  int lines = 0;
};

TEST(DxfWriterOnStdFile, ADerivedFileGetsEveryLine) {
  ScratchDir dir;
  CountingFile file(dir.path("derived.dxf").c_str(), IFile::kWrite);
  file.open();
  CFileDXFOWriter writer(file);
  writer.write(0, "LINE");
  writer.writeHex(5, 255L);
  writer.write(10, 1.5);
  writer.write(70, 3L);
  file.close();
  EXPECT_EQ(file.lines, 8);
  EXPECT_EQ(ScratchDir::read(dir.path("derived.dxf")),
            "  0\nLINE\n  5\nFF\n 10\n1.500000\n 70\n3\n");
}

}  // namespace
