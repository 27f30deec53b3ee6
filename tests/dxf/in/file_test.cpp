// tests/dxf/in/file_test.cpp: CFileStdLib on real files, and MemoryFile held to the same reading
// contract: lines and blocks up to the end of the data, long lines cut, closed files, and the
// failures each mode raises (missing path, unwritable path, unreadable stream, full device);
// and CFileStdLib's buffered reading against fgets and fread on the same random files.
#include <veltcore/dxf/in/file.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "dxf/memory_file.h"

namespace fs = std::filesystem;

namespace {

// Callers catch by these bases.
static_assert(std::is_base_of_v<IFile::IFileException, IFile::IFileNotFound> &&
              std::is_base_of_v<IFile::IFileException, IFile::IFileEOF> &&
              std::is_base_of_v<IFile::IFileIOError, IFile::IFileCantWrite> &&
              std::is_base_of_v<IFile::IFileIOError, IFile::IFileDiskFull> &&
              std::is_base_of_v<IFile::IFileException, IFile::IFileIOError>);
static_assert(!std::is_base_of_v<IFile::IFileIOError, IFile::IFileEOF> &&
              !std::is_base_of_v<IFile::IFileIOError, IFile::IFileNotFound>);

// A directory of its own for each test, removed with everything in it afterwards.
class ScratchDir {
 public:
  ScratchDir()
      : path_(fs::temp_directory_path() /
              ("veltcore_file_" + std::to_string(::getpid()) + "_" + std::to_string(++count_))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string path(const std::string& leaf) const { return (path_ / leaf).string(); }
  // Writes content byte for byte (no line-end conversion) and returns the path.
  std::string write(const std::string& leaf, const std::string& content) const {
    std::ofstream(path(leaf), std::ios::binary) << content;
    return path(leaf);
  }
  static std::string read(const std::string& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
  }

 private:
  static inline int count_ = 0;
  fs::path path_;
};

// Every line readLn gives until IFileEOF, each with its line end.
std::vector<std::string> allLines(IFile& f, long size = 4096) {
  std::vector<std::string> lines;
  std::vector<char> buffer(static_cast<std::size_t>(size));
  for (;;) {
    try {
      f.readLn(buffer.data(), size);
    } catch (const IFile::IFileEOF&) {
      return lines;
    }
    lines.emplace_back(buffer.data());
  }
}

// The reading contract is checked on both implementations: the memory file stands in for a
// real file in the reader's tests, so it must end and fail the same way.
enum class Kind { StdLib, Memory };

class ReadingContract : public ::testing::TestWithParam<Kind> {
 protected:
  std::unique_ptr<IFile> reader(const std::string& content) {
    if (GetParam() == Kind::Memory) return std::make_unique<MemoryFile>("m.dxf", content);
    return std::make_unique<CFileStdLib>(dir_.write("r.dxf", content).c_str(), IFile::kRead);
  }

