// tools/velt/info/report.h: the two forms of `velt info`'s answer: an aligned text report for
// people and one JSON object for programs.
#pragma once

#include <optional>
#include <string>

#include "info/drawing_stats.h"

namespace velt {

// Everything one run of `velt info` has to say about a file.
struct InfoReport {
  std::string file;
  std::optional<std::string> version;  // $ACADVER as declared; empty when the file has none
  double loadSeconds = 0.0;
  DrawingStats stats;
};

// One line per count, labels padded to one column; entity kinds without entities are left out.
std::string textReport(const InfoReport& r);

// One object: file, version (null when undeclared), layers, linetypes, styles, blocks,
// hatch_blocks, xrefs, entities (every kind by its DXF name, zeros included),
// entities_in_blocks, entities_in_blocks_by_type, entities_in_hatch_blocks, extent ([min x,
// min y, max x, max y], or null for an empty drawing) and load_seconds.
std::string jsonReport(const InfoReport& r);

}  // namespace velt
