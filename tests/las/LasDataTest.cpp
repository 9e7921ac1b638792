// The depth scan, the data section and the depth inversion.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "JobDoubles.h"
#include "LasTestHelpers.h"
#include "SysCallFaults.h"
#include "las/JobSlots.h"
#include "las/LasWriter.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

namespace corvane {
namespace {

using test::CrLfLines;
using test::Curve;

class LasDataTest : public ::testing::Test {
 protected:
  std::string Ascii(const std::string& bytes) {
    test::WriteBytes(m_ascii, bytes);
    return m_ascii;
  }

  CDepthRange Scan(const std::string& bytes, const std::vector<CCurveDef>& curves, bool inverse = false,
                   int firstDataLine = 0) {
    auto setup = test::MakeSetup(Ascii(bytes), m_las, curves, firstDataLine);
    CDepthRange range;
    EXPECT_TRUE(CLasWriter::ScanDepthRange(setup, inverse, m_feedback, range).Ok());
    return range;
  }

  // The data section alone, written into a fresh LAS file; returns its lines. A
  // section that fails puts no file in place: an earlier one stays.
  std::vector<std::string> DataSection(const CConversionSetup& setup, const CDepthRange& range, bool inverse,
                                       bool expectSuccess = true) {
    test::WriteBytes(m_las, "earlier\r\n");
    {
      CTextWriter file;
      file.Create(m_las);
      CLasWriter writer(file);
      EXPECT_EQ(writer.WriteDataSection(setup, range, inverse, m_progress, m_feedback).Ok(), expectSuccess);
      file.Close();
    }
    const std::string bytes = test::ReadBytes(m_las);
    if (expectSuccess) return CrLfLines(bytes);
    EXPECT_EQ(bytes, "earlier\r\n");
    return {};
  }

  // Inverts the data part of `bytes` from line `firstDataLine`; returns the
  // temporary file's bytes (the file is removed).
  std::string Inverted(const std::string& bytes, int firstDataLine = 0, bool expectSuccess = true) {
    CTextReader source;
    source.Open(Ascii(bytes));
    std::string_view line;
    for (int i = 0; i < firstDataLine; ++i) EXPECT_TRUE(source.NextLine(line));
    CFile temp;
    std::uint64_t start = 0;
    EXPECT_EQ(CLasWriter::InvertDataLines(source, m_progress, m_feedback, temp, start).Ok(), expectSuccess);
    EXPECT_TRUE(m_temp.Files().empty());  // the temporary has no name
    std::string result;
    if (expectSuccess) {
      EXPECT_TRUE(temp.Seek(start).Ok());
      EXPECT_TRUE(temp.ReadAll(result, 1u << 30).Ok());
    }
    return result;
  }

