#pragma once
// Cuts the lines of a LAS data section (~A) into rows of values: one line per row, or
// in a wrapped file the values of one row spread over several lines. A null reading,
// a missing value and a text that is no number all come back as NaN.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace corvane {

class CLasRowParser {
 public:
  static constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

  CLasRowParser(std::size_t curves, bool wrapped, double nullValue, bool hasNull)
      : m_curves(curves), m_wrapped(wrapped), m_null(nullValue), m_hasNull(hasNull), m_row(curves, kMissing) {
    m_nullTolerance = 1e-9 * std::max(1.0, std::fabs(nullValue));
  }

  std::size_t Curves() const { return m_curves; }

  // Takes one line (its line end may be included) that starts at file offset `offset`.
  // `onRow(const double* values, std::uint64_t rowOffset)` is called for every row the
  // line completes. Returns false at a line that starts a new section ("~"): the data
  // ends there. Blank and comment lines are skipped.
  template <class OnRow>
  bool Feed(std::string_view line, std::uint64_t offset, OnRow&& onRow) {
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && IsGap(*p)) ++p;
    if (p == end || *p == '#') return true;
    if (*p == '~') return false;
    if (!m_wrapped) {
      m_filled = 0;
      m_rowOffset = offset;
    }
    while (p < end) {
      while (p < end && IsGap(*p)) ++p;
      if (p == end) break;
      const char* const token = p;
      while (p < end && !IsGap(*p)) ++p;
      if (m_filled == 0) m_rowOffset = offset;
      if (m_filled < m_curves) m_row[m_filled] = Value(token, p);
      ++m_filled;
      if (m_wrapped && m_filled == m_curves) EmitRow(onRow);
    }
    if (!m_wrapped && m_filled > 0) EmitRow(onRow);
    return true;
  }

  // The last row of a wrapped file that the data ended in the middle of.
  template <class OnRow>
  void Finish(OnRow&& onRow) {
    if (m_wrapped && m_filled > 0) EmitRow(onRow);
  }

 private:
  static bool IsGap(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }

  double Value(const char* begin, const char* end) const {
    if (*begin == '+') ++begin;
    double value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || !std::isfinite(value)) return kMissing;
    if (m_hasNull && std::fabs(value - m_null) <= m_nullTolerance) return kMissing;
    return value;
  }

  template <class OnRow>
  void EmitRow(OnRow& onRow) {
    for (std::size_t i = m_filled; i < m_curves; ++i) m_row[i] = kMissing;
    onRow(static_cast<const double*>(m_row.data()), m_rowOffset);
    m_filled = 0;
  }

  std::size_t m_curves;
  bool m_wrapped;
  double m_null;
  bool m_hasNull;
  double m_nullTolerance = 0;
  std::vector<double> m_row;
  std::size_t m_filled = 0;
  std::uint64_t m_rowOffset = 0;
};

}  // namespace corvane
