#include "lasfile/LasWellItems.h"

#include <algorithm>

#include "lasfile/LasHeaderLine.h"
#include "platform/AsciiText.h"

namespace corvane {

const std::vector<CRequiredWellItem>& RequiredWellItems() {
  static const std::vector<CRequiredWellItem> items = {
      {"STRT", "START DEPTH", "the first index value", {}},
      {"STOP", "STOP DEPTH", "the last index value", {}},
      {"STEP", "STEP", "the index spacing", {}},
      {"NULL", "NULL VALUE", "the null value", {}},
      {"COMP", "COMPANY", "the company", {}},
      {"WELL", "WELL", "the well name", {}},
      {"FLD", "FIELD", "the field", {}},
      {"LOC", "LOCATION", "the location", {}},
      {"PROV", "PROVINCE", "the province", {"CNTY", "STAT", "CTRY"}},
      {"SRVC", "SERVICE COMPANY", "the logging company", {}},
      {"DATE", "DATE", "the date logged", {}},
      {"UWI", "UNIQUE WELL ID", "the unique well identifier", {"API"}},
  };
  return items;
}

bool SatisfiesWellItem(const CRequiredWellItem& item, std::string_view upperMnemonic) noexcept {
  if (upperMnemonic == item.mnemonic) return true;
  return std::any_of(item.standIns.begin(), item.standIns.end(),
                     [&](std::string_view standIn) { return !standIn.empty() && upperMnemonic == standIn; });
}

namespace {

struct CWellLine {
  std::string mnemonic;  // in upper case
  bool valued = false;
};

// The items of a ~W section as a LAS reader takes them: comments and blank lines hold
// none, nor does a line without a dot; a later line that starts with "~" ends it.
std::vector<CWellLine> WellLines(const std::vector<std::string>& sectionLines) {
  std::vector<CWellLine> lines;
  for (std::size_t i = 0; i < sectionLines.size(); ++i) {
    const std::string& line = sectionLines[i];
    const std::string_view content = TrimBlanks(line);
    if (!content.empty() && content.front() == '~' && i > 0) break;  // the next section begins
    if (content.empty() || content.front() == '~' || content.front() == '#') continue;
    const CLasHeaderLine item = ParseLasHeaderLine(line);
    if (!item.HasDot() || item.mnemonic.empty()) continue;
    lines.push_back({ToUpperAscii(item.mnemonic), !TrimBlanks(item.value).empty()});
  }
  return lines;
}

}  // namespace

bool IsNumericWellItem(const CRequiredWellItem& item) noexcept {
  return item.mnemonic == "STRT" || item.mnemonic == "STOP" || item.mnemonic == "STEP" ||
         item.mnemonic == "NULL";
}

std::vector<const CRequiredWellItem*> MissingWellItems(const std::vector<std::string>& sectionLines) {
  const std::vector<CWellLine> lines = WellLines(sectionLines);
  std::vector<const CRequiredWellItem*> missing;
  for (const CRequiredWellItem& item : RequiredWellItems()) {
    const bool held = std::any_of(lines.begin(), lines.end(), [&](const CWellLine& line) {
      return SatisfiesWellItem(item, line.mnemonic);
    });
    if (!held) missing.push_back(&item);
  }
  return missing;
}

std::vector<const CRequiredWellItem*> EmptyWellItems(const std::vector<std::string>& sectionLines) {
  const std::vector<CWellLine> lines = WellLines(sectionLines);
  std::vector<const CRequiredWellItem*> empty;
  for (const CRequiredWellItem& item : RequiredWellItems()) {
    if (IsNumericWellItem(item)) continue;
    bool held = false;
    bool valued = false;
    for (const CWellLine& line : lines) {
      if (!SatisfiesWellItem(item, line.mnemonic)) continue;
      held = true;
      valued = valued || line.valued;
    }
    if (held && !valued) empty.push_back(&item);
  }
  return empty;
}

}  // namespace corvane
