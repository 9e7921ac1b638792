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
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include "app/AppIcon.h"
#include "app/CorvaneApp.h"
#include "app/CorvaneDoc.h"
#include "app/CorvaneView.h"
#include "app/HelpTopics.h"
#include "app/LasWindow.h"
#include "app/RecentFileList.h"
#include "app/ShellDialogs.h"
#include "platform/ProgramInfo.h"
#include "wizard/WizardPage.h"
#include "wizard/WizardSettings.h"

namespace corvane {
namespace {

// Resource numbers of the main window and of the document windows, as context help
// numbers them.
constexpr unsigned kMainFrameResource = 2;
constexpr unsigned kDocumentResource = 3;
constexpr unsigned kLasWindowResource = kLasWindowHelpResource;
const char* const kHelpContextProperty = "corvaneHelpContext";

// Lock bits of the native key state (X11 and Wayland keyboard state masks).
constexpr quint32 kNativeCapsLock = 0x02;
constexpr quint32 kNativeNumLock = 0x10;

// Toolbar pictures for the commands that the style has none for, drawn on 16 x 16.
enum class Picture { Cut, Copy, Paste, Print, Help, Plot, SavePlot };

QIcon DrawnIcon(Picture picture) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QPen ink(QColor(0x30, 0x30, 0x30), 1.2);
  p.setPen(ink);
  switch (picture) {
    case Picture::Cut:
      p.drawLine(QLineF(4, 1, 10, 10));
      p.drawLine(QLineF(12, 1, 6, 10));
      p.drawEllipse(QRectF(2, 10, 4.5, 4.5));
      p.drawEllipse(QRectF(9.5, 10, 4.5, 4.5));
      break;
    case Picture::Copy:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      break;
    case Picture::Paste:
      p.setBrush(QColor(0xc8, 0xa0, 0x60));
      p.drawRect(QRectF(2.5, 2.5, 10, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5.5, 1.5, 4, 3));
      p.drawRect(QRectF(7.5, 7.5, 7, 7));
      break;
    case Picture::Print:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 1.5, 7, 5));
      p.setBrush(QColor(0xb0, 0xb0, 0xb0));
      p.drawRect(QRectF(1.5, 6.5, 13, 6));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 10.5, 7, 4));
      break;
    case Picture::Plot:
    case Picture::SavePlot: {
      // A track with a log curve; saving adds a disk corner.
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 0.5, 11, 15));
      QPainterPath curve;
      curve.moveTo(7, 1);
      curve.cubicTo(12, 4, 4, 7, 9, 9);
      curve.cubicTo(12, 11, 5, 13, 8, 15);
      p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawPath(curve);
      if (picture == Picture::SavePlot) {
        p.setPen(ink);
        p.setBrush(QColor(0x1d, 0x5c, 0x63));
        p.drawRect(QRectF(8.5, 9.5, 6, 6));
      }
      break;
    }
    case Picture::Help: {
      QFont font = p.font();
      font.setPixelSize(14);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(0x1d, 0x5c, 0x63));
      p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
  }
  return QIcon(pixmap);
}

QIcon ToolIcon(const QString& theme, QStyle::StandardPixmap standard, Picture picture, const QStyle* style) {
  QIcon icon = theme.isEmpty() ? QIcon() : QIcon::fromTheme(theme);
  if (icon.isNull() && standard != QStyle::SP_CustomBase) icon = style->standardIcon(standard);
  if (icon.isNull()) icon = DrawnIcon(picture);
  return icon;
}

}  // namespace

