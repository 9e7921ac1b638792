#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/Commands.h"

namespace corvane::cli {

int RunCommandLine(int argc, const char* const* argv, std::span<const CommandSetup> commands) {
  try {
    CLI::App app{"corvane-cli: converts column-oriented ASCII well-log files into LAS 2.0 files."};
    app.require_subcommand(1);
    app.footer("Run 'corvane-cli COMMAND --help' for the options and an example of each command.");
    CommandRunner run;
    for (const CommandSetup setup : commands) setup(app, run);
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
      const int status = app.exit(e);
      return status == 0 ? kExitDone : kExitUsage;
    }
    if (!run) return kExitUsage;
    return run();
  } catch (const std::exception& e) {
    std::cerr << "corvane-cli: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "corvane-cli: an unexpected failure\n";
  }
  return kExitFailed;
}

}  // namespace corvane::cli
