// The rules of the LAS check, each with a text that breaks it (the finding and its line
// are asserted) and a near miss that keeps to it (no such finding, and no error).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LasTestFiles.h"
#include "lasfile/LasChecker.h"

namespace corvane {
namespace {

using test::CLineEdit;

struct CRuleCase {
  const char* name;
  LasCode code;
  bool wrapped;                   // edits apply to the wrapped conforming file
  std::vector<CLineEdit> breaks;  // the finding is expected on `line` of the edited text
  int line;
  std::vector<CLineEdit> keeps;  // a near miss: no finding of the code and no error
};

const std::vector<CRuleCase>& RuleCases() {
  static const std::vector<CRuleCase> cases = {
      // The file as a whole
      {"BadCharacter",
       LasCode::CharacterNotAllowed,
       false,
       {{25, " Note: caf\xC3\xA9 \t ok"}},
       25,
       {{25, " Note: ~!@#$%^&*()_+{}|:\"<>?`-=[]\\;',./"}}},
      {"NulByteInData",
       LasCode::CharacterNotAllowed,
       false,
       {{28, std::string("1669.875   123.450 2550.0\0", 26)}},
       28,
       {{28, "1669.875   123.450 2550.0"}}},
      {"TabSeparatedData",
       LasCode::CharacterNotAllowed,
       false,
       {{28, "1669.875\t123.450\t2550.000"}},
       28,
       {{28, "1669.875 123.450 2550.000"}}},
      {"TextBeforeFirstSection",
       LasCode::TextOutsideSection,
       false,
       {{1, "LAS export\n~VERSION INFORMATION"}},
       1,
       {{1, "# LAS export\n~VERSION INFORMATION"}}},
      // Sections
      {"NoCurveSection",
       LasCode::SectionMissing,
       false,
       {{18, test::kDelete}, {19, test::kDelete}, {20, test::kDelete}, {21, test::kDelete}},
       22,
       {{18, "~Curve"}}},
      {"NoDataSection",
       LasCode::SectionMissing,
       false,
       {{26, test::kDelete}, {27, test::kDelete}, {28, test::kDelete}, {29, test::kDelete}},
       25,
       {{26, "~ASCII"}}},
      {"VersionNotFirst",
       LasCode::VNotFirst,
       false,
       {{1, "~OTHER\n text\n~VERSION INFORMATION"}, {24, "~Z"}},
       1,
       {{1, "# exported\n~VERSION INFORMATION"}}},
      {"SecondParameterSection",
       LasCode::SectionDuplicate,
       false,
       {{24, "~PARAMETER\n BS  .MM  200.0 : BIT SIZE\n~OTHER"}},
       24,
       {{24, "~ZONES\n BS  .MM  200.0 : BIT SIZE\n~OTHER"}}},
      {"SectionAfterData",
       LasCode::SectionAfterA,
       false,
       {{29, "1669.750   123.450  -999.25\n~OTHER\nlate note"}},
       30,
       {{24, "~OTHER\nearly note"}}},
      {"WellNotSecond",
       LasCode::WNotSecond,
       false,
       {{4, "~PARAMETER INFORMATION\n~WELL INFORMATION"}, {22, "~Z"}},
       5,
       {{22, "~Z"}}},
      {"CustomSection", LasCode::SectionCustom, false, {{24, "~Zones"}}, 24, {{24, "~Other"}}},
      {"SectionWithoutLetter",
       LasCode::SectionLetterMissing,
       false,
       {{24, "~ OTHER"}},
       24,
       {{24, "  ~OTHER"}}},
      {"LowerCaseSection", LasCode::SectionLowercase, false, {{24, "~other"}}, 24, {{24, "~Other"}}},
      {"BlankLineInWell",
       LasCode::BlankLine,
       false,
       {{10, "\n COMP.  ANY OIL : COMPANY"}},
       10,
       {{10, "#\n COMP.  ANY OIL : COMPANY"}}},
      {"BlankLineInData",
       LasCode::BlankLine,
       false,
       {{28, "\n1669.875   123.450 2550.000"}},
       28,
       {{29, "1669.750   123.450  -999.25"}}},
      {"BlankLineInWrappedRow",
       LasCode::BlankLine,
       true,
       {{28, "\n   123.450 2550.000"}},
       28,
       {{28, "   123.450 2550.000"}}},
      {"BlankLinesAtEnd",
       LasCode::BlankLineAtEnd,
       false,
       {{29, "1669.750   123.450  -999.25\n\n"}},
       30,
       {{29, "1669.750   123.450  -999.25"}}},
      {"BlankLineInOther",
       LasCode::BlankLineInText,
       false,
       {{25, " Note:\n\n more"}},
       26,
       {{25, " Note:\n more"}}},
      // Lines of ~V, ~W, ~C and ~P
      {"NoDot",
       LasCode::DotMissing,
       false,
       {{10, " COMP   ANY OIL COMPANY  : COMPANY"}},
       10,
       {{10, " COMP.  ANY OIL COMPANY INC.  : COMPANY"}}},
      {"NoSpaceAfterUnits",
       LasCode::SpaceMissing,
       false,
       {{9, " NULL.-999.25: NULL VALUE"}},
       9,
       {{9, " NULL. -999.25: NULL VALUE"}}},
      {"ValueTakenForUnits",
       LasCode::WValueNotNumber,
       false,
       {{9, " NULL.-999.25 : NULL VALUE"}},
       9,
       {{9, " NULL. -999.25 : NULL VALUE"}}},
      {"UnitsRunIntoColon",
       LasCode::SpaceMissing,
       false,
       {{19, " DEPT.M: 1 DEPTH"}},
       19,
       {{19, " DEPT.M : 1 DEPTH"}}},
      {"NoColon",
       LasCode::ColonMissing,
       false,
       {{10, " COMP.  ANY OIL COMPANY INC."}},
       10,
       {{10, " COMP.  ANY: OIL: COMPANY INC. : COMPANY"}}},
      {"MnemonicWithSpace",
       LasCode::MnemonicInvalid,
       false,
       {{23, " BH T.DEGC  35.5 : BOTTOM HOLE TEMPERATURE"}},
       23,
       {{23, "    BHT   .DEGC  35.5 : BOTTOM HOLE TEMPERATURE"}}},
      {"UnitWithColon",
       LasCode::UnitInvalid,
       false,
       {{23, " BHT .DEG:C  35.5 : BOTTOM HOLE TEMPERATURE"}},
       23,
       {{23, " BHT .DEGC  35.5 at 10:30 : BOTTOM HOLE TEMPERATURE"}}},
      {"DuplicateMnemonic",
       LasCode::MnemonicDuplicate,
       false,
       {{23, " BHT .DEGC  35.5 : A\n bht .DEGC  36.5 : B"}},
       24,
       {{23, " BHT .DEGC  35.5 : A\n BHT2.DEGC  36.5 : B"}}},
      // ~V
      {"NoWrapLine",
       LasCode::VItemMissing,
       false,
       {{3, test::kDelete}},
       1,
       {{3, " WRAP.   no  : ONE LINE PER DEPTH STEP"}}},
      {"VersionThree",
       LasCode::VersInvalid,
       false,
       {{2, " VERS.   3.0 : CWLS LOG ASCII STANDARD - VERSION 3.0"}},
       2,
       {{2, " VERS.   2 : CWLS LOG ASCII STANDARD - VERSION 2"}}},
      {"VersionOneTwo",
       LasCode::Vers12,
       false,
       {{2, " VERS.   1.2: CWLS LOG ASCII STANDARD - VERSION 1.2"}},
       2,
       {{2, " VERS.   2.00: CWLS LOG ASCII STANDARD - VERSION 2.00"}}},
      {"WrapMaybe",
       LasCode::WrapInvalid,
       false,
       {{3, " WRAP.   MAYBE : ONE LINE PER DEPTH STEP"}},
       3,
       {{3, " WRAP.   NO : ONE LINE PER DEPTH STEP"}}},
      // ~W
      {"NoProvince",
       LasCode::WItemMissing,
       false,
       {{14, test::kDelete}},
       4,
       {{14, " CTRY.       CANADA : COUNTRY"}}},
      {"NoUwi",
       LasCode::WItemMissing,
       false,
       {{17, test::kDelete}},
       4,
       {{17, " API .       42-501-20130 : API NUMBER"}}},
      {"NoDate",
       LasCode::WItemMissing,
       false,
       {{16, "# DATE. 13-DEC-86 : LOG DATE"}},
       4,
       {{16, " DATE.                    13-DEC-86 : LOG DATE"}}},
      {"EmptyCompany",
       LasCode::WItemEmpty,
       false,
       {{10, " COMP.                             : COMPANY"}},
       10,
       {{10, " COMP.                             X : COMPANY"}}},
      {"EmptyCountryForProvince",
       LasCode::WItemEmpty,
       false,
       {{14, " CTRY.  : COUNTRY"}},
       14,
       {{14, " CTRY.  : COUNTRY\n PROV.   ALBERTA : PROVINCE"}}},
      {"NullNotANumber",
       LasCode::WValueNotNumber,
       false,
       {{9, " NULL.       none : NULL VALUE"}},
       9,
       {{9, " NULL.       -999.2500 : NULL VALUE"}}},
      {"DepthInFeetSpelledOut",
       LasCode::DepthUnitInvalid,
       false,
       {{6, " STRT.FEET 1670.0000 : START"},
        {7, " STOP.FEET 1669.7500 : STOP"},
        {8, " STEP.FEET -0.1250 : STEP"},
        {19, " DEPT.FEET  : 1 DEPTH"}},
       19,
       {{6, " STRT.FT 1670.0000 : START"},
        {7, " STOP.FT 1669.7500 : STOP"},
        {8, " STEP.FT -0.1250 : STEP"},
        {19, " DEPT.FT  : 1 DEPTH"}}},
      {"StartInOtherUnits",
       LasCode::IndexUnitMismatch,
       false,
       {{6, " STRT.F      1670.0000 : START DEPTH"}},
       6,
       {{6, " STRT.M      1670.0000 : START DEPTH"}}},
      {"StartNotFirstDepth",
       LasCode::StrtMismatch,
       false,
       {{6, " STRT.M      1670.1250 : START DEPTH"}},
       6,
       {{6, " STRT.M      1670 : START DEPTH"}}},
      {"StopNotLastDepth",
       LasCode::StopMismatch,
       false,
       {{7, " STOP.M      1660.0000 : STOP DEPTH"}},
       7,
       {{7, " STOP.M      +1669.75 : STOP DEPTH"}}},
      {"StopRounded",
       LasCode::StopMismatch,
       false,
       {{7, " STOP.M      1669.8 : STOP DEPTH"}},
       7,
       {{7, " STOP.M      1669.8 : STOP DEPTH"}, {8, " STEP.M  0 : STEP"}, {29, "1669.80 1 1"}}},
      {"StepNotSpacing",
       LasCode::StepMismatch,
       false,
       {{8, " STEP.M      0.1250 : STEP"}},
       8,
       {{8, " STEP.M      -0.125000 : STEP"}}},
      {"StepWithIrregularSpacing",
       LasCode::StepMismatch,
       false,
       {{28, "1669.900 1 1"}},
       8,
       {{8, " STEP.M  0 : STEP"}, {28, "1669.900 1 1"}}},
      {"StartNotMultipleOfStep",
       LasCode::NotMultipleOfStep,
       false,
       {{6, " STRT.M  1670.0625 : START"},
        {7, " STOP.M  1669.8125 : STOP"},
        {27, "1670.0625 1 1"},
        {28, "1669.9375 1 1"},
        {29, "1669.8125 1 1"}},
       6,
       {{6, " STRT.M  1670.1250 : START"},
        {7, " STOP.M  1669.8750 : STOP"},
        {27, "1670.125 1 1"},
        {28, "1670.000 1 1"},
        {29, "1669.875 1 1"}}},
      {"NullUnused",
       LasCode::NullUnused,
       false,
       {{9, " NULL.       -9999 : NULL VALUE"}},
       9,
       {{9, " NULL.       -9999 : NULL VALUE"}, {29, "1669.750   123.450  -9999"}}},
      // ~C
      {"NoCurves",
       LasCode::CurvesNone,
       false,
       {{19, test::kDelete}, {20, test::kDelete}, {21, "# none"}},
       18,
       {{20, test::kDelete}, {21, test::kDelete}, {27, "1670.000"}, {28, "1669.875"}, {29, "1669.750"}}},
      {"IndexNamedMd",
       LasCode::IndexMnemonic,
       false,
       {{19, " MD  .M      : 1 DEPTH"}},
       19,
       {{19, " DEPTH.M     : 1 DEPTH"}}},
      {"IndexNamedIndex",
       LasCode::IndexNamedIndex,
       false,
       {{19, " INDEX.M     : 1 DEPTH"}},
       19,
       {{19, " DEPT .M     : 1 DEPTH"}}},
      // ~A
      {"NoRows",
       LasCode::DataEmpty,
       false,
       {{27, test::kDelete},
        {28, test::kDelete},
        {29, test::kDelete},
        {6, " STRT.M 0 : S"},
        {7, " STOP.M 0 : S"},
        {8, " STEP.M 0 : S"}},
       26,
       {{28, test::kDelete}, {29, test::kDelete}, {7, " STOP.M 1670 : S"}}},
      {"CommentAmongRows",
       LasCode::CommentInData,
       false,
       {{28, "#1669.875   123.450 2550.000"}},
       28,
       {{26, "#DEPTH DT RHOB\n~A"}}},
      {"ShortRow",
       LasCode::RowValueCount,
       false,
       {{28, "1669.875   123.450"}},
       28,
       {{28, "   1669.875     123.450     2550.000   "}}},
      {"LongRow",
       LasCode::RowValueCount,
       false,
       {{28, "1669.875   123.450 2550.000 1.0"}},
       28,
       {{28, "1669.875 123.450 2550.000"}}},
      {"WholeLineAsOneValue",
       LasCode::ValueNotNumber,
       false,
       {{28, "1669.875,123.450,2550.000"}},
       28,
       {{28, "1669.875 123.450 2550.000"}}},
      {"TextValue",
       LasCode::ValueNotNumber,
       false,
       {{28, "1669.875   n/a 2550.000"}},
       28,
       {{28, "1669.875   +123.45 2550."}}},
      {"TextValueInWrappedRow",
       LasCode::ValueNotNumber,
       true,
       {{30, "   n/a 2550.000"}},
       30,
       {{30, "   .5 2550.000"}}},
      {"ExponentValue",
       LasCode::ValueExponent,
       false,
       {{28, "1669.875   1.2345E+02 2550.000"}},
       28,
       {{28, "1669.875   123.45 2550.000"}}},
      {"NullIndex",
       LasCode::IndexNull,
       false,
       {{28, "-999.25   123.450 2550.000"}, {8, " STEP.M 0 : S"}},
       28,
       {{28, "1669.875   -999.25 -999.25"}}},
      {"RepeatedIndex",
       LasCode::IndexNotMonotonic,
       false,
       {{28, "1670.000   123.450 2550.000"}, {8, " STEP.M 0 : S"}},
       28,
       {{6, " STRT.M 1669.75 : S"},
        {7, " STOP.M 1670 : S"},
        {8, " STEP.M 0.125 : S"},
        {27, "1669.750 1 1"},
        {28, "1669.875 1 1"},
        {29, "1670.000 1 1"}}},
      {"TimeRunningBack",
       LasCode::IndexNotMonotonic,
       false,
       {{19, " TIME.S : 1 TIME"},
        {6, " STRT.S 1670 : S"},
        {7, " STOP.S 1669.75 : S"},
        {8, " STEP.S -0.125 : S"}},
       28,
       {{19, " TIME.S : 1 TIME"},
        {6, " STRT.S 1669.75 : S"},
        {7, " STOP.S 1670 : S"},
        {8, " STEP.S 0.125 : S"},
        {27, "1669.750 1 1"},
        {28, "1669.875 1 1"},
        {29, "1670.000 1 1"}}},
      {"WrappedIndexNotAlone",
       LasCode::WrapIndexNotAlone,
       true,
       {{29, "1669.875   123.450"}, {30, "   2550.000"}},
       29,
       {{29, "1669.875"}}},
      {"WrappedLineTooLong",
       LasCode::WrapLineTooLong,
       true,
       {{30, "   123.450" + std::string(61, ' ') + "2550.000"}},
       30,  // 79 characters and CR LF
       {{30, "   123.450" + std::string(60, ' ') + "2550.000"}}},
      {"CurveAllNull",
       LasCode::CurveAllNull,
       false,
       {{27, "1670.000   -999.25 2550.000"},
        {28, "1669.875   -999.25 2550.000"},
        {29, "1669.750   -999.2500 1"}},
       20,
       {{27, "1670.000   -999.25 2550.000"}, {28, "1669.875   -999.25 2550.000"}}},
  };
  return cases;
}

class LasRuleTest : public ::testing::TestWithParam<CRuleCase> {
 protected:
  CLasReport Check(const std::vector<CLineEdit>& edits) {
    const CRuleCase& c = GetParam();
    return test::CheckBytes(
        m_dir, test::JoinCrLf(
                   test::Edited(c.wrapped ? test::ConformingWrappedLas() : test::ConformingLas(), edits)));
  }
  test::CScratchDir m_dir;
};

TEST_P(LasRuleTest, BreakingTextIsReportedOnItsLine) {
  const CRuleCase& c = GetParam();
  const CLasReport report = Check(c.breaks);
  bool found = false;
  for (const CLasFinding& finding : report.Findings())
    found = found || (finding.code == c.code && finding.line == static_cast<std::uint64_t>(c.line));
  EXPECT_TRUE(found) << LasRule(c.code).name << " expected on line " << c.line << "\n"
                     << test::Describe(report);
  for (const CLasFinding& finding : report.Findings()) {
    EXPECT_EQ(finding.severity, LasRule(finding.code).severity);
    EXPECT_FALSE(finding.reason.empty());
  }
}

TEST_P(LasRuleTest, NearMissIsClean) {
  const CRuleCase& c = GetParam();
  const CLasReport report = Check(c.keeps);
  EXPECT_EQ(report.Count(c.code), 0u) << test::Describe(report);
  EXPECT_EQ(report.Count(LasSeverity::Error), 0u) << test::Describe(report);
}

INSTANTIATE_TEST_SUITE_P(Rules, LasRuleTest, ::testing::ValuesIn(RuleCases()),
                         [](const ::testing::TestParamInfo<CRuleCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(LasCheckerTest, ConformingFilesHaveNoFinding) {
  test::CScratchDir dir;
  for (const auto& lines : {test::ConformingLas(), test::ConformingWrappedLas()}) {
    const CLasReport report = test::CheckBytes(dir, test::JoinCrLf(lines));
    EXPECT_TRUE(report.Findings().empty()) << test::Describe(report);
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(report.summary.rows, 3u);
    ASSERT_EQ(report.summary.curves.size(), 3u);
    EXPECT_EQ(report.summary.curves[2].mnemonic, "RHOB");
    EXPECT_EQ(report.summary.curves[2].unit, "K/M3");
    EXPECT_EQ(report.summary.curves[2].nulls, 1u);
    EXPECT_EQ(report.summary.firstIndex, "1670.000");
    EXPECT_EQ(report.summary.lastIndex, "1669.750");
    EXPECT_EQ(report.summary.lastIndexLine, lines.size() - (lines.size() == 29 ? 0 : 1));
    ASSERT_EQ(report.summary.sections.size(), 6u);
    EXPECT_EQ(report.summary.sections[5].letter, 'A');
    EXPECT_EQ(report.summary.sections[5].line, 26u);
  }
}

TEST(LasCheckerTest, LineEndsFileEndsAndByteOrderMark) {
  test::CScratchDir dir;
  const std::vector<std::string> lines = test::ConformingLas();
  std::string lf;
  for (const auto& line : lines) lf += line + "\n";
  CLasReport report = test::CheckBytes(dir, lf);
  ASSERT_EQ(report.Findings().size(), 1u) << test::Describe(report);
  EXPECT_EQ(report.Findings()[0].code, LasCode::LineEndNotCrLf);
  EXPECT_EQ(report.Findings()[0].line, 1u);

  // The last line may go without its line end.
  std::string crlf = test::JoinCrLf(lines);
  crlf.resize(crlf.size() - 2);
  EXPECT_TRUE(test::CheckBytes(dir, crlf).Findings().empty());

  report = test::CheckBytes(dir, "\xEF\xBB\xBF" + test::JoinCrLf(lines));
  ASSERT_EQ(report.Findings().size(), 1u) << test::Describe(report);
  EXPECT_EQ(report.Findings()[0].code, LasCode::CharacterNotAllowed);
  EXPECT_NE(report.Findings()[0].reason.find("byte-order mark"), std::string::npos);
}

// A Ctrl-Z ends the text as text mode reads it: a warning when bytes follow it (other
// readers may read on), a note when it is the file's last byte; the line is the mark's.
TEST(LasCheckerTest, CtrlZEndsTheText) {
  test::CScratchDir dir;
  const std::vector<std::string> lines = test::ConformingLas();
  const std::string whole = test::JoinCrLf(lines);
  std::string cutInRow = test::JoinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + 27));
  cutInRow += "1669.875\x1a   123.450 2550.000\r\n";
  struct Case {
    std::string bytes;
    LasCode code;
    std::uint64_t line;
    std::string reasonHolds;
  };
  const std::vector<Case> cases = {
      {whole + "\x1a", LasCode::CtrlZAtEnd, 30, "column 1 is the last byte"},
      {whole.substr(0, whole.size() - 2) + "\x1a", LasCode::CtrlZAtEnd, 29,
       "column " + std::to_string(lines[28].size() + 1)},
      {whole + "\x1a~A junk\r\n", LasCode::TextAfterCtrlZ, 30, "the 9 bytes after it"},
      {cutInRow, LasCode::TextAfterCtrlZ, 28, "column 9 ends the text here, and the 21 bytes"},
      {"\x1a", LasCode::CtrlZAtEnd, 1, "last byte"},
  };
  for (const Case& c : cases) {
    const CLasReport report = test::CheckBytes(dir, c.bytes);
    ASSERT_EQ(report.Count(c.code), 1u) << test::Describe(report);
    const auto finding = std::find_if(report.Findings().begin(), report.Findings().end(),
                                      [&](const CLasFinding& f) { return f.code == c.code; });
    EXPECT_EQ(finding->line, c.line) << finding->reason;
    EXPECT_NE(finding->reason.find(c.reasonHolds), std::string::npos) << finding->reason;
    EXPECT_EQ(finding->severity, c.code == LasCode::CtrlZAtEnd ? LasSeverity::Note : LasSeverity::Warning);
    EXPECT_EQ(report.Count(LasCode::CharacterNotAllowed), 0u);  // what follows the mark is not read
  }
  // Cut in the middle of the last row, the file loses that row and its STOP.
  const CLasReport cut = test::CheckBytes(dir, cutInRow);
  EXPECT_EQ(cut.summary.rows, 2u);
  EXPECT_EQ(cut.Count(LasCode::StopMismatch), 1u);
  // Nothing of the kind without a mark.
  EXPECT_TRUE(test::CheckBytes(dir, whole).Findings().empty());
}

TEST(LasCheckerTest, FilesThatAreNotLas) {
  test::CScratchDir dir;
  CLasReport report = CheckLasFile(dir.File("missing.las"));
  ASSERT_EQ(report.Findings().size(), 1u);
  EXPECT_EQ(report.Findings()[0].code, LasCode::FileUnreadable);
  EXPECT_FALSE(report.complete);

  report = test::CheckBytes(dir, "");
  ASSERT_EQ(report.Findings().size(), 1u);
  EXPECT_EQ(report.Findings()[0].code, LasCode::FileEmpty);
  EXPECT_EQ(report.Findings()[0].line, 0u);

  // A binary file: findings per line are capped, the rest counted.
  std::string binary;
  for (int i = 0; i < 200000; ++i)
    binary += static_cast<char>((i * 7919) % 256 == 0x1A ? 0x1B : (i * 7919) % 256);
  report = test::CheckBytes(dir, binary);
  EXPECT_EQ(report.Count(LasCode::SectionMissing), 4u) << test::Describe(report);
  EXPECT_GT(report.Count(LasCode::CharacterNotAllowed), CLasReport::kListedPerCode);
  EXPECT_LE(report.Findings().size(), 5 * CLasReport::kListedPerCode);
  EXPECT_EQ(report.Unlisted(LasCode::CharacterNotAllowed),
            report.Count(LasCode::CharacterNotAllowed) - CLasReport::kListedPerCode);
}

TEST(LasCheckerTest, HostileSizesStayBounded) {
  test::CScratchDir dir;
  // A line past the reader's limit stops the check on that line.
  std::string huge = test::JoinCrLf(test::ConformingLas());
  huge += std::string(CTextReader::kMaxLineLength + 10, '7') + "\r\n";
  CLasReport report = test::CheckBytes(dir, huge);
  EXPECT_FALSE(report.complete);
  ASSERT_EQ(report.Count(LasCode::LineTooLong), 1u);
  EXPECT_EQ(report.Findings().back().line, 30u);
  EXPECT_EQ(report.summary.rows, 3u);

  // More curves than the check keeps: counted, reported, the rows still read.
  std::vector<std::string> lines = test::ConformingLas();
  std::string curves = " DEPT.M : 1 DEPTH";
  std::string row = "1670.000";
  for (std::size_t i = 1; i <= CLasReader::kMaxCurves; ++i) {
    curves += "\n C" + std::to_string(i) + ". : curve";
    row += " 1";
  }
  lines = test::Edited(lines, {{19, curves.c_str()},
                               {20, test::kDelete},
                               {21, test::kDelete},
                               {28, test::kDelete},
                               {29, test::kDelete},
                               {27, row.c_str()},
                               {7, " STOP.M 1670 : S"}});
  report = test::CheckBytes(dir, test::JoinCrLf(lines));
  EXPECT_EQ(report.Count(LasCode::CheckLimit), 1u) << test::Describe(report);
  EXPECT_EQ(report.Count(LasSeverity::Error), 0u) << test::Describe(report);
  EXPECT_EQ(report.summary.curves.size(), CLasReader::kMaxCurves);
  EXPECT_EQ(report.summary.curvesDropped, 1u);
}

TEST(LasCheckerTest, SampleFiles) {
  // The public samples: their STOP does not match their data, as published.
  for (const char* name : {"sample_2.0.las", "sample_2.0_wrapped.las"}) {
    const CLasReport report = CheckLasFile(test::DataFile(name));
    EXPECT_EQ(report.Count(LasSeverity::Error), 1u) << test::Describe(report);
    EXPECT_EQ(report.Count(LasCode::StopMismatch), 1u) << test::Describe(report);
    EXPECT_EQ(report.Findings().front().code, LasCode::LineEndNotCrLf);
  }
  const CLasReport wrapped = CheckLasFile(test::DataFile("sample_2.0_wrapped.las"));
  EXPECT_EQ(wrapped.summary.wrap, "YES");
  EXPECT_EQ(wrapped.summary.curves.size(), 36u);
  EXPECT_EQ(wrapped.summary.rows, 2u);
  EXPECT_EQ(wrapped.summary.lastIndex, "909.875000");
  EXPECT_EQ(wrapped.Count(LasCode::CurveAllNull), 4u);
}

}  // namespace
}  // namespace corvane
