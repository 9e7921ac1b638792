// The main window as the user meets it: title, menus of both sets with their access
// keys, shortcuts, separators and prompts, the accelerators, the fixed toolbar and
// the status bar.
#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWhatsThis>

#include "AppFakes.h"
#include "app/CorvaneDoc.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"

// How the desktop platforms (X11, Wayland) turn a window's title into the one the
// window manager shows: Qt's own helper, declared here because Qt keeps it private.
QT_BEGIN_NAMESPACE
class QPlatformWindow {
 public:
  static QString formatWindowTitle(const QString& title, const QString& separator);
};
QT_END_NAMESPACE

using namespace corvane;
using namespace corvane::test;

namespace {

// "Menu: item | item | - | item" for every visible menu of the menu bar.
QStringList MenuLayout(CMainFrame& frame) {
  QStringList menus;
  for (QAction* menuAction : frame.menuBar()->actions()) {
    QStringList items;
    for (QAction* item : menuAction->menu()->actions()) {
      if (!item->isVisible()) continue;
      items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    menus.append(menuAction->text() + ": " + items.join(" | "));
  }
  return menus;
}

QStringList ShortcutTexts(QAction* action) {
  QStringList keys;
  for (const QKeySequence& key : action->shortcuts()) keys.append(key.toString(QKeySequence::PortableText));
  return keys;
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT
 private slots:
  void startsMaximisedWithTitleAndNoDocument();
  void windowManagerShowsTitlesUnchanged();
  void menusWithoutDocumentWindow();
  void menusWhileDocumentWindowOpen();
  void promptsOfTheMenuItems();
  void acceleratorsOfTheMainWindow();
  void toolbarHasElevenFixedSlots();
  void statusBarPromptAndIndicators();
  void windowMenuAndF6MoveBetweenDocumentWindows();
};

void MainFrameTest::startsMaximisedWithTitleAndNoDocument() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  QVERIFY(frame);
  QCOMPARE(frame->windowTitle(), QStringLiteral("Corvane 2018"));
  QVERIFY(frame->windowState() & Qt::WindowMaximized);
  QVERIFY(frame->isVisible());
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 0);
  QCOMPARE(frame->MenuSet(), 2);
  // A document window does not put its name into the title.
  fx.app->OpenDocumentFile(fx.WriteFile("well.lah", "[File ID]\r\nID=Corvane\r\n"));
  QCOMPARE(frame->windowTitle(), QStringLiteral("Corvane 2018"));
}

void MainFrameTest::windowManagerShowsTitlesUnchanged() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  // Nothing is appended to a title on its way to the window manager.
  const QString dash = QString::fromUtf8(" \xe2\x80\x94 ");
  for (const QString& title : {QStringLiteral("Corvane 2018"), QStringLiteral("System Message"),
                               QStringLiteral("Open Configuration File")})
    QCOMPARE(QPlatformWindow::formatWindowTitle(title, dash), title);
  QCOMPARE(QPlatformWindow::formatWindowTitle(fx.app->MainFrame()->windowTitle(), dash),
           QStringLiteral("Corvane 2018"));
}

void MainFrameTest::menusWithoutDocumentWindow() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  const QStringList expected = {
      "&File: &New\tCtrl+N | &Open...\tCtrl+O | Open &LAS File...\tCtrl+L | - | P&rint Setup... | - | "
      "Recent File | - | E&xit",
      "&View: &Toolbar | &Status Bar",
      "&Help: &Index | &Using Help | - | &About Corvane...",
  };
  QCOMPARE(MenuLayout(*fx.app->MainFrame()), expected);
}

void MainFrameTest::menusWhileDocumentWindowOpen() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame& frame = *fx.app->MainFrame();
  const QString a = fx.WriteFile("a.lah", "[File ID]\r\n");
  const QString b = fx.WriteFile("b&c.lah", "[File ID]\r\n");
  QVERIFY(fx.app->OpenDocumentFile(a));
  QVERIFY(fx.app->OpenDocumentFile(b));
  QCOMPARE(frame.MenuSet(), 3);
  const QString recentB = "&1 " + QString(b).replace("&", "&&");
  const QStringList expected = {
      "&File: &New\tCtrl+N | &Open...\tCtrl+O | Open &LAS File...\tCtrl+L | &Close | &Save\tCtrl+S | "
      "Save &As... | Save P&lot As... | - | "
      "&Print...\tCtrl+P | Print Pre&view | P&rint Setup... | - | " +
          recentB + " | &2 " + a + " | - | E&xit",
      "&Edit: &Undo\tCtrl+Z | - | Cu&t\tCtrl+X | &Copy\tCtrl+C | &Paste\tCtrl+V",
      "&View: &Toolbar | &Status Bar",
      "&Window: &New Window | &Cascade | &Tile | &Arrange Icons | - | New C&rossplot | &Link Depths",
      "&Help: &Index | &Using Help | - | &About Corvane...",
  };
  QCOMPARE(MenuLayout(frame), expected);
  // The edit commands have nothing to work on.
  for (Command edit : {Command::EditUndo, Command::EditCut, Command::EditCopy, Command::EditPaste})
    QVERIFY(!frame.Action(edit)->isEnabled());

  // Closing the last document window brings the short menus back.
  frame.MdiArea()->closeAllSubWindows();
  QTRY_COMPARE(frame.MenuSet(), 2);
  QCOMPARE(frame.menuBar()->actions().size(), 3);
}

