// Reading LAS files for the plot: header lines, the header and the rows of plain and
// wrapped files, the decimated curves against the rows they stand for, null gaps,
// the close-up rows, what every pixel row draws at every zoom, depth order, cancel,
// and the even sample behind the scale ends.
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "PlotTestFiles.h"
#include "platform/JobProgress.h"
#include "plot/CurveTracer.h"
#include "plot/LasHeader.h"
#include "plot/LasLoader.h"
#include "plot/PlotPainter.h"
#include "plot/RowReader.h"
#include "plot/SharedProgress.h"
#include "plot/ValueSample.h"

using namespace corvane;
using namespace corvane::test;

namespace {

std::unique_ptr<CLasData> Load(const QString& path) {
  auto data = std::make_unique<CLasData>(path.toStdString());
  CNullProgress progress;
  LoadLasFile(*data, progress);
  return data;
}

// A reading that wanders, for curves that are not flat.
double Wander(int row, int curve) {
  return 50 + 40 * std::sin(row * 0.013 * curve) + (row * 7919 % 101) / 10.0;
}

}  // namespace

class PlotDataTest : public QObject {
  Q_OBJECT
 private slots:
  void headerLinesCutAtDotBlankAndLastColon_data();
  void headerLinesCutAtDotBlankAndLastColon();
  void filesLoad_data();
  void filesLoad();
  void wrappedAndPlainFilesGiveTheSameRows();
  void rowsAsTheCheckReadsThemAndTheRowOfALine();
  void pyramidLevelsHoldTheirRowsExtremes();
  void tracesFollowThePixelsAndLeaveGapsForNulls();
  void closeUpDrawsTheRowsThemselves();
  void pixelRowsHoldTheirRowsLeastGreatestFirstAndLast_data();
  void pixelRowsHoldTheirRowsLeastGreatestFirstAndLast();
  void depthsRunningUpTheFile();
  void cancelKeepsTheRowsSoFar();
  void sampleStaysSmallAndEven();

 private:
  QTemporaryDir m_dir;
};

void PlotDataTest::headerLinesCutAtDotBlankAndLastColon_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QStringList>("fields");  // mnemonic, unit, value, description
  QTest::newRow("curve") << " DEPT   .M                 :  1  DEPTH"
                         << QStringList{"DEPT", "M", "", "1  DEPTH"};
  QTest::newRow("value") << "STRT    .M   1670.0000    :START DEPTH"
                         << QStringList{"STRT", "M", "1670.0000", "START DEPTH"};
  QTest::newRow("no unit") << "NULL    .    -999.25      :NULL VALUE"
                           << QStringList{"NULL", "", "-999.25", "NULL VALUE"};
  QTest::newRow("API code") << " RHOB .K/M3  45 350 01 00 : BULK DENSITY"
                            << QStringList{"RHOB", "K/M3", "45 350 01 00", "BULK DENSITY"};
  QTest::newRow("colons in the value")
      << "TIME.   12:30:00 : TIME OF DAY" << QStringList{"TIME", "", "12:30:00", "TIME OF DAY"};
  QTest::newRow("dots in the value") << "COMP.   ANY OIL CO. INC. : COMPANY"
                                     << QStringList{"COMP", "", "ANY OIL CO. INC.", "COMPANY"};
  QTest::newRow("dot after the colon")
      << "MNEM : a note. More" << QStringList{"MNEM", "", "", "a note. More"};
  QTest::newRow("tabs") << "\tGR\t.GAPI\t45 310\t: Gamma\r\n" << QStringList{"GR", "GAPI", "45 310", "Gamma"};
  QTest::newRow("unit only") << "UNIT.M" << QStringList{"UNIT", "M", "", ""};
}

void PlotDataTest::headerLinesCutAtDotBlankAndLastColon() {
  QFETCH(QString, line);
  QFETCH(QStringList, fields);
  const CHeaderEntry parsed = ReadHeaderEntry(line.toStdString(), 1);
  QCOMPARE((QStringList{QString::fromStdString(parsed.mnemonic), QString::fromStdString(parsed.unit),
                        QString::fromStdString(parsed.value), QString::fromStdString(parsed.description)}),
           fields);
}

