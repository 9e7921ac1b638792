// The LAS window's plot as a petrophysicist uses it: colours that stay with their curves
// when tracks move, many curves side by side (a scroll bar, widths dragged), the depth
// scale of the screen and the scale pictures and pages are drawn at, and a file that
// changes on disk under the window (said, never read, read anew on Load Again).
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "WindowFakes.h"
#include "lasview/LasCheckPane.h"
#include "lasview/PlotCanvas.h"
#include "plot/PlotPainter.h"
#include "plotmodel/DepthScale.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kWell = ReadAll(CORVANE_TEST_DATA "/plot_well.las");
const QByteArray kWrapped = ReadAll(CORVANE_TEST_DATA "/sample_2.0_wrapped.las");

// Where the canvas draws its tracks now.
CPlotPainter::CGeometry CanvasGeometry(CLasWindow& window) {
  CLasSession& session = window.Session();
  auto* canvas = window.findChild<CPlotCanvas*>();
  auto lock = session.Data().Lock();
  const CPlotPainter painter(session.Data(), &session.Rows(), session.Layout(), session.Scales(),
                             {false, false});
  return painter.Geometry(
      QRectF(-canvas->ScrollX(), 0, painter.NeededWidth(canvas->width()), canvas->height()));
}

int PixelsOf(const QImage& image, const QRectF& rect, QRgb color) {
  int count = 0;
  for (int y = int(rect.top()) + 1; y < int(rect.bottom()) - 1; ++y)
    for (int x = std::max(0, int(rect.left()) + 1); x < std::min(image.width(), int(rect.right())); ++x)
      count += image.pixel(x, y) == color ? 1 : 0;
  return count;
}

void Mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, widget->mapToGlobal(at),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

}  // namespace

class LasWindowPlotTest : public QObject {
  Q_OBJECT
 private slots:
  void coloursStayWithTheirCurvesWhenTracksMove();
  void manyCurvesScrollSidewaysAndTakeTheWidthsDragged();
  void depthScaleOfTheScreenAndOfPicturesAndPages();
  void aFileChangedOnDiskIsSaidAndReadAnew();
};

void LasWindowPlotTest::coloursStayWithTheirCurvesWhenTracksMove() {
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("well.las", kWell));
  QVERIFY(WaitLoaded(window.get()));
  CLasSession& session = window->Session();
  auto* canvas = window->findChild<CPlotCanvas*>();
  const std::vector<CurveFamily> families = session.Layout().families;
  const std::vector<CRgb> own = CurveColors(families);
  // Each step moves tracks about; every curve's colour is then painted in its own track
  // and in no other.
  const std::vector<std::function<bool(CPlotLayout&)>> steps = {
      [](CPlotLayout&) { return true; },
      [](CPlotLayout& layout) { return layout.MoveTrack(0, 2); },
      [](CPlotLayout& layout) { return layout.MoveTrack(4, -3); },
      [](CPlotLayout& layout) { return layout.MoveTrack(2, 1); },
  };
  for (std::size_t s = 0; s < steps.size(); ++s) {
    session.ChangeLayout(steps[s]);
    const QImage image = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const CPlotPainter::CGeometry g = CanvasGeometry(*window);
    const CPlotLayout& layout = session.Layout();
    for (std::size_t i = 0; i < g.tracks.size(); ++i)
      for (const CTrackCurve& curve : layout.tracks[g.layoutTrack[i]].curves) {
        const QRgb color = ToQColor(own[curve.curve]).rgb();
        const QString where = QStringLiteral("step %1, curve %2").arg(s).arg(curve.curve);
        QVERIFY2(PixelsOf(image, g.tracks[i], color) > 20, qPrintable(where));
        for (std::size_t j = 0; j < g.tracks.size(); ++j)
          if (j != i) QVERIFY2(PixelsOf(image, g.tracks[j], color) == 0, qPrintable(where));
      }
  }
}

