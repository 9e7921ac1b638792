#pragma once
// The application object: builds the help file path at start-up, keeps the recent-file
// list and the printer settings, runs the commands of the application (File New, File
// Open, About) and answers every help request of the program.
#include <QObject>
#include <QString>
#include <memory>

#include "app/ShellServices.h"

class QPrinter;
class QSettings;
class QWidget;

namespace corvane {

class CCorvaneDoc;
class CHelpDisplay;
class CLasWindow;
class CMainFrame;
class CRecentFileList;
class CShellDialogs;
class CWizardServices;

class CCorvaneApp : public QObject, public CShellServices {
  Q_OBJECT
 public:
  // Everything the application asks of the desktop; null members mean the on-screen
  // ones. Tests give their own.
  struct Options {
    QString executableDir;  // empty: the folder of the running program
    QString settingsFile;   // empty: the user's "Corvane"/"Corvane" settings
    CShellDialogs* dialogs = nullptr;
    CWizardServices* wizardServices = nullptr;
    CHelpDisplay* help = nullptr;
    QString plotTemplateDir;  // empty: the user's "Corvane/plot-templates" folder
  };

  CCorvaneApp();
  explicit CCorvaneApp(Options options);
  ~CCorvaneApp() override;

  // The running application object (help requests of the wizard reach it through this).
  static CCorvaneApp* Instance();

  // Start-up: the help file path, the recent-file list, the main window, shown
  // maximised. False when the main window could not be made.
  bool InitInstance();
  // The files named on the program's command line, once the main window is up: a LAS
  // file (".las") opens its window, a configuration file (".lah") the wizard on it as
  // File Open does, anything else is reported and left alone.
  void OpenCommandLine(const QStringList& files);

  const QString& HelpFilePath() const { return m_helpFilePath; }
  CMainFrame* MainFrame() const { return m_mainFrame.get(); }
  CRecentFileList& RecentFiles() override { return *m_recentFiles; }
  QPrinter& Printer() override;
  CShellDialogs& Dialogs() override { return *m_dialogs; }
  CHelpDisplay& Help() { return *m_help; }
  // The settings store: recent files, the windows' size and place, the last folder.
  QSettings& Settings() override { return *m_settings; }

  // The answer to a help request. For a context number only its low 16 bits count:
  // a known context shows its popup while context help is on (and turns it off), or
  // jumps to its page otherwise; an unknown one shows the index unless context help is
  // on. Index, finder and help on help show the index; other requests do nothing.
  void WinHelp(unsigned long data, HelpCommand command, QWidget* owner = nullptr) override;
  // A topic of the manual in the help window, owned by `owner`.
  void ShowHelpTopic(QWidget* owner, const QString& topic) override;

  // A document window for a configuration file (recent list, dropped files); an open
  // document of the same file is activated instead. Null when the file cannot be read.
  CCorvaneDoc* OpenDocumentFile(const QString& path);
  // The window of a LAS file (File Open LAS File, dropped files, the recent list, the
  // command line, Plot LAS of the wizard); an open window of the same file is activated
  // instead. Null, after telling the user, when the file cannot be opened.
  CLasWindow* OpenLasFile(const QString& path);
  // A file of the recent list or dropped on the main window: its LAS window for a
  // ".las" file, a document window otherwise.
  void OpenFile(const QString& path) override;
  QString PlotTemplateDir() const;
  void AddToRecentFileList(const QString& path) override;

  void OnFileNew() override;
  void OnFileOpen() override;
  void OnFileOpenLas() override;
  void OnAppAbout() override;
  void OnFilePrintSetup() override;

 signals:
  // A wizard is about to run modally; `sheet` is its window (tests drive it).
  void WizardStarting(QWidget* sheet);

 private:
  void RunWizard(const QString& configFilePath);
  void SaveRecentFileList();

  Options m_options;
  QString m_helpFilePath;
  std::unique_ptr<QSettings> m_settings;
  std::unique_ptr<CRecentFileList> m_recentFiles;
  std::unique_ptr<CShellDialogs> m_ownedDialogs;
  CShellDialogs* m_dialogs = nullptr;
  std::unique_ptr<CHelpDisplay> m_ownedHelp;
  CHelpDisplay* m_help = nullptr;
  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<CMainFrame> m_mainFrame;
};

}  // namespace corvane
