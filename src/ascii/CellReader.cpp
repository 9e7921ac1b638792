#include "ascii/CellReader.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/AsciiText.h"

namespace corvane {
namespace {

// A whole cell that is one number: the number, then white space only.
bool ReadsWhole(std::string_view cell, const CNumberScan& scan) { return IsBlankText(cell.substr(scan.end)); }

}  // namespace

bool IsCommonNullText(std::string_view text) noexcept {
  static constexpr std::string_view kMarkers[] = {"NaN", "NA", "N/A", "#N/A", "NULL", "None", "-", "--", "?"};
  text = TrimCSpace(text);
  return std::any_of(std::begin(kMarkers), std::end(kMarkers),
                     [&](std::string_view marker) { return EqualNoCase(text, marker); });
}

bool FourDecimalsLosePrecision(double value, int significantDigits, bool underflow) {
  // Four decimals keep at least three significant digits from 0.0100 on.
  if ((value == 0 && !underflow) || std::fabs(value) >= 0.0100) return false;
  const std::string written = FormatFixed(value, 4);
  const std::size_t point = written.find('.');
  int zeros = 0;
  while (zeros < 4 && written[point + 1 + static_cast<std::size_t>(zeros)] == '0') ++zeros;
  return 4 - zeros < std::min(significantDigits, 3);
}

bool IsCommonNullValue(double value) noexcept {
  return value == -999.0 || value == -999.25 || value == -9999.0 || value == 9999.0 || value == -99999.0;
}

CCellReader::CCellReader(const CReadingOptions& options, double nullValue)
    : m_decimalComma(options.decimalComma), m_wholeCells(options.wholeCells), m_nullValue(nullValue) {
  for (const std::string& marker : options.nullMarkers) {
    double value = 0;
    CNumberScan scan;
    if (ScanDouble(marker, value, scan, m_decimalComma) && ReadsWhole(marker, scan) && !scan.outOfRange)
      m_numberMarkers.push_back(value);
    else
      m_textMarkers.emplace_back(TrimCSpace(marker));
  }
}

bool CCellReader::IsNullMarker(std::string_view cell) const {
  const std::string_view text = TrimCSpace(cell);
  if (std::any_of(m_textMarkers.begin(), m_textMarkers.end(),
                  [&](const std::string& marker) { return EqualNoCase(text, marker); }))
    return true;
  if (m_numberMarkers.empty()) return false;
  double value = 0;
  CNumberScan scan;
  return ScanDouble(text, value, scan, m_decimalComma) && ReadsWhole(text, scan) &&
         std::find(m_numberMarkers.begin(), m_numberMarkers.end(), value) != m_numberMarkers.end();
}

CCellRead CCellReader::Read(std::string_view cell) const {
  CCellRead read;
  read.value = m_nullValue;
  if (IsBlankText(cell)) {
    read.kind = CellKind::Empty;
    return read;
  }
  if (HasNullMarkers() && IsNullMarker(cell)) {
    read.kind = CellKind::NullMarker;
    return read;
  }
  double value = 0;
  if (!ScanDouble(cell, value, read.scan, m_decimalComma)) {
    read.kind = CellKind::NotANumber;
    return read;
  }
  if (read.scan.outOfRange) {
    read.kind = CellKind::OutOfRange;
    return read;
  }
  if (!ReadsWhole(cell, read.scan)) {
    read.kind = m_wholeCells ? CellKind::NotANumber : CellKind::Partial;
    if (m_wholeCells) return read;
  } else {
    read.kind = CellKind::Number;
  }
  read.value = value;
  return read;
}

}  // namespace corvane
