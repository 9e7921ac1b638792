// The LAS window as the user meets it: the panes (plot, header tables, the check's
// findings and the lines they point at), the view moved by wheel, keys, depth box and
// scroll bar, the readout under the pointer, the track panel and the plot settings,
// cancelling a long read and a long check, and a file that is no LAS file.
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include "PlotTestFiles.h"
#include "ReadGate.h"
#include "WindowFakes.h"
#include "lasfile/LasReportFormat.h"
#include "lasview/LasCheckPane.h"
#include "lasview/LasHeaderView.h"
#include "lasview/PlotCanvas.h"
#include "lasview/TrackPanel.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kWell = ReadAll(CORVANE_TEST_DATA "/plot_well.las");
const QByteArray kSample = ReadAll(CORVANE_TEST_DATA "/sample_2.0.las");

// The row of the findings table with this code.
int FindingRow(QTableWidget* table, const QString& code) {
  for (int row = 0; row < table->rowCount(); ++row)
    if (table->item(row, 1)->text() == code) return row;
  return -1;
}

// The tracks as DescribeLayout writes them.
QString Tracks(CLasWindow& window) {
  CLasSession& session = window.Session();
  auto lock = session.Data().Lock();
  return QString::fromStdString(DescribeLayout(session.Layout(), session.Data().Header()));
}

void Wheel(QWidget* widget, QPointF at, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
}

void MoveMouse(QWidget* widget, QPointF at) {
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

// The point of the canvas at a depth (in the middle of the tracks).
QPointF PointAt(CPlotCanvas& canvas, double depth) {
  double low = 0;
  double high = canvas.height();
  for (int i = 0; i < 60; ++i) {
    const double middle = (low + high) / 2;
    const auto at = canvas.DepthAt(QPointF(canvas.width() / 2.0, middle));
    if (at && *at < depth)
      low = middle;
    else
      high = middle;
  }
  return QPointF(canvas.width() / 2.0, (low + high) / 2);
}

// A long file of the example well's header: `rows` rows, every 1000th from row 7 on
// with a text among its readings when `texts`.
QByteArray LongWell(int rows, bool texts) {
  QByteArray big = kWell.left(kWell.indexOf("~A"));
  big += "~A\r\n";
  for (int row = 0; row < rows; ++row)
    big += QByteArray::number(1500 + row * 0.125, 'f', 3) + "  " +
           (texts && row % 1000 == 7 ? QByteArray("x") : QByteArray::number(50 + row % 37)) +
           "  0.2  2.5  300  220  " + QByteArray::number(1 + row % 11) + "  -40  3\r\n";
  return big;
}

}  // namespace

class LasWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void panesShowThePlotAndTheHeader();
  void viewMovesByWheelKeysDepthBoxAndScrollBar();
  void readoutShowsEveryCurveUnderThePointer();
  void trackPanelAndPlotSettings();
  void savingRefusesToWriteOverTheLasFile();
  void cancelKeepsWhatWasRead();
  void checkPaneListsTheFindingsAndShowsTheirLines();
  void checkRunsInTheBackgroundAndCancels();
  void fileThatIsNoLasFile();
};