void LasWindowPlotTest::manyCurvesScrollSidewaysAndTakeTheWidthsDragged() {
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("wrapped.las", kWrapped));
  QVERIFY(WaitLoaded(window.get()));
  CLasSession& session = window->Session();
  auto* canvas = window->findChild<CPlotCanvas*>();
  auto* scroll = Named<QScrollBar>(window.get(), "trackScroll");
  // 25 tracks: no track squeezed below its least width; the rest is reached by scrolling.
  QCOMPARE(int(session.Layout().tracks.size()), 25);
  QVERIFY(scroll->isVisible());
  QCOMPARE(scroll->maximum(), canvas->OverflowWidth());
  CPlotPainter::CGeometry g = CanvasGeometry(*window);
  for (const QRectF& track : g.tracks) QVERIFY(track.width() >= CPlotPainter::kMinTrackWidth);
  QVERIFY(g.width > canvas->width());
  scroll->setValue(scroll->maximum());
  QCOMPARE(canvas->ScrollX(), scroll->maximum());
  g = CanvasGeometry(*window);
  QCOMPARE(int(std::lround(g.tracks.back().right())), canvas->width());

  // The right edge of the first track shown dragged 50 pixels to the right: its width.
  scroll->setValue(0);
  g = CanvasGeometry(*window);
  const std::size_t dragged = g.layoutTrack[1];
  const double width = g.tracks[1].width();
  const QPointF edge(g.tracks[1].right(), g.body.center().y());
  Mouse(canvas, QEvent::MouseButtonPress, edge, Qt::LeftButton);
  Mouse(canvas, QEvent::MouseMove, edge + QPointF(30, 0), Qt::LeftButton);
  Mouse(canvas, QEvent::MouseMove, edge + QPointF(50, 0), Qt::LeftButton);
  Mouse(canvas, QEvent::MouseButtonRelease, edge + QPointF(50, 0), Qt::NoButton);
  QCOMPARE(session.Layout().tracks[dragged].width, std::optional<double>(width + 50));
  QCOMPARE(CanvasGeometry(*window).tracks[1].width(), width + 50);
  // A double click on the edge gives it its share of the room again.
  QMouseEvent twice(QEvent::MouseButtonDblClick, edge + QPointF(50, 0),
                    canvas->mapToGlobal(edge + QPointF(50, 0)), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(canvas, &twice);
  QVERIFY(!session.Layout().tracks[dragged].width);

  // With the tracks but three hidden, no scroll bar.
  session.ChangeLayout([](CPlotLayout& layout) {
    for (std::size_t t = 3; t < layout.tracks.size(); ++t) layout.tracks[t].hidden = true;
    return true;
  });
  QVERIFY(!scroll->isVisible());
  QCOMPARE(canvas->OverflowWidth(), 0);
}

void LasWindowPlotTest::depthScaleOfTheScreenAndOfPicturesAndPages() {
  CWindowFixture fx;
  const QString path = fx.WriteFile("well.las", kWell);
  auto window = fx.Open(path);
  QVERIFY(WaitLoaded(window.get()));
  CLasSession& session = window->Session();
  auto* screen = Named<QLabel>(window.get(), "screenScale");
  auto ratioShown = [screen] { return screen->text().section(':', 1).toInt(); };
  // The screen's scale follows the depths shown: half the depths, half the ratio.
  session.SetDepthRange(1500, 1540);
  QVERIFY(screen->text().startsWith("Screen 1:"));
  const int wide = ratioShown();
  session.SetDepthRange(1500, 1520);
  QVERIFY(std::abs(ratioShown() * 2 - wide) <= 2);
  QVERIFY(std::abs(*window->ScreenRatio() - ratioShown()) <= 0.5);

  // "Fit to page": a picture of the canvas's size. At 1:500 as high as the depths need.
  auto* scale = Named<QComboBox>(window.get(), "printScale");
  QCOMPARE(scale->currentText(), QStringLiteral("Fit to page"));
  QCOMPARE(window->PictureSize(), window->findChild<CPlotCanvas*>()->size());
  const QSize fitted = window->PictureSize();
  scale->setEditText("1:500");
  emit scale->lineEdit()->editingFinished();
  QCOMPARE(window->PrintRatio(), std::optional<double>(500));
  QVERIFY(window->SavePlot(fx.dir.filePath("at500.png")));
  const QImage at500(fx.dir.filePath("at500.png"));
  QCOMPARE(at500.width(), fitted.width());
  double header = 0;
  {
    auto lock = session.Data().Lock();
    header = CPlotPainter(session.Data(), &session.Rows(), session.Layout(), session.Scales()).HeaderHeight();
  }
  QVERIFY(std::abs(at500.height() - header - 20 * PixelsPerDepthUnit(500, "M", kPictureDpi)) <= 1);
  // Not a scale: the box shows the scale as it was.
  scale->setEditText("1:x");
  emit scale->lineEdit()->editingFinished();
  QCOMPARE(scale->currentText(), QStringLiteral("1:500"));
  // A picture too high for the depths shown at the scale is refused, saying so.
  session.ShowWhole();
  window->SetPrintRatio(1);
  const CResult tall = window->SavePlot(fx.dir.filePath("tall.png"));
  QVERIFY(tall.IsFailed() && tall.Reason().find("the most is 32000") != std::string::npos);
  QVERIFY(!QFile::exists(fx.dir.filePath("tall.png")));

  // Printed at 1:100, 50 m take two A4 pages; fitted to the page, one.
  for (const auto& [ratio, pages] :
       {std::pair{std::optional<double>(100), 2}, std::pair{std::optional<double>(), 1}}) {
    window->SetPrintRatio(ratio);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(fx.dir.filePath("printed.pdf"));
    window->Render(printer);
    const QByteArray pdf = ReadAll(fx.dir.filePath("printed.pdf"));
    QCOMPARE(int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") +
                 pdf.count("/Type /Page/") + pdf.count("/Type /Page>")),
             pages);
  }
  QCOMPARE(ReadAll(path), kWell);
}

