#include "las/ReadingSummary.h"

#include <algorithm>

#include "ascii/CellReader.h"
#include "ascii/DateTime.h"
#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

struct CKindInfo {
  std::string_view name;
  std::string_view meaning;
  bool doubt;
  bool strict;
};

constexpr std::array<CKindInfo, kReadingKindCount> kKinds = {{
    {"PARTIAL_NUMBER", "text after the number; the number is written", true, true},
    {"NOT_A_NUMBER", "no number; the null value is written", true, true},
    {"OUT_OF_RANGE", "a number beyond the range of numbers; the null value is written", true, true},
    {"SHORT_ROW", "fewer fields than curves; the missing ones are null", true, true},
    {"LONG_ROW", "more fields than curves; the rest is dropped", true, true},
    {"PRECISION_LOST", "fewer than 3 significant digits kept, or 0.0000 for a reading that is not 0", true,
     false},
    {"NULL_LIKE", "a common null marker that is not the NULL value; written as a reading", true, false},
    {"EMPTY_FIELD", "an empty field; the null value is written", false, false},
    {"NULL_MARKER", "a null marker; the null value is written", false, false},
}};

// "1500,125": digits, a comma, digits.
bool LooksLikeCommaDecimal(std::string_view text) {
  text = TrimCSpace(text);
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const std::size_t comma = text.find(',');
  if (comma == 0 || comma == std::string_view::npos || comma + 1 >= text.size()) return false;
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), IsAsciiDigit);
  };
  return digits(text.substr(0, comma)) && digits(text.substr(comma + 1));
}

void AddDistinct(std::vector<std::string>& list, std::string_view text) {
  constexpr std::size_t kMostKept = 4;
  if (list.size() >= kMostKept || std::find(list.begin(), list.end(), text) != list.end()) return;
  list.emplace_back(text);
}

// A text for a line of the summary: in double quotes, bytes outside printable ASCII as \xNN.
std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out("\"");
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126 || c == '"' || c == '\\') {
      if (c == '"' || c == '\\') {
        out.push_back('\\');
        out.push_back(c);
      } else {
        out += "\\x";
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 15]);
      }
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

std::string Counted(std::uint64_t n, const char* one, const char* many) {
  return FormatInt(static_cast<long long>(n)) + " " + (n == 1 ? one : many);
}

// "first on line 5, column 3: "12abc""
std::string FirstText(ReadingKind kind, const CReadingExample& first) {
  std::string text = "first on line " + FormatInt(static_cast<long long>(first.line));
  if (kind == ReadingKind::ShortRow || kind == ReadingKind::LongRow)
    text += " (" + Counted(static_cast<std::uint64_t>(first.column), "field", "fields") + ")";
  else
    text += ", column " + FormatInt(first.column);
  return text + ": " + Quoted(first.text);
}

}  // namespace

std::string_view ReadingKindName(ReadingKind kind) noexcept {
  return kKinds[static_cast<std::size_t>(kind)].name;
}

std::string_view ReadingKindMeaning(ReadingKind kind) noexcept {
  return kKinds[static_cast<std::size_t>(kind)].meaning;
}

bool IsReadingDoubt(ReadingKind kind) noexcept { return kKinds[static_cast<std::size_t>(kind)].doubt; }

bool FailsStrictReading(ReadingKind kind) noexcept { return kKinds[static_cast<std::size_t>(kind)].strict; }

void CReadingSummary::Begin(const CReadingOptions& options, std::vector<std::string> headings,
                            std::string delimiterSet) {
  *this = CReadingSummary();
  m_options = options;
  m_headings = std::move(headings);
  m_delimiterSet = std::move(delimiterSet);
  m_columns.resize(m_headings.size());
}

const CReadingCount& CReadingSummary::Count(int column, ReadingKind kind) const noexcept {
  static const CReadingCount kNone;
  if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size()) return kNone;
  const auto& counts = m_columns[static_cast<std::size_t>(column)];
  return counts ? (*counts)[static_cast<std::size_t>(kind)] : kNone;
}

bool CReadingSummary::ColumnHasFindings(int column) const noexcept {
  return column >= 0 && static_cast<std::size_t>(column) < m_columns.size() &&
         m_columns[static_cast<std::size_t>(column)] != nullptr;
}

