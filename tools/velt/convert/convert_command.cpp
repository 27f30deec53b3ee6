// tools/velt/convert/convert_command.cpp: `velt convert IN OUT`: loads any drawing the library
// reads (AC1009 to AC1015) and saves it as AC1009, with SaveDXF's option bits as flags.
#include <veltcore/dxf/out/saver.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "command.h"
#include "io/load_drawing.h"
#include "io/save_drawing.h"

namespace velt {

namespace {

struct ConvertOptions {
  std::string input;
  std::string output;
  bool flat = false;
  bool skipFrozen = false;
  bool selectedOnly = false;
  bool noHeaderTables = false;

  unsigned int saveFlags() const {
    return (flat ? CFileDXFOSaver::kFlat : 0u) | (skipFrozen ? CFileDXFOSaver::kSkipFrozen : 0u) |
           (selectedOnly ? CFileDXFOSaver::kSelectedOnly : 0u) |
           (noHeaderTables ? CFileDXFOSaver::kNoHeaderTables : 0u);
  }
};

void runConvert(const ConvertOptions& o) {
  const LoadedDrawing loaded = loadDrawing(o.input);
  saveDrawing(*loaded.data, o.output, o.saveFlags());
  std::printf("%s: written as AC1009\n", o.output.c_str());
}

}  // namespace

void addConvertCommand(CLI::App& app) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* cmd =
      app.add_subcommand("convert", "Load a DXF file (AC1009 to AC1015) and save it as AC1009.");
  cmd->add_option("input", options->input, "the DXF file to read")->required();
  cmd->add_option("output", options->output, "the AC1009 DXF file to write")->required();
  cmd->add_flag("--flat", options->flat, "write every Z coordinate of an entity point as 0");
  cmd->add_flag("--skip-frozen", options->skipFrozen,
                "leave out the entities of frozen or off layers");
  cmd->add_flag("--selected-only", options->selectedOnly,
                "write only selected entities (a loaded file has none selected)");
  cmd->add_flag("--no-header-tables", options->noHeaderTables, "write no HEADER or TABLES section");
  cmd->callback([options] { runConvert(*options); });
}

}  // namespace velt
