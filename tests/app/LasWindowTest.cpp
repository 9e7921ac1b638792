// The LAS window as the user meets it: File > Open LAS File and its refusals, the
// panes (plot, header tables, the check's findings and the lines they point at), the
// view moved by wheel, keys, depth box and scroll bar, the readout under the pointer,
// the track panel and the plot settings, print, PDF and Save Plot As, dropped files and
// the recent list, cancelling a long read and a long check, Plot LAS on Step 4, and the
// window's help.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include "AppFakes.h"
#include "app/HelpTopics.h"
#include "app/LasCheckPane.h"
#include "app/LasHeaderView.h"
#include "app/LasWindow.h"
#include "app/MainFrame.h"
#include "app/PlotCanvas.h"
#include "app/RecentFileList.h"
#include "app/TrackPanel.h"
#include "lasfile/LasReportFormat.h"
#include "plot/PlotSettings.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step4Page.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kWell = ReadAll(CORVANE_TEST_DATA "/plot_well.las");
const QByteArray kSample = ReadAll(CORVANE_TEST_DATA "/sample_2.0.las");

CLasWindow* WaitLoaded(CLasWindow* window) {
  if (!window) return nullptr;
  if (!QTest::qWaitFor([window] { return !window->Loading(); }, 20000)) return nullptr;
  window->Poll();
  return window;
}

// The pane's check ended (started when the plot has read the file).
CLasCheckPane* WaitChecked(CLasWindow* window) {
  if (!window || !QTest::qWaitFor([window] { return window->CheckPane()->Report() != nullptr; }, 20000))
    return nullptr;
  return window->CheckPane();
}

// The row of the findings table with this code.
int FindingRow(QTableWidget* table, const QString& code) {
  for (int row = 0; row < table->rowCount(); ++row)
    if (table->item(row, 1)->text() == code) return row;
  return -1;
}

// The tracks as "GR|NPHI+RHOB|-ILD(log)" ("-": hidden).
QString Tracks(CLasWindow& window) {
  QStringList tracks;
  auto lock = window.Data().Lock();
  for (const CTrack& track : window.Layout().tracks) {
    QStringList curves;
    for (const CTrackCurve& curve : track.curves)
      curves.append(QString::fromStdString(window.Data().Header().curves[curve.curve].mnemonic));
    tracks.append((track.hidden ? "-" : "") + curves.join('+') + (track.log ? "(log)" : ""));
  }
  return tracks.join('|');
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

}  // namespace

class LasWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void openLasFileCommand();
  void panesShowThePlotAndTheHeader();
  void viewMovesByWheelKeysDepthBoxAndScrollBar();
  void readoutShowsEveryCurveUnderThePointer();
  void trackPanelAndPlotSettings();
  void printPdfAndSavePlotAs();
  void droppedFilesAndTheRecentList();
  void cancelKeepsWhatWasRead();
  void checkPaneListsTheFindingsAndShowsTheirLines();
  void checkRunsInTheBackgroundAndCancels();
  void plotLasOnStep4OpensTheWindowAfterTheWizard();
  void helpAndToolbarOfTheLasWindow();
};