void LasWindowTest::panesShowThePlotAndTheHeader() {
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("sample.las", kSample));
  QVERIFY(WaitLoaded(window.get()));
  auto* panes = Named<QTabWidget>(window.get(), "panes");
  QCOMPARE(panes->count(), 3);
  QCOMPARE(panes->tabText(0), QStringLiteral("Plot"));
  QCOMPARE(panes->tabText(1), QStringLiteral("Header"));
  QCOMPARE(panes->tabText(2), QStringLiteral("Check"));
  QCOMPARE(panes->widget(2), static_cast<QWidget*>(window->findChild<CLasCheckPane*>()));
  // A later pane goes beside them.
  window->AddPane(new QLabel("more"), "More");
  QCOMPARE(panes->tabText(3), QStringLiteral("More"));

  auto* header = window->findChild<CLasHeaderView*>();
  QStringList titles;
  for (int i = 0; i < header->count(); ++i) titles.append(header->tabText(i));
  QCOMPARE(titles, (QStringList{"~V Version", "~W Well", "~C Curves", "~P Parameters", "~O Other"}));
  auto cells = [header](int tab, int row) {
    auto* table = qobject_cast<QTableWidget*>(header->widget(tab));
    QStringList texts;
    for (int column = 0; table && column < table->columnCount(); ++column)
      texts.append(table->item(row, column)->text());
    return texts;
  };
  QCOMPARE(cells(0, 1), (QStringList{"WRAP", "", "NO", "ONE LINE PER DEPTH STEP"}));
  QCOMPARE(cells(1, 0), (QStringList{"STRT", "M", "1670.0000", "START DEPTH"}));
  QCOMPARE(cells(2, 2), (QStringList{"RHOB", "K/M3", "45 350 01 00", "3  BULK DENSITY"}));
  QCOMPARE(qobject_cast<QTableWidget*>(header->widget(2))->horizontalHeaderItem(2)->text(),
           QStringLiteral("API Code"));
  QCOMPARE(qobject_cast<QTableWidget*>(header->widget(2))->rowCount(), 8);
  QCOMPARE(cells(3, 1), (QStringList{"BHT", "DEGC", "35.5000", "BOTTOM HOLE TEMPERATURE"}));
  auto* other = qobject_cast<QPlainTextEdit*>(header->widget(4));
  QVERIFY(other && other->toPlainText().contains("between 625 metres and 615 metres to be invalid."));

  // The plot: the standard layout (no gamma ray: the depth track first); the view is the
  // whole file, depth labels from the shallowest to the deepest depth.
  QCOMPARE(Tracks(*window), QStringLiteral("D|SFLU+SFLA+ILM+ILD(log)|RHOB+NPHI{X}|DT"));
  QCOMPARE(window->Session().Top(), 1669.75);
  QCOMPARE(window->Session().Base(), 1670.0);
  QCOMPARE(Named<QLineEdit>(window.get(), "topDepth")->text(), QStringLiteral("1669.750"));
  QVERIFY(!Named<QProgressBar>(window.get(), "loadBar")->isVisible());
  QVERIFY(!window->findChild<CPlotCanvas*>()->grab().isNull());
}