void PlotDataTest::filesLoad_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<int>("state");
  QTest::addColumn<int>("curves");
  QTest::addColumn<int>("rows");
  QTest::addColumn<double>("top");
  QTest::addColumn<double>("base");
  QTest::addColumn<bool>("wrapped");
  QTest::addColumn<QString>("sections");  // letters, or a part of the error
  const QString dir = m_dir.path();
  QTest::newRow("sample") << CORVANE_TEST_DATA "/sample_2.0.las" << int(LoadState::Done) << 8 << 3 << 1669.75
                          << 1670.0 << false << "VWCPO";
  QTest::newRow("wrapped sample") << CORVANE_TEST_DATA "/sample_2.0_wrapped.las" << int(LoadState::Done) << 36
                                  << 2 << 909.875 << 910.0 << true << "VWC";
  CTestLas made;
  made.rows = 1000;
  made.Write(dir + "/made.las");
  QTest::newRow("made") << dir + "/made.las" << int(LoadState::Done) << 3 << 1000 << 1000.0 << 1499.5 << false
                        << "VWCPO";
  QByteArray lf = made.Text().replace("\r\n", "\n");
  lf.chop(1);  // and no line end after the last row
  {
    QFile file(dir + "/lf.las");
    if (file.open(QIODevice::WriteOnly)) file.write(lf);
  }
  QTest::newRow("LF line ends, last line open")
      << dir + "/lf.las" << int(LoadState::Done) << 3 << 1000 << 1000.0 << 1499.5 << false << "VWCPO";
  {
    QFile file(dir + "/noA.las");
    if (file.open(QIODevice::WriteOnly)) file.write(made.Text().left(made.Text().indexOf("~A")));
  }
  QTest::newRow("no data section") << dir + "/noA.las" << int(LoadState::Failed) << 3 << 0 << 0.0 << 0.0
                                   << false << "no ~A";
  {
    QFile file(dir + "/noC.las");
    if (file.open(QIODevice::WriteOnly)) file.write("~V\r\nVERS. 2.0 : v\r\n~A\r\n1 2 3\r\n");
  }
  QTest::newRow("no curves") << dir + "/noC.las" << int(LoadState::Failed) << 0 << 0 << 0.0 << 0.0 << false
                             << "names no curves";
  QTest::newRow("missing") << dir + "/missing.las" << int(LoadState::Failed) << 0 << 0 << 0.0 << 0.0 << false
                           << "No such file";
}

void PlotDataTest::filesLoad() {
  QFETCH(QString, path);
  QFETCH(int, state);
  QFETCH(int, curves);
  QFETCH(int, rows);
  QFETCH(double, top);
  QFETCH(double, base);
  QFETCH(bool, wrapped);
  QFETCH(QString, sections);
  const auto data = Load(path);
  auto lock = data->Lock();
  QCOMPARE(int(data->State()), state);
  QCOMPARE(int(data->Curves()), curves);
  QCOMPARE(int(data->Rows()), rows);
  if (state != int(LoadState::Done)) {
    QVERIFY2(QString::fromStdString(data->Error()).contains(sections), data->Error().c_str());
    return;
  }
  QCOMPARE(data->DepthExtent()->first, top);
  QCOMPARE(data->DepthExtent()->second, base);
  QCOMPARE(data->Header().wrapped, wrapped);
  QString letters;
  for (const CHeaderSection& section : data->Header().sections) letters += QChar(section.letter);
  QCOMPARE(letters, sections);
  if (const CHeaderSection* other = data->Header().Section('O'))
    QVERIFY(!other->text.empty() && other->text.back().find_first_not_of(' ') != std::string::npos);
}

