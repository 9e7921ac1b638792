#include "ascii/LayoutDetector.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "ascii/ColumnSplitter.h"
#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane {

namespace {

// The delimiter texts tried, in the order preferred when two give the same layout.
constexpr std::array<const char*, 4> kCandidates = {"space", "tab", ",", ";"};
// A block of numeric rows this long is data even when other lines follow it.
constexpr int kConvincingRun = 10;
// Names and units: more lines above the data would as likely be a title or notes.
constexpr int kMaxHeaderLines = 2;
// Only the head of a very long line is looked at.
constexpr std::size_t kLineKept = 64 * 1024;

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

// The fields of a line as the conversion would cut them with this delimiter text.
std::vector<std::string> Fields(std::string_view line, const std::string& delimiterText) {
  CColumnList columns;
  SplitColumns(line, columns, 0, 0, -1, GetDelimiterSet(delimiterText), "");
  for (auto& column : columns) column = std::string(TrimCSpace(column));
  return columns;
}

// How a line reads when cut with one delimiter: `width` fields, `numbers` of them
// numbers, and whether every field is a number or empty (a missing value between two
// delimiters).
struct CLineShape {
  int width = 0;
  int numbers = 0;
  bool allNumbers = false;
};

CLineShape Shape(std::string_view line, const std::string& delimiterText) {
  const auto fields = Fields(line, delimiterText);
  CLineShape shape;
  shape.width = static_cast<int>(fields.size());
  bool other = false;
  for (const auto& field : fields) {
    if (IsNumberText(field))
      ++shape.numbers;
    else if (!field.empty())
      other = true;
  }
  shape.allNumbers = shape.numbers > 0 && !other;
  return shape;
}

// A row of numbers: its width; 0 for any other line.
int NumericColumns(std::string_view line, const std::string& delimiterText) {
  const CLineShape shape = Shape(line, delimiterText);
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
};

// The first line from which the lines are rows of the same number of columns, up to
// the end of the lines looked at or for a convincing stretch; blank lines between
// the rows do not interrupt them.
CCandidate FindDataBlock(const std::vector<std::string>& lines, const std::string& delimiterText) {
  const std::size_t count = lines.size();
  std::vector<CLineShape> shapes(count);
  std::vector<bool> blank(count);
  std::vector<int> nonBlankFrom(count + 1, 0);
  for (std::size_t i = count; i-- > 0;) {
    blank[i] = IsBlankText(lines[i]);
    if (!blank[i]) shapes[i] = Shape(lines[i], delimiterText);
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
    for (std::size_t i = first; i < count; ++i) {
      if (blank[i]) continue;
      if (shapes[i].width != width || !(shapes[i].allNumbers || IsMostlyNumbers(shapes[i]))) break;
      ++run;
    }
    const bool toTheEnd = run == nonBlankFrom[first];
    // A lone number is no evidence of a table.
    if (run == 1 && width < 2) continue;
    if (toTheEnd || run >= kConvincingRun) return {static_cast<int>(first), width, run};
  }
  return {};
}

// The names of a header line: a leading comment mark or section mark ("#", "~A")
// is not one of them.
int HeaderFieldCount(std::string_view line, const std::string& delimiterText) {
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
  return static_cast<int>(Fields(text, delimiterText).size());
}

bool MayHoldNames(std::string_view line, const std::string& delimiterText) {
  // Key and value lines ("WELL: ...", "NULL = ...") describe the file, not the columns.
  if (line.find(':') != std::string_view::npos || line.find('=') != std::string_view::npos) return false;
  return NumericColumns(line, delimiterText) == 0;
}

// The lines just above the data that name the columns (and give their units): as
// many fields as there are columns; a units line below the names may have fewer.
std::vector<int> FindHeaderLines(const std::vector<std::string>& lines, int first, int columns,
                                 const std::string& delimiterText) {
  std::vector<int> found;
  bool started = false;
  int i = first - 1;
  auto fieldsOf = [&](int index) {
    const auto& line = lines[static_cast<std::size_t>(index)];
    return MayHoldNames(line, delimiterText) ? HeaderFieldCount(line, delimiterText) : -1;
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

}  // namespace

std::optional<CLayoutProposal> DetectLayoutInLines(const std::vector<std::string>& lines) {
  std::optional<CLayoutProposal> best;
  CCandidate bestBlock;
  for (const char* candidate : kCandidates) {
    CCandidate block = FindDataBlock(lines, candidate);
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
    best = CLayoutProposal{block.first, candidate, block.columns, {}};
  }
  if (best)
    best->headerLines =
        FindHeaderLines(lines, best->firstDigitLineIndex, best->columnCount, best->delimiterText);
  return best;
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
  return read;
}

}  // namespace corvane
