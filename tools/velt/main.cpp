// tools/velt/main.cpp: velt, the command-line host that ships with veltcore. It registers a
// real font with the library, reads the command line and runs one command; every failure ends
// as a message on standard error and an exit code (0 success, 1 usage, 2 unreadable file).
#include <veltcore/database/data_calls.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>

#include "command.h"
#include "font/freetype_font.h"

namespace {

int run(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
    return velt::kSuccess;
  } catch (const CLI::ParseError& e) {
    // Help and version requests print and succeed; every other parse error is a usage error.
    return app.exit(e) == 0 ? velt::kSuccess : velt::kUsageError;
  } catch (const velt::CommandFailure& e) {
    std::fprintf(stderr, "velt: %s\n", e.what());
    return e.code();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velt: %s\n", e.what());
    return velt::kFileError;
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"velt: inspect, convert and render DXF drawings with the veltcore library."};
  app.require_subcommand(1);
  velt::addInfoCommand(app);
  velt::addConvertCommand(app);
  velt::addRenderCommand(app);
  velt::addDemoCommand(app);

  initCore();
  // The font goes in before the command line is read: loading a drawing measures its texts.
  int code = velt::kSuccess;
  try {
    velt::registerDefaultFont();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velt: %s\n", e.what());
    code = velt::kFileError;
  }
  if (code == velt::kSuccess) code = run(app, argc, argv);
  shutdownCore();
  return code;
}
