#pragma once
// Proposes the layout of an ASCII well-log file from its first lines: where the
// rows of numbers begin, how they are delimited, how many columns they hold, and
// which lines just above them name the curves and their units.
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace corvane {

struct CLayoutProposal {
  int firstDigitLineIndex = 0;  // lines before the first row of numbers
  std::string delimiterText;    // "space", "tab", "," or ";"
  int columnCount = 0;
  std::vector<int> headerLines;  // lines holding curve names and units, ascending
};

// How many lines of a file the detection looks at.
inline constexpr int kDetectionLines = 200;

// The proposal for the given lines (whole lines, line ends removed or kept), or none
// when they hold no steady block of numeric rows.
std::optional<CLayoutProposal> DetectLayoutInLines(const std::vector<std::string>& lines);

// The first kDetectionLines lines of a file as the detection looks at them (line ends
// removed, at most the first 64 KiB of each line).
CResult ReadDetectionLines(const std::string& path, std::vector<std::string>& lines);

// The proposal for the first kDetectionLines lines of a file. Fails when the file
// cannot be opened or read.
CResult DetectLayout(const std::string& path, std::optional<CLayoutProposal>& proposal);

}  // namespace corvane
