#include "ascii/ConfigurationProposal.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "ascii/ColumnSplitter.h"
#include "ascii/DigitSamples.h"
#include "ascii/TextProbe.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"
#include "setup/Configuration.h"

namespace corvane {
namespace {

// The gathering of the samples tells its failures in its result; nothing is shown.
class CQuietFeedback : public CRunFeedback {
 public:
  void ShowError(const std::string&, const std::string&, const std::string&) override {}
  void ShowNotice(const std::string&) override {}
  void BeginBusy() override {}
  void EndBusy() override {}
};

// NAME.las beside the ASCII file, as Step 4 proposes it.
std::string LasBeside(const std::string& asciiPath) {
  std::filesystem::path las(asciiPath);
  las.replace_extension(".las");
  return las.string();
}

// The values of a column's digit samples, in their order; none when one is no number.
std::optional<std::vector<double>> SampleNumbers(const std::string& sample) {
  std::vector<double> values;
  for (const std::string& text : SplitTextLines(sample)) {
    if (text.empty()) continue;
    double value = 0;
    if (!ScanDouble(text, value)) return std::nullopt;
    values.push_back(value);
  }
  return values;
}

// Readings that only grow, or only fall: a depth (or time) column.
bool IsMonotone(const std::vector<double>& values) {
  if (values.size() < 2) return false;
  const bool rising = values[1] > values[0];
  for (std::size_t i = 1; i < values.size(); ++i)
    if (values[i] == values[i - 1] || (values[i] > values[i - 1]) != rising) return false;
  return true;
}

// "1", "1 and 4", "1, 4 and 5": columns counted from 1.
std::string ColumnList(const std::vector<int>& columns) {
  std::string text;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) text += i + 1 == columns.size() ? " and " : ", ";
    text += FormatInt(columns[i] + 1);
  }
  return text;
}

// Curves for a file that names none: COL1, COL2, ..., the first column DEPT when its
// readings only grow or only fall, as a depth column's do.
void NameUnnamedColumns(CConfigurationProposal& proposal) {
  CConversionSetup& setup = proposal.setup;
  const int total = setup.CurveTotal();
  const auto first = total > 0 ? SampleNumbers(setup.digitSamples.front()) : std::nullopt;
  const bool index = first && IsMonotone(*first);
  for (int k = 0; k < total; ++k) {
    CCurveDef& curve = setup.curves[static_cast<std::size_t>(k)];
    curve = CCurveDef();
    curve.heading = k == 0 && index ? "DEPT" : "COL" + FormatInt(k + 1);
    if (k == 0 && index) curve.units = std::string(kAssumedIndexUnit);
    curve.description = "Column " + FormatInt(k + 1) + ", not named in the file";
  }
  proposal.account.push_back("Curves: the file names none: " + FormatInt(total) +
                             (total == 1 ? " column" : " columns") + " named COL1" +
                             (total > 1 ? " to COL" + FormatInt(total) : std::string()) +
                             (index ? "; column 1 only grows or falls: taken as DEPT, the index, in M as the "
                                      "LAS header says (F if in feet)"
                                    : "; no column taken as the index: name the depth column DEPT by hand"));
}

}  // namespace

