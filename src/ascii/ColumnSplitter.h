#pragma once
// Cutting one line of the ASCII file into column texts.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

// The row form used per data line by the depth scan and the data section: the same
// cut as SplitColumns with a new empty list, the limit `count` and an empty suffix,
// without allocating per line. After the call `cells` holds exactly `count` views
// (empty for missing columns) into `scratch`, which the caller keeps between lines.
class CRowSplitter {
 public:
  CRowSplitter(int fixedWidth, int skipWidth, std::string delimiterSet, int count);
  const std::vector<std::string_view>& Split(std::string_view line);

 private:
  int m_fixedWidth;
  int m_skipWidth;
  std::string m_delimiterSet;
  bool m_isDelimiter[256] = {};
  int m_count;
  std::string m_scratch;
  std::vector<std::string_view> m_cells;
};

}  // namespace corvane