 private:
  ScratchDir dir_;
};

TEST_P(ReadingContract, LinesKeepTheirEndsLongOnesAreCutAndTheEndStaysTheEnd) {
  struct Case {
    std::string content;
    long size;
    std::vector<std::string> lines;
  };
  const Case cases[] = {{"0\nSECTION\n", 4096, {"0\n", "SECTION\n"}},
                        {"0\r\nEOF\r\n", 4096, {"0\r\n", "EOF\r\n"}},
                        {"0\nEOF", 4096, {"0\n", "EOF"}},
                        {"\n\n", 4096, {"\n", "\n"}},
                        {"", 4096, {}},
                        {"abcdefg\nhi\n", 4, {"abc", "def", "g\n", "hi\n"}}};
  for (const Case& c : cases) {
    auto f = reader(c.content);
    f->open();
    EXPECT_EQ(allLines(*f, c.size), c.lines) << c.content;
    char buffer[8];
    EXPECT_THROW(f->readLn(buffer, sizeof buffer), IFile::IFileEOF);
    f->close();
  }
  // Opening again starts from the beginning.
  auto f = reader("first\nsecond\n");
  f->open();
  char buffer[16];
  f->readLn(buffer, sizeof buffer);
  f->open();
  f->readLn(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "first\n");
  f->close();
}

TEST_P(ReadingContract, BlockReadsReturnShortCountsThenRaiseEOF) {
  auto f = reader("0123456789");
  f->open();
  char buffer[8];
  EXPECT_EQ(f->read(buffer, 8), 8);
  EXPECT_EQ(std::string(buffer, 8), "01234567");
  EXPECT_EQ(f->read(buffer, 8), 2);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_THROW(f->read(buffer, 8), IFile::IFileEOF);
  f->close();
}

TEST_P(ReadingContract, CloseIsIdempotentAndAClosedFileRefusesEveryOperation) {
  auto f = reader("x\n");
  EXPECT_FALSE(f->isOpened());
  f->open();
  EXPECT_TRUE(f->isOpened());
  f->close();
  f->close();
  EXPECT_FALSE(f->isOpened());
  char buffer[8];
  EXPECT_THROW(f->readLn(buffer, sizeof buffer), IFile::IFileIOError);
  EXPECT_THROW(f->read(buffer, sizeof buffer), IFile::IFileIOError);
  EXPECT_THROW(f->write("x", 1), IFile::IFileDiskFull);
  EXPECT_THROW(f->writeLn("x\n"), IFile::IFileDiskFull);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadingContract, ::testing::Values(Kind::StdLib, Kind::Memory),
                         [](const auto& info) {
                           return info.param == Kind::StdLib ? "StdLib" : "Memory";
                         });

TEST(CFileStdLib, OpenFailuresDependOnTheMode) {
  ScratchDir dir;
  const std::string existing = dir.write("existing.dxf", "0\nEOF\n");
  struct Case {
    std::string path;
    long mode;
    bool cantWrite;  // IFileCantWrite, else IFileNotFound
  };
  // Modes other than read and write open nothing, so they never truncate a file.
  const Case cases[] = {{dir.path("missing.dxf"), IFile::kRead, false},
                        {dir.path("no/such/dir/out.dxf"), IFile::kWrite, true},
                        {existing, 0, false},
                        {existing, 3, false},
                        {existing, -1, false}};
  for (const Case& c : cases) {
    CFileStdLib f(c.path.c_str(), c.mode);
    if (c.cantWrite)
      EXPECT_THROW(f.open(), IFile::IFileCantWrite) << c.path;
    else
      EXPECT_THROW(f.open(), IFile::IFileNotFound) << c.path << " mode " << c.mode;
    EXPECT_FALSE(f.isOpened());
  }
  EXPECT_EQ(ScratchDir::read(existing), "0\nEOF\n");
}

TEST(CFileStdLib, WritesExactlyWhatItIsGiven) {
  ScratchDir dir;
  const std::string path = dir.write("out.dxf", "old content that must go\n");
  CFileStdLib f(path.c_str(), IFile::kWrite);
  f.open();
  f.writeLn("  0\n");
  f.writeLn("SECTION");
  EXPECT_EQ(f.write("\nAB\0C", 5), 5);
  f.close();
  EXPECT_EQ(ScratchDir::read(path), std::string("  0\nSECTION\nAB\0C", 16));
  EXPECT_STREQ(f.getName().c_str(), path.c_str());
}

TEST(CFileStdLib, AStreamThatCannotBeReadRaisesIOErrorNotEOF) {
  // A directory opens for reading on POSIX systems, but every read of it fails.
  ScratchDir dir;
  CFileStdLib f(dir.path("").c_str(), IFile::kRead);
  try {
    f.open();
  } catch (const IFile::IFileNotFound&) {
    GTEST_SKIP() << "this system does not open directories as streams";
  }
  char buffer[16];
  EXPECT_THROW(f.readLn(buffer, sizeof buffer), IFile::IFileIOError);
  EXPECT_THROW(f.read(buffer, sizeof buffer), IFile::IFileIOError);
  f.close();
}

TEST(CFileStdLib, WritesToAFullDeviceRaiseDiskFull) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  // More than any stream buffer, so that the failure shows at the call itself.
  const std::string big(1 << 20, 'x');
  CFileStdLib f("/dev/full", IFile::kWrite);
  f.open();
  EXPECT_THROW(f.write(big.data(), static_cast<long>(big.size())), IFile::IFileDiskFull);
  EXPECT_THROW(f.writeLn(big.c_str()), IFile::IFileDiskFull);
  f.close();
}

// Random bytes heavy in line ends, with now and then a NUL or a byte beyond ASCII, cut at a
// random length; with a long line, one line longer than the read-ahead buffer too.
std::string randomText(std::mt19937_64& rng, bool longLine) {
  static const char kBytes[] = "ab0 \t\r\n\n\n\n\xE8\0";
  std::string text;
  const std::size_t size = rng() % 3 == 0 ? rng() % 64 : rng() % 300000;
  while (text.size() < size) text += kBytes[rng() % (sizeof kBytes - 1)];
  if (longLine) text.insert(rng() % (size + 1), std::string(70000 + rng() % 70000, 'L'));
  return text;
}

const std::string kEOF = "<EOF>", kIOError = "<IOError>";

// Both buffers are filled alike before a line call, so that their first bytes show all a call
// wrote, bytes after a NUL and the terminator included. Lines with a NUL are short here; the
// long ones hold none and compare as C strings.
constexpr std::size_t kShown = 64;

void prepare(std::vector<char>& buffer) {
  std::fill_n(buffer.begin(), kShown, '#');  // a byte the files never hold
}

std::string lineOutcome(const std::vector<char>& buffer, long size) {
  const std::size_t shown = std::min(kShown, static_cast<std::size_t>(size));
  return std::string(buffer.data(), shown) + "|" + buffer.data();
}

std::string failureOf(std::FILE* f) {
  return std::feof(f) ? kEOF : kIOError;
}

TEST(CFileStdLib, LinesAndBlocksAreExactlyWhatFgetsAndFreadGive) {
  ScratchDir dir;
  std::mt19937_64 rng(7);
  // Lines into buffers of every size, blocks mostly small: each file takes many calls.
  const long lineSizes[] = {1, 2, 3, 8, 100, 4096, 4096, 65536, 70000, 200000};
  const long blockSizes[] = {1, 2, 7, 100, 1000, 70000};
  std::vector<char> ours(200000), theirs(200000);
  long calls = 0;
  for (int fileNo = 0; fileNo < 40; ++fileNo) {
    const std::string path = dir.write("r.dxf", randomText(rng, fileNo % 8 == 7));
    CFileStdLib f(path.c_str(), IFile::kRead);
    f.open();
    std::FILE* reference = std::fopen(path.c_str(), "r");
    ASSERT_NE(reference, nullptr);
    // Until both have met the end three times.
    for (int ends = 0, call = 0; ends < 3; ++call) {
      const bool line = rng() % 16 != 0;
      const long size = line ? lineSizes[rng() % 10] : blockSizes[rng() % (rng() % 50 ? 5 : 6)];
      std::string got, want;
      prepare(ours);
      prepare(theirs);
      try {
        if (line) {
          f.readLn(ours.data(), size);
          got = lineOutcome(ours, size);
        } else {
          got = std::string(ours.data(), static_cast<std::size_t>(f.read(ours.data(), size)));
        }
      } catch (const IFile::IFileEOF&) {
        got = kEOF;
      } catch (const IFile::IFileIOError&) {
        got = kIOError;
      }
      if (line) {
        want = std::fgets(theirs.data(), static_cast<int>(size), reference) == nullptr
                   ? failureOf(reference)
                   : lineOutcome(theirs, size);
      } else {
        const std::size_t n =
            std::fread(theirs.data(), 1, static_cast<std::size_t>(size), reference);
        want = n == 0 ? failureOf(reference) : std::string(theirs.data(), n);
      }
      ASSERT_EQ(got, want) << "file " << fileNo << ", call " << call << ", size " << size;
      ++calls;
      if (got == kEOF) ++ends;
    }
    std::fclose(reference);
    f.close();
  }
  EXPECT_GT(calls, 100000);  // the comparison covered many calls
}

// The memory file's own failures, which the writer tests rely on, are those of CFileStdLib.
TEST(MemoryFile, FailsBeyondItsLimitAsADiskFullAndWhenMissingAsAnUnopenablePath) {
  MemoryFile f("m.dxf", "", IFile::kWrite);
  f.setWriteLimit(6);
  f.open();
  f.writeLn("0\n");
  EXPECT_EQ(f.write("ABCDEF", 6), 4);  // a short count, as a nearly full disk gives
  EXPECT_THROW(f.write("G", 1), IFile::IFileDiskFull);
  EXPECT_THROW(f.writeLn("H"), IFile::IFileDiskFull);
  f.close();
  EXPECT_EQ(f.written(), "0\nABCD");
  EXPECT_EQ(f.closeCount(), 1);

  MemoryFile reading("m.dxf", "0\nEOF\n"), writing("m.dxf", "", IFile::kWrite);
  reading.setMissing(true);
  writing.setMissing(true);
  EXPECT_THROW(reading.open(), IFile::IFileNotFound);
  EXPECT_THROW(writing.open(), IFile::IFileCantWrite);
  EXPECT_FALSE(reading.isOpened() || writing.isOpened());
}

}  // namespace
