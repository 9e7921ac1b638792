// The header sections of a LAS file, character by character.
#include <gtest/gtest.h>

#include "JobDoubles.h"
#include "LasTestHelpers.h"
#include "SysCallFaults.h"
#include "las/LasWriter.h"
#include "platform/FileError.h"
#include "platform/ProgramInfo.h"
#include "platform/TextWriter.h"

namespace corvane {
namespace {

using test::CrLfLines;
using test::Curve;

class LasHeaderTest : public ::testing::Test {
 protected:
  // Writes with `write` into a fresh file and returns its lines.
  template <typename Write>
  std::vector<std::string> Written(Write write) {
    const std::string path = m_dir.File("out.las");
    {
      CTextWriter file;
      file.Create(path);
      CLasWriter writer(file);
      write(writer);
      file.Commit();
    }
    m_bytes = test::ReadBytes(path);
    return CrLfLines(m_bytes);
  }

  test::CScratchDir m_dir;
  std::string m_bytes;
  CCollectingFeedback m_feedback;
};

TEST_F(LasHeaderTest, HeaderLinesPutTheClosingColonInColumn41) {
  EXPECT_EQ(CLasWriter::ComposeHeaderLine(" STRT.M", "1000.0000:", "Start Depth"),
            " STRT.M                        1000.0000: Start Depth");
  EXPECT_EQ(CLasWriter::ComposeHeaderLine(" STEP.M", "0.1250:", "Depth Increment"),
            " STEP.M                           0.1250: Depth Increment");
  const std::string well = CLasWriter::ComposeHeaderLine(" WELL.", "WELL A-1:", "");
  EXPECT_EQ(well, " WELL.                          WELL A-1: ");
  EXPECT_EQ(well.size(), 42u);
  EXPECT_EQ(well[40], ':');
  // Parts of 41 characters or more together are joined without a blank; nothing is cut.
  const std::string mnemonic = " " + std::string(30, 'M') + ".";
  EXPECT_EQ(CLasWriter::ComposeHeaderLine(mnemonic, "ABCDEFGHI:", "D"), mnemonic + "ABCDEFGHI: D");
  const std::string longValue(500, 'v');
  EXPECT_EQ(CLasWriter::ComposeHeaderLine(" X.", longValue + ":", std::string(300, 'd')),
            " X." + longValue + ": " + std::string(300, 'd'));
}

TEST_F(LasHeaderTest, VersionSectionIsFixed) {
  const auto lines = Written([](CLasWriter& w) { w.WriteVersionSection(); });
  EXPECT_EQ(m_bytes,
            "~Version Information\r\n"
            " VERS.                2.00 : CWLS Log ASCII Standard - Version 2.00\r\n"
            " WRAP.                  NO : One line per depth\r\n");
}

TEST_F(LasHeaderTest, WellSectionWithEveryOptionalLine) {
  auto setup = test::MakeSetup("a.asc", "a.las", {Curve("DEPT", "M")});
  setup.wellName = "WELL A-1";
  setup.logDate = "01/02/2020";
  setup.uwiValue = "42-123-45678";
  setup.wellLabel = "API";
  setup.country = "Canada";  // never written
  CDepthRange range;
  range.depthColumn = 0;
  range.start = 1000;
  range.stop = 1500.5;
  range.step = 0.125;
  range.unit = "M";
  const auto lines = Written([&](CLasWriter& w) { w.WriteWellSection(setup, range, {}); });
  const std::vector<std::string> expected = {
      "~Well Information",
      "#MNEM.UNIT           Data Type            Information",
      "#--------- ------------------------------ ------------------------------",
      " STRT.M                        1000.0000: Start Depth",
      " STOP.M                        1500.5000: Stop Depth",
      " STEP.M                           0.1250: Depth Increment",
      " NULL.M                        -999.2500: No Data Flag",
      " WELL.                          WELL A-1: ",
      " DATE.                        01/02/2020: LOG DATE",
      " API .                      42-123-45678: UNIQUE WELL ID",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(lines[2].size(), 72u);
  EXPECT_EQ(m_bytes.find("Canada"), std::string::npos);
}

TEST_F(LasHeaderTest, WellSectionDefaultsAndLabels) {
  auto setup = test::MakeSetup("a.asc", "a.las", {Curve("GR")});
  CDepthRange range;  // no depth curve: zeros, no unit
  auto lines = Written([&](CLasWriter& w) { w.WriteWellSection(setup, range, {}); });
  ASSERT_EQ(lines.size(), 7u);  // ends with the NULL line
  EXPECT_EQ(lines[3], " STRT.M                           0.0000: Start Depth");
  EXPECT_EQ(lines[5], " STEP.M                           0.0000: Depth Increment");
  EXPECT_EQ(lines[6], " NULL.M                        -999.2500: No Data Flag");

  // Only the exact label "API" gives " API ."; a value of blanks counts as given.
  for (const std::string label : {"UWI", "", "api", "API "}) {
    setup.wellLabel = label;
    setup.uwiValue = "  ";
    lines = Written([&](CLasWriter& w) { w.WriteWellSection(setup, range, {}); });
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[7], " UWI .                                  : UNIQUE WELL ID") << label;
  }
  range.unit = "FT";
  setup.nullValue = -1e6;
  lines = Written([&](CLasWriter& w) { w.WriteWellSection(setup, range, {}); });
  EXPECT_EQ(lines[6], " NULL.FT                   -1000000.0000: No Data Flag");
}

TEST_F(LasHeaderTest, OtherHeaderLinesAreCutAtColons) {
  auto setup = test::MakeSetup("a.asc", "a.las", {Curve("GR")});
  const std::vector<std::string> other = {
      "COMP.:ACME:COMPANY",
      "",
      "COMP.::COMPANY",
      ":COMP.:ACME",
      "DATE.:01/02/2020:Logged 10:30",
      "  SRVC.:  Blanks kept :  as typed ",
      "NOCOLON",
      "A.:" + std::string(250, 'x') + ":long",
  };
  const auto lines = Written([&](CLasWriter& w) { w.WriteWellSection(setup, CDepthRange(), other); });
  ASSERT_EQ(lines.size(), 7u + 7u);
  EXPECT_EQ(lines[7], " COMP.                              ACME: COMPANY");
  EXPECT_EQ(lines[8], " COMP.                           COMPANY: ");
  EXPECT_EQ(lines[9], " COMP.                              ACME: ");
  EXPECT_EQ(lines[10], " DATE.                        01/02/2020: Logged 10");
  EXPECT_EQ(lines[11], "   SRVC.                    Blanks kept :   as typed ");
  EXPECT_EQ(lines[12], " NOCOLON                                : ");
  EXPECT_EQ(lines[13], " A." + std::string(250, 'x') + ": long");
}

TEST_F(LasHeaderTest, CurveSectionPutsTheDepthCurveFirstAndNumbersFromTwo) {
  auto setup =
      test::MakeSetup("a.asc", "a.las",
                      {Curve("GR", "GAPI", "45 310 01 00", "Gamma Ray"), Curve("", "X", "1", "skipped"),
                       Curve("DEPT", "M", "", "Depth"), Curve("RHOB", "G/C3", "", "Density")});
  CDepthRange range;
  range.depthColumn = 2;
  range.unit = "M";
  auto lines = Written([&](CLasWriter& w) { EXPECT_TRUE(w.WriteCurveSection(setup, range, m_feedback)); });
  std::vector<std::string> expected = {
      "~Curve Information",
      "#MNEM.UNIT           API Codes            Curve Description",
      "#--------- ------------------------------ ------------------------------",
      " DEPT.M                                 :   1 Depth",
      " GR.GAPI                    45 310 01 00:   2 Gamma Ray",
      " RHOB.G/C3                              :   3 Density",
  };
  EXPECT_EQ(lines, expected);

  // Without a depth curve the numbering still starts at 2.
  lines = Written([&](CLasWriter& w) { EXPECT_TRUE(w.WriteCurveSection(setup, CDepthRange(), m_feedback)); });
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3], " GR.GAPI                    45 310 01 00:   2 Gamma Ray");
  EXPECT_EQ(lines[4], " DEPT.M                                 :   3 Depth");
  EXPECT_EQ(lines[5], " RHOB.G/C3                              :   4 Density");

