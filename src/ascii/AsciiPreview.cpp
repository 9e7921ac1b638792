#include "ascii/AsciiPreview.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane {

namespace {

constexpr const char* kOpenFailed = "Failed to open ASCII file.";
constexpr const char* kRulerStep = "1234567890";
constexpr std::size_t kRulerStepLength = 10;
// Only this much of a layout box is read, as the boxes of the page hold no more.
constexpr std::size_t kNullTextRead = 399;
constexpr std::size_t kIntegerTextRead = 63;

// The ruler covers the longest line, line feed included, in whole steps of ten, but
// never runs further than the shown part of a line can reach.
std::string BuildRuler(std::int32_t longest) {
  constexpr std::size_t kLimit = (CAsciiPreview::kMaxShown + 10) / kRulerStepLength * kRulerStepLength;
  std::string ruler;
  for (std::size_t step = 0; step < static_cast<std::size_t>(std::max<std::int32_t>(longest, 0)) &&
                             step + kRulerStepLength <= kLimit;
       step += kRulerStepLength)
    ruler += kRulerStep;
  return ruler;
}

}  // namespace

bool CAsciiPreview::Load(const std::string& path, CRunFeedback& feedback) {
  m_lines.clear();
  m_longest = 0;
  m_ruler.clear();
  m_hasRuler = false;
  if (path.empty()) return true;

  CTextReader reader;
  try {
    reader.Open(path, true);
  } catch (const CFileError& error) {
    // The path and the system's reason go with the message.
    feedback.ShowError(kOpenFailed, std::string(), error.Result().Reason());
    return false;
  }
  try {
    std::string line;
    std::uint64_t fullLength = 0;
    // A line longer than the shown part keeps its head only; the rest is skipped
    // so that it never turns up as further preview lines.
    while (static_cast<int>(m_lines.size()) < kMaxLines &&
           reader.ReadLinePrefix(line, kMaxShown, fullLength)) {
      const auto length = static_cast<std::int32_t>(
          std::min<std::uint64_t>(fullLength, std::numeric_limits<std::int32_t>::max()));
      m_longest = std::max(m_longest, length);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      m_lines.push_back(line);
    }
  } catch (const CFileError& error) {
    // What was read stays, without a ruler row in front of it.
    reader.Close();
    feedback.ShowError(kOpenFailed, std::string(), error.Result().Reason());
    return false;
  }
  reader.Close();
  m_ruler = BuildRuler(m_longest);
  m_hasRuler = true;
  return true;
}

std::vector<std::string> CAsciiPreview::DigitRows() const {
  std::vector<std::string> rows;
  rows.reserve(m_lines.size() + 1);
  if (m_hasRuler) rows.push_back(m_ruler);
  rows.insert(rows.end(), m_lines.begin(), m_lines.end());
  return rows;
}

std::optional<std::string> CAsciiPreview::RecordMarking(const std::vector<int>& markedHeaderRows,
                                                        int digitRow,
                                                        const std::vector<std::string>& headerRows,
                                                        CConversionSetup& setup) {
  std::vector<int> marked = markedHeaderRows;
  std::sort(marked.begin(), marked.end());
  marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
  // The headings are rebuilt from the current marks even when the digit row is refused.
  setup.headingsText.clear();
  setup.headingLines.clear();
  for (int row : marked) {
    if (row < 0 || row >= static_cast<int>(headerRows.size())) continue;
    setup.headingsText += headerRows[static_cast<std::size_t>(row)];
    setup.headingsText += "\r\n";
    setup.headingLines.push_back(row);
  }
  if (digitRow <= 0) {
    setup.firstDigitLineIndex = digitRow < 0 ? -1 : 0;
    return std::string(
        "You must indicate the line at which the curve digits start. The line indicator cannot be the ruler "
        "line.");
  }
  setup.firstDigitLineIndex = digitRow - 1;
  return std::nullopt;
}

CAsciiPreview::CLayoutTexts CAsciiPreview::FormatLayout(const CLayoutValues& values) {
  CLayoutTexts texts;
  texts.nullValue = FormatGeneral15(values.nullValue);
  texts.delimiterText = values.delimiterText;
  texts.userCurveTotal = FormatInt(values.userCurveTotal);
  texts.fixedWidth = FormatInt(values.fixedWidth);
  texts.skipWidth = FormatInt(values.skipWidth);
  return texts;
}

std::optional<CAsciiPreview::CLayoutError> CAsciiPreview::ParseLayout(const CLayoutTexts& texts,
                                                                      CLayoutValues& values) {
  auto head = [](const std::string& text, std::size_t count) {
    return std::string_view(text).substr(0, std::min(count, text.size()));
  };
  CLayoutValues taken;
  // A value beyond the range of numbers: typed ("1e309"), or a configuration's, which
  // the box shows as "inf".
  const std::string_view nullText = head(texts.nullValue, kNullTextRead);
  const std::string_view shown = TrimCSpace(nullText);
  const bool infinite = EqualNoCase(shown, "inf") || EqualNoCase(shown, "-inf") || EqualNoCase(shown, "nan");
  if (infinite || (ScanDouble(nullText, taken.nullValue) && !std::isfinite(taken.nullValue)))
    return CLayoutError{
        LayoutBox::NullValue, "Enter a number.",
        "\"" + std::string(nullText) +
            "\" is beyond the range of numbers (about 1.8e308) and cannot stand for a missing "
            "reading."};
  if (!ScanDouble(nullText, taken.nullValue))
    return CLayoutError{LayoutBox::NullValue, "Enter a number.", {}};
  taken.delimiterText = texts.delimiterText;
  if (!ScanInt(head(texts.userCurveTotal, kIntegerTextRead), taken.userCurveTotal))
    return CLayoutError{LayoutBox::CurveTotal, "Enter an integer.", {}};
  if (taken.userCurveTotal > kMaxCurveTotal)
    return CLayoutError{LayoutBox::CurveTotal, kCurveTotalTooLarge, {}};
  if (!ScanInt(head(texts.fixedWidth, kIntegerTextRead), taken.fixedWidth))
    return CLayoutError{LayoutBox::FixedWidth, "Enter an integer.", {}};
  if (!ScanInt(head(texts.skipWidth, kIntegerTextRead), taken.skipWidth))
    return CLayoutError{LayoutBox::SkipWidth, "Enter an integer.", {}};
  // The five values are taken together or not at all.
  values = std::move(taken);
  return std::nullopt;
}

}  // namespace corvane
