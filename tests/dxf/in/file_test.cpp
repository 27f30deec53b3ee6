// tests/dxf/in/file_test.cpp: CFileStdLib on real files, and MemoryFile held to the same reading
// contract (lines and blocks up to the end, long lines cut, closed files); the failures each
// mode raises; and CFileStdLib's buffered reading against fgets and fread on random files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <type_traits>

#include "dxf/in/dxf_read_support.h"

namespace {

using dxftest::ScratchDir;
using F = IFile;

// Callers catch by these bases.
static_assert(std::is_base_of_v<F::IFileException, F::IFileNotFound> &&
              std::is_base_of_v<F::IFileException, F::IFileEOF> &&
              std::is_base_of_v<F::IFileIOError, F::IFileCantWrite> &&
              std::is_base_of_v<F::IFileIOError, F::IFileDiskFull> &&
              std::is_base_of_v<F::IFileException, F::IFileIOError> &&
              !std::is_base_of_v<F::IFileIOError, F::IFileEOF> &&
              !std::is_base_of_v<F::IFileIOError, F::IFileNotFound>);

// The memory file stands in for a real file in the reader's tests, so it must end and fail the
// same way.
class ReadingContract : public ::testing::TestWithParam<bool> {
 protected:
  std::unique_ptr<IFile> reader(const std::string& content) {
    if (GetParam()) return std::make_unique<MemoryFile>("m.dxf", content);
    return std::make_unique<CFileStdLib>(dir_.write("r.dxf", content).c_str(), F::kRead);
  }
  ScratchDir dir_;
};

TEST_P(ReadingContract, LinesBlocksTheEndAndClosedFiles) {
  // Each line with its line end, cut to the buffer, until IFileEOF.
  const std::pair<std::string, std::string> cases[] = {{"0\r\nEOF\r\n", "0\r\n|EOF|\r\n|"},
                                                       {"0\nEOF", "0\n|EOF|"},
                                                       {"\n\n", "\n|\n|"},
                                                       {"", ""},
                                                       {"abcdefg\nhi\n", "abc|def|g\n|hi\n|"}};
  char buffer[16];
  for (const auto& [content, lines] : cases) {
    auto f = reader(content);
    f->open();
    std::string got;
    try {
      for (;;) got += (f->readLn(buffer, 4), std::string(buffer) + "|");
    } catch (const F::IFileEOF&) {
    }
    EXPECT_EQ(got, lines) << content;
    EXPECT_THROW(f->readLn(buffer, 8), F::IFileEOF);
    f->close();
  }
  auto f = reader("0123456789\nx");
  EXPECT_FALSE(f->isOpened());
  f->open();
  f->readLn(buffer, sizeof buffer);
  f->open();  // opening again starts from the beginning
  EXPECT_EQ(f->read(buffer, 8), 8);
  EXPECT_EQ(std::string(buffer, 8), "01234567");
  EXPECT_EQ(f->read(buffer, 8), 4);  // a short count, then the end
  EXPECT_EQ(std::string(buffer, 4), "89\nx");
  EXPECT_THROW(f->read(buffer, 8), F::IFileEOF);
  EXPECT_TRUE(f->isOpened());
  f->close();
  f->close();
  EXPECT_FALSE(f->isOpened());
  EXPECT_THROW(f->readLn(buffer, sizeof buffer), F::IFileIOError);
  EXPECT_THROW(f->read(buffer, sizeof buffer), F::IFileIOError);
  EXPECT_THROW(f->write("x", 1), F::IFileDiskFull);
  EXPECT_THROW(f->writeLn("x\n"), F::IFileDiskFull);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadingContract, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "StdLib"; });

TEST(CFileStdLib, OpenFailuresDependOnTheModeAndWritesAreExact) {
  ScratchDir dir;
  const std::string existing = dir.write("existing.dxf", "0\nEOF\n");
  // Modes other than read and write open nothing, so they never truncate a file.
  for (const auto& [path, mode] : {std::pair{dir.path("missing.dxf"), F::kRead},
                                   {existing, 0L},
                                   {existing, 3L},
                                   {existing, -1L}}) {
    CFileStdLib f(path.c_str(), mode);
    EXPECT_THROW(f.open(), F::IFileNotFound) << path << " mode " << mode;
    EXPECT_FALSE(f.isOpened());
  }
  CFileStdLib noDir(dir.path("no/such/dir/out.dxf").c_str(), F::kWrite);
  EXPECT_THROW(noDir.open(), F::IFileCantWrite);
  EXPECT_EQ(ScratchDir::read(existing), "0\nEOF\n");

  CFileStdLib f(existing.c_str(), F::kWrite);
  f.open();
  f.writeLn("  0\n");
  f.writeLn("SECTION");
  EXPECT_EQ(f.write("\nAB\0C", 5), 5);
  f.close();
  EXPECT_EQ(ScratchDir::read(existing), std::string("  0\nSECTION\nAB\0C", 16));
}

