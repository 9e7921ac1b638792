// The LAS window in the main window, as the user meets it: File > Open LAS File and its
// refusals, the menus and the readout in the status bar, print, PDF and Save Plot As,
// dropped files and the recent list, Plot LAS on Step 4, the window's help, the Window
// menu's list of the open windows, Link Depths and a crossplot beside its LAS window.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "AppFakes.h"
#include "app/HelpTopics.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "lasview/CrossplotWindow.h"
#include "lasview/LasWindow.h"
#include "lasview/PlotCanvas.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step4Page.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kWell = ReadAll(CORVANE_TEST_DATA "/plot_well.las");

// The active window of the document area when it is a LAS window.
CLasWindow* ActiveLasWindow(CMainFrame* frame) { return dynamic_cast<CLasWindow*>(frame->ActiveChild()); }

// The LAS window of a file, if one is open.
CLasWindow* LasWindowOf(CMainFrame* frame, const QString& path) {
  for (CChildWindow* child : frame->Children())
    if (auto* window = dynamic_cast<CLasWindow*>(child); window && window->IsSameFile(path)) return window;
  return nullptr;
}

CLasWindow* WaitLoaded(CLasWindow* window) {
  if (!window || !QTest::qWaitFor([window] { return !window->Session().Loading(); }, 20000)) return nullptr;
  return window;
}

}  // namespace

class LasShellTest : public QObject {
  Q_OBJECT
 private slots:
  void openLasFileCommand();
  void readoutStandsInTheStatusBar();
  void printPdfAndSavePlotAs();
  void droppedFilesAndTheRecentList();
  void plotLasOnStep4OpensTheWindowAfterTheWizard();
  void helpAndToolbarOfTheLasWindow();
  void windowMenuListsTheWindowsAndLinksTheirDepths();
};

void LasShellTest::openLasFileCommand() {
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
  CLasWindow* window = WaitLoaded(ActiveLasWindow(frame));
  QVERIFY(window);
  QCOMPARE(frame->MdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("plot_well.las"));
  QCOMPARE(frame->windowTitle(), QStringLiteral("Corvane 2018"));
  QCOMPARE(frame->MenuSet(), 3);
  QVERIFY(frame->Action(Command::FileSavePlotAs)->isEnabled());
  QVERIFY(!frame->Action(Command::FileSave)->isEnabled());
  QVERIFY(!frame->Action(Command::FileSaveAs)->isEnabled());
  QVERIFY(!frame->Action(Command::WindowNew)->isEnabled());
  QVERIFY(frame->Action(Command::FilePrint)->isEnabled());
  QCOMPARE(fx.app->RecentFiles().Entries(), QStringList{path});
  // The same file again: its window comes to the front.
  QCOMPARE(fx.app->OpenLasFile(path), window);
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);

  // A file that is not there, a folder, and one that is no LAS file: told, with the
  // file and the reason below.
  fx.dialogs.calls.clear();
  QVERIFY(!fx.app->OpenLasFile(fx.dir.filePath("missing.las")));
  QVERIFY(!fx.app->OpenLasFile(fx.dir.path()));
  QCOMPARE(fx.dialogs.calls,
           (QStringList{"error:Failed to open LAS file.", "error:Failed to open LAS file."}));
  QCOMPARE(fx.dialogs.informatives,
           (QStringList{fx.dir.filePath("missing.las") + ": No such file or directory",
                        fx.dir.path() + ": It is a folder."}));
  CLasWindow* bad = fx.app->OpenLasFile(fx.WriteFile("notes.las", "just some notes\n"));
  QVERIFY(bad);
  QTRY_COMPARE(fx.dialogs.calls.size(), 3);
  QCOMPARE(fx.dialogs.calls.last(), QStringLiteral("error:Failed to open LAS file."));
  QVERIFY(fx.dialogs.informatives.last().contains("names no curves"));

  // Closing the windows brings the short menus back.
  frame->Action(Command::FileClose)->trigger();
  frame->MdiArea()->closeAllSubWindows();
  QTRY_COMPARE(frame->MenuSet(), 2);
  QVERIFY(!frame->Action(Command::FileSavePlotAs)->isEnabled());
}

void LasShellTest::readoutStandsInTheStatusBar() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  CLasWindow* window = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("well.las", kWell)));
  QVERIFY(window);
  auto* canvas = window->findChild<CPlotCanvas*>();
  // The readout of a row under the pointer; out of the window, nothing.
  const QPointF middle(canvas->width() / 2.0, canvas->height() * 0.6);
  QMouseEvent move(QEvent::MouseMove, middle, canvas->mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  QVERIFY(frame->statusBar()->currentMessage().startsWith("DEPT 15"));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(canvas, &leave);
  QVERIFY(frame->statusBar()->currentMessage().isEmpty());
  // Its window closed, the readout goes with it.
  QApplication::sendEvent(canvas, &move);
  QVERIFY(!frame->statusBar()->currentMessage().isEmpty());
  frame->Action(Command::FileClose)->trigger();
  QTRY_VERIFY(frame->statusBar()->currentMessage().isEmpty());
  QVERIFY(frame->MdiArea()->subWindowList().isEmpty());
}

