#include "ascii/ColumnSplitter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ascii/DateTime.h"
#include "platform/NumberFormat.h"

namespace corvane {

namespace {

// Line ends count as blanks, so a line end becomes trailing white space. A line holds
// one LF at most (at its end) and seldom a CR, so a search for each beats a look at
// every byte.
void BlankLineEnds(char* text, std::size_t size) noexcept {
  for (const char mark : {'\n', '\r'}) {
    char* p = text;
    char* const end = text + size;
    while (p < end) {
      p = static_cast<char*>(std::memchr(p, mark, static_cast<std::size_t>(end - p)));
      if (p == nullptr) break;
      *p++ = ' ';
    }
  }
}

// Drops the skip width from the front of the text.
std::string_view SkipFront(std::string_view text, int skipWidth) noexcept {
  if (skipWidth > 0 && !text.empty()) {
    text.remove_prefix(std::min<std::size_t>(static_cast<std::size_t>(skipWidth), text.size()));
  }
  return text;
}

void AddToEntry(std::string& entry, std::string_view column, std::string_view suffix) {
  if (entry.size() >= kColumnEntryCap) return;
  entry.append(column);
  entry.append(suffix);
}

}  // namespace

std::string GetDelimiterSet(const std::string& delimiterText) {
  if (delimiterText == "space") return " ";
  if (delimiterText == "tab") return "\t";
  return delimiterText;
}

void SplitColumns(std::string_view line, CColumnList& columns, int fixedWidth, int skipWidth, int columnLimit,
                  std::string_view delimiterSet, std::string_view suffix, std::size_t maxColumns) {
  std::string copy(line);
  BlankLineEnds(copy.data(), copy.size());
  const std::string_view text = SkipFront(copy, skipWidth);

  const bool limited = columnLimit >= 0;
  std::size_t i = 0;
  std::int64_t p = 0;  // position in the text when cutting by position
  std::string_view rest = text;
  for (;;) {
    if (limited && i >= static_cast<std::size_t>(columnLimit)) return;  // extra columns dropped, no filling
    if (!limited && i >= maxColumns) return;
    std::string_view column;
    if (fixedWidth > 0) {
      const std::int64_t n = std::min<std::int64_t>(fixedWidth, static_cast<std::int64_t>(text.size()) - p);
      if (n <= 0) break;
      column = text.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(n));
    } else {
      std::size_t start = 0;
      while (start < rest.size() && IsCSpace(rest[start])) ++start;
      rest.remove_prefix(start);
      if (rest.empty()) break;
      const std::size_t at = rest.find_first_of(delimiterSet);
      if (at == std::string_view::npos) {
        column = rest;
        rest = std::string_view();
      } else {
        column = rest.substr(0, at);
        rest.remove_prefix(at + 1);
      }
    }
    if (!limited || i >= columns.size()) columns.emplace_back();
    AddToEntry(columns[i], column, suffix);
    p += fixedWidth;
    ++i;
  }

  // The line has no more columns: the missing ones get the suffix alone.
  if (!limited) return;
  for (; i < static_cast<std::size_t>(columnLimit); ++i) {
    if (i >= columns.size()) columns.emplace_back();
    AddToEntry(columns[i], std::string_view(), suffix);
  }
}

CSplitRules CSplitRules::Of(const CConversionSetup& setup) {
  CSplitRules rules;
  rules.fixedWidth = setup.fixedWidth;
  rules.skipWidth = setup.skipWidth;
  rules.delimiterSet = GetDelimiterSet(setup.delimiterText);
  rules.quotes = setup.reading.quotes;
  rules.emptyFields = setup.reading.emptyFields;
  rules.joinDateTimes = setup.fixedWidth <= 0 && setup.reading.dateTimeColumn > 0 &&
                        rules.delimiterSet.find(' ') != std::string::npos;
  return rules;
}

void SplitColumns(std::string_view line, CColumnList& columns, const CSplitRules& rules, int columnLimit,
                  std::string_view suffix, std::size_t maxColumns) {
  if (rules.Plain()) {
    SplitColumns(line, columns, rules.fixedWidth, rules.skipWidth, columnLimit, rules.delimiterSet, suffix,
                 maxColumns);
    return;
  }
  // The same adding and filling as the plain cut, over the fields the rules give.
  const bool limited = columnLimit >= 0;
  CRowSplitter splitter(rules, -1, limited ? static_cast<std::size_t>(columnLimit) : maxColumns);
  const std::vector<std::string_view>& fields = splitter.Split(line);
  std::size_t i = 0;
  for (; i < fields.size(); ++i) {
    if (!limited || i >= columns.size()) columns.emplace_back();
    AddToEntry(columns[i], fields[i], suffix);
  }
  if (!limited) return;
  for (; i < static_cast<std::size_t>(columnLimit); ++i) {
    if (i >= columns.size()) columns.emplace_back();
    AddToEntry(columns[i], std::string_view(), suffix);
  }
}

CRowSplitter::CRowSplitter(int fixedWidth, int skipWidth, std::string delimiterSet, int count)
    : CRowSplitter(CSplitRules{fixedWidth, skipWidth, std::move(delimiterSet), false, false}, count) {}

CRowSplitter::CRowSplitter(CSplitRules rules, int count, std::size_t maxCells)
    : m_rules(std::move(rules)), m_count(count), m_maxCells(maxCells) {
  for (char c : m_rules.delimiterSet) m_isDelimiter[static_cast<unsigned char>(c)] = true;
  if (m_count > 0) m_cells.reserve(static_cast<std::size_t>(m_count));
}

