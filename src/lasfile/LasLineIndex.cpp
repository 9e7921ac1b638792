#include "lasfile/LasLineIndex.h"

#include <algorithm>
#include <cerrno>

#include "lasfile/LasReader.h"
#include "platform/TextReader.h"

namespace corvane {

void CLasLineIndex::Note(const CLasLineInfo& line) {
  if (line.number == 0) return;
  m_lines = std::max(m_lines, line.number);
  if ((line.number - 1) % kStride != 0) return;
  const auto slot = static_cast<std::size_t>((line.number - 1) / kStride);
  if (slot >= m_offsets.size()) m_offsets.resize(slot + 1, kUnknown);
  m_offsets[slot] = line.offset;
}

void CLasLineIndex::Note(const CLasRecord& record) {
  if (record.kind != LasRecordKind::DataRow) {
    Note(record.line);
    return;
  }
  for (const CLasLineInfo& line : record.rowLines) Note(line);
}

std::vector<std::string> CLasLineIndex::ReadLines(const std::string& path, std::uint64_t first,
                                                  std::uint64_t last, std::size_t maxLength,
                                                  const CFileIdentity* expected) const {
  std::vector<std::string> lines;
  first = std::max<std::uint64_t>(first, 1);
  if (last < first) return lines;
  // The nearest line noted at or before `first` (a line of a row too long to describe
  // may be missing; line 1 never is).
  auto slot = static_cast<std::size_t>(std::min<std::uint64_t>((first - 1) / kStride, m_offsets.size() - 1));
  while (m_offsets[slot] == kUnknown) --slot;
  CTextReader reader;
  reader.Open(path, false);
  if (expected != nullptr && reader.Identity() != *expected)
    throw CFileError(CResult::Failed(path + ": the file has changed since it was read", ESTALE));
  reader.Seek(m_offsets[slot]);
  std::uint64_t number = slot * kStride;
  std::string line;
  std::uint64_t length = 0;
  while (number < last && reader.ReadLinePrefix(line, number + 1 >= first ? maxLength + 1 : 0, length)) {
    if (++number < first) continue;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.size() > maxLength) line.resize(maxLength);
    lines.push_back(line);
  }
  return lines;
}

}  // namespace corvane
