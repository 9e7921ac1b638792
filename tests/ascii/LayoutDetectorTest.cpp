#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ascii/ColumnSplitter.h"
#include "ascii/LayoutDetector.h"
#include "platform/FileError.h"
#include "platform/TextReader.h"
#include "setup/Configuration.h"

namespace corvane {
namespace {

std::optional<CLayoutProposal> Detect(const std::string& path) {
  std::optional<CLayoutProposal> proposal;
  EXPECT_TRUE(DetectLayout(path, proposal).Ok()) << path;
  return proposal;
}

using Lines = std::vector<std::string>;

// Rows of `columns` values joined by `separator`, with a steady look.
Lines Rows(int count, int columns, const std::string& separator, int startDepth = 1000) {
  Lines rows;
  for (int r = 0; r < count; ++r) {
    std::string row = std::to_string(startDepth + r) + ".25";
    for (int c = 1; c < columns; ++c)
      row += separator + (c % 3 == 0 ? "-999.25" : std::to_string(c * 7 + r) + ".5");
    rows.push_back(row);
  }
  return rows;
}

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

void ExpectProposal(const Lines& lines, int first, const std::string& delimiter, int columns,
                    const std::vector<int>& headers) {
  const auto proposal = DetectLayoutInLines(lines);
  ASSERT_TRUE(proposal.has_value());
  EXPECT_EQ(proposal->firstDigitLineIndex, first);
  EXPECT_EQ(proposal->delimiterText, delimiter);
  EXPECT_EQ(proposal->columnCount, columns);
  EXPECT_EQ(proposal->headerLines, headers);
}

TEST(LayoutDetection, DelimitersOfTheCommonLayouts) {
  ExpectProposal(Join({{"DEPTH   GR    NPHI   RHOB", "M       API   V/V    G/C3"}, Rows(30, 4, "   ")}), 2,
                 "space", 4, {0, 1});
  ExpectProposal(Join({{"DEPTH\tGR\tNPHI", "M\tAPI\tV/V"}, Rows(30, 3, "\t")}), 2, "tab", 3, {0, 1});
  // Missing values between two commas, and blanks after them, are still rows.
  Lines comma = Join({{"Well A-1, logged 2020", "Depth,Gamma Ray,Neutron", "m,gAPI,v/v"}, Rows(30, 3, ", ")});
  comma.push_back("1031.25,,0.25");
  ExpectProposal(comma, 3, ",", 3, {1, 2});
  ExpectProposal(Join({{"DEPT;GR;SP;CALI;DT"}, Rows(12, 5, ";")}), 1, ";", 5, {0});
  // Tabs padded with blanks: both cuts give the same rows, and the tab is what the file holds.
  ExpectProposal(Join({{"Depth\tGamma Ray\tNeutron Porosity"}, Rows(20, 3, " \t ")}), 1, "tab", 3, {0});
}

TEST(LayoutDetection, FixedWidthColumnsSeparatedByBlanksAreSpaceDelimited) {
  Lines lines = {"    DEPTH       GR      NPHI", "       FT      API       V/V",
                 "-------- -------- ---------"};
  for (int r = 0; r < 20; ++r) {
    char row[64];
    std::snprintf(row, sizeof row, "%9.2f%9.3f%10.4f", 1000.0 + r * 0.5, r * 1.5,
                  r % 4 == 0 ? -999.25 : 0.25);
    lines.push_back(row);
  }
  ExpectProposal(lines, 3, "space", 3, {0, 1});
}

TEST(LayoutDetection, ColumnsThatRunTogetherGiveNoNonsense) {
  Lines lines = {"DEPTH     GR   NPHI"};
  for (int r = 0; r < 20; ++r) {
    char row[64];
    // Every fourth row has a null value that touches its neighbour.
    std::snprintf(row, sizeof row, "%8.2f%8.2f%8.2f", 1000.0 + r, r % 4 == 3 ? -9999.25 : 12.5, 0.5);
    lines.push_back(row);
  }
  EXPECT_FALSE(DetectLayoutInLines(lines).has_value());
}

TEST(LayoutDetection, HeaderBlocksOfAnyLength) {
  for (int n = 0; n <= 20; ++n) {
    Lines block;
    for (int i = 0; i < n; ++i)
      block.push_back(i % 3 == 0   ? "COMPANY: Example Oil " + std::to_string(i)
                      : i % 3 == 1 ? "This is free text line number " + std::to_string(i) + " of the notes"
                                   : "");
    SCOPED_TRACE(n);
    ExpectProposal(Join({block, {"DEPT  GR  ILD  SP", "FT  GAPI  OHMM  MV"}, Rows(40, 4, "  ")}), n + 2,
                   "space", 4, {n, n + 1});
    ExpectProposal(Join({block, Rows(40, 4, " ")}), n, "space", 4, {});
  }
}

TEST(LayoutDetection, BlankLinesInsideAndAboveTheData) {
  Lines lines = {"DEPTH GR", "M API", "", "-------", ""};
  const Lines rows = Rows(30, 2, "    ");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    lines.push_back(rows[i]);
    if (i % 5 == 4) lines.push_back("   ");
  }
  ExpectProposal(lines, 5, "space", 2, {0, 1});
}

TEST(LayoutDetection, UnitsLineWithGapsUnderTheNames) {
  ExpectProposal(Join({{"DEPTH GR NPHI RHOB", "FT API"}, Rows(10, 4, " ")}), 2, "space", 4, {0, 1});
  // Comment marks and section marks in front of the names do not count as names.
  ExpectProposal(Join({{"# DEPTH GR NPHI"}, Rows(10, 3, " ")}), 1, "space", 3, {0});
  ExpectProposal(Join({{"~A  DEPTH GR NPHI"}, Rows(10, 3, " ")}), 1, "space", 3, {0});
}

TEST(LayoutDetection, NoProposalWithoutNumericRows) {
  EXPECT_FALSE(DetectLayoutInLines({}).has_value());
  EXPECT_FALSE(DetectLayoutInLines({"", "  "}).has_value());
  EXPECT_FALSE(DetectLayoutInLines({"just text", "more text", "DEPTH 100 m"}).has_value());
  EXPECT_FALSE(DetectLayoutInLines({"title", "42"}).has_value());  // a lone number is no table
  // Rows of changing width, as in the depth groups of a wrapped file.
  Lines wrapped = {"~A"};
  for (int d = 0; d < 10; ++d) {
    wrapped.push_back(std::to_string(1000 + d) + ".0");
    wrapped.push_back(" 1.0 2.0 3.0 4.0");
    wrapped.push_back(" 5.0 6.0");
  }
  EXPECT_FALSE(DetectLayoutInLines(wrapped).has_value());
}

TEST(LayoutDetection, ShortTablesAndTrailers) {
  // A short table that runs to the end of the file is data.
  ExpectProposal({"A B C", "1 2 3", "4 5 6"}, 1, "space", 3, {0});
  // A long table followed by a trailer line is data too.
  ExpectProposal(Join({{"A B"}, Rows(12, 2, " "), {"END OF DATA"}}), 1, "space", 2, {0});
  // A row with a text marker among its numbers stays in the table.
  ExpectProposal(Join({{"DEPTH GR NPHI"}, Rows(3, 3, " "), {"1003.25 N/A 0.2"}, Rows(3, 3, " ", 1004)}), 1,
                 "space", 3, {0});
  // Numbers in scientific form.
  ExpectProposal({"X Y", "1.0E+03 -2.5e-1", "1.1E+03 +3e2"}, 1, "space", 2, {0});
}

TEST(LayoutDetection, SampleFiles) {
  const auto las = Detect(test::DataFile("sample_2.0.las"));
  ASSERT_TRUE(las.has_value());
  EXPECT_EQ(las->firstDigitLineIndex, 44);
  EXPECT_EQ(las->columnCount, 8);
  EXPECT_EQ(las->delimiterText, "space");
  EXPECT_EQ(las->headerLines, std::vector<int>{43});
  EXPECT_FALSE(Detect(test::DataFile("sample_2.0_wrapped.las")).has_value());
  std::optional<CLayoutProposal> none;
  EXPECT_EQ(DetectLayout(test::DataFile("missing.asc"), none).Error(), ENOENT);
}

TEST(LayoutDetection, FilesWithCrLfLineEnds) {
  test::CScratchDir dir;
  test::WriteBytes(dir.File("in.csv"),
                   "Depth,GR\r\nm,API\r\n1000.5,20.25\r\n1001.0,21.5\r\n1001.5,22.75\r\n");
  const auto proposal = Detect(dir.File("in.csv"));
  ASSERT_TRUE(proposal.has_value());
  EXPECT_EQ(proposal->firstDigitLineIndex, 2);
  EXPECT_EQ(proposal->delimiterText, ",");
  EXPECT_EQ(proposal->headerLines, (std::vector<int>{0, 1}));
}

// Every example log with its configuration: the proposal cuts the data as the
// configuration does, starts at the first row and names the curves.
TEST(LayoutDetection, ExampleFilesMatchTheirConfigurations) {
  const std::filesystem::path examples = test::SourceFile("examples");
  if (!std::filesystem::is_directory(examples)) GTEST_SKIP() << "no examples";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(examples)) {
    if (entry.path().extension() != ".asc") continue;
    std::filesystem::path config = entry.path();
    config.replace_extension(".lah");
    if (!std::filesystem::exists(config)) continue;
    SCOPED_TRACE(entry.path().string());
    CConversionSetup setup;
    setup.configFilePath = config.string();
    ASSERT_TRUE(LoadConfiguration(setup));

    const auto proposal = Detect(entry.path().string());
    ASSERT_TRUE(proposal.has_value());
    EXPECT_EQ(proposal->delimiterText, setup.delimiterText);
    EXPECT_EQ(proposal->columnCount, static_cast<int>(setup.curves.size()));

    CTextReader reader;
    reader.Open(entry.path().string(), false);
    Lines lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    const auto at = [&](int index) { return lines[static_cast<std::size_t>(index)]; };
    CColumnList row;
    SplitColumns(at(proposal->firstDigitLineIndex), row, setup.fixedWidth, setup.skipWidth, -1,
                 GetDelimiterSet(setup.delimiterText), "");
    EXPECT_EQ(row.size(), setup.curves.size());
    ASSERT_FALSE(proposal->headerLines.empty());
    EXPECT_NE(at(proposal->headerLines.front()).find(setup.curves.front().heading), std::string::npos);
    ++checked;
  }
  if (checked == 0) GTEST_SKIP() << "no example with a configuration";
}

