#pragma once
// The first lines of an ASCII file as Step 2 shows them, the ruler that heads the
// digits view, and the turning of marks and layout boxes into setup fields.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/JobProgress.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// Refusal of a User-Defined Curve Total above kMaxCurveTotal.
inline constexpr const char* kCurveTotalTooLarge = "Enter a curve total of at most 100000.";

class CAsciiPreview {
 public:
  static constexpr int kMaxLines = 100;
  static constexpr std::size_t kMaxShown = 64 * 1024;  // bytes of one line shown

  // Replaces the preview. An empty path gives an empty preview without a message;
  // a file that cannot be opened or read reports "Failed to open ASCII file." through
  // `feedback`, the path and the system's reason as its detail, and returns false.
  bool Load(const std::string& path, CRunFeedback& feedback);

  const std::vector<std::string>& Lines() const { return m_lines; }
  std::int32_t Longest() const { return m_longest; }
  const std::string& Ruler() const { return m_ruler; }
  bool HasRulerRow() const { return m_hasRuler; }
  // The header rows are the lines; the digit rows are the ruler (when there is a
  // ruler row) followed by the lines.
  std::vector<std::string> DigitRows() const;

  // Writes the headings text and the first digit line index. `digitRow` is the
  // marked digit row or -1. Returns the refusal message when refused.
  static std::optional<std::string> RecordMarking(const std::vector<int>& markedHeaderRows, int digitRow,
                                                  const std::vector<std::string>& headerRows,
                                                  CConversionSetup& setup);

  // The five layout values in the order of the boxes: null value, delimiter text,
  // user-defined curve total, fixed width, skip width.
  struct CLayoutValues {
    double nullValue = 0;
    std::string delimiterText;
    std::int32_t userCurveTotal = 0;
    std::int32_t fixedWidth = 0;
    std::int32_t skipWidth = 0;
  };
  enum class LayoutBox { NullValue, Delimiter, CurveTotal, FixedWidth, SkipWidth };
  struct CLayoutTexts {
    std::string nullValue, delimiterText, userCurveTotal, fixedWidth, skipWidth;
  };
  struct CLayoutError {
    LayoutBox box;
    std::string message;  // "Enter a number." or "Enter an integer."
    std::string detail;   // why, when the message alone does not say it
  };
  static CLayoutTexts FormatLayout(const CLayoutValues& values);
  // All five values, or the first box that does not parse with its message. A null
  // value beyond the range of numbers ("1e309") is refused as no number, the detail
  // naming it.
  static std::optional<CLayoutError> ParseLayout(const CLayoutTexts& texts, CLayoutValues& values);

 private:
  std::vector<std::string> m_lines;
  std::int32_t m_longest = 0;
  std::string m_ruler;
  bool m_hasRuler = false;
};

}  // namespace corvane
