// tools/velt/info/header_version.h: the $ACADVER a DXF file declares. A drawing keeps no record
// of the version it was read from, so `velt info` asks the file itself, through the library's
// own lexer so that its pairs are cut exactly as the reader cut them.
#pragma once

#include <optional>
#include <string>

namespace velt {

// The value of $ACADVER as written (trailing blanks dropped), from the HEADER sections before
// the first TABLES, BLOCKS or ENTITIES section, where the reader settles on a version; the last
// one wins, as it does for the reader. Empty when the file declares none (or cannot be read).
std::optional<std::string> readDeclaredVersion(const std::string& path);

}  // namespace velt