void LasWindowTest::openLasFileCommand() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  // Cancelled: nothing.
  frame->Action(Command::FileOpenLas)->trigger();
  QCOMPARE(fx.dialogs.calls, QStringList{"open:Open LAS File|LAS Files (*.las);;All Files (*)|*.las|las"});
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 0);

  const QString path = fx.WriteFile("plot_well.las", kWell);
  fx.dialogs.openAnswers = {path};
  frame->Action(Command::FileOpenLas)->trigger();
  CLasWindow* window = WaitLoaded(frame->ActiveLasWindow());
  QVERIFY(window);
  QCOMPARE(frame->MdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("plot_well.las"));
  QCOMPARE(frame->windowTitle(), QStringLiteral("Corvane 2018"));
  QCOMPARE(frame->MenuSet(), 3);
  QVERIFY(frame->Action(Command::FileSavePlotAs)->isEnabled());
  QVERIFY(!frame->Action(Command::FileSave)->isEnabled());
  QVERIFY(frame->Action(Command::FilePrint)->isEnabled());
  QCOMPARE(fx.app->RecentFiles().Entries(), QStringList{path});
  // The same file again: its window comes to the front.
  QCOMPARE(fx.app->OpenLasFile(path), window);
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);

  // A file that is not there, and one that is no LAS file: told, with the reason below.
  fx.dialogs.calls.clear();
  QVERIFY(!fx.app->OpenLasFile(fx.dir.filePath("missing.las")));
  QCOMPARE(fx.dialogs.calls, QStringList{"error:Failed to open LAS file."});
  QVERIFY(fx.dialogs.informatives.last().contains("missing.las"));
  CLasWindow* bad = fx.app->OpenLasFile(fx.WriteFile("notes.las", "just some notes\n"));
  QVERIFY(bad);
  QTRY_COMPARE(fx.dialogs.calls.size(), 2);
  QCOMPARE(fx.dialogs.calls.last(), QStringLiteral("error:Failed to open LAS file."));
  QVERIFY(fx.dialogs.informatives.last().contains("names no curves"));

  // Closing the windows brings the short menus back.
  frame->Action(Command::FileClose)->trigger();
  frame->MdiArea()->closeAllSubWindows();
  QTRY_COMPARE(frame->MenuSet(), 2);
  QVERIFY(!frame->Action(Command::FileSavePlotAs)->isEnabled());
}

void LasWindowTest::panesShowThePlotAndTheHeader() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("sample.las", kSample)));
  QVERIFY(window);
  QTabWidget* panes = window->Panes();
  QCOMPARE(panes->count(), 3);
  QCOMPARE(panes->tabText(0), QStringLiteral("Plot"));
  QCOMPARE(panes->tabText(1), QStringLiteral("Header"));
  QCOMPARE(panes->tabText(2), QStringLiteral("Check"));
  QCOMPARE(panes->widget(2), static_cast<QWidget*>(window->CheckPane()));
  // A later pane goes beside them.
  window->AddPane(new QLabel("more"), "More");
  QCOMPARE(panes->tabText(3), QStringLiteral("More"));

  CLasHeaderView* header = window->HeaderView();
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

  // The plot: a track for each curve after the depth, resistivities on log scales; the
  // view is the whole file, depth labels from the shallowest to the deepest depth.
  QCOMPARE(Tracks(*window), QStringLiteral("DT|RHOB|NPHI|SFLU(log)|SFLA(log)|ILM(log)|ILD(log)"));
  QCOMPARE(window->Canvas()->Top(), 1669.75);
  QCOMPARE(window->Canvas()->Base(), 1670.0);
  QCOMPARE(window->TopBox()->text(), QStringLiteral("1669.750"));
  QVERIFY(!window->ProgressBar()->isVisible());
  QVERIFY(!window->Canvas()->grab().isNull());
}

