#include "ascii/HeadingCells.h"

#include <algorithm>

#include "ascii/ColumnSplitter.h"
#include "platform/AsciiText.h"

namespace corvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Opening and closing brackets around a unit.
char ClosingOf(char open) {
  switch (open) {
    case '(':
      return ')';
    case '[':
      return ']';
    case '{':
      return '}';
    default:
      return '\0';
  }
}

// The text of the copy the splitter cuts, from which the places are counted: the line
// ends are blanks there and the skip width is gone.
std::string_view AfterSkip(std::string_view text, int skipWidth) {
  if (skipWidth > 0)
    text.remove_prefix(std::min<std::size_t>(static_cast<std::size_t>(skipWidth), text.size()));
  return text;
}

std::vector<CHeadingCell> Cut(std::string line, const CConversionSetup& layout) {
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  // Cut as the data lines are: quoted names lose their quotes, and a date and its time
  // stay one column.
  CColumnList columns;
  SplitColumns(line, columns, CSplitRules::Of(layout), -1, "", static_cast<std::size_t>(kMaxCurveTotal) + 1);
  // The cells stand in the line in their order: each is found after the one before.
  const std::string_view text = AfterSkip(line, layout.skipWidth);
  std::vector<CHeadingCell> cells;
  cells.reserve(columns.size());
  std::size_t from = 0;
  bool placed = true;
  for (const std::string& column : columns) {
    CHeadingCell cell;
    const std::string_view trimmed = TrimCSpace(column);
    cell.text = std::string(trimmed);
    const std::size_t at = placed ? text.find(column, from) : std::string_view::npos;
    placed = at != std::string_view::npos;
    if (placed) {
      const auto lead =
          trimmed.empty() ? std::size_t{0} : static_cast<std::size_t>(trimmed.data() - column.data());
      cell.begin = at + lead;
      cell.end = cell.begin + trimmed.size();
      cell.placed = true;
      from = at + column.size();
    }
    cells.push_back(std::move(cell));
  }
  return cells;
}

bool IsLasNameChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte > 0x20 && byte < 0x7F && c != '.' && c != ':';
}

}  // namespace

std::vector<CHeadingCell> CutHeadingLine(std::string_view line, const CConversionSetup& layout) {
  std::string text(line);
  if (std::string_view(text).substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.erase(0, kByteOrderMark.size());
  // "# DEPT GR" and "~A DEPT GR": the mark is no name. Blanks keep the places.
  std::size_t first = 0;
  while (first < text.size() && IsCSpace(text[first])) ++first;
  if (first < text.size() && text[first] == '#') {
    while (first < text.size() && text[first] == '#') text[first++] = ' ';
  } else if (first < text.size() && text[first] == '~') {
    while (first < text.size() && !IsCSpace(text[first]) && text[first] != ',' && text[first] != ';')
      text[first++] = ' ';
  }
  return Cut(std::move(text), layout);
}

std::vector<CHeadingCell> CutDataLine(std::string_view line, const CConversionSetup& layout) {
  return Cut(std::string(line), layout);
}

bool IsBracketedUnit(std::string_view cell) {
  cell = TrimCSpace(cell);
  return cell.size() >= 2 && ClosingOf(cell.front()) != '\0' && cell.back() == ClosingOf(cell.front()) &&
         cell.find(ClosingOf(cell.front())) == cell.size() - 1;
}

CNameAndUnit SplitNameAndUnit(std::string_view cell) {
  cell = TrimCSpace(cell);
  CNameAndUnit split;
  if (!cell.empty() && (cell.back() == ')' || cell.back() == ']' || cell.back() == '}')) {
    const char close = cell.back();
    const char open = close == ')' ? '(' : close == ']' ? '[' : '{';
    const std::size_t at = cell.rfind(open);
    if (at != std::string_view::npos) {
      split.name = std::string(TrimCSpace(cell.substr(0, at)));
      split.unit = std::string(TrimCSpace(cell.substr(at + 1, cell.size() - at - 2)));
      split.bracketed = true;
      return split;
    }
  }
  split.name = std::string(cell);
  return split;
}

std::string LasMnemonicFrom(std::string_view name) {
  std::string mnemonic;
  for (char c : name) {
    if (IsLasNameChar(c)) {
      mnemonic.push_back(c);
    } else if (!mnemonic.empty() && mnemonic.back() != '_') {
      mnemonic.push_back('_');
    }
  }
  while (!mnemonic.empty() && mnemonic.back() == '_') mnemonic.pop_back();
  return mnemonic;
}

std::string LasUnitFrom(std::string_view unit, const CMnemonicDictionary& dictionary) {
  unit = TrimCSpace(unit);
  if (IsBracketedUnit(unit)) unit = TrimCSpace(unit.substr(1, unit.size() - 2));
  if (std::optional<std::string> conventional = dictionary.ConventionalUnit(unit)) return *conventional;
  std::string written;
  for (char c : unit) {
    if (IsCSpace(c)) continue;
    written.push_back(c == ':' ? '_' : c);
  }
  return written;
}

std::string LasDescriptionFrom(std::string_view text) {
  std::string description;
  for (char c : TrimCSpace(text)) {
    const bool blank = c == ':' || IsCSpace(c);
    if (blank && (description.empty() || description.back() == ' ')) continue;
    description.push_back(blank ? ' ' : c);
  }
  while (!description.empty() && description.back() == ' ') description.pop_back();
  return description;
}

}  // namespace corvane
