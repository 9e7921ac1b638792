#pragma once
// corvane-cli's commands run inside the test program, so that a test reaches them
// through the platform's call table (a fault, a gate) and interrupts them at a moment
// it chooses.
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "CapturedOutput.h"
#include "ReadGate.h"
#include "cli/Commands.h"

namespace corvane::test {

// A conversion's reads of its input before its data lines: the digit samples (one block
// of the line reader) and the depth scan (the head and the tail). A gate that lets these
// and one more block pass holds the job two blocks into its data lines.
inline constexpr int kReadsBeforeTheGate = 4;

struct CCliRun {
  int status = -1;
  std::string out;
  std::string err;
  bool held = true;  // RunInterrupted: the reads came to the gate
};

// The exit status of corvane-cli `args` (the plot aside, which needs Qt).
inline int RunCommands(const std::vector<std::string>& args) {
  static constexpr cli::CommandSetup kCommands[] = {
      cli::AddInitCommand,    cli::AddConvertCommand, cli::AddBatchCommand, cli::AddPreviewCommand,
      cli::AddInspectCommand, cli::AddUnwrapCommand,  cli::AddCheckCommand};
  std::vector<const char*> argv = {"corvane-cli"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return cli::RunCommandLine(static_cast<int>(argv.size()), argv.data(), kCommands);
}

// Runs `args` with the output caught.
inline CCliRun RunInProcess(const std::vector<std::string>& args) {
  CCapturedOutput captured;
  const int status = RunCommands(args);
  captured.End();
  return CCliRun{status, captured.Out(), captured.Err()};
}

// Runs `args` on a thread of its own until `threads` of its threads are held at `gate`,
// raises `signal` (the command's interrupt handler takes it), then lets the reads go.
// `held` is false, and nothing was raised, when the reads never came to the gate.
inline CCliRun RunInterrupted(const std::vector<std::string>& args, CReadGate& gate, int threads,
                              int signal) {
  CCapturedOutput captured;
  int status = -1;
  std::thread command([&] { status = RunCommands(args); });
  const bool held = gate.WaitUntilHeld(threads);
  if (held) std::raise(signal);
  gate.Open();
  command.join();
  captured.End();
  return CCliRun{status, captured.Out(), captured.Err(), held};
}

}  // namespace corvane::test
