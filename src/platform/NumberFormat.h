#pragma once
// Number scanning and formatting with the exact results of the C conversions the
// file formats are defined by ("%lf", "%d", "%.4lf", "%12.4lf", "%.10lf", "%.15g"),
// without the printf/scanf family: those are locale dependent (the GUI sets the
// user's locale) and far too slow for the per-value work of a conversion.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AsciiText.h"

namespace corvane {

// Reads a number the way "%lf" does, with the longest-prefix rule: leading white
// space is skipped, then an optional sign, digits with an optional decimal point
// (at least one digit), an optional exponent (taken only when digits follow the
// "e" and its sign). Decimal only: "nan", "inf" and hexadecimal texts are not
// numbers. A number beyond the double range gives +/-infinity, one below it +/-0.
// Returns false (and leaves `value` alone) when the text does not start with a number.
bool ScanDouble(std::string_view text, double& value) noexcept;

// What ScanDouble took of a text, for readers that account for every cell.
struct CNumberScan {
  std::size_t end = 0;        // the first character after the number (0 when there is none)
  int significantDigits = 0;  // the digits given from the first non-zero one on ("1.50": 3)
  bool outOfRange = false;    // beyond the range of a double: the value is +/-infinity
};
// ScanDouble that also says where the number ends and how many significant digits it
// gave. With `commaIsDecimal` a comma is the decimal mark as well as a point (one mark
// per number: "1,5" reads 1.5).
bool ScanDouble(std::string_view text, double& value, CNumberScan& scan,
                bool commaIsDecimal = false) noexcept;

// Reads an integer the way "%d" does: leading white space, an optional sign,
// decimal digits; what follows is ignored. Out-of-range values behave as with the
// C library (saturated to the range of long, then cut to 32 bits).
// Returns false (and leaves `value` alone) when there is no number.
bool ScanInt(std::string_view text, std::int32_t& value) noexcept;

// Appends `value` as "%.<precision>f" would (0 <= precision <= 17).
void AppendFixed(std::string& out, double value, int precision);
// Appends `value` as "%<width>.<precision>f" would (right-aligned with blanks).
void AppendFixed(std::string& out, double value, int precision, int width);
std::string FormatFixed(double value, int precision);

// "%.15g"
std::string FormatGeneral15(double value);

// "%d" / "%ld"
void AppendInt(std::string& out, long long value);
std::string FormatInt(long long value);

// "%<width>s": `text` right-aligned in a field of at least `width` characters.
void AppendRightAligned(std::string& out, std::string_view text, int width);

}  // namespace corvane
