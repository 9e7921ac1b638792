// Every kind of the reading summary and every reading choice, each with a line that
// shows it and a near miss that must not: the cells written and what the summary says.
#include <gtest/gtest.h>

#include <functional>

#include "JobDoubles.h"
#include "LasTestHelpers.h"
#include "las/LasCreation.h"

namespace corvane {
namespace {

using test::CrLfLines;
using test::Curve;

struct CConverted {
  std::vector<std::string> lines;  // of the LAS file
  CLasCreationFacts facts;
  // The data lines, after the "~A" line.
  std::vector<std::string> Data() const {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].rfind("~A", 0) == 0)
        return std::vector<std::string>(lines.begin() + static_cast<long>(i) + 1, lines.end());
    return {};
  }
  std::string Well(const char* mnemonic) const {
    for (const std::string& line : lines)
      if (line.rfind(std::string(" ") + mnemonic + ".", 0) == 0) return line;
    return {};
  }
};

class ReadingTest : public ::testing::Test {
 protected:
  CConverted Convert(const std::string& data, const std::function<void(CConversionSetup&)>& choose,
                     bool inverse = false,
                     std::vector<CCurveDef> curves = {Curve("DEPT", "M"), Curve("A"), Curve("B")}) {
    test::WriteBytes(m_ascii, data);
    CConversionSetup setup = test::MakeSetup(m_ascii, m_las, curves);
    if (choose) choose(setup);
    CConverted converted;
    EXPECT_TRUE(
        CreateLas(
            setup, inverse, {}, m_progress, m_feedback, [] { return CResult::Done(); }, &converted.facts)
            .Ok());
    converted.lines = CrLfLines(test::ReadBytes(m_las));
    return converted;
  }

  test::CScratchDir m_dir;
  std::string m_ascii = m_dir.File("in.asc");
  std::string m_las = m_dir.File("out.las");
  CSilentProgress m_progress;
  CCollectingFeedback m_feedback;
};

std::function<void(CConversionSetup&)> Delimited(std::string delimiter,
                                                 std::function<void(CReadingOptions&)> choose = nullptr) {
  return [delimiter, choose](CConversionSetup& setup) {
    setup.delimiterText = delimiter;
    if (choose) choose(setup.reading);
  };
}

struct CKindCase {
  const char* name;
  std::function<void(CConversionSetup&)> choose;
  std::string first;  // a plain row before the line
  std::string shows;  // a data line that shows the kind
  ReadingKind kind;
  int column;            // of its first occurrence (for a row: the fields it holds)
  std::string written;   // the data line written for it
  std::string nearMiss;  // alike, without the kind
  std::string nearMissWritten;
};

class ReadingKinds : public ReadingTest, public ::testing::WithParamInterface<CKindCase> {};

TEST_P(ReadingKinds, ShownOnItsLineAndNotOnTheNearMiss) {
  const CKindCase& c = GetParam();
  // A row before it: the first occurrence is on line 2.
  CConverted shown = Convert(c.first + "\r\n" + c.shows + "\r\n", c.choose);
  const CReadingCount& count = shown.facts.reading.Total(c.kind);
  EXPECT_EQ(count.count, 1u);
  EXPECT_EQ(count.first.line, 2u);
  EXPECT_EQ(count.first.column, c.column);
  ASSERT_EQ(shown.Data().size(), 2u);
  EXPECT_EQ(shown.Data()[1], c.written);
  EXPECT_EQ(shown.facts.reading.FailsStrict(), FailsStrictReading(c.kind));
  EXPECT_EQ(shown.facts.reading.HasDoubts(), IsReadingDoubt(c.kind));

  CConverted missed = Convert(c.first + "\r\n" + c.nearMiss + "\r\n", c.choose);
  EXPECT_EQ(missed.facts.reading.Total(c.kind).count, 0u);
  EXPECT_FALSE(missed.facts.reading.HasDoubts())
      << FormatReadingSummary(missed.facts.reading, ReadingAudience::CommandLine);
  ASSERT_EQ(missed.Data().size(), 2u);
  EXPECT_EQ(missed.Data()[1], c.nearMissWritten);
}

