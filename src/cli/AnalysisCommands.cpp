// The commands that look at an ASCII file before a conversion (preview, inspect) and
// the unwrapping of a wrapped LAS file.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ascii/AsciiPreview.h"
#include "ascii/CurveProposal.h"
#include "ascii/DigitSamples.h"
#include "ascii/LayoutDetector.h"
#include "cli/CheckOutput.h"
#include "cli/Commands.h"
#include "cli/ReadingFlags.h"
#include "cli/RunJson.h"
#include "cli/TerminalProgress.h"
#include "las/Unwrap.h"
#include "mnemonics/MnemonicDictionary.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/JsonWriter.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane::cli {

namespace {

// ---------------------------------------------------------------------------------
// preview

// Every row: the first digit line index that marking it would record, right-aligned
// in four characters, "|", one blank, the text. The ruler row carries no index.
void PrintRow(std::string& out, int index, const std::string& text) {
  if (index < 0)
    out += "    ";
  else
    AppendRightAligned(out, FormatInt(index), 4);
  out += "| ";
  out += text;
  out += '\n';
}

// {"schema", "path", "ruler", "lines"}: the lines in order, so that a line's position
// is the first digit line index that marking it records.
std::string PreviewJson(const std::string& path, const CAsciiPreview& preview) {
  CJsonWriter json;
  json.BeginObject();
  json.Key("schema").String("corvane-preview/1");
  json.Key("path").String(path);
  json.Key("ruler");
  if (preview.HasRulerRow())
    json.String(preview.Ruler());
  else
    json.Null();
  json.Key("lines").BeginArray();
  for (const std::string& line : preview.Lines()) json.String(line);
  json.EndArray();
  json.EndObject();
  std::string out = json.Take();
  out += '\n';
  return out;
}

int RunPreview(const std::string& path, bool json) {
  CTerminalFeedback feedback;
  CAsciiPreview preview;
  const bool loaded = preview.Load(path, feedback);
  if (json) {
    // One whole document or none.
    if (!loaded) return kExitFailed;
    const std::string out = PreviewJson(path, preview);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return kExitDone;
  }
  std::string out;
  if (preview.HasRulerRow()) PrintRow(out, -1, preview.Ruler());
  const auto& lines = preview.Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) PrintRow(out, static_cast<int>(i), lines[i]);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return loaded ? kExitDone : kExitFailed;
}

}  // namespace

void AddPreviewCommand(CLI::App& app, CommandRunner& run) {
  auto path = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand(
      "preview", "Print the first lines of an ASCII file as the Curve Digits list shows them.");
  sub->add_option("FILE", *path, "ASCII file")->required();
  sub->add_flag("--json", *json, "One JSON document (schema, path, ruler, lines) instead of the rows");
  sub->footer(
      "Output: the ruler row, then at most 100 lines of the file, each at most 65536 characters\n"
      "(the rest of a longer line is not shown). Every row is a field of four characters,\n"
      "\"|\", one blank and the text; the field holds the first digit line index that marking\n"
      "that line records (0 for the first line of the file), right-aligned, and is blank for\n"
      "the ruler. The ruler repeats \"1234567890\" over the longest line, its line feed counted.\n"
      "With --json: {\"schema\": \"corvane-preview/1\", \"path\", \"ruler\" (null without a ruler row),\n"
      "\"lines\": [the lines, the first digit line index being the position]}; nothing when the file\n"
      "cannot be read.\n"
      "Exit status: 0 shown, 1 the file cannot be opened or read, 2 usage.\n"
      "\n"
      "Example:\n"
      "  corvane-cli preview well.asc\n"
      "      | 123456789012345678901234567890\n"
      "     0| DEPTH     GR      NPHI\n"
      "     1| 1000.0    45.2    0.21");
  sub->callback([path, json, &run] { run = [path, json] { return RunPreview(*path, *json); }; });
}

