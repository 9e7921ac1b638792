#include "ascii/LayoutDetector.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "ascii/CellReader.h"
#include "ascii/ColumnSplitter.h"
#include "ascii/DateTime.h"
#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane {

namespace {

// The delimiter texts tried, in the order preferred when two give the same layout.
constexpr std::array<const char*, 4> kCandidates = {"space", "tab", ",", ";"};

// How the detection cuts a line: at one delimiter, with or without every delimiter
// separating (empty fields). Quoted fields are always read as such: a file without
// quotes reads the same.
struct CCut {
  std::string delimiterText;
  bool emptyFields = false;
};
// A block of numeric rows this long is data even when other lines follow it.
constexpr int kConvincingRun = 10;
// Names and units: more lines above the data would as likely be a title or notes.
constexpr int kMaxHeaderLines = 2;
// Only the head of a very long line is looked at.
constexpr std::size_t kLineKept = 64 * 1024;
// The reading choices look at this many data lines, or lines of this many bytes,
// whichever comes first: null markers and empty fields are often far from the top.
constexpr int kReadingLines = 20000;
constexpr std::uint64_t kReadingBytes = 4u << 20;

// A whole text that is one decimal number: sign, digits with an optional point
// (at least one digit), an optional exponent.
bool IsNumberText(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsAsciiDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsAsciiDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent = 0;
    while (i < text.size() && IsAsciiDigit(text[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == text.size();
}

// A number with a comma for its decimal mark: "1500,125", "-0,5".
bool IsCommaDecimalText(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos) return false;
  std::string pointed(text);
  pointed[comma] = '.';
  return IsNumberText(pointed) && comma > 0 && IsAsciiDigit(text[comma - 1]) && comma + 1 < text.size() &&
         IsAsciiDigit(text[comma + 1]);
}

// The fields of a line as the conversion would cut them, quotes taken off, blanks
// around each dropped.
std::vector<std::string> Fields(std::string_view line, const CCut& cut) {
  CSplitRules rules;
  rules.delimiterSet = GetDelimiterSet(cut.delimiterText);
  rules.quotes = true;
  rules.emptyFields = cut.emptyFields;
  CColumnList columns;
  SplitColumns(line, columns, rules, -1, "");
  for (auto& column : columns) column = std::string(TrimCSpace(column));
  return columns;
}

enum class FieldKind { Empty, Number, Missing, DateTime, Text };

// Numbers, date-times and the texts that stand for a missing reading all belong in a
// row of readings.
FieldKind KindOf(const std::string& field) {
  if (field.empty()) return FieldKind::Empty;
  if (IsNumberText(field) || IsCommaDecimalText(field)) return FieldKind::Number;
  if (IsCommonNullText(field)) return FieldKind::Missing;
  if (ParseDateTime(field)) return FieldKind::DateTime;
  return FieldKind::Text;
}

// How a line reads when cut one way: `width` fields, `numbers` of them numbers (or
// date-times), and whether every field is a reading or empty (a missing value between
// two delimiters).
struct CLineShape {
  int width = 0;
  int numbers = 0;
  bool allNumbers = false;
};

CLineShape Shape(std::string_view line, const CCut& cut) {
  const auto fields = Fields(line, cut);
  CLineShape shape;
  shape.width = static_cast<int>(fields.size());
  bool other = false;
  for (const auto& field : fields) {
    switch (KindOf(field)) {
      case FieldKind::Number:
      case FieldKind::DateTime:
        ++shape.numbers;
        break;
      case FieldKind::Text:
        other = true;
        break;
      default:
        break;
    }
  }
  shape.allNumbers = shape.numbers > 0 && !other;
  return shape;
}

// A row of numbers: its width; 0 for any other line.
int NumericColumns(std::string_view line, const CCut& cut) {
  const CLineShape shape = Shape(line, cut);
  return shape.allNumbers ? shape.width : 0;
}

// A data row with a text or two in it ("N/A", a flag): most of its fields are numbers.
bool IsMostlyNumbers(const CLineShape& shape) {
  return shape.numbers >= 2 && 2 * shape.numbers >= shape.width;
}

// A line of dashes, equal signs and the like that only underlines the names.
bool IsSeparatorLine(std::string_view line) {
  bool any = false;
  for (char c : line) {
    if (IsCSpace(c) || c == ',' || c == ';') continue;
    if (c != '-' && c != '=' && c != '_' && c != '*' && c != '+' && c != '|' && c != '~') return false;
    any = true;
  }
  return any;
}

bool HasLetter(std::string_view line) { return std::any_of(line.begin(), line.end(), IsAsciiLetter); }

struct CCandidate {
  int first = -1;
  int columns = 0;
  int rows = 0;
  bool written = false;
  int last = -1;  // the last line of the block
};

// The first line from which the lines are rows of the same number of columns, up to
// the end of the lines looked at or for a convincing stretch; blank lines between
// the rows do not interrupt them.
CCandidate FindDataBlock(const std::vector<std::string>& lines, const CCut& cut) {
  const std::size_t count = lines.size();
  std::vector<CLineShape> shapes(count);
  std::vector<bool> blank(count);
  std::vector<int> nonBlankFrom(count + 1, 0);
  for (std::size_t i = count; i-- > 0;) {
    blank[i] = IsBlankText(lines[i]);
    if (!blank[i]) shapes[i] = Shape(lines[i], cut);
    nonBlankFrom[i] = nonBlankFrom[i + 1] + (blank[i] ? 0 : 1);
  }
  // Data begins after text (or at the top): rows of numbers that follow rows of
  // another width belong to something else, such as the depth groups of a wrapped
  // file, and a line of digits that is no row (columns run together, say) is data
  // gone wrong, after which nothing is proposed either.
  bool afterText = true;
  for (std::size_t first = 0; first < count; ++first) {
    if (blank[first]) continue;
    const CLineShape& shape = shapes[first];
    const bool candidate = afterText;
    afterText = !shape.allNumbers && !IsMostlyNumbers(shape) &&
                (HasLetter(lines[first]) || IsSeparatorLine(lines[first]));
    if (!shape.allNumbers || !candidate) continue;
    const int width = shape.width;
    int run = 0;
    std::size_t last = first;
    for (std::size_t i = first; i < count; ++i) {
      if (blank[i]) continue;
      if (shapes[i].width != width || !(shapes[i].allNumbers || IsMostlyNumbers(shapes[i]))) break;
      ++run;
      last = i;
    }
    const bool toTheEnd = run == nonBlankFrom[first];
    // A lone number is no evidence of a table.
    if (run == 1 && width < 2) continue;
    if (toTheEnd || run >= kConvincingRun)
      return {static_cast<int>(first), width, run, false, static_cast<int>(last)};
  }
  return {};
}

// The names of a header line: a leading comment mark or section mark ("#", "~A")
// is not one of them.
int HeaderFieldCount(std::string_view line, const CCut& cut) {
  std::string_view text = TrimCSpace(line);
  if (!text.empty() && text.front() == '~') {
    std::size_t end = 0;
    while (end < text.size() && !IsCSpace(text[end]) && text[end] != ',' && text[end] != ';') ++end;
    if (end < text.size() && (text[end] == ',' || text[end] == ';')) ++end;
    text = TrimCSpace(text.substr(end));
  } else {
    while (!text.empty() && text.front() == '#') text.remove_prefix(1);
    text = TrimCSpace(text);
  }
  if (text.empty()) return 0;
  return static_cast<int>(Fields(text, cut).size());
}

bool MayHoldNames(std::string_view line, const CCut& cut) {
  // Key and value lines ("WELL: ...", "NULL = ...") describe the file, not the columns.
  if (line.find(':') != std::string_view::npos || line.find('=') != std::string_view::npos) return false;
  return NumericColumns(line, cut) == 0;
}

// The lines just above the data that name the columns (and give their units): as
// many fields as there are columns; a units line below the names may have fewer.
std::vector<int> FindHeaderLines(const std::vector<std::string>& lines, int first, int columns,
                                 const CCut& cut) {
  std::vector<int> found;
  bool started = false;
  int i = first - 1;
  auto fieldsOf = [&](int index) {
    const auto& line = lines[static_cast<std::size_t>(index)];
    return MayHoldNames(line, cut) ? HeaderFieldCount(line, cut) : -1;
  };
  while (i >= 0 && static_cast<int>(found.size()) < kMaxHeaderLines) {
    const std::string& line = lines[static_cast<std::size_t>(i)];
    if (IsBlankText(line)) {
      if (started) break;
      --i;
      continue;
    }
    if (IsSeparatorLine(line)) {
      --i;
      continue;
    }
    const int fields = fieldsOf(i);
    if (fields == columns) {
      found.push_back(i);
      started = true;
      --i;
      continue;
    }
    // Units with some left out, directly under a line of names.
    if (fields >= 1 && fields < columns && i > 0 && fieldsOf(i - 1) == columns &&
        static_cast<int>(found.size()) + 2 <= kMaxHeaderLines) {
      found.push_back(i);
      found.push_back(i - 1);
      started = true;
      i -= 2;
      continue;
    }
    break;
  }
  return std::vector<int>(found.rbegin(), found.rend());
}

// The rows of a block, cut as the proposal cuts them.
struct CBlockRows {
  const std::vector<std::string>& lines;
  CCut cut;
  int first = 0;
  int last = -1;
  int columns = 0;

  // Rows of another width (a trailer, say) are not looked at.
  template <typename Visit>
  void ForEachRow(Visit visit) const {
    for (int i = first; i <= last; ++i) {
      const std::string& line = lines[static_cast<std::size_t>(i)];
      if (IsBlankText(line)) continue;
      const std::vector<std::string> fields = Fields(line, cut);
      if (static_cast<int>(fields.size()) == columns) visit(line, fields);
    }
  }
};

// With empty fields, a column empty in every row is blanks or tabs that pad the
// columns, not a column of readings.
bool HasEmptyColumn(const CBlockRows& block) {
  std::vector<bool> filled(static_cast<std::size_t>(block.columns), false);
  block.ForEachRow([&](const std::string&, const std::vector<std::string>& fields) {
    for (std::size_t k = 0; k < fields.size() && k < filled.size(); ++k)
      if (!fields[k].empty()) filled[k] = true;
  });
  return std::find(filled.begin(), filled.end(), false) != filled.end();
}

// Each proposal of a reading choice looks at the rows of the block. Further ones (text
// columns, say) are added to the table below.
using CReadingProposer = void (*)(const CBlockRows& block, CReadingOptions& reading);

void ProposeQuotesAndDecimalComma(const CBlockRows& block, CReadingOptions& reading) {
  block.ForEachRow([&](const std::string& line, const std::vector<std::string>& fields) {
    if (line.find('"') != std::string::npos) reading.quotes = true;
    for (const std::string& field : fields)
      if (IsCommaDecimalText(field)) reading.decimalComma = true;
  });
}

// Every delimiter a separator: chosen for the cut (two tabs in a row), or, with commas
// and semicolons, when the rows leave fields empty and cut so keep their width (a row
// that ends in a delimiter then keeps its last, empty field).
void ProposeEmptyFields(const CBlockRows& block, CReadingOptions& reading) {
  if (block.cut.emptyFields) {
    reading.emptyFields = true;
    return;
  }
  if (block.cut.delimiterText != "," && block.cut.delimiterText != ";") return;
  CBlockRows everyDelimiter = block;
  everyDelimiter.cut.emptyFields = true;
  bool empty = false;
  bool steady = true;
  everyDelimiter.ForEachRow([&](const std::string&, const std::vector<std::string>& fields) {
    steady = steady && static_cast<int>(fields.size()) == block.columns;
    empty =
        empty || std::any_of(fields.begin(), fields.end(), [](const std::string& f) { return f.empty(); });
  });
  reading.emptyFields = empty && steady;
}

// Texts that stand for a missing reading, and the common null values other than
// -999.25 (the usual NULL): written as the null value.
void ProposeNullMarkers(const CBlockRows& block, CReadingOptions& reading) {
  auto add = [&](const std::string& marker) {
    if (std::find(reading.nullMarkers.begin(), reading.nullMarkers.end(), marker) ==
        reading.nullMarkers.end())
      reading.nullMarkers.push_back(marker);
  };
  block.ForEachRow([&](const std::string&, const std::vector<std::string>& fields) {
    for (const std::string& field : fields) {
      if (IsCommonNullText(field)) {
        add(field);
        continue;
      }
      double value = 0;
      if (IsNumberText(field) && ScanDouble(field, value) && IsCommonNullValue(value) && value != -999.25)
        add(field);
    }
  });
}

// The first column whose every reading is a date-time.
void ProposeDateTime(const CBlockRows& block, CReadingOptions& reading) {
  std::vector<int> dates(static_cast<std::size_t>(block.columns), 0);
  std::vector<bool> other(static_cast<std::size_t>(block.columns), false);
  block.ForEachRow([&](const std::string&, const std::vector<std::string>& fields) {
    for (std::size_t k = 0; k < fields.size() && k < dates.size(); ++k) {
      const FieldKind kind = KindOf(fields[k]);
      if (kind == FieldKind::DateTime)
        ++dates[k];
      else if (kind != FieldKind::Empty && kind != FieldKind::Missing)
        other[k] = true;
    }
  });
  for (std::size_t k = 0; k < dates.size(); ++k) {
    if (dates[k] > 0 && !other[k]) {
      reading.dateTimeColumn = static_cast<std::int32_t>(k) + 1;
      return;
    }
  }
}

// Small readings that four decimals would lose ("1.5e-05", "0.0013656").
void ProposeDigits(const CBlockRows& block, CReadingOptions& reading) {
  block.ForEachRow([&](const std::string&, const std::vector<std::string>& fields) {
    for (const std::string& field : fields) {
      double value = 0;
      CNumberScan scan;
      if (KindOf(field) == FieldKind::Number && ScanDouble(field, value, scan, true) && !scan.outOfRange &&
          FourDecimalsLosePrecision(value, scan.significantDigits, value == 0 && scan.significantDigits > 0))
        reading.digits = DigitsKept::Source;
    }
  });
}

constexpr std::array<CReadingProposer, 5> kReadingProposers = {
    ProposeQuotesAndDecimalComma, ProposeEmptyFields, ProposeNullMarkers, ProposeDateTime, ProposeDigits};

// `reading` starts from the cut's own choice (empty fields or not).
void ProposeReading(const CBlockRows& block, CReadingOptions& reading) {
  for (const CReadingProposer propose : kReadingProposers) propose(block, reading);
}

}  // namespace

std::string DescribeReading(const CReadingOptions& reading) {
  std::vector<std::string> parts;
  if (reading.decimalComma) parts.emplace_back("decimal commas");
  if (reading.quotes) parts.emplace_back("quoted fields");
  if (reading.emptyFields) parts.emplace_back("empty fields");
  if (!reading.nullMarkers.empty()) parts.push_back("null markers " + JoinNullMarkers(reading.nullMarkers));
  if (reading.wholeCells) parts.emplace_back("whole cells");
  if (reading.dateTimeColumn > 0)
    parts.push_back("date-times in column " + FormatInt(reading.dateTimeColumn));
  if (reading.digits == DigitsKept::Source) parts.emplace_back("the source's digits");
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += ", ";
    text += part;
  }
  return text;
}

std::optional<CLayoutProposal> DetectLayoutInLines(const std::vector<std::string>& lines) {
  std::optional<CLayoutProposal> best;
  CCandidate bestBlock;
  CCut bestCut;
  for (const char* candidate : kCandidates) {
    CCut cut{candidate, false};
    CCandidate block = FindDataBlock(lines, cut);
    // Every delimiter a separator, when that keeps more rows in the block: a tab file
    // with readings left out ("1000.5<TAB><TAB>2.5").
    if (cut.delimiterText != "space") {
      const CCut everyDelimiter{candidate, true};
      const CCandidate other = FindDataBlock(lines, everyDelimiter);
      if (other.first >= 0 &&
          (block.first < 0 || other.first < block.first ||
           (other.first == block.first && other.rows > block.rows)) &&
          !HasEmptyColumn(CBlockRows{lines, everyDelimiter, other.first, other.last, other.columns})) {
        block = other;
        cut = everyDelimiter;
      }
    }
    if (block.first < 0) continue;
    // The earliest data wins; at the same line the finer cut (more columns), then the
    // cut that keeps more lines as rows.
    // Last, a delimiter that the rows really hold beats blanks that pad them.
    const std::string set = GetDelimiterSet(candidate);
    block.written = set != " " && lines[static_cast<std::size_t>(block.first)].find(set) != std::string::npos;
    if (best && std::tuple(-block.first, block.columns, block.rows, block.written) <=
                    std::tuple(-bestBlock.first, bestBlock.columns, bestBlock.rows, bestBlock.written))
      continue;
    bestBlock = block;
    bestCut = cut;
    best = CLayoutProposal{block.first, candidate, block.columns, {}, {}};
  }
  if (best) {
    best->headerLines = FindHeaderLines(lines, best->firstDigitLineIndex, best->columnCount, bestCut);
    best->reading.emptyFields = bestCut.emptyFields;
    ProposeReading(CBlockRows{lines, bestCut, bestBlock.first, bestBlock.last, bestBlock.columns},
                   best->reading);
  }
  return best;
}

CResult ProposeReadingFromFile(const std::string& path, CLayoutProposal& proposal) {
  std::vector<std::string> rows;
  try {
    CTextReader reader;
    reader.Open(path, false);
    std::string line;
    std::uint64_t fullLength = 0;
    std::uint64_t bytes = 0;
    for (int i = 0; reader.ReadLinePrefix(line, kLineKept, fullLength); ++i) {
      if (i < proposal.firstDigitLineIndex) continue;
      if (static_cast<int>(rows.size()) >= kReadingLines || bytes >= kReadingBytes) break;
      if (!line.empty() && line.back() == '\n') line.pop_back();
      bytes += fullLength;
      rows.push_back(line);
    }
  } catch (const CFileError& error) {
    return error.Result();
  }
  if (rows.empty()) return CResult::Done();
  const CCut cut{proposal.delimiterText, proposal.reading.emptyFields};
  CReadingOptions reading;
  reading.emptyFields = cut.emptyFields;
  ProposeReading(CBlockRows{rows, cut, 0, static_cast<int>(rows.size()) - 1, proposal.columnCount}, reading);
  proposal.reading = reading;
  return CResult::Done();
}

CResult ReadDetectionLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  try {
    CTextReader reader;
    reader.Open(path, false);
    std::string line;
    std::uint64_t fullLength = 0;
    while (static_cast<int>(lines.size()) < kDetectionLines &&
           reader.ReadLinePrefix(line, kLineKept, fullLength)) {
      if (!line.empty() && line.back() == '\n') line.pop_back();
      lines.push_back(line);
    }
  } catch (const CFileError& error) {
    return error.Result();
  }
  return CResult::Done();
}

CResult DetectLayout(const std::string& path, std::optional<CLayoutProposal>& proposal) {
  proposal.reset();
  std::vector<std::string> lines;
  CResult read = ReadDetectionLines(path, lines);
  if (read.Ok()) proposal = DetectLayoutInLines(lines);
  if (read.Ok() && proposal) read = ProposeReadingFromFile(path, *proposal);
  return read;
}

}  // namespace corvane
