#pragma once
// Proposes the layout of an ASCII well-log file from its first lines: where the
// rows of numbers begin, how they are delimited, how many columns they hold, which
// lines just above them name the curves and their units, and the reading choices the
// rows call for (decimal commas, quoted fields, empty fields, null markers, a column
// of date-times, digits that four decimals would lose).
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

struct CLayoutProposal {
  int firstDigitLineIndex = 0;  // lines before the first row of numbers
  std::string delimiterText;    // "space", "tab", "," or ";"
  int columnCount = 0;
  std::vector<int> headerLines;  // lines holding curve names and units, ascending
  CReadingOptions reading;       // the reading choices the rows call for; all off when none
  std::vector<int> textColumns;  // columns (from 0) of text, such as well names or formations
};

// The reading choices that are on, for a line of text: "decimal commas, quoted fields,
// empty fields, null markers NaN|-999, date-times in column 1, the source's digits";
// empty when every one is off.
std::string DescribeReading(const CReadingOptions& reading);

// What a proposal says, for a line of text: "9 columns cut at spaces, data from line 6",
// then the columns of text ("columns 1 and 4 hold text") and the reading choices, if any.
// Lines and columns are counted from 1.
std::string DescribeLayout(const CLayoutProposal& proposal);

// Why the lines hold no proposal, a sentence for the user: "the file is empty.", "no
// line of the first 200 is a row of numbers.", readings that run together, rows that
// change their width, too few rows.
std::string ExplainNoLayout(const std::vector<std::string>& lines);

// The marks of Step 2 for a layout that is chosen already (a loaded configuration):
// the first data line (the layout's stored one, else the detection's) and the heading
// lines just above it, cut by the layout. firstDigitLineIndex is -1 when neither is
// known (or the stored line lies beyond `lines`).
struct CMarksProposal {
  int firstDigitLineIndex = -1;
  std::vector<int> headerLines;
  bool stored = false;  // the first data line is the layout's stored one
};
CMarksProposal ProposeMarks(const std::vector<std::string>& lines, const CConversionSetup& layout);

// How many lines of a file the detection looks at.
inline constexpr int kDetectionLines = 200;

// The proposal for the given lines (whole lines, line ends removed or kept), or none
// when they hold no steady block of numeric rows.
std::optional<CLayoutProposal> DetectLayoutInLines(const std::vector<std::string>& lines);

// The first kDetectionLines lines of a file as the detection looks at them (line ends
// removed, at most the first 64 KiB of each line).
CResult ReadDetectionLines(const std::string& path, std::vector<std::string>& lines);

// The reading choices of `proposal` made again from the data lines of the file (up to
// 20000 lines or 4 MiB of them), cut as the proposal cuts them: null markers, empty
// fields and the like often first appear far below the lines a preview shows.
CResult ProposeReadingFromFile(const std::string& path, CLayoutProposal& proposal);

// The proposal for the first kDetectionLines lines of a file, its reading choices
// from the data lines further down (ProposeReadingFromFile). Fails when the file
// cannot be opened or read.
CResult DetectLayout(const std::string& path, std::optional<CLayoutProposal>& proposal);

}  // namespace corvane
