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
  int fixedWidth = 0;  // a loaded layout's widths, when the marks are proposed for it
  int skipWidth = 0;
  bool joinDateTimes = false;  // a date and the time of day after it are one field
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
  rules.fixedWidth = cut.fixedWidth;
  rules.skipWidth = cut.skipWidth;
  rules.delimiterSet = GetDelimiterSet(cut.delimiterText);
  rules.quotes = true;
  rules.emptyFields = cut.emptyFields;
  rules.joinDateTimes = cut.joinDateTimes;
  CColumnList columns;
  SplitColumns(line, columns, rules, -1, "");
  for (auto& column : columns) column = std::string(TrimCSpace(column));
  return columns;
}

enum class FieldKind { Empty, Number, Missing, DateTime, Text, Garbled };

// Digits run together with signs, points or blanks ("1003.00-9999.25", "00<TAB>40"): readings
// cut wrongly, never the text of a column of names.
bool IsGarbledNumber(std::string_view text) {
  bool digit = false;
  for (char c : text) {
    if (IsAsciiDigit(c))
      digit = true;
    else if (c != '.' && c != ',' && c != '+' && c != '-' && !IsCSpace(c))
      return false;
  }
  return digit;
}

// Numbers, date-times and the texts that stand for a missing reading all belong in a
// row of readings.
FieldKind KindOf(const std::string& field) {
  if (field.empty()) return FieldKind::Empty;
  if (IsNumberText(field) || IsCommaDecimalText(field)) return FieldKind::Number;
  if (IsCommonNullText(field)) return FieldKind::Missing;
  if (ParseDateTime(field)) return FieldKind::DateTime;
  return IsGarbledNumber(field) ? FieldKind::Garbled : FieldKind::Text;
}

// How a line reads when cut one way: `width` fields, `numbers` of them numbers (or
// date-times), whether every field is a reading or empty (a missing value between
// two delimiters), and the kind of each field.
struct CLineShape {
  int width = 0;
  int numbers = 0;
  bool allNumbers = false;
  bool wordy = false;  // a field that is no reading holds a letter
  std::vector<FieldKind> kinds;
};

