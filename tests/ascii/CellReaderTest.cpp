// Reading one cell with the reading choices, and the date-times of a date-time column.
#include <gtest/gtest.h>

#include <cmath>

#include "ascii/CellReader.h"
#include "ascii/DateTime.h"

namespace corvane {
namespace {

TEST(CellReader, EveryKindOfCell) {
  struct CCase {
    const char* cell;
    CReadingOptions options;
    CellKind kind;
    double value;
  };
  CReadingOptions plain;
  CReadingOptions comma;
  comma.decimalComma = true;
  CReadingOptions whole;
  whole.wholeCells = true;
  CReadingOptions markers;
  markers.nullMarkers = {"NaN", " -999 ", "n/a"};
  const CCase cases[] = {
      {" 12.5 ", plain, CellKind::Number, 12.5},
      {"12.5ft", plain, CellKind::Partial, 12.5},
      {"12.5ft", whole, CellKind::NotANumber, -1},
      {"abc", plain, CellKind::NotANumber, -1},
      {" \t", plain, CellKind::Empty, -1},
      {"1e309", plain, CellKind::OutOfRange, -1},
      {"-1e309x", plain, CellKind::OutOfRange, -1},
      {"1500,125", plain, CellKind::Partial, 1500},
      {"1500,125", comma, CellKind::Number, 1500.125},
      {"1.5", comma, CellKind::Number, 1.5},
      {"NAN", markers, CellKind::NullMarker, -1},
      {"N/A", markers, CellKind::NullMarker, -1},
      {"-999.000", markers, CellKind::NullMarker, -1},
      {"-999.25", markers, CellKind::Number, -999.25},
      {"-999x", markers, CellKind::Partial, -999},
      {"NaNa", markers, CellKind::NotANumber, -1},
  };
  for (const CCase& c : cases) {
    const CCellRead read = CCellReader(c.options, -1).Read(c.cell);
    EXPECT_EQ(read.kind, c.kind) << c.cell;
    EXPECT_EQ(read.value, c.value) << c.cell;
  }
}

TEST(CellReader, PrecisionThatFourDecimalsKeep) {
  struct CCase {
    double value;
    int digits;
    bool lost;
  };
  const CCase cases[] = {{1.5e-05, 2, true},  {0.013656, 5, false}, {0.0013656, 5, true},
                         {0.0013, 2, false},  {0.05, 1, false},     {0.00012, 2, true},
                         {-0.00004, 1, true}, {0, 1, false},        {123.456789, 9, false}};
  for (const CCase& c : cases) EXPECT_EQ(FourDecimalsLosePrecision(c.value, c.digits), c.lost) << c.value;
  EXPECT_TRUE(FourDecimalsLosePrecision(0, 1, true));  // 1e-400: not 0, written as 0
}

TEST(DateTime, TheFormsTheDetectionFinds) {
  struct CCase {
    const char* text;
    bool read;
    double seconds;
    const char* iso;
  };
  const CCase cases[] = {
      {"2013-12-12T03:00:00", true, 1386817200, "2013-12-12T03:00:00"},
      {" 2013-12-12 03:00:00 ", true, 1386817200, "2013-12-12T03:00:00"},
      {"2013-12-12", true, 1386806400, "2013-12-12T00:00:00"},
      {"2013/12/12 03:00", true, 1386817200, "2013-12-12T03:00:00"},
      {"2013-12-12T03:00:00.25Z", true, 1386817200.25, "2013-12-12T03:00:00.25Z"},
      {"2013-12-12T03:00:00+01:00", true, 1386813600, "2013-12-12T03:00:00+01:00"},
      {"2013-12-12T03:00:00-0130", true, 1386822600, "2013-12-12T03:00:00-01:30"},
      {"12/12/2013 03:00", true, 1386817200, "2013-12-12T03:00:00"},
      {"12.12.2013", true, 1386806400, "2013-12-12T00:00:00"},
      {"1-2-1999 3:04:05", true, 917838245, "1999-02-01T03:04:05"},
      {"2000-02-29", true, 951782400, "2000-02-29T00:00:00"},
      {"1969-12-31T23:59:59", true, -1, "1969-12-31T23:59:59"},
      // Near misses.
      {"2001-02-29", false, 0, ""},
      {"2013-13-01", false, 0, ""},
      {"2013-12-12T24:00:00", false, 0, ""},
      {"2013-12-12 03", false, 0, ""},
      {"1.2.3", false, 0, ""},
      {"12/12/13", false, 0, ""},
      {"2013-12-12x", false, 0, ""},
      {"1500.125", false, 0, ""},
  };
  for (const CCase& c : cases) {
    const auto read = ParseDateTime(c.text);
    ASSERT_EQ(read.has_value(), c.read) << c.text;
    if (!read) continue;
    EXPECT_EQ(read->seconds, c.seconds) << c.text;
    EXPECT_EQ(read->iso, c.iso) << c.text;
  }
}

}  // namespace
}  // namespace corvane
