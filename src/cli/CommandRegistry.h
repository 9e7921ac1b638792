#pragma once
// Each command of corvane-cli lives in a file of its own and registers itself here
// with a static CCommandRegistration, so commands are added without touching main.
#include <functional>
#include <vector>

namespace CLI {
class App;
}

namespace corvane::cli {

// Set by the subcommand that the user named; returns the process exit status.
using CommandRunner = std::function<int()>;
using CommandSetup = std::function<void(CLI::App& app, CommandRunner& run)>;

// Exit statuses shared by every command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CCommandRegistration {
  CCommandRegistration(int order, CommandSetup setup);
};

// The registered commands, in their order (lower first).
std::vector<CommandSetup> RegisteredCommands();

}  // namespace corvane::cli