namespace {

// ---------------------------------------------------------------------------------
// inspect

struct CInspectOptions {
  std::string path;
  std::optional<int> firstDataLine;
  std::optional<std::string> delimiter;
  int curveTotal = 0;
  int fixedWidth = 0;
  int skipWidth = 0;
  int firstColumn = 1;
  bool json = false;
  CReadingFlags readingFlags;
};

constexpr int kVisibleColumns = 6;

std::vector<std::string> SampleValues(const std::string& sample) {
  std::vector<std::string> values;
  std::size_t start = 0;
  while (start < sample.size()) {
    std::size_t end = sample.find("\r\n", start);
    if (end == std::string::npos) end = sample.size();
    values.push_back(sample.substr(start, end - start));
    start = end + 2;
  }
  return values;
}

void AppendPadded(std::string& out, const std::string& text, std::size_t width) {
  out += text;
  if (text.size() < width) out.append(width - text.size(), ' ');
}

void TrimLineEnd(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

// The six columns from `first` (0-based, a multiple of six) side by side, as the
// Step 3 grid shows them: the column numbers, then one line per sampled data line.
void PrintSamples(std::string& out, const CConversionSetup& setup, int first) {
  const int total = setup.CurveTotal();
  const int last = std::min(total, first + kVisibleColumns);
  std::vector<std::vector<std::string>> columns;
  std::size_t width = 0;
  std::size_t rows = 0;
  for (int k = first; k < last; ++k) {
    columns.push_back(SampleValues(setup.digitSamples[static_cast<std::size_t>(k)]));
    for (const auto& value : columns.back()) width = std::max(width, value.size());
    rows = std::max(rows, columns.back().size());
  }
  width = std::max<std::size_t>(width, 8) + 2;
  std::string line;
  for (int k = first; k < last; ++k) AppendPadded(line, FormatInt(k + 1), width);
  TrimLineEnd(line);
  out += line + '\n';
  for (std::size_t r = 0; r < rows; ++r) {
    line.clear();
    for (const auto& column : columns)
      AppendPadded(line, r < column.size() ? column[r] : std::string(), width);
    TrimLineEnd(line);
    out += line + '\n';
  }
}

void WriteStringArray(CJsonWriter& json, const std::vector<std::string>& values) {
  json.BeginArray();
  for (const std::string& value : values) json.String(value);
  json.EndArray();
}

// {"account", "indexColumn", "namesLine", "unitsLine", "list": [{"mnemonic", "unit",
// "description", "name", "sourceUnit", "family", "inDictionary"}]}: null when nothing
// is proposed; columns and lines counted from 0, -1 as null.
void WriteCurvesJson(CJsonWriter& json, const CCurveProposal& curves) {
  if (!curves.Proposed()) {
    json.Null();
    return;
  }
  const auto place = [&json](int index) {
    if (index >= 0)
      json.Integer(index);
    else
      json.Null();
  };
  json.BeginObject();
  json.Key("account").String(curves.account);
  json.Key("indexColumn");
  place(curves.indexColumn);
  json.Key("namesLine");
  place(curves.namesLine);
  json.Key("unitsLine");
  place(curves.unitsLine);
  json.Key("list").BeginArray();
  for (const CProposedCurve& curve : curves.curves) {
    json.BeginObject();
    json.Key("mnemonic").String(curve.curve.heading);
    json.Key("unit").String(curve.curve.units);
    json.Key("description").String(curve.curve.description);
    json.Key("name").String(curve.sourceName);
    json.Key("sourceUnit").String(curve.sourceUnit);
    json.Key("family").String(std::string(FamilyName(curve.family)));
    json.Key("inDictionary").Boolean(curve.inDictionary);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

// {"schema", "path", "proposal", "firstDataLine", "delimiter", "headings", "curveTotal",
// "columns", "curves"}; `setup` is null when no first data line is known, and then has
// no samples and no curves.
std::string InspectJson(const std::string& path, const std::optional<CLayoutProposal>& proposal,
                        const CConversionSetup* setup, const CCurveProposal& curves) {
  CJsonWriter json;
  json.BeginObject();
  json.Key("schema").String("corvane-inspect/1");
  json.Key("path").String(path);
  json.Key("proposal");
  if (proposal) {
    json.BeginObject();
    json.Key("firstDataLine").Integer(proposal->firstDigitLineIndex);
    json.Key("delimiter").String(proposal->delimiterText);
    json.Key("columns").Integer(proposal->columnCount);
    json.Key("headerLines").BeginArray();
    for (const int index : proposal->headerLines) json.Integer(index);
    json.EndArray();
    json.Key("reading");
    WriteReadingOptionsJson(json, proposal->reading);
    json.EndObject();
  } else {
    json.Null();
  }
  if (setup == nullptr) {
    json.Key("firstDataLine").Null();
    json.Key("delimiter").Null();
    json.Key("reading").Null();
    json.Key("headings").BeginArray().EndArray();
    json.Key("curveTotal").Null();
    json.Key("columns").BeginArray().EndArray();
    json.Key("curves").Null();
  } else {
    json.Key("firstDataLine").Integer(setup->firstDigitLineIndex);
    json.Key("delimiter").String(setup->delimiterText);
    json.Key("reading");
    WriteReadingOptionsJson(json, setup->reading);
    json.Key("headings");
    WriteStringArray(json, SampleValues(setup->headingsText));
    json.Key("curveTotal").Integer(setup->CurveTotal());
    json.Key("columns").BeginArray();
    for (int k = 0; k < setup->CurveTotal(); ++k)
      WriteStringArray(json, SampleValues(setup->digitSamples[static_cast<std::size_t>(k)]));
    json.EndArray();
    json.Key("curves");
    WriteCurvesJson(json, curves);
  }
  json.EndObject();
  std::string out = json.Take();
  out += '\n';
  return out;
}

int RunInspect(const CInspectOptions& options) {
  std::vector<std::string> lines;
  if (const CResult read = ReadDetectionLines(options.path, lines); !read.Ok()) {
    CTerminalFeedback().ShowError("Failed to open ASCII file.", std::string(), read.Reason());
    return kExitFailed;
  }

  std::string out;
  std::optional<CLayoutProposal> proposal = DetectLayoutInLines(lines);
  if (proposal) {
    if (const CResult read = ProposeReadingFromFile(options.path, *proposal); !read.Ok()) {
      CTerminalFeedback().ShowError("Failed to open ASCII file.", std::string(), read.Reason());
      return kExitFailed;
    }
  }
  if (proposal) {
    out += "First digit line index: " + FormatInt(proposal->firstDigitLineIndex) + '\n';
    out += "Delimiter(s): " + proposal->delimiterText + '\n';
    out += "Columns: " + FormatInt(proposal->columnCount) + '\n';
    out += "Header lines:";
    if (proposal->headerLines.empty()) out += " none";
    for (int index : proposal->headerLines) out += ' ' + FormatInt(index);
    out += '\n';
    const std::string reading = DescribeReading(proposal->reading);
    out += "Reading: " + (reading.empty() ? std::string("plain") : reading) + '\n';
  } else {
    out += "Layout: no proposal\n";
    out += "Why: " + ExplainNoLayout(lines) + '\n';
  }

  CConversionSetup setup;
  setup.asciiFilePath = options.path;
  if (options.firstDataLine)
    setup.firstDigitLineIndex = *options.firstDataLine;
  else if (proposal)
    setup.firstDigitLineIndex = proposal->firstDigitLineIndex;
  if (setup.firstDigitLineIndex < 0) {
    if (options.json) out = InspectJson(options.path, proposal, nullptr, CCurveProposal());
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitDone;
  }
  setup.delimiterText = options.delimiter ? *options.delimiter : proposal ? proposal->delimiterText : "space";
  setup.userCurveTotal = options.curveTotal;
  setup.fixedWidth = options.fixedWidth;
  setup.skipWidth = options.skipWidth;
  // The proposal's reading choices cut the samples, unless the flags say otherwise.
  if (proposal) setup.reading = proposal->reading;
  options.readingFlags.ApplyTo(setup.reading);
  if (proposal && !options.firstDataLine) {
    for (int index : proposal->headerLines) {
      setup.headingsText += lines[static_cast<std::size_t>(index)] + "\r\n";
      setup.headingLines.push_back(index);
    }
  }

  out += "\nHeadings found in ASCII File:\n";
  for (const auto& heading : SampleValues(setup.headingsText)) out += heading + '\n';

  // What was found so far is shown before any message of the gathering; a JSON
  // document is shown whole or not at all.
  if (!options.json) std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  out.clear();
  CTerminalFeedback terminal;
  if (const CResult samples = CollectDigitSamples(setup, terminal); !samples.Ok()) {
    terminal.ReportReason(samples);
    return kExitFailed;
  }
  // The curves as init would name them; a file that cannot be read again names none.
  CCurveProposal curves;
  if (!setup.headingsText.empty() && !ProposeCurvesFor(setup, CMnemonicDictionary::Program(), curves).Ok())
    curves = CCurveProposal();
  if (options.json) {
    out = InspectJson(options.path, proposal, &setup, curves);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return kExitDone;
  }
  out += "\nCurve Total: " + FormatInt(setup.CurveTotal()) + '\n';
  const int first = (std::max(options.firstColumn, 1) - 1) / kVisibleColumns * kVisibleColumns;
  if (first < setup.CurveTotal()) {
    out += "Digit Samples:\n";
    PrintSamples(out, setup, first);
  }
  if (curves.Proposed()) {
    out += '\n' + curves.account + '\n';
    int number = 0;
    for (const CProposedCurve& proposed : curves.curves) {
      const CCurveDef& curve = proposed.curve;
      std::string line = FormatInt(++number) + "  ";
      AppendPadded(line, curve.heading + "." + curve.units, 16);
      line += "  " + curve.description;
      TrimLineEnd(line);
      out += line + '\n';
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return kExitDone;
}

}  // namespace

void AddInspectCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CInspectOptions>();
  CLI::App* sub = app.add_subcommand(
      "inspect", "Propose the layout of an ASCII file and show the digit samples of its columns.");
  sub->add_option("FILE", options->path, "ASCII file")->required();
  sub->add_option("--first-data-line", options->firstDataLine,
                  "Lines before the first line of digits (0 = the first line); default: the proposal");
  sub->add_option("--delimiter", options->delimiter,
                  "\"space\", \"tab\" or the delimiter characters; default: the proposal");
  sub->add_option("--curve-total", options->curveTotal,
                  "User-defined curve total (0 = count on the first data line)")
      ->check(CLI::Range(std::numeric_limits<int>::min(), static_cast<int>(kMaxCurveTotal)));
  sub->add_option("--fixed-width", options->fixedWidth, "Fixed column width (0 = cut at delimiters)");
  sub->add_option("--skip-width", options->skipWidth, "Characters dropped at the start of every data line");
  sub->add_option("--first-column", options->firstColumn,
                  "Show the six columns from this one (1-based; taken down to 1, 7, 13, ...)")
      ->check(CLI::Validator(
          [](const std::string& text) {
            int value = 0;
            return CLI::detail::lexical_cast(text, value) && value >= 1 ? std::string()
                                                                        : std::string("must be 1 or more");
          },
          "N>=1"));
  sub->add_flag("--json", options->json,
                "One JSON document with the proposal, the headings and the samples of every column");
  options->readingFlags.AddTo(*sub);
  sub->footer(
      "Output: the proposal (\"First digit line index\", \"Delimiter(s)\", \"Columns\", \"Header lines\",\n"
      "line indices counted from 0, and \"Reading\": the reading choices the rows call for, or\n"
      "plain), or \"Layout: no proposal\" and on the line \"Why:\" the reason when the first 200 lines hold "
      "no\n"
      "block of numeric rows. Then, when a first data line is known (proposed or given): the\n"
      "proposed header lines, the curve total and six columns of digit samples side by side\n"
      "(at most 100 data lines; a missing value is an empty place), and the curves proposed\n"
      "from the header lines and the mnemonic dictionary (MNEMONIC.UNIT and description).\n"
      "With --json: {\"schema\": \"corvane-inspect/1\", \"path\", \"proposal\" (null, or \"firstDataLine\",\n"
      "\"delimiter\", \"columns\", \"headerLines\", \"reading\"), the \"firstDataLine\", \"delimiter\" and\n"
      "\"reading\" used (null without a first data line), \"headings\", \"curveTotal\", \"columns\"\n"
      "(every column's samples, --first-column aside), \"curves\" (null, or the curves as `init` names\n"
      "them: \"account\", \"indexColumn\", \"namesLine\", \"unitsLine\" and \"list\" of {\"mnemonic\",\n"
      "\"unit\", \"description\", \"name\", \"sourceUnit\", \"family\", \"inDictionary\"})}; nothing when\n"
      "the file cannot be read or ends\n"
      "before its data. \"reading\" is {\"decimalComma\", \"quotes\", \"emptyFields\", \"nullMarkers\",\n"
      "\"wholeCells\", \"digits\", \"dateTime\"}.\n"
      "Exit status: 0 shown (a file without a proposal included), 1 the file cannot be opened\n"
      "or ends before the first data line, 2 usage.\n"
      "\n"
      "Example:\n"
      "  corvane-cli inspect well.asc\n"
      "  corvane-cli inspect well.csv --first-data-line 3 --delimiter , --first-column 7");
  sub->callback([options, &run] { run = [options] { return RunInspect(*options); }; });
}

namespace {

// ---------------------------------------------------------------------------------
// unwrap

int RunUnwrap(const std::string& source, const std::string& target, const CCheckFlags& checkFlags) {
  CTerminalFeedback feedback;
  {
    CFile probe;
    if (const CResult opened = probe.OpenForReading(source, CFile::Lock::None); !opened.Ok()) {
      feedback.ShowError("Failed to open LAS file.", std::string(), opened.Reason());
      return kExitFailed;
    }
  }
  if (!IsWrappedLas(source)) {
    std::cerr << "corvane-cli: " << source
              << " is not a wrapped LAS file: its first three lines do not declare \"~V\", \"VERS.\" and "
                 "\"WRAP.\" with \"YES\".\n";
    return kExitFailed;
  }
  // The same text is the user's slip and gets the notice; the source under another name
  // (relative path, link) is refused by UnwrapLas as a failure to open, as in the wizard.
  if (source == target) {
    feedback.ShowNotice("Unwrap LAS file name cannot be the same as the original LAS file.");
    return kExitFailed;
  }
  CTerminalProgress::InstallInterruptHandler();
  CTerminalProgress progress;
  std::string inPlaceNote;
  const CResult result = UnwrapLas(source, target, progress, &inPlaceNote);
  switch (result.GetStatus()) {
    case CResult::Status::Done:
      if (!inPlaceNote.empty()) feedback.ShowNotice(inPlaceNote);
      return CheckWrittenLas(target, checkFlags);
    case CResult::Status::Failed:
      feedback.ShowError("Failed to open LAS file.", std::string(), result.Reason());
      return kExitFailed;
    case CResult::Status::Cancelled:
      std::cerr << "corvane-cli: unwrapping cancelled; " << target << " is as it was before the run.\n";
      return kExitFailed;
    case CResult::Status::Incomplete:
      std::cerr << "corvane-cli: unwrapping ended early: " << result.Reason() << "; " << target
                << " is as it was before the run.\n";
      return kExitFailed;
  }
  return kExitFailed;
}

}  // namespace

void AddUnwrapCommand(CLI::App& app, CommandRunner& run) {
  auto paths = std::make_shared<std::pair<std::string, std::string>>();
  CLI::App* sub =
      app.add_subcommand("unwrap", "Write an unwrapped copy (one line per depth) of a wrapped LAS file.");
  sub->add_option("WRAPPED", paths->first, "Wrapped LAS file (its third line declares WRAP. YES)")
      ->required();
  sub->add_option("OUT", paths->second, "Unwrapped copy to write (replaced when it exists)")->required();
  auto checkFlags = std::make_shared<CCheckFlags>();
  AddCheckFlags(*sub, *checkFlags);
  sub->footer(
      "The copy keeps every line of the source up to the data, with \" WRAP.                  NO :\n"
      "One line per depth\" as its third line, then one line per depth of as many values as\n"
      "the curve section counts curves. Line ends are CR LF. The copy takes the place of OUT\n"
      "only when it is complete: after Ctrl-C, a failure or an early end OUT is as it was.\n"
      "Exit status: 0 done; 1 not a wrapped LAS file, target is the source, failed, cancelled\n"
      "or ended early (the reason on stderr); 2 usage.\n"
      "\n"
      "Example:\n"
      "  corvane-cli unwrap wrapped.las unwrapped.las");
  sub->callback([paths, checkFlags, &run] {
    run = [paths, checkFlags] { return RunUnwrap(paths->first, paths->second, *checkFlags); };
  });
}

}  // namespace corvane::cli