void LasWindowTest::viewMovesByWheelKeysDepthBoxAndScrollBar() {
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("well.las", kWell));
  QVERIFY(WaitLoaded(window.get()));
  CLasSession& view = window->Session();
  auto* canvas = window->findChild<CPlotCanvas*>();
  auto* topBox = Named<QLineEdit>(window.get(), "topDepth");
  auto* baseBox = Named<QLineEdit>(window.get(), "baseDepth");
  auto* scroll = Named<QScrollBar>(window.get(), "depthScroll");
  QCOMPARE(view.Top(), 1500.0);
  QCOMPARE(view.Base(), 1549.875);
  QCOMPARE(scroll->maximum(), 0);  // nothing to scroll

  // The depth box.
  topBox->setText("1510");
  baseBox->setText("1520");
  QTest::mouseClick(Named<QPushButton>(window.get(), "showDepths"), Qt::LeftButton);
  QCOMPARE(view.Top(), 1510.0);
  QCOMPARE(view.Base(), 1520.0);
  QVERIFY(scroll->maximum() > 0);
  topBox->setText("abc");  // not a depth: the boxes show the view again
  QTest::keyClick(topBox, Qt::Key_Return);
  QCOMPARE(topBox->text(), QStringLiteral("1510.000"));

  // The wheel scrolls a tenth of the view a notch; Ctrl+wheel zooms around the pointer.
  Wheel(canvas, PointAt(*canvas, 1515), -2);
  QCOMPARE(view.Top(), 1512.0);
  QCOMPARE(view.Base(), 1522.0);
  const QPointF pointer = PointAt(*canvas, 1514.5);
  const double under = *canvas->DepthAt(pointer);
  Wheel(canvas, pointer, 1, Qt::ControlModifier);
  QVERIFY(std::fabs((view.Base() - view.Top()) - 8.0) < 1e-9);
  QVERIFY(std::fabs(*canvas->DepthAt(pointer) - under) < 1e-6);
  // No closer than a few rows, no further than the file, never beyond its ends.
  for (int i = 0; i < 40; ++i) Wheel(canvas, pointer, 1, Qt::ControlModifier);
  QVERIFY(std::fabs((view.Base() - view.Top()) - CLasSession::kFewestRows * 0.125) < 1e-9);
  for (int i = 0; i < 40; ++i) Wheel(canvas, pointer, -1, Qt::ControlModifier);
  QCOMPARE(view.Top(), 1500.0);
  QCOMPARE(view.Base(), 1549.875);
  view.SetDepthRange(1540, 1545);
  QCOMPARE(topBox->text(), QStringLiteral("1540.000"));  // the boxes follow the view
  for (int i = 0; i < 20; ++i) Wheel(canvas, PointAt(*canvas, 1541), -3);
  QCOMPARE(view.Base(), 1549.875);

  // Keys and the scroll bar.
  canvas->setFocus();
  QTest::keyClick(canvas, Qt::Key_PageUp);
  QVERIFY(std::fabs(view.Top() - (1544.875 - 4.5)) < 1e-9);
  scroll->setValue(0);
  QCOMPARE(view.Top(), 1500.0);
  QVERIFY(std::fabs(view.Base() - 1505.0) < 1e-9);
  QTest::mouseClick(Named<QPushButton>(window.get(), "wholeLog"), Qt::LeftButton);
  QCOMPARE(view.Base(), 1549.875);
  QVERIFY(view.FollowsWhole());
}

void LasWindowTest::readoutShowsEveryCurveUnderThePointer() {
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("well.las", kWell));
  QVERIFY(WaitLoaded(window.get()));
  auto* canvas = window->findChild<CPlotCanvas*>();
  QSignalSpy readout(window.get(), &CLasWindow::ReadoutChanged);
  window->Session().SetDepthRange(1500, 1510);
  // The row of 1502.000 (the density still null there), and of 1508.125.
  MoveMouse(canvas, PointAt(*canvas, 1502.01));
  QCOMPARE(readout.last().at(0).toString(),
           QStringLiteral(
               "DEPT 1502 M   GR 81.91 GAPI   NPHI 0.1938 V/V   RHOB -   DT 268.77 US/M   CALI 223.73 MM   "
               "ILD 12.4421 OHMM   SP -39.22 MV   PEF -"));
  MoveMouse(canvas, PointAt(*canvas, 1508.1));
  QVERIFY(readout.last().at(0).toString().startsWith("DEPT 1508.125 M   GR "));
  QVERIFY(!readout.last().at(0).toString().contains(" - "));
  // Over the headers, and out of the window: nothing.
  MoveMouse(canvas, QPointF(canvas->width() / 2.0, 3));
  QVERIFY(readout.last().at(0).toString().isEmpty());
  MoveMouse(canvas, PointAt(*canvas, 1505));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(canvas, &leave);
  QVERIFY(readout.last().at(0).toString().isEmpty());
}

