// The formatters and scanners must agree with the C library byte for byte; the C
// library (in the C locale these tests run in) is the reference throughout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "platform/NumberFormat.h"

namespace corvane {
namespace {

std::string Printf(const char* format, double value) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

std::string PrintfPrecision(int precision, double value) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", precision, value);
  return buf;
}

double FromBits(std::uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

std::uint64_t Bits(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

// Values where rounding, signs and range limits go wrong first.
std::vector<double> EdgeValues() {
  std::vector<double> v = {0.0,
                           -0.0,
                           0.00005,
                           -0.00005,
                           0.00004999999999,
                           0.000050000000001,
                           1.00005,
                           2.5e-5,
                           -2.5e-5,
                           0.5,
                           1.5,
                           2.5,
                           -2.5,
                           0.125,
                           1.23455,
                           1.23445,
                           9.99995,
                           99999.99995,
                           -999.25,
                           -999.2500,
                           1000.0,
                           55.2,
                           0.1,
                           0.2,
                           0.3,
                           1e-5,
                           -1e-5,
                           -0.00001,
                           -0.00004,
                           -0.00006,
                           1e-10,
                           5e-11,
                           -5e-11,
                           4.9999999999e-11,
                           1e14,
                           1e15,
                           1e16,
                           1e17,
                           1e22,
                           1e23,
                           9007199254740993.0,
                           4503599627370495.5,
                           2251799813685247.75,
                           123456789012.34565,
                           1e300,
                           -1e300,
                           1e-300,
                           -1e-300,
                           std::numeric_limits<double>::max(),
                           -std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           -std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  // x.xxxx5 patterns: decimal ties at the fourth and tenth place, as typed in data files.
  for (int i = 0; i < 2000; ++i) {
    v.push_back((i * 10 + 5) / 1e5);
    v.push_back(-(i * 10 + 5) / 1e5);
    v.push_back(i + 0.00005);
    v.push_back(i * 1000.0 + 0.12345);
    v.push_back((i * 10 + 5) / 1e11);
    v.push_back(std::nextafter((i * 10 + 5) / 1e5, 0.0));
    v.push_back(std::nextafter((i * 10 + 5) / 1e5, 1.0));
  }
  // Exact binary ties: round half to even.
  for (int i = 0; i < 200; ++i) {
    v.push_back(i + 0.5);
    v.push_back(i / 16.0 + 1.0 / 32.0);
    v.push_back(-(i / 16.0 + 1.0 / 32.0));
  }
  return v;
}

// Random values over many scales, random bit patterns (no NaN) and decimal texts.
std::vector<double> RandomValues(std::size_t count, std::uint32_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<double> v;
  v.reserve(count);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> scale(-12, 16);
  while (v.size() < count) {
    switch (v.size() % 4) {
      case 0: {
        double d = FromBits(rng());
        if (std::isnan(d)) continue;
        v.push_back(d);
        break;
      }
      case 1:
        v.push_back(unit(rng) * std::pow(10.0, scale(rng)));
        break;
      case 2: {
        // A decimal with up to 9 digits after the point, as read from a file.
        const long long mantissa = static_cast<long long>(rng() % 100000000000000ull) - 50000000000000ll;
        v.push_back(static_cast<double>(mantissa) / std::pow(10.0, static_cast<int>(rng() % 10)));
        break;
      }
      default:
        v.push_back(static_cast<double>(static_cast<std::int64_t>(rng() >> (rng() % 64))) *
                    ((rng() & 1) ? 1.0 : -1.0));
        break;
    }
  }
  return v;
}

TEST(NumberFormatTest, FixedMatchesPrintfOnEdgeAndRandomValues) {
  std::vector<double> values = EdgeValues();
  const std::vector<double> random = RandomValues(300000, 20261209);
  values.insert(values.end(), random.begin(), random.end());
  std::size_t failures = 0;
  std::string out;
  for (double d : values) {
    out.clear();
    AppendFixed(out, d, 4);
    out += ':';
    AppendFixed(out, d, 4, 12);
    out += '|';
    AppendFixed(out, d, 10);
    const std::string expected = Printf("%.4f", d) + ":" + Printf("%12.4f", d) + "|" + Printf("%.10f", d);
    if (out != expected && ++failures <= 10) {
      ADD_FAILURE() << "value bits " << std::hex << Bits(d) << ": got " << out << " expected " << expected;
    }
  }
  EXPECT_EQ(failures, 0u);
}

TEST(NumberFormatTest, EveryPrecisionAndFormatFixedMatchPrintf) {
  std::vector<double> values = EdgeValues();
  const std::vector<double> random = RandomValues(40000, 77);
  values.insert(values.end(), random.begin(), random.end());
  std::size_t failures = 0;
  for (int precision = 0; precision <= 17; ++precision) {
    for (double d : values) {
      const std::string got = FormatFixed(d, precision);
      const std::string expected = PrintfPrecision(precision, d);
      if (got != expected && ++failures <= 10) {
        ADD_FAILURE() << "precision " << precision << " bits " << std::hex << Bits(d) << ": " << got << " vs "
                      << expected;
      }
    }
  }
  EXPECT_EQ(failures, 0u);
  // A value wider than the field widens it; nothing is cut.
  std::string wide;
  AppendFixed(wide, 123456789.5, 4, 12);
  EXPECT_EQ(wide, "123456789.5000");
  std::string narrow;
  AppendFixed(narrow, -0.0, 4, 12);
  EXPECT_EQ(narrow, "     -0.0000");
}

TEST(NumberFormatTest, General15MatchesPrintf) {
  std::vector<double> values = EdgeValues();
  const std::vector<double> random = RandomValues(300000, 4242);
  values.insert(values.end(), random.begin(), random.end());
  for (double d : {1e15, 1e14, 123456789012345.0, 1234567890123456.0, 1e-4, 1e-5, 0.0001234, 100.0, 0.5}) {
    values.push_back(d);
  }
  std::size_t failures = 0;
  for (double d : values) {
    const std::string got = FormatGeneral15(d);
    const std::string expected = Printf("%.15g", d);
    if (got != expected && ++failures <= 10) {
      ADD_FAILURE() << "bits " << std::hex << Bits(d) << ": " << got << " vs " << expected;
    }
  }
  EXPECT_EQ(failures, 0u);
}

TEST(NumberFormatTest, IntegersAndAlignedTextMatchPrintf) {
  std::mt19937_64 rng(99);
  std::vector<long long> values = {0,
                                   1,
                                   -1,
                                   2147483647,
                                   -2147483648LL,
                                   std::numeric_limits<long long>::max(),
                                   std::numeric_limits<long long>::min()};
  for (int i = 0; i < 100000; ++i)
    values.push_back(static_cast<long long>(rng() >> (rng() % 64)) * ((i & 1) ? 1 : -1));
  char buf[64];
  for (long long v : values) {
    std::snprintf(buf, sizeof buf, "%lld", v);
    ASSERT_EQ(FormatInt(v), buf);
    std::string out = "x";
    AppendInt(out, v);
    ASSERT_EQ(out, std::string("x") + buf);
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max()) {
      std::snprintf(buf, sizeof buf, "%d", static_cast<int>(v));
      ASSERT_EQ(FormatInt(v), buf);
    }
  }
  for (const char* text : {"", "GR", "DEPT", "ABCDEFGHIJK", "ABCDEFGHIJKL", "ABCDEFGHIJKLMNOP", " a b "}) {
    std::snprintf(buf, sizeof buf, "%12s", text);
    std::string out;
    AppendRightAligned(out, text, 12);
    EXPECT_EQ(out, buf) << text;
  }
}

// The reference: the longest prefix of the "%lf" grammar (decimal only), read by strtod.
bool ReferenceScan(const std::string& text, double& value) {
  static const std::regex number(R"(^[ \t\n\v\f\r]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
  std::smatch match;
  if (!std::regex_search(text, match, number)) return false;
  const std::string prefix = match.str(0);
  value = std::strtod(prefix.c_str(), nullptr);
  return true;
}

void ExpectScanAgrees(const std::string& text) {
  double expected = 12345.0;
  double got = 12345.0;
  const bool expectedOk = ReferenceScan(text, expected);
  const bool gotOk = ScanDouble(text, got);
  ASSERT_EQ(gotOk, expectedOk) << "'" << text << "'";
  ASSERT_EQ(Bits(got), Bits(expected)) << "'" << text << "' got " << got << " expected " << expected;
}

TEST(NumberFormatTest, ScanDoubleTakesTheLongestDecimalPrefix) {
  for (const char* text : {"12.5ft",
                           "  -3e",
                           "1e+",
                           "1e-",
                           "1E+5x",
                           ".5",
                           "5.",
                           "-.",
                           "+7",
                           "+.5e1",
                           "nan",
                           "inf",
                           "-inf",
                           "NaN",
                           "infinity",
                           "0x1A",
                           "0X1p3",
                           "",
                           "abc",
                           " \t12",
                           "\n\v\f\r-0",
                           "-0",
                           "+-5",
                           "--5",
                           "1.2.3",
                           "1e5e5",
                           "e5",
                           ".e5",
                           "1..2",
                           "1e400",
                           "-1e400",
                           "1e-400",
                           "-1e-400",
                           "2.4e-324",
                           "4.9e-324",
                           "1e-320",
                           "1.7976931348623159e308",
                           "0e999999999999999999999",
                           "1e99999999999999999999",
                           "1e-99999999999999999999",
                           "0.0000000000000000000000000000001e-300",
                           "123456789012345678901234567890",
                           "0.1",
                           "-999.25",
                           "1,5",
                           "\xa0"
                           "5",
                           "  ",
                           "+",
                           "-",
                           "."}) {
    ExpectScanAgrees(text);
  }
  // A long mantissa is read exactly, not digit by digit.
  ExpectScanAgrees("0." + std::string(800, '0') + "1e805");
  ExpectScanAgrees(std::string(400, '9') + "e-100");
  ExpectScanAgrees("1" + std::string(400, '0'));

  std::mt19937 rng(7);
  const std::string alphabet = " \t+-.0123456789eExna1";
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    const int length = static_cast<int>(rng() % 14);
    for (int k = 0; k < length; ++k) text += alphabet[rng() % alphabet.size()];
    ExpectScanAgrees(text);
  }
}

TEST(NumberFormatTest, ScanDoubleLeavesTheValueAloneWithoutNumber) {
  double value = 3.0;
  EXPECT_FALSE(ScanDouble("abc", value));
  EXPECT_FALSE(ScanDouble("nan", value));
  EXPECT_EQ(value, 3.0);
  EXPECT_TRUE(ScanDouble("0x1A", value));
  EXPECT_EQ(value, 0.0);
  // The text need not be terminated: the view's end is the end of the number.
  const std::string buffer = "12345";
  EXPECT_TRUE(ScanDouble(std::string_view(buffer).substr(0, 2), value));
  EXPECT_EQ(value, 12.0);
}

TEST(NumberFormatTest, ScanIntMatchesScanfD) {
  std::vector<std::string> texts = {"0",
                                    "12",
                                    "-12",
                                    "+12",
                                    " \t42x",
                                    "3.9",
                                    "-",
                                    "+",
                                    "",
                                    "abc",
                                    "2147483647",
                                    "2147483648",
                                    "-2147483648",
                                    "-2147483649",
                                    "4294967296",
                                    "4294967297",
                                    "9223372036854775807",
                                    "9223372036854775808",
                                    "-9223372036854775808",
                                    "-9223372036854775809",
                                    "99999999999999999999999",
                                    "-99999999999999999999999",
                                    "0x10",
                                    "  +-3",
                                    "007",
                                    "1e5"};
  std::mt19937_64 rng(5);
  for (int i = 0; i < 50000; ++i) {
    std::string text = (i & 1) ? "-" : "";
    const int digits = 1 + static_cast<int>(rng() % 22);
    for (int k = 0; k < digits; ++k) text += static_cast<char>('0' + rng() % 10);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    int expected = -77;
    std::int32_t got = -77;
    const bool expectedOk = std::sscanf(text.c_str(), "%d", &expected) == 1;
    ASSERT_EQ(ScanInt(text, got), expectedOk) << text;
    ASSERT_EQ(got, expected) << text;
  }
}

// Where a number ends, its significant digits, a decimal comma and a range overflow.
TEST(ScanDoubleTest, TellsWhatItTookOfTheText) {
  struct CCase {
    const char* text;
    bool comma;
    bool number;
    double value;
    std::size_t end;
    int digits;
    bool outOfRange;
  };
  const CCase cases[] = {
      {"  12.50ft", false, true, 12.5, 7, 4, false},
      {"0.013656", false, true, 0.013656, 8, 5, false},
      {"1.5e-05x", false, true, 1.5e-05, 7, 2, false},
      {"-0.000", false, true, -0.0, 6, 0, false},
      {"1500,125", false, true, 1500, 4, 4, false},
      {"1500,125", true, true, 1500.125, 8, 7, false},
      {"-0,5;", true, true, -0.5, 4, 1, false},
      {"1,5,6", true, true, 1.5, 3, 2, false},
      {"1e309", false, true, HUGE_VAL, 5, 1, true},
      {"-1e309", false, true, -HUGE_VAL, 6, 1, true},
      {"1e-400", false, true, 0.0, 6, 1, false},
      {"abc", false, false, 0, 0, 0, false},
      {",5", true, true, 0.5, 2, 1, false},
  };
  for (const CCase& c : cases) {
    double value = 7;
    CNumberScan scan;
    EXPECT_EQ(ScanDouble(c.text, value, scan, c.comma), c.number) << c.text;
    if (!c.number) continue;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(scan.end, c.end) << c.text;
    EXPECT_EQ(scan.significantDigits, c.digits) << c.text;
    EXPECT_EQ(scan.outOfRange, c.outOfRange) << c.text;
  }
  // 400 digits overflow as 1e400 does.
  double value = 0;
  CNumberScan scan;
  EXPECT_TRUE(ScanDouble(std::string(400, '9'), value, scan));
  EXPECT_TRUE(scan.outOfRange);
}

}  // namespace
}  // namespace corvane
