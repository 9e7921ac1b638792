#include "ascii/DigitSamples.h"

#include <algorithm>

#include "ascii/AsciiPreview.h"
#include "ascii/ColumnSplitter.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane {

namespace {
constexpr int kMaxSampledLines = 100;
constexpr std::string_view kSampleSuffix = "\r\n";
}  // namespace

std::string NoDataLineReason(const std::string& path, int firstDataLine, int lines) {
  return "No data line at line " + FormatInt(firstDataLine) + " of " + path + ": the file has " +
         FormatInt(lines) + " lines.";
}

CResult CollectDigitSamples(CConversionSetup& setup, CRunFeedback& feedback) {
  setup.digitSamples.clear();
  if (setup.asciiFilePath.empty()) return CResult::Failed("no ASCII file named");

  CTextReader reader;
  try {
    reader.Open(setup.asciiFilePath, true);
  } catch (const CFileError& error) {
    feedback.ShowError("Failed to open ASCII file.", std::string(), error.Result().Reason());
    return error.Result();
  }
  try {
    // Header lines are skipped exactly as the conversion skips them, so that a line
    // it refuses as overlong is refused here too.
    std::string_view line;
    for (std::int32_t i = 0; i < setup.firstDigitLineIndex; ++i) {
      if (!reader.NextLine(line))
        return CResult::Failed(NoDataLineReason(setup.asciiFilePath, setup.firstDigitLineIndex, i));
    }

    int columnLimit = setup.userCurveTotal >= 1 ? setup.userCurveTotal : -1;
    const CSplitRules rules = CSplitRules::Of(setup);
    for (int n = 0; n < kMaxSampledLines && reader.NextLine(line); ++n) {
      // Counting stops one past the largest total, so that a line of a million
      // delimiters is refused without a million columns in memory.
      SplitColumns(line, setup.digitSamples, rules, columnLimit, kSampleSuffix,
                   static_cast<std::size_t>(kMaxCurveTotal) + 1);
      if (setup.digitSamples.size() > static_cast<std::size_t>(kMaxCurveTotal)) {
        setup.digitSamples.clear();
        feedback.ShowNotice(kCurveTotalTooLarge);
        return CResult::Failed(setup.asciiFilePath + ": the first data line holds more than 100000 columns");
      }
      // Every later line is cut into as many columns as the first one gave.
      if (n == 0) columnLimit = static_cast<int>(setup.digitSamples.size());
    }
    reader.Close();

    // The curve list grows to the curve total but keeps the entries of a wider layout.
    if (setup.curves.size() < setup.digitSamples.size()) setup.curves.resize(setup.digitSamples.size());
    // When the file ends right at the first digit line there are no columns: the
    // curve total shown is then that of the (empty) sample list, 0.
    return CResult::Done();
  } catch (const CFileError& error) {
    reader.Close();
    feedback.ShowError("Failed to open ASCII file.", std::string(), error.Result().Reason());
    return error.Result();
  }
}

}  // namespace corvane
