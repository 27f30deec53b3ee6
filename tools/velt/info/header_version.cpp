// tools/velt/info/header_version.cpp: a scan of a DXF file's pairs up to the sections that fix
// the version. It stops there, so a large drawing costs only the few lines of its header.
#include "info/header_version.h"

#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>

namespace velt {

namespace {

// Closes the file however the scan ends: CFileStdLib leaves its stream open otherwise.
class OpenedFile {
 public:
  explicit OpenedFile(IFile& file) : file_(file) { file_.open(); }
  ~OpenedFile() { file_.close(); }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

 private:
  IFile& file_;
};

// Whether a section of this name makes the reader choose its version for the rest of the file.
bool fixesVersion(const SmartString& section) {
  return section.equal_ci("TABLES") || section.equal_ci("BLOCKS") || section.equal_ci("ENTITIES");
}

class VersionScan {
 public:
  explicit VersionScan(IFile& file) : lexer_(file) {}

  // Reads pairs until a section that fixes the version begins or the file ends.
  void run() {
    while (lexer_.read() != 0 || !lexer_.getString().equal_ci("EOF")) {
      if (atSectionStart() && !enterSection()) return;
      if (inHeader_ && isVersionName()) takeVersion();
    }
  }
  const std::optional<std::string>& version() const { return version_; }

 private:
  CFileDXFILexer lexer_;
  bool inHeader_ = false;
  std::optional<std::string> version_;

  bool atSectionStart() const {
    return lexer_.getGroupValue() == 0 && lexer_.getString().equal_ci("SECTION");
  }
  // Reads the section's name; false when the scan is over.
  bool enterSection() {
    if (lexer_.read() != 2) return true;
    if (fixesVersion(lexer_.getString())) return false;
    inHeader_ = lexer_.getString().equal_ci("HEADER");
    return true;
  }
  bool isVersionName() const {
    return lexer_.getGroupValue() == 9 && lexer_.getString().equal_ci("$ACADVER");
  }
  // The variable's value: a string group (1 to 8) right after its name.
  void takeVersion() {
    const long group = lexer_.read();
    if (group > 0 && group < 9) version_ = lexer_.getString().c_str();
  }
};

}  // namespace

std::optional<std::string> readDeclaredVersion(const std::string& path) {
  CFileStdLib file(path.c_str(), IFile::kRead);
  VersionScan scan(file);
  // A file that stops making sense further on still declared what was found before.
  try {
    OpenedFile opened(file);
    scan.run();
  } catch (const IFile::IFileException&) {
  } catch (const CFileDXFILexer::LexerError&) {
  }
  return scan.version();
}

}  // namespace velt