CResult ProposeConfiguration(const std::string& asciiPath, const std::string& configPath,
                             const std::string& lasPath, const CFixedChoices& fixed,
                             const CMnemonicDictionary& dictionary, CConfigurationProposal& proposal) {
  proposal = CConfigurationProposal();
  CConversionSetup& setup = proposal.setup;
  setup.asciiFilePath = asciiPath;
  setup.configFilePath = configPath;
  setup.lasFilePath = lasPath.empty() ? LasBeside(asciiPath) : lasPath;

  std::vector<std::string> lines;
  if (CResult read = ReadDetectionLines(asciiPath, lines); !read.Ok()) return read;
  CTextProbe probe;
  if (CResult probed = ProbeTextFile(asciiPath, probe); !probed.Ok()) return probed;
  if (!probe.text) return CResult::Failed(asciiPath + ": not a text file: " + probe.reason, EINVAL);

  proposal.layout = DetectLayoutInLines(lines);
  if (proposal.layout) {
    if (CResult read = ProposeReadingFromFile(asciiPath, *proposal.layout); !read.Ok()) return read;
  }
  const std::optional<CLayoutProposal>& layout = proposal.layout;
  if (!fixed.firstDataLine && !layout)
    return CResult::Incomplete("No layout proposal for " + asciiPath + ": " + ExplainNoLayout(lines));

  setup.firstDigitLineIndex = fixed.firstDataLine ? *fixed.firstDataLine : layout->firstDigitLineIndex;
  setup.storedFirstDataLine = setup.firstDigitLineIndex;
  setup.delimiterText = fixed.delimiterText ? *fixed.delimiterText : layout ? layout->delimiterText : "space";
  setup.fixedWidth = fixed.fixedWidth.value_or(0);
  setup.skipWidth = fixed.skipWidth.value_or(0);
  setup.userCurveTotal = fixed.curveTotal.value_or(0);
  if (fixed.nullValue) setup.nullValue = *fixed.nullValue;
  // The proposal's reading choices and columns of text hold for the cut it proposed;
  // under another cut they are proposed again from the rows.
  const bool proposedCut = layout && setup.delimiterText == layout->delimiterText && setup.fixedWidth <= 0 &&
                           setup.skipWidth <= 0 && !fixed.reading.ChangesTheCut();
  if (proposedCut) {
    setup.reading = layout->reading;
  } else if (setup.fixedWidth <= 0) {
    CLayoutProposal cut;
    cut.firstDigitLineIndex = setup.firstDigitLineIndex;
    cut.delimiterText = setup.delimiterText;
    cut.reading.emptyFields = fixed.reading.emptyFields.value_or(false);
    CColumnList row;
    if (static_cast<std::size_t>(setup.firstDigitLineIndex) < lines.size()) {
      CConversionSetup cutSetup = setup;
      cutSetup.reading = cut.reading;
      SplitColumns(lines[static_cast<std::size_t>(setup.firstDigitLineIndex)], row, CSplitRules::Of(cutSetup),
                   -1, "");
    }
    cut.columnCount = static_cast<int>(row.size());
    if (CResult read = ProposeReadingFromFile(asciiPath, cut); !read.Ok()) return read;
    setup.reading = cut.reading;
  }
  fixed.reading.ApplyTo(setup.reading);

  CQuietFeedback quiet;
  if (CResult samples = CollectDigitSamples(setup, quiet); !samples.Ok()) return samples;
  if (setup.CurveTotal() == 0)
    return CResult::Failed(
        asciiPath + ": line " + FormatInt(setup.firstDigitLineIndex + 1) + " holds no columns to convert",
        EINVAL);

  // The heading lines above the first data line, cut by the layout chosen.
  CConversionSetup marked = setup;
  marked.storedFirstDataLine = setup.firstDigitLineIndex;
  for (const int line : ProposeMarks(lines, marked).headerLines) {
    setup.headingsText += lines[static_cast<std::size_t>(line)] + "\r\n";
    setup.headingLines.push_back(line);
  }

  CLayoutProposal used;
  used.firstDigitLineIndex = setup.firstDigitLineIndex;
  used.delimiterText = setup.delimiterText;
  used.columnCount = setup.CurveTotal();
  used.reading = setup.reading;
  if (proposedCut) used.textColumns = layout->textColumns;
  proposal.account.push_back("Layout: " + DescribeLayout(used) +
                             (setup.fixedWidth > 0 ? ", fixed width " + FormatInt(setup.fixedWidth) : "") +
                             (setup.skipWidth > 0 ? ", skip width " + FormatInt(setup.skipWidth) : ""));

  if (CResult named = ProposeCurvesFor(setup, dictionary, proposal.curves); !named.Ok()) return named;
  if (proposal.curves.Proposed()) {
    setup.curves = proposal.curves.CurveDefs();
    proposal.account.push_back("Curves: " + proposal.curves.account);
  } else {
    NameUnnamedColumns(proposal);
  }

  // A column of well names or formations holds no readings: it is not written, rather
  // than written as a column of null values (or of the numbers its names begin with).
  for (const int column : used.textColumns) {
    if (column >= setup.CurveTotal() || column + 1 == setup.reading.dateTimeColumn) continue;
    proposal.unwrittenColumns.push_back(column);
    CCurveDef& curve = setup.curves[static_cast<std::size_t>(column)];
    if (curve.description.empty()) curve.description = curve.heading;
    curve.heading.clear();
  }
  if (!proposal.unwrittenColumns.empty()) {
    const bool one = proposal.unwrittenColumns.size() == 1;
    proposal.account.push_back(std::string("Not written: ") + (one ? "column " : "columns ") +
                               ColumnList(proposal.unwrittenColumns) + (one ? " holds" : " hold") +
                               " text, not readings (give a heading to write it)");
  }
  return CResult::Done();
}

CResult CreateConfiguration(const std::string& asciiPath, const std::string& configPath,
                            const std::string& lasPath, const CFixedChoices& fixed, bool overwrite,
                            const CMnemonicDictionary& dictionary, CConfigurationProposal& proposal) {
  proposal = CConfigurationProposal();
  CConversionSetup files;
  files.asciiFilePath = asciiPath;
  files.configFilePath = configPath;
  files.lasFilePath = lasPath.empty() ? LasBeside(asciiPath) : lasPath;
  if (SameFileOrPath(files.asciiFilePath, files.lasFilePath))
    return CResult::Failed(kSameAsciiAndLasMessage, EINVAL);
  if (ConfigurationIsDataFile(files)) return CResult::Failed(kConfigurationIsDataFileMessage, EINVAL);
  // Refused before any work; the write refuses a file made meanwhile as well.
  struct stat info {};
  if (!overwrite && ::lstat(configPath.c_str(), &info) == 0) return CResult::SystemError(configPath, EEXIST);

  if (CResult proposed = ProposeConfiguration(asciiPath, configPath, lasPath, fixed, dictionary, proposal);
      !proposed.Ok())
    return proposed;
  return WriteNewConfiguration(proposal.setup, overwrite);
}

}  // namespace corvane