  test::CScratchDir m_dir;
  int m_mkdir = ::mkdir(m_dir.File("tmp").c_str(), 0700);
  test::CPrivateTempDir m_temp{m_dir.File("tmp")};
  std::string m_ascii = m_dir.File("in.asc");
  std::string m_las = m_dir.File("out.las");
  CSilentProgress m_progress;
  CCollectingFeedback m_feedback;
};

TEST_F(LasDataTest, BlankLines) {
  EXPECT_TRUE(CLasWriter::IsBlankLine(""));
  EXPECT_TRUE(CLasWriter::IsBlankLine(" \t\r\n\v\f"));
  EXPECT_FALSE(CLasWriter::IsBlankLine("  .\n"));
  EXPECT_FALSE(CLasWriter::IsBlankLine("\xA0"));
}

TEST_F(LasDataTest, DepthScanFindsStartStopAndStep) {
  const std::vector<CCurveDef> curves = {Curve("DEPT", "M"), Curve("GR", "GAPI")};
  CDepthRange range = Scan("1000 55\r\n", curves);
  EXPECT_EQ(range.depthColumn, 0);
  EXPECT_EQ(range.unit, "M");
  EXPECT_DOUBLE_EQ(range.start, 1000);
  EXPECT_DOUBLE_EQ(range.stop, 1000);
  EXPECT_DOUBLE_EQ(range.step, 0);
  range = Scan("1000 55\r\n", curves, true);
  EXPECT_DOUBLE_EQ(range.start, 1000);
  EXPECT_FALSE(std::signbit(range.step));  // written as 0.0000, not -0.0000

  const std::string series = test::DepthSeries();
  ASSERT_GT(series.size(), 5000u);
  range = Scan("DEPT GR\r\nM GAPI\r\n" + series, curves, false, 2);
  EXPECT_DOUBLE_EQ(range.start, 1000);
  EXPECT_DOUBLE_EQ(range.stop, 1500);
  EXPECT_DOUBLE_EQ(range.step, 0.5);
  range = Scan("DEPT GR\r\nM GAPI\r\n" + series + "\r\n  \r\n", curves, true, 2);
  EXPECT_DOUBLE_EQ(range.start, 1500);
  EXPECT_DOUBLE_EQ(range.stop, 1000);
  EXPECT_DOUBLE_EQ(range.step, -0.5);

  // A file shorter than 5000 bytes, with LF line ends and no final line end.
  range = Scan("1000 1\n1000.25 2\n1000.5 3", curves);
  EXPECT_DOUBLE_EQ(range.stop, 1000.5);
  EXPECT_DOUBLE_EQ(range.step, 0.25);
  EXPECT_TRUE(m_feedback.messages.empty());
}

TEST_F(LasDataTest, DepthScanOddCases) {
  const std::vector<CCurveDef> curves = {Curve("GR"), Curve("dept", "FT")};
  // Blank lines are no rows: the second row follows them; the stop comes from the end.
  CDepthRange range = Scan("\r\n1 100\r\n\r\n2 101\r\n3 102\r\n", curves);
  EXPECT_EQ(range.depthColumn, 1);
  EXPECT_DOUBLE_EQ(range.start, 100);
  EXPECT_DOUBLE_EQ(range.step, 1);
  EXPECT_DOUBLE_EQ(range.stop, 102);
  EXPECT_EQ(range.startText + " " + range.stopText + " " + range.stepText, "100.0000 102.0000 1.0000");
  // A Ctrl-Z in the last 5000 bytes ends the rows (one before them is the data
  // section's to meet).
  range = Scan(
      "1 100\r\n2 101\r\n3 102\r\n\x1a"
      "4 103\r\n",
      curves);
  EXPECT_EQ(range.stopText, "102.0000");

  // No non-blank line in the last 5000 bytes: the second line's depth stands.
  range =
      Scan("1 100\r\n2 100.5\r\n3 101\r\n" + std::string(6000, ' ') + "\r\n" + std::string(10, '\n'), curves);
  EXPECT_DOUBLE_EQ(range.start, 100);
  EXPECT_DOUBLE_EQ(range.stop, 100.5);
  EXPECT_DOUBLE_EQ(range.step, 0.5);

  // Recognised headings; the first match wins; near misses are no depth curve.
  EXPECT_EQ(Scan("1 2 3\n", {Curve("Depth"), Curve("DEP")}).depthColumn, 0);
  EXPECT_EQ(Scan("1 2 3\n", {Curve("DEPTH1"), Curve("DEPTHS"), Curve("DeP")}).depthColumn, 2);
  EXPECT_EQ(Scan("1 2 3\n", {Curve("DEPTH1"), Curve("DEPTHS"), Curve("")}), CDepthRange());
  // The file ends before the first data line: the initial range, quietly.
  EXPECT_EQ(Scan("1 2\n", curves, false, 1), CDepthRange());
  EXPECT_TRUE(m_feedback.messages.empty());

  // An ASCII file that cannot be opened is reported; the range stays initial.
  auto setup = test::MakeSetup(m_dir.File("missing.asc"), m_las, curves);
  CDepthRange range2;
  EXPECT_EQ(CLasWriter::ScanDepthRange(setup, false, m_feedback, range2).Error(), ENOENT);
  EXPECT_EQ(range2, CDepthRange());
  ASSERT_EQ(test::Texts(m_feedback), std::vector<std::string>{"Failed to open ASCII file."});
  EXPECT_TRUE(m_feedback.messages[0].error);
}

TEST_F(LasDataTest, DataLinesHoldOneCellPerNamedCurveDepthFirst) {
  auto setup = test::MakeSetup(Ascii("55.2 1000\r\n"), m_las, {Curve("GR", "GAPI"), Curve("DEPT", "M")});
  CDepthRange range;
  range.depthColumn = 1;
  auto lines = DataSection(setup, range, false);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "~A         DEPT            GR  ");
  EXPECT_EQ(lines[1], "      1000.0000       55.2000  ");
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created successfully."});
  EXPECT_FALSE(m_feedback.messages[0].error);
  EXPECT_EQ(m_progress.opens, 1);
  EXPECT_EQ(m_progress.closes, 1);
  EXPECT_EQ(m_progress.title, "Creating LAS file...");
  EXPECT_EQ(m_progress.lastLineText, "Processing line [1]");
  EXPECT_EQ(m_progress.lastPercent, 100);

