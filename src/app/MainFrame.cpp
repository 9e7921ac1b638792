#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <array>

#include "app/AppIcon.h"
#include "app/HelpTopics.h"
#include "app/RecentFileList.h"
#include "app/ShellDialogs.h"
#include "app/ShellServices.h"
#include "app/ToolIcons.h"
#include "lasview/LasWindow.h"
#include "platform/ProgramInfo.h"
#include "wizard/WizardPage.h"
#include "wizard/WizardSettings.h"

namespace corvane {
namespace {

// The resource number of the main window, as context help numbers it.
constexpr unsigned kMainFrameResource = 2;
const char* const kHelpContextProperty = "corvaneHelpContext";

// Lock bits of the native key state (X11 and Wayland keyboard state masks).
constexpr quint32 kNativeCapsLock = 0x02;
constexpr quint32 kNativeNumLock = 0x10;

}  // namespace

CMainFrame::CMainFrame(CShellServices& shell) : m_shell(shell) {
  setWindowTitle(QLatin1String(kMainWindowTitle));
  setWindowIcon(CorvaneIcon());
  setContextMenuPolicy(Qt::NoContextMenu);  // no toolbar menu on a right click
  setProperty(kHelpContextProperty, QVariant::fromValue<qulonglong>(kResourceHelpBase + kMainFrameResource));

  m_mdiArea = new QMdiArea(this);
  m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdiArea);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenus(); });

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  setAcceptDrops(true);
  UpdateRecentFileMenu();
  UpdateMenus();
  qApp->installEventFilter(this);
  resize(1024, 720);
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
  // The document windows go with the frame; their farewells must not reach it.
  disconnect(m_mdiArea, nullptr, this, nullptr);
  for (QMdiSubWindow* window : m_mdiArea->findChildren<QMdiSubWindow*>()) window->disconnect(this);
}

namespace {

// One line per command: its menu text, its status-bar prompt, its keys (the first is
// named in the menu unless the command is never in a menu), its picture.
struct CCommandEntry {
  Command command;
  const char* text;
  const char* prompt;
  std::array<QKeyCombination, 2> keys;
  ToolPicture picture = ToolPicture::None;
  bool keyInMenu = true;
};

constexpr QKeyCombination kNoKey{};

const CCommandEntry kActions[] = {
    {Command::FileNew, "&New", "Create a new document", {Qt::CTRL | Qt::Key_N, kNoKey}, ToolPicture::New},
    {Command::FileOpen,
     "&Open...",
     "Open an existing document",
     {Qt::CTRL | Qt::Key_O, kNoKey},
     ToolPicture::Open},
    {Command::FileOpenLas,
     "Open &LAS File...",
     "Open a LAS file and plot its logs",
     {Qt::CTRL | Qt::Key_L, kNoKey},
     ToolPicture::OpenLas},
    {Command::FileClose, "&Close", "Close the active document", {}},
    {Command::FileSave,
     "&Save",
     "Save the active document",
     {Qt::CTRL | Qt::Key_S, kNoKey},
     ToolPicture::Save},
    {Command::FileSaveAs, "Save &As...", "Save the active document with a new name", {}},
    {Command::FileSavePlotAs,
     "Save P&lot As...",
     "Save the plot of the active LAS window as a PNG, SVG or PDF file",
     {},
     ToolPicture::SavePlot},
    {Command::FilePrint,
     "&Print...",
     "Print the active document",
     {Qt::CTRL | Qt::Key_P, kNoKey},
     ToolPicture::Print},
    {Command::FilePrintPreview, "Print Pre&view", "Display full pages", {}},
    {Command::FilePrintSetup, "P&rint Setup...", "Change the printer and printing options", {}},
    {Command::FileExit, "E&xit", "Quit the application; prompts to save documents", {}},
    {Command::EditUndo, "&Undo", "Undo the last action", {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}},
    {Command::EditCut,
     "Cu&t",
     "Cut the selection and put it on the Clipboard",
     {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete},
     ToolPicture::Cut},
    {Command::EditCopy,
     "&Copy",
     "Copy the selection and put it on the Clipboard",
     {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert},
     ToolPicture::Copy},
    {Command::EditPaste,
     "&Paste",
     "Insert Clipboard contents",
     {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert},
     ToolPicture::Paste},
    {Command::ViewToolbar, "&Toolbar", "Show or hide the toolbar", {}},
    {Command::ViewStatusBar, "&Status Bar", "Show or hide the status bar", {}},
    {Command::WindowNew, "&New Window", "Open another window for the active document", {}},
    {Command::WindowCascade, "&Cascade", "Arrange windows so they overlap", {}},
    {Command::WindowTile, "&Tile", "Arrange windows as non-overlapping tiles", {}},
    {Command::WindowArrange, "&Arrange Icons", "Arrange icons at the bottom of the window", {}},
    {Command::WindowCrossplot, "New C&rossplot", "Open a crossplot of two curves of the active LAS file", {}},
    {Command::WindowLinkDepths, "&Link Depths", "Keep the depths shown in the open LAS windows together", {}},
    {Command::HelpIndex, "&Index", "List Help topics", {}},
    {Command::HelpUsing, "&Using Help", "Display instructions about how to use help", {}},
    {Command::AppAbout,
     "&About Corvane...",
     "Display program information, version number and copyright",
     {},
     ToolPicture::About},
    {Command::Help,
     "Help",
     "Display help for current task or command",
     {Qt::Key_F1, kNoKey},
     ToolPicture::None,
     false},
    {Command::ContextHelp,
     "Context Help",
     "Display help for clicked buttons, menus and windows",
     {Qt::SHIFT | Qt::Key_F1, kNoKey},
     ToolPicture::ContextHelp,
     false},
    {Command::NextPane,
     "Next Pane",
     "Switch to the next window pane",
     {Qt::Key_F6, kNoKey},
     ToolPicture::None,
     false},
    {Command::PrevPane,
     "Previous Pane",
     "Switch back to the previous window pane",
     {Qt::SHIFT | Qt::Key_F6, kNoKey},
     ToolPicture::None,
     false},
};

}  // namespace

