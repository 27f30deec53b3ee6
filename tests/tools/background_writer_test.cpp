// tests/tools/background_writer_test.cpp: the writer that puts a large output file to disk on a
// thread of its own: chunks arrive whole and in order, and a failed write is reported to the
// caller, not lost on the other thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "command.h"
#include "io/background_writer.h"
#include "support/scratch_dir.h"

namespace velt {
namespace {

TEST(BackgroundWriter, WritesEveryChunkInOrder) {
  ScratchDir dir;
  const std::string path = dir.path("out.txt");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::string expected;
  {
    BackgroundWriter writer(file, path);
    std::string chunk;
    for (int i = 0; i < 200; ++i) {
      // Chunks of every size from empty to a few hundred kilobytes.
      chunk.assign(static_cast<std::size_t>(i * i * 7), static_cast<char>('a' + i % 26));
      chunk += std::to_string(i) + "\n";
      expected += chunk;
      writer.write(chunk);
      EXPECT_TRUE(chunk.empty());
    }
    writer.finish();
  }
  ASSERT_EQ(std::fclose(file), 0);
  EXPECT_EQ(ScratchDir::read(path), expected);
}

TEST(BackgroundWriter, AFailedWriteReachesTheCaller) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  std::setvbuf(full, nullptr, _IONBF, 0);
  bool reported = false;
  {
    BackgroundWriter writer(full, "/dev/full");
    std::string chunk;
    try {
      for (int i = 0; i < 4; ++i) {
        chunk.assign(1 << 16, 'x');
        writer.write(chunk);
      }
      writer.finish();
    } catch (const CommandFailure& e) {
      reported = e.code() == kFileError && std::string(e.what()).find("/dev/full") == 0;
    }
  }
  std::fclose(full);
  EXPECT_TRUE(reported);
}

}  // namespace
}  // namespace velt
