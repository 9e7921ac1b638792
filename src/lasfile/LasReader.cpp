#include "lasfile/LasReader.h"

#include <algorithm>
#include <limits>

#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Outside ASCII 32..126, in one comparison.
constexpr bool IsBadChar(char c) noexcept { return static_cast<unsigned char>(c - 32) > 94; }

void NoteBadChar(CLasLineInfo& info, std::size_t column, char c) noexcept {
  if (info.badChars++ == 0) {
    info.badColumn = column;
    info.badChar = static_cast<unsigned char>(c);
  }
}

void CountBadChars(std::string_view text, CLasLineInfo& info) noexcept {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (IsBadChar(text[i])) NoteBadChar(info, i + 1, text[i]);
}

// Cuts a data line into values at blanks (a tab counts as a blank), noting every
// character outside ASCII 32..126 on the way; calls take(text) for each value.
// Cuts a data line into values at blanks (a tab counts as a blank), noting every
// character outside ASCII 32..126 on the way, and reads each value: take(text, kind,
// value). A plain number of up to 15 digits, the usual value, is read in the same pass
// over its characters; anything else goes through ReadLasCell.
template <typename Take>
void CutValues(std::string_view line, CLasLineInfo& info, Take&& take) {
  const char* const begin = line.data();
  const char* const end = begin + line.size();
  const char* p = begin;
  for (;;) {
    while (p < end && IsBlankOrTab(*p)) {
      if (*p == '\t') NoteBadChar(info, static_cast<std::size_t>(p - begin) + 1, *p);
      ++p;
    }
    if (p == end) break;
    const char* const start = p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    std::uint64_t mantissa = 0;
    unsigned digits = 0;
    unsigned fraction = 0;
    bool point = false;
    for (; p < end; ++p) {
      const auto digit = static_cast<unsigned>(*p - '0');
      if (digit < 10) {
        mantissa = mantissa * 10 + digit;  // wraps past 19 digits; not used then
        ++digits;
        fraction += point ? 1 : 0;
      } else if (*p == '.' && !point) {
        point = true;
      } else {
        break;
      }
    }
    ++info.values;
    if ((p == end || IsBlankOrTab(*p)) && digits > 0 && digits <= 15 &&
        fraction < sizeof kExactPowersOfTen / sizeof kExactPowersOfTen[0]) {
      // Both operands are exact doubles, so the one division is correctly rounded: the
      // value ScanDouble gives.
      const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[fraction];
      take(std::string_view(start, static_cast<std::size_t>(p - start)), LasCellKind::Number,
           negative ? -magnitude : magnitude);
      continue;
    }
    while (p < end && !IsBlankOrTab(*p)) {
      if (IsBadChar(*p)) NoteBadChar(info, static_cast<std::size_t>(p - begin) + 1, *p);
      ++p;
    }
    const std::string_view text(start, static_cast<std::size_t>(p - start));
    double value = 0;
    const LasCellKind kind = ReadLasCell(text, value);
    take(text, kind, value);
  }
}

std::string Kept(std::string_view text) { return std::string(text.substr(0, CLasReader::kMaxCurveText)); }

}  // namespace

LasCellKind ReadLasCell(std::string_view text, double& value) noexcept {
  const std::size_t n = text.size();
  std::size_t i = 0;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::size_t digits = 0;
  std::size_t fraction = 0;  // digits after the point
  std::uint64_t mantissa = 0;
  bool point = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsAsciiDigit(c)) {
      ++digits;
      fraction += point ? 1 : 0;
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');  // wraps past 19 digits; unused then
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  value = std::numeric_limits<double>::quiet_NaN();
  if (digits == 0) return LasCellKind::Text;
  if (i == n && digits <= 15 && fraction < sizeof kExactPowersOfTen / sizeof kExactPowersOfTen[0]) {
    // Both operands are exact doubles (below 2^53 and 10^22), so one division gives the
    // correctly rounded value, the same that ScanDouble reads, at a fraction of its cost.
    const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[fraction];
    value = negative ? -magnitude : magnitude;
    return LasCellKind::Number;
  }
  LasCellKind kind = LasCellKind::Number;
  if (i < n) {
    if (text[i] != 'e' && text[i] != 'E') return LasCellKind::Text;
    std::size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exponentStart = j;
    while (j < n && IsAsciiDigit(text[j])) ++j;
    if (j == exponentStart || j != n) return LasCellKind::Text;
    kind = LasCellKind::Exponent;
  }
  if (!ScanDouble(text, value)) return LasCellKind::Text;
  return kind;
}

