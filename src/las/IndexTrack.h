#pragma once
// The index values (depth or time) of the rows written, as written: the first, the
// last, and whether every row differs from the one before by the same amount. STRT,
// STOP and STEP of the header come from here, so that they say what the data holds.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

class CIndexTrack {
 public:
  // Mantissas of up to 36 decimal digits (a compiler extension of g++ and clang).
  __extension__ typedef __int128 CWide;

  // The index cell of the next row written, as written ("   1000.1250", blanks aside).
  void Add(std::string_view cell);

  bool Empty() const noexcept { return m_rows == 0; }
  std::uint64_t Rows() const noexcept { return m_rows; }
  const std::string& First() const noexcept { return m_first; }
  std::string_view Last() const noexcept {
    return m_lastSmallLength == kLastInString ? std::string_view(m_last)
                                              : std::string_view(m_lastSmall, m_lastSmallLength);
  }
  // The one increment between the rows, as a decimal with at least four decimals
  // ("0.1250", "-0.5000"); "0.0000" when the increments are not all equal (the LAS
  // standard's STEP for irregular spacing) or there is a single row.
  std::string Step() const;

  // The difference b - a of two decimal texts as a decimal with at least four
  // decimals; empty when either is not a plain decimal that can be held exactly.
  static std::string Difference(std::string_view a, std::string_view b);

 private:
  struct CDecimal {
    CWide mantissa = 0;
    int scale = 0;  // decimals
    bool valid = false;
  };
  static CDecimal Parse(std::string_view text) noexcept;
  static bool ParseSmall(std::string_view text, std::int64_t& mantissa, int& scale) noexcept;
  static CDecimal Subtract(const CDecimal& a, const CDecimal& b) noexcept;  // b - a, normalised
  static std::string Format(const CDecimal& value);

  std::uint64_t m_rows = 0;
  std::string m_first;
  static constexpr std::size_t kLastInString = static_cast<std::size_t>(-1);
  char m_lastSmall[40] = {};
  std::size_t m_lastSmallLength = 0;
  std::string m_last;   // a last cell longer than m_lastSmall
  CDecimal m_previous;  // when it does not fit the small form
  bool m_previousSmall = false;
  std::int64_t m_previousMantissa = 0;
  int m_previousScale = 0;
  CDecimal m_step;  // normalised (no trailing zero decimals)
  // The step at the cells' own scale while every cell has the same decimals.
  std::int64_t m_rawStep = 0;
  int m_rawScale = 0;
  bool m_rawValid = false;
  bool m_regular = true;
};

}  // namespace corvane
