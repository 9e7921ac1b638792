#include "ascii/ColumnSplitter.h"

#include <algorithm>
#include <cstdint>

#include "platform/NumberFormat.h"

namespace corvane {

namespace {

// Line ends count as blanks, so a line end becomes trailing white space.
void BlankLineEnds(char* text, std::size_t size) noexcept {
  for (std::size_t i = 0; i < size; ++i) {
    if (text[i] == '\n' || text[i] == '\r') text[i] = ' ';
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

CRowSplitter::CRowSplitter(int fixedWidth, int skipWidth, std::string delimiterSet, int count)
    : m_fixedWidth(fixedWidth),
      m_skipWidth(skipWidth),
      m_delimiterSet(std::move(delimiterSet)),
      m_count(count) {
  for (char c : m_delimiterSet) m_isDelimiter[static_cast<unsigned char>(c)] = true;
  if (m_count > 0) m_cells.reserve(static_cast<std::size_t>(m_count));
}

const std::vector<std::string_view>& CRowSplitter::Split(std::string_view line) {
  // A new list per row and an empty suffix: every column lands whole in its own cell,
  // so the entry cap never applies.
  m_scratch.assign(line.data(), line.size());
  BlankLineEnds(m_scratch.data(), m_scratch.size());
  const std::string_view text = SkipFront(m_scratch, m_skipWidth);
  m_cells.clear();

  const bool limited = m_count >= 0;
  const std::size_t limit = limited ? static_cast<std::size_t>(m_count) : 0;
  if (m_fixedWidth > 0) {
    const std::size_t width = static_cast<std::size_t>(m_fixedWidth);
    for (std::size_t p = 0; p < text.size() && (!limited || m_cells.size() < limit); p += width) {
      m_cells.push_back(text.substr(p, std::min(width, text.size() - p)));
    }
  } else {
    const char* s = text.data();
    const std::size_t size = text.size();
    std::size_t pos = 0;
    while (!limited || m_cells.size() < limit) {
      while (pos < size && IsCSpace(s[pos])) ++pos;
      if (pos == size) break;
      const std::size_t start = pos;
      while (pos < size && !m_isDelimiter[static_cast<unsigned char>(s[pos])]) ++pos;
      m_cells.emplace_back(s + start, pos - start);
      if (pos < size) ++pos;  // the delimiter is consumed
    }
  }
  if (limited) m_cells.resize(limit);
  return m_cells;
}

}  // namespace corvane
