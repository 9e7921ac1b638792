#include "las/IndexTrack.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/AsciiText.h"

namespace corvane {
namespace {

using CWide = CIndexTrack::CWide;

// Decimal digits a mantissa may hold: 10^36 and its products with small powers stay
// within a signed 128-bit integer.
constexpr int kMostDigits = 36;

CWide PowerOfTen(int n) noexcept {
  CWide p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

CWide Magnitude(CWide value) noexcept { return value < 0 ? -value : value; }

}  // namespace

CIndexTrack::CDecimal CIndexTrack::Parse(std::string_view text) noexcept {
  CDecimal d;
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsAsciiDigit(c)) {
      if (d.mantissa == 0 && c == '0' && !point) continue;  // leading zeros hold nothing
      if (++digits > kMostDigits) return CDecimal();
      d.mantissa = d.mantissa * 10 + (c - '0');
      if (point) ++d.scale;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return CDecimal();
    }
  }
  if (negative) d.mantissa = -d.mantissa;
  d.valid = true;
  return d;
}

CIndexTrack::CDecimal CIndexTrack::Subtract(const CDecimal& a, const CDecimal& b) noexcept {
  if (!a.valid || !b.valid) return CDecimal();
  const int scale = std::max(a.scale, b.scale);
  if (scale - std::min(a.scale, b.scale) > kMostDigits) return CDecimal();
  const CWide limit = PowerOfTen(kMostDigits);
  const auto align = [&](const CDecimal& d, CWide& out) {
    const int shift = scale - d.scale;
    if (shift > 0 && Magnitude(d.mantissa) >= limit / PowerOfTen(shift) && d.mantissa != 0) return false;
    out = d.mantissa * PowerOfTen(shift);
    return true;
  };
  CWide ma = 0;
  CWide mb = 0;
  if (!align(a, ma) || !align(b, mb)) return CDecimal();
  CDecimal difference;
  difference.mantissa = mb - ma;
  difference.scale = scale;
  while (difference.scale > 0 && difference.mantissa % 10 == 0) {
    difference.mantissa /= 10;
    --difference.scale;
  }
  difference.valid = true;
  return difference;
}

std::string CIndexTrack::Format(const CDecimal& value) {
  const bool negative = value.mantissa < 0;
  CWide magnitude = Magnitude(value.mantissa);
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  while (static_cast<int>(digits.size()) <= value.scale) digits.push_back('0');
  std::reverse(digits.begin(), digits.end());
  digits.insert(digits.size() - static_cast<std::size_t>(value.scale), 1, '.');
  // At least four decimals, as every written cell has.
  if (value.scale < 4) digits.append(static_cast<std::size_t>(4 - value.scale), '0');
  if (negative) digits.insert(digits.begin(), '-');
  return digits;
}

std::string CIndexTrack::Difference(std::string_view a, std::string_view b) {
  const CDecimal difference = Subtract(Parse(TrimCSpace(a)), Parse(TrimCSpace(b)));
  return difference.valid ? Format(difference) : std::string();
}

bool CIndexTrack::ParseSmall(std::string_view text, std::int64_t& mantissa, int& scale) noexcept {
  // At most 18 digits: the common cell of a depth or a time, in one 64-bit integer.
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  const char* const digits = p;
  // Unsigned: a text of more digits wraps harmlessly before it is refused below.
  std::uint64_t m = 0;
  while (p < end && static_cast<unsigned>(*p - '0') < 10) m = m * 10 + static_cast<std::uint64_t>(*p++ - '0');
  const char* point = end;
  if (p < end && *p == '.') {
    point = p++;
    while (p < end && static_cast<unsigned>(*p - '0') < 10)
      m = m * 10 + static_cast<std::uint64_t>(*p++ - '0');
  }
  const std::ptrdiff_t count = (p - digits) - (point != end ? 1 : 0);
  if (p != end || count > 18) return false;
  const auto magnitude = static_cast<std::int64_t>(m);
  mantissa = negative ? -magnitude : magnitude;
  scale = point != end ? static_cast<int>(end - point - 1) : 0;
  return true;
}

void CIndexTrack::Add(std::string_view cell) {
  std::size_t begin = 0;
  while (begin < cell.size() && cell[begin] == ' ') ++begin;
  const std::string_view text = cell.substr(begin);
  if (m_rows == 0) m_first.assign(text);
  // Kept in a small buffer of its own: most rows are not the last, and an assignment
  // of a string per row would cost more than the rest of this.
  if (text.size() <= sizeof m_lastSmall) {
    std::memcpy(m_lastSmall, text.data(), text.size());
    m_lastSmallLength = text.size();
  } else {
    m_last.assign(text);
    m_lastSmallLength = kLastInString;
  }
  std::int64_t mantissa = 0;
  int scale = 0;
  const bool small = ParseSmall(text, mantissa, scale);
  if (m_rows >= 1 && m_regular) {
    // The common case, every cell with the same decimals in 18 digits: one
    // subtraction and one comparison per row.
    if (small && m_previousSmall && scale == m_previousScale && m_rawValid && scale == m_rawScale) {
      m_regular = mantissa - m_previousMantissa == m_rawStep;
    } else {
      const CDecimal value = small ? CDecimal{mantissa, scale, true} : Parse(text);
      const CDecimal previous =
          m_previousSmall ? CDecimal{m_previousMantissa, m_previousScale, true} : m_previous;
      const CDecimal step = Subtract(previous, value);
      if (m_rows == 1) {
        m_step = step;
        m_regular = step.valid;
        m_rawValid = small && m_previousSmall && scale == m_previousScale;
        m_rawStep = mantissa - m_previousMantissa;
        m_rawScale = scale;
      } else {
        m_regular = step.valid && step.mantissa == m_step.mantissa && step.scale == m_step.scale;
        m_rawValid = false;
      }
    }
  }
  m_previousSmall = small;
  m_previousMantissa = mantissa;
  m_previousScale = scale;
  if (!small) m_previous = Parse(text);
  ++m_rows;
}

std::string CIndexTrack::Step() const {
  if (m_rows < 2 || !m_regular || !m_step.valid) return "0.0000";
  return Format(m_step);
}

}  // namespace corvane