void CMainFrame::CreateActions() {
  for (const CCommandEntry& entry : kActions) {
    QList<QKeySequence> keys;
    for (const QKeyCombination key : entry.keys)
      if (key != kNoKey) keys.append(QKeySequence(key));
    QString text = QString::fromLatin1(entry.text);
    if (entry.keyInMenu && !keys.isEmpty()) text += u'\t' + keys.front().toString(QKeySequence::PortableText);
    auto* action = new QAction(text, this);
    action->setStatusTip(QString::fromLatin1(entry.prompt));
    action->setShortcuts(keys);
    action->setIcon(ToolIcon(entry.picture, style()));
    m_actions.insert(entry.command, action);
    addAction(action);  // its keys work whichever menu set is shown
  }
  // The edit commands have no handler: the documents hold nothing to edit.
  for (Command edit : {Command::EditUndo, Command::EditCut, Command::EditCopy, Command::EditPaste})
    Action(edit)->setEnabled(false);
  for (Command shown : {Command::ViewToolbar, Command::ViewStatusBar}) {
    Action(shown)->setCheckable(true);
    Action(shown)->setChecked(true);
  }

  auto on = [this](Command command, auto receiver, auto slot) {
    connect(Action(command), &QAction::triggered, receiver, slot);
  };
  on(Command::FileNew, this, [this] { m_shell.OnFileNew(); });
  on(Command::FileOpen, this, [this] { m_shell.OnFileOpen(); });
  on(Command::FileOpenLas, this, [this] { m_shell.OnFileOpenLas(); });
  on(Command::FileClose, this, [this] {
    // Every window of the active document closes.
    const CChildWindow* active = ActiveChild();
    if (!active) return;
    const QObject* document = active->Document();
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
      if (const CChildWindow* child = ChildOf(window); child && child->Document() == document)
        window->close();
  });
  on(Command::FileSave, this, &CMainFrame::OnFileSave);
  on(Command::FileSaveAs, this, [this] { OnFileSaveAs(CChildWindow::SaveKind::Document); });
  on(Command::FileSavePlotAs, this, [this] { OnFileSaveAs(CChildWindow::SaveKind::Plot); });
  on(Command::FilePrint, this, [this] { OnFilePrint(false); });
  on(Command::FilePrintPreview, this, [this] { OnFilePrint(true); });
  on(Command::FilePrintSetup, this, [this] { m_shell.OnFilePrintSetup(); });
  on(Command::FileExit, this, &QWidget::close);
  on(Command::WindowNew, this, &CMainFrame::OnWindowNew);
  on(Command::WindowCascade, m_mdiArea, &QMdiArea::cascadeSubWindows);
  on(Command::WindowTile, m_mdiArea, &QMdiArea::tileSubWindows);
  on(Command::WindowArrange, this, &CMainFrame::OnWindowArrange);
  on(Command::WindowCrossplot, this, &CMainFrame::OnWindowCrossplot);
  Action(Command::WindowLinkDepths)->setCheckable(true);
  connect(Action(Command::WindowLinkDepths), &QAction::toggled, this, &CMainFrame::OnLinkDepths);
  on(Command::HelpIndex, this, [this] { m_shell.WinHelp(0, HelpCommand::Index, this); });
  on(Command::HelpUsing, this, [this] { m_shell.WinHelp(0, HelpCommand::HelpOnHelp, this); });
  on(Command::AppAbout, this, [this] { m_shell.OnAppAbout(); });
  on(Command::Help, this, &CMainFrame::OnHelp);
  on(Command::ContextHelp, this, &CMainFrame::OnContextHelp);
  on(Command::NextPane, m_mdiArea, &QMdiArea::activateNextSubWindow);
  on(Command::PrevPane, m_mdiArea, &QMdiArea::activatePreviousSubWindow);

  for (int i = 0; i < m_shell.RecentFiles().Size(); ++i) {
    auto* entry = new QAction(this);
    entry->setStatusTip(QStringLiteral("Open this document"));
    connect(entry, &QAction::triggered, this, [this, i] {
      const QStringList& entries = m_shell.RecentFiles().Entries();
      if (i < entries.size()) m_shell.OpenFile(entries.at(i));
    });
    m_recentActions.append(entry);
  }
  m_recentEmpty = new QAction(QStringLiteral("Recent File"), this);
  m_recentEmpty->setEnabled(false);
  m_recentEmpty->setStatusTip(QStringLiteral("Open this document"));
}

