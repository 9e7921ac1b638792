// corvane-cli init: a new configuration file made from what an ASCII file says of
// itself, so that a headless user never writes one by hand.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "ascii/ConfigurationProposal.h"
#include "cli/Commands.h"
#include "cli/FileConversion.h"
#include "cli/ReadingFlags.h"
#include "mnemonics/MnemonicDictionary.h"
#include "setup/ConversionSetup.h"

namespace corvane::cli {
namespace {

struct CInitOptions {
  std::string ascii;
  std::string config;
  std::string las;
  std::string firstDataLine;
  std::string delimiter;
  int fixedWidth = 0;
  int skipWidth = 0;
  int curveTotal = 0;
  std::string nullText;
  bool overwrite = false;
  bool quiet = false;
  CReadingFlags readingFlags;

  CLI::Option* firstDataLineOption = nullptr;
  CLI::Option* delimiterOption = nullptr;
  CLI::Option* fixedWidthOption = nullptr;
  CLI::Option* skipWidthOption = nullptr;
  CLI::Option* curveTotalOption = nullptr;
  CLI::Option* nullOption = nullptr;
};

int RunInit(const CInitOptions& options) {
  CFixedChoices fixed;
  if (Given(options.firstDataLineOption)) {
    const std::optional<CFirstDataLine> line = CFirstDataLine::Parse(options.firstDataLine);
    if (!line) {
      std::cerr << FirstDataLineUsage(options.firstDataLine) << '\n';
      return kExitUsage;
    }
    if (!line->detect) fixed.firstDataLine = line->index;
  }
  if (Given(options.delimiterOption)) fixed.delimiterText = options.delimiter;
  if (Given(options.fixedWidthOption)) fixed.fixedWidth = options.fixedWidth;
  if (Given(options.skipWidthOption)) fixed.skipWidth = options.skipWidth;
  if (Given(options.curveTotalOption)) fixed.curveTotal = options.curveTotal;
  if (Given(options.nullOption)) {
    double value = 0;
    if (!ReadNullOption(options.nullText, value)) return kExitUsage;
    fixed.nullValue = value;
  }
  fixed.reading = options.readingFlags.Choices();

  const CMnemonicDictionary dictionary = CMnemonicDictionary::Load();
  for (const std::string& problem : dictionary.Problems()) std::cerr << "corvane-cli: " << problem << '\n';

  CConfigurationProposal proposal;
  const CResult created = CreateConfiguration(options.ascii, options.config, options.las, fixed,
                                              options.overwrite, dictionary, proposal);
  if (!created.Ok()) {
    if (created.Reason() == kSameAsciiAndLasMessage || created.Reason() == kConfigurationIsDataFileMessage) {
      std::cerr << created.Reason() << '\n';
      return kExitUsage;
    }
    // One sentence: the reason, then what to do about it.
    std::string reason = created.Reason();
    if (!reason.empty() && reason.back() == '.') reason.pop_back();
    if (created.Error() == EEXIST) reason += "; give --overwrite to replace it";
    // Without a proposal the user has to say where the data begins.
    if (created.IsIncomplete()) reason += "; give --first-data-line N";
    std::cerr << "corvane-cli: " << reason << ".\n";
    return created.Error() == EEXIST || created.IsIncomplete() ? kExitUsage : kExitFailed;
  }
  if (!options.quiet) {
    std::string out;
    for (const std::string& line : proposal.account) out += line + '\n';
    out += "Written: " + options.config + " (LAS file: " + proposal.setup.lasFilePath + ")\n";
    std::cout << out << std::flush;
  }
  return kExitDone;
}

}  // namespace

void AddInitCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CInitOptions>();
  CLI::App* init = app.add_subcommand(
      "init",
      "Writes a new configuration file (.lah) for an ASCII file from what the file says of itself: the "
      "layout and reading choices the detection proposes, the curves named from the heading lines with "
      "the mnemonic dictionary, and the first data line.");
  init->add_option("ASCII_FILE", options->ascii, "ASCII file the configuration is for")->required();
  init->add_option("-o,--output", options->config, "Configuration file to write")
      ->required()
      ->type_name("NEW.lah");
  init->add_option("--las", options->las,
                   "LAS file the configuration names (default: NAME.las beside the ASCII file)")
      ->type_name("PATH");
  options->firstDataLineOption =
      init->add_option("--first-data-line", options->firstDataLine,
                       "Number of the first line of digits (the lines before it), or \"auto\" (the default) "
                       "for the line the layout detection proposes; stored as FIRST DATA LINE")
          ->type_name("N|auto");
  options->delimiterOption =
      init->add_option(
              "--delimiter", options->delimiter,
              "Column delimiters: \"space\", \"tab\" or the delimiter characters themselves; default: "
              "the proposal")
          ->type_name("TEXT");
  options->fixedWidthOption =
      init->add_option("--fixed-width", options->fixedWidth,
                       "Cut columns by position, N characters each (0 = cut at the delimiters)")
          ->type_name("N");
  options->skipWidthOption = init->add_option("--skip-width", options->skipWidth,
                                              "Characters dropped at the start of every data line")
                                 ->type_name("N");
  options->curveTotalOption =
      init->add_option("--curve-total", options->curveTotal,
                       "Cut every data line into exactly N columns (0 = count them on the first data line)")
          ->check(CLI::Range(std::numeric_limits<int>::min(), static_cast<int>(kMaxCurveTotal)))
          ->type_name("N");
  options->nullOption =
      init->add_option("--null", options->nullText, "Value written for a missing reading (default -999.25)")
          ->type_name("VALUE");
  options->readingFlags.AddTo(*init);
  init->add_flag("--overwrite", options->overwrite, "Replace a configuration file that stands at NEW.lah");
  init->add_flag("--quiet", options->quiet, "Nothing on stdout; errors still go to stderr");
  init->footer(
      "Every choice not given is proposed from the file, as the wizard's Step 2 and Step 3 propose it:\n"
      "the first data line, the delimiter and the reading choices from the rows; the curve names,\n"
      "units and descriptions from the heading lines (a names line and a units line, NAME(unit),\n"
      "NAME[unit]) and the mnemonic dictionary; the depth column (DEPTH, MD, DEPTH_MD, ...) as DEPT.\n"
      "A column of text (well names, formations) is left out. stdout tells what was proposed.\n"
      "The file is written whole or not at all; paths in the configuration's folder or below it\n"
      "are stored relative to it. `convert` and `batch` use its FIRST DATA LINE when not given\n"
      "--first-data-line.\n"
      "Exit status: 0 written; 1 the ASCII file cannot be read, is not text, or the configuration\n"
      "file cannot be written; 2 usage: NEW.lah exists (without --overwrite), two of the ASCII,\n"
      "LAS and configuration files are one, or no layout is found (give --first-data-line).\n"
      "\n"
      "Example:\n"
      "  corvane-cli init well.csv -o well.lah\n"
      "  corvane-cli convert --config well.lah");
  init->callback([options, &run] { run = [options] { return RunInit(*options); }; });
}

}  // namespace corvane::cli