void PlotDataTest::wrappedAndPlainFilesGiveTheSameRows() {
  CTestLas plain;
  plain.curves = {{"DEPT", "M"}};
  for (int c = 1; c <= 12; ++c) plain.curves.push_back({"C" + std::to_string(c), "V/V"});
  plain.rows = 777;
  plain.value = [](int row, int curve) { return (row + curve) % 13 == 0 ? NAN : Wander(row, curve); };
  CTestLas wrapped = plain;
  wrapped.wrapped = true;
  QVERIFY(plain.Write(m_dir.filePath("plain.las")) && wrapped.Write(m_dir.filePath("wrapped.las")));
  const auto a = Load(m_dir.filePath("plain.las"));
  const auto b = Load(m_dir.filePath("wrapped.las"));
  auto lockA = a->Lock();
  auto lockB = b->Lock();
  QCOMPARE(b->Rows(), 777L);
  CRowReader readerA(*a);
  CRowReader readerB(*b);
  const CRowReader::CRows& rowsA = readerA.Rows(0, 776);
  const CRowReader::CRows& rowsB = readerB.Rows(0, 776);
  for (long row = 0; row < 777; ++row)
    for (std::size_t c = 0; c < 13; ++c) {
      const double expected = plain.Value(static_cast<int>(row), static_cast<int>(c));
      const double got = rowsB.Value(row, c);
      QVERIFY2(std::isnan(expected) ? std::isnan(got) : std::fabs(got - expected) < 1e-4,
               qPrintable(QStringLiteral("row %1 curve %2").arg(row).arg(c)));
      QVERIFY(std::isnan(got) == std::isnan(rowsA.Value(row, c)));
    }
}

