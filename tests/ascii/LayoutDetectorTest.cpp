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

// Exports as real tools write them: each style read with its columns, where its data
// begins, its heading lines and the reading choices, all in the proposal's description.
TEST(LayoutDetection, ExportStyles) {
  struct CCase {
    const char* name;
    Lines lines;
    std::vector<int> headers;
    std::string described;  // DescribeLayout of the proposal
  };
  // `count` rows made by `row` from their number.
  const auto rows = [](int count, const auto& row) {
    Lines out;
    for (int r = 0; r < count; ++r) out.push_back(row(r));
    return out;
  };
  const auto fixed = [](double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::string(text);
  };
  const auto depth = [&](int r) { return fixed(3500 + r * 0.5, 2); };
  const CCase cases[] = {
      {"well, group and formation beside the readings",
       Join({{"WELL,DEPTH_MD,GROUP,FORMATION,GR,RHOB"},
             rows(30,
                  [&](int r) {
                    return "15/9-13," + depth(r) + ",NORDLAND GP.," + (r < 12 ? "" : "Utsira Fm.") + "," +
                           fixed(80 + r, 3) + ",2.31";
                  })}),
       {0},
       "6 columns cut at commas, data from line 2, columns 1, 3 and 4 hold text, empty fields, whole cells"},
      {"lithology in words",
       Join({{"DEPTH  GR    LITH"},
             rows(30,
                  [&](int r) {
                    return depth(r) + "  " + fixed(40 + r, 2) + "  " + (r % 2 ? "Shale" : "Sand");
                  })}),
       {0},
       "3 columns cut at spaces, data from line 2, column 3 holds text"},
      {"quoted names holding the delimiter",
       Join({{"\"Well\",\"Depth\",\"Zone\",\"GR\""},
             rows(30,
                  [&](int r) {
                    return "\"A-1, side\",\"" + depth(r) + "\",\"Hugin Fm.\",\"" + fixed(r, 1) + "\"";
                  })}),
       {0},
       "4 columns cut at commas, data from line 2, columns 1 and 3 hold text, quoted fields"},
      {"a heading of T2 bins",
       Join({{"DEPTH 0.3 0.6 1.2 2.4 4.8"},
             rows(30, [&](int r) { return depth(r) + " 0.1 0.2 0.25 0.3 0.05"; })}),
       {0},
       "6 columns cut at spaces, data from line 2"},
      {"T2 bins with a units line",
       Join({{"Depth,0.3,0.6,1.2", "m,ms,ms,ms"},
             rows(30, [&](int r) { return depth(r) + ",0.1,0.2,0.25"; })}),
       {0, 1},
       "4 columns cut at commas, data from line 3"},
      {"date and time in one field",
       Join(
           {{"Date Time,Depth,Pressure"},
            rows(30,
                 [&](int r) { return "2019-03-01 " + fixed(r % 24, 0) + ":30:00," + depth(r) + ",201.5"; })}),
       {0},
       "3 columns cut at commas, data from line 2, date-times in column 1"},
      {"date and time apart, cut at blanks",
       Join({{"Date       Time      Depth    Pressure"},
             rows(30,
                  [&](int r) { return "01/03/2019 " + fixed(r % 24, 0) + ":15  " + depth(r) + "  201.5"; })}),
       {0},
       "3 columns cut at spaces, data from line 2, date-times in column 1"},
      {"KEY: value lines above the names",
       Join({{"Well: 15/9-19 A", "Interval: 3500 3520", "Null value: -999.25", "", "DEPTH,GR,RHOB",
              "m,API,g/cm3"},
             rows(30, [&](int r) { return depth(r) + "," + fixed(40 + r, 1) + ",2.3"; })}),
       {4, 5},
       "3 columns cut at commas, data from line 7"},
      {"KEY: value lines right above the rows",
       Join({{"Well: 15/9-19 A", "Interval: 3500 3520 m", "Start: 3500 3"},
             rows(30, [&](int r) { return depth(r) + " " + fixed(40 + r, 1) + " 2.3"; })}),
       {},
       "3 columns cut at spaces, data from line 4"},
      {"decimal commas between tabs",
       Join({{"DEPTH\tGR\tRHOB"}, rows(30, [&](int r) { return "3500," + fixed(r, 0) + "\t40,5\t2,31"; })}),
       {0},
       "3 columns cut at tabs, data from line 2, decimal commas"},
      {"a curve without readings in a sparse export",
       Join({{"DEPTH,GR,RHOB,NPHI,DT"},
             rows(30,
                  [&](int r) {
                    return depth(r) + "," + (r < 15 ? "" : "41.5") + "," + (r < 25 ? "" : "2.3") + ",," +
                           (r % 3 ? "" : "80");
                  })}),
       {0},
       "5 columns cut at commas, data from line 2, empty fields"},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto proposal = DetectLayoutInLines(c.lines);
    ASSERT_TRUE(proposal.has_value()) << ExplainNoLayout(c.lines);
    EXPECT_EQ(DescribeLayout(*proposal), c.described);
    EXPECT_EQ(proposal->headerLines, c.headers);
  }
}

// When nothing is proposed, the reason.
TEST(LayoutDetection, WhyNothingIsProposed) {
  Lines wrapped = {"~A DEPTH GR NPHI RHOB ILD"};
  for (int d = 0; d < 10; ++d) {
    wrapped.push_back(std::to_string(1000 + d) + ".0");
    wrapped.push_back(" 1.0 2.0 3.0");
    wrapped.push_back(" 4.0");
  }
  Lines notes;
  for (int i = 0; i < 30; ++i) notes.push_back("Sample " + std::to_string(i) + " taken at the shaker");
  const struct {
    Lines lines;
    std::string why;
  } cases[] = {
      {{}, "the file is empty."},
      {{"", "  \t"}, "the file holds only blank lines."},
      {notes, "no line of the first 30 is a row of numbers."},
      {{"DEPTH     GR   NPHI", " 1000.00   12.50    0.50", " 1001.00-9999.25    0.50",
        " 1002.00   12.50    0.50"},
       "line 3 holds readings that run together (\"1001.00-9999.25\"): the columns have a fixed width; give "
       "Fixed "
       "Width."},
      {wrapped,
       "the rows of numbers change their number of columns from line to line (as the depth groups of a "
       "wrapped LAS file do)."},
      {Join({{"A B"}, Rows(4, 2, " "), {"notes follow", "more notes"}}),
       "the rows of numbers are too few or stand among text: 10 rows of the same columns in a row, or rows "
       "up to "
       "the end of the file, make a table."},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(DetectLayoutInLines(c.lines).has_value()) << c.why;
    EXPECT_EQ(ExplainNoLayout(c.lines), c.why);
  }
}

}  // namespace
}  // namespace corvane
