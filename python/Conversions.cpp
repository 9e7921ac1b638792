#include "python/Conversions.h"

#include <cerrno>
#include <chrono>
#include <sstream>

#include "ascii/ConfigurationProposal.h"
#include "cli/BatchPlan.h"
#include "cli/BatchReport.h"
#include "cli/BatchRunner.h"
#include "cli/ReadingFlags.h"
#include "cli/RunJson.h"
#include "mnemonics/MnemonicDictionary.h"
#include "platform/FileError.h"
#include "python/ModuleError.h"
#include "setup/Configuration.h"

namespace corvane::python {
namespace {

CConversionSetup LoadSetup(const std::string& configPath) {
  CConversionSetup setup;
  setup.configFilePath = configPath;
  if (const CResult loaded = LoadConfiguration(setup); !loaded.Ok())
    throw CModuleError(ErrorKind::Configuration, "Unrecognized Configuration File.", configPath,
                       loaded.Reason());
  if (const auto refusal = cli::NullValueRefusal(setup.nullValue, cli::ConfiguredNullText(configPath),
                                                 "NULL of " + configPath))
    throw CModuleError(ErrorKind::Configuration, "Enter a number.", configPath, *refusal);
  return setup;
}

// The file a failure concerns: the one its reason names first, else `fallback`.
std::string PathOfReason(const std::string& reason, const CConversionSetup& setup,
                         const std::string& fallback) {
  for (const std::string* path : {&setup.lasFilePath, &setup.asciiFilePath, &setup.configFilePath})
    if (!path->empty() && reason.compare(0, path->size() + 1, *path + ":") == 0) return *path;
  return fallback;
}

// The line asked for, else as the command line takes it without --first-data-line.
cli::CFirstDataLine FirstDataLineOf(const std::optional<cli::CFirstDataLine>& asked,
                                    const CConversionSetup& setup) {
  if (asked) return *asked;
  return *cli::CFirstDataLine::Choose("", false, setup.storedFirstDataLine);
}

}  // namespace

std::string ConvertFile(const CConvertRequest& request, CJobProgress& progress) {
  CConversionSetup setup = LoadSetup(request.config);
  setup.asciiFilePath = request.ascii;
  setup.lasFilePath = request.las;
  if (ConfigurationIsDataFile(setup))
    throw CModuleError(ErrorKind::Configuration, kConfigurationIsDataFileMessage, request.las,
                       "the configuration would be overwritten");

  cli::CJobMessages messages;
  const cli::CFirstDataLine line = FirstDataLineOf(request.firstDataLine, setup);
  if (const CResult chosen = cli::ChooseFirstDataLine(setup, line, messages); !chosen.Ok()) {
    if (chosen.IsIncomplete())
      throw CModuleError(ErrorKind::Conversion, "No layout proposal.", request.ascii, chosen.Reason());
    throw CModuleError(ErrorKind::File, messages.Message(), request.ascii, chosen.Reason());
  }
  CLasCreationFacts facts;
  const CResult created = cli::ConvertAsciiFile(
      setup, request.inverse, progress, messages, [] { return CResult::Done(); }, &facts);
  if (created.IsCancelled())
    throw CModuleError(ErrorKind::Cancelled, "Conversion cancelled.", request.las,
                       request.las + " is as it was before the run");
  if (!created.Ok()) {
    std::string reason = !created.Reason().empty() ? created.Reason() : messages.Detail();
    if (reason.empty()) reason = messages.Message();
    const std::string message =
        messages.Message().empty() ? "The LAS file was not created." : messages.Message();
    throw CModuleError(ErrorKind::Conversion, message, PathOfReason(reason, setup, request.ascii), reason);
  }
  return cli::FormatConvertReport(request.config, setup, created, facts);
}

std::string RunBatch(const CBatchRequest& request, const std::function<bool()>& cancelled) {
  cli::CBatchSettings settings;
  settings.base = LoadSetup(request.config);
  settings.firstDataLine = FirstDataLineOf(request.firstDataLine, settings.base);
  settings.inverse = request.inverse;
  settings.check = request.check;
  settings.jobs = request.jobs > 0 ? request.jobs : cli::CoreCount();

  cli::CBatchPlan::COptions planOptions;
  planOptions.outDir = request.outDir;
  planOptions.configPath = request.config;
  planOptions.reportPath = request.reportPath;
  planOptions.recursive = request.recursive;
  planOptions.overwrite = request.overwrite;
  cli::CBatchPlan plan(planOptions);
  std::istringstream noList;
  plan.Gather(request.inputs, noList);
  plan.FindClashes();
  if (!plan.Problems().empty()) {
    std::string reason;
    for (const std::string& problem : plan.Problems()) reason += (reason.empty() ? "" : "\n") + problem;
    throw CModuleError(ErrorKind::Batch, "Nothing was converted.", request.outDir, reason);
  }

  const std::vector<cli::CBatchItem> items = plan.Items();
  cli::CBatchRun run;
  run.host = cli::HostName();
  run.started = cli::UtcNow();
  run.config = request.config;
  run.firstDataLine = settings.firstDataLine;
  run.inverse = request.inverse;
  run.check = request.check;
  run.strict = request.strict;
  run.outDir = request.outDir;
  run.jobs = settings.jobs;
  cli::CBatchRunner runner(std::move(settings));
  const auto begin = std::chrono::steady_clock::now();
  const std::vector<cli::CBatchOutcome> outcomes = runner.Run(
      items, [](std::size_t, const cli::CBatchOutcome&) {}, [](const cli::CBatchProgress&) {}, cancelled);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

  std::string report = cli::FormatBatchReport(run, items, outcomes);
  if (!request.reportPath.empty())
    if (const CResult written = cli::WriteReportFile(request.reportPath, report); !written.Ok())
      throw CModuleError(ErrorKind::File, "The report was not written.", request.reportPath,
                         written.Reason());
  return report;
}

CInitResult InitConfiguration(const CInitRequest& request) {
  CFixedChoices fixed;
  fixed.firstDataLine = request.firstDataLine;
  const CMnemonicDictionary dictionary = CMnemonicDictionary::Load();
  CConfigurationProposal proposal;
  const CResult created = CreateConfiguration(request.ascii, request.config, request.las, fixed,
                                              request.overwrite, dictionary, proposal);
  if (!created.Ok()) {
    const std::string& reason = created.Reason();
    if (reason == kSameAsciiAndLasMessage || reason == kConfigurationIsDataFileMessage)
      throw CModuleError(ErrorKind::Configuration, reason, request.config, reason);
    if (created.Error() == EEXIST)
      throw CModuleError(ErrorKind::File, "The configuration file exists; pass overwrite=True to replace it.",
                         request.config, reason);
    if (created.IsIncomplete())
      throw CModuleError(ErrorKind::Conversion, "No layout proposal.", request.ascii, reason);
    CConversionSetup files;
    files.asciiFilePath = request.ascii;
    files.configFilePath = request.config;
    throw CModuleError(ErrorKind::File, "The configuration file was not written.",
                       PathOfReason(reason, files, request.ascii), reason);
  }
  CInitResult result;
  result.las = proposal.setup.lasFilePath;
  result.account = std::move(proposal.account);
  // The dictionary's own problems (a user file that does not parse) belong in the account too.
  for (const std::string& problem : dictionary.Problems()) result.account.push_back(problem);
  return result;
}

}  // namespace corvane::python