void LasWindowTest::viewMovesByWheelKeysDepthBoxAndScrollBar() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("well.las", kWell)));
  QVERIFY(window);
  CPlotCanvas* canvas = window->Canvas();
  QCOMPARE(canvas->Top(), 1500.0);
  QCOMPARE(canvas->Base(), 1549.875);
  QCOMPARE(window->DepthScrollBar()->maximum(), 0);  // nothing to scroll

  // The depth box.
  window->TopBox()->setText("1510");
  window->BaseBox()->setText("1520");
  QTest::mouseClick(window->ShowButton(), Qt::LeftButton);
  QCOMPARE(canvas->Top(), 1510.0);
  QCOMPARE(canvas->Base(), 1520.0);
  QVERIFY(window->DepthScrollBar()->maximum() > 0);
  window->TopBox()->setText("abc");  // not a depth: the boxes show the view again
  QTest::keyClick(window->TopBox(), Qt::Key_Return);
  QCOMPARE(window->TopBox()->text(), QStringLiteral("1510.000"));

  // The wheel scrolls a tenth of the view a notch; Ctrl+wheel zooms around the pointer.
  Wheel(canvas, PointAt(*canvas, 1515), -2);
  QCOMPARE(canvas->Top(), 1512.0);
  QCOMPARE(canvas->Base(), 1522.0);
  const QPointF pointer = PointAt(*canvas, 1514.5);
  const double under = *canvas->DepthAt(pointer);
  Wheel(canvas, pointer, 1, Qt::ControlModifier);
  QVERIFY(std::fabs((canvas->Base() - canvas->Top()) - 8.0) < 1e-9);
  QVERIFY(std::fabs(*canvas->DepthAt(pointer) - under) < 1e-6);
  // No closer than a few rows, no further than the file, never beyond its ends.
  for (int i = 0; i < 40; ++i) Wheel(canvas, pointer, 1, Qt::ControlModifier);
  QVERIFY(std::fabs((canvas->Base() - canvas->Top()) - CPlotCanvas::kFewestRows * 0.125) < 1e-9);
  for (int i = 0; i < 40; ++i) Wheel(canvas, pointer, -1, Qt::ControlModifier);
  QCOMPARE(canvas->Top(), 1500.0);
  QCOMPARE(canvas->Base(), 1549.875);
  canvas->SetDepthRange(1540, 1545);
  for (int i = 0; i < 20; ++i) Wheel(canvas, PointAt(*canvas, 1541), -3);
  QCOMPARE(canvas->Base(), 1549.875);

  // Keys and the scroll bar.
  canvas->setFocus();
  QTest::keyClick(canvas, Qt::Key_PageUp);
  QVERIFY(std::fabs(canvas->Top() - (1544.875 - 4.5)) < 1e-9);
  window->DepthScrollBar()->setValue(0);
  QCOMPARE(canvas->Top(), 1500.0);
  QVERIFY(std::fabs(canvas->Base() - 1505.0) < 1e-9);
  QTest::mouseClick(window->WholeButton(), Qt::LeftButton);
  QCOMPARE(canvas->Base(), 1549.875);
  QVERIFY(canvas->FollowsWhole());
}

void LasWindowTest::readoutShowsEveryCurveUnderThePointer() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("well.las", kWell)));
  QVERIFY(window);
  CPlotCanvas* canvas = window->Canvas();
  canvas->SetDepthRange(1500, 1510);
  // The row of 1502.000 (the density still null there), and of 1508.125.
  MoveMouse(canvas, PointAt(*canvas, 1502.01));
  QCOMPARE(frame->statusBar()->currentMessage(),
           QStringLiteral(
               "DEPT 1502 M   GR 81.91 GAPI   NPHI 0.1938 V/V   RHOB -   DT 268.77 US/M   CALI 223.73 MM   "
               "ILD 12.4421 OHMM   SP -39.22 MV   PEF -"));
  MoveMouse(canvas, PointAt(*canvas, 1508.1));
  QVERIFY(frame->statusBar()->currentMessage().startsWith("DEPT 1508.125 M   GR "));
  QVERIFY(!frame->statusBar()->currentMessage().contains(" - "));
  // Over the headers, and out of the window: nothing.
  MoveMouse(canvas, QPointF(canvas->width() / 2.0, 3));
  QVERIFY(frame->statusBar()->currentMessage().isEmpty());
  MoveMouse(canvas, PointAt(*canvas, 1505));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(canvas, &leave);
  QVERIFY(frame->statusBar()->currentMessage().isEmpty());
}

