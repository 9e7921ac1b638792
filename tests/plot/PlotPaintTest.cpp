// What the painter makes of a view: every pixel row of readings one solid span reaching
// its least and greatest reading, a pixel row of nulls only left empty, as a window
// paints (pixel rows filled) and as a picture does (lines), at every zoom.
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "PlotTestFiles.h"
#include "platform/JobProgress.h"
#include "plot/PlotPainter.h"
#include "plotmodel/CurveTracer.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/RowReader.h"

using namespace corvane;
using namespace corvane::test;

class PlotPaintTest : public QObject {
  Q_OBJECT
 private slots:
  void pixelRowsPaintTheirRowsLeastAndGreatest_data();
  void pixelRowsPaintTheirRowsLeastAndGreatest();

 private:
  QTemporaryDir m_dir;
};

void PlotPaintTest::pixelRowsPaintTheirRowsLeastAndGreatest_data() {
  QTest::addColumn<int>("rowsPerPixel");
  QTest::addColumn<int>("pixels");
  QTest::newRow("1 row per pixel row") << 1 << 400;
  QTest::newRow("4 rows") << 4 << 300;
  QTest::newRow("10 rows") << 10 << 300;
  QTest::newRow("50 rows, from the pyramid") << 50 << 200;
  QTest::newRow("1000 rows, from the pyramid") << 1000 << 60;
}

void PlotPaintTest::pixelRowsPaintTheirRowsLeastAndGreatest() {
  QFETCH(int, rowsPerPixel);
  QFETCH(int, pixels);
  const int k = rowsPerPixel;
  const CTestLas made = PixelRowsFile(k, pixels);
  const std::string path = m_dir.filePath("m4.las").toStdString();
  QVERIFY(made.Write(path));
  CLasData data(path);
  CNullProgress progress;
  QCOMPARE(LoadLasFile(data, progress), LoadState::Done);
  auto lock = data.Lock();
  CRowReader rows(data);
  const auto [top, base] = PixelRowsView(made, k, pixels);
  // The pixel rows' runs, as the tracer joins them.
  const CCurveTracer tracer(data, &rows, top, base, pixels);
  const long bucketRows = tracer.FromRows() ? 1 : CLasData::kBucketRows << (2 * tracer.Level());
  const std::vector<CExpectedPixel> expected = ExpectedPixels(made, k, pixels, bucketRows);
  QCOMPARE(int(expected.size()), pixels);
  std::vector<int> runOf(expected.size(), -1);
  const std::vector<CTraceRun>& runs = tracer.Trace(1);
  for (std::size_t r = 0; r < runs.size(); ++r)
    for (const CTracePoint& point : runs[r])
      if (const auto p = static_cast<std::size_t>(std::floor((point.depth - top) / (base - top) * pixels));
          p < runOf.size())
        runOf[p] = int(r);

  // Painted across a track of 0..100 without smoothing.
  CPlotLayout layout;
  layout.tracks.push_back({{CTrackCurve{1, 0.0, 100.0}}});
  const CPlotScales scales = ComputeScales(data, layout);
  for (const bool pixelSpans : {true, false}) {
    const CPlotPainter painter(data, &rows, layout, scales, {false, false, pixelSpans});
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
      const CExpectedPixel& want = expected[std::size_t(p)];
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

QTEST_MAIN(PlotPaintTest)
#include "PlotPaintTest.moc"