void LasShellTest::printPdfAndSavePlotAs() {
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
  QCOMPARE(fx.dialogs.calls.filter("error:"), QStringList{"error:Failed to save the plot."});
  QCOMPARE(fx.dialogs.informatives.last(),
           QStringLiteral("The picture cannot be written over the LAS file."));
  QCOMPARE(ReadAll(path), kWell);
  // The plot is no document: Save As offers nothing.
  frame->Action(Command::FileSaveAs)->trigger();
  QVERIFY(!fx.dialogs.calls.last().startsWith("save:Save As"));
}

void LasShellTest::droppedFilesAndTheRecentList() {
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
  QVERIFY(LasWindowOf(frame, las));
  QCOMPARE(fx.app->RecentFiles().Entries(), (QStringList{lah, QFileInfo(las).absoluteFilePath()}));
  frame->MdiArea()->closeAllSubWindows();
  QTRY_COMPARE(frame->MenuSet(), 2);
  // The recent list opens a LAS file in its window again.
  frame->RecentFileActions().at(1)->trigger();
  QVERIFY(LasWindowOf(frame, las));
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);
}

void LasShellTest::plotLasOnStep4OpensTheWindowAfterTheWizard() {
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
      QVERIFY(ActiveLasWindow(frame) && ActiveLasWindow(frame)->IsSameFile(las));
    }
  }
}

void LasShellTest::helpAndToolbarOfTheLasWindow() {
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
  auto* canvas = window->findChild<CPlotCanvas*>();
  QCOMPARE(CMainFrame::HelpContextOf(canvas), 0x20000ul + kLasWindowHelpResource);
  frame->SetContextHelpFlag(true);
  fx.app->WinHelp(CMainFrame::HelpContextOf(canvas), HelpCommand::Context);
  frame->OnHelp();
  QCOMPARE(fx.help.shown, (QStringList{"popup:131192", "topic:::/las-window.html>CORVANE"}));
  // The shipped manual has the page and the popup.
  const QString manual = QStringLiteral(CORVANE_SOURCE_DIR "/docs/manual/index.html");
  QCOMPARE(ResolveTopicNumber(manual, 131192).fileName(), QStringLiteral("las-window.html"));
  QCOMPARE(ResolveHelpTopic(manual, kLasWindowHelpTopic).fileName(), QStringLiteral("las-window.html"));
  QVERIFY(!PopupText(manual, 131192).isEmpty());
}

void LasShellTest::windowMenuListsTheWindowsAndLinksTheirDepths() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  QByteArray deeper = kWell;
  deeper.replace("1500.0000", "1510.0000");  // a file whose first row is 10 m deeper
  CLasWindow* first = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("first.las", kWell)));
  CLasWindow* second = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("second.las", deeper)));
  QVERIFY(first && second);
  auto titles = [frame] {
    QStringList texts;
    for (QAction* action : frame->WindowListActions())
      texts.append(action->text() + (action->isChecked() ? "*" : ""));
    return texts;
  };
  QCOMPARE(titles(), (QStringList{"&1 first.las", "&2 second.las*"}));
  frame->WindowListActions().at(0)->trigger();
  QCOMPARE(frame->ActiveChild(), static_cast<CChildWindow*>(first));

  // Link Depths: the active window leads, the others follow each move.
  first->Session().SetDepthRange(1520, 1530);
  QVERIFY(frame->Action(Command::WindowLinkDepths)->isEnabled());
  frame->Action(Command::WindowLinkDepths)->trigger();
  QVERIFY(frame->DepthsLinked());
  QCOMPARE(second->Session().Top(), 1520.0);
  second->Session().ScrollBy(0.5);
  QCOMPARE(first->Session().Top(), 1525.0);
  // A window opened meanwhile joins; one that closes leaves.
  CLasWindow* third = WaitLoaded(fx.app->OpenLasFile(fx.WriteFile("third.las", kWell)));
  QCOMPARE(third->Session().Top(), 1525.0);
  frame->Activate(second);
  frame->Action(Command::FileClose)->trigger();
  QVERIFY(QTest::qWaitFor([&titles] { return titles().size() == 2; }, 5000));
  third->Session().SetDepthRange(1540, 1545);
  QCOMPARE(first->Session().Top(), 1540.0);
  frame->Action(Command::WindowLinkDepths)->trigger();
  third->Session().SetDepthRange(1500, 1505);
  QCOMPARE(first->Session().Top(), 1540.0);

  // New Crossplot: a window of its own in the document area, listed with the others.
  frame->Activate(first);
  QVERIFY(frame->Action(Command::WindowCrossplot)->isEnabled());
  frame->Action(Command::WindowCrossplot)->trigger();
  auto* crossplot = dynamic_cast<CCrossplotWindow*>(frame->ActiveChild());
  QVERIFY(crossplot);
  QVERIFY(!frame->Action(Command::WindowCrossplot)->isEnabled());
  QVERIFY(frame->Action(Command::FileSavePlotAs)->isEnabled());
  QVERIFY(titles().contains("&3 Crossplot of first.las*"));
  QCOMPARE(crossplot->Top(), 1540.0);
}

QTEST_MAIN(LasShellTest)
#include "LasShellTest.moc"
