// corvane-cli check: says what is wrong with LAS files, ours or anyone's.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "lasfile/LasChecker.h"
#include "lasfile/LasReportFormat.h"
#include "platform/NumberFormat.h"

namespace corvane::cli {
namespace {

struct CCheckOptions {
  std::vector<std::string> files;
  bool json = false;
  bool strict = false;
};

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int RunCheck(const CCheckOptions& options) {
  std::size_t failed = 0;
  CLasReportJson json(options.strict);
  if (options.json) Write(json.Begin());
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    // One file at a time: its report is printed before the next is read.
    const CLasReport report = CheckLasFile(options.files[i]);
    if (report.Fails(options.strict)) ++failed;
    if (options.json) {
      Write(json.Add(report));
    } else {
      Write((i > 0 ? "\n" : "") + FormatLasReportText(report, options.strict));
    }
    std::fflush(stdout);
  }
  if (options.json) {
    Write(json.End());
  } else if (options.files.size() > 1) {
    Write("\n" + FormatInt(static_cast<long long>(options.files.size())) + " files checked, " +
          FormatInt(static_cast<long long>(failed)) +
          (options.strict ? " with errors or warnings\n" : " with errors\n"));
  }
  std::fflush(stdout);
  return failed > 0 ? kExitFailed : kExitDone;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CCheckOptions>();
  CLI::App* sub = app.add_subcommand(
      "check", "Check LAS files against the CWLS LAS 2.0 standard and say what is wrong, line by line.");
  sub->add_option("FILE", options->files, "LAS files to check")->required()->expected(1, -1);
  sub->add_flag("--json", options->json, "One JSON document for all files instead of the readable report");
  sub->add_flag("--strict", options->strict, "Warnings count as errors for the exit status");
  sub->footer(
      "Every finding has a severity (error: the standard makes the thing mandatory; warning: it\n"
      "recommends it, or readers misread the file; note: information), a stable code, the line,\n"
      "the offending text, a reason and the section of the standard. A LAS 1.2 file is reported\n"
      "(VERS_1_2) and checked by the LAS 2.0 rules.\n"
      "Exit status: 0 no file has errors (with --strict: nor warnings), 1 one has, 2 usage.\n"
      "\n"
      "Example:\n"
      "  corvane-cli check well-7.las\n"
      "  corvane-cli check --json --strict *.las > report.json");
  sub->callback([options, &run] { run = [options] { return RunCheck(*options); }; });
}

}  // namespace corvane::cli
