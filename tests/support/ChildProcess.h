#pragma once
// Running a program (corvane-cli, mostly) as a user runs it: its own process, standard
// input from a file, output and errors caught in files.
#include <sys/types.h>

#include <string>
#include <vector>

namespace corvane::test {

struct CChildStreams {
  std::string input = "/dev/null";
  std::string output = "/dev/null";
  std::string errors = "/dev/null";
  // NAME=VALUE entries that replace (or add to) the environment of this process.
  std::vector<std::string> environment;
};

// Starts `program` with `args`; the child's pid, or -1.
pid_t StartChild(const std::string& program, const std::vector<std::string>& args,
                 const CChildStreams& streams);

struct CChildRun {
  int status = -1;  // the exit status; -1 when killed by a signal
  std::string out;
  std::string err;
};

// Waits for the child and reads what it wrote into `streams`' files.
CChildRun FinishChild(pid_t pid, const CChildStreams& streams);

// The names in a folder, hidden ones included, sorted.
std::vector<std::string> ListFolder(const std::string& folder);

}  // namespace corvane::test