const std::vector<CKindCase>& KindCases() {
  static const std::vector<CKindCase> cases = {
      {"PartialNumber", nullptr, "999 1 2", "1000 12abc 2", ReadingKind::PartialNumber, 2,
       "      1000.0000       12.0000        2.0000  ", "1000 12e1 2",
       "      1000.0000      120.0000        2.0000  "},
      {"PartialNumberDotted", nullptr, "999 1 2", "1000 1.2.3 2", ReadingKind::PartialNumber, 2,
       "      1000.0000        1.2000        2.0000  ", "1000 1.23 2",
       "      1000.0000        1.2300        2.0000  "},
      {"NotANumber", nullptr, "999 1 2", "1000 abc 2", ReadingKind::NotANumber, 2,
       "      1000.0000     -999.2500        2.0000  ", "1000 .5 2",
       "      1000.0000        0.5000        2.0000  "},
      {"OutOfRange", nullptr, "999 1 2", "1000 2 -1e309", ReadingKind::OutOfRange, 3,
       "      1000.0000        2.0000     -999.2500  ", "1000 2 -1e22",
       "      1000.0000        2.0000  -10000000000000000000000.0000  "},
      {"OutOfRangeDigits", nullptr, "999 1 2", "1000 " + std::string(400, '9') + " 2",
       ReadingKind::OutOfRange, 2, "      1000.0000     -999.2500        2.0000  ", "1000 1e-3 2",
       "      1000.0000        0.0010        2.0000  "},
      {"ShortRow", nullptr, "999 1 2", "1000 1", ReadingKind::ShortRow, 2,
       "      1000.0000        1.0000     -999.2500  ", "1000 1 2   \t",
       "      1000.0000        1.0000        2.0000  "},
      {"LongRow", nullptr, "999 1 2", "1000 1 2 3", ReadingKind::LongRow, 4,
       "      1000.0000        1.0000        2.0000  ", "1000 1 2",
       "      1000.0000        1.0000        2.0000  "},
      {"LongRowComma", Delimited(","), "999,1,2", "1000,1,2,,", ReadingKind::LongRow, 4,
       "      1000.0000        1.0000        2.0000  ", "1000,1,2,",
       "      1000.0000        1.0000        2.0000  "},
      {"PrecisionLostToZero", nullptr, "999 1 2", "1000 1.5e-05 2", ReadingKind::PrecisionLost, 2,
       "      1000.0000        0.0000        2.0000  ", "1000 0.013656 2",
       "      1000.0000        0.0137        2.0000  "},
      {"PrecisionLostToOneDigit", nullptr, "999 1 2", "1000 2 0.00012", ReadingKind::PrecisionLost, 3,
       "      1000.0000        2.0000        0.0001  ", "1000 2 0.0001",
       "      1000.0000        2.0000        0.0001  "},
      {"NullLike", nullptr, "999 1 2", "1000 -999 2", ReadingKind::NullLike, 2,
       "      1000.0000     -999.0000        2.0000  ", "1000 -999.25 2",
       "      1000.0000     -999.2500        2.0000  "},
      {"NullLikeDecimals", nullptr, "999 1 2", "1000 2 -9999.00", ReadingKind::NullLike, 3,
       "      1000.0000        2.0000    -9999.0000  ", "1000 2 -9998.00",
       "      1000.0000        2.0000    -9998.0000  "},
      {"EmptyField", Delimited(","), "999,1,2", "1000,,2", ReadingKind::EmptyField, 2,
       "      1000.0000     -999.2500        2.0000  ", "1000,0,2",
       "      1000.0000        0.0000        2.0000  "},
      {"NullMarker",
       Delimited("space",
                 [](CReadingOptions& r) {
                   r.nullMarkers = {"NaN", "-999"};
                 }),
       "999 1 2", "1000 nan 2", ReadingKind::NullMarker, 2, "      1000.0000     -999.2500        2.0000  ",
       "1000 -999.5 2", "      1000.0000     -999.5000        2.0000  "},
      {"NullMarkerByValue", Delimited("space", [](CReadingOptions& r) { r.nullMarkers = {"-999"}; }),
       "999 1 2", "1000 2 -999.00", ReadingKind::NullMarker, 3,
       "      1000.0000        2.0000     -999.2500  ", "1000 2 -999.001",
       "      1000.0000        2.0000     -999.0010  "},
      {"WholeCells", Delimited("space", [](CReadingOptions& r) { r.wholeCells = true; }), "999 1 2",
       "1000 12abc 2", ReadingKind::NotANumber, 2, "      1000.0000     -999.2500        2.0000  ",
       "1000 12 2", "      1000.0000       12.0000        2.0000  "},
  };
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadingKinds, ::testing::ValuesIn(KindCases()),
                         [](const ::testing::TestParamInfo<CKindCase>& info) {
                           return std::string(info.param.name);
                         });

// The reading choices: a line each that reads right only with the choice, and a near
// miss that reads the same with or without it.
struct CChoiceCase {
  const char* name;
  std::string delimiter;
  std::function<void(CReadingOptions&)> choose;
  std::string line;
  std::string withChoice;  // the data line written with the choice
  std::string without;     // and without it
  const char* hintOption;  // the flag the summary proposes without the choice ("" for none)
  std::string nearMiss;    // reads the same either way, without a doubt
};