CLineShape Shape(std::string_view line, const CCut& cut) {
  const auto fields = Fields(line, cut);
  CLineShape shape;
  shape.width = static_cast<int>(fields.size());
  shape.kinds.reserve(fields.size());
  bool other = false;
  for (const auto& field : fields) {
    const FieldKind kind = KindOf(field);
    shape.kinds.push_back(kind);
    switch (kind) {
      case FieldKind::Number:
      case FieldKind::DateTime:
        ++shape.numbers;
        break;
      case FieldKind::Text:
        shape.wordy = shape.wordy || std::any_of(field.begin(), field.end(), IsAsciiLetter);
        other = true;
        break;
      case FieldKind::Garbled:
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
  int last = -1;                 // the last line of the block
  std::vector<int> textColumns;  // columns of text (names, formations), not readings
};

// Which columns of the rows of one width from `from` to `to` (blank lines aside) hold
// text, not readings: those with more texts than numbers. Well names, formations and
// lithologies are such columns; a name or a flag in a column of readings is outvoted.
std::vector<bool> TextColumns(const std::vector<CLineShape>& shapes, const std::vector<bool>& blank,
                              std::size_t from, std::size_t to, int width) {
  std::vector<int> balance(static_cast<std::size_t>(width), 0);
  std::vector<bool> garbled(balance.size(), false);
  for (std::size_t i = from; i < to; ++i) {
    if (blank[i]) continue;
    for (std::size_t k = 0; k < balance.size(); ++k) {
      const FieldKind kind = shapes[i].kinds[k];
      if (kind == FieldKind::Text) ++balance[k];
      if (kind == FieldKind::Number || kind == FieldKind::DateTime) --balance[k];
      garbled[k] = garbled[k] || kind == FieldKind::Garbled;
    }
  }
  std::vector<bool> text(balance.size());
  for (std::size_t k = 0; k < balance.size(); ++k) text[k] = balance[k] > 0 && !garbled[k];
  return text;
}

// A table is readings with perhaps some text beside them, not notes with a number here
// and there: at least as many columns of readings as of text, and two of them when
// there is text.
bool IsTableOfReadings(const std::vector<bool>& textColumns) {
  const auto texts = static_cast<std::size_t>(std::count(textColumns.begin(), textColumns.end(), true));
  const std::size_t readings = textColumns.size() - texts;
  return readings >= 1 && readings >= texts && (texts == 0 || readings >= 2);
}

// A row that fits the columns: no text where the rows hold readings, and a reading in
// one of those at least.
bool FitsColumns(const CLineShape& shape, const std::vector<bool>& textColumns) {
  bool reading = false;
  for (std::size_t k = 0; k < textColumns.size(); ++k) {
    if (textColumns[k]) continue;
    const FieldKind kind = shape.kinds[k];
    if (kind == FieldKind::Text || kind == FieldKind::Garbled) return false;
    reading = reading || kind == FieldKind::Number || kind == FieldKind::DateTime;
  }
  return reading;
}

// Whether data may begin right after a line: one of text (names, notes, "KEY: value",
// a line of dashes), or a heading of the block's width that writes words where the
// block holds readings ("DEPTH 0.3 0.5 1 2 4": the bins of an NMR distribution).
bool OpensData(const CLineShape& before, std::string_view line, int width,
               const std::vector<bool>& textColumns) {
  if (!before.allNumbers && !IsMostlyNumbers(before) && (HasLetter(line) || IsSeparatorLine(line)))
    return true;
  return before.width == width && before.wordy && !FitsColumns(before, textColumns);
}

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
  std::size_t before = count;  // the last line that is not blank; none yet
  for (std::size_t first = 0; first < count; ++first) {
    if (blank[first]) continue;
    const std::size_t previous = std::exchange(before, first);
    const CLineShape& shape = shapes[first];
    if (shape.numbers == 0) continue;
    const int width = shape.width;
    // The columns, from the lines of this width that hold numbers.
    std::size_t runEnd = first;
    for (std::size_t i = first; i < count; ++i) {
      if (blank[i]) continue;
      if (shapes[i].width != width || shapes[i].numbers == 0) break;
      runEnd = i + 1;
    }
    const std::vector<bool> textColumns = TextColumns(shapes, blank, first, runEnd, width);
    if (!IsTableOfReadings(textColumns) || !FitsColumns(shape, textColumns)) continue;
    if (previous < count && !OpensData(shapes[previous], lines[previous], width, textColumns)) continue;
    int run = 0;
    std::size_t last = first;
    for (std::size_t i = first; i < count; ++i) {
      if (blank[i]) continue;
      if (shapes[i].width != width || !(FitsColumns(shapes[i], textColumns) || IsMostlyNumbers(shapes[i])))
        break;
      ++run;
      last = i;
    }
    const bool toTheEnd = run == nonBlankFrom[first];
    // A lone number is no evidence of a table.
    if (run == 1 && width < 2) continue;
    if (toTheEnd || run >= kConvincingRun) {
      CCandidate found{static_cast<int>(first), width, run, false, static_cast<int>(last), {}};
      for (std::size_t k = 0; k < textColumns.size(); ++k)
        if (textColumns[k]) found.textColumns.push_back(static_cast<int>(k));
      return found;
    }
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
  // A date and its time, one column of the rows, may be named in two words ("Date Time").
  int joined = 0;
  if (cut.joinDateTimes && first >= 0 && static_cast<std::size_t>(first) < lines.size()) {
    for (const std::string& field : Fields(lines[static_cast<std::size_t>(first)], cut))
      if (field.find(' ') != std::string::npos) ++joined;
  }
  auto fieldsOf = [&](int index) {
    const auto& line = lines[static_cast<std::size_t>(index)];
    const int fields = MayHoldNames(line, cut) ? HeaderFieldCount(line, cut) : -1;
    return fields > columns && fields <= columns + joined ? columns : fields;
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

// A column of text whose cells begin with digits ("15/9-19 A", "3B"): read for their
// leading number they would give well names as readings, so only whole numbers count.
void ProposeWholeCells(const CBlockRows& block, CReadingOptions& reading) {
  const auto columns = static_cast<std::size_t>(block.columns);
  std::vector<int> balance(columns, 0);
  std::vector<bool> leadingNumber(columns, false);
  block.ForEachRow([&](const std::string&, const std::vector<std::string>& fields) {
    for (std::size_t k = 0; k < columns; ++k) {
      const FieldKind kind = KindOf(fields[k]);
      if (kind == FieldKind::Text) {
        ++balance[k];
        double value = 0;
        if (ScanDouble(fields[k], value)) leadingNumber[k] = true;
      } else if (kind == FieldKind::Number || kind == FieldKind::DateTime) {
        --balance[k];
      }
    }
  });
  for (std::size_t k = 0; k < columns; ++k)
    if (balance[k] > 0 && leadingNumber[k]) reading.wholeCells = true;
}

constexpr std::array<CReadingProposer, 6> kReadingProposers = {ProposeQuotesAndDecimalComma,
                                                               ProposeEmptyFields,
                                                               ProposeNullMarkers,
                                                               ProposeDateTime,
                                                               ProposeDigits,
                                                               ProposeWholeCells};

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

std::string DescribeLayout(const CLayoutProposal& proposal) {
  std::string cut;
  if (proposal.delimiterText == "space")
    cut = "spaces";
  else if (proposal.delimiterText == "tab")
    cut = "tabs";
  else if (proposal.delimiterText == ",")
    cut = "commas";
  else if (proposal.delimiterText == ";")
    cut = "semicolons";
  else
    cut = "\"" + proposal.delimiterText + "\"";
  std::string text = FormatInt(proposal.columnCount) + (proposal.columnCount == 1 ? " column" : " columns") +
                     " cut at " + cut + ", data from line " + FormatInt(proposal.firstDigitLineIndex + 1);
  const std::size_t texts = proposal.textColumns.size();
  if (texts > 0) {
    text += texts == 1 ? ", column " : ", columns ";
    for (std::size_t i = 0; i < texts; ++i) {
      if (i > 0) text += i + 1 == texts ? " and " : ", ";
      text += FormatInt(proposal.textColumns[i] + 1);
    }
    text += texts == 1 ? " holds text" : " hold text";
  }
  const std::string reading = DescribeReading(proposal.reading);
  if (!reading.empty()) text += ", " + reading;
  return text;
}

std::string ExplainNoLayout(const std::vector<std::string>& lines) {
  if (lines.empty()) return "the file is empty.";
  if (std::all_of(lines.begin(), lines.end(), [](const std::string& l) { return IsBlankText(l); }))
    return "the file holds only blank lines.";
  // Rows of numbers under any cut, and where readings run together.
  std::vector<int> widths;
  int rows = 0;
  int garbled = -1;
  std::string garbledText;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsBlankText(lines[i])) continue;
    int width = 0;
    for (const char* candidate : kCandidates) {
      const CCut cut{candidate, false};
      const CLineShape shape = Shape(lines[i], cut);
      if (shape.allNumbers && shape.width > width) width = shape.width;
      if (garbled < 0 && cut.delimiterText == "space") {
        for (const std::string& field : Fields(lines[i], cut)) {
          if (KindOf(field) == FieldKind::Garbled && field.find_first_of("+-", 1) != std::string::npos) {
            garbled = static_cast<int>(i);
            garbledText = field;
            break;
          }
        }
      }
    }
    if (width > 0) {
      ++rows;
      if (std::find(widths.begin(), widths.end(), width) == widths.end()) widths.push_back(width);
    }
  }
  if (garbled >= 0)
    return "line " + FormatInt(garbled + 1) + " holds readings that run together (\"" + garbledText +
           "\"): the columns have a fixed width; give Fixed Width.";
  if (rows == 0)
    return "no line of the first " + FormatInt(static_cast<long long>(lines.size())) +
           " is a row of numbers.";
  if (widths.size() > 1)
    return "the rows of numbers change their number of columns from line to line (as the depth groups of a "
           "wrapped LAS file do).";
  return "the rows of numbers are too few or stand among text: " + FormatInt(kConvincingRun) +
         " rows of the same columns in a row, or rows up to the end of the file, make a table.";
}

namespace {

// The proposal, cutting at blanks with or without dates and times joined.
std::optional<CLayoutProposal> Detect(const std::vector<std::string>& lines, bool joinDateTimes) {
  std::optional<CLayoutProposal> best;
  CCandidate bestBlock;
  CCut bestCut;
  for (const char* candidate : kCandidates) {
    CCut cut{candidate, false};
    cut.joinDateTimes = joinDateTimes && cut.delimiterText == "space";
    CCandidate block = FindDataBlock(lines, cut);
    // Every delimiter a separator, when that keeps more rows in the block: a tab file
    // with readings left out ("1000.5<TAB><TAB>2.5").
    if (cut.delimiterText != "space") {
      const CCut everyDelimiter{candidate, true};
      const CCandidate other = FindDataBlock(lines, everyDelimiter);
      // A tab file may pad its columns with tabs; commas and semicolons pad nothing, so a
      // column left empty in every row there is a curve without readings.
      const bool padded =
          other.first >= 0 && cut.delimiterText == "tab" &&
          HasEmptyColumn(CBlockRows{lines, everyDelimiter, other.first, other.last, other.columns});
      if (other.first >= 0 &&
          (block.first < 0 || other.first < block.first ||
           (other.first == block.first && other.rows > block.rows)) &&
          !padded) {
        block = other;
        cut = everyDelimiter;
      }
    }
    if (block.first < 0) continue;
    // The earliest data wins; at the same line the cut that reads more columns as
    // readings (a wrong cut leaves readings in text), then the finer cut (more
    // columns), then the cut that keeps more lines as rows.
    // Last, a delimiter that the rows really hold beats blanks that pad them.
    const std::string set = GetDelimiterSet(candidate);
    block.written = set != " " && lines[static_cast<std::size_t>(block.first)].find(set) != std::string::npos;
    const auto rank = [](const CCandidate& c) {
      return std::tuple(-c.first, -static_cast<int>(c.textColumns.size()), c.columns, c.rows, c.written);
    };
    if (best && rank(block) <= rank(bestBlock)) continue;
    bestBlock = block;
    bestCut = cut;
    best = CLayoutProposal{block.first, candidate, block.columns, {}, {}, block.textColumns};
  }
  if (best) {
    best->headerLines = FindHeaderLines(lines, best->firstDigitLineIndex, best->columnCount, bestCut);
    best->reading.emptyFields = bestCut.emptyFields;
    ProposeReading(CBlockRows{lines, bestCut, bestBlock.first, bestBlock.last, bestBlock.columns},
                   best->reading);
  }
  return best;
}

}  // namespace

std::optional<CLayoutProposal> DetectLayoutInLines(const std::vector<std::string>& lines) {
  // A blank between a date and its time cuts them apart only when no column is read as
  // date-times (as the conversion cuts them).
  std::optional<CLayoutProposal> joined = Detect(lines, true);
  if (joined && joined->delimiterText == "space" && joined->reading.dateTimeColumn == 0)
    return Detect(lines, false);
  return joined;
}

CMarksProposal ProposeMarks(const std::vector<std::string>& lines, const CConversionSetup& layout) {
  CMarksProposal marks;
  if (layout.storedFirstDataLine >= 0) {
    marks.firstDigitLineIndex = layout.storedFirstDataLine;
    marks.stored = true;
  } else if (const auto proposal = DetectLayoutInLines(lines)) {
    marks.firstDigitLineIndex = proposal->firstDigitLineIndex;
  }
  if (marks.firstDigitLineIndex < 0 || static_cast<std::size_t>(marks.firstDigitLineIndex) >= lines.size()) {
    marks.firstDigitLineIndex = -1;
    return marks;
  }
  const CSplitRules rules = CSplitRules::Of(layout);
  CCut cut{layout.delimiterText, rules.emptyFields, rules.fixedWidth, rules.skipWidth, rules.joinDateTimes};
  const int columns =
      layout.userCurveTotal >= 1
          ? layout.userCurveTotal
          : static_cast<int>(Fields(lines[static_cast<std::size_t>(marks.firstDigitLineIndex)], cut).size());
  marks.headerLines = FindHeaderLines(lines, marks.firstDigitLineIndex, columns, cut);
  return marks;
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
  CCut cut{proposal.delimiterText, proposal.reading.emptyFields};
  cut.joinDateTimes = cut.delimiterText == "space" && proposal.reading.dateTimeColumn > 0;
  CReadingOptions reading;
  reading.emptyFields = cut.emptyFields;
  ProposeReading(CBlockRows{rows, cut, 0, static_cast<int>(rows.size()) - 1, proposal.columnCount}, reading);
  // The columns were counted with the date-times whole: a date that fails further down
  // does not undo that.
  if (cut.joinDateTimes && reading.dateTimeColumn == 0)
    reading.dateTimeColumn = proposal.reading.dateTimeColumn;
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
