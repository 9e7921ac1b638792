#include "cli/CheckOutput.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli/Commands.h"
#include "lasfile/LasChecker.h"
#include "lasfile/LasReportFormat.h"

namespace corvane::cli {

void AddCheckFlags(CLI::App& command, CCheckFlags& flags, bool strictAlone) {
  CLI::Option* check =
      command.add_flag("--check", flags.check,
                       "Check the LAS file written against the LAS 2.0 standard and print the findings "
                       "(as `corvane-cli check` does); the exit status stays that of the run");
  if (strictAlone) {
    command.add_flag(
        "--strict", flags.strict,
        "Exit with 1 when the reading finds PARTIAL_NUMBER, NOT_A_NUMBER, OUT_OF_RANGE, SHORT_ROW or "
        "LONG_ROW; with --check also when the check finds errors or warnings");
    return;
  }
  command
      .add_flag("--strict", flags.strict, "With --check: exit with 1 when the check finds errors or warnings")
      ->needs(check);
}

int CheckWrittenLas(const std::string& lasPath, const CCheckFlags& flags) {
  if (!flags.check) return kExitDone;
  const CLasReport report = CheckLasFile(lasPath);
  const std::string text = "LAS check: " + FormatLasReportText(report, flags.strict);
  std::fflush(stderr);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return flags.strict && report.Fails(true) ? kExitFailed : kExitDone;
}

}  // namespace corvane::cli
