// placeholder while the command is written
#include <CLI/CLI.hpp>
#include "command.h"
namespace velt {
void addRenderCommand(CLI::App& app) {
  app.add_subcommand("render", "placeholder")->callback([] {
    throw CommandFailure(kUsageError, "render: not built yet");
  });
}
}  // namespace velt
