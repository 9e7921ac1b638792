// The crossplot window of a LAS file: neutron against density coloured by gamma ray at
// first, its counts against the file's rows, the pointer reading both curves and the
// depth, depths linked both ways with its LAS window, a density for many readings, its
// picture, and its end with the LAS window.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "WindowFakes.h"
#include "lasview/CrossplotWindow.h"
#include "plot/CrossplotPainter.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kWell = ReadAll(CORVANE_TEST_DATA "/plot_well.las");

// The example well's rows: DEPT, GR, NPHI, RHOB, DT, CALI, ILD, SP, PEF (NULL -999.25).
struct CRow {
  double depth;
  QList<QByteArray> cells;
};
QList<CRow> Rows(const QByteArray& las) {
  QList<CRow> rows;
  bool data = false;
  for (const QByteArray& line : las.split('\n')) {
    if (line.startsWith("~A")) {
      data = true;
      continue;
    }
    const QList<QByteArray> cells = line.simplified().split(' ');
    if (data && cells.size() == 9) rows.append({cells[0].toDouble(), cells});
  }
  return rows;
}

// Rows within the depths with readings of both curves.
int Readings(const QList<CRow>& rows, double top, double base, int x, int y) {
  int count = 0;
  for (const CRow& row : rows)
    if (row.depth >= top && row.depth <= base && row.cells[x] != "-999.2500" && row.cells[y] != "-999.2500")
      ++count;
  return count;
}

QWidget* Canvas(CCrossplotWindow& window) {
  return window.findChild<QWidget*>(QStringLiteral("crossplotCanvas"));
}

// Where a reading stands on the canvas.
QPointF PointOf(CCrossplotWindow& window, double x, double y) {
  const CCrossplot& plot = *window.Crossplot();
  CLasHeader header;
  const QRectF area(Canvas(window)->rect());
  const QRectF axes = CCrossplotPainter(plot, header, QString()).PlotArea(area);
  return {axes.left() + plot.Setup().xAxis.Fraction(x) * axes.width(),
          axes.bottom() - plot.Setup().yAxis.Fraction(y) * axes.height()};
}

}  // namespace

class CrossplotWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void neutronAgainstDensityCountsTheRows();
  void depthsAreLinkedWithTheLasWindow();
  void manyReadingsMakeADensity();
};

