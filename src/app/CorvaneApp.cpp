#include "app/CorvaneApp.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <type_traits>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/CorvaneDoc.h"
#include "app/CorvaneView.h"
#include "app/HelpTopics.h"
#include "app/HelpViewer.h"
#include "app/MainFrame.h"
#include "app/ManualHelp.h"
#include "app/RecentFileList.h"
#include "app/ShellDialogs.h"
#include "lasview/CrossplotWindow.h"
#include "lasview/LasWindow.h"
#include "platform/ProgramInfo.h"
#include "plot/PlotSettings.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step4Page.h"
#include "wizard/WizardServices.h"
#include "wizard/WizardSettings.h"

namespace corvane {
namespace {

CCorvaneApp* g_instance = nullptr;

// The wizard's help requests (its Help button, F1 on its pages).
void WizardHelpHandler(QWidget* owner, const QString& topic) {
  if (g_instance) g_instance->ShowHelpTopic(owner, topic);
}

}  // namespace

CCorvaneApp::CCorvaneApp() : CCorvaneApp(Options{}) {}

CCorvaneApp::CCorvaneApp(Options options) : m_options(std::move(options)) {
  g_instance = this;
  if (m_options.settingsFile.isEmpty())
    m_settings = std::make_unique<QSettings>(QString::fromLatin1(kAppTitle), QString::fromLatin1(kAppTitle));
  else
    m_settings = std::make_unique<QSettings>(m_options.settingsFile, QSettings::IniFormat);
  m_recentFiles = std::make_unique<CRecentFileList>(CRecentFileList::kDefaultSize);
  if (m_options.dialogs) {
    m_dialogs = m_options.dialogs;
  } else {
    m_ownedDialogs = std::make_unique<CQtShellDialogs>();
    m_dialogs = m_ownedDialogs.get();
  }
}

CCorvaneApp::~CCorvaneApp() {
  m_mainFrame.reset();
  m_ownedHelp.reset();
  if (g_instance == this) {
    g_instance = nullptr;
    CQtWizardServices::SetHelpHandler(nullptr);
  }
}

CCorvaneApp* CCorvaneApp::Instance() { return g_instance; }

bool CCorvaneApp::InitInstance() {
  const QString exeDir =
      m_options.executableDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_options.executableDir;
  m_helpFilePath = BuildHelpFilePath(exeDir);
  if (m_options.help) {
    m_help = m_options.help;
  } else {
    m_ownedHelp = std::make_unique<CManualHelp>(m_helpFilePath);
    m_help = m_ownedHelp.get();
  }
  CQtWizardServices::SetHelpHandler(&WizardHelpHandler);
  // No application display name: the desktop platforms would append it to every
  // window title ("Corvane 2018 - Corvane", "System Message - Corvane").
  QGuiApplication::setWindowIcon(CorvaneIcon());

  m_recentFiles->Load(*m_settings);

  m_mainFrame = std::make_unique<CMainFrame>(*this);
  // Maximised the first time; afterwards as the user left it.
  if (CWizardSettings(m_settings.get()).RestoreGeometry(*m_mainFrame, QLatin1String(kMainWindowPlace)))
    m_mainFrame->show();
  else
    m_mainFrame->showMaximized();
  m_mainFrame->repaint();
  return true;
}

QPrinter& CCorvaneApp::Printer() {
  if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
  return *m_printer;
}

void CCorvaneApp::WinHelp(unsigned long data, HelpCommand command, QWidget* owner) {
  if (!m_help) return;
  if (!owner) owner = m_mainFrame.get();
  switch (command) {
    case HelpCommand::Context: {
      const bool contextHelp = m_mainFrame && m_mainFrame->ContextHelpFlag();
      if (const auto topic = ContextTopicNumber(data)) {
        if (contextHelp) {
          m_help->ShowPopup(owner, *topic, QCursor::pos());
          m_mainFrame->SetContextHelpFlag(false);
        } else {
          m_help->ShowTopicNumber(owner, *topic);
        }
      } else if (!contextHelp) {
        m_help->ShowTopic(owner, QLatin1String(kIndexHelpTopic));
      }
      return;
    }
    case HelpCommand::Index:
    case HelpCommand::Finder:
    case HelpCommand::HelpOnHelp:
      m_help->ShowTopic(owner, QLatin1String(kIndexHelpTopic));
      return;
    case HelpCommand::Quit:
    case HelpCommand::Other:
      return;
  }
}

void CCorvaneApp::ShowHelpTopic(QWidget* owner, const QString& topic) {
  if (m_help) m_help->ShowTopic(owner ? owner : m_mainFrame.get(), topic);
}

void CCorvaneApp::OnFileNew() { RunWizard(QString()); }

void CCorvaneApp::OnFileOpen() {
  CWizardSettings memory(m_settings.get());
  const QString path =
      m_dialogs->GetOpenFileName(m_mainFrame.get(), QStringLiteral("Open Configuration File"),
                                 QStringLiteral("LAS Header Files (*.lah);;All Files (*)"),
                                 memory.InitialName({}, QStringLiteral("*.lah")), QStringLiteral("lah"));
  if (path.isEmpty()) return;
  memory.RememberFolderOf(path);
  RunWizard(path);  // the chosen file stays off the recent-file list
}

void CCorvaneApp::RunWizard(const QString& configFilePath) {
  auto sheet = std::make_unique<CCorvanePropSheet>(m_mainFrame.get(), m_options.wizardServices);
  if (!configFilePath.isEmpty()) sheet->Setup().configFilePath = configFilePath.toStdString();
  sheet->SetSettings(m_settings.get());
  emit WizardStarting(sheet.get());
  sheet->exec();
  // The sheet, its pages and the setup go; the main window stays as it was, unless
  // "Plot LAS" asked for the plot of the LAS file.
  const QString plot = sheet->Step4().PlotRequest();
  sheet.reset();
  if (!plot.isEmpty()) OpenLasFile(plot);
}

void CCorvaneApp::OnFileOpenLas() {
  const QString path = m_dialogs->GetOpenFileName(m_mainFrame.get(), QStringLiteral("Open LAS File"),
                                                  QStringLiteral("LAS Files (*.las);;All Files (*)"),
                                                  QStringLiteral("*.las"), QStringLiteral("las"));
  if (!path.isEmpty()) OpenLasFile(path);
}

QString CCorvaneApp::PlotTemplateDir() const {
  return m_options.plotTemplateDir.isEmpty() ? DefaultTemplateFolder() : m_options.plotTemplateDir;
}

CLasWindow* CCorvaneApp::OpenLasFile(const QString& path) {
  if (!m_mainFrame || path.isEmpty()) return nullptr;
  for (CChildWindow* child : m_mainFrame->Children())
    if (auto* open = dynamic_cast<CLasWindow*>(child); open && open->IsSameFile(path)) {
      m_mainFrame->Activate(open);
      AddToRecentFileList(open->PathName());
      return open;
    }
  auto* window = new CLasWindow(path, *m_dialogs, PlotTemplateDir());
  if (const CResult opened = window->Open(); !opened) {
    delete window;
    m_recentFiles->Remove(path);
    SaveRecentFileList();
    m_dialogs->ShowError(
        m_mainFrame.get(), QStringLiteral("Failed to open LAS file."),
        QDir::toNativeSeparators(path) + ": " + QString::fromLocal8Bit(opened.Reason().c_str()));
    return nullptr;
  }
  connect(window, &CLasWindow::LoadFailed, this, [this, window](const QString& reason) {
    m_dialogs->ShowError(window, QStringLiteral("Failed to open LAS file."),
                         QDir::toNativeSeparators(window->PathName()) + ": " + reason);
  });
  // The readout under the pointer stands in the status bar while the window is there;
  // the window's crossplots go into the document area beside it.
  QStatusBar* status = m_mainFrame->statusBar();
  auto place = [this, status](auto* child) {
    connect(child, &std::remove_pointer_t<decltype(child)>::ReadoutChanged, status,
            [status](const QString& text) {
              if (text.isEmpty())
                status->clearMessage();
              else
                status->showMessage(text);
            });
    QMdiSubWindow* frameWindow = m_mainFrame->AddChildWindow(child);
    connect(frameWindow, &QObject::destroyed, status, &QStatusBar::clearMessage);
  };
  place(window);
  connect(window, &CLasWindow::CrossplotOpened, this, place);
  AddToRecentFileList(window->PathName());
  return window;
}

void CCorvaneApp::OpenFile(const QString& path) {
  if (FileKindOf(path) == FileKind::Las)
    OpenLasFile(path);
  else
    OpenDocumentFile(path);
}

void CCorvaneApp::OpenCommandLine(const QStringList& files) {
  for (const QString& file : files) {
    const FileKind kind = FileKindOf(file);
    if (kind == FileKind::Las) {
      OpenLasFile(file);
    } else if (kind == FileKind::Configuration) {
      RunWizard(QFileInfo(file).absoluteFilePath());
    } else {
      m_dialogs->ShowError(
          m_mainFrame.get(),
          QStringLiteral("Corvane opens LAS files (.las) and configuration files (.lah) only."),
          QDir::toNativeSeparators(file) + QStringLiteral(" was not opened."));
    }
  }
}

void CCorvaneApp::OnAppAbout() {
  CAboutDlg about(m_mainFrame.get());
  about.exec();
}

void CCorvaneApp::OnFilePrintSetup() { m_dialogs->PageSetup(m_mainFrame.get(), Printer()); }

CCorvaneDoc* CCorvaneApp::OpenDocumentFile(const QString& path) {
  if (!m_mainFrame || path.isEmpty()) return nullptr;
  for (CChildWindow* child : m_mainFrame->Children())
    if (auto* view = dynamic_cast<CCorvaneView*>(child); view && view->IsSameFile(path)) {
      m_mainFrame->Activate(view);
      AddToRecentFileList(view->PathName());
      return view->Doc();
    }
  // The document goes with the last of its windows.
  auto doc = std::make_shared<CCorvaneDoc>();
  if (!doc->OnOpenDocument(path)) {
    m_recentFiles->Remove(path);
    SaveRecentFileList();
    m_dialogs->ShowError(m_mainFrame.get(), QStringLiteral("Failed to open document."));
    return nullptr;
  }
  m_mainFrame->AddChildWindow(new CCorvaneView(doc));
  AddToRecentFileList(doc->PathName());
  return doc.get();
}

void CCorvaneApp::AddToRecentFileList(const QString& path) {
  m_recentFiles->Add(path);
  SaveRecentFileList();
}

void CCorvaneApp::SaveRecentFileList() {
  m_recentFiles->Save(*m_settings);
  if (m_mainFrame) m_mainFrame->UpdateRecentFileMenu();
}

}  // namespace corvane
