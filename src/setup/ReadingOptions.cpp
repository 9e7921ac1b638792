#include "setup/ReadingOptions.h"

#include "platform/AsciiText.h"

namespace corvane {

bool CReadingOptions::IsDefault() const noexcept { return *this == CReadingOptions(); }

void CReadingChoices::ApplyTo(CReadingOptions& reading) const {
  if (decimalComma) reading.decimalComma = *decimalComma;
  if (quotes) reading.quotes = *quotes;
  if (emptyFields) reading.emptyFields = *emptyFields;
  if (nullMarkers) reading.nullMarkers = *nullMarkers;
  if (wholeCells) reading.wholeCells = *wholeCells;
  if (digits) reading.digits = *digits;
  if (dateTimeColumn) reading.dateTimeColumn = *dateTimeColumn;
}

std::vector<std::string> ParseNullMarkers(std::string_view text) {
  std::vector<std::string> markers;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('|', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view marker = TrimCSpace(text.substr(start, end - start));
    if (!marker.empty()) markers.emplace_back(marker);
    start = end + 1;
  }
  return markers;
}

std::string JoinNullMarkers(const std::vector<std::string>& markers) {
  std::string text;
  for (const std::string& marker : markers) {
    if (!text.empty()) text.push_back('|');
    text.append(marker);
  }
  return text;
}

std::string_view DigitsName(DigitsKept digits) noexcept {
  return digits == DigitsKept::Source ? "source" : "4";
}

bool ParseDigits(std::string_view text, DigitsKept& digits) noexcept {
  text = TrimCSpace(text);
  if (text == "4") {
    digits = DigitsKept::Four;
    return true;
  }
  if (EqualNoCase(text, "source")) {
    digits = DigitsKept::Source;
    return true;
  }
  return false;
}

}  // namespace corvane