QMenu* CMainFrame::MakeFileMenu(bool documentOpen) {
  auto* file = new QMenu(QStringLiteral("&File"), this);
  file->addAction(Action(Command::FileNew));
  file->addAction(Action(Command::FileOpen));
  file->addAction(Action(Command::FileOpenLas));
  if (documentOpen) {
    file->addAction(Action(Command::FileClose));
    file->addAction(Action(Command::FileSave));
    file->addAction(Action(Command::FileSaveAs));
    file->addAction(Action(Command::FileSavePlotAs));
    file->addSeparator();
    file->addAction(Action(Command::FilePrint));
    file->addAction(Action(Command::FilePrintPreview));
  } else {
    file->addSeparator();
  }
  file->addAction(Action(Command::FilePrintSetup));
  file->addSeparator();
  file->addAction(m_recentEmpty);
  file->addActions(m_recentActions);
  file->addSeparator();
  file->addAction(Action(Command::FileExit));
  return file;
}

void CMainFrame::CreateMenus() {
  auto* view = new QMenu(QStringLiteral("&View"), this);
  view->addAction(Action(Command::ViewToolbar));
  view->addAction(Action(Command::ViewStatusBar));
  auto* help = new QMenu(QStringLiteral("&Help"), this);
  help->addAction(Action(Command::HelpIndex));
  help->addAction(Action(Command::HelpUsing));
  help->addSeparator();
  help->addAction(Action(Command::AppAbout));
  auto* edit = new QMenu(QStringLiteral("&Edit"), this);
  edit->addAction(Action(Command::EditUndo));
  edit->addSeparator();
  edit->addAction(Action(Command::EditCut));
  edit->addAction(Action(Command::EditCopy));
  edit->addAction(Action(Command::EditPaste));
  auto* window = new QMenu(QStringLiteral("&Window"), this);
  window->addAction(Action(Command::WindowNew));
  window->addAction(Action(Command::WindowCascade));
  window->addAction(Action(Command::WindowTile));
  window->addAction(Action(Command::WindowArrange));
  window->addSeparator();
  window->addAction(Action(Command::WindowCrossplot));
  window->addAction(Action(Command::WindowLinkDepths));
  m_windowMenu = window;
  connect(window, &QMenu::aboutToShow, this, [this] { WindowListActions(); });

  m_menus2 = {MakeFileMenu(false), view, help};
  m_menus3 = {MakeFileMenu(true), edit, view, window, help};
}

