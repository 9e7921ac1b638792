#include "las/ValueReader.h"

#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"

namespace corvane {

namespace {

bool IsCommentLine(std::string_view line) noexcept {
  for (char c : line) {
    if (!IsCSpace(c)) return c == '#';
  }
  return false;
}

}  // namespace

void CValueReader::Reset() {
  m_pending.clear();
  m_start = 0;
  m_atEnd = false;
}

std::optional<std::string_view> CValueReader::TakeValue(CTextReader& source) {
  std::size_t digit = m_start;
  while (digit < m_pending.size() && !IsAsciiDigit(m_pending[digit])) ++digit;
  while (digit >= m_pending.size()) {
    // Nothing with a digit is left: whatever remains is dropped with the next line.
    std::string_view line;
    if (!source.NextLine(line)) {
      m_atEnd = true;
      m_pending.clear();
      m_start = 0;
      return std::nullopt;
    }
    if (IsCommentLine(line)) continue;
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    m_pending.assign(line);
    for (char& c : m_pending)
      if (c == '\n') c = ' ';
    m_pending += ' ';
    m_start = 0;
    digit = 0;
    while (digit < m_pending.size() && !IsAsciiDigit(m_pending[digit])) ++digit;
  }
  // The value runs to the first white space after its number and takes it along; the
  // blank that stands for the line end guarantees there is one.
  std::size_t end = digit;
  while (!IsCSpace(m_pending[end])) ++end;
  std::string_view value(m_pending.data() + m_start, end + 1 - m_start);
  m_start = end + 1;
  return value;
}

}  // namespace corvane
