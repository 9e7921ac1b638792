#pragma once
// --check and --strict of the commands that write a LAS file (convert, unwrap): the
// written file is checked and the findings are printed after the command's own messages.
#include <string>

namespace CLI {
class App;
}

namespace corvane::cli {

struct CCheckFlags {
  bool check = false;
  bool strict = false;
};

// With `strictAlone` (the commands that read an ASCII file), --strict also stands
// without --check: it then fails the run on the reading's doubts about values.
void AddCheckFlags(CLI::App& command, CCheckFlags& flags, bool strictAlone = false);

// The exit status of a command that has written `lasPath` successfully: kExitDone, unless
// --check --strict found errors or warnings (kExitFailed). Prints the findings on stdout
// when --check is given.
int CheckWrittenLas(const std::string& lasPath, const CCheckFlags& flags);

}  // namespace corvane::cli
