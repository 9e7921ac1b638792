#include "las/DataRowWriter.h"

#include "ascii/DateTime.h"
#include "platform/AsciiText.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

constexpr int kCellWidth = 12;
constexpr int kDecimals = 4;

// A plain decimal text (sign, digits, point, digits) whose value is one of the common
// null markers: -999, -999.25, -9999, 9999, -99999.
bool IsCommonNullDecimal(bool negative, std::string_view integer, std::string_view fraction) {
  std::size_t zerosFrom = 0;
  if (negative && integer == "999" && fraction.substr(0, 2) == "25")
    zerosFrom = 2;
  else if (!((negative && (integer == "999" || integer == "99999")) || integer == "9999"))
    return false;
  for (std::size_t i = zerosFrom; i < fraction.size(); ++i)
    if (fraction[i] != '0') return false;
  return true;
}

// The exponent after an "e": an optional sign and digits (capped far beyond any double).
bool ScanExponent(std::string_view text, long long& exponent) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || !IsAsciiDigit(text[i])) return false;
  exponent = 0;
  for (; i < text.size() && IsAsciiDigit(text[i]); ++i)
    if (exponent < 1000000000LL) exponent = exponent * 10 + (text[i] - '0');
  if (negative) exponent = -exponent;
  return true;
}

// The cell of a number text (sign, digits with a decimal mark, an exponent) as a plain
// decimal with every digit the text gives and at least four decimals, right-aligned in
// 12 characters, then two blanks.
void AppendSourceDecimal(std::string& out, std::string_view number, bool commaIsDecimal) {
  std::size_t i = 0;
  bool negative = false;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
  std::string digits;
  long long point = 0;  // digits before the decimal mark
  bool seenPoint = false;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (IsAsciiDigit(c)) {
      digits.push_back(c);
      if (!seenPoint) ++point;
    } else if (!seenPoint && (c == '.' || (commaIsDecimal && c == ','))) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    long long exponent = 0;
    if (ScanExponent(number.substr(i + 1), exponent)) point += exponent;
  }
  // Leading zeros of the digits move the point, they hold nothing.
  std::size_t lead = 0;
  while (lead + 1 < digits.size() && digits[lead] == '0' && point > 1) {
    ++lead;
    --point;
  }
  digits.erase(0, lead);
  std::string text;
  if (negative) text.push_back('-');
  if (point <= 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-point), '0');
    text += digits;
  } else if (static_cast<std::size_t>(point) >= digits.size()) {
    text += digits;
    text.append(static_cast<std::size_t>(point) - digits.size(), '0');
    text.push_back('.');
  } else {
    text.append(digits, 0, static_cast<std::size_t>(point));
    text.push_back('.');
    text.append(digits, static_cast<std::size_t>(point), std::string::npos);
  }
  const std::size_t decimals = text.size() - text.find('.') - 1;
  if (decimals < static_cast<std::size_t>(kDecimals))
    text.append(static_cast<std::size_t>(kDecimals) - decimals, '0');
  AppendRightAligned(out, text, kCellWidth);
  out.append("  ");
}

enum class PlainCell { NotPlain, Written, MaybeNullLike };

