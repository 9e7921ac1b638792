#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <map>

#include "CommandRegistry.h"

namespace corvane::cli {
namespace {
std::multimap<int, CommandSetup>& Registry() {
  static std::multimap<int, CommandSetup> registry;
  return registry;
}
}  // namespace

CCommandRegistration::CCommandRegistration(int order, CommandSetup setup) {
  Registry().emplace(order, std::move(setup));
}

std::vector<CommandSetup> RegisteredCommands() {
  std::vector<CommandSetup> out;
  for (auto& [order, setup] : Registry()) out.push_back(setup);
  return out;
}

}  // namespace corvane::cli

int main(int argc, char** argv) {
  using namespace corvane::cli;
  try {
    CLI::App app{"corvane-cli: converts column-oriented ASCII well-log files into LAS 2.0 files."};
    app.require_subcommand(1);
    app.footer("Run 'corvane-cli COMMAND --help' for the options and an example of each command.");
    CommandRunner run;
    for (auto& setup : RegisteredCommands()) setup(app, run);
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
      int status = app.exit(e);
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
