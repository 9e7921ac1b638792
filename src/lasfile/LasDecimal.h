#pragma once
// Exact decimal numbers for the index of a LAS file. The standard wants STRT, STOP
// and STEP "identical in value" to the data and a depth divided by the step to be a
// whole number; in binary floating point 1000.1 - 1000.0 is not 0.1, so those
// comparisons are made on the decimal digits as written.
#include <string>
#include <string_view>

namespace corvane {

// Wide enough for two 18-digit decimals brought to one scale (10^36).
__extension__ typedef __int128 LasWide;

class CLasDecimal {
 public:
  // At most this many significant digits, and as many after the point (trailing
  // zeros not counted); larger numbers are not read (Parse answers false).
  static constexpr int kMaxDigits = 18;

  CLasDecimal() = default;

  // Reads a plain decimal: an optional sign, digits with an optional point, at least
  // one digit ("-12.5", "+3", ".25", "7."). Anything else (blanks, an exponent, a
  // second point) answers false and leaves `out` alone.
  static bool Parse(std::string_view text, CLasDecimal& out) noexcept;

  bool IsZero() const noexcept { return m_units == 0; }
  bool IsNegative() const noexcept { return m_units < 0; }

  friend bool operator==(const CLasDecimal& a, const CLasDecimal& b) noexcept {
    return a.m_units == b.m_units && a.m_scale == b.m_scale;
  }
  // -1, 0 or 1.
  static int Compare(const CLasDecimal& a, const CLasDecimal& b) noexcept;
  static CLasDecimal Difference(const CLasDecimal& a, const CLasDecimal& b) noexcept;  // a - b
  // a divided by b is a whole number (false when b is zero).
  static bool IsWholeMultiple(const CLasDecimal& a, const CLasDecimal& b) noexcept;

  // The shortest decimal text ("-0.125", "1670").
  std::string ToString() const;

 private:
  // value = m_units / 10^m_scale, with no trailing zero in m_units unless it is 0
  // (then m_scale is 0 too), so equal values have equal members.
  void Normalize() noexcept;
  static void Align(const CLasDecimal& a, const CLasDecimal& b, LasWide& ua, LasWide& ub) noexcept;

  LasWide m_units = 0;
  int m_scale = 0;
};

}  // namespace corvane