void PlotDataTest::rowsAsTheCheckReadsThemAndTheRowOfALine() {
  // Read by the check's reader: a byte-order mark before ~V, blank and comment lines in
  // the data, a text among the numbers (a gap, as the check counts it unreadable), an
  // exponent, and a row without a depth, which the plot leaves out.
  const QByteArray text =
      "\xEF\xBB\xBF~Version\r\n VERS. 2.0 : V\r\n WRAP. NO : W\r\n~Well\r\n NULL. -999.25 : N\r\n"
      "~Curve\r\n DEPT.M : depth\r\n GR.GAPI : gamma\r\n~A\r\n"
      "100.0 10\r\n100.5 12abc\r\n\r\n-999.25 5\r\n# note\r\n101.0 -999.25\r\n101.5 1.5E+01\r\n";
  {
    QFile file(m_dir.filePath("odd.las"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
  }
  const auto odd = Load(m_dir.filePath("odd.las"));
  {
    auto lock = odd->Lock();
    QCOMPARE(int(odd->State()), int(LoadState::Done));
    QCOMPARE(int(odd->Header().sections.size()), 3);
    QCOMPARE(odd->Header().sections.front().letter, 'V');
    QCOMPARE(odd->Rows(), 4L);
    CRowReader reader(*odd);
    const CRowReader::CRows& rows = reader.Rows(0, 3);
    QCOMPARE(rows.count, 4L);
    QCOMPARE(rows.Value(0, 1), 10.0);
    QVERIFY(std::isnan(rows.Value(1, 1)) && std::isnan(rows.Value(2, 1)));
    QCOMPARE(rows.Value(3, 1), 15.0);
    // line -> row: the row a line belongs to, or the last row before it.
    const std::vector<std::pair<int, long>> lines = {{1, 0},  {10, 0}, {11, 1}, {12, 1},
                                                     {13, 1}, {15, 2}, {16, 3}, {99, 3}};
    for (const auto& [line, row] : lines)
      QCOMPARE(reader.RowOfLine(std::uint64_t(line)), std::optional<long>(row));
  }

  // Wrapped rows over three lines (depth, five readings, one): every line of a row finds
  // it, across the buckets of 16 rows.
  CTestLas wrapped;
  wrapped.curves = {{"DEPT", "M"}};
  for (int c = 1; c <= 6; ++c) wrapped.curves.push_back({"C" + std::to_string(c), "V/V"});
  wrapped.rows = 100;
  wrapped.wrapped = true;
  QVERIFY(wrapped.Write(m_dir.filePath("rows.las")));
  const auto data = Load(m_dir.filePath("rows.las"));
  auto lock = data->Lock();
  CRowReader reader(*data);
  const long first = data->Header().dataLine;
  for (const long row : {0L, 15L, 16L, 17L, 63L, 99L})
    for (long line = first + 3 * row; line < first + 3 * row + 3; ++line)
      QCOMPARE(reader.RowOfLine(std::uint64_t(line)), std::optional<long>(row));
  QCOMPARE(data->BucketLine(1), std::uint64_t(first + 3 * 16));
}

void PlotDataTest::pyramidLevelsHoldTheirRowsExtremes() {
  CTestLas made;
  made.rows = 5000;
  made.value = [](int row, int curve) { return row % 97 == 3 ? NAN : Wander(row, curve); };
  QVERIFY(made.Write(m_dir.filePath("pyramid.las")));
  const auto data = Load(m_dir.filePath("pyramid.las"));
  auto lock = data->Lock();
  const CCurvePyramid& gr = data->Pyramid(1);
  QVERIFY(gr.Levels() >= 4);
  for (std::size_t level = 0; level < gr.Levels(); ++level) {
    const long rowsPerBucket = CLasData::kBucketRows << (2 * level);
    const auto& buckets = gr.Level(level);
    QCOMPARE(long(buckets.size()), (5000 + rowsPerBucket - 1) / rowsPerBucket);
    for (std::size_t b = 0; b < buckets.size(); ++b) {
      CMinMax expected;
      for (long row = long(b) * rowsPerBucket; row < std::min(5000L, long(b + 1) * rowsPerBucket); ++row)
        expected.Add(static_cast<float>(made.Value(int(row), 1)));
      QCOMPARE(buckets[b].lo, expected.lo);
      QCOMPARE(buckets[b].hi, expected.hi);
      // The first and last row's readings, nulls too (row 3 of 97 is null).
      const CRowEnds ends = gr.Ends(level, b, b);
      const auto first = static_cast<float>(made.Value(int(b) * int(rowsPerBucket), 1));
      const auto last =
          static_cast<float>(made.Value(std::min(5000, int(b + 1) * int(rowsPerBucket)) - 1, 1));
      QVERIFY(std::isnan(first) ? std::isnan(ends.first) : std::fabs(ends.first - first) < 1e-3);
      QVERIFY(std::isnan(last) ? std::isnan(ends.last) : std::fabs(ends.last - last) < 1e-3);
    }
  }
  QVERIFY(data->MemoryBytes() < static_cast<std::size_t>(made.Text().size()));
}

void PlotDataTest::tracesFollowThePixelsAndLeaveGapsForNulls() {
  // 40000 rows, GR null from row 20000 to 21599: the plot shows a gap there, never a
  // line to the null value.
  CTestLas made;
  made.rows = 40000;
  made.step = 0.1;
  made.value = [](int row, int curve) {
    return curve == 1 && row >= 20000 && row < 21600 ? NAN : Wander(row, curve);
  };
  QVERIFY(made.Write(m_dir.filePath("gap.las")));
  const auto data = Load(m_dir.filePath("gap.las"));
  auto lock = data->Lock();
  CRowReader rows(*data);
  struct CView {
    double top, base;
    int pixels;
  };
  for (const CView view : {CView{1000, 4999.9, 500}, CView{2500, 3500, 400}, CView{2900, 3300, 300}}) {
    const CCurveTracer tracer(*data, &rows, view.top, view.base, view.pixels);
    // 80 and 25 rows per pixel row from the pyramid, 13 from the rows.
    QCOMPARE(tracer.FromRows(), (view.base - view.top) / 0.1 / view.pixels <= 16);
    const std::vector<CTraceRun> runs = tracer.Trace(1);
    QCOMPARE(int(runs.size()), view.top < 3000 && view.base > 3160 ? 2 : 1);
    std::size_t points = 0;
    double lo = 1e9, hi = -1e9;
    for (const CTraceRun& run : runs)
      for (const CTracePoint& point : run) {
        ++points;
        lo = std::min(lo, point.lo);
        hi = std::max(hi, point.hi);
        // A pixel row partly in the gap draws its readings, less than a pixel row into it.
        const double pixel = (view.base - view.top) / view.pixels;
        QVERIFY2(point.depth < 3000 + pixel || point.depth > 3159.9 - pixel,
                 qPrintable(QString::number(point.depth)));
        QVERIFY(point.lo <= point.hi);
      }
    // About one point per pixel row, whatever the rows.
    QVERIFY2(points <= std::size_t(view.pixels) + 4, qPrintable(QString::number(points)));
    QVERIFY(points >= std::size_t(view.pixels) / 2);
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
    QVERIFY(lo <= inView.first + 1e-3 && hi >= inView.second - 1e-3);
    QVERIFY(lo >= withEdges.first - 1e-3 && hi <= withEdges.second + 1e-3);
  }
}

void PlotDataTest::closeUpDrawsTheRowsThemselves() {
  CTestLas made;
  made.rows = 3000;
  made.value = [](int row, int curve) { return curve == 2 && row == 1500 ? NAN : Wander(row, curve); };
  QVERIFY(made.Write(m_dir.filePath("close.las")));
  const auto data = Load(m_dir.filePath("close.las"));
  auto lock = data->Lock();
  CRowReader rows(*data);
  // 1730 .. 1770 m: 81 rows over 300 pixel rows.
  const CCurveTracer tracer(*data, &rows, 1730, 1770, 300);
  QVERIFY(tracer.FromRows());
  const std::vector<CTraceRun> runs = tracer.Trace(2);
  QCOMPARE(int(runs.size()), 2);  // the null row splits the curve
  for (const CTraceRun& run : runs)
    for (const CTracePoint& point : run) {
      const int row = int(std::lround((point.depth - 1000) / 0.5));
      QVERIFY(std::fabs(point.lo - made.Value(row, 2)) < 1e-4);
      QCOMPARE(point.lo, point.hi);
    }
  QCOMPARE(runs.front().back().depth, 1749.5);
  QCOMPARE(runs.back().front().depth, 1750.5);
  // Scrolling a little reads nothing again.
  const long parsed = rows.RowsParsed();
  const CCurveTracer scrolled(*data, &rows, 1735, 1775, 300);
  QVERIFY(scrolled.FromRows());
  QCOMPARE(rows.RowsParsed(), parsed);
}

void PlotDataTest::pixelRowsHoldTheirRowsLeastGreatestFirstAndLast_data() {
  QTest::addColumn<int>("rowsPerPixel");
  QTest::addColumn<int>("pixels");
  QTest::newRow("1 row per pixel row") << 1 << 400;
  QTest::newRow("4 rows") << 4 << 300;
  QTest::newRow("10 rows") << 10 << 300;
  QTest::newRow("50 rows, from the pyramid") << 50 << 200;
  QTest::newRow("1000 rows, from the pyramid") << 1000 << 60;
}

void PlotDataTest::pixelRowsHoldTheirRowsLeastGreatestFirstAndLast() {
  // Every pixel row of the view draws the least, greatest, first and last reading of the
  // rows falling into it; a run goes on from one pixel row to the next only where both
  // the last row of the one and the first row of the next hold a reading. Painted, every
  // pixel row of readings is one solid span reaching its least and greatest reading, and
  // a pixel row of nulls only stays empty.
  QFETCH(int, rowsPerPixel);
  QFETCH(int, pixels);
  const int k = rowsPerPixel;
  const int rowCount = k * pixels;
  CTestLas made;
  made.rows = rowCount;
  made.value = [rowCount, k](int row, int) -> double {
    const int gap = rowCount * 3 / 10 / k * k;  // three whole pixel rows of nulls
    const int lone = rowCount * 7 / 10;         // a reading alone among nulls
    if ((row >= gap && row < gap + 3 * k) || (row != lone && std::abs(row - lone) < 2 * k)) return NAN;
    if (row % 37 == 5 || row % 53 == 0) return NAN;  // pixel rows of readings and nulls
    return 50 + 30 * std::sin(row * 0.05) + (row * 7919 % 101) / 10.0;
  };
  QVERIFY(made.Write(m_dir.filePath("m4.las")));
  const auto data = Load(m_dir.filePath("m4.las"));
  auto lock = data->Lock();
  CRowReader rows(*data);
  // Pixel row p holds rows p*k .. p*k + k - 1 (the view starts a quarter row above row 0).
  const double top = made.Depth(0) - made.step / 4;
  const double base = top + rowCount * made.step;
  const CCurveTracer tracer(*data, &rows, top, base, pixels);
  QCOMPARE(tracer.FromRows(), k <= CCurveTracer::kRowsPerPixelForRows);
  // From the pyramid, a row goes with its bucket: to the pixel row of the bucket's middle.
  const long bucketRows = tracer.FromRows() ? 1 : CLasData::kBucketRows << (2 * tracer.Level());
  QVERIFY(tracer.FromRows() || (bucketRows <= k && bucketRows * 4 > k));

  struct CPixel {
    bool rows = false;
    bool readings = false;
    double lo = 0, hi = 0, first = 0, last = 0;
  };
  std::vector<CPixel> expected(static_cast<std::size_t>(pixels));
  for (int row = 0; row < rowCount; ++row) {
    const long first = row / bucketRows * bucketRows;
    const long last = std::min<long>(first + bucketRows, rowCount) - 1;
    const auto p = static_cast<std::size_t>(std::floor((0.5 * double(first + last) + 0.25) / k));
    QVERIFY(p < expected.size());
    CPixel& pixel = expected[p];
    const double value = made.Value(row, 1);
    if (!pixel.rows) pixel.first = value;
    pixel.rows = true;
    pixel.last = value;
    if (std::isnan(value)) continue;
    pixel.lo = pixel.readings ? std::min(pixel.lo, value) : value;
    pixel.hi = pixel.readings ? std::max(pixel.hi, value) : value;
    pixel.readings = true;
  }

  std::vector<int> runOf(expected.size(), -1);
  const std::vector<CTraceRun>& runs = tracer.Trace(1);
  for (std::size_t r = 0; r < runs.size(); ++r)
    for (const CTracePoint& point : runs[r]) {
      const auto p = static_cast<std::size_t>(std::floor((point.depth - top) / (base - top) * pixels));
      QVERIFY(p < expected.size() && runOf[p] < 0);
      runOf[p] = int(r);
      auto same = [](double a, double b) { return std::isnan(b) ? std::isnan(a) : std::fabs(a - b) < 1e-4; };
      const CPixel& want = expected[p];
      QVERIFY2(
          same(point.lo, want.lo) && same(point.hi, want.hi) && same(point.first, want.first) &&
              same(point.last, want.last),
          qPrintable(QString::asprintf("pixel row %zu: %g %g %g %g, not %g %g %g %g", p, point.lo, point.hi,
                                       point.first, point.last, want.lo, want.hi, want.first, want.last)));
    }
  int expectedRuns = 0;
  for (std::size_t p = 0; p < expected.size(); ++p) {
    QVERIFY(expected[p].rows);
    QCOMPARE(runOf[p] >= 0, expected[p].readings);  // a pixel row of nulls only is a gap
    if (!expected[p].readings) continue;
    const bool joined = p > 0 && expected[p - 1].readings && !std::isnan(expected[p - 1].last) &&
                        !std::isnan(expected[p].first);
    if (joined)
      QCOMPARE(runOf[p], runOf[p - 1]);
    else
      QCOMPARE(runOf[p], expectedRuns++);
  }
  QCOMPARE(int(runs.size()), expectedRuns);

  // Painted across a track of 0..100 without smoothing, as a window paints (pixel rows
  // filled) and as a picture does (lines).
  CPlotLayout layout;
  layout.tracks.push_back({{CTrackCurve{1, 0.0, 100.0}}});
  const CPlotScales scales = ComputeScales(*data, layout);
  for (const bool pixelSpans : {true, false}) {
    const CPlotPainter painter(*data, &rows, layout, scales, {false, false, pixelSpans});
    const double bodyTop = painter.Geometry(QRectF(0, 0, 264, 1000)).body.top();
    const QRectF area(0, 0, 264, bodyTop + pixels);
    const QRectF track = painter.Geometry(area).tracks.front();
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    {
      QPainter on(&image);
      painter.Paint(on, area, top, base);
    }
    const QRgb ink = CPlotPainter::CurveColor(0, 0).rgb();
    auto xOf = [&track](double value) { return std::floor(track.left() + value / 100 * track.width()); };
    for (int p = 1; p < pixels; ++p) {  // pixel row 0 lies under the headers' frame
      int left = image.width(), right = -1, inked = 0;
      for (int x = int(track.left()) + 1; x < int(track.right()); ++x)
        if (image.pixel(x, int(bodyTop) + p) == ink) {
          left = std::min(left, x);
          right = std::max(right, x);
          ++inked;
        }
      const CPixel& want = expected[std::size_t(p)];
      const QString where = QString::asprintf("%s, pixel row %d: %d .. %d, %d inked",
                                              pixelSpans ? "spans" : "lines", p, left, right, inked);
      QVERIFY2(want.readings ? inked == right - left + 1 : inked == 0, qPrintable(where));
      if (!want.readings) continue;
      QVERIFY2(left <= xOf(want.lo) + 1 && right >= xOf(want.hi) - 1, qPrintable(where));
      // Beyond the span only the halves of the joins to the pixel rows either side.
      double lo = want.lo, hi = want.hi;
      for (const std::size_t q : {std::size_t(p) - 1, std::size_t(p) + 1}) {
        if (q >= expected.size() || runOf[q] != runOf[std::size_t(p)]) continue;
        const double middle =
            q < std::size_t(p) ? (expected[q].last + want.first) / 2 : (want.last + expected[q].first) / 2;
        lo = std::min(lo, middle);
        hi = std::max(hi, middle);
      }
      QVERIFY2(left >= xOf(lo) - 1 && right <= xOf(hi) + 1, qPrintable(where));
    }
  }
}

void PlotDataTest::depthsRunningUpTheFile() {
  CTestLas made;
  made.rows = 2000;
  made.start = 2000;
  made.step = -0.25;
  QVERIFY(made.Write(m_dir.filePath("up.las")));
  const auto data = Load(m_dir.filePath("up.las"));
  auto lock = data->Lock();
  QCOMPARE(data->DepthExtent()->first, 1500.25);
  QCOMPARE(data->DepthExtent()->second, 2000.0);
  for (double row : {0.0, 17.5, 999.0, 1999.0}) QCOMPARE(data->RowAtDepth(data->DepthAtRow(row)), row);
  QCOMPARE(data->RowAtDepth(1000), 1999.0);  // beyond the rows: the nearest one
  CRowReader rows(*data);
  const CCurveTracer tracer(*data, &rows, 1600, 1900, 200);
  const std::vector<CTraceRun> runs = tracer.Trace(1);
  QCOMPARE(int(runs.size()), 1);
  for (const CTracePoint& point : runs.front()) QVERIFY(point.depth > 1590 && point.depth < 1910);
}

void PlotDataTest::cancelKeepsTheRowsSoFar() {
  CTestLas made;
  made.rows = 3 * kFirstBatchRows;
  QVERIFY(made.Write(m_dir.filePath("cancel.las")));
  CLasData data(m_dir.filePath("cancel.las").toStdString());
  CSharedProgress progress;
  progress.RequestCancel();  // before the job even starts: it stops at its first look
  QCOMPARE(LoadLasFile(data, progress), LoadState::Cancelled);
  const CSharedProgress::CState state = progress.State();
  QVERIFY(state.opened && state.closed);
  QCOMPARE(state.title, std::string("Loading cancel.las"));
  auto lock = data.Lock();
  QCOMPARE(data.State(), LoadState::Cancelled);
  QCOMPARE(data.Rows(), long(kFirstBatchRows));
}

void PlotDataTest::sampleStaysSmallAndEven() {
  CValueSample sample;
  for (long row = 0; row < 1000000; ++row)
    if (sample.Wants(row)) sample.Add(row, row % 1000 == 0 ? NAN : float(row - 1000));
  QVERIFY(sample.Size() < CValueSample::kCapacity);
  const auto all = sample.Quantiles(0.01, 0.99, false);
  QVERIFY(all && std::fabs(all->first - 9000) < 2000 && std::fabs(all->second - 989000) < 2000);
  const auto positive = sample.Quantiles(0, 1, true);
  QVERIFY(positive && positive->first > 0);
  QVERIFY(!CValueSample().Quantiles(0.01, 0.99, false));
}

QTEST_MAIN(PlotDataTest)
#include "PlotDataTest.moc"