void MainFrameTest::promptsOfTheMenuItems() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame& frame = *fx.app->MainFrame();
  const QList<QPair<Command, QString>> prompts = {
      {Command::FileNew, "Create a new document"},
      {Command::FileOpen, "Open an existing document"},
      {Command::FilePrintSetup, "Change the printer and printing options"},
      {Command::FileExit, "Quit the application; prompts to save documents"},
      {Command::ViewToolbar, "Show or hide the toolbar"},
      {Command::ViewStatusBar, "Show or hide the status bar"},
      {Command::HelpIndex, "List Help topics"},
      {Command::HelpUsing, "Display instructions about how to use help"},
      {Command::AppAbout, "Display program information, version number and copyright"},
      {Command::FileOpenLas, "Open a LAS file and plot its logs"},
      {Command::FileSavePlotAs, "Save the plot of the active LAS window as a PNG, SVG or PDF file"},
  };
  for (const auto& [command, prompt] : prompts) QCOMPARE(frame.Action(command)->statusTip(), prompt);
  for (QAction* recent : frame.RecentFileActions())
    QCOMPARE(recent->statusTip(), QStringLiteral("Open this document"));
  QCOMPARE(frame.RecentFileActions().size(), 4);

  // A highlighted item shows its prompt in the status bar.
  QStatusTipEvent tip(frame.Action(Command::FileOpen)->statusTip());
  QCoreApplication::sendEvent(&frame, &tip);
  QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Open an existing document"));
}

void MainFrameTest::acceleratorsOfTheMainWindow() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame& frame = *fx.app->MainFrame();
  const QList<QPair<Command, QStringList>> keys = {
      {Command::FileNew, {"Ctrl+N"}},
      {Command::FileOpen, {"Ctrl+O"}},
      {Command::FileOpenLas, {"Ctrl+L"}},
      {Command::FileSave, {"Ctrl+S"}},
      {Command::FilePrint, {"Ctrl+P"}},
      {Command::EditUndo, {"Ctrl+Z", "Alt+Backspace"}},
      {Command::EditCut, {"Ctrl+X", "Shift+Del"}},
      {Command::EditCopy, {"Ctrl+C", "Ctrl+Ins"}},
      {Command::EditPaste, {"Ctrl+V", "Shift+Ins"}},
      {Command::NextPane, {"F6"}},
      {Command::PrevPane, {"Shift+F6"}},
      {Command::Help, {"F1"}},
      {Command::ContextHelp, {"Shift+F1"}},
  };
  for (const auto& [command, expected] : keys) QCOMPARE(ShortcutTexts(frame.Action(command)), expected);
  // The keys work whichever menu set is shown: every command belongs to the window itself.
  for (const auto& [command, expected] : keys) QVERIFY(frame.actions().contains(frame.Action(command)));

  // F1 shows the main topic; Shift+F1 turns on context help.
  frame.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&frame));
  QTest::keyClick(&frame, Qt::Key_F1);
  QCOMPARE(fx.help.shown, QStringList{"topic:::/Corvane Version 10 Manual for HTML.htm>CORVANE"});
  QTest::keyClick(&frame, Qt::Key_F1, Qt::ShiftModifier);
  QVERIFY(frame.ContextHelpFlag());
  QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Select an object on which to get Help"));
  QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &frame, Qt::Key_Escape);
  QTRY_VERIFY(frame.statusBar()->currentMessage().isEmpty());
}

void MainFrameTest::toolbarHasElevenFixedSlots() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame& frame = *fx.app->MainFrame();
  QToolBar* bar = frame.ToolBar();
  QVERIFY(!bar->isMovable());
  QVERIFY(!bar->isFloatable());
  QCOMPARE(frame.toolBarArea(bar), Qt::TopToolBarArea);
  const QList<QAction*> slotsOfBar = bar->actions();
  QCOMPARE(slotsOfBar.size(), 11);
  const QList<QAction*> expected = {frame.Action(Command::FileNew),    frame.Action(Command::FileOpen),
                                    frame.Action(Command::FileSave),   nullptr,
                                    frame.Action(Command::EditCut),    frame.Action(Command::EditCopy),
                                    frame.Action(Command::EditPaste),  nullptr,
                                    frame.Action(Command::FilePrint),  frame.Action(Command::AppAbout),
                                    frame.Action(Command::ContextHelp)};
  for (int i = 0; i < 11; ++i) {
    if (expected[i] == nullptr)
      QVERIFY(slotsOfBar[i]->isSeparator());
    else
      QCOMPARE(slotsOfBar[i], expected[i]);
  }
  for (QAction* action : slotsOfBar)
    if (!action->isSeparator()) QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));

  // No tool tips on the buttons.
  QWidget* newButton = bar->widgetForAction(frame.Action(Command::FileNew));
  QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), newButton->mapToGlobal(QPoint(2, 2)));
  QCoreApplication::sendEvent(newButton, &tip);
  QVERIFY(!QToolTip::isVisible());

  // View Toolbar hides and shows it.
  frame.Action(Command::ViewToolbar)->trigger();
  QVERIFY(!bar->isVisible());
  frame.Action(Command::ViewToolbar)->trigger();
  QVERIFY(bar->isVisible());
  // Save and Print have nothing to act on without a document window.
  QVERIFY(!frame.Action(Command::FileSave)->isEnabled());
  QVERIFY(!frame.Action(Command::FilePrint)->isEnabled());
}