void LasWindowTest::trackPanelAndPlotSettings() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  const QString path = fx.WriteFile("well.las", kWell);
  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(path));
  QVERIFY(window);
  CTrackPanel* panel = window->TrackPanel();
  QCOMPARE(Tracks(*window), QStringLiteral("GR|NPHI|RHOB|DT|CALI|ILD(log)|SP|PEF"));
  QCOMPARE(panel->Tree()->topLevelItemCount(), 8);
  QCOMPARE(panel->Tree()->topLevelItem(5)->text(0), QStringLiteral("Track 6 (log)"));
  QCOMPARE(panel->Tree()->topLevelItem(1)->child(0)->text(0), QStringLiteral("NPHI (V/V)"));

  // RHOB joins the NPHI track; back again; NPHI to the front; ILD linear; GR's ends typed.
  panel->Select(2, 0);
  QTest::mouseClick(panel->JoinButton(), Qt::LeftButton);
  QCOMPARE(Tracks(*window), QStringLiteral("GR|NPHI+RHOB|DT|CALI|ILD(log)|SP|PEF"));
  QCOMPARE(panel->SelectedTrack(), 1);
  QCOMPARE(panel->SelectedCurve(), 1);
  QCOMPARE(window->Scales()[1].size(), std::size_t(2));
  QTest::mouseClick(panel->SplitButton(), Qt::LeftButton);
  QCOMPARE(Tracks(*window), QStringLiteral("GR|NPHI|RHOB|DT|CALI|ILD(log)|SP|PEF"));
  panel->Select(1, -1);
  QTest::mouseClick(panel->MoveUpButton(), Qt::LeftButton);
  QVERIFY(!panel->MoveUpButton()->isEnabled());
  QCOMPARE(Tracks(*window), QStringLiteral("NPHI|GR|RHOB|DT|CALI|ILD(log)|SP|PEF"));
  panel->Select(5, 0);
  panel->LogBox()->click();
  QCOMPARE(Tracks(*window), QStringLiteral("NPHI|GR|RHOB|DT|CALI|ILD|SP|PEF"));
  panel->Select(1, 0);
  QVERIFY(!panel->LeftEndBox()->placeholderText().isEmpty());  // the end from the data
  panel->LeftEndBox()->setText("0");
  emit panel->LeftEndBox()->editingFinished();
  panel->RightEndBox()->setText("150");
  emit panel->RightEndBox()->editingFinished();
  QCOMPARE(window->Scales()[1][0].Left(), 0.0);
  QCOMPARE(window->Scales()[1][0].Right(), 150.0);
  // Hidden with its check.
  panel->Tree()->topLevelItem(7)->setCheckState(0, Qt::Unchecked);
  QCOMPARE(Tracks(*window), QStringLiteral("NPHI|GR|RHOB|DT|CALI|ILD|SP|-PEF"));

  // Saved beside the file, the tracks come back when it opens again.
  QTest::mouseClick(panel->SaveButton(), Qt::LeftButton);
  QVERIFY(QFile::exists(fx.dir.filePath("well.plot.json")));
  QCOMPARE(ReadAll(path), kWell);
  // Saved as a template (".plot.json" added), it serves a file with the same curves.
  fx.dialogs.saveAnswers = {QString()};  // cancelled: nothing
  QTest::mouseClick(panel->SaveTemplateButton(), Qt::LeftButton);
  fx.dialogs.saveAnswers = {fx.app->PlotTemplateDir() + "/porosity first"};
  QTest::mouseClick(panel->SaveTemplateButton(), Qt::LeftButton);
  QVERIFY(fx.dialogs.calls.last().startsWith("save:Save Plot Template|Plot Settings (*.plot.json)|" +
                                             fx.app->PlotTemplateDir() + "/well.plot.json|"));
  QVERIFY(QFile::exists(fx.app->PlotTemplateDir() + "/porosity first.plot.json"));
  QVERIFY(fx.dialogs.calls.filter("error:").isEmpty());
  QDir(fx.dir.path()).mkdir("elsewhere");
  CLasWindow* other = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("elsewhere/other.las", kWell)));
  QVERIFY(other);
  QCOMPARE(other->SettingsSource(), fx.app->PlotTemplateDir() + "/porosity first.plot.json");
  QCOMPARE(Tracks(*other), QStringLiteral("NPHI|GR|RHOB|DT|CALI|ILD|SP|-PEF"));
  other->parentWidget()->close();
  window->parentWidget()->close();
  QTRY_VERIFY(fx.app->MainFrame()->MdiArea()->subWindowList().isEmpty());

  window = WaitLoaded(fx.app->OpenLasFile(path));
  QVERIFY(window);
  QCOMPARE(window->SettingsSource(), fx.dir.filePath("well.plot.json"));
  QCOMPARE(Tracks(*window), QStringLiteral("NPHI|GR|RHOB|DT|CALI|ILD|SP|-PEF"));
  QCOMPARE(window->Scales()[1][0].Right(), 150.0);
  QTest::mouseClick(window->TrackPanel()->DefaultButton(), Qt::LeftButton);
  QCOMPARE(Tracks(*window), QStringLiteral("GR|NPHI|RHOB|DT|CALI|ILD(log)|SP|PEF"));
  QCOMPARE(window->TrackPanel()->Tree()->topLevelItemCount(), 8);
}