class ReadingChoices : public ReadingTest, public ::testing::WithParamInterface<CChoiceCase> {};

TEST_P(ReadingChoices, ReadTheLineRightAndLeaveTheNearMissAlone) {
  const CChoiceCase& c = GetParam();
  const CConverted with = Convert(c.line + "\r\n", Delimited(c.delimiter, c.choose));
  ASSERT_EQ(with.Data().size(), 1u);
  EXPECT_EQ(with.Data()[0], c.withChoice);
  EXPECT_FALSE(with.facts.reading.HasDoubts())
      << FormatReadingSummary(with.facts.reading, ReadingAudience::CommandLine);

  const CConverted without = Convert(c.line + "\r\n", Delimited(c.delimiter));
  ASSERT_EQ(without.Data().size(), 1u);
  EXPECT_EQ(without.Data()[0], c.without);
  std::string hinted;
  for (const CReadingHint& hint : without.facts.reading.Hints()) hinted += hint.option + ";";
  EXPECT_NE(hinted.find(c.hintOption), std::string::npos) << hinted;

  const CConverted plainWith = Convert(c.nearMiss + "\r\n", Delimited(c.delimiter, c.choose));
  const CConverted plainWithout = Convert(c.nearMiss + "\r\n", Delimited(c.delimiter));
  EXPECT_EQ(plainWith.lines, plainWithout.lines);
  EXPECT_FALSE(plainWith.facts.reading.HasDoubts());
}