// Most cells of a log are plain decimals ("1000.5", "-999.25", "55"). With four
// decimals kept, the "%12.4lf" cell of the nearest double is the text itself with its
// decimals padded to four, as long as the text has at most four decimals and few
// enough digits (at most 15 in all, at most 10 before the point when there are
// decimals): the double then lies closer to that text than half a unit of the fourth
// decimal. With the source's digits kept, any short plain decimal is its own cell.
// Writing the text spares the scan and the formatting, the bulk of a conversion's work.
// Anything else (exponents, more digits, text after the number) is left to the general
// route. MaybeNullLike: written, and the text may be a common null marker.
[[gnu::always_inline]] inline PlainCell AppendPlainDecimalCell(std::string& out, std::string_view cell,
                                                               bool decimalComma, bool sourceDigits) {
  const char* p = cell.data();
  const char* const end = p + cell.size();
  while (p < end && IsCSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  while (p < end && *p == '0' && p + 1 < end && IsAsciiDigit(p[1])) ++p;  // leading zeros
  const char* const intBegin = p;
  while (p < end && IsAsciiDigit(*p)) ++p;
  const char* const intEnd = p;
  const char* fracBegin = p;
  const char* fracEnd = p;
  if (p < end && (*p == '.' || (decimalComma && *p == ','))) {
    fracBegin = ++p;
    while (p < end && IsAsciiDigit(*p)) ++p;
    fracEnd = p;
  }
  const auto intDigits = static_cast<std::size_t>(intEnd - intBegin);
  const auto fracDigits = static_cast<std::size_t>(fracEnd - fracBegin);
  if (intDigits + fracDigits == 0) return PlainCell::NotPlain;
  if (p < end && (*p == 'e' || *p == 'E')) return PlainCell::NotPlain;
  if (sourceDigits ? intDigits + fracDigits > 30
                   : fracDigits > 4 || (fracDigits > 0 ? intDigits > 10 : intDigits > 15))
    return PlainCell::NotPlain;
  for (const char* q = p; q < end; ++q)
    if (!IsCSpace(*q)) return PlainCell::NotPlain;  // text after the number

  // Composed in place and appended at once: the cell and its two trailing blanks.
  // The pieces are a few bytes each, so plain loops beat calls to memcpy.
  const std::size_t keptDecimals = fracDigits > 4 ? fracDigits : 4;
  const std::size_t intLength = intDigits == 0 ? 1 : intDigits;  // an empty integer part reads "0"
  const std::size_t length = (negative ? 1 : 0) + intLength + 1 + keptDecimals;
  char buffer[48];
  char* w = buffer;
  for (std::size_t i = length; i < kCellWidth; ++i) *w++ = ' ';
  if (negative) *w++ = '-';
  if (intDigits == 0) *w++ = '0';
  for (const char* q = intBegin; q < intEnd; ++q) *w++ = *q;
  *w++ = '.';
  for (const char* q = fracBegin; q < fracEnd; ++q) *w++ = *q;
  for (std::size_t i = fracDigits; i < keptDecimals; ++i) *w++ = '0';
  *w++ = ' ';
  *w++ = ' ';
  out.append(buffer, static_cast<std::size_t>(w - buffer));

  // Only a text of 3 to 5 integer digits starting with 9 can be a common null marker.
  if (intDigits >= 3 && intDigits <= 5 && *intBegin == '9' &&
      IsCommonNullDecimal(negative, std::string_view(intBegin, intDigits),
                          std::string_view(fracBegin, fracDigits)))
    return PlainCell::MaybeNullLike;
  return PlainCell::Written;
}

}  // namespace

CDataRowWriter::CDataRowWriter(const CConversionSetup& setup, std::vector<int> columns,
                               CReadingSummary& summary)
    : m_columns(std::move(columns)),
      m_summary(summary),
      m_reader(setup.reading, setup.nullValue),
      m_nullValue(setup.nullValue),
      m_sourceDigits(setup.reading.digits == DigitsKept::Source),
      m_decimalComma(setup.reading.decimalComma),
      m_plainReading(setup.reading.nullMarkers.empty()),
      m_dateTimeColumn(setup.reading.dateTimeColumn - 1) {
  AppendFixed(m_nullCell, m_nullValue, kDecimals, kCellWidth);
  m_nullCell.append("  ");
}

void CDataRowWriter::AppendRow(std::string& out, const std::vector<std::string_view>& cells,
                               std::size_t fields, std::uint64_t line) {
  out.append("   ");
  m_firstCellBegin = out.size();
  const bool plain = m_plainReading && m_dateTimeColumn < 0;
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    const int c = m_columns[i];
    const auto k = static_cast<std::size_t>(c);
    if (k >= fields)
      out.append(m_nullCell);  // a field the line lacks: the row is accounted for as short
    else if (plain) {
      const PlainCell written = AppendPlainDecimalCell(out, cells[k], m_decimalComma, m_sourceDigits);
      if (written == PlainCell::NotPlain)
        AppendReadCell(out, cells[k], c, line);
      else if (written == PlainCell::MaybeNullLike)
        CheckPlainNullLike(cells[k], c, line);
    } else {
      AppendCell(out, cells[k], c, line);
    }
    if (i == 0) m_firstCellEnd = out.size() - 2;
  }
  out.append("\r\n");
}

