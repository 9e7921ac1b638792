#include "lasfile/LasDecimal.h"

#include <algorithm>

namespace corvane {
namespace {

LasWide Pow10(int n) noexcept {
  LasWide result = 1;
  for (int i = 0; i < n; ++i) result *= 10;
  return result;
}

}  // namespace

bool CLasDecimal::Parse(std::string_view text, CLasDecimal& out) noexcept {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  LasWide units = 0;
  int digits = 0;        // significant digits taken so far (leading zeros skipped)
  int scale = 0;         // digits after the point
  int pendingZeros = 0;  // fraction zeros not yet known to be significant
  bool anyDigit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      anyDigit = true;
      if (point) {
        if (c == '0') {
          ++pendingZeros;
          continue;
        }
        // Zeros before a non-zero fraction digit are significant once it comes.
        for (; pendingZeros > 0; --pendingZeros) {
          if (units != 0) ++digits;
          units *= 10;
          if (digits > kMaxDigits || ++scale > kMaxDigits) return false;
        }
        ++scale;
      } else if (c == '0' && units == 0) {
        continue;  // a leading zero
      }
      if (units != 0 || c != '0') ++digits;
      if (digits > kMaxDigits || scale > kMaxDigits) return false;
      units = units * 10 + (c - '0');
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!anyDigit) return false;
  out.m_units = negative ? -units : units;
  out.m_scale = scale;
  out.Normalize();
  return true;
}

void CLasDecimal::Normalize() noexcept {
  if (m_units == 0) {
    m_scale = 0;
    return;
  }
  while (m_scale > 0 && m_units % 10 == 0) {
    m_units /= 10;
    --m_scale;
  }
}

void CLasDecimal::Align(const CLasDecimal& a, const CLasDecimal& b, LasWide& ua, LasWide& ub) noexcept {
  const int scale = std::max(a.m_scale, b.m_scale);
  ua = a.m_units * Pow10(scale - a.m_scale);
  ub = b.m_units * Pow10(scale - b.m_scale);
}

int CLasDecimal::Compare(const CLasDecimal& a, const CLasDecimal& b) noexcept {
  LasWide ua = 0;
  LasWide ub = 0;
  Align(a, b, ua, ub);
  return ua < ub ? -1 : (ua > ub ? 1 : 0);
}

CLasDecimal CLasDecimal::Difference(const CLasDecimal& a, const CLasDecimal& b) noexcept {
  LasWide ua = 0;
  LasWide ub = 0;
  Align(a, b, ua, ub);
  CLasDecimal out;
  out.m_units = ua - ub;
  out.m_scale = std::max(a.m_scale, b.m_scale);
  out.Normalize();
  return out;
}

bool CLasDecimal::IsWholeMultiple(const CLasDecimal& a, const CLasDecimal& b) noexcept {
  if (b.m_units == 0) return false;
  LasWide ua = 0;
  LasWide ub = 0;
  Align(a, b, ua, ub);
  return ua % ub == 0;
}

std::string CLasDecimal::ToString() const {
  LasWide magnitude = m_units < 0 ? -m_units : m_units;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  if (m_scale > 0) {
    if (static_cast<int>(digits.size()) <= m_scale)
      digits.insert(0, static_cast<std::size_t>(m_scale) - digits.size() + 1, '0');
    digits.insert(digits.size() - static_cast<std::size_t>(m_scale), 1, '.');
  }
  if (m_units < 0) digits.insert(0, 1, '-');
  return digits;
}

}  // namespace corvane
