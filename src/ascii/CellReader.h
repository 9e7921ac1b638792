#pragma once
// Reading the value of one cell (a column's text of one data line) with the reading
// choices of a setup: the longest leading number, a decimal comma, the null markers,
// whole cells; and what the reading found, so that every cell can be accounted for.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/NumberFormat.h"
#include "setup/ReadingOptions.h"

namespace corvane {

enum class CellKind : std::uint8_t {
  Number,      // a number from end to end (blanks around it aside)
  Partial,     // a number with other text after it: the number is read
  NotANumber,  // no number at its start, or (whole cells) not only a number: the null value
  OutOfRange,  // a number beyond the range of a double: the null value
  Empty,       // nothing but white space: the null value
  NullMarker,  // one of the null markers: the null value
};

struct CCellRead {
  CellKind kind = CellKind::Empty;
  double value = 0;  // the number read, or the null value
  CNumberScan scan;  // where the number ends in the cell and its significant digits
};

class CCellReader {
 public:
  CCellReader(const CReadingOptions& options, double nullValue);

  CCellRead Read(std::string_view cell) const;

  // True when the cell is one of the null markers: a marker that is a number matches
  // a cell of that value ("-999" matches "-999.00"), any other one the cell's text
  // (blanks around it aside) in any case ("NaN" matches "nan").
  bool IsNullMarker(std::string_view cell) const;
  bool HasNullMarkers() const noexcept { return !m_textMarkers.empty() || !m_numberMarkers.empty(); }

 private:
  bool m_decimalComma;
  bool m_wholeCells;
  double m_nullValue;
  std::vector<std::string> m_textMarkers;
  std::vector<double> m_numberMarkers;
};

// A value that is one of the common null markers of well logs (-999, -999.25, -9999,
// 9999, -99999).
bool IsCommonNullValue(double value) noexcept;

// A text that stands for a missing reading in many exports: NaN, NA, N/A, #N/A, NULL,
// None, -, --, ? (any case, blanks around it aside).
bool IsCommonNullText(std::string_view text) noexcept;

// True when "%.4lf" keeps fewer of a reading's significant digits than the smaller of
// 3 and those the source gave, or writes 0.0000 for a reading that is not 0.
// `underflow`: the text held digits that are not 0 but the number came out as 0.
bool FourDecimalsLosePrecision(double value, int significantDigits, bool underflow = false);

}  // namespace corvane