CMainFrame::CMainFrame(CCorvaneApp& app) : m_app(app) {
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

QAction* CMainFrame::MakeAction(Command command, const QString& text, const QString& prompt) {
  auto* action = new QAction(text, this);
  action->setStatusTip(prompt);
  m_actions.insert(command, action);
  addAction(action);  // its keys work whichever menu set is shown
  return action;
}

void CMainFrame::CreateActions() {
  const QStyle* st = style();
  using K = QKeySequence;
  auto* fileNew =
      MakeAction(Command::FileNew, QStringLiteral("&New\tCtrl+N"), QStringLiteral("Create a new document"));
  fileNew->setShortcut(K(Qt::CTRL | Qt::Key_N));
  fileNew->setIcon(ToolIcon(QStringLiteral("document-new"), QStyle::SP_FileIcon, Picture::Help, st));
  connect(fileNew, &QAction::triggered, &m_app, &CCorvaneApp::OnFileNew);

  auto* fileOpen = MakeAction(Command::FileOpen, QStringLiteral("&Open...\tCtrl+O"),
                              QStringLiteral("Open an existing document"));
  fileOpen->setShortcut(K(Qt::CTRL | Qt::Key_O));
  fileOpen->setIcon(
      ToolIcon(QStringLiteral("document-open"), QStyle::SP_DialogOpenButton, Picture::Help, st));
  connect(fileOpen, &QAction::triggered, &m_app, &CCorvaneApp::OnFileOpen);

  auto* openLas = MakeAction(Command::FileOpenLas, QStringLiteral("Open &LAS File...\tCtrl+L"),
                             QStringLiteral("Open a LAS file and plot its logs"));
  openLas->setShortcut(K(Qt::CTRL | Qt::Key_L));
  openLas->setIcon(DrawnIcon(Picture::Plot));
  connect(openLas, &QAction::triggered, &m_app, &CCorvaneApp::OnFileOpenLas);

  auto* close =
      MakeAction(Command::FileClose, QStringLiteral("&Close"), QStringLiteral("Close the active document"));
  connect(close, &QAction::triggered, this, [this] {
    if (ActiveLasWindow()) {
      m_mdiArea->activeSubWindow()->close();
      return;
    }
    if (CCorvaneDoc* doc = ActiveDocument())
      for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* view = qobject_cast<CCorvaneView*>(window->widget()); view && view->Document() == doc)
          window->close();
  });

  auto* save = MakeAction(Command::FileSave, QStringLiteral("&Save\tCtrl+S"),
                          QStringLiteral("Save the active document"));
  save->setShortcut(K(Qt::CTRL | Qt::Key_S));
  save->setIcon(ToolIcon(QStringLiteral("document-save"), QStyle::SP_DialogSaveButton, Picture::Help, st));
  connect(save, &QAction::triggered, this, &CMainFrame::OnFileSave);

  auto* saveAs = MakeAction(Command::FileSaveAs, QStringLiteral("Save &As..."),
                            QStringLiteral("Save the active document with a new name"));
  connect(saveAs, &QAction::triggered, this, &CMainFrame::OnFileSaveAs);

  auto* savePlot =
      MakeAction(Command::FileSavePlotAs, QStringLiteral("Save P&lot As..."),
                 QStringLiteral("Save the plot of the active LAS window as a PNG, SVG or PDF file"));
  savePlot->setIcon(DrawnIcon(Picture::SavePlot));
  connect(savePlot, &QAction::triggered, this, &CMainFrame::OnFileSavePlotAs);

  auto* print = MakeAction(Command::FilePrint, QStringLiteral("&Print...\tCtrl+P"),
                           QStringLiteral("Print the active document"));
  print->setShortcut(K(Qt::CTRL | Qt::Key_P));
  print->setIcon(ToolIcon(QStringLiteral("document-print"), QStyle::SP_CustomBase, Picture::Print, st));
  connect(print, &QAction::triggered, this, &CMainFrame::OnFilePrint);

  auto* preview = MakeAction(Command::FilePrintPreview, QStringLiteral("Print Pre&view"),
                             QStringLiteral("Display full pages"));
  connect(preview, &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);

  auto* printSetup = MakeAction(Command::FilePrintSetup, QStringLiteral("P&rint Setup..."),
                                QStringLiteral("Change the printer and printing options"));
  connect(printSetup, &QAction::triggered, &m_app, &CCorvaneApp::OnFilePrintSetup);

  auto* exit = MakeAction(Command::FileExit, QStringLiteral("E&xit"),
                          QStringLiteral("Quit the application; prompts to save documents"));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  // The edit commands have no handler: the documents hold nothing to edit.
  auto* undo =
      MakeAction(Command::EditUndo, QStringLiteral("&Undo\tCtrl+Z"), QStringLiteral("Undo the last action"));
  undo->setShortcuts({K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)});
  auto* cut = MakeAction(Command::EditCut, QStringLiteral("Cu&t\tCtrl+X"),
                         QStringLiteral("Cut the selection and put it on the Clipboard"));
  cut->setShortcuts({K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)});
  cut->setIcon(ToolIcon(QStringLiteral("edit-cut"), QStyle::SP_CustomBase, Picture::Cut, st));
  auto* copy = MakeAction(Command::EditCopy, QStringLiteral("&Copy\tCtrl+C"),
                          QStringLiteral("Copy the selection and put it on the Clipboard"));
  copy->setShortcuts({K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)});
  copy->setIcon(ToolIcon(QStringLiteral("edit-copy"), QStyle::SP_CustomBase, Picture::Copy, st));
  auto* paste = MakeAction(Command::EditPaste, QStringLiteral("&Paste\tCtrl+V"),
                           QStringLiteral("Insert Clipboard contents"));
  paste->setShortcuts({K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)});
  paste->setIcon(ToolIcon(QStringLiteral("edit-paste"), QStyle::SP_CustomBase, Picture::Paste, st));
  for (QAction* edit : {undo, cut, copy, paste}) edit->setEnabled(false);

  auto* viewToolbar = MakeAction(Command::ViewToolbar, QStringLiteral("&Toolbar"),
                                 QStringLiteral("Show or hide the toolbar"));
  viewToolbar->setCheckable(true);
  viewToolbar->setChecked(true);
  auto* viewStatus = MakeAction(Command::ViewStatusBar, QStringLiteral("&Status Bar"),
                                QStringLiteral("Show or hide the status bar"));
  viewStatus->setCheckable(true);
  viewStatus->setChecked(true);

  auto* windowNew = MakeAction(Command::WindowNew, QStringLiteral("&New Window"),
                               QStringLiteral("Open another window for the active document"));
  connect(windowNew, &QAction::triggered, this, &CMainFrame::OnWindowNew);
  auto* cascade = MakeAction(Command::WindowCascade, QStringLiteral("&Cascade"),
                             QStringLiteral("Arrange windows so they overlap"));
  connect(cascade, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
  auto* tile = MakeAction(Command::WindowTile, QStringLiteral("&Tile"),
                          QStringLiteral("Arrange windows as non-overlapping tiles"));
  connect(tile, &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
  auto* arrange = MakeAction(Command::WindowArrange, QStringLiteral("&Arrange Icons"),
                             QStringLiteral("Arrange icons at the bottom of the window"));
  connect(arrange, &QAction::triggered, this, &CMainFrame::OnWindowArrange);

  auto* index = MakeAction(Command::HelpIndex, QStringLiteral("&Index"), QStringLiteral("List Help topics"));
  connect(index, &QAction::triggered, this, [this] { m_app.WinHelp(0, HelpCommand::Index, this); });
  auto* usingHelp = MakeAction(Command::HelpUsing, QStringLiteral("&Using Help"),
                               QStringLiteral("Display instructions about how to use help"));
  connect(usingHelp, &QAction::triggered, this, [this] { m_app.WinHelp(0, HelpCommand::HelpOnHelp, this); });
  auto* about = MakeAction(Command::AppAbout, QStringLiteral("&About Corvane..."),
                           QStringLiteral("Display program information, version number and copyright"));
  about->setIcon(CorvaneIcon());
  connect(about, &QAction::triggered, &m_app, &CCorvaneApp::OnAppAbout);

  auto* help = MakeAction(Command::Help, QStringLiteral("Help"),
                          QStringLiteral("Display help for current task or command"));
  help->setShortcut(K(Qt::Key_F1));
  connect(help, &QAction::triggered, this, &CMainFrame::OnHelp);
  auto* contextHelp = MakeAction(Command::ContextHelp, QStringLiteral("Context Help"),
                                 QStringLiteral("Display help for clicked buttons, menus and windows"));
  contextHelp->setShortcut(K(Qt::SHIFT | Qt::Key_F1));
  contextHelp->setIcon(ToolIcon(QString(), QStyle::SP_TitleBarContextHelpButton, Picture::Help, st));
  connect(contextHelp, &QAction::triggered, this, &CMainFrame::OnContextHelp);

  auto* nextPane = MakeAction(Command::NextPane, QStringLiteral("Next Pane"),
                              QStringLiteral("Switch to the next window pane"));
  nextPane->setShortcut(K(Qt::Key_F6));
  connect(nextPane, &QAction::triggered, m_mdiArea, &QMdiArea::activateNextSubWindow);
  auto* prevPane = MakeAction(Command::PrevPane, QStringLiteral("Previous Pane"),
                              QStringLiteral("Switch back to the previous window pane"));
  prevPane->setShortcut(K(Qt::SHIFT | Qt::Key_F6));
  connect(prevPane, &QAction::triggered, m_mdiArea, &QMdiArea::activatePreviousSubWindow);

  for (int i = 0; i < m_app.RecentFiles().Size(); ++i) {
    auto* entry = new QAction(this);
    entry->setStatusTip(QStringLiteral("Open this document"));
    connect(entry, &QAction::triggered, this, [this, i] {
      const QStringList& entries = m_app.RecentFiles().Entries();
      if (i < entries.size()) m_app.OpenFile(entries.at(i));
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
                             QVariant::fromValue<qulonglong>(kResourceHelpBase + kLasWindowResource));
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
  const CRecentFileList& list = m_app.RecentFiles();
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
                          Command::WindowTile, Command::WindowArrange})
    Action(command)->setEnabled(documentOpen);
  // A LAS window has no configuration to save or to open again; its plot is saved as a picture.
  const QMdiSubWindow* active = m_mdiArea->activeSubWindow();
  const bool lasActive =
      active != nullptr && active != closing && qobject_cast<CLasWindow*>(active->widget());
  for (Command command : {Command::FileSave, Command::FileSaveAs, Command::WindowNew})
    if (lasActive) Action(command)->setEnabled(false);
  Action(Command::FileSavePlotAs)->setEnabled(lasActive);
  if (set == m_menuSet) return;
  m_menuSet = set;
  menuBar()->clear();
  for (QMenu* menu : set == 3 ? m_menus3 : m_menus2) menuBar()->addMenu(menu);
}

QMdiSubWindow* CMainFrame::AddDocumentWindow(CCorvaneDoc* document) {
  auto* view = new CCorvaneView(document);
  view->setProperty(kHelpContextProperty,
                    QVariant::fromValue<qulonglong>(kResourceHelpBase + kDocumentResource));
  QMdiSubWindow* window = m_mdiArea->addSubWindow(view);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(CorvaneIcon());
  auto retitle = [this, document] {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList())
      if (auto* v = qobject_cast<CCorvaneView*>(w->widget()); v && v->Document() == document)
        windows.append(w);
    for (int i = 0; i < windows.size(); ++i)
      windows.at(i)->setWindowTitle(
          windows.size() > 1 ? QStringLiteral("%1:%2").arg(document->Title()).arg(i + 1) : document->Title());
  };
  connect(document, &CCorvaneDoc::PathNameChanged, window, retitle);
  connect(window, &QObject::destroyed, this, [this, window, document, retitle] {
    UpdateMenus(window);
    // The document goes with its last window.
    bool hasWindow = false;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList())
      if (w != window)
        if (auto* v = qobject_cast<CCorvaneView*>(w->widget()); v && v->Document() == document)
          hasWindow = true;
    if (!hasWindow)
      document->deleteLater();
    else
      QTimer::singleShot(0, this, retitle);
  });
  window->resize(480, 320);
  window->show();
  m_mdiArea->setActiveSubWindow(window);
  retitle();
  UpdateMenus();
  return window;
}