void CMainFrame::CreateToolBar() {
  m_toolBar = new QToolBar(QStringLiteral("Standard"), this);
  m_toolBar->setObjectName(QStringLiteral("standardToolBar"));
  m_toolBar->setMovable(false);
  m_toolBar->setFloatable(false);
  m_toolBar->setAllowedAreas(Qt::TopToolBarArea);
  m_toolBar->setIconSize(QSize(16, 16));
  m_toolBar->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, m_toolBar);
  const Command buttons[] = {Command::FileNew,   Command::FileOpen, Command::FileSave,
                             Command::EditCut,   Command::EditCopy, Command::EditPaste,
                             Command::FilePrint, Command::AppAbout, Command::ContextHelp};
  for (Command command : buttons) {
    m_toolBar->addAction(Action(command));
    if (command == Command::FileSave || command == Command::EditPaste) m_toolBar->addSeparator();
  }
  // The buttons show no tool tips: their prompts appear in the status bar instead.
  for (QAction* action : m_toolBar->actions())
    if (QWidget* button = m_toolBar->widgetForAction(action)) button->installEventFilter(this);

  // The plot's commands on a toolbar of their own, beside the standard one.
  m_plotToolBar = new QToolBar(QStringLiteral("Log Plot"), this);
  m_plotToolBar->setObjectName(QStringLiteral("plotToolBar"));
  m_plotToolBar->setMovable(false);
  m_plotToolBar->setFloatable(false);
  m_plotToolBar->setAllowedAreas(Qt::TopToolBarArea);
  m_plotToolBar->setIconSize(QSize(16, 16));
  m_plotToolBar->toggleViewAction()->setVisible(false);
  // Context help on its buttons tells about the LAS window.
  m_plotToolBar->setProperty(kHelpContextProperty,
                             QVariant::fromValue<qulonglong>(kResourceHelpBase + kLasWindowHelpResource));
  addToolBar(Qt::TopToolBarArea, m_plotToolBar);
  m_plotToolBar->addAction(Action(Command::FileOpenLas));
  m_plotToolBar->addAction(Action(Command::FileSavePlotAs));
  for (QAction* action : m_plotToolBar->actions())
    if (QWidget* button = m_plotToolBar->widgetForAction(action)) button->installEventFilter(this);

  QAction* viewToolbar = Action(Command::ViewToolbar);
  connect(viewToolbar, &QAction::toggled, m_toolBar, &QToolBar::setVisible);
  connect(viewToolbar, &QAction::toggled, m_plotToolBar, &QToolBar::setVisible);
  connect(m_toolBar, &QToolBar::visibilityChanged, viewToolbar, &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  m_idlePrompt = new QLabel(QLatin1String(kIdlePrompt), bar);
  bar->addWidget(m_idlePrompt, 1);
  const char* const names[] = {"CAP", "NUM", "SCRL"};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(bar);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QLatin1String(names[i])) + 10);
    label->setObjectName(QLatin1String(names[i]));
    bar->addPermanentWidget(label);
    m_indicators[i] = label;
  }
  QAction* viewStatus = Action(Command::ViewStatusBar);
  connect(viewStatus, &QAction::toggled, bar, &QStatusBar::setVisible);
}

QLabel* CMainFrame::IndicatorLabel(Indicator which) const { return m_indicators[static_cast<int>(which)]; }

void CMainFrame::SetIndicator(Indicator which, bool on) {
  const int i = static_cast<int>(which);
  m_lockState[i] = on;
  static const char* const names[] = {"CAP", "NUM", "SCRL"};
  m_indicators[i]->setText(on ? QLatin1String(names[i]) : QString());
}