void CrossplotWindowTest::neutronAgainstDensityCountsTheRows() {
  CWindowFixture fx;
  const QString path = fx.WriteFile("well.las", kWell);
  auto window = fx.Open(path);
  QVERIFY(WaitLoaded(window.get()));
  QSignalSpy opened(window.get(), &CLasWindow::CrossplotOpened);
  QTest::mouseClick(Named<QPushButton>(window.get(), "crossplot"), Qt::LeftButton);
  QCOMPARE(opened.size(), 1);
  QPointer<CCrossplotWindow> crossplot = opened.first().at(0).value<CCrossplotWindow*>();
  QVERIFY(crossplot);
  crossplot->resize(600, 600);
  crossplot->show();
  crossplot->Wait();
  QCOMPARE(crossplot->Title(), QStringLiteral("Crossplot of well.las"));
  QCOMPARE(Named<QComboBox>(crossplot, "xCurve")->currentText(), QStringLiteral("NPHI"));
  QCOMPARE(Named<QComboBox>(crossplot, "yCurve")->currentText(), QStringLiteral("RHOB"));
  QCOMPARE(Named<QComboBox>(crossplot, "colorCurve")->currentText(), QStringLiteral("GR"));
  const QList<CRow> rows = Rows(kWell);
  const CCrossplot* plot = crossplot->Crossplot();
  QVERIFY(plot);
  QCOMPARE(plot->RowsInRange(), long(rows.size()));
  QCOMPARE(plot->Readings(), long(Readings(rows, 1500, 1549.875, 2, 3)));
  QVERIFY(plot->ShowsPoints());
  QCOMPARE(plot->Setup().xAxis.Left(), -0.15);
  QCOMPARE(plot->Setup().yAxis.Left(), 2.95);  // density running down

  // The pointer on a reading: both curves, the colour curve and the depth.
  const CRow& row = rows[200];
  const QPointF at = PointOf(*crossplot, row.cells[2].toDouble(), row.cells[3].toDouble());
  const QString expected = QStringLiteral("NPHI %1 V/V   RHOB %2 G/C3   GR %3 GAPI   at %4 M")
                               .arg(row.cells[2].toDouble())
                               .arg(row.cells[3].toDouble())
                               .arg(row.cells[1].toDouble())
                               .arg(row.depth);
  QCOMPARE(crossplot->ReadoutAt(at), expected);
  QSignalSpy readout(crossplot.data(), &CCrossplotWindow::ReadoutChanged);
  QMouseEvent move(QEvent::MouseMove, at, Canvas(*crossplot)->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(Canvas(*crossplot), &move);
  QCOMPARE(readout.last().at(0).toString(), expected);
  // Off the readings: where the pointer stands; off the axes: nothing.
  QVERIFY(crossplot->ReadoutAt(PointOf(*crossplot, -0.1, 2.9)).startsWith("NPHI -0.1"));
  QVERIFY(crossplot->ReadoutAt(QPointF(2, 2)).isEmpty());

  // Other curves: gamma ray against deep resistivity (a log axis), no colour.
  crossplot->SetCurves(1, 6, std::nullopt);
  crossplot->Wait();
  QCOMPARE(crossplot->Crossplot()->Readings(), long(Readings(rows, 1500, 1549.875, 1, 6)));
  QVERIFY(crossplot->Crossplot()->Setup().yAxis.Log());
  QCOMPARE(Named<QComboBox>(crossplot, "colorCurve")->currentText(), QStringLiteral("(none)"));

  // Its picture, never over the LAS file.
  QVERIFY(crossplot->Save(CChildWindow::SaveKind::Plot, fx.dir.filePath("nd.png")));
  QCOMPARE(QImage(fx.dir.filePath("nd.png")).size(), QSize(Canvas(*crossplot)->size()));
  QCOMPARE(crossplot->Save(CChildWindow::SaveKind::Plot, path).Reason(),
           std::string("The picture cannot be written over the LAS file."));
  QCOMPARE(ReadAll(path), kWell);

  // It goes with its LAS window.
  window.reset();
  QVERIFY(QTest::qWaitFor([&crossplot] { return crossplot.isNull(); }, 5000));
}

void CrossplotWindowTest::depthsAreLinkedWithTheLasWindow() {
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("well.las", kWell));
  QVERIFY(WaitLoaded(window.get()));
  CLasSession& session = window->Session();
  QPointer<CCrossplotWindow> crossplot = window->OpenCrossplot();
  crossplot->show();
  const QList<CRow> rows = Rows(kWell);
  // Depths chosen in the LAS window show in the crossplot...
  session.SetDepthRange(1510, 1520);
  QCOMPARE(crossplot->Top(), 1510.0);
  QCOMPARE(crossplot->Base(), 1520.0);
  crossplot->Wait();
  QCOMPARE(crossplot->Crossplot()->RowsInRange(), 81L);
  QCOMPARE(crossplot->Crossplot()->Readings(), long(Readings(rows, 1510, 1520, 2, 3)));
  // ... and those chosen in the crossplot in the LAS window.
  Named<QLineEdit>(crossplot, "topDepth")->setText("1530");
  Named<QLineEdit>(crossplot, "baseDepth")->setText("1540");
  QTest::mouseClick(Named<QPushButton>(crossplot, "showDepths"), Qt::LeftButton);
  QCOMPARE(session.Top(), 1530.0);
  QCOMPARE(session.Base(), 1540.0);
  QCOMPARE(Named<QLineEdit>(window.get(), "topDepth")->text(), QStringLiteral("1530.000"));
  crossplot->Wait();
  QCOMPARE(crossplot->Crossplot()->RowsInRange(), 81L);
  // Not following: each goes its own way.
  Named<QCheckBox>(crossplot, "followLog")->setChecked(false);
  session.SetDepthRange(1500, 1505);
  QCOMPARE(crossplot->Top(), 1530.0);
  crossplot->SetDepthRange(1540, 1549.875);
  QCOMPARE(session.Top(), 1500.0);
  crossplot->Wait();
  QCOMPARE(crossplot->Crossplot()->RowsInRange(), 80L);
  // Following again: the LAS window's depths.
  Named<QCheckBox>(crossplot, "followLog")->setChecked(true);
  QCOMPARE(crossplot->Top(), 1500.0);
  crossplot->Wait();
  delete crossplot.data();
}

void CrossplotWindowTest::manyReadingsMakeADensity() {
  CWindowFixture fx;
  QByteArray big = kWell.left(kWell.indexOf("~A")) + "~A\r\n";
  for (int row = 0; row < 40000; ++row)
    big += QByteArray::number(1500 + row * 0.125, 'f', 3) + " 60 " +
           QByteArray::number(0.1 + (row % 300) * 0.001) + " " +
           QByteArray::number(2.2 + (row % 200) * 0.002) + " 300 220 10 -40 3\r\n";
  auto window = fx.Open(fx.WriteFile("big.las", big));
  QVERIFY(WaitLoaded(window.get()));
  QPointer<CCrossplotWindow> crossplot = window->OpenCrossplot();
  crossplot->resize(600, 600);
  crossplot->show();
  crossplot->Wait();
  const CCrossplot* plot = crossplot->Crossplot();
  QCOMPARE(plot->Readings(), 40000L);
  QVERIFY(!plot->ShowsPoints());
  QVERIFY(plot->Points().empty());
  long binned = 0;
  for (int y = 0; y < CCrossplot::kBins; ++y)
    for (int x = 0; x < CCrossplot::kBins; ++x) binned += plot->Count(x, y);
  QCOMPARE(binned + plot->Outside(), 40000L);
  // The pointer on a bin: the ranges of both curves, its readings and their depths.
  const QString readout = crossplot->ReadoutAt(PointOf(*crossplot, 0.15, 2.3));
  QVERIFY2(readout.startsWith("NPHI 0.") && readout.contains(" readings at 15") && readout.endsWith(" M"),
           qPrintable(readout));
  delete crossplot.data();
}

QTEST_MAIN(CrossplotWindowTest)
#include "CrossplotWindowTest.moc"