// The reading choices the detection proposes: each where the rows show it, and not for a
// near miss; the layout comes out right with them.
TEST(LayoutDetection, ReadingChoicesWhereTheRowsShowThem) {
  struct CCase {
    const char* name;
    Lines lines;
    std::string delimiter;
    int columns;
    std::string reading;  // DescribeReading of the proposal
  };
  const auto numbered = [](const char* format, int count) {
    Lines rows;
    for (int r = 0; r < count; ++r) {
      char row[128];
      std::snprintf(row, sizeof row, format, 1000 + r, r, r % 7);
      rows.push_back(row);
    }
    return rows;
  };
  const auto dated = [](int count) {
    Lines rows;
    for (int r = 0; r < count; ++r)
      rows.push_back("12/11/2013 " + std::to_string(r) + ":30," + std::to_string(r));
    return rows;
  };
  const CCase cases[] = {
      {"decimal commas", Join({{"DEPTH;GR;RHOB"}, numbered("%d,25;%d,5;2,%d", 12)}), ";", 3,
       "decimal commas"},
      {"points", Join({{"DEPTH;GR;RHOB"}, numbered("%d.25;%d.5;2.%d", 12)}), ";", 3, ""},
      {"quoted fields", Join({{"\"DEPTH\",\"GR\",\"NPHI\""}, numbered("\"%d.5\",\"%d\",\"0.%d\"", 12)}), ",",
       3, "quoted fields"},
      {"quoted decimal commas", Join({{"DEPTH,GR"}, numbered("\"%d,5\",\"%d,%d\"", 12)}), ",", 2,
       "decimal commas, quoted fields"},
      {"tabs left empty",
       Join({{"DEPTH\tGR\tRHOB"},
             numbered("%d.5\t%d\t2.%d", 6),
             {"1006.5\t\t2.3"},
             numbered("%d.5\t%d\t2.%d", 6)}),
       "tab", 3, "empty fields"},
      {"tabs that pad", Join({{"DEPTH\t\tGR\t\tRHOB"}, numbered("%d.5\t\t%d\t\t2.%d", 12)}), "tab", 3, ""},
      {"commas left empty", Join({{"DEPTH,GR,RHOB"}, numbered("%d.5,%d,2.%d", 6), {"1006.5,,2.3"}}), ",", 3,
       "empty fields"},
      {"null markers",
       Join({{"DEPTH GR RHOB"}, numbered("%d.5 %d 2.%d", 6), {"1006.5 NaN -999", "1007.5 -9999 2"}}), "space",
       3, "null markers NaN|-999|-9999"},
      {"the usual null value", Join({{"DEPTH GR RHOB"}, numbered("%d.5 %d 2.%d", 6), {"1006.5 -999.25 2"}}),
       "space", 3, ""},
      {"date-times", Join({{"TIME,FLOW"}, dated(12)}), ",", 2, "date-times in column 1"},
      {"small readings", Join({{"DEPTH GR K"}, numbered("%d.5 %d 1.5e-0%d", 8)}), "space", 3,
       "the source's digits"},
      {"readings of four decimals", Join({{"DEPTH GR K"}, numbered("%d.5 %d 0.015%d", 8)}), "space", 3, ""},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto proposal = DetectLayoutInLines(c.lines);
    ASSERT_TRUE(proposal.has_value());
    EXPECT_EQ(proposal->firstDigitLineIndex, 1);
    EXPECT_EQ(proposal->delimiterText, c.delimiter);
    EXPECT_EQ(proposal->columnCount, c.columns);
    EXPECT_EQ(DescribeReading(proposal->reading), c.reading);
  }
}