void CMainFrame::TrackLockKeys(QObject* receiver, QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  if (!key->spontaneous() || !receiver->isWidgetType()) return;
  // An unhandled key travels up to the receiver's parents, passing the filter again.
  auto* widget = static_cast<QWidget*>(receiver);
  if (key == m_lastKeyEvent && m_lastKeyReceiver && widget != m_lastKeyReceiver &&
      widget->isAncestorOf(m_lastKeyReceiver))
    return;
  m_lastKeyEvent = key;
  m_lastKeyReceiver = widget;
  const bool press = event->type() == QEvent::KeyPress && !key->isAutoRepeat();
  const QString platform = QGuiApplication::platformName();
  const bool nativeState = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
  bool caps = m_lockState[0];
  bool num = m_lockState[1];
  if (nativeState) {
    // The key state holds the locks as they were before this key.
    caps = key->nativeModifiers() & kNativeCapsLock;
    num = key->nativeModifiers() & kNativeNumLock;
    if (event->type() == QEvent::KeyPress) {
      if (key->key() == Qt::Key_CapsLock) caps = !caps;
      if (key->key() == Qt::Key_NumLock) num = !num;
    }
  } else if (press) {
    if (key->key() == Qt::Key_CapsLock) caps = !caps;
    if (key->key() == Qt::Key_NumLock) num = !num;
  }
  SetIndicator(Indicator::Caps, caps);
  SetIndicator(Indicator::Num, num);
  if (press && key->key() == Qt::Key_ScrollLock) SetIndicator(Indicator::Scroll, !m_lockState[2]);
}

void CMainFrame::UpdateRecentFileMenu() {
  const CRecentFileList& list = m_shell.RecentFiles();
  for (int i = 0; i < m_recentActions.size(); ++i) {
    QAction* entry = m_recentActions.at(i);
    entry->setVisible(i < list.Entries().size());
    entry->setText(list.MenuText(i));
  }
  m_recentEmpty->setVisible(list.Entries().isEmpty());
}

void CMainFrame::UpdateMenus(const QObject* closing) {
  bool documentOpen = false;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (window != closing) documentOpen = true;
  const int set = documentOpen ? 3 : 2;
  for (Command command : {Command::FileSave, Command::FilePrint, Command::FileClose, Command::FileSaveAs,
                          Command::FilePrintPreview, Command::WindowNew, Command::WindowCascade,
                          Command::WindowTile, Command::WindowArrange, Command::WindowLinkDepths})
    Action(command)->setEnabled(documentOpen);
  // What the active window offers: a LAS window has no configuration to save or to
  // open again; its plot is saved as a picture.
  const QMdiSubWindow* active = m_mdiArea->activeSubWindow();
  const CChildWindow* child = active != nullptr && active != closing ? ChildOf(active) : nullptr;
  if (child && !child->SaveDialog(CChildWindow::SaveKind::Document)) {
    Action(Command::FileSave)->setEnabled(false);
    Action(Command::FileSaveAs)->setEnabled(false);
  }
  if (child && !child->OffersNewWindow()) Action(Command::WindowNew)->setEnabled(false);
  Action(Command::FileSavePlotAs)->setEnabled(child && child->SaveDialog(CChildWindow::SaveKind::Plot));
  Action(Command::WindowCrossplot)->setEnabled(dynamic_cast<const CLasWindow*>(child) != nullptr);
  if (set == m_menuSet) return;
  m_menuSet = set;
  menuBar()->clear();
  for (QMenu* menu : set == 3 ? m_menus3 : m_menus2) menuBar()->addMenu(menu);
}

CChildWindow* CMainFrame::ChildOf(const QMdiSubWindow* window) {
  return window ? dynamic_cast<CChildWindow*>(window->widget()) : nullptr;
}

void CMainFrame::Retitle(const QObject* document) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (const CChildWindow* child = ChildOf(window); child && child->Document() == document)
      windows.append(window);
  for (int i = 0; i < windows.size(); ++i) {
    const QString title = ChildOf(windows.at(i))->Title();
    windows.at(i)->setWindowTitle(windows.size() > 1 ? QStringLiteral("%1:%2").arg(title).arg(i + 1) : title);
  }
}