void CLasReader::Open(const std::string& path) {
  Close();
  m_file.Open(path, false);
  // A file still being written is read to the end it had: one version, a known end.
  m_file.KeepToOpeningSize();
}

void CLasReader::OpenData(const std::string& path, std::uint64_t offset, std::uint64_t linesBefore,
                          bool wrapped, std::size_t curveCount) {
  Open(path);
  m_file.Seek(offset);
  m_lineNumber = linesBefore;
  m_part = Part::Data;
  m_section = 'A';
  m_seenV = m_seenC = true;
  m_wrapped = wrapped;
  m_curveCount = curveCount;
}

void CLasReader::Close() noexcept {
  m_file.Close();
  m_line = {};
  m_info = {};
  m_held = false;
  m_lineNumber = 0;
  m_part = Part::BeforeSections;
  m_section = 0;
  m_seenV = m_seenC = false;
  m_inFirstV = m_inFirstC = false;
  m_wrapped = false;
  m_curves.clear();
  m_curveCount = 0;
  m_gathering = false;
  m_rowText.clear();
  m_rowLines.clear();
  m_rowLinesDropped = 0;
  m_spans.clear();
  m_rowValues = 0;
}

std::size_t CLasReader::CellLimit() const noexcept {
  return m_curveCount == 0 ? kDefaultCellLimit : std::min(m_curveCount, kMaxCurves);
}

// A last line without a line end holds the mark; otherwise it begins the next line.
std::uint64_t CLasReader::CtrlZLine() const noexcept {
  return m_lineNumber > 0 && m_info.end == LasLineEnd::None ? m_lineNumber : m_lineNumber + 1;
}

std::size_t CLasReader::CtrlZColumn() const noexcept {
  return m_lineNumber > 0 && m_info.end == LasLineEnd::None ? m_info.length + 1 : 1;
}

bool CLasReader::ReadLine() {
  const std::uint64_t before = m_file.Position();
  std::string_view raw;
  if (!m_file.NextLine(raw)) return false;
  const std::uint64_t consumed = m_file.Position() - before;
  m_info = CLasLineInfo{};
  m_info.number = ++m_lineNumber;
  m_info.offset = before;
  if (!raw.empty() && raw.back() == '\n') {
    raw.remove_suffix(1);
    m_info.end = consumed > raw.size() + 1 ? LasLineEnd::CrLf : LasLineEnd::Lf;
  }
  m_line = raw;
  m_info.length = raw.size();
  m_held = true;
  return true;
}

