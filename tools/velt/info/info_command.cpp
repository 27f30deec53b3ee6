// tools/velt/info/info_command.cpp: `velt info FILE [--json]`: loads a drawing and reports its
// version, table sizes, entities per DXF type (in the entity table and inside blocks), extent
// and load time.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

#include "command.h"
#include "info/drawing_stats.h"
#include "info/header_version.h"
#include "info/report.h"
#include "io/load_drawing.h"

namespace velt {

namespace {

struct InfoOptions {
  std::string input;
  bool json = false;
};

void runInfo(const InfoOptions& o) {
  const LoadedDrawing loaded = loadDrawing(o.input);
  InfoReport report;
  report.file = o.input;
  report.version = readDeclaredVersion(o.input);
  report.loadSeconds = loaded.seconds;
  report.stats = collectStats(*loaded.data);
  const std::string text = o.json ? jsonReport(report) : textReport(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

void addInfoCommand(CLI::App& app) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* cmd = app.add_subcommand(
      "info", "Report a DXF file's version, tables, entities per type, extent and load time.");
  cmd->add_option("file", options->input, "the DXF file to read (AC1009 to AC1015)")->required();
  cmd->add_flag("--json", options->json, "print one JSON object instead of the text report");
  cmd->callback([options] { runInfo(*options); });
}

}  // namespace velt
