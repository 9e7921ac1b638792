#include "cli/FileConversion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ascii/DigitSamples.h"
#include "ascii/LayoutDetector.h"
#include "platform/NumberFormat.h"

namespace corvane::cli {

void CJobMessages::ShowError(const std::string& text, const std::string&, const std::string& detail) {
  if (!m_message.empty()) return;
  m_message = text;
  m_detail = detail;
}

std::optional<CFirstDataLine> CFirstDataLine::Parse(std::string_view text) {
  CFirstDataLine line;
  if (text == "auto") {
    line.detect = true;
    return line;
  }
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos ||
      !ScanInt(text, line.index) || line.index < 0)
    return std::nullopt;
  return line;
}

std::optional<CFirstDataLine> CFirstDataLine::Choose(std::string_view text, bool given, std::int32_t stored) {
  if (given) return Parse(text);
  CFirstDataLine line;
  line.detect = stored < 0;
  line.index = std::max<std::int32_t>(stored, 0);
  return line;
}

std::string FirstDataLineUsage(std::string_view text) {
  return "--first-data-line: expected a line number (0 or more) or \"auto\", got \"" + std::string(text) +
         "\"";
}

CResult ChooseFirstDataLine(CConversionSetup& setup, const CFirstDataLine& line, CRunFeedback& feedback) {
  if (!line.detect) {
    setup.firstDigitLineIndex = line.index;
    return CResult::Done();
  }
  std::vector<std::string> lines;
  CResult detected = ReadDetectionLines(setup.asciiFilePath, lines);
  const std::optional<CLayoutProposal> proposal =
      detected.Ok() ? DetectLayoutInLines(lines) : std::optional<CLayoutProposal>();
  if (!detected.Ok()) {
    feedback.ShowError("Failed to open ASCII file.", std::string(), detected.Reason());
    return detected;
  }
  if (!proposal) {
    // The detection's own reason ("no line of the first 200 is a row of numbers."),
    // without its full stop.
    std::string why = ExplainNoLayout(lines);
    if (!why.empty() && why.back() == '.') why.pop_back();
    return CResult::Incomplete("No layout proposal for " + setup.asciiFilePath + ": " + why +
                               "; give --first-data-line N.");
  }
  setup.firstDigitLineIndex = proposal->firstDigitLineIndex;
  return CResult::Done();
}

CResult ConvertAsciiFile(CConversionSetup& setup, bool inverse, CJobProgress& progress,
                         CRunFeedback& feedback, const CSaveOperation& save, CLasCreationFacts* facts) {
  if (CResult samples = CollectDigitSamples(setup, feedback); !samples.Ok()) return samples;
  return CreateLas(setup, inverse, SplitTextLines(setup.otherHeaderText), progress, feedback, save, facts);
}

}  // namespace corvane::cli