void CReadingSummary::Record(ReadingKind kind, std::uint64_t line, int column, std::string_view text,
                             int fields) {
  std::string_view shown =
      kind == ReadingKind::ShortRow || kind == ReadingKind::LongRow ? text : TrimCSpace(text);
  while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.remove_suffix(1);
  shown = shown.substr(0, kExampleLength);
  const int shownColumn = column >= 0 ? column + 1 : fields;
  // With inverted depths the lines come last first: the first kept is the one nearest
  // the start of the file.
  auto keep = [&](CReadingCount& count) {
    if (count.count++ == 0 || line < count.first.line ||
        (line == count.first.line && shownColumn < count.first.column))
      count.first = CReadingExample{line, shownColumn, std::string(shown)};
  };
  keep(m_totals[static_cast<std::size_t>(kind)]);
  if (column >= 0 && static_cast<std::size_t>(column) < m_columns.size()) {
    auto& counts = m_columns[static_cast<std::size_t>(column)];
    if (!counts) counts = std::make_unique<CCounts>();
    keep((*counts)[static_cast<std::size_t>(kind)]);
  }
  Note(kind, column, text);
}

void CReadingSummary::Note(ReadingKind kind, int column, std::string_view text) {
  const std::string_view trimmed = TrimCSpace(text);
  switch (kind) {
    case ReadingKind::PartialNumber:
    case ReadingKind::NotANumber:
      if (LooksLikeCommaDecimal(trimmed)) ++m_commaDecimals;
      if (!trimmed.empty() && trimmed.front() == '"') ++m_quotedCells;
      if (m_dateTimeColumn == 0 && column >= 0 && ParseDateTime(trimmed)) m_dateTimeColumn = column + 1;
      if (IsCommonNullText(trimmed)) AddDistinct(m_markerTexts, trimmed);
      break;
    case ReadingKind::ShortRow:
    case ReadingKind::LongRow: {
      // Two delimiters in a row that the plain cut takes for one, or a delimiter that
      // ends the line: fields left empty.
      // Blanks pad the columns of space-aligned files: no choice makes them fields.
      if (m_options.emptyFields || m_delimiterSet.empty() || m_delimiterSet == " ") break;
      std::string_view line = text;
      while (!line.empty() && IsCSpace(line.back()) && m_delimiterSet.find(line.back()) == std::string::npos)
        line.remove_suffix(1);
      bool empty = !line.empty() && m_delimiterSet.find(line.back()) != std::string::npos;
      for (std::size_t i = 1; i < line.size() && !empty; ++i)
        empty = m_delimiterSet.find(line[i]) != std::string::npos &&
                m_delimiterSet.find(line[i - 1]) != std::string::npos && IsCSpace(line[i]);
      if (empty) ++m_emptyFieldRows;
      break;
    }
    case ReadingKind::NullLike:
      AddDistinct(m_nullLikeTexts, trimmed);
      break;
    default:
      break;
  }
}

bool CReadingSummary::HasDoubts() const noexcept {
  for (std::size_t k = 0; k < kReadingKindCount; ++k)
    if (m_totals[k].count > 0 && IsReadingDoubt(static_cast<ReadingKind>(k))) return true;
  return false;
}

bool CReadingSummary::FailsStrict() const noexcept {
  for (std::size_t k = 0; k < kReadingKindCount; ++k)
    if (m_totals[k].count > 0 && FailsStrictReading(static_cast<ReadingKind>(k))) return true;
  return false;
}

