// corvane-cli batch: one configuration, many ASCII files, every core; and the merge of
// the reports of batches run on several machines.
#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/BatchConsole.h"
#include "cli/BatchPlan.h"
#include "cli/BatchReport.h"
#include "cli/BatchRunner.h"
#include "cli/CheckOutput.h"
#include "cli/Commands.h"
#include "cli/FileConversion.h"
#include "cli/ReadingFlags.h"
#include "cli/TerminalProgress.h"
#include "platform/NumberFormat.h"
#include "setup/Configuration.h"

namespace corvane::cli {
namespace {

struct CBatchOptions {
  std::string config;
  std::string outDir;
  std::string firstDataLine;
  bool inverse = false;
  int jobs = 0;  // 0: one per core
  CCheckFlags checkFlags;
  CReadingFlags readingFlags;
  std::string report;
  bool overwrite = false;
  bool recursive = false;
  std::string shard;
  std::string mergeReports;
  std::vector<std::string> files;

  CLI::Option* configOption = nullptr;
  CLI::Option* firstDataLineOption = nullptr;
  CLI::Option* outDirOption = nullptr;
};

int Usage(const std::string& text) {
  std::cerr << "corvane-cli batch: " << text << '\n';
  return kExitUsage;
}

int RunMerge(const CBatchOptions& options) {
  std::string merged;
  CBatchTotals totals;
  if (const CResult result = MergeBatchReports(options.files, merged, totals); !result.Ok()) {
    std::cerr << "corvane-cli: " << result.Reason() << '\n';
    return kExitFailed;
  }
  if (const CResult written = WriteReportFile(options.mergeReports, merged); !written.Ok()) {
    std::cerr << "corvane-cli: " << written.Reason() << '\n';
    return kExitFailed;
  }
  std::cout << FormatInt(static_cast<long long>(totals.files)) << " files from "
            << FormatInt(static_cast<long long>(options.files.size())) << " reports: " << totals.succeeded
            << " succeeded, " << totals.failed << " failed, " << totals.cancelled << " cancelled\n";
  return totals.AllSucceeded() ? kExitDone : kExitFailed;
}

int RunBatch(const CBatchOptions& options) {
  if (!options.mergeReports.empty()) {
    if (options.configOption->count() > 0 || options.outDirOption->count() > 0 || !options.report.empty() ||
        !options.shard.empty())
      return Usage("--merge-reports OUT.json takes report files only (IN.json...)");
    return RunMerge(options);
  }
  if (options.config.empty() || options.outDir.empty())
    return Usage("--config FILE.lah and --out-dir DIR are required (or --merge-reports OUT.json IN.json...)");
  if (options.firstDataLineOption->count() > 0 && !CFirstDataLine::Parse(options.firstDataLine))
    return Usage(FirstDataLineUsage(options.firstDataLine));
  std::optional<CBatchShard> shard;
  if (!options.shard.empty()) {
    shard = CBatchShard::Parse(options.shard);
    if (!shard) return Usage("--shard: expected K/N with 0 <= K < N, got \"" + options.shard + "\"");
  }

  CBatchSettings settings;
  settings.base.configFilePath = options.config;
  if (const CResult loaded = LoadConfiguration(settings.base); !loaded.Ok()) {
    std::cerr << "Unrecognized Configuration File.\n";
    CTerminalFeedback().ReportReason(loaded);
    return kExitFailed;
  }
  if (const auto refusal = NullValueRefusal(settings.base.nullValue, ConfiguredNullText(options.config),
                                            "NULL of " + options.config))
    return Usage(*refusal);
  options.readingFlags.ApplyTo(settings.base.reading);
  const std::optional<CFirstDataLine> firstDataLine = CFirstDataLine::Choose(
      options.firstDataLine, options.firstDataLineOption->count() > 0, settings.base.storedFirstDataLine);
  if (!firstDataLine) return Usage(FirstDataLineUsage(options.firstDataLine));
  settings.firstDataLine = *firstDataLine;
  settings.inverse = options.inverse;
  settings.check = options.checkFlags.check;
  settings.overwrite = options.overwrite;
  settings.jobs = options.jobs > 0 ? options.jobs : CoreCount();

  CBatchPlan::COptions planOptions;
  planOptions.outDir = options.outDir;
  planOptions.configPath = options.config;
  planOptions.reportPath = options.report;
  planOptions.recursive = options.recursive;
  planOptions.overwrite = options.overwrite;
  planOptions.shard = shard;
  CBatchPlan plan(planOptions);
  plan.Gather(options.files, std::cin);
  plan.FindClashes();
  if (!plan.Problems().empty()) {
    std::cerr << "corvane-cli: nothing was converted:\n";
    for (const std::string& problem : plan.Problems())
      std::cerr << "  " << CBatchConsole::OneLine(problem) << '\n';
    return kExitUsage;
  }

  const std::vector<CBatchItem> items = plan.Items();
  CBatchRun run;
  run.host = HostName();
  run.started = UtcNow();
  run.config = options.config;
  run.firstDataLine = *firstDataLine;
  run.inverse = options.inverse;
  run.check = options.checkFlags.check;
  run.strict = options.checkFlags.strict;
  run.outDir = options.outDir;
  run.shard = shard;
  run.jobs = settings.jobs;

  CTerminalProgress::InstallInterruptHandler();
  CBatchConsole console(items.size(), run.strict);
  CBatchRunner runner(std::move(settings));
  const auto begin = std::chrono::steady_clock::now();
  const std::vector<CBatchOutcome> outcomes = runner.Run(
      items,
      [&](std::size_t index, const CBatchOutcome& outcome) { console.Finished(items[index], outcome); },
      [&](const CBatchProgress& progress) { console.Progress(progress); },
      [] { return CTerminalProgress::Interrupted(); });
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

  const CBatchTotals totals = TotalsOf(items, outcomes, run.strict);
  console.Summary(totals, run.seconds, run.check);
  int status =
      totals.AllSucceeded() && (!run.strict || (totals.checkFailed == 0 && totals.readingFailed == 0))
          ? kExitDone
          : kExitFailed;
  if (totals.cancelled > 0)
    std::cerr << "corvane-cli: cancelled; the LAS file of each cancelled file is as it was before the run.\n";
  if (!options.report.empty()) {
    if (const CResult written = WriteReportFile(options.report, FormatBatchReport(run, items, outcomes));
        !written.Ok()) {
      std::cerr << "corvane-cli: the report was not written: " << written.Reason() << '\n';
      status = kExitFailed;
    }
  }
  return status;
}

}  // namespace

void AddBatchCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CBatchOptions>();
  CLI::App* sub = app.add_subcommand(
      "batch",
      "Converts many ASCII files of one layout with one configuration file (.lah), in parallel: "
      "each file as `convert` would convert it alone.");
  options->configOption = sub->add_option("--config", options->config,
                                          "Configuration file (.lah) with the layout, the curves and "
                                          "the well details")
                              ->type_name("FILE.lah");
  options->outDirOption =
      sub->add_option("--out-dir", options->outDir,
                      "Folder of the LAS files: each input gives DIR/<name>.las (made when missing)")
          ->type_name("DIR");
  options->firstDataLineOption =
      sub->add_option("--first-data-line", options->firstDataLine,
                      "Number of the first line of digits (the lines before it) in every file, or \"auto\" "
                      "for the line the layout detection proposes in each file; default: the "
                      "configuration's FIRST DATA LINE (written by `corvane-cli init`), else auto")
          ->type_name("N|auto");
  sub->add_flag("--inverse", options->inverse, "Write the data lines in reverse order (Inverse Depths)");
  sub->add_option("--jobs", options->jobs, "Files converted at the same time (default: one per core)")
      ->check(CLI::Range(1, 1024))
      ->type_name("N");
  sub->add_flag("--check", options->checkFlags.check,
                "Check each LAS file written against the LAS 2.0 standard: the counts on its "
                "line, the findings in the report (as `corvane-cli check --json` gives them)");
  sub->add_flag("--strict", options->checkFlags.strict,
                "Exit with 1 when the reading of a file finds PARTIAL_NUMBER, NOT_A_NUMBER, OUT_OF_RANGE, "
                "SHORT_ROW or LONG_ROW; with --check also when a check finds errors or warnings");
  options->readingFlags.AddTo(*sub);
  sub->add_option("--report", options->report,
                  "Write a JSON report: per file its input, output, status, reason, rows, depth range, "
                  "reading summary, duration and check findings")
      ->type_name("FILE.json");
  sub->add_flag("--overwrite", options->overwrite,
                "Replace LAS files that exist already (refused otherwise)");
  sub->add_flag("--recursive", options->recursive,
                "Take the files of the folders named, and of their subfolders (the subfolders are kept "
                "under DIR)");
  sub->add_option("--shard", options->shard,
                  "Convert only every N-th file of the list, starting with file K (counted from 0), so "
                  "that N machines or array tasks share one list")
      ->type_name("K/N");
  sub->add_option("--merge-reports", options->mergeReports,
                  "Merge the JSON reports given as FILE... into one report OUT.json, and convert nothing")
      ->type_name("OUT.json");
  sub->add_option(
         "FILE", options->files,
         "ASCII files; a folder (with --recursive); \"-\" for a list of paths on standard input, one "
         "per line")
      ->required()
      ->expected(1, -1);
  sub->footer(
      "Every file is converted by itself, as `corvane-cli convert --config F.lah --first-data-line ...\n"
      "--ascii FILE --las DIR/<name>.las` would, and one file's failure never stops another. Two inputs\n"
      "giving one LAS file, a LAS file that would replace an input, the configuration or the report, or\n"
      "an existing LAS file without --overwrite refuse the whole batch before any work, listing every\n"
      "clash. A line per file as it ends on stdout, then the summary; a progress bar on a terminal.\n"
      "Ctrl-C cancels every running job (their LAS files are not put in place) and finishes the report.\n"
      "Exit status: 0 all files succeeded (with --strict: and passed the check, and no reading found\n"
      "PARTIAL_NUMBER, NOT_A_NUMBER, OUT_OF_RANGE, SHORT_ROW or LONG_ROW), 1 one failed or was\n"
      "cancelled, 2 usage or a refused batch.\n"
      "\n"
      "Examples:\n"
      "  corvane-cli batch --config well.lah --out-dir las/ --report report.json logs/*.asc\n"
      "  find logs -name '*.asc' | corvane-cli batch --config well.lah --out-dir las/ --shard 0/4 -\n"
      "  corvane-cli batch --merge-reports all.json report-*.json");
  sub->callback([options, &run] { run = [options] { return RunBatch(*options); }; });
}

}  // namespace corvane::cli