void MainFrameTest::statusBarPromptAndIndicators() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame& frame = *fx.app->MainFrame();
  QCOMPARE(frame.IdlePromptLabel()->text(), QStringLiteral("For Help, press F1"));
  QVERIFY(frame.IdlePromptLabel()->isVisible());
  QLabel* caps = frame.IndicatorLabel(CMainFrame::Indicator::Caps);
  QLabel* num = frame.IndicatorLabel(CMainFrame::Indicator::Num);
  QLabel* scroll = frame.IndicatorLabel(CMainFrame::Indicator::Scroll);
  QVERIFY(caps && num && scroll);
  QCOMPARE(caps->objectName(), QStringLiteral("CAP"));
  QCOMPARE(num->objectName(), QStringLiteral("NUM"));
  QCOMPARE(scroll->objectName(), QStringLiteral("SCRL"));
  // The lock keys switch their indicators on and off.
  frame.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&frame));
  QTest::keyClick(&frame, Qt::Key_CapsLock);
  QCOMPARE(caps->text(), QStringLiteral("CAP"));
  QTest::keyClick(&frame, Qt::Key_ScrollLock);
  QCOMPARE(scroll->text(), QStringLiteral("SCRL"));
  QTest::keyClick(&frame, Qt::Key_CapsLock);
  QVERIFY(caps->text().isEmpty());

  // In context help a highlighted item still shows its prompt; once it is left the
  // pane goes back to the context-help prompt, not to the idle one.
  frame.OnContextHelp();
  QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Select an object on which to get Help"));
  QStatusTipEvent over(frame.Action(Command::FileOpen)->statusTip());
  QCoreApplication::sendEvent(&frame, &over);
  QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Open an existing document"));
  QStatusTipEvent left{QString()};
  QCoreApplication::sendEvent(&frame, &left);
  QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Select an object on which to get Help"));
  QWhatsThis::leaveWhatsThisMode();
  QVERIFY(frame.statusBar()->currentMessage().isEmpty());
  QVERIFY(frame.IdlePromptLabel()->isVisible());
  // View Status Bar hides it.
  frame.Action(Command::ViewStatusBar)->trigger();
  QVERIFY(!frame.statusBar()->isVisible());
}

void MainFrameTest::windowMenuAndF6MoveBetweenDocumentWindows() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame& frame = *fx.app->MainFrame();
  const QString path = fx.WriteFile("well.lah", "[File ID]\r\n");
  CCorvaneDoc* doc = fx.app->OpenDocumentFile(path);
  QVERIFY(doc);
  frame.Action(Command::WindowNew)->trigger();
  QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);
  QCOMPARE(frame.MdiArea()->subWindowList().at(0)->windowTitle(), QStringLiteral("well.lah:1"));
  QCOMPARE(frame.MdiArea()->subWindowList().at(1)->windowTitle(), QStringLiteral("well.lah:2"));
  // Opening the same file again activates its window instead of adding one.
  QCOMPARE(fx.app->OpenDocumentFile(path), doc);
  QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);

  frame.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&frame));
  QMdiSubWindow* before = frame.MdiArea()->activeSubWindow();
  frame.Action(Command::NextPane)->trigger();
  QVERIFY(frame.MdiArea()->activeSubWindow() != before);
  frame.Action(Command::PrevPane)->trigger();
  QCOMPARE(frame.MdiArea()->activeSubWindow(), before);

  frame.Action(Command::WindowTile)->trigger();
  const QRect first = frame.MdiArea()->subWindowList().at(0)->geometry();
  const QRect second = frame.MdiArea()->subWindowList().at(1)->geometry();
  QVERIFY(!first.intersects(second));
  frame.Action(Command::WindowCascade)->trigger();
  QVERIFY(frame.MdiArea()->subWindowList().at(0)->geometry().intersects(
      frame.MdiArea()->subWindowList().at(1)->geometry()));

  // Close shuts every window of the active document; the document goes with them.
  QPointer<CCorvaneDoc> watched = doc;
  frame.Action(Command::FileClose)->trigger();
  QTRY_VERIFY(frame.MdiArea()->subWindowList().isEmpty());
  QTRY_VERIFY(watched.isNull());
  QTRY_COMPARE(frame.MenuSet(), 2);
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