// The public exports: the layout and the reading choices, from data lines further down
// than a preview shows.
TEST(LayoutDetection, RealExports) {
  struct CCase {
    const char* file;
    int first;
    std::string delimiter;
    int columns;
    std::vector<int> headers;
    std::string reading;
  };
  const CCase cases[] = {
      {"volve_15_9-19.csv", 2, ",", 18, {0, 1}, "empty fields, null markers -999"},
      {"volve_15_9-19_semicolon_comma.csv",
       2,
       ";",
       18,
       {0, 1},
       "decimal commas, empty fields, null markers -999"},
      {"force_unsupervised.csv", 1, ",", 6, {0}, "empty fields"},
      {"volve_survey_brackets_bom.csv", 1, ",", 3, {0}, ""},
  };
  for (const CCase& c : cases) {
    const std::string path = test::DataFile("realworld/" + std::string(c.file));
    SCOPED_TRACE(c.file);
    const auto proposal = Detect(path);
    ASSERT_TRUE(proposal.has_value());
    EXPECT_EQ(proposal->firstDigitLineIndex, c.first);
    EXPECT_EQ(proposal->delimiterText, c.delimiter);
    EXPECT_EQ(proposal->columnCount, c.columns);
    EXPECT_EQ(proposal->headerLines, c.headers);
    EXPECT_EQ(DescribeReading(proposal->reading), c.reading);
  }
}

}  // namespace
}  // namespace corvane
