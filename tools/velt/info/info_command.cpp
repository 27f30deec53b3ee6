// placeholder while the command is written
#include <CLI/CLI.hpp>
#include "command.h"
namespace velt {
void addInfoCommand(CLI::App& app) {
  app.add_subcommand("info", "placeholder")->callback([] {
    throw CommandFailure(kUsageError, "info: not built yet");
  });
}
}  // namespace velt