void CDataRowWriter::AppendCell(std::string& out, std::string_view cell, int column, std::uint64_t line) {
  if (column == m_dateTimeColumn)
    AppendDateTimeCell(out, cell, column, line);
  else if (!m_plainReading || !AppendPlainCell(out, cell, column, line))
    AppendReadCell(out, cell, column, line);
}

void CDataRowWriter::CheckPlainNullLike(std::string_view cell, int column, std::uint64_t line) {
  double value = 0;
  CNumberScan scan;
  ScanDouble(cell, value, scan, m_decimalComma);
  CheckNullLike(value, cell, column, line);
}

bool CDataRowWriter::AppendPlainCell(std::string& out, std::string_view cell, int column,
                                     std::uint64_t line) {
  const PlainCell written = AppendPlainDecimalCell(out, cell, m_decimalComma, m_sourceDigits);
  if (written == PlainCell::MaybeNullLike) CheckPlainNullLike(cell, column, line);
  return written != PlainCell::NotPlain;
}

void CDataRowWriter::AppendReadCell(std::string& out, std::string_view cell, int column, std::uint64_t line) {
  const CCellRead read = m_reader.Read(cell);
  switch (read.kind) {
    case CellKind::Partial:
      m_summary.Record(ReadingKind::PartialNumber, line, column, cell);
      [[fallthrough]];
    case CellKind::Number:
      AppendNumber(out, cell, read.value, read.scan, column, line);
      return;
    case CellKind::NotANumber:
      m_summary.Record(ReadingKind::NotANumber, line, column, cell);
      break;
    case CellKind::OutOfRange:
      m_summary.Record(ReadingKind::OutOfRange, line, column, cell);
      break;
    case CellKind::Empty:
      m_summary.Record(ReadingKind::EmptyField, line, column, cell);
      break;
    case CellKind::NullMarker:
      m_summary.Record(ReadingKind::NullMarker, line, column, cell);
      break;
  }
  out.append(m_nullCell);
}

void CDataRowWriter::AppendNumber(std::string& out, std::string_view cell, double value,
                                  const CNumberScan& scan, int column, std::uint64_t line) {
  const bool underflow = value == 0 && scan.significantDigits > 0;
  if (m_sourceDigits && !underflow) {
    std::size_t begin = 0;
    while (begin < scan.end && IsCSpace(cell[begin])) ++begin;
    AppendSourceDecimal(out, cell.substr(begin, scan.end - begin), m_decimalComma);
  } else {
    AppendFixed(out, value, kDecimals, kCellWidth);
    if (FourDecimalsLosePrecision(value, scan.significantDigits, underflow))
      m_summary.Record(ReadingKind::PrecisionLost, line, column, cell);
    out.append("  ");
  }
  CheckNullLike(value, cell, column, line);
}

void CDataRowWriter::AppendDateTimeCell(std::string& out, std::string_view cell, int column,
                                        std::uint64_t line) {
  if (IsBlankText(cell)) {
    m_summary.Record(ReadingKind::EmptyField, line, column, cell);
  } else if (m_reader.HasNullMarkers() && m_reader.IsNullMarker(cell)) {
    m_summary.Record(ReadingKind::NullMarker, line, column, cell);
  } else if (const auto dateTime = ParseDateTime(cell); dateTime && m_hasTimeOrigin) {
    AppendFixed(out, dateTime->seconds - m_timeOrigin, kDecimals, kCellWidth);
    out.append("  ");
    return;
  } else {
    m_summary.Record(ReadingKind::NotANumber, line, column, cell);
  }
  out.append(m_nullCell);
}

void CDataRowWriter::CheckNullLike(double value, std::string_view cell, int column, std::uint64_t line) {
  if (value != m_nullValue && IsCommonNullValue(value))
    m_summary.Record(ReadingKind::NullLike, line, column, cell);
}

}  // namespace corvane