  // Text, missing columns, trailing units, empty headings and wide values.
  setup = test::MakeSetup(Ascii("H1\r\n1 abc 12.5ft 7\r\n\r\n  \t\r\n2\r\n-1e22 1e3 -0.00004 8\r\n"), m_las,
                          {Curve("A"), Curve("B"), Curve("C"), Curve("")}, 1);
  lines = DataSection(setup, CDepthRange(), false);
  const std::vector<std::string> expected = {
      "~A            A             B             C  ",
      "         1.0000     -999.2500       12.5000  ",
      "         2.0000     -999.2500     -999.2500  ",
      "   -10000000000000000000000.0000     1000.0000       -0.0000  ",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(m_progress.lastLineText, "Processing line [5]");  // blank lines are counted

  // A heading longer than the cell is written whole.
  setup = test::MakeSetup(Ascii("1\r\n"), m_las, {Curve(std::string(120, 'H'))});
  lines = DataSection(setup, CDepthRange(), false);
  EXPECT_EQ(lines[0], "~A " + std::string(120, 'H') + "  ");
}

TEST_F(LasDataTest, CellsMatchTheCConversionsOfEveryKindOfText) {
  // Each cell must read "%12.4lf" of what "%lf" makes of the text (the null value
  // when it makes nothing or overflows), whichever route the conversion takes.
  std::mt19937 random(2024);
  auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
  std::vector<std::string> texts = {"0",
                                    "-0",
                                    "+0",
                                    "-0.0",
                                    "007.5",
                                    "00.5",
                                    ".5",
                                    "-.5",
                                    "5.",
                                    ".",
                                    "-",
                                    "+",
                                    "1e3",
                                    "1e",
                                    "1e+",
                                    "2E-2x",
                                    "12.5ft",
                                    "1.2.3",
                                    "99999.99995",
                                    "-999.25",
                                    "0.00005",
                                    "0.00004",
                                    "-0.00004",
                                    "1234567890.1234",
                                    "12345678901.1234",
                                    "123456789012345",
                                    "1234567890123456",
                                    "9007199254740993",
                                    "1.23456",
                                    "1e400",
                                    "-1e400",
                                    "1e-400",
                                    "abc"};
  for (int i = 0; i < 4000; ++i) {
    std::string text;
    if (random() % 4 == 0) text += pick("+-");
    for (int n = random() % 17; n > 0; --n) text += pick("0123456789");
    if (random() % 3 != 0) {
      text += '.';
      for (int n = random() % 8; n > 0; --n) text += pick("0123456789");
    }
    if (random() % 5 == 0) text += std::vector<std::string>{"e5", "e-3", "ft", "e", "E+", ".7"}[random() % 6];
    if (!text.empty()) texts.push_back(text);  // an empty line is blank and gives no data line
  }
  std::string ascii;
  for (const auto& text : texts) ascii += text + "\r\n";
  auto setup = test::MakeSetup(Ascii(ascii), m_las, {Curve("X")});
  setup.nullValue = -12.345;
  const auto lines = DataSection(setup, CDepthRange(), false);
  ASSERT_EQ(lines.size(), texts.size() + 1);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    char* end = nullptr;
    double value = std::strtod(texts[i].c_str(), &end);
    // strtod's "nan" and "inf" are no numbers here, and a number beyond the range of
    // doubles is written as the null value.
    if (end == texts[i].c_str() || !std::isfinite(value) ||
        std::isalpha(static_cast<unsigned char>(texts[i][0])))
      value = setup.nullValue;
    char expected[512];
    std::snprintf(expected, sizeof expected, "   %12.4f  ", value);
    ASSERT_EQ(lines[i + 1], expected) << "cell text: " << texts[i];
  }
}

TEST_F(LasDataTest, InversionReversesTheLinesAsTheyWillBeWritten) {
  // Final line end: an empty first line.
  EXPECT_EQ(Inverted("L1\r\nL2\r\nL3\r\n"), "\r\nL3\r\nL2\r\nL1\r\n");
  EXPECT_EQ(m_progress.lastLineText, "Inversing Curve Data...");
  EXPECT_EQ(m_progress.lastPercent, 100);
  // No final line end: none.
  EXPECT_EQ(Inverted("L1\r\nL2\r\nL3"), "L3\r\nL2\r\nL1\r\n");
  // Lone LF and mixed line ends are accepted; the result is written with CR LF.
  EXPECT_EQ(Inverted("L1\nL2\nL3\n"), "\r\nL3\r\nL2\r\nL1\r\n");
  EXPECT_EQ(Inverted("L1\r\nL2\nL3"), "L3\r\nL2\r\nL1\r\n");
  // Only the data part is inverted; blank lines are reversed like any other.
  EXPECT_EQ(Inverted("head\r\nnames\r\nA\r\n\r\nB  \r\n", 2), "\r\nB  \r\n\r\nA\r\n");
  // An empty data part gives one empty line.
  EXPECT_EQ(Inverted("head\r\n", 1), "\r\n");
  // More than one buffer of lines, and a line larger than the buffer.
  std::string big;
  std::string expected = "\r\n";
  for (int i = 0; i < 300000; ++i) big += "line " + std::to_string(i) + "\n";
  const std::string huge(5u << 20, 'x');
  big += huge + "\r\n";
  expected += huge + "\r\n";
  for (int i = 299999; i >= 0; --i) expected += "line " + std::to_string(i) + "\r\n";
  EXPECT_EQ(Inverted(big), expected);
  EXPECT_TRUE(m_feedback.messages.empty());
  EXPECT_TRUE(m_temp.Files().empty());
}

TEST_F(LasDataTest, InvertedDataSection) {
  auto setup = test::MakeSetup(Ascii("DEPT GR\r\n" + test::DepthSeries("\n")), m_las,
                               {Curve("DEPT", "M"), Curve("GR")}, 1);
  CDepthRange range;
  range.depthColumn = 0;
  auto lines = DataSection(setup, range, true);
  ASSERT_EQ(lines.size(), 1002u);
  EXPECT_EQ(lines[1], "      1500.0000      100.0000  ");
  EXPECT_EQ(lines[1001], "      1000.0000        0.0000  ");
  EXPECT_EQ(m_progress.lastLineText, "Processing line [1002]");  // the empty first line is counted
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created successfully."});
  EXPECT_TRUE(m_temp.Files().empty());

  // An empty data part converts nothing and succeeds.
  setup.asciiFilePath = Ascii("DEPT GR\r\n");
  m_feedback.messages.clear();
  lines = DataSection(setup, range, true);
  EXPECT_EQ(lines.size(), 1u);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created successfully."});
  EXPECT_TRUE(m_temp.Files().empty());
}

TEST_F(LasDataTest, InversionCancelAndFailureRemoveTheTemporaryFile) {
  auto setup = test::MakeSetup(Ascii("1\r\n2\r\n3\r\n"), m_las, {Curve("DEPT")});
  m_progress.CancelAtPoll(2);
  DataSection(setup, CDepthRange(), true, false);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created failed or cancelled."});
  EXPECT_TRUE(m_temp.Files().empty());
  EXPECT_EQ(LasCreationJob().cancelFlag, 0);
  EXPECT_EQ(LasCreationJob().currentDisplay, nullptr);

  // The temporary cannot be made, sized or written: the inversion fails with its own
  // message and the reason, and the ASCII file stays as it was.
  const std::string ascii = test::ReadBytes(setup.asciiFilePath);
  for (const auto call : {test::CSysCallFault::Call::Open, test::CSysCallFault::Call::Ftruncate,
                          test::CSysCallFault::Call::Pwrite}) {
    m_feedback.messages.clear();
    m_progress = CSilentProgress();
    {
      test::CSysCallFault fault(call, ENOSPC, 1, m_dir.File("tmp"));
      DataSection(setup, CDepthRange(), true, false);
    }
    EXPECT_EQ(test::Texts(m_feedback), (std::vector<std::string>{"Failed on inverse curve file.",
                                                                 "LAS file created failed or cancelled."}));
    EXPECT_EQ(m_feedback.messages[0].detail.find("No space left on device") != std::string::npos, true);
    EXPECT_EQ(m_progress.closes, 1);
    EXPECT_EQ(test::ReadBytes(setup.asciiFilePath), ascii);
  }
  // A LAS file that cannot be written ends the same way, the earlier file kept.
  m_feedback.messages.clear();
  {
    test::CSysCallFault fault(test::CSysCallFault::Call::Write, ENOSPC, 1, m_dir.Path());
    DataSection(setup, CDepthRange(), false, false);
  }
  EXPECT_EQ(test::Texts(m_feedback), (std::vector<std::string>{"Failed to write to LAS file.",
                                                               "LAS file created failed or cancelled."}));
  EXPECT_EQ(test::ReadBytes(setup.asciiFilePath), ascii);
}

TEST_F(LasDataTest, DataSectionEndsWithoutDataAndQuietlyWithAnotherJobConverting) {
  auto setup = test::MakeSetup(Ascii("only a header\r\n"), m_las, {Curve("DEPT")}, 3);
  DataSection(setup, CDepthRange(), false, false);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created failed or cancelled."});
  EXPECT_EQ(m_progress.opens, 0);
  m_feedback.messages.clear();

  // Another LAS creation holds the display: this one ends after its title line.
  CSilentProgress other;
  CJobDisplay first(LasCreationJob(), other);
  ASSERT_TRUE(first.Acquire("Creating LAS file..."));
  setup.firstDigitLineIndex = 0;
  DataSection(setup, CDepthRange(), false, false);
  EXPECT_TRUE(m_feedback.messages.empty());
  EXPECT_EQ(m_progress.opens, 0);
  EXPECT_EQ(LasCreationJob().currentDisplay, &other);
}

TEST_F(LasDataTest, DataSectionReportsAnUnreadableAsciiFile) {
  auto setup = test::MakeSetup(m_dir.File("missing.asc"), m_las, {Curve("DEPT")});
  DataSection(setup, CDepthRange(), false, false);
  EXPECT_EQ(test::Texts(m_feedback), (std::vector<std::string>{"Failed to write to LAS file.",
                                                               "LAS file created failed or cancelled."}));
}

}  // namespace
}  // namespace corvane
