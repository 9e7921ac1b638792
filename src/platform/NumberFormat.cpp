#include "platform/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace corvane {
namespace {

// Large enough for any "%.17f" of a finite double (309 integer digits) and a sign.
constexpr std::size_t kFormatBuffer = 400;

// Powers of ten that are exact doubles, for the fast fixed-point path.
constexpr double kPow10[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                             1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};

// Writes |value| rounded to `precision` decimals into `buf` without to_chars when
// the result is provably the correctly rounded one; returns the end, or nullptr
// when the caller has to take the exact (slow) path.
//
// a = |value| * 10^precision is one correctly rounded multiplication, so it is within
// a * 2^-53 of the true product. Rounding a to the nearest integer gives the same
// result as rounding the true product whenever a's fraction stays further than that
// from one half; the margin used is generous (2^-50) to leave no doubt.
char* FastFixed(char* buf, double value, int precision) noexcept {
  const double magnitude = std::fabs(value);
  const double scaled = magnitude * kPow10[precision];
  if (!(scaled < 4.0e15)) return nullptr;  // also rejects inf and nan
  // Truncation is floor here (scaled >= 0), and cheaper than a libm call.
  const auto whole = static_cast<std::uint64_t>(scaled);
  // Exact: whole < 2^53 converts exactly, and scaled - whole is exact by Sterbenz's lemma.
  const double fraction = scaled - static_cast<double>(whole);
  const double margin = scaled * 0x1p-50 + 0x1p-1000;
  if (std::fabs(fraction - 0.5) <= margin) return nullptr;
  std::uint64_t n = whole + (fraction > 0.5 ? 1u : 0u);

  // Digits are produced from the right into a scratch area, then moved to buf.
  char scratch[48];
  char* const stop = scratch + sizeof scratch;
  char* p = stop;
  for (int i = 0; i < precision; ++i) {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  if (precision > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  if (std::signbit(value)) *--p = '-';
  const auto length = static_cast<std::size_t>(stop - p);
  std::memcpy(buf, p, length);
  return buf + length;
}

// Formats "%.<precision>f" into buf (kFormatBuffer bytes), returns the end.
char* FixedToBuffer(char* buf, double value, int precision) noexcept {
  if (precision < 0) precision = 0;
  if (precision > 17) precision = 17;
  if (char* end = FastFixed(buf, value, precision)) return end;
  return std::to_chars(buf, buf + kFormatBuffer, value, std::chars_format::fixed, precision).ptr;
}

// The common head of "%lf" and "%d": leading white space, then an optional sign.
const char* SkipSpaceAndSign(const char* p, const char* end, bool& negative) noexcept {
  while (p < end && IsCSpace(*p)) ++p;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  return p;
}

}  // namespace

bool ScanDouble(std::string_view text, double& value) noexcept {
  CNumberScan scan;
  return ScanDouble(text, value, scan, false);
}

bool ScanDouble(std::string_view text, double& value, CNumberScan& scan, bool commaIsDecimal) noexcept {
  scan = CNumberScan();
  const char* const end = text.data() + text.size();
  bool negative = false;
  const char* p = SkipSpaceAndSign(text.data(), end, negative);
  const char* const mantissa = p;
  std::size_t digits = 0;
  // Position of the first non-zero digit relative to the decimal point, to tell an
  // overflow from an underflow when the value is out of range.
  long long leadExponent = 0;
  bool seenNonZero = false;
  bool seenPoint = false;
  bool seenComma = false;
  long long intDigitsAfterLead = 0;
  long long zerosAfterPoint = 0;
  int significant = 0;
  for (; p < end; ++p) {
    const char c = *p;
    if (IsAsciiDigit(c)) {
      ++digits;
      if (!seenNonZero) {
        if (c != '0') {
          seenNonZero = true;
          significant = 1;
          if (!seenPoint) intDigitsAfterLead = 1;
        } else if (seenPoint) {
          ++zerosAfterPoint;
        }
      } else {
        if (significant < std::numeric_limits<int>::max()) ++significant;
        if (!seenPoint) ++intDigitsAfterLead;
      }
    } else if (!seenPoint && (c == '.' || (commaIsDecimal && c == ','))) {
      seenPoint = true;
      seenComma = c == ',';
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  // Decimal exponent of the leading digit's place plus one (value in [10^(k-1), 10^k)).
  leadExponent = intDigitsAfterLead > 0 ? intDigitsAfterLead : -zerosAfterPoint;

  long long exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    bool expNegative = false;
    if (q < end && (*q == '+' || *q == '-')) {
      expNegative = *q == '-';
      ++q;
    }
    if (q < end && IsAsciiDigit(*q)) {
      for (; q < end && IsAsciiDigit(*q); ++q) {
        if (exponent < 1000000000LL) exponent = exponent * 10 + (*q - '0');
      }
      if (expNegative) exponent = -exponent;
      p = q;
    }
  }

  // from_chars takes no '+' and no decimal comma: parse from the mantissa and apply
  // the sign afterwards; a comma is handed over as a point.
  double result = 0.0;
  std::from_chars_result parsed{};
  if (seenComma) {
    std::string copy(mantissa, p);
    copy[copy.find(',')] = '.';
    parsed = std::from_chars(copy.data(), copy.data() + copy.size(), result, std::chars_format::general);
  } else {
    parsed = std::from_chars(mantissa, p, result, std::chars_format::general);
  }
  if (parsed.ec == std::errc::result_out_of_range) {
    const bool overflow = seenNonZero && leadExponent + exponent > 0;
    result = overflow ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (parsed.ec != std::errc()) {
    return false;  // cannot happen for a validated prefix
  }
  value = negative ? -result : result;
  scan.end = static_cast<std::size_t>(p - text.data());
  scan.significantDigits = significant;
  scan.outOfRange = std::isinf(result);
  return true;
}

bool ScanInt(std::string_view text, std::int32_t& value) noexcept {
  const char* const end = text.data() + text.size();
  bool negative = false;
  const char* p = SkipSpaceAndSign(text.data(), end, negative);
  if (p >= end || !IsAsciiDigit(*p)) return false;
  // Saturate to the range of a 64-bit long, as strtol does, then keep the low 32 bits.
  constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(std::numeric_limits<long long>::max()) + 1;
  std::uint64_t magnitude = 0;
  for (; p < end && IsAsciiDigit(*p); ++p) {
    if (magnitude > kLimit) continue;  // already saturated
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) {
      magnitude = kLimit + 1;
    } else {
      magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
    }
  }
  long long wide;
  if (negative) {
    wide = magnitude >= kLimit ? std::numeric_limits<long long>::min() : -static_cast<long long>(magnitude);
  } else {
    wide = magnitude >= kLimit ? std::numeric_limits<long long>::max() : static_cast<long long>(magnitude);
  }
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
  return true;
}

void AppendFixed(std::string& out, double value, int precision) {
  char buf[kFormatBuffer];
  const char* end = FixedToBuffer(buf, value, precision);
  out.append(buf, static_cast<std::size_t>(end - buf));
}

void AppendFixed(std::string& out, double value, int precision, int width) {
  char buf[kFormatBuffer];
  const char* end = FixedToBuffer(buf, value, precision);
  const auto length = static_cast<std::size_t>(end - buf);
  if (width > 0 && length < static_cast<std::size_t>(width))
    out.append(static_cast<std::size_t>(width) - length, ' ');
  out.append(buf, length);
}

std::string FormatFixed(double value, int precision) {
  std::string out;
  AppendFixed(out, value, precision);
  return out;
}

std::string FormatGeneral15(double value) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  return std::string(buf, static_cast<std::size_t>(result.ptr - buf));
}

void AppendInt(std::string& out, long long value) {
  char buf[24];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, static_cast<std::size_t>(result.ptr - buf));
}

std::string FormatInt(long long value) {
  std::string out;
  AppendInt(out, value);
  return out;
}

void AppendRightAligned(std::string& out, std::string_view text, int width) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    out.append(static_cast<std::size_t>(width) - text.size(), ' ');
  }
  out.append(text);
}

}  // namespace corvane
