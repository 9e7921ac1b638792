#include "plot/LasHeader.h"

#include <cctype>
#include <string_view>

#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

bool SameMnemonic(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::optional<double> NumberOf(const std::string& text) {
  double value = 0;
  if (!ScanDouble(text, value)) return std::nullopt;
  return value;
}

void TakeKnownLines(CLasHeader& header) {
  if (const CHeaderSection* version = header.Section('V'))
    for (const CHeaderEntry& entry : version->entries)
      if (SameMnemonic(entry.fields.mnemonic, "WRAP"))
        header.wrapped = !entry.fields.value.empty() && std::toupper(entry.fields.value[0]) == 'Y';
  if (const CHeaderSection* well = header.Section('W'))
    for (const CHeaderEntry& entry : well->entries) {
      const std::string& mnemonic = entry.fields.mnemonic;
      if (SameMnemonic(mnemonic, "NULL")) header.nullValue = NumberOf(entry.fields.value);
      if (SameMnemonic(mnemonic, "STRT")) header.start = NumberOf(entry.fields.value);
      if (SameMnemonic(mnemonic, "STOP")) header.stop = NumberOf(entry.fields.value);
      if (SameMnemonic(mnemonic, "STEP")) header.step = NumberOf(entry.fields.value);
    }
  if (const CHeaderSection* curves = header.Section('C'))
    for (const CHeaderEntry& entry : curves->entries)
      header.curves.push_back(
          {entry.fields.mnemonic, entry.fields.unit, entry.fields.value, entry.fields.description});
}

}  // namespace

const CHeaderSection* CLasHeader::Section(char letter) const {
  for (const CHeaderSection& section : sections)
    if (section.letter == letter) return &section;
  return nullptr;
}

std::string CLasHeader::WellValue(const std::string& mnemonic) const {
  if (const CHeaderSection* well = Section('W'))
    for (const CHeaderEntry& entry : well->entries)
      if (SameMnemonic(entry.fields.mnemonic, mnemonic)) return entry.fields.value;
  return {};
}

CLasHeader ReadLasHeader(CTextReader& reader) {
  CLasHeader header;
  CHeaderSection* current = nullptr;
  std::string_view raw;
  long lineNumber = 0;
  while (reader.NextLine(raw)) {
    ++lineNumber;
    const std::string_view line = TrimLineEnd(raw);
    const auto first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '~') {
      const char letter = first + 1 < line.size()
                              ? static_cast<char>(std::toupper(static_cast<unsigned char>(line[first + 1])))
                              : 0;
      if (letter == 'A') {
        header.hasData = true;
        header.dataOffset = reader.Position();
        header.dataLine = lineNumber + 1;
        break;
      }
      CHeaderSection section;
      section.letter = letter;
      section.title = std::string(line.substr(first + 1));
      section.lineNumber = lineNumber;
      header.sections.push_back(std::move(section));
      current = &header.sections.back();
      continue;
    }
    if (current == nullptr) continue;  // nothing before the first section counts
    if (current->letter == 'O') {
      current->text.emplace_back(line);
      continue;
    }
    if (first == std::string_view::npos || line[first] == '#') continue;
    current->entries.push_back({ParseHeaderLine(line), lineNumber});
  }
  // Blank lines closing ~O are the gap before the next section, not its text.
  for (CHeaderSection& section : header.sections)
    while (!section.text.empty() && section.text.back().find_first_not_of(" \t") == std::string::npos)
      section.text.pop_back();
  TakeKnownLines(header);
  return header;
}

}  // namespace corvane