void LasWindowTest::trackPanelAndPlotSettings() {
  CWindowFixture fx;
  const QString path = fx.WriteFile("well.las", kWell);
  auto window = fx.Open(path);
  QVERIFY(WaitLoaded(window.get()));
  auto* panel = window->findChild<CTrackPanel*>();
  auto* tree = Named<QTreeWidget>(panel, "tracks");
  auto button = [panel](const char* name) { return Named<QPushButton>(panel, name); };
  const QString standard = "GR+CALI+SP{G}|D|ILD(log)|NPHI+RHOB{X}|DT|PEF";
  QCOMPARE(Tracks(*window), standard);
  QCOMPARE(tree->topLevelItemCount(), 6);
  QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Depth track"));
  QCOMPARE(tree->topLevelItem(2)->text(0), QStringLiteral("Track 2 (log)"));
  QCOMPARE(tree->topLevelItem(3)->child(0)->text(0), QStringLiteral("NPHI (V/V)"));

  // DT joins the neutron-density track and leaves it again; that track moves left of
  // the resistivities, the depth track to the front; ILD linear; GR's ends typed; the
  // crossover off; a width; a track hidden.
  panel->Select(3, 0);
  QTest::mouseClick(button("joinTrack"), Qt::LeftButton);
  QCOMPARE(Tracks(*window), QStringLiteral("GR+CALI+SP{G}|D|ILD(log)|NPHI+RHOB+DT{X}|PEF"));
  QCOMPARE(panel->SelectedTrack(), 2);
  QCOMPARE(panel->SelectedCurve(), 2);
  QCOMPARE(window->Session().Scales()[2].size(), std::size_t(3));
  QTest::mouseClick(button("ownTrack"), Qt::LeftButton);
  QCOMPARE(Tracks(*window), standard);
  panel->Select(2, -1);
  QTest::mouseClick(button("moveUp"), Qt::LeftButton);
  QCOMPARE(Tracks(*window), QStringLiteral("GR+CALI+SP{G}|D|NPHI+RHOB{X}|ILD(log)|DT|PEF"));
  QCOMPARE(panel->SelectedTrack(), 1);
  panel->Select(CTrackPanel::kDepthTrack, -1);
  QTest::mouseClick(button("moveUp"), Qt::LeftButton);
  QCOMPARE(Tracks(*window), QStringLiteral("D|GR+CALI+SP{G}|NPHI+RHOB{X}|ILD(log)|DT|PEF"));
  QVERIFY(!button("moveUp")->isEnabled());
  QCOMPARE(panel->SelectedTrack(), int(CTrackPanel::kDepthTrack));
  panel->Select(2, 0);
  Named<QCheckBox>(panel, "logScale")->click();
  QCOMPARE(Tracks(*window), QStringLiteral("D|GR+CALI+SP{G}|NPHI+RHOB{X}|ILD|DT|PEF"));
  panel->Select(0, 0);
  auto* left = Named<QLineEdit>(panel, "leftEnd");
  auto* right = Named<QLineEdit>(panel, "rightEnd");
  QCOMPARE(left->placeholderText(), QStringLiteral("0"));  // proposed: the standard ends
  QCOMPARE(right->placeholderText(), QStringLiteral("150"));
  left->setText("10");
  emit left->editingFinished();
  right->setText("200");
  emit right->editingFinished();
  QCOMPARE(window->Session().Scales()[0][0].Left(), 10.0);
  QCOMPARE(window->Session().Scales()[0][0].Right(), 200.0);
  panel->Select(1, -1);
  auto* crossover = Named<QCheckBox>(panel, "fill0");
  QVERIFY(crossover && crossover->isChecked() && crossover->text().startsWith("Crossover fill"));
  crossover->click();
  Named<QSpinBox>(panel, "trackWidth")->setValue(120);
  QCOMPARE(Tracks(*window), QStringLiteral("D|GR+CALI+SP{G}|NPHI+RHOB{x}[120]|ILD|DT|PEF"));
  tree->topLevelItem(5)->setCheckState(0, Qt::Unchecked);
  const QString arranged = "D|GR+CALI+SP{G}|NPHI+RHOB{x}[120]|ILD|DT|-PEF";
  QCOMPARE(Tracks(*window), arranged);

  // Saved beside the file, the tracks come back when it opens again.
  QTest::mouseClick(button("saveSettings"), Qt::LeftButton);
  QVERIFY(QFile::exists(fx.dir.filePath("well.plot.json")));
  QCOMPARE(ReadAll(path), kWell);
  // Saved as a template (".plot.json" added), it serves a file with the same curves.
  fx.dialogs.saveAnswers = {QString()};  // cancelled: nothing
  QTest::mouseClick(button("saveTemplate"), Qt::LeftButton);
  fx.dialogs.saveAnswers = {fx.TemplateDir() + "/porosity first"};
  QTest::mouseClick(button("saveTemplate"), Qt::LeftButton);
  QVERIFY(fx.dialogs.calls.last().startsWith("save:Save Plot Template|Plot Settings (*.plot.json)|" +
                                             fx.TemplateDir() + "/well.plot.json|"));
  QVERIFY(QFile::exists(fx.TemplateDir() + "/porosity first.plot.json"));
  QVERIFY(fx.dialogs.calls.filter("error:").isEmpty());
  QDir(fx.dir.path()).mkdir("elsewhere");
  auto other = fx.Open(fx.WriteFile("elsewhere/other.las", kWell));
  QVERIFY(WaitLoaded(other.get()));
  QCOMPARE(other->SettingsSource(), fx.TemplateDir() + "/porosity first.plot.json");
  QCOMPARE(Tracks(*other), arranged);
  other.reset();
  window.reset();

  window = fx.Open(path);
  QVERIFY(WaitLoaded(window.get()));
  QCOMPARE(window->SettingsSource(), fx.dir.filePath("well.plot.json"));
  QCOMPARE(Tracks(*window), arranged);
  QCOMPARE(window->Session().Scales()[0][0].Right(), 200.0);
  QTest::mouseClick(Named<QPushButton>(window.get(), "defaultTracks"), Qt::LeftButton);
  QCOMPARE(Tracks(*window), standard);
  QCOMPARE(Named<QTreeWidget>(window.get(), "tracks")->topLevelItemCount(), 6);
}