QMdiSubWindow* CMainFrame::AddChildWindow(CChildWindow* child) {
  QWidget* content = child->Widget();
  content->setProperty(kHelpContextProperty,
                       QVariant::fromValue<qulonglong>(kResourceHelpBase + child->HelpResource()));
  QMdiSubWindow* window = m_mdiArea->addSubWindow(content);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(CorvaneIcon());
  const QObject* document = child->Document();
  connect(content, &QWidget::windowTitleChanged, window, [this, document] { Retitle(document); });
  connect(window, &QObject::destroyed, this, [this, window, document] {
    UpdateMenus(window);
    // The other windows of its document count again.
    for (QMdiSubWindow* other : m_mdiArea->subWindowList()) {
      if (other == window) continue;
      if (const CChildWindow* shown = ChildOf(other); shown && shown->Document() == document) {
        QPointer<const QObject> alive = document;
        QTimer::singleShot(0, this, [this, alive] {
          if (alive) Retitle(alive);
        });
        break;
      }
    }
  });
  if (auto* las = dynamic_cast<CLasWindow*>(child); las && DepthsLinked()) m_depthLink.Add(las->Session());
  window->resize(child->InitialSize(m_mdiArea->viewport()->size()));
  window->show();
  m_mdiArea->setActiveSubWindow(window);
  Retitle(document);
  UpdateMenus();
  return window;
}

CChildWindow* CMainFrame::ActiveChild() const { return ChildOf(m_mdiArea->currentSubWindow()); }

QList<CChildWindow*> CMainFrame::Children() const {
  QList<CChildWindow*> children;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (CChildWindow* child = ChildOf(window)) children.append(child);
  return children;
}

void CMainFrame::Activate(const CChildWindow* child) {
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (ChildOf(window) == child) {
      m_mdiArea->setActiveSubWindow(window);
      return;
    }
}

unsigned long CMainFrame::HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant context = w->property(kHelpContextProperty);
    if (context.isValid()) return static_cast<unsigned long>(context.toULongLong());
    if (auto* page = qobject_cast<const CWizardPage*>(w)) return WizardPageHelpContext(page->Caption());
    if (w->isWindow()) break;
  }
  return 0;
}

bool CMainFrame::HasOwnWhatsThis(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
    if (!w->whatsThis().isEmpty()) return true;
    if (qobject_cast<const CWizardPage*>(w)) break;
  }
  return false;
}

void CMainFrame::OnHelp() {
  // A window may have a page of its own (the LAS window has).
  const CChildWindow* child = ActiveChild();
  m_shell.ShowHelpTopic(this, child ? child->HelpTopic() : QLatin1String(kMainHelpTopic));
}

void CMainFrame::OnContextHelp() {
  m_contextHelpFlag = true;
  if (!QWhatsThis::inWhatsThisMode()) QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::OnFileSave() {
  // A document of a configuration file is never modified: there is nothing to write,
  // and its file stays as it is.
}

void CMainFrame::OnFileSaveAs(CChildWindow::SaveKind kind) {
  CChildWindow* child = ActiveChild();
  const std::optional<CChildWindow::CSaveDialog> dialog = child ? child->SaveDialog(kind) : std::nullopt;
  if (!dialog) return;
  const QString path = m_shell.Dialogs().GetSaveFileName(this, dialog->title, dialog->filter,
                                                         dialog->initialName, dialog->defaultSuffix);
  if (path.isEmpty()) return;
  if (const CResult saved = child->Save(kind, path); !saved) {
    m_shell.Dialogs().ShowError(this, dialog->failure, QString::fromLocal8Bit(saved.Reason().c_str()));
    return;
  }
  if (dialog->rememberFile) m_shell.AddToRecentFileList(child->PathName());
}

void CMainFrame::OnFilePrint(bool preview) {
  CChildWindow* child = ActiveChild();
  if (!child) return;
  // The window may close while a dialog is up.
  QPointer<QWidget> alive = child->Widget();
  const CShellDialogs::Render render = [alive, child](QPrinter& printer, const QString&) {
    if (alive) child->Render(printer);
  };
  if (preview)
    m_shell.Dialogs().PrintPreview(this, m_shell.Printer(), render, child->PathName());
  else
    m_shell.Dialogs().Print(this, m_shell.Printer(), render, child->PathName());
}

void CMainFrame::OnWindowNew() {
  CChildWindow* child = ActiveChild();
  if (!child || !child->OffersNewWindow()) return;
  if (CChildWindow* another = child->NewWindow()) AddChildWindow(another);
}

void CMainFrame::OnWindowCrossplot() {
  if (auto* las = dynamic_cast<CLasWindow*>(ActiveChild())) las->OpenCrossplot();
}

bool CMainFrame::DepthsLinked() const { return Action(Command::WindowLinkDepths)->isChecked(); }

void CMainFrame::OnLinkDepths(bool on) {
  m_depthLink.Clear();
  if (!on) return;
  // The active LAS window leads; the others take its depths.
  if (auto* active = dynamic_cast<CLasWindow*>(ActiveChild())) m_depthLink.Add(active->Session(), true);
  for (CChildWindow* child : Children())
    if (auto* las = dynamic_cast<CLasWindow*>(child)) m_depthLink.Add(las->Session());
}

QList<QAction*> CMainFrame::WindowListActions() {
  for (QAction* action : m_windowList) {
    m_windowMenu->removeAction(action);
    action->deleteLater();
  }
  m_windowList.clear();
  const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
  if (!windows.isEmpty()) m_windowList.append(m_windowMenu->addSeparator());
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows.at(i);
    QString title = window->windowTitle();
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* entry =
        m_windowMenu->addAction((i < 9 ? QStringLiteral("&%1 ") : QStringLiteral("%1 ")).arg(i + 1) + title);
    entry->setCheckable(true);
    entry->setChecked(window == m_mdiArea->activeSubWindow());
    entry->setStatusTip(QStringLiteral("Activate this window"));
    connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
      if (window) m_mdiArea->setActiveSubWindow(window);
    });
    m_windowList.append(entry);
  }
  return m_windowList.mid(windows.isEmpty() ? 0 : 1);
}

