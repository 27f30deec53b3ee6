// tests/support/scratch_dir.h: a temporary folder of a test's own, removed with everything in
// it at the end of the scope, for tests that read and write real files.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A folder of its own, removed with everything in it at the end of the scope.
class ScratchDir {
 public:
  ScratchDir()
      : path_(std::filesystem::temp_directory_path() /
              ("veltcore_" + std::to_string(::getpid()) + "_" + std::to_string(++count_))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string path(const std::string& leaf) const { return (path_ / leaf).string(); }
  // Writes content byte for byte and returns the path.
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
  std::filesystem::path path_;
};
