#pragma once
// Cutting one line of the ASCII file into column texts.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "setup/ConversionSetup.h"

namespace corvane {

using CColumnList = std::vector<std::string>;

// An entry holding this many characters or more receives no further text.
inline constexpr std::size_t kColumnEntryCap = 30720;

// "space" -> one blank, "tab" -> one tab, any other text is its own set of
// characters (exact, case-sensitive comparison).
std::string GetDelimiterSet(const std::string& delimiterText);

// Cuts `line` into columns and appends them to `columns` (see the rules of the
// conversion setup): fixedWidth > 0 cuts by position, otherwise at the delimiter
// set; skipWidth characters are dropped first; columnLimit >= 0 yields exactly that
// many columns (extra dropped, missing ones filled with the suffix alone), < 0 as
// many as the line holds (each appended as a new entry). Each column's text is
// followed by `suffix`. LF and CR in the line count as blanks. Without a limit, the
// cutting stops once `maxColumns` columns are taken.
void SplitColumns(std::string_view line, CColumnList& columns, int fixedWidth, int skipWidth, int columnLimit,
                  std::string_view delimiterSet, std::string_view suffix,
                  std::size_t maxColumns = static_cast<std::size_t>(-1));

// How a data line is cut: the layout of the setup and the reading choices that change
// the cut at delimiters (quotes and empty fields; cutting by position ignores them).
struct CSplitRules {
  int fixedWidth = 0;
  int skipWidth = 0;
  std::string delimiterSet;
  bool quotes = false;       // RFC 4180: a field in double quotes keeps its delimiters, "" is a quote
  bool emptyFields = false;  // every delimiter separates, white space ones too: no run counts as one
  // Cutting at blanks, a date followed by blanks and a time of day ("2019-03-01 10:30:00")
  // is one field: the date-times of a column read as such are not cut in two.
  bool joinDateTimes = false;

  static CSplitRules Of(const CConversionSetup& setup);
  // True when the cut is the plain one of SplitColumns.
  bool Plain() const noexcept { return fixedWidth > 0 || (!quotes && !emptyFields && !joinDateTimes); }
};

// SplitColumns with the reading choices of `rules`; with plain rules exactly the cut above.
void SplitColumns(std::string_view line, CColumnList& columns, const CSplitRules& rules, int columnLimit,
                  std::string_view suffix, std::size_t maxColumns = static_cast<std::size_t>(-1));

// The row form used per data line by the depth scan and the data section: the same
// cut as SplitColumns with a new empty list, the limit `count` and an empty suffix,
// without allocating per line. After the call `cells` holds exactly `count` views
// (empty for missing columns) into `scratch`, which the caller keeps between lines.
// A negative `count` gives as many views as the line holds, at most `maxCells`.
class CRowSplitter {
 public:
  CRowSplitter(int fixedWidth, int skipWidth, std::string delimiterSet, int count);
  CRowSplitter(CSplitRules rules, int count, std::size_t maxCells = static_cast<std::size_t>(-1));
  const std::vector<std::string_view>& Split(std::string_view line);

  // Of the last line split: the fields it held up to `count` (fewer: a short row), and
  // whether it held more than `count` (a long row: text other than white space beyond
  // the last field taken).
  std::size_t Fields() const noexcept { return m_fields; }
  bool Extra() const noexcept { return m_extra; }

 private:
  void SplitByPosition(std::string_view text, bool limited, std::size_t limit);
  void SplitAtDelimiters(char* text, std::size_t size, bool limited, std::size_t limit);
  // The field from `pos`, its quotes taken off in place; returns where the field ends
  // (at its delimiter or the end of the text).
  std::size_t QuotedField(char* text, std::size_t size, std::size_t pos);
  // Where the field [pos, end) ends when it is a date that a time of day follows after
  // blanks: the end of the time; else `end`.
  std::size_t DateTimeEnd(const char* text, std::size_t size, std::size_t pos, std::size_t end) const;

  CSplitRules m_rules;
  bool m_isDelimiter[256] = {};
  int m_count;
  std::size_t m_maxCells;
  std::string m_scratch;
  std::vector<std::string_view> m_cells;
  std::size_t m_fields = 0;
  bool m_extra = false;
  std::size_t m_quotedLength = 0;  // of the field QuotedField compacted last
};

}  // namespace corvane
