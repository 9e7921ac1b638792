// corvane-cli convert: the wizard's road from a configuration file to a LAS file,
// without windows.
#include <CLI/CLI.hpp>

#include <iostream>
#include <limits>
#include <optional>
#include <string>

#include "cli/BatchReport.h"
#include "cli/CheckOutput.h"
#include "cli/Commands.h"
#include "cli/FileConversion.h"
#include "cli/ReadingFlags.h"
#include "cli/RunJson.h"
#include "cli/TerminalProgress.h"
#include "las/LasCreation.h"
#include "las/LasWriter.h"
#include "platform/FileError.h"
#include "platform/JsonWriter.h"
#include "platform/NumberFormat.h"
#include "setup/Configuration.h"
#include "setup/ConversionSetup.h"

namespace corvane::cli {
namespace {

struct CConvertOptions {
  std::string config;
  std::string firstDataLine;  // a line number, or "auto" for the detected one
  std::string ascii;
  std::string las;
  bool inverse = false;
  bool saveConfig = false;
  bool quiet = false;
  std::string delimiter;
  int fixedWidth = 0;
  int skipWidth = 0;
  int curveTotal = 0;
  std::string nullText;
  CCheckFlags checkFlags;
  CReadingFlags readingFlags;
  std::string report;

  CLI::Option* firstDataLineOption = nullptr;
  CLI::Option* asciiOption = nullptr;
  CLI::Option* lasOption = nullptr;
  CLI::Option* delimiterOption = nullptr;
  CLI::Option* fixedWidthOption = nullptr;
  CLI::Option* skipWidthOption = nullptr;
  CLI::Option* curveTotalOption = nullptr;
  CLI::Option* nullOption = nullptr;
};

int RunConvert(const CConvertOptions& options) {
  CTerminalFeedback feedback(options.quiet);
  CConversionSetup setup;
  setup.configFilePath = options.config;
  if (const CResult loaded = LoadConfiguration(setup); !loaded.Ok()) {
    std::cerr << "Unrecognized Configuration File.\n";
    feedback.ReportReason(loaded);
    return kExitFailed;
  }

  // The overrides stand for what the user would change on the Step 2 and Step 4 pages.
  if (Given(options.asciiOption)) setup.asciiFilePath = options.ascii;
  if (Given(options.lasOption)) setup.lasFilePath = options.las;
  if (Given(options.delimiterOption)) setup.delimiterText = options.delimiter;
  if (Given(options.fixedWidthOption)) setup.fixedWidth = options.fixedWidth;
  if (Given(options.skipWidthOption)) setup.skipWidth = options.skipWidth;
  if (Given(options.curveTotalOption)) setup.userCurveTotal = options.curveTotal;
  if (Given(options.nullOption)) {
    if (!ReadNullOption(options.nullText, setup.nullValue)) return kExitUsage;
  } else if (const auto refusal = NullValueRefusal(setup.nullValue, ConfiguredNullText(options.config),
                                                   "NULL of " + options.config)) {
    std::cerr << "corvane-cli: " << *refusal << " (or give --null).\n";
    return kExitUsage;
  }
  options.readingFlags.ApplyTo(setup.reading);
  if (setup.asciiFilePath.empty()) {
    std::cerr << "No ASCII file: the configuration file names none; give one with --ascii PATH.\n";
    return kExitUsage;
  }
  if (setup.lasFilePath.empty()) {
    std::cerr << "No LAS file: the configuration file names none; give one with --las PATH.\n";
    return kExitUsage;
  }
  // Saving the setup, or writing the LAS file, into one of the other two files would
  // destroy it.
  if (ConfigurationIsDataFile(setup)) {
    std::cerr << kConfigurationIsDataFileMessage << '\n';
    return kExitUsage;
  }

  CTerminalProgress::InstallInterruptHandler();
  CTerminalProgress progress(options.quiet);

  const std::optional<CFirstDataLine> firstDataLine = CFirstDataLine::Choose(
      options.firstDataLine, Given(options.firstDataLineOption), setup.storedFirstDataLine);
  if (!firstDataLine) {
    std::cerr << FirstDataLineUsage(options.firstDataLine) << '\n';
    return kExitUsage;
  }
  if (const CResult chosen = ChooseFirstDataLine(setup, *firstDataLine, feedback); !chosen.Ok()) {
    // Without a proposal the user has to say where the data begins.
    if (chosen.IsIncomplete()) std::cerr << chosen.Reason() << '\n';
    return chosen.IsIncomplete() ? kExitUsage : kExitFailed;
  }
  // A file that stores its first data line stores the one used, as the wizard's save
  // does; one without the key gets none.
  if (setup.storedFirstDataLine >= 0) setup.storedFirstDataLine = setup.firstDigitLineIndex;

  bool saveFailed = false;
  const CSaveOperation save = [&setup, &saveFailed, &options]() {
    if (!options.saveConfig) return CResult::Done();
    CResult saved = SaveConfiguration(setup);
    saveFailed = !saved.Ok();
    return saved;
  };
  // Step 3 (without digit samples nothing is touched), then Create LAS.
  CLasCreationFacts facts;
  const CResult created = ConvertAsciiFile(setup, options.inverse, progress, feedback, save, &facts);
  if (created.IsCancelled())
    std::cerr << "corvane-cli: cancelled; " << setup.lasFilePath << " is as it was before the run.\n";
  else
    feedback.ReportReason(created);
  // What the reading found, after the closing notice; a quiet run still names doubts.
  if (created.Ok() && (!options.quiet || facts.reading.HasDoubts()))
    std::cerr << FormatReadingSummary(facts.reading, ReadingAudience::CommandLine);
  bool reportFailed = false;
  if (!options.report.empty()) {
    if (const CResult written =
            WriteReportFile(options.report, FormatConvertReport(options.config, setup, created, facts));
        !written.Ok()) {
      std::cerr << "corvane-cli: the report was not written: " << written.Reason() << '\n';
      reportFailed = true;
    }
  }
  if (!created.Ok()) return kExitFailed;
  const int checked = CheckWrittenLas(setup.lasFilePath, options.checkFlags);
  if (saveFailed || reportFailed) return kExitFailed;
  if (options.checkFlags.strict && facts.reading.FailsStrict()) return kExitFailed;
  return checked;
}

}  // namespace

void AddConvertCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CConvertOptions>();
  CLI::App* convert = app.add_subcommand(
      "convert",
      "Converts an ASCII log into a LAS 2.0 file with the choices of a configuration file (.lah): "
      "the same road as the wizard's Create LAS button.");
  convert
      ->add_option("--config", options->config,
                   "Configuration file (.lah) with the layout, the curves and the well details")
      ->required()
      ->type_name("FILE.lah");
  options->firstDataLineOption =
      convert
          ->add_option("--first-data-line", options->firstDataLine,
                       "Number of the first line of digits, counting the lines of the ASCII file from 0 "
                       "(the number of lines before it), or \"auto\" for the line the layout detection "
                       "proposes (as `corvane-cli inspect` shows it); default: the configuration's FIRST "
                       "DATA LINE (written by `corvane-cli init`), else auto")
          ->type_name("N|auto");
  options->asciiOption = convert
                             ->add_option("--ascii", options->ascii,
                                          "ASCII file to convert, instead of the configuration's ASCII FILE")
                             ->type_name("PATH");
  options->lasOption = convert
                           ->add_option("--las", options->las,
                                        "LAS file to create (an existing one is overwritten), instead of "
                                        "the configuration's LAS FILE")
                           ->type_name("PATH");
  convert->add_flag("--inverse", options->inverse, "Write the data lines in reverse order (Inverse Depths)");
  convert->add_flag("--save-config", options->saveConfig,
                    "Write the setup back into the configuration file before converting (it is not "
                    "touched otherwise)");
  convert->add_flag(
      "--quiet", options->quiet,
      "No progress bar, no closing notice and no reading summary; errors and the reading's doubts "
      "are still shown");
  options->delimiterOption =
      convert
          ->add_option("--delimiter", options->delimiter,
                       "Column delimiters: \"space\", \"tab\" or the delimiter characters themselves "
                       "(for example \",\" or \":,\")")
          ->type_name("TEXT");
  options->fixedWidthOption =
      convert
          ->add_option("--fixed-width", options->fixedWidth,
                       "Cut columns by position, N characters each (0 = cut at the delimiters)")
          ->type_name("N");
  options->skipWidthOption = convert
                                 ->add_option("--skip-width", options->skipWidth,
                                              "Characters dropped at the start of every data line")
                                 ->type_name("N");
  options->curveTotalOption =
      convert
          ->add_option("--curve-total", options->curveTotal,
                       "Cut every data line into exactly N columns, instead of the configuration's TOTAL "
                       "(0 = count them on the first data line)")
          ->check(CLI::Range(std::numeric_limits<int>::min(), static_cast<int>(kMaxCurveTotal)))
          ->type_name("N");
  options->nullOption = convert
                            ->add_option("--null", options->nullText,
                                         "Value written for a missing or unreadable reading "
                                         "(for example --null=-999.25)")
                            ->type_name("VALUE");
  options->readingFlags.AddTo(*convert);
  convert
      ->add_option("--report", options->report,
                   "Write a JSON report of the run: input, output, status, rows, the depth range and the "
                   "reading summary (as the batch report gives them per file)")
      ->type_name("FILE.json");
  AddCheckFlags(*convert, options->checkFlags, true);
  convert->footer(
      "After the closing notice a reading summary goes to stderr: the rows and columns read, each\n"
      "kind of cell that was not simply a number (PARTIAL_NUMBER, NOT_A_NUMBER, OUT_OF_RANGE,\n"
      "SHORT_ROW, LONG_ROW, PRECISION_LOST, NULL_LIKE) with its count and first line and column,\n"
      "and the flag that would settle it (\"looks like decimal commas: --decimal-comma\").\n"
      "Example:\n"
      "  corvane-cli convert --config examples/well-7.lah --first-data-line 5 \\\n"
      "      --ascii examples/well-7.asc --las well-7.las\n"
      "Exit status: 0 when the LAS file was created completely, 1 when the run failed or was\n"
      "cancelled (Ctrl-C), or with --strict when the reading found PARTIAL_NUMBER, NOT_A_NUMBER,\n"
      "OUT_OF_RANGE, SHORT_ROW or LONG_ROW (or --check found errors or warnings), 2 for bad usage.");
  convert->callback([options, &run]() { run = [options]() { return RunConvert(*options); }; });
}

}  // namespace corvane::cli