TEST(CFileStdLib, UnreadableStreamsAndFullDevicesRaiseIOErrors) {
  // A directory opens for reading on POSIX systems, but every read of it fails: not EOF.
  ScratchDir dir;
  CFileStdLib folder(dir.path("").c_str(), F::kRead);
  char buffer[16];
  folder.open();
  EXPECT_THROW(folder.readLn(buffer, sizeof buffer), F::IFileIOError);
  EXPECT_THROW(folder.read(buffer, sizeof buffer), F::IFileIOError);
  folder.close();
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  // More than any stream buffer, so that the failure shows at the call itself.
  const std::string big(1 << 20, 'x');
  CFileStdLib full("/dev/full", F::kWrite);
  full.open();
  EXPECT_THROW(full.write(big.data(), static_cast<long>(big.size())), F::IFileDiskFull);
  EXPECT_THROW(full.writeLn(big.c_str()), F::IFileDiskFull);
  full.close();
}

// Random bytes heavy in line ends, now and then a NUL or a byte beyond ASCII; with a long line,
// one line longer than the read-ahead buffer too.
std::string randomText(std::mt19937_64& rng, bool longLine) {
  static const char kBytes[] = "ab0 \t\r\n\n\n\n\xE8\0";
  std::string text;
  const std::size_t size = rng() % 3 == 0 ? rng() % 64 : rng() % 300000;
  while (text.size() < size) text += kBytes[rng() % (sizeof kBytes - 1)];
  if (longLine) text.insert(rng() % (size + 1), std::string(70000 + rng() % 70000, 'L'));
  return text;
}

// Both buffers are filled alike before a call, so that their first 64 bytes show all a line call
// wrote, bytes after a NUL included. Lines with a NUL are short; long ones compare as C strings.
std::string lineOutcome(const std::vector<char>& buffer, long size) {
  return std::string(buffer.data(), std::min(64L, size)) + "|" + buffer.data();
}

TEST(CFileStdLib, LinesAndBlocksAreExactlyWhatFgetsAndFreadGive) {
  ScratchDir dir;
  std::mt19937_64 rng(7);
  const long lineSizes[] = {1, 2, 3, 8, 100, 4096, 4096, 65536, 70000, 200000};
  const long blockSizes[] = {1, 2, 7, 100, 1000, 70000};
  std::vector<char> ours(200000), theirs(200000);
  long calls = 0;
  for (int fileNo = 0; fileNo < 40; ++fileNo) {
    const std::string path = dir.write("r.dxf", randomText(rng, fileNo % 8 == 7));
    CFileStdLib f(path.c_str(), F::kRead);
    f.open();
    std::FILE* reference = std::fopen(path.c_str(), "r");
    const auto failure = [&] { return std::string(std::feof(reference) ? "<EOF>" : "<IOError>"); };
    for (int ends = 0, call = 0; ends < 3; ++call) {  // until both met the end three times
      const bool line = rng() % 16 != 0;
      const long size = line ? lineSizes[rng() % 10] : blockSizes[rng() % (rng() % 50 ? 5 : 6)];
      std::fill_n(ours.begin(), 64, '#');  // a byte the files never hold
      std::fill_n(theirs.begin(), 64, '#');
      std::string got, want;
      try {
        got = line ? (f.readLn(ours.data(), size), lineOutcome(ours, size))
                   : std::string(ours.data(), static_cast<std::size_t>(f.read(ours.data(), size)));
      } catch (const F::IFileEOF&) {
        got = "<EOF>";
      } catch (const F::IFileIOError&) {
        got = "<IOError>";
      }
      if (line) {
        want = std::fgets(theirs.data(), static_cast<int>(size), reference)
                   ? lineOutcome(theirs, size)
                   : failure();
      } else {
        const std::size_t n = std::fread(theirs.data(), 1, std::size_t(size), reference);
        want = n > 0 ? std::string(theirs.data(), n) : failure();
      }
      ASSERT_EQ(got, want) << "file " << fileNo << ", call " << call << ", size " << size;
      ++calls;
      ends += got == "<EOF>";
    }
    std::fclose(reference);
    f.close();
  }
  EXPECT_GT(calls, 100000);  // the comparison covered many calls
}

// The memory file's own failures, which the writer tests rely on, are those of CFileStdLib.
TEST(MemoryFile, FailsBeyondItsLimitAsADiskFullAndWhenMissingAsAnUnopenablePath) {
  MemoryFile f("m.dxf", "", F::kWrite), reading("m.dxf", "0\nEOF\n");
  f.setWriteLimit(6);
  f.open();
  f.writeLn("0\n");
  EXPECT_EQ(f.write("ABCDEF", 6), 4);  // a short count, as a nearly full disk gives
  EXPECT_THROW(f.write("G", 1), F::IFileDiskFull);
  EXPECT_THROW(f.writeLn("H"), F::IFileDiskFull);
  f.close();
  EXPECT_EQ(f.written(), "0\nABCD");
  EXPECT_EQ(f.closeCount(), 1);
  reading.setMissing(true);
  f.setMissing(true);
  EXPECT_THROW(reading.open(), F::IFileNotFound);
  EXPECT_THROW(f.open(), F::IFileCantWrite);
  EXPECT_FALSE(reading.isOpened() || f.isOpened());
}

}  // namespace