  // A depth curve with empty units keeps them empty here; curves past the curve total are left out.
  setup.curves[2].units.clear();
  setup.digitSamples.resize(3);
  lines = Written([&](CLasWriter& w) { EXPECT_TRUE(w.WriteCurveSection(setup, range, m_feedback)); });
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3], " DEPT.                                  :   1 Depth");
  EXPECT_TRUE(m_feedback.messages.empty());
}

TEST_F(LasHeaderTest, WriteFailures) {
  // The curve section reports its own failure; the version and well sections pass it on.
  test::CScratchDir dir;
  auto setup = test::MakeSetup("a.asc", "a.las", {Curve("DEPT", "M")});
  test::CSysCallFault fault(test::CSysCallFault::Call::Write, ENOSPC, 1, dir.Path());
  CTextWriter full;
  full.Create(dir.File("a.las"));
  CLasWriter writer(full);
  EXPECT_FALSE(writer.WriteCurveSection(setup, CDepthRange(), m_feedback));
  ASSERT_EQ(m_feedback.messages.size(), 1u);
  EXPECT_TRUE(m_feedback.messages[0].error);
  EXPECT_EQ(m_feedback.messages[0].text, "Failed to write to LAS file.");
  EXPECT_EQ(m_feedback.messages[0].caption, kAppTitle);
  EXPECT_THROW(writer.WriteVersionSection(), CFileError);
  EXPECT_THROW(writer.WriteWellSection(setup, CDepthRange(), {"A.:B:C"}), CFileError);
}

}  // namespace
}  // namespace corvane
