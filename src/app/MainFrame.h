#pragma once
// The main window: a multiple-document area under the menus, the fixed toolbar and
// the status bar. Without a document window the short menu set is shown (File, View,
// Help); while one is open the full set (File, Edit, View, Window, Help). Context help
// (Shift+F1, the toolbar's button) lets the user click a window to see its help.
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "lasview/ChildWindow.h"
#include "lasview/DepthLink.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;

namespace corvane {

class CChildWindow;
class CShellServices;

// The commands of the main window.
enum class Command {
  FileNew,
  FileOpen,
  FileClose,
  FileSave,
  FileSaveAs,
  FilePrint,
  FilePrintPreview,
  FilePrintSetup,
  FileExit,
  EditUndo,
  EditCut,
  EditCopy,
  EditPaste,
  ViewToolbar,
  ViewStatusBar,
  WindowNew,
  WindowCascade,
  WindowTile,
  WindowArrange,
  HelpIndex,
  HelpUsing,
  AppAbout,
  Help,
  ContextHelp,
  NextPane,
  PrevPane,
  FileOpenLas,
  FileSavePlotAs,
  WindowCrossplot,
  WindowLinkDepths
};

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  // The lock-key indicators of the status bar.
  enum class Indicator { Caps, Num, Scroll };
  // The title never names the active document.
  static constexpr const char* kIdlePrompt = "For Help, press F1";
  static constexpr const char* kContextHelpPrompt = "Select an object on which to get Help";

  explicit CMainFrame(CShellServices& shell);
  ~CMainFrame() override;

  QAction* Action(Command command) const { return m_actions.value(command); }
  // 2 without a document window, 3 while one is open.
  int MenuSet() const { return m_menuSet; }
  QMdiArea* MdiArea() const { return m_mdiArea; }
  QToolBar* ToolBar() const { return m_toolBar; }
  // The toolbar of the log plot, beside the standard one (Open LAS File, Save Plot As).
  QToolBar* PlotToolBar() const { return m_plotToolBar; }
  QLabel* IndicatorLabel(Indicator which) const;
  QLabel* IdlePromptLabel() const { return m_idlePrompt; }
  QList<QAction*> RecentFileActions() const { return m_recentActions; }

  // Set when the user starts context help, cleared when a context-help popup was shown.
  bool ContextHelpFlag() const { return m_contextHelpFlag; }
  void SetContextHelpFlag(bool set) { m_contextHelpFlag = set; }

  // A window of the document area (a configuration file's, a LAS file's), activated;
  // it closes with the main window or when the user closes it.
  QMdiSubWindow* AddChildWindow(CChildWindow* child);
  // The active window of the document area, and all of them in the area's order.
  CChildWindow* ActiveChild() const;
  QList<CChildWindow*> Children() const;
  void Activate(const CChildWindow* child);

  // The open windows at the end of the Window menu ("&1 well.las"), the active one
  // checked; made again whenever the menu opens.
  QList<QAction*> WindowListActions();
  // Window > Link Depths: whether the LAS windows' depths are kept together.
  bool DepthsLinked() const;

  // The recent-file entries of both File menus follow the application's list.
  void UpdateRecentFileMenu();
  // Shows the menu set that fits the document windows open now.
  void UpdateMenus(const QObject* closing = nullptr);

  // The context number of a window for help: a resource number above the resource
  // help base (wizard pages, the main window, document windows), found from the
  // clicked widget up to its window.
  static unsigned long HelpContextOf(const QWidget* widget);
  // True when the widget, or the control it is part of, has a What's This note of its own.
  static bool HasOwnWhatsThis(const QWidget* widget);

  void OnHelp();
  void OnContextHelp();
  void OnFileSave();
  // Save As (of the document) and Save Plot As: the active window says what it writes.
  void OnFileSaveAs(CChildWindow::SaveKind kind);
  // Print and Print Preview of the active window.
  void OnFilePrint(bool preview);
  void OnWindowNew();
  void OnWindowArrange();
  void OnWindowCrossplot();
  void OnLinkDepths(bool on);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The size and place are remembered for the next run.
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  static CChildWindow* ChildOf(const QMdiSubWindow* window);
  // Numbers the titles of the windows of one document ("well.lah:1", "well.lah:2").
  void Retitle(const QObject* document);
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  QMenu* MakeFileMenu(bool documentOpen);
  void TrackLockKeys(QObject* receiver, QEvent* event);
  void SetIndicator(Indicator which, bool on);
  // The configuration (.lah) and LAS (.las) files among dropped ones.
  static QStringList DroppedFiles(const QMimeData* data);

  CShellServices& m_shell;
  QHash<Command, QAction*> m_actions;
  QList<QAction*> m_recentActions;
  QAction* m_recentEmpty = nullptr;
  QMdiArea* m_mdiArea = nullptr;
  QToolBar* m_toolBar = nullptr;
  QToolBar* m_plotToolBar = nullptr;
  QList<QMenu*> m_menus2;
  QList<QMenu*> m_menus3;
  QMenu* m_windowMenu = nullptr;
  QList<QAction*> m_windowList;
  CDepthLink m_depthLink;
  int m_menuSet = 0;
  QLabel* m_idlePrompt = nullptr;
  QLabel* m_indicators[3] = {nullptr, nullptr, nullptr};
  bool m_lockState[3] = {false, false, false};
  bool m_contextHelpFlag = false;
  const QEvent* m_lastKeyEvent = nullptr;
  QPointer<QWidget> m_lastKeyReceiver;
};

}  // namespace corvane
