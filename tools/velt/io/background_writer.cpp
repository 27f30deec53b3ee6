// tools/velt/io/background_writer.cpp: the write each chunk gets on the worker's thread.
#include "io/background_writer.h"

#include <utility>

#include "command.h"

namespace velt {

BackgroundWriter::BackgroundWriter(std::FILE* file, std::string path)
    : file_(file),
      path_(std::move(path)),
      worker_([this](std::string& chunk) { writeNow(chunk); }, 1) {}

void BackgroundWriter::writeNow(const std::string& chunk) {
  if (!chunk.empty() && std::fwrite(chunk.data(), 1, chunk.size(), file_) != chunk.size())
    throw CommandFailure(kFileError, path_ + ": cannot be written");
}

}  // namespace velt
