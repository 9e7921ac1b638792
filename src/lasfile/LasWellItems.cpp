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

std::vector<const CRequiredWellItem*> MissingWellItems(const std::vector<std::string>& sectionLines) {
  std::vector<std::string> mnemonics;
  for (std::size_t i = 0; i < sectionLines.size(); ++i) {
    const std::string& line = sectionLines[i];
    const std::string_view content = TrimBlanks(line);
    if (!content.empty() && content.front() == '~' && i > 0) break;  // the next section begins
    if (content.empty() || content.front() == '~' || content.front() == '#') continue;
    const CLasHeaderLine item = ParseLasHeaderLine(line);
    if (!item.HasDot() || item.mnemonic.empty()) continue;
    mnemonics.push_back(ToUpperAscii(item.mnemonic));
  }
  std::vector<const CRequiredWellItem*> missing;
  for (const CRequiredWellItem& item : RequiredWellItems()) {
    const bool held = std::any_of(mnemonics.begin(), mnemonics.end(), [&](const std::string& mnemonic) {
      return SatisfiesWellItem(item, mnemonic);
    });
    if (!held) missing.push_back(&item);
  }
  return missing;
}

}  // namespace corvane