bool CLasReader::Next(CLasRecord& record) {
  for (;;) {
    if (!m_held && !ReadLine()) {
      if (!m_gathering) return false;
      FinishRow(record);  // the end of the file cut the row short
      return true;
    }
    std::string_view content = m_line;
    if (m_info.number == 1 && content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
      content.remove_prefix(kByteOrderMark.size());
    std::size_t first = 0;
    while (first < content.size() && IsBlankOrTab(content[first])) ++first;
    const char lead = first < content.size() ? content[first] : '\0';

    if (lead == '~') {
      if (m_gathering) {
        FinishRow(record);  // the section line stays held for the next call
        return true;
      }
      TakeSectionTitle(content.substr(first), record);
      return true;
    }
    if (m_part == Part::Data) {
      if (lead == '\0') {
        TakeLine(LasRecordKind::Blank, record);
        return true;
      }
      if (lead == '#') {
        TakeLine(LasRecordKind::Comment, record);
        return true;
      }
      if (!m_wrapped || m_curveCount == 0) {
        TakeDataLine(record);
        return true;
      }
      GatherDataLine();
      if (m_rowValues >= m_curveCount) {
        FinishRow(record);
        return true;
      }
      continue;
    }
    if (lead == '\0') {
      TakeLine(LasRecordKind::Blank, record);
    } else if (lead == '#') {
      TakeLine(LasRecordKind::Comment, record);
    } else if (m_part == Part::Header) {
      TakeHeaderItem(content, record);
    } else {
      TakeLine(LasRecordKind::Text, record);
    }
    return true;
  }
}

void CLasReader::TakeLine(LasRecordKind kind, CLasRecord& record) {
  CountBadChars(m_line, m_info);
  record.kind = kind;
  record.section = m_section;
  record.line = m_info;
  record.text = m_line;
  m_held = false;
}

void CLasReader::TakeSectionTitle(std::string_view content, CLasRecord& record) {
  const char next = content.size() > 1 ? content[1] : ' ';
  const char letter = IsBlankOrTab(next) ? ' ' : ToUpperAscii(next);
  m_section = letter;
  m_inFirstV = letter == 'V' && !m_seenV;
  m_inFirstC = letter == 'C' && !m_seenC;
  m_seenV = m_seenV || letter == 'V';
  m_seenC = m_seenC || letter == 'C';
  if (m_part == Part::Data || m_part == Part::AfterData) {
    m_part = Part::AfterData;  // one data section per file; what follows it is not read as data
  } else if (letter == 'A') {
    m_part = Part::Data;
  } else if (letter == 'V' || letter == 'W' || letter == 'C' || letter == 'P') {
    m_part = Part::Header;
  } else {
    m_part = Part::FreeText;
  }
  TakeLine(LasRecordKind::SectionTitle, record);
}

void CLasReader::TakeHeaderItem(std::string_view content, CLasRecord& record) {
  TakeLine(LasRecordKind::HeaderItem, record);
  record.item = ParseLasHeaderLine(content);
  if (m_inFirstV && EqualNoCase(record.item.mnemonic, "WRAP")) {
    m_wrapped = EqualNoCase(record.item.value, "YES");
    m_inFirstV = false;  // the first WRAP line counts
  }
  if (m_inFirstC) {
    if (m_curves.size() < kMaxCurves) {
      CLasCurve curve;
      curve.mnemonic = Kept(record.item.mnemonic);
      curve.unit = Kept(record.item.unit);
      curve.value = Kept(record.item.value);
      curve.description = Kept(record.item.description);
      curve.line = m_info.number;
      m_curves.push_back(std::move(curve));
    }
    ++m_curveCount;
  }
}

void CLasReader::TakeDataLine(CLasRecord& record) {
  // Room for every value the line can hold (one character and a blank each), within
  // the limit; the vector keeps it from row to row.
  const std::size_t room = std::min(CellLimit(), (m_line.size() + 1) / 2);
  if (record.cells.size() < room) record.cells.resize(room);
  std::size_t count = 0;
  CutValues(m_line, m_info, [&](std::string_view text, LasCellKind kind, double value) {
    if (count < room) {
      CLasCell& cell = record.cells[count];
      cell.text = text;
      cell.kind = kind;
      cell.value = value;
    }
    ++count;
  });
  record.cells.resize(std::min(count, room));
  record.kind = LasRecordKind::DataRow;
  record.section = m_section;
  record.line = m_info;
  record.text = m_line;
  record.rowLines.resize(1);
  record.rowLines.front() = m_info;
  record.rowLinesDropped = 0;
  record.valueCount = count;
  m_held = false;
}

void CLasReader::GatherDataLine() {
  if (!m_gathering) {
    m_gathering = true;
    m_rowText.clear();
    m_rowLines.clear();
    m_rowLinesDropped = 0;
    m_spans.clear();
    m_rowValues = 0;
  }
  const std::size_t limit = CellLimit();
  CutValues(m_line, m_info, [&](std::string_view text, LasCellKind kind, double value) {
    if (m_rowValues++ >= limit || m_rowText.size() + text.size() > kMaxRowText) return;
    m_spans.push_back(CSpan{m_rowText.size(), text.size(), value, kind});
    m_rowText.append(text);
  });
  if (m_rowLines.size() < kMaxRowLines)
    m_rowLines.push_back(m_info);
  else
    ++m_rowLinesDropped;
  m_held = false;
}

void CLasReader::FinishRow(CLasRecord& record) {
  record.kind = LasRecordKind::DataRow;
  record.section = 'A';
  record.line = m_rowLines.front();
  record.text = {};
  record.rowLines.assign(m_rowLines.begin(), m_rowLines.end());
  record.rowLinesDropped = m_rowLinesDropped;
  record.cells.clear();
  for (const CSpan& span : m_spans) {
    CLasCell cell;
    cell.text = std::string_view(m_rowText).substr(span.offset, span.length);
    cell.value = span.value;
    cell.kind = span.kind;
    record.cells.push_back(cell);
  }
  record.valueCount = m_rowValues;
  m_gathering = false;
}

}  // namespace corvane