const std::vector<std::string_view>& CRowSplitter::Split(std::string_view line) {
  // A new list per row and an empty suffix: every column lands whole in its own cell,
  // so the entry cap never applies.
  m_scratch.assign(line.data(), line.size());
  BlankLineEnds(m_scratch.data(), m_scratch.size());
  const std::string_view text = SkipFront(m_scratch, m_rules.skipWidth);
  m_cells.clear();
  m_extra = false;

  const bool limited = m_count >= 0;
  const std::size_t limit = limited ? static_cast<std::size_t>(m_count) : m_maxCells;
  if (m_rules.fixedWidth > 0) {
    SplitByPosition(text, limited, limit);
  } else if (!m_rules.emptyFields && !m_rules.quotes && !m_rules.joinDateTimes) {
    // The plain cut, the one of nearly every file: runs of white space before a field
    // are passed over.
    const char* s = text.data();
    const std::size_t size = text.size();
    std::size_t pos = 0;
    while (m_cells.size() < limit) {
      while (pos < size && IsCSpace(s[pos])) ++pos;
      if (pos == size) break;
      const std::size_t start = pos;
      while (pos < size && !m_isDelimiter[static_cast<unsigned char>(s[pos])]) ++pos;
      m_cells.emplace_back(s + start, pos - start);
      if (pos < size) ++pos;  // the delimiter is consumed
    }
    if (limited && pos < size && m_cells.size() >= limit) m_extra = !IsBlankText(text.substr(pos));
  } else {
    SplitAtDelimiters(m_scratch.data() + (text.data() - m_scratch.data()), text.size(), limited, limit);
  }
  m_fields = m_cells.size();
  if (limited) m_cells.resize(limit);
  return m_cells;
}

void CRowSplitter::SplitByPosition(std::string_view text, bool limited, std::size_t limit) {
  const std::size_t width = static_cast<std::size_t>(m_rules.fixedWidth);
  std::size_t p = 0;
  for (; p < text.size() && m_cells.size() < limit; p += width)
    m_cells.push_back(text.substr(p, std::min(width, text.size() - p)));
  if (limited && p < text.size()) m_extra = !IsBlankText(text.substr(p));
}

void CRowSplitter::SplitAtDelimiters(char* s, std::size_t size, bool limited, std::size_t limit) {
  // With empty fields every delimiter ends a field, so a line of n delimiters holds
  // n + 1 fields; white space that is no delimiter stays in its field (the reading
  // trims it). Without, runs of white space before a field are passed over.
  std::size_t pos = 0;
  bool more = true;  // a field begins at pos
  while (more && m_cells.size() < limit) {
    if (!m_rules.emptyFields) {
      while (pos < size && IsCSpace(s[pos])) ++pos;
      if (pos == size) break;
    }
    std::size_t quote = pos;
    while (quote < size && IsCSpace(s[quote]) && !m_isDelimiter[static_cast<unsigned char>(s[quote])])
      ++quote;
    std::size_t end;
    if (m_rules.quotes && quote < size && s[quote] == '"') {
      const std::size_t start = quote;
      end = QuotedField(s, size, quote);
      m_cells.emplace_back(s + start, m_quotedLength);
    } else {
      end = pos;
      while (end < size && !m_isDelimiter[static_cast<unsigned char>(s[end])]) ++end;
      if (m_rules.joinDateTimes) end = DateTimeEnd(s, size, pos, end);
      m_cells.emplace_back(s + pos, end - pos);
    }
    more = end < size;
    pos = more ? end + 1 : end;  // the delimiter is consumed
  }
  if (limited && m_cells.size() >= limit && pos < size)
    m_extra = !IsBlankText(std::string_view(s + pos, size - pos));
}

std::size_t CRowSplitter::DateTimeEnd(const char* s, std::size_t size, std::size_t pos,
                                      std::size_t end) const {
  // Cheap looks first: a date starts and ends with a digit, a time holds a colon.
  if (end >= size || s[end] != ' ' || end == pos || !IsAsciiDigit(s[pos]) || !IsAsciiDigit(s[end - 1]))
    return end;
  std::size_t time = end;
  while (time < size && s[time] == ' ') ++time;
  std::size_t timeEnd = time;
  while (timeEnd < size && !m_isDelimiter[static_cast<unsigned char>(s[timeEnd])]) ++timeEnd;
  const std::string_view next(s + time, timeEnd - time);
  if (next.empty() || !IsAsciiDigit(next.front()) || next.find(':') == std::string_view::npos) return end;
  const std::string_view date(s + pos, end - pos);
  if (!ParseDateTime(date) || !ParseDateTime(std::string_view(s + pos, timeEnd - pos))) return end;
  return timeEnd;
}

std::size_t CRowSplitter::QuotedField(char* s, std::size_t size, std::size_t pos) {
  // The field's text is compacted in place from `pos`: quotes taken off, a doubled
  // quote inside them made one; text after the closing quote up to the delimiter is
  // kept as it stands. An unclosed quote runs to the end of the line.
  std::size_t w = pos;
  std::size_t r = pos + 1;
  for (;;) {
    if (r >= size) break;
    if (s[r] == '"') {
      if (r + 1 < size && s[r + 1] == '"') {
        s[w++] = '"';
        r += 2;
        continue;
      }
      ++r;  // the closing quote
      while (r < size && !m_isDelimiter[static_cast<unsigned char>(s[r])]) s[w++] = s[r++];
      break;
    }
    s[w++] = s[r++];
  }
  m_quotedLength = w - pos;
  return r;
}

}  // namespace corvane