void LasWindowTest::printPdfAndSavePlotAs() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  const QString path = fx.WriteFile("well.las", kWell);
  QVERIFY(WaitLoaded(fx.app->OpenLasFile(path)));
  // Print into a PDF file (as the print dialog's "Print to File" does).
  fx.dialogs.printToFile = fx.dir.filePath("print.pdf");
  frame->Action(Command::FilePrint)->trigger();
  QCOMPARE(fx.dialogs.calls.last(), "print:" + QFileInfo(path).absoluteFilePath());
  QVERIFY(ReadAll(fx.dir.filePath("print.pdf")).startsWith("%PDF"));
  QVERIFY(ReadAll(fx.dir.filePath("print.pdf")).size() > 5000);
  // Never into the LAS file itself.
  fx.dialogs.printToFile = path;
  frame->Action(Command::FilePrint)->trigger();
  QCOMPARE(ReadAll(path), kWell);
  fx.dialogs.printToFile.clear();
  frame->Action(Command::FilePrintPreview)->trigger();
  QVERIFY(fx.dialogs.calls.last().startsWith("preview:"));

  // Save Plot As: PNG and SVG pictures (and PDF); not over the LAS file; cancel writes nothing.
  fx.dialogs.saveAnswers = {fx.dir.filePath("plot.png"), fx.dir.filePath("plot.svg"),
                            fx.dir.filePath("plot.pdf"), path, QString()};
  for (int i = 0; i < 5; ++i) frame->Action(Command::FileSavePlotAs)->trigger();
  QVERIFY(fx.dialogs.calls.contains(
      "save:Save Plot As|PNG Pictures (*.png);;SVG Pictures (*.svg);;PDF Files (*.pdf)|" +
      QFileInfo(path).absoluteDir().filePath("well.png") + "|png"));
  QVERIFY(!QImage(fx.dir.filePath("plot.png")).isNull());
  QVERIFY(ReadAll(fx.dir.filePath("plot.svg")).startsWith("<?xml"));
  QVERIFY(ReadAll(fx.dir.filePath("plot.pdf")).startsWith("%PDF"));
  QCOMPARE(fx.dialogs.calls.filter("error:").size(), 1);
  QCOMPARE(fx.dialogs.calls.filter("error:").first(), QStringLiteral("error:Failed to save the plot."));
  QCOMPARE(ReadAll(path), kWell);
}