void LasWindowTest::savingRefusesToWriteOverTheLasFile() {
  // A picture or a template named like the LAS file (by any name) is refused with its
  // reason; the LAS file stays as it was.
  CWindowFixture fx;
  const QString path = fx.WriteFile("well.las", kWell);
  QVERIFY(QFile::link(path, fx.dir.filePath("link.png")));
  QVERIFY(QFile::link(path, fx.dir.filePath("link.plot.json")));
  auto window = fx.Open(path);
  QVERIFY(WaitLoaded(window.get()));
  const std::string picture = "The picture cannot be written over the LAS file.";
  const std::string settings = "The settings cannot be written over the LAS file.";
  QCOMPARE(window->SavePlot(path).Reason(), picture);
  QCOMPARE(window->SavePlot(fx.dir.filePath("link.png")).Reason(), picture);
  QCOMPARE(window->SaveTemplate(fx.dir.filePath("link.json")).Reason(), settings);  // ".plot.json" added
  QCOMPARE(ReadAll(path), kWell);
  QVERIFY(window->SavePlot(fx.dir.filePath("plot.png")));
  QVERIFY(!QImage(fx.dir.filePath("plot.png")).isNull());
}

void LasWindowTest::cancelKeepsWhatWasRead() {
  // The reading waits at the gate after its first block; Cancel, then the gate opens:
  // the rows read so far are shown.
  CWindowFixture fx;
  const QString path = fx.WriteFile("big.las", LongWell(400000, false));
  CReadGate gate("big.las", 1);
  auto window = fx.Open(path);
  QVERIFY(window);
  QVERIFY(gate.WaitUntilHeld(1));
  auto* cancel = Named<QPushButton>(window.get(), "loadCancel");
  QVERIFY(cancel->isVisible());
  QTest::mouseClick(cancel, Qt::LeftButton);
  gate.Open();
  QVERIFY(WaitLoaded(window.get()));
  {
    auto lock = window->Session().Data().Lock();
    QCOMPARE(window->Session().Data().State(), LoadState::Cancelled);
    QVERIFY(window->Session().Data().Rows() > 0 && window->Session().Data().Rows() < 400000);
  }
  QVERIFY(!Named<QProgressBar>(window.get(), "loadBar")->isVisible());
  QVERIFY(!cancel->isVisible());
  QCOMPARE(Named<QLabel>(window.get(), "loadText")->text(),
           QStringLiteral("Reading cancelled: the rows read so far are shown."));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void LasWindowTest::checkPaneListsTheFindingsAndShowsTheirLines() {
  CWindowFixture fx;
  // The example well with a line without its dot (line 12), a text among the readings
  // (line 132, row 101 at 1512.5 m) and an exponent (line 300, row 269 at 1533.5 m).
  QList<QByteArray> lines = kWell.split('\n');
  lines[11].replace(" DATE.", " DATE ");
  lines[131].replace("93.8400", "abc.8400");
  lines[299].replace("299.9000", "1.5E+02 ");
  const QByteArray text = lines.join('\n');
  QVERIFY(text.contains("abc.8400") && text.contains("1.5E+02 "));
  auto window = fx.Open(fx.WriteFile("well.las", text));
  QVERIFY(WaitLoaded(window.get()));
  QVERIFY(WaitChecked(window.get()));
  auto* pane = window->findChild<CLasCheckPane*>();
  QCOMPARE(Named<QLabel>(pane, "checkCounts")->text(), QStringLiteral("LAS check: 4 errors, 0 warnings"));
  QVERIFY(Named<QLabel>(pane, "checkSummary")
              ->text()
              .startsWith("LAS 2.00, WRAP NO; sections ~V ~W ~C ~A; 9 curves; 400 rows"));
  auto* table = Named<QTableWidget>(pane, "findings");
  auto* lineLabel = Named<QLabel>(pane, "findingLine");
  auto* lineView = Named<QPlainTextEdit>(pane, "findingLines");
  QCOMPARE(table->rowCount(), 4);
  QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Standard"));
  Named<QTabWidget>(window.get(), "panes")->setCurrentWidget(pane);

  struct CCase {
    const char* code;
    int line;
    const char* cells;  // severity|line|standard|text
    double depth;       // where the plot moves; NaN: it stays
    const char* note;
  };
  const CCase cases[] = {
      {"W_ITEM_MISSING", 4, "Error|4|5.4|DATE", NAN, ""},
      {"VALUE_NOT_NUMBER", 132, "Error|132|3.0|abc.8400", 1512.5, "; row 101 of the plot, at 1512.5 M"},
      {"DOT_MISSING", 12, "Error|12|5.2| DATE                        14-Jun-2019: LOG DATE", NAN, ""},
      {"VALUE_EXPONENT", 300, "Error|300|3.0|1.5E+02", 1533.5, "; row 269 of the plot, at 1533.5 M"},
  };
  CLasSession& session = window->Session();
  for (const CCase& c : cases) {
    const int row = FindingRow(table, c.code);
    QVERIFY2(row >= 0, c.code);
    QCOMPARE((QStringList{table->item(row, 0)->text(), table->item(row, 2)->text(),
                          table->item(row, 4)->text(), table->item(row, 5)->text()})
                 .join('|'),
             QString::fromLatin1(c.cells));
    const double top = session.Top();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(row, 3)).center());
    QCOMPARE(table->currentRow(), row);
    // The line amid its neighbours, selected; the plot centred on its row.
    const QString line = QString::fromLatin1(PrintableText(lines[c.line - 1].chopped(1).toStdString()));
    QCOMPARE(lineView->textCursor().selectedText(), line);
    QVERIFY(lineView->toPlainText().contains(QStringLiteral("%1  ").arg(c.line - 1)));
    QCOMPARE(lineLabel->text(), QStringLiteral("Line %1 of well.las").arg(c.line) + c.note);
    if (std::isnan(c.depth))
      QCOMPARE(session.Top(), top);
    else
      QVERIFY(std::fabs((session.Top() + session.Base()) / 2 - c.depth) < 1e-9);
  }
  // Enter on a finding shows its line again.
  pane->ShowLine(1);
  table->setFocus();
  QTest::keyClick(table, Qt::Key_Return);
  QVERIFY(lineLabel->text().startsWith("Line 300 of"));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void LasWindowTest::checkRunsInTheBackgroundAndCancels() {
  CWindowFixture fx;
  const QString path = fx.WriteFile("big.las", LongWell(1000000, true));
  // Opening the pane starts the check before the plot has read the file; both wait at
  // the gate after their first block. Cancel keeps the findings so far, Check Again
  // checks the whole file.
  CReadGate gate("big.las", 1);
  auto window = fx.Open(path);
  QVERIFY(window);
  auto* pane = window->findChild<CLasCheckPane*>();
  const CLasCheckJob& check = window->Session().Check();
  auto* cancel = Named<QPushButton>(pane, "checkCancel");
  auto* again = Named<QPushButton>(pane, "checkAgain");
  QVERIFY(!check.Started());
  Named<QTabWidget>(window.get(), "panes")->setCurrentWidget(pane);
  QVERIFY(check.Running());
  QVERIFY(gate.WaitUntilHeld(2));
  QVERIFY(cancel->isVisible() && !again->isVisible());
  QTest::mouseClick(cancel, Qt::LeftButton);
  gate.Open();
  QVERIFY(WaitChecked(window.get()));
  QVERIFY(check.Report()->cancelled);
  QVERIFY(check.Report()->summary.rows < 1000000);
  QCOMPARE(Named<QLabel>(pane, "checkText")->text(),
           QStringLiteral("Check cancelled: the findings of the lines checked so far are shown."));
  QVERIFY(!cancel->isVisible() && again->isVisible());
  QTest::mouseClick(again, Qt::LeftButton);
  QVERIFY(check.Running());
  QVERIFY(WaitChecked(window.get()));
  QVERIFY(!check.Report()->cancelled && check.Report()->complete);
  QCOMPARE(check.Report()->summary.rows, std::uint64_t(1000000));
  QCOMPARE(check.Report()->Count(LasCode::ValueNotNumber), std::size_t(1000));
  QVERIFY(Named<QLabel>(pane, "checkSummary")->text().contains("980 more VALUE_NOT_NUMBER"));
  QVERIFY(WaitLoaded(window.get()));
  // The plot has read the file by now: the last listed text's row is found among its rows.
  pane->ShowFinding(FindingRow(Named<QTableWidget>(pane, "findings"), "VALUE_NOT_NUMBER") + 19);
  QVERIFY(Named<QLabel>(pane, "findingLine")->text().endsWith("row 19008 of the plot, at 3875.875 M"));

  // A finding about the file as a whole has no line to show.
  CLasSession missing(fx.dir.filePath("missing.las").toStdString(), {});
  CLasCheckPane missingPane(missing);
  missing.StartCheck();
  missing.Wait();
  QCOMPARE(Named<QTableWidget>(&missingPane, "findings")->item(0, 2)->text(), QStringLiteral("file"));
  missingPane.ShowFinding(0);
  QCOMPARE(Named<QLabel>(&missingPane, "findingLine")->text(),
           QStringLiteral("The finding is about the file as a whole."));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void LasWindowTest::fileThatIsNoLasFile() {
  // Told once the reading finds out, with the reason; the window stays with what it has.
  CWindowFixture fx;
  auto window = fx.Open(fx.WriteFile("notes.las", "just some notes\n"));
  QVERIFY(window);
  QSignalSpy failed(window.get(), &CLasWindow::LoadFailed);
  QVERIFY(WaitLoaded(window.get()));
  QCOMPARE(failed.size(), 1);
  QVERIFY(failed.first().at(0).toString().contains("names no curves"));
  QCOMPARE(Named<QLabel>(window.get(), "loadText")->text(), failed.first().at(0).toString());
}

QTEST_MAIN(LasWindowTest)
#include "LasWindowTest.moc"
