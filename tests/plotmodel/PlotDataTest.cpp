// Reading LAS files for the plot: header lines, the header and the rows of plain and
// wrapped files, the decimated curves against the rows they stand for, null gaps,
// the close-up rows, what every pixel row draws at every zoom, depth order, cancel,
// and the even sample behind the scale ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "PlotTestFiles.h"
#include "ReadGate.h"
#include "TestSupport.h"
#include "platform/JobProgress.h"
#include "plotmodel/CurveTracer.h"
#include "plotmodel/LasHeader.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/RowReader.h"
#include "plotmodel/SharedProgress.h"
#include "plotmodel/ValueSample.h"

namespace corvane {
namespace {

using test::CTestLas;
using test::Wander;

std::unique_ptr<CLasData> Load(const std::string& path) {
  auto data = std::make_unique<CLasData>(path);
  CNullProgress progress;
  LoadLasFile(*data, progress);
  return data;
}

class PlotDataTest : public ::testing::Test {
 protected:
  // Writes `made` into the scratch folder and loads it.
  std::unique_ptr<CLasData> LoadMade(const CTestLas& made, const std::string& name) {
    EXPECT_TRUE(made.Write(m_dir.File(name)));
    return Load(m_dir.File(name));
  }

  test::CScratchDir m_dir;
};

TEST(PlotHeaderTest, HeaderLinesCutAtDotBlankAndLastColon) {
  struct CCase {
    const char* line;
    std::vector<std::string> fields;  // mnemonic, unit, value, description
  };
  const CCase cases[] = {
      {" DEPT   .M                 :  1  DEPTH", {"DEPT", "M", "", "1  DEPTH"}},
      {"STRT    .M   1670.0000    :START DEPTH", {"STRT", "M", "1670.0000", "START DEPTH"}},
      {"NULL    .    -999.25      :NULL VALUE", {"NULL", "", "-999.25", "NULL VALUE"}},
      {" RHOB .K/M3  45 350 01 00 : BULK DENSITY", {"RHOB", "K/M3", "45 350 01 00", "BULK DENSITY"}},
      {"TIME.   12:30:00 : TIME OF DAY", {"TIME", "", "12:30:00", "TIME OF DAY"}},  // colons in the value
      {"COMP.   ANY OIL CO. INC. : COMPANY",
       {"COMP", "", "ANY OIL CO. INC.", "COMPANY"}},                            // dots in the value
      {"MNEM : a note. More", {"MNEM", "", "", "a note. More"}},                // dot after the colon
      {"\tGR\t.GAPI\t45 310\t: Gamma\r\n", {"GR", "GAPI", "45 310", "Gamma"}},  // tabs
      {"UNIT.M", {"UNIT", "M", "", ""}},                                        // unit only
  };
  for (const CCase& c : cases) {
    const CHeaderEntry parsed = ReadHeaderEntry(c.line, 1);
    EXPECT_EQ((std::vector<std::string>{parsed.mnemonic, parsed.unit, parsed.value, parsed.description}),
              c.fields)
        << c.line;
  }
}

TEST_F(PlotDataTest, FilesLoad) {
  CTestLas made;
  made.rows = 1000;
  ASSERT_TRUE(made.Write(m_dir.File("made.las")));
  std::string lf = made.Text();
  for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
  lf.pop_back();  // and no line end after the last row
  test::WriteBytes(m_dir.File("lf.las"), lf);
  test::WriteBytes(m_dir.File("noA.las"), made.Text().substr(0, made.Text().find("~A")));
  test::WriteBytes(m_dir.File("noC.las"), "~V\r\nVERS. 2.0 : v\r\n~A\r\n1 2 3\r\n");

  struct CCase {
    std::string name;
    std::string path;
    LoadState state;
    std::size_t curves;
    long rows;
    double top, base;
    bool wrapped;
    std::string sections;  // letters, or a part of the error
  };
  const CCase cases[] = {
      {"sample", test::DataFile("sample_2.0.las"), LoadState::Done, 8, 3, 1669.75, 1670.0, false, "VWCPO"},
      {"wrapped sample", test::DataFile("sample_2.0_wrapped.las"), LoadState::Done, 36, 2, 909.875, 910.0,
       true, "VWC"},
      {"made", m_dir.File("made.las"), LoadState::Done, 3, 1000, 1000.0, 1499.5, false, "VWCPO"},
      {"LF line ends, last line open", m_dir.File("lf.las"), LoadState::Done, 3, 1000, 1000.0, 1499.5, false,
       "VWCPO"},
      {"no data section", m_dir.File("noA.las"), LoadState::Failed, 3, 0, 0, 0, false, "no ~A"},
      {"no curves", m_dir.File("noC.las"), LoadState::Failed, 0, 0, 0, 0, false, "names no curves"},
      {"missing", m_dir.File("missing.las"), LoadState::Failed, 0, 0, 0, 0, false, "No such file"},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto data = Load(c.path);
    auto lock = data->Lock();
    EXPECT_EQ(data->State(), c.state);
    EXPECT_EQ(data->Curves(), c.curves);
    EXPECT_EQ(data->Rows(), c.rows);
    if (c.state != LoadState::Done) {
      EXPECT_NE(data->Error().find(c.sections), std::string::npos) << data->Error();
      continue;
    }
    EXPECT_EQ(data->DepthExtent()->first, c.top);
    EXPECT_EQ(data->DepthExtent()->second, c.base);
    EXPECT_EQ(data->Header().wrapped, c.wrapped);
    std::string letters;
    for (const CHeaderSection& section : data->Header().sections) letters += section.letter;
    EXPECT_EQ(letters, c.sections);
    if (const CHeaderSection* other = data->Header().Section('O')) {
      EXPECT_TRUE(!other->text.empty() && other->text.back().find_first_not_of(' ') != std::string::npos);
    }
  }
}

TEST_F(PlotDataTest, WrappedAndPlainFilesGiveTheSameRows) {
  CTestLas plain;
  plain.curves = {{"DEPT", "M"}};
  for (int c = 1; c <= 12; ++c) plain.curves.push_back({"C" + std::to_string(c), "V/V"});
  plain.rows = 777;
  plain.value = [](int row, int curve) { return (row + curve) % 13 == 0 ? NAN : Wander(row, curve); };
  CTestLas wrapped = plain;
  wrapped.wrapped = true;
  const auto a = LoadMade(plain, "plain.las");
  const auto b = LoadMade(wrapped, "wrapped.las");
  auto lockA = a->Lock();
  auto lockB = b->Lock();
  ASSERT_EQ(b->Rows(), 777L);
  CRowReader readerA(*a);
  CRowReader readerB(*b);
  const CRowReader::CRows& rowsA = readerA.Rows(0, 776);
  const CRowReader::CRows& rowsB = readerB.Rows(0, 776);
  for (long row = 0; row < 777; ++row)
    for (std::size_t c = 0; c < 13; ++c) {
      const double expected = plain.Value(static_cast<int>(row), static_cast<int>(c));
      const double got = rowsB.Value(row, c);
      ASSERT_TRUE(std::isnan(expected) ? std::isnan(got) : std::fabs(got - expected) < 1e-4)
          << "row " << row << " curve " << c;
      ASSERT_EQ(std::isnan(got), std::isnan(rowsA.Value(row, c)));
    }
}

TEST_F(PlotDataTest, RowsAsTheCheckReadsThemAndTheRowOfALine) {
  // Read by the check's reader: a byte-order mark before ~V, blank and comment lines in
  // the data, a text among the numbers (a gap, as the check counts it unreadable), an
  // exponent, and a row without a depth, which the plot leaves out.
  test::WriteBytes(
      m_dir.File("odd.las"),
      "\xEF\xBB\xBF~Version\r\n VERS. 2.0 : V\r\n WRAP. NO : W\r\n~Well\r\n NULL. -999.25 : N\r\n"
      "~Curve\r\n DEPT.M : depth\r\n GR.GAPI : gamma\r\n~A\r\n"
      "100.0 10\r\n100.5 12abc\r\n\r\n-999.25 5\r\n# note\r\n101.0 -999.25\r\n101.5 1.5E+01\r\n");
  const auto odd = Load(m_dir.File("odd.las"));
  {
    auto lock = odd->Lock();
    ASSERT_EQ(odd->State(), LoadState::Done);
    EXPECT_EQ(odd->Header().sections.size(), 3u);
    EXPECT_EQ(odd->Header().sections.front().letter, 'V');
    ASSERT_EQ(odd->Rows(), 4L);
    CRowReader reader(*odd);
    const CRowReader::CRows& rows = reader.Rows(0, 3);
    ASSERT_EQ(rows.count, 4L);
    EXPECT_EQ(rows.Value(0, 1), 10.0);
    EXPECT_TRUE(std::isnan(rows.Value(1, 1)) && std::isnan(rows.Value(2, 1)));
    EXPECT_EQ(rows.Value(3, 1), 15.0);
    // line -> row: the row a line belongs to, or the last row before it.
    const std::vector<std::pair<int, long>> lines = {{1, 0},  {10, 0}, {11, 1}, {12, 1},
                                                     {13, 1}, {15, 2}, {16, 3}, {99, 3}};
    for (const auto& [line, row] : lines)
      EXPECT_EQ(reader.RowOfLine(std::uint64_t(line)), std::optional<long>(row)) << "line " << line;
  }

  // Wrapped rows over three lines (depth, five readings, one): every line of a row finds
  // it, across the buckets of 16 rows.
  CTestLas wrapped;
  wrapped.curves = {{"DEPT", "M"}};
  for (int c = 1; c <= 6; ++c) wrapped.curves.push_back({"C" + std::to_string(c), "V/V"});
  wrapped.rows = 100;
  wrapped.wrapped = true;
  const auto data = LoadMade(wrapped, "rows.las");
  auto lock = data->Lock();
  CRowReader reader(*data);
  const long first = data->Header().dataLine;
  for (const long row : {0L, 15L, 16L, 17L, 63L, 99L})
    for (long line = first + 3 * row; line < first + 3 * row + 3; ++line)
      EXPECT_EQ(reader.RowOfLine(std::uint64_t(line)), std::optional<long>(row)) << "line " << line;
  EXPECT_EQ(data->BucketLine(1), std::uint64_t(first + 3 * 16));
}

TEST_F(PlotDataTest, PyramidLevelsHoldTheirRowsExtremes) {
  CTestLas made;
  made.rows = 5000;
  made.value = [](int row, int curve) { return row % 97 == 3 ? NAN : Wander(row, curve); };
  const auto data = LoadMade(made, "pyramid.las");
  auto lock = data->Lock();
  const CCurvePyramid& gr = data->Pyramid(1);
  ASSERT_GE(gr.Levels(), 4u);
  for (std::size_t level = 0; level < gr.Levels(); ++level) {
    const long rowsPerBucket = CLasData::kBucketRows << (2 * level);
    const auto& buckets = gr.Level(level);
    ASSERT_EQ(long(buckets.size()), (5000 + rowsPerBucket - 1) / rowsPerBucket);
    for (std::size_t b = 0; b < buckets.size(); ++b) {
      CMinMax expected;
      for (long row = long(b) * rowsPerBucket; row < std::min(5000L, long(b + 1) * rowsPerBucket); ++row)
        expected.Add(static_cast<float>(made.Value(int(row), 1)));
      // As the file writes them: to four decimals.
      ASSERT_NEAR(buckets[b].lo, expected.lo, 1e-3) << "bucket " << b << " of level " << level;
      ASSERT_NEAR(buckets[b].hi, expected.hi, 1e-3) << "bucket " << b << " of level " << level;
      // The first and last row's readings, nulls too (row 3 of 97 is null).
      const CRowEnds ends = gr.Ends(level, b, b);
      const auto first = static_cast<float>(made.Value(int(b) * int(rowsPerBucket), 1));
      const auto last =
          static_cast<float>(made.Value(std::min(5000, int(b + 1) * int(rowsPerBucket)) - 1, 1));
      ASSERT_TRUE(std::isnan(first) ? std::isnan(ends.first) : std::fabs(ends.first - first) < 1e-3);
      ASSERT_TRUE(std::isnan(last) ? std::isnan(ends.last) : std::fabs(ends.last - last) < 1e-3);
    }
  }
  EXPECT_LT(data->MemoryBytes(), made.Text().size());
}

TEST_F(PlotDataTest, TracesFollowThePixelsAndLeaveGapsForNulls) {
  // 40000 rows, GR null from row 20000 to 21599: the plot shows a gap there, never a
  // line to the null value.
  CTestLas made;
  made.rows = 40000;
  made.step = 0.1;
  made.value = [](int row, int curve) {
    return curve == 1 && row >= 20000 && row < 21600 ? NAN : Wander(row, curve);
  };
  const auto data = LoadMade(made, "gap.las");
  auto lock = data->Lock();
  CRowReader rows(*data);
  struct CView {
    double top, base;
    int pixels;
  };
  for (const CView view : {CView{1000, 4999.9, 500}, CView{2500, 3500, 400}, CView{2900, 3300, 300}}) {
    SCOPED_TRACE(view.top);
    const CCurveTracer tracer(*data, &rows, view.top, view.base, view.pixels);
    // 80 and 25 rows per pixel row from the pyramid, 13 from the rows.
    EXPECT_EQ(tracer.FromRows(), (view.base - view.top) / 0.1 / view.pixels <= 16);
    const std::vector<CTraceRun> runs = tracer.Trace(1);
    EXPECT_EQ(int(runs.size()), view.top < 3000 && view.base > 3160 ? 2 : 1);
    std::size_t points = 0;
    double lo = 1e9, hi = -1e9;
    for (const CTraceRun& run : runs)
      for (const CTracePoint& point : run) {
        ++points;
        lo = std::min(lo, point.lo);
        hi = std::max(hi, point.hi);
        // A pixel row partly in the gap draws its readings, less than a pixel row into it.
        const double pixel = (view.base - view.top) / view.pixels;
        ASSERT_TRUE(point.depth < 3000 + pixel || point.depth > 3159.9 - pixel) << point.depth;
        ASSERT_LE(point.lo, point.hi);
      }
    // About one point per pixel row, whatever the rows.
    EXPECT_LE(points, std::size_t(view.pixels) + 4);
    EXPECT_GE(points, std::size_t(view.pixels) / 2);
    // Together the points span what the rows of the view hold, and the edge buckets
    // reach a little beyond them, no further.
    auto extremes = [&made](int from, int to) {
      std::pair<double, double> range{1e9, -1e9};
      for (int row = std::max(0, from); row <= std::min(made.rows - 1, to); ++row)
        if (!std::isnan(made.Value(row, 1))) {
          range.first = std::min(range.first, made.Value(row, 1));
          range.second = std::max(range.second, made.Value(row, 1));
        }
      return range;
    };
    const int first = int(std::lround((view.top - 1000) / 0.1));
    const int last = int(std::lround((view.base - 1000) / 0.1));
    const auto inView = extremes(first, last);
    const auto withEdges = extremes(first - 256, last + 256);
    EXPECT_TRUE(lo <= inView.first + 1e-3 && hi >= inView.second - 1e-3);
    EXPECT_TRUE(lo >= withEdges.first - 1e-3 && hi <= withEdges.second + 1e-3);
  }
}

TEST_F(PlotDataTest, CloseUpDrawsTheRowsThemselves) {
  CTestLas made;
  made.rows = 3000;
  made.value = [](int row, int curve) { return curve == 2 && row == 1500 ? NAN : Wander(row, curve); };
  const auto data = LoadMade(made, "close.las");
  auto lock = data->Lock();
  CRowReader rows(*data);
  // 1730 .. 1770 m: 81 rows over 300 pixel rows.
  const CCurveTracer tracer(*data, &rows, 1730, 1770, 300);
  ASSERT_TRUE(tracer.FromRows());
  const std::vector<CTraceRun> runs = tracer.Trace(2);
  ASSERT_EQ(runs.size(), 2u);  // the null row splits the curve
  for (const CTraceRun& run : runs)
    for (const CTracePoint& point : run) {
      const int row = int(std::lround((point.depth - 1000) / 0.5));
      EXPECT_LT(std::fabs(point.lo - made.Value(row, 2)), 1e-4);
      EXPECT_EQ(point.lo, point.hi);
    }
  EXPECT_EQ(runs.front().back().depth, 1749.5);
  EXPECT_EQ(runs.back().front().depth, 1750.5);
  // Scrolling a little reads nothing again.
  const long parsed = rows.RowsParsed();
  const CCurveTracer scrolled(*data, &rows, 1735, 1775, 300);
  EXPECT_TRUE(scrolled.FromRows());
  EXPECT_EQ(rows.RowsParsed(), parsed);
}

TEST_F(PlotDataTest, PixelRowsHoldTheirRowsLeastGreatestFirstAndLast) {
  // Every pixel row of the view draws the least, greatest, first and last reading of the
  // rows falling into it; a run goes on from one pixel row to the next only where both
  // the last row of the one and the first row of the next hold a reading.
  struct CCase {
    int rowsPerPixel;
    int pixels;
  };
  for (const CCase c : {CCase{1, 400}, CCase{4, 300}, CCase{10, 300}, CCase{50, 200}, CCase{1000, 60}}) {
    const int k = c.rowsPerPixel;
    SCOPED_TRACE(k);
    const CTestLas made = test::PixelRowsFile(k, c.pixels);
    const auto data = LoadMade(made, "pixels.las");
    auto lock = data->Lock();
    CRowReader rows(*data);
    const auto [top, base] = test::PixelRowsView(made, k, c.pixels);
    const CCurveTracer tracer(*data, &rows, top, base, c.pixels);
    EXPECT_EQ(tracer.FromRows(), k <= CCurveTracer::kRowsPerPixelForRows);
    // From the pyramid, a row goes with its bucket: to the pixel row of the bucket's middle.
    const long bucketRows = tracer.FromRows() ? 1 : CLasData::kBucketRows << (2 * tracer.Level());
    EXPECT_TRUE(tracer.FromRows() || (bucketRows <= k && bucketRows * 4 > k));
    const std::vector<test::CExpectedPixel> expected = test::ExpectedPixels(made, k, c.pixels, bucketRows);
    ASSERT_EQ(expected.size(), std::size_t(c.pixels));

    std::vector<int> runOf(expected.size(), -1);
    const std::vector<CTraceRun>& runs = tracer.Trace(1);
    for (std::size_t r = 0; r < runs.size(); ++r)
      for (const CTracePoint& point : runs[r]) {
        const auto p = static_cast<std::size_t>(std::floor((point.depth - top) / (base - top) * c.pixels));
        ASSERT_TRUE(p < expected.size() && runOf[p] < 0);
        runOf[p] = int(r);
        auto same = [](double a, double b) {
          return std::isnan(b) ? std::isnan(a) : std::fabs(a - b) < 1e-4;
        };
        const test::CExpectedPixel& want = expected[p];
        ASSERT_TRUE(same(point.lo, want.lo) && same(point.hi, want.hi) && same(point.first, want.first) &&
                    same(point.last, want.last))
            << "pixel row " << p << ": " << point.lo << " " << point.hi << " " << point.first << " "
            << point.last << ", not " << want.lo << " " << want.hi << " " << want.first << " " << want.last;
      }
    int expectedRuns = 0;
    for (std::size_t p = 0; p < expected.size(); ++p) {
      ASSERT_TRUE(expected[p].rows);
      ASSERT_EQ(runOf[p] >= 0, expected[p].readings) << p;  // a pixel row of nulls only is a gap
      if (!expected[p].readings) continue;
      const bool joined = p > 0 && expected[p - 1].readings && !std::isnan(expected[p - 1].last) &&
                          !std::isnan(expected[p].first);
      if (joined)
        ASSERT_EQ(runOf[p], runOf[p - 1]) << p;
      else
        ASSERT_EQ(runOf[p], expectedRuns++) << p;
    }
    EXPECT_EQ(int(runs.size()), expectedRuns);
  }
}

TEST_F(PlotDataTest, DepthsRunningUpTheFile) {
  CTestLas made;
  made.rows = 2000;
  made.start = 2000;
  made.step = -0.25;
  const auto data = LoadMade(made, "up.las");
  auto lock = data->Lock();
  EXPECT_EQ(data->DepthExtent()->first, 1500.25);
  EXPECT_EQ(data->DepthExtent()->second, 2000.0);
  for (double row : {0.0, 17.5, 999.0, 1999.0}) EXPECT_EQ(data->RowAtDepth(data->DepthAtRow(row)), row);
  EXPECT_EQ(data->RowAtDepth(1000), 1999.0);  // beyond the rows: the nearest one
  CRowReader rows(*data);
  const CCurveTracer tracer(*data, &rows, 1600, 1900, 200);
  const std::vector<CTraceRun> runs = tracer.Trace(1);
  ASSERT_EQ(runs.size(), 1u);
  for (const CTracePoint& point : runs.front()) EXPECT_TRUE(point.depth > 1590 && point.depth < 1910);
}

TEST_F(PlotDataTest, AWildDepthStaysOutOfTheView) {
  // Row 100 has a depth far off the others: the views around it draw their rows, that
  // row somewhere far outside them.
  CTestLas made;
  made.rows = 200;
  std::string text = made.Text();
  const std::size_t at = text.find("   1050.0000");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 12, "     1.0E+42");
  test::WriteBytes(m_dir.File("wild.las"), text);
  const auto data = Load(m_dir.File("wild.las"));
  auto lock = data->Lock();
  ASSERT_EQ(data->Rows(), 200L);
  CRowReader rows(*data);
  for (const auto& [top, base] :
       {std::pair{1040.0, 1060.0}, std::pair{1000.0, 1099.5}, std::pair{1049.0, 1051.0}}) {
    const CCurveTracer tracer(*data, &rows, top, base, 100);
    std::size_t inView = 0;
    for (const CTraceRun& run : tracer.Trace(1))
      for (const CTracePoint& point : run) {
        EXPECT_LE(point.lo, point.hi);
        inView += point.depth >= top && point.depth <= base ? 1 : 0;
      }
    EXPECT_GT(inView, 0u) << top;
  }
}

// UTF-16 or lines ended by CR alone are named for what they are, and a file that grows or
// is cut while it is read is read to the size it had and reported, not plotted.
TEST_F(PlotDataTest, ForeignTextAndChangedFilesAreNamed) {
  CTestLas made;
  made.rows = 60000;
  const std::string text = made.Text();
  std::string wide = "\xFF\xFE";
  for (const char c : text) wide += std::string{c, '\0'};
  std::string crOnly = text;
  for (std::size_t at; (at = crOnly.find("\r\n")) != std::string::npos;) crOnly.erase(at + 1, 1);
  for (const auto& [bytes, said] :
       {std::pair{wide, "the file is UTF-16 text (little-endian, with a byte-order mark)"},
        {crOnly, "the lines of the file end with CR alone"}}) {
    test::WriteBytes(m_dir.File("foreign.las"), bytes);
    const auto data = Load(m_dir.File("foreign.las"));
    EXPECT_EQ(data->State(), LoadState::Failed);
    EXPECT_EQ(data->Error().rfind(std::string("The file cannot be read as LAS: ") + said, 0), 0u)
        << data->Error();
  }
  for (const bool grows : {true, false}) {
    const std::string path = m_dir.File("changing.las");
    test::WriteBytes(path, text);
    CLasData data(path);
    test::CReadGate gate(path, 2);  // the look at the text form and the first block pass
    std::thread load([&data] {
      CNullProgress progress;
      LoadLasFile(data, progress);
    });
    const bool held = gate.WaitUntilHeld(1);
    if (grows)
      std::ofstream(path, std::ios::binary | std::ios::app) << " 99999 1 2\r\n";
    else
      ::truncate(path.c_str(), 700000);
    gate.Open();
    load.join();
    ASSERT_TRUE(held);
    auto lock = data.Lock();
    EXPECT_EQ(data.State(), LoadState::Failed);
    EXPECT_EQ(data.Error().rfind("The file changed while it was read (it had " + std::to_string(text.size()) +
                                     " bytes when it was opened and ",
                                 0),
              0u)
        << data.Error();
  }
}

TEST_F(PlotDataTest, CancelKeepsTheRowsSoFar) {
  CTestLas made;
  made.rows = 3 * kFirstBatchRows;
  ASSERT_TRUE(made.Write(m_dir.File("cancel.las")));
  CLasData data(m_dir.File("cancel.las"));
  int heard = 0;
  data.SetListener([&heard] { ++heard; });
  CSharedProgress progress;
  progress.RequestCancel();  // before the job even starts: it stops at its first look
  EXPECT_EQ(LoadLasFile(data, progress), LoadState::Cancelled);
  const CSharedProgress::CState state = progress.State();
  EXPECT_TRUE(state.opened && state.closed);
  EXPECT_EQ(state.title, std::string("Loading cancel.las"));
  auto lock = data.Lock();
  EXPECT_EQ(data.State(), LoadState::Cancelled);
  EXPECT_EQ(data.Rows(), long(kFirstBatchRows));
  // The listener heard the header, the one batch and the end.
  EXPECT_EQ(heard, 3);
}

TEST(PlotSampleTest, SampleStaysSmallAndEven) {
  CValueSample sample;
  for (long row = 0; row < 1000000; ++row)
    if (sample.Wants(row)) sample.Add(row, row % 1000 == 0 ? NAN : float(row - 1000));
  EXPECT_LT(sample.Size(), CValueSample::kCapacity);
  const auto all = sample.Quantiles(0.01, 0.99, false);
  ASSERT_TRUE(all);
  EXPECT_TRUE(std::fabs(all->first - 9000) < 2000 && std::fabs(all->second - 989000) < 2000);
  const auto positive = sample.Quantiles(0, 1, true);
  ASSERT_TRUE(positive);
  EXPECT_GT(positive->first, 0);
  EXPECT_FALSE(CValueSample().Quantiles(0.01, 0.99, false));
}

}  // namespace
}  // namespace corvane