void LasWindowTest::droppedFilesAndTheRecentList() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  const QString las = fx.WriteFile("dropped.LAS", kWell);
  const QString lah = fx.WriteFile("dropped.lah", "[File ID]\r\nID=Corvane\r\n");
  const QString txt = fx.WriteFile("dropped.txt", "x");
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(las), QUrl::fromLocalFile(lah), QUrl::fromLocalFile(txt)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &drop);
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 2);
  QCOMPARE(frame->FindLasWindow(las) != nullptr, true);
  QCOMPARE(fx.app->RecentFiles().Entries(), (QStringList{lah, QFileInfo(las).absoluteFilePath()}));
  frame->MdiArea()->closeAllSubWindows();
  QTRY_COMPARE(frame->MenuSet(), 2);
  // The recent list opens a LAS file in its window again.
  frame->RecentFileActions().at(1)->trigger();
  QVERIFY(frame->FindLasWindow(las));
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);
}

void LasWindowTest::cancelKeepsWhatWasRead() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  QByteArray big = kWell.left(kWell.indexOf("~A"));
  big += "~A\r\n";
  for (int row = 0; row < 400000; ++row)
    big += QByteArray::number(1500 + row * 0.125, 'f', 3) + "  " + QByteArray::number(50 + row % 37) +
           "  0.2  2.5  300  220  " + QByteArray::number(1 + row % 11) + "  -40  3\r\n";
  CLasWindow* window = fx.app->OpenLasFile(fx.WriteFile("big.las", big));
  QVERIFY(window);
  QVERIFY(window->CancelButton()->isVisible());
  QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
  QVERIFY(WaitLoaded(window));
  auto lock = window->Data().Lock();
  QCOMPARE(window->Data().State(), LoadState::Cancelled);
  QVERIFY(window->Data().Rows() > 0 && window->Data().Rows() < 400000);
  QVERIFY(!window->ProgressBar()->isVisible());
  QVERIFY(!window->CancelButton()->isVisible());
  QCOMPARE(window->ProgressLabel()->text(),
           QStringLiteral("Reading cancelled: the rows read so far are shown."));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void LasWindowTest::checkPaneListsTheFindingsAndShowsTheirLines() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  // The example well with a line without its dot (line 12), a text among the readings
  // (line 132, row 101 at 1512.5 m) and an exponent (line 300, row 269 at 1533.5 m).
  QList<QByteArray> lines = kWell.split('\n');
  lines[11].replace(" DATE.", " DATE ");
  lines[131].replace("93.8400", "abc.8400");
  lines[299].replace("299.9000", "1.5E+02 ");
  const QByteArray text = lines.join('\n');
  QVERIFY(text.contains("abc.8400") && text.contains("1.5E+02 "));
  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("well.las", text)));
  CLasCheckPane* pane = WaitChecked(window);
  QVERIFY(pane);
  QCOMPARE(pane->CountsLabel()->text(), QStringLiteral("LAS check: 4 errors, 0 warnings"));
  QVERIFY(
      pane->SummaryLabel()->text().startsWith("LAS 2.00, WRAP NO; sections ~V ~W ~C ~A; 9 curves; 400 rows"));
  QTableWidget* table = pane->Table();
  QCOMPARE(table->rowCount(), 4);
  QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Standard"));
  window->Panes()->setCurrentWidget(pane);

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
  for (const CCase& c : cases) {
    const int row = FindingRow(table, c.code);
    QVERIFY2(row >= 0, c.code);
    QCOMPARE((QStringList{table->item(row, 0)->text(), table->item(row, 2)->text(),
                          table->item(row, 4)->text(), table->item(row, 5)->text()})
                 .join('|'),
             QString::fromLatin1(c.cells));
    const double top = window->Canvas()->Top();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(row, 3)).center());
    QCOMPARE(table->currentRow(), row);
    // The line amid its neighbours, selected; the plot centred on its row.
    const QString line = QString::fromLatin1(PrintableText(lines[c.line - 1].chopped(1).toStdString()));
    QCOMPARE(pane->LineView()->textCursor().selectedText(), line);
    QVERIFY(pane->LineView()->toPlainText().contains(QStringLiteral("%1  ").arg(c.line - 1)));
    QCOMPARE(pane->LineLabel()->text(), QStringLiteral("Line %1 of well.las").arg(c.line) + c.note);
    if (std::isnan(c.depth))
      QCOMPARE(window->Canvas()->Top(), top);
    else
      QVERIFY(std::fabs((window->Canvas()->Top() + window->Canvas()->Base()) / 2 - c.depth) < 1e-9);
  }
  // Enter on a finding shows its line again.
  pane->ShowLine(1);
  table->setFocus();
  QTest::keyClick(table, Qt::Key_Return);
  QVERIFY(pane->LineLabel()->text().startsWith("Line 300 of"));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void LasWindowTest::checkRunsInTheBackgroundAndCancels() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  QByteArray big = kWell.left(kWell.indexOf("~A"));
  big += "~A\r\n";
  for (int row = 0; row < 1000000; ++row)
    big += QByteArray::number(1500 + row * 0.125, 'f', 3) + " " + (row % 1000 == 7 ? "x" : "50") +
           " 0.2 2.5 300 220 3 -40 3\r\n";
  const QString path = fx.WriteFile("big.las", big);
  CLasWindow* window = fx.app->OpenLasFile(path);
  QVERIFY(window);
  // Opening the pane starts the check before the plot has read the file; Cancel keeps
  // the findings so far, Check Again checks the whole file.
  CLasCheckPane* pane = window->CheckPane();
  QVERIFY(!pane->Started());
  window->Panes()->setCurrentWidget(pane);
  QVERIFY(pane->Running());
  QVERIFY(pane->CancelButton()->isVisible() && !pane->AgainButton()->isVisible());
  QTest::mouseClick(pane->CancelButton(), Qt::LeftButton);
  QVERIFY(WaitChecked(window));
  QVERIFY(pane->Report()->cancelled);
  QVERIFY(pane->Report()->summary.rows < 1000000);
  QCOMPARE(pane->ProgressLabel()->text(),
           QStringLiteral("Check cancelled: the findings of the lines checked so far are shown."));
  QVERIFY(!pane->CancelButton()->isVisible() && pane->AgainButton()->isVisible());
  QTest::mouseClick(pane->AgainButton(), Qt::LeftButton);
  QVERIFY(QTest::qWaitFor([pane] { return !pane->Running(); }, 20000));
  pane->Poll();
  QVERIFY(!pane->Report()->cancelled && pane->Report()->complete);
  QCOMPARE(pane->Report()->summary.rows, std::uint64_t(1000000));
  QCOMPARE(pane->Report()->Count(LasCode::ValueNotNumber), std::size_t(1000));
  QVERIFY(pane->SummaryLabel()->text().contains("980 more VALUE_NOT_NUMBER"));
  QVERIFY(WaitLoaded(window));
  // The plot has read the file by now: the last listed text's row is found among its rows.
  pane->ShowFinding(FindingRow(pane->Table(), "VALUE_NOT_NUMBER") + 19);
  QVERIFY(pane->LineLabel()->text().endsWith("row 19008 of the plot, at 3875.875 M"));

  // A finding about the file as a whole has no line to show.
  CLasCheckPane missing(fx.dir.filePath("missing.las"));
  missing.Start();
  QVERIFY(QTest::qWaitFor([&missing] { return !missing.Running(); }, 20000));
  missing.Poll();
  QCOMPARE(missing.Table()->item(0, 2)->text(), QStringLiteral("file"));
  missing.ShowFinding(0);
  QCOMPARE(missing.LineLabel()->text(), QStringLiteral("The finding is about the file as a whole."));
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void LasWindowTest::plotLasOnStep4OpensTheWindowAfterTheWizard() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  const QString las = fx.WriteFile("created.las", kWell);
  for (const QString& named : {QString(), las}) {
    bool windowWhileWizard = true;
    bool closedByPlot = false;
    connect(fx.app.get(), &CCorvaneApp::WizardStarting, this, [&](QWidget* sheetWidget) {
      auto* sheet = static_cast<CCorvanePropSheet*>(sheetWidget);
      QTimer::singleShot(0, sheet, [&, sheet] {
        sheet->Step4().EnsureCreated();
        QPushButton* plot = sheet->Step4().PlotLasButton();
        QCOMPARE(plot->text(), QStringLiteral("Plot LAS"));
        sheet->Setup().lasFilePath = named.toStdString();
        // A LAS file named since the wizard opened is a change to discard.
        if (!named.isEmpty()) fx.wizardServices.answers = {CWizardServices::Answer::Yes};
        plot->click();
        windowWhileWizard = !frame->MdiArea()->subWindowList().isEmpty();
        closedByPlot = !sheet->isVisible();
        if (sheet->isVisible()) sheet->reject();
      });
    });
    frame->Action(Command::FileNew)->trigger();
    disconnect(fx.app.get(), &CCorvaneApp::WizardStarting, this, nullptr);
    QVERIFY(!windowWhileWizard);
    if (named.isEmpty()) {
      // No LAS file yet: told so, and the wizard stays.
      QVERIFY(!closedByPlot);
      QCOMPARE(fx.wizardServices.messages,
               QStringList{"There is no LAS file to plot yet: click Create LAS first."});
      QCOMPARE(frame->MdiArea()->subWindowList().size(), 0);
    } else {
      QVERIFY(closedByPlot);
      QCOMPARE(fx.wizardServices.messages.back(), QStringLiteral("Discard the changes to this setup?"));
      QVERIFY(frame->ActiveLasWindow() && frame->ActiveLasWindow()->IsSameFile(las));
    }
  }
}

