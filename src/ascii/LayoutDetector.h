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
#include "setup/ReadingOptions.h"

namespace corvane {

struct CLayoutProposal {
  int firstDigitLineIndex = 0;  // lines before the first row of numbers
  std::string delimiterText;    // "space", "tab", "," or ";"
  int columnCount = 0;
  std::vector<int> headerLines;  // lines holding curve names and units, ascending
  CReadingOptions reading;       // the reading choices the rows call for; all off when none
};

// The reading choices that are on, for a line of text: "decimal commas, quoted fields,
// empty fields, null markers NaN|-999, date-times in column 1, the source's digits";
// empty when every one is off.
std::string DescribeReading(const CReadingOptions& reading);

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