QMdiSubWindow* CMainFrame::AddLasWindow(CLasWindow* lasWindow) {
  lasWindow->setProperty(kHelpContextProperty,
                         QVariant::fromValue<qulonglong>(kResourceHelpBase + kLasWindowResource));
  QMdiSubWindow* window = m_mdiArea->addSubWindow(lasWindow);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(CorvaneIcon());
  window->setWindowTitle(lasWindow->Title());
  connect(lasWindow, &CLasWindow::ReadoutChanged, this, [this](const QString& text) {
    if (text.isEmpty())
      statusBar()->clearMessage();
    else
      statusBar()->showMessage(text);
  });
  connect(window, &QObject::destroyed, this, [this, window] {
    statusBar()->clearMessage();
    UpdateMenus(window);
  });
  window->resize(m_mdiArea->viewport()->size().expandedTo(QSize(640, 480)));
  window->show();
  m_mdiArea->setActiveSubWindow(window);
  UpdateMenus();
  return window;
}

CLasWindow* CMainFrame::ActiveLasWindow() const {
  QMdiSubWindow* window = m_mdiArea->currentSubWindow();
  return window ? qobject_cast<CLasWindow*>(window->widget()) : nullptr;
}

CLasWindow* CMainFrame::FindLasWindow(const QString& path) const {
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (auto* las = qobject_cast<CLasWindow*>(window->widget()); las && las->IsSameFile(path)) return las;
  return nullptr;
}

