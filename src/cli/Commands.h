#pragma once
// The commands of corvane-cli. Each adds its subcommand to the parser; main.cpp lists
// them in one table, in the order the help shows them, so that tests can run any of
// them in their own process with a table of their own.
#include <functional>
#include <span>

namespace CLI {
class App;
}

namespace corvane::cli {

// Set by the subcommand that the user named; returns the process exit status.
using CommandRunner = std::function<int()>;
// Adds one subcommand to `app`; its callback sets `run`.
using CommandSetup = void (*)(CLI::App& app, CommandRunner& run);

// Exit statuses shared by every command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

void AddConvertCommand(CLI::App& app, CommandRunner& run);
void AddBatchCommand(CLI::App& app, CommandRunner& run);
void AddPreviewCommand(CLI::App& app, CommandRunner& run);
void AddInspectCommand(CLI::App& app, CommandRunner& run);
void AddUnwrapCommand(CLI::App& app, CommandRunner& run);
void AddCheckCommand(CLI::App& app, CommandRunner& run);
// Only in builds with Qt (the plot draws with it).
void AddPlotCommand(CLI::App& app, CommandRunner& run);
void AddCrossplotCommand(CLI::App& app, CommandRunner& run);

// Parses the command line (argv[0] is the program) with `commands`, runs the command
// named and returns its exit status: kExitUsage for a command line it refuses,
// kExitFailed for a failure that escaped the command.
int RunCommandLine(int argc, const char* const* argv, std::span<const CommandSetup> commands);

}  // namespace corvane::cli