const std::vector<CChoiceCase>& ChoiceCases() {
  static const std::vector<CChoiceCase> cases = {
      {"DecimalComma", ";", [](CReadingOptions& r) { r.decimalComma = true; }, "3500,0183;9,315;-0,5",
       "      3500.0183        9.3150       -0.5000  ", "      3500.0000        9.0000       -0.0000  ",
       "--decimal-comma", "3500;9;-1"},
      {"Quotes", ",", [](CReadingOptions& r) { r.quotes = true; }, "\"4609.8008\",\" 1 \",\"2\"",
       "      4609.8008        1.0000        2.0000  ", "      -999.2500     -999.2500     -999.2500  ",
       "--quotes", "4609.8008,1,2"},
      {"QuotesKeepTheirDelimiters", ",", [](CReadingOptions& r) { r.quotes = r.decimalComma = true; },
       "\"3500,0183\",\"9,315\",2", "      3500.0183        9.3150        2.0000  ",
       "      -999.2500      183.0000     -999.2500  ", "--quotes", "3500,9,2"},
      {"EmptyFields", "tab", [](CReadingOptions& r) { r.emptyFields = true; }, "1000.5\t\t2.563",
       "      1000.5000     -999.2500        2.5630  ", "      1000.5000        2.5630     -999.2500  ",
       "--empty-fields", "1000.5\t0\t2.563"},
      {"EmptyFieldsAtTheEnd", ",", [](CReadingOptions& r) { r.emptyFields = true; }, "1000,1,",
       "      1000.0000        1.0000     -999.2500  ", "      1000.0000        1.0000     -999.2500  ",
       "--empty-fields", "1000,1,2"},
      {"NullMarkers", "space",
       [](CReadingOptions& r) {
         r.nullMarkers = {"NA", "-999"};
       },
       "1000 NA -999", "      1000.0000     -999.2500     -999.2500  ",
       "      1000.0000     -999.2500     -999.0000  ", "--null-markers 'NA|-999'", "1000 1 -998"},
      {"SourceDigits", "space", [](CReadingOptions& r) { r.digits = DigitsKept::Source; },
       "1000 1.5e-05 72.01441955600001", "      1000.0000      0.000015  72.01441955600001  ",
       "      1000.0000        0.0000       72.0144  ", "--digits source", "1000 1.5 -999.25"},
  };
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Choices, ReadingChoices, ::testing::ValuesIn(ChoiceCases()),
                         [](const ::testing::TestParamInfo<CChoiceCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ReadingTest, DateTimesAreSecondsSinceTheFirstAndTheIndex) {
  const auto dateTimes = Delimited(",", [](CReadingOptions& r) { r.dateTimeColumn = 1; });
  const std::vector<CCurveDef> curves = {Curve("DATE"), Curve("FLOW", "M3")};
  const std::string data = "2013-12-12 03:00:00,5\r\n2013-12-12T04:00:00,6\r\n12/12/2013 05:00,7\r\n";
  for (bool inverse : {false, true}) {
    const CConverted c = Convert(data, dateTimes, inverse, curves);
    const std::vector<std::string> rows =
        inverse
            ? std::vector<std::string>{"      7200.0000        7.0000  ", "      3600.0000        6.0000  ",
                                       "         0.0000        5.0000  "}
            : std::vector<std::string>{"         0.0000        5.0000  ", "      3600.0000        6.0000  ",
                                       "      7200.0000        7.0000  "};
    EXPECT_EQ(c.Data(), rows);
    // TIME in S is the index: no curve is headed DEPTH.
    EXPECT_EQ(c.Well("STRT"), " STRT.S" + std::string(inverse ? 24 : 27, ' ') +
                                  (inverse ? "7200.0000" : "0.0000") + ": Start Depth");
    EXPECT_EQ(c.Well("STEP"), " STEP.S" + std::string(inverse ? 23 : 24, ' ') +
                                  (inverse ? "-3600.0000" : "3600.0000") + ": Depth Increment");
    EXPECT_NE(std::find(c.lines.begin(), c.lines.end(), " TIME.S                                 :   1 "),
              c.lines.end());
    const auto other = std::find(c.lines.begin(), c.lines.end(), "~Other Information");
    ASSERT_NE(other, c.lines.end());
    EXPECT_EQ(
        other[1],
        "TIME 0 S = 2013-12-12T03:00:00, the first date-time of column 1 (TIME counts seconds from it)");
    EXPECT_FALSE(c.facts.reading.HasDoubts());
  }
  // A cell that is no date-time is no number there: the null value, and said.
  const CConverted c = Convert("2013-12-12 03:00:00,5\r\n3600,6\r\n", dateTimes, false, curves);
  EXPECT_EQ(c.Data()[1], "      -999.2500        6.0000  ");
  EXPECT_EQ(c.facts.reading.Total(ReadingKind::NotANumber).count, 1u);
  // Without the choice the summary names the column.
  const CConverted plain = Convert(data, Delimited(","), false, curves);
  EXPECT_EQ(plain.facts.reading.Total(ReadingKind::PartialNumber).count, 3u);
  ASSERT_FALSE(plain.facts.reading.Hints().empty());
  EXPECT_EQ(plain.facts.reading.Hints()[0].option, "--date-time 1");
}

TEST_F(ReadingTest, FirstOccurrenceIsNearestTheStartInEitherOrder) {
  for (bool inverse : {false, true}) {
    const CConverted c = Convert(
        "Title\r\n1000 1 2\r\n1001 x 2\r\n\r\n1002 y 2\r\n",
        [](CConversionSetup& setup) { setup.firstDigitLineIndex = 1; }, inverse);
    const CReadingCount& count = c.facts.reading.Total(ReadingKind::NotANumber);
    EXPECT_EQ(count.count, 2u);
    EXPECT_EQ(count.first.line, 3u) << inverse;
    EXPECT_EQ(count.first.text, "x");
    EXPECT_EQ(c.facts.reading.Count(1, ReadingKind::NotANumber).count, 2u);
    EXPECT_EQ(c.facts.reading.Rows(), 3u);
  }
}

TEST_F(ReadingTest, SummaryTextNamesKindsFirstCellsAndTheFlags) {
  const CConverted c = Convert("1000;1,5;-999\r\n1001;2,5;3\r\n", Delimited(";"));
  EXPECT_EQ(
      FormatReadingSummary(c.facts.reading, ReadingAudience::CommandLine),
      "Reading: 2 rows of 3 columns.\n"
      "  PARTIAL_NUMBER: 2 cells (text after the number; the number is written), first on line 1, column 2: "
      "\"1,5\"\n"
      "  NULL_LIKE: 1 cell (a common null marker that is not the NULL value; written as a reading), first on "
      "line 1, column 3: \"-999\"\n"
      "  Looks like decimal commas: --decimal-comma\n"
      "  Looks like null markers: --null-markers '-999'\n");
  EXPECT_EQ(FormatReadingColumns(c.facts.reading),
            "Column 2 (A):\n  PARTIAL_NUMBER: 2 cells, first on line 1, column 2: \"1,5\"\n"
            "Column 3 (B):\n  NULL_LIKE: 1 cell, first on line 1, column 3: \"-999\"\n");
  const CConverted clean = Convert("1000 1 2\r\n", nullptr);
  EXPECT_EQ(FormatReadingSummary(clean.facts.reading, ReadingAudience::Wizard),
            "Reading: 1 row of 3 columns, every cell read as a number.\n");
}

}  // namespace
}  // namespace corvane