std::vector<CReadingHint> CReadingSummary::Hints() const {
  std::vector<CReadingHint> hints;
  if (m_commaDecimals > 0 && !m_options.decimalComma)
    hints.push_back(
        {ReadingKind::PartialNumber, "looks like decimal commas", "--decimal-comma", "Decimal comma"});
  if (m_quotedCells > 0 && !m_options.quotes)
    hints.push_back({ReadingKind::NotANumber, "looks like quoted fields", "--quotes", "Quotes"});
  if (m_emptyFieldRows > 0 && !m_options.emptyFields)
    hints.push_back({ReadingKind::ShortRow, "looks like empty fields", "--empty-fields", "Empty fields"});
  if (m_dateTimeColumn > 0 && m_options.dateTimeColumn == 0)
    hints.push_back(
        {ReadingKind::PartialNumber, "looks like date-times in column " + FormatInt(m_dateTimeColumn),
         "--date-time " + FormatInt(m_dateTimeColumn), "Date-time column " + FormatInt(m_dateTimeColumn)});
  std::vector<std::string> markers = m_options.nullMarkers;
  std::vector<std::string> found = m_markerTexts;
  found.insert(found.end(), m_nullLikeTexts.begin(), m_nullLikeTexts.end());
  bool newMarker = false;
  for (const std::string& text : found) {
    if (std::find(markers.begin(), markers.end(), text) != markers.end()) continue;
    markers.push_back(text);
    newMarker = true;
  }
  if (newMarker) {
    const std::string list = JoinNullMarkers(markers);
    hints.push_back({m_nullLikeTexts.empty() ? ReadingKind::NotANumber : ReadingKind::NullLike,
                     "looks like null markers", "--null-markers '" + list + "'", "Null markers " + list});
  }
  if (m_totals[static_cast<std::size_t>(ReadingKind::PrecisionLost)].count > 0 &&
      m_options.digits != DigitsKept::Source)
    hints.push_back(
        {ReadingKind::PrecisionLost, "small readings lose digits", "--digits source", "Digits: source"});
  return hints;
}

std::string FormatReadingSummary(const CReadingSummary& summary, ReadingAudience audience) {
  int written = 0;
  for (int c = 0; c < summary.Columns(); ++c)
    if (!summary.Heading(c).empty()) ++written;
  std::string text = "Reading: " + Counted(summary.Rows(), "row", "rows") + " of " +
                     Counted(static_cast<std::uint64_t>(written), "column", "columns");
  if (!summary.HasDoubts()) text += ", every cell read as a number";
  text += ".\n";
  std::string nulls;
  for (std::size_t k = 0; k < kReadingKindCount; ++k) {
    const auto kind = static_cast<ReadingKind>(k);
    const CReadingCount& count = summary.Total(kind);
    if (count.count == 0) continue;
    if (!IsReadingDoubt(kind)) {
      if (!nulls.empty()) nulls += ", ";
      nulls += kind == ReadingKind::EmptyField ? Counted(count.count, "empty field", "empty fields")
                                               : Counted(count.count, "null marker", "null markers");
      continue;
    }
    const bool rows = kind == ReadingKind::ShortRow || kind == ReadingKind::LongRow;
    text += "  " + std::string(ReadingKindName(kind)) + ": " +
            Counted(count.count, rows ? "row" : "cell", rows ? "rows" : "cells") + " (" +
            std::string(ReadingKindMeaning(kind)) + "), " + FirstText(kind, count.first) + "\n";
  }
  if (!nulls.empty()) text += "  Written as the null value on purpose: " + nulls + ".\n";
  for (const CReadingHint& hint : summary.Hints()) {
    std::string finding = hint.finding;
    finding.front() = ToUpperAscii(finding.front());
    if (audience == ReadingAudience::CommandLine)
      text += "  " + finding + ": " + hint.option + "\n";
    else
      text += "  " + finding + ": choose \"" + hint.control + "\" on Step 2.\n";
  }
  return text;
}

std::string FormatReadingColumns(const CReadingSummary& summary) {
  std::string text;
  for (int c = 0; c < summary.Columns(); ++c) {
    if (!summary.ColumnHasFindings(c)) continue;
    text += "Column " + FormatInt(c + 1);
    if (!summary.Heading(c).empty()) text += " (" + summary.Heading(c) + ")";
    text += ":\n";
    for (std::size_t k = 0; k < kReadingKindCount; ++k) {
      const auto kind = static_cast<ReadingKind>(k);
      const CReadingCount& count = summary.Count(c, kind);
      if (count.count == 0) continue;
      text += "  " + std::string(ReadingKindName(kind)) + ": " + Counted(count.count, "cell", "cells") +
              ", " + FirstText(kind, count.first) + "\n";
    }
  }
  return text;
}

}  // namespace corvane