void CMainFrame::ActivateWindowOf(QWidget* content) {
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (window->widget() == content) m_mdiArea->setActiveSubWindow(window);
}

CCorvaneView* CMainFrame::ActiveView() const {
  QMdiSubWindow* window = m_mdiArea->currentSubWindow();
  return window ? qobject_cast<CCorvaneView*>(window->widget()) : nullptr;
}

CCorvaneDoc* CMainFrame::ActiveDocument() const {
  CCorvaneView* view = ActiveView();
  return view ? view->Document() : nullptr;
}

CCorvaneDoc* CMainFrame::FindDocument(const QString& path) const {
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (auto* view = qobject_cast<CCorvaneView*>(window->widget()))
      if (view->Document() && view->Document()->IsSameFile(path)) return view->Document();
  return nullptr;
}

void CMainFrame::ActivateDocument(CCorvaneDoc* document) {
  for (QMdiSubWindow* window : m_mdiArea->subWindowList())
    if (auto* view = qobject_cast<CCorvaneView*>(window->widget()); view && view->Document() == document) {
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
  // A LAS window has a page of its own.
  m_app.ShowHelpTopic(this, QLatin1String(ActiveLasWindow() ? kLasWindowHelpTopic : kMainHelpTopic));
}

void CMainFrame::OnContextHelp() {
  m_contextHelpFlag = true;
  if (!QWhatsThis::inWhatsThisMode()) QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::OnFileSave() {
  // A document of a configuration file is never modified: there is nothing to write,
  // and its file stays as it is.
}

void CMainFrame::OnFileSaveAs() {
  CCorvaneDoc* doc = ActiveDocument();
  if (!doc) return;
  const QString path = m_app.Dialogs().GetSaveFileName(this, QStringLiteral("Save As"),
                                                       QStringLiteral("Header Files (*.lah);;All Files (*)"),
                                                       doc->PathName(), QStringLiteral("lah"));
  if (path.isEmpty()) return;
  if (!doc->OnSaveDocument(path)) {
    m_app.Dialogs().ShowError(this, QStringLiteral("Failed to save document."));
    return;
  }
  m_app.AddToRecentFileList(doc->PathName());
}

void CMainFrame::OnFilePrint() {
  if (CLasWindow* las = ActiveLasWindow()) {
    QPointer<CLasWindow> window = las;
    m_app.Dialogs().Print(
        this, m_app.Printer(),
        [window](QPrinter& printer, const QString&) {
          if (window) window->Render(printer);
        },
        las->PathName());
    return;
  }
  if (CCorvaneDoc* doc = ActiveDocument())
    m_app.Dialogs().Print(this, m_app.Printer(), &CCorvaneView::Render, doc->PathName());
}

void CMainFrame::OnFilePrintPreview() {
  if (CLasWindow* las = ActiveLasWindow()) {
    QPointer<CLasWindow> window = las;
    m_app.Dialogs().PrintPreview(
        this, m_app.Printer(),
        [window](QPrinter& printer, const QString&) {
          if (window) window->Render(printer);
        },
        las->PathName());
    return;
  }
  if (CCorvaneDoc* doc = ActiveDocument())
    m_app.Dialogs().PrintPreview(this, m_app.Printer(), &CCorvaneView::Render, doc->PathName());
}

void CMainFrame::OnFileSavePlotAs() {
  CLasWindow* las = ActiveLasWindow();
  if (!las) return;
  const QString initial =
      QFileInfo(las->PathName()).dir().filePath(QFileInfo(las->PathName()).completeBaseName() + ".png");
  const QString path = m_app.Dialogs().GetSaveFileName(
      this, QStringLiteral("Save Plot As"),
      QStringLiteral("PNG Pictures (*.png);;SVG Pictures (*.svg);;PDF Files (*.pdf)"), initial,
      QStringLiteral("png"));
  if (path.isEmpty()) return;
  QString error;
  if (!las->SavePlot(path, &error))
    m_app.Dialogs().ShowError(this, QStringLiteral("Failed to save the plot."), error);
}

void CMainFrame::OnWindowNew() {
  if (CCorvaneDoc* doc = ActiveDocument()) AddDocumentWindow(doc);
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
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("lah"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("las"), Qt::CaseInsensitive) == 0)
      files.append(path);
  }
  return files;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  CWizardSettings(&m_app.Settings()).SaveGeometry(*this, QLatin1String(kMainWindowPlace));
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
  for (const QString& file : files) m_app.OpenFile(file);
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
        m_app.WinHelp(context, HelpCommand::Context, owner ? owner.data() : this);
      });
      return true;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace corvane
