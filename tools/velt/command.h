// tools/velt/command.h: what velt's commands share: the exit codes, the failure that carries
// one to main, the owning pointer of a drawing, and the functions that add each command to the
// command line.
#pragma once

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace CLI {
class App;
}

namespace velt {

enum ExitCode : int { kSuccess = 0, kUsageError = 1, kFileError = 2 };

// Thrown by a command that cannot go on; main prints "velt: <what>" and exits with code.
class CommandFailure : public std::runtime_error {
 public:
  CommandFailure(ExitCode code, const std::string& what) : std::runtime_error(what), code_(code) {}
  ExitCode code() const { return code_; }

 private:
  ExitCode code_;
};

struct DataDeleter {
  void operator()(CData* d) const { deleteData(d); }
};
using DrawingPtr = std::unique_ptr<CData, DataDeleter>;

// Each adds one subcommand; its callback runs the command and throws CommandFailure on error.
void addInfoCommand(CLI::App& app);
void addConvertCommand(CLI::App& app);
void addRenderCommand(CLI::App& app);
void addDemoCommand(CLI::App& app);

}  // namespace velt