void CMainFrame::OnWindowArrange() {
  // Minimised document windows line up along the bottom edge of the document area.
  const QRect area = m_mdiArea->viewport()->rect();
  int x = 0;
  int rowTop = area.bottom();
  for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
    if (!window->isMinimized()) continue;
    const QSize size = window->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      rowTop -= size.height();
    }
    window->move(x, rowTop - size.height() + 1);
    x += size.width();
  }
}

QStringList CMainFrame::DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (FileKindOf(path) != FileKind::Other) files.append(path);
  }
  return files;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  CWizardSettings(&m_shell.Settings()).SaveGeometry(*this, QLatin1String(kMainWindowPlace));
  QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  activateWindow();
  // A configuration file opens a document window, a LAS file its plot.
  for (const QString& file : files) m_shell.OpenFile(file);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip:
      if (watched->parent() == m_toolBar || watched->parent() == m_plotToolBar) return true;
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      TrackLockKeys(watched, event);
      auto* key = static_cast<QKeyEvent*>(event);
      // Shift+F1 inside a modal window over the main window (the wizard) starts
      // context help too; the main window's own key handles it elsewhere.
      if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_F1 &&
          key->modifiers() == Qt::ShiftModifier && watched->isWidgetType()) {
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window != this && window == QApplication::activeModalWidget()) {
          OnContextHelp();
          return true;
        }
      }
      break;
    }
    case QEvent::EnterWhatsThisMode:
      if (watched == this) statusBar()->showMessage(QLatin1String(kContextHelpPrompt));
      break;
    case QEvent::LeaveWhatsThisMode:
      if (watched == this) statusBar()->clearMessage();
      break;
    case QEvent::StatusTip:
      // A prompt that ends during context help gives way to the context-help prompt.
      if (watched == this && QWhatsThis::inWhatsThisMode() &&
          static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        statusBar()->showMessage(QLatin1String(kContextHelpPrompt));
        return true;
      }
      break;
    case QEvent::QueryWhatsThis:
      // Every window can be asked: the help decides what it has to say.
      event->accept();
      return true;
    case QEvent::WhatsThis: {
      if (!watched->isWidgetType()) break;
      auto* widget = static_cast<QWidget*>(watched);
      // A control with a note of its own (the wizard's) shows that note the usual
      // way; the rest of a window shows the help of the window.
      if (HasOwnWhatsThis(widget)) {
        m_contextHelpFlag = false;
        break;
      }
      const unsigned long context = HelpContextOf(widget);
      QPointer<QWidget> owner = widget->window();
      event->accept();
      // The mode ends and the help shows once the click that chose the window is over.
      QTimer::singleShot(0, this, [this, context, owner] {
        if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
        m_shell.WinHelp(context, HelpCommand::Context, owner ? owner.data() : this);
      });
      return true;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace corvane
