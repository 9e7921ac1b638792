#include "plotmodel/LasHeader.h"

#include "lasfile/LasHeaderLine.h"
#include "lasfile/LasReader.h"
#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

std::optional<double> NumberOf(const std::string& text) {
  double value = 0;
  if (!ScanDouble(text, value)) return std::nullopt;
  return value;
}

void TakeKnownLines(CLasHeader& header) {
  if (const CHeaderSection* well = header.Section('W'))
    for (const CHeaderEntry& entry : well->entries) {
      const std::string& mnemonic = entry.mnemonic;
      if (EqualNoCase(mnemonic, "NULL")) header.nullValue = NumberOf(entry.value);
      if (EqualNoCase(mnemonic, "STRT")) header.start = NumberOf(entry.value);
      if (EqualNoCase(mnemonic, "STOP")) header.stop = NumberOf(entry.value);
      if (EqualNoCase(mnemonic, "STEP")) header.step = NumberOf(entry.value);
    }
  if (const CHeaderSection* curves = header.Section('C'))
    for (const CHeaderEntry& entry : curves->entries)
      header.curves.push_back({entry.mnemonic, entry.unit, entry.value, entry.description});
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
      if (EqualNoCase(entry.mnemonic, mnemonic)) return entry.value;
  return {};
}

CHeaderEntry ReadHeaderEntry(std::string_view line, long lineNumber) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  const CLasHeaderLine item = ParseLasHeaderLine(line);
  CHeaderEntry entry;
  entry.lineNumber = lineNumber;
  if (item.HasDot() && item.colon != CLasHeaderLine::npos && item.colon < item.dot) {
    entry.mnemonic = TrimBlanks(line.substr(0, item.colon));
    entry.description = TrimBlanks(line.substr(item.colon + 1));
    return entry;
  }
  entry.mnemonic = item.mnemonic;
  entry.unit = item.unit;
  entry.value = item.value;
  entry.description = item.description;
  return entry;
}

CLasHeader ReadLasHeader(CLasReader& reader) {
  CLasHeader header;
  CHeaderSection* current = nullptr;
  CLasRecord record;
  while (reader.Next(record)) {
    const long lineNumber = static_cast<long>(record.line.number);
    if (record.kind == LasRecordKind::SectionTitle) {
      if (record.section == 'A') {
        header.hasData = true;
        header.dataOffset = reader.BytesRead();
        header.dataLine = lineNumber + 1;
        break;
      }
      CHeaderSection section;
      section.letter = record.section;
      section.title = std::string(record.text.substr(record.text.find('~') + 1));
      section.lineNumber = lineNumber;
      header.sections.push_back(std::move(section));
      current = &header.sections.back();
      continue;
    }
    if (current == nullptr) continue;  // nothing before the first section counts
    if (current->letter == 'O') {
      current->text.emplace_back(record.text);
      continue;
    }
    // The lines of a section of the file's own come as text: they are cut as items too.
    if (record.kind == LasRecordKind::HeaderItem || record.kind == LasRecordKind::Text)
      current->entries.push_back(ReadHeaderEntry(record.text, lineNumber));
  }
  // Blank lines closing ~O are the gap before the next section, not its text.
  for (CHeaderSection& section : header.sections)
    while (!section.text.empty() && section.text.back().find_first_not_of(" \t") == std::string::npos)
      section.text.pop_back();
  header.wrapped = reader.Wrapped();
  TakeKnownLines(header);
  return header;
}

}  // namespace corvane