void LasWindowPlotTest::aFileChangedOnDiskIsSaidAndReadAnew() {
  CWindowFixture fx;
  const QString path = fx.WriteFile("well.las", kWell);
  auto window = fx.Open(path);
  QVERIFY(WaitLoaded(window.get()));
  QVERIFY(WaitChecked(window.get()));
  CLasSession& session = window->Session();
  auto* canvas = window->findChild<CPlotCanvas*>();
  auto* bar = Named<QWidget>(window.get(), "fileChangedBar");
  QVERIFY(!bar->isVisible());
  session.SetDepthRange(1500, 1505);
  QVERIFY(canvas->Readout(1502).startsWith("DEPT 1502 M   GR 81.91 GAPI"));

  // Converted again into the same path: a new file of other readings takes its place.
  QByteArray newer = kWell;
  newer.replace("81.9100", "11.1100");
  newer +=
      "      1550.0000       50.0000        0.2000        2.5000      300.0000      220.0000        5.0000   "
      "   -40.0000        3.0000\r\n";
  const QString other = fx.WriteFile("newer.las", newer);
  QCOMPARE(std::rename(other.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
  // The window's watcher of the folder hears of it.
  QVERIFY(QTest::qWaitFor([bar] { return bar->isVisible(); }, 10000));
  QVERIFY(session.FileChanged());
  QVERIFY(Named<QLabel>(bar, "fileChanged")->text().startsWith("The file has changed on disk"));
  // Nothing is read from it: no row of the new file at an old offset (the rows kept from
  // the file read may still show), no line of it.
  for (const double depth : {1502.0, 1542.0}) {
    session.SetDepthRange(depth - 2, depth + 3);
    QVERIFY(!canvas->grab().isNull());
    const QString readout = canvas->Readout(depth);
    QVERIFY2(readout.isEmpty() || !readout.contains("GR 11.11"), qPrintable(readout));
  }
  auto* pane = window->findChild<CLasCheckPane*>();
  QVERIFY(!pane->ShowLine(40));
  QVERIFY(Named<QLabel>(pane, "findingLine")->text().contains("the file has changed since it was read"));

  // Load Again: the new file, its rows, its check.
  QTest::mouseClick(Named<QPushButton>(bar, "loadAgain"), Qt::LeftButton);
  QVERIFY(!bar->isVisible());
  QVERIFY(WaitLoaded(window.get()));
  {
    auto lock = session.Data().Lock();
    QCOMPARE(session.Data().Rows(), 401L);
  }
  session.SetDepthRange(1500, 1505);
  QVERIFY(canvas->Readout(1502).startsWith("DEPT 1502 M   GR 11.11 GAPI"));
  QVERIFY(WaitChecked(window.get()));
  QVERIFY(pane->ShowLine(40));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

QTEST_MAIN(LasWindowPlotTest)
#include "LasWindowPlotTest.moc"
