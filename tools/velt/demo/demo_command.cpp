// placeholder while the command is written
#include <CLI/CLI.hpp>
#include "command.h"
namespace velt {
void addDemoCommand(CLI::App& app) {
  app.add_subcommand("demo", "placeholder")->callback([] {
    throw CommandFailure(kUsageError, "demo: not built yet");
  });
}
}  // namespace velt