void LasWindowTest::helpAndToolbarOfTheLasWindow() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  // The plot's toolbar beside the standard one: Open LAS File and Save Plot As, with
  // pictures, no tool tips; View Toolbar hides both.
  QToolBar* bar = frame->PlotToolBar();
  QCOMPARE(bar->actions(),
           (QList<QAction*>{frame->Action(Command::FileOpenLas), frame->Action(Command::FileSavePlotAs)}));
  for (QAction* action : bar->actions()) QVERIFY(!action->icon().isNull());
  QVERIFY(!bar->isMovable());
  frame->Action(Command::ViewToolbar)->trigger();
  QVERIFY(!bar->isVisible() && !frame->ToolBar()->isVisible());
  frame->Action(Command::ViewToolbar)->trigger();
  QVERIFY(bar->isVisible());
  QCOMPARE(CMainFrame::HelpContextOf(bar->widgetForAction(frame->Action(Command::FileOpenLas))),
           0x20000ul + kLasWindowHelpResource);

  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("well.las", kWell)));
  QVERIFY(window);
  // Context help on the window: its popup; F1 while it is active: its page.
  QCOMPARE(CMainFrame::HelpContextOf(window->Canvas()), 0x20000ul + kLasWindowHelpResource);
  frame->SetContextHelpFlag(true);
  fx.app->WinHelp(CMainFrame::HelpContextOf(window->Canvas()), HelpCommand::Context);
  frame->OnHelp();
  QCOMPARE(fx.help.shown, (QStringList{"popup:131192", "topic:::/las-window.html>CORVANE"}));
  // The shipped manual has the page and the popup.
  const QString manual = QStringLiteral(CORVANE_SOURCE_DIR "/docs/manual/index.html");
  QCOMPARE(ResolveTopicNumber(manual, 131192).fileName(), QStringLiteral("las-window.html"));
  QCOMPARE(ResolveHelpTopic(manual, kLasWindowHelpTopic).fileName(), QStringLiteral("las-window.html"));
  QVERIFY(!PopupText(manual, 131192).isEmpty());
}

QTEST_MAIN(LasWindowTest)
#include "LasWindowTest.moc"
