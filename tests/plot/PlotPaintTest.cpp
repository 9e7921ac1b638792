// What the painter makes of a view: every pixel row of readings one solid span reaching
// its least and greatest reading, a reading alone between nulls a short mark, a pixel
// row of nulls only left empty, as a window paints (pixel rows filled) and as a picture
// does (lines), at every zoom.
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <vector>

#include "PlotTestFiles.h"
#include "platform/JobProgress.h"
#include "plot/PlotPainter.h"
#include "plotmodel/CurveTracer.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/PlotFills.h"
#include "plotmodel/RowReader.h"

using namespace corvane;
using namespace corvane::test;

class PlotPaintTest : public QObject {
  Q_OBJECT
 private slots:
  void pixelRowsPaintTheirRowsLeastAndGreatest_data();
  void pixelRowsPaintTheirRowsLeastAndGreatest();
  void fillsPaintTheirTracedPixels_data();
  void fillsPaintTheirTracedPixels();

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
  CTrack track;
  track.curves = {CTrackCurve{1, 0.0, 100.0}};
  layout.tracks.push_back(track);
  const CPlotScales scales = ComputeScales(data, layout);
  for (const bool pixelSpans : {true, false}) {
    const CPlotPainter painter(data, &rows, layout, scales, {false, false, pixelSpans, nullptr, QRectF()});
    const double bodyTop = painter.Geometry(QRectF(0, 0, 264, 1000)).body.top();
    const QRectF area(0, 0, 264, bodyTop + pixels);
    const QRectF track = painter.Geometry(area).tracks.front();
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    {
      QPainter on(&image);
      painter.Paint(on, area, top, base);
    }
    const QRgb ink = painter.Color(0, 0).rgb();
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
      // A pixel row alone in its run, of one reading (or a few alike): a mark seven pixels across.
      const int run = runOf[std::size_t(p)];
      if (run >= 0 && runs[std::size_t(run)].size() == 1 && xOf(want.hi) - xOf(want.lo) < 3) {
        QVERIFY2(right - left == 6 && left <= xOf(want.lo) - 2 && right >= xOf(want.hi) + 2,
                 qPrintable(where));
        continue;
      }
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

void PlotPaintTest::fillsPaintTheirTracedPixels_data() {
  QTest::addColumn<int>("pixels");
  QTest::addColumn<bool>("pixelSpans");
  QTest::newRow("four rows a pixel row, window") << 100 << true;
  QTest::newRow("four rows a pixel row, picture") << 100 << false;
  QTest::newRow("a row over two pixel rows, window") << 800 << true;
  QTest::newRow("a row over two pixel rows, picture") << 800 << false;
}

void PlotPaintTest::fillsPaintTheirTracedPixels() {
  // Gamma ray between 10 and 90 with gaps; NPHI steady at the middle of its track and
  // RHOB passing from right of it to left of it: the crossover below row 95.
  QFETCH(int, pixels);
  QFETCH(bool, pixelSpans);
  CTestLas made;
  made.curves = {{"DEPT", "M"}, {"GR", "GAPI"}, {"NPHI", "V/V"}, {"RHOB", "G/C3"}};
  made.rows = 400;
  made.value = [](int row, int curve) -> double {
    if (curve == 1) return row % 50 == 25 ? NAN : 50 + 40 * std::sin(row * 0.1);
    if (curve == 2) return 0.15;
    return 2.25 + 0.4 * std::tanh((190 - row) / 10.0);
  };
  const std::string path = m_dir.filePath("fills.las").toStdString();
  QVERIFY(made.Write(path));
  CLasData data(path);
  CNullProgress progress;
  QCOMPARE(LoadLasFile(data, progress), LoadState::Done);
  auto lock = data.Lock();
  CRowReader rows(data);
  CPlotLayout layout = CPlotLayout::Standard(data.Header());
  QCOMPARE(int(layout.tracks.size()), 2);
  const CPlotScales scales = ComputeScales(data, layout);
  const double top = made.Depth(0);
  const double base = made.Depth(made.rows - 1);
  for (const bool on : {true, false}) {
    for (CTrack& track : layout.tracks) track.fills.front().on = on;
    CCurveTracer tracer(data, &rows);
    const CPlotPainter painter(data, &rows, layout, scales, {false, false, pixelSpans, &tracer, QRectF()});
    const double bodyTop = painter.Geometry(QRectF(0, 0, 400, 1000)).body.top();
    const QRectF area(0, 0, 400, bodyTop + pixels);
    const CPlotPainter::CGeometry g = painter.Geometry(area);
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    {
      QPainter on(&image);
      painter.Paint(on, area, top, base);
    }
    for (std::size_t t = 0; t < 2; ++t) {
      const CTrackFill& fill = layout.tracks[t].fills.front();
      const QRgb shade = ToQColor(fill.color).rgb();
      const QRectF& rect = g.tracks[t];
      auto scaleOf = [&](std::size_t curve) -> const CTrackScale& {
        for (std::size_t k = 0; k < layout.tracks[t].curves.size(); ++k)
          if (layout.tracks[t].curves[k].curve == curve) return scales[t][k];
        return scales[t][0];
      };
      const std::vector<CFillSpan> spans =
          FillSpans(fill, tracer, scaleOf(fill.curve), scaleOf(fill.other), top, base, pixels);
      QVERIFY(!spans.empty());
      std::vector<const CFillSpan*> byPixel(std::size_t(pixels), nullptr);
      for (const CFillSpan& span : spans) byPixel[std::size_t(span.pixel)] = &span;
      int shaded = 0;
      int inside = 0;
      for (int p = 1; p < pixels; ++p) {
        const CFillSpan* span = byPixel[std::size_t(p)];
        const double from = span ? rect.left() + span->from * rect.width() : 0;
        const double to = span ? rect.left() + span->to * rect.width() : 0;
        for (int x = int(rect.left()) + 1; x < int(rect.right()); ++x) {
          const bool isShade = image.pixel(x, int(bodyTop) + p) == shade;
          const bool within = span && x >= std::floor(from) && x <= std::floor(to);
          const QString where =
              QString::asprintf("track %zu, pixel row %d, x %d: %.1f .. %.1f", t, p, x, from, to);
          // Never a shaded pixel outside what the fill covers, nor any while it is off.
          QVERIFY2(!isShade || (on && (within || x <= std::floor(from) + 1 || x >= std::floor(to) - 1)),
                   qPrintable(where));
          if (within && x > std::floor(from) && x < std::floor(to)) {
            ++inside;
            shaded += isShade ? 1 : 0;
          }
        }
      }
      // Within it, shaded but where the grid and the curves lie over it.
      QVERIFY2(!on || shaded > inside * 3 / 4, qPrintable(QString::asprintf("%d of %d", shaded, inside)));
      if (fill.kind == FillKind::Crossover) {
        // Only below the crossing of the curves.
        for (const CFillSpan& span : spans)
          QVERIFY((span.pixel + 0.5) * double(made.rows - 1) / pixels > 180);
      }
    }
  }
}

QTEST_MAIN(PlotPaintTest)
#include "PlotPaintTest.moc"
