#pragma once
// What the main window asks of the application: its lists and settings, its dialogs
// and printer, its commands and its help. The application implements it; the main
// window knows the application only through it.
class QPrinter;
class QSettings;
class QString;
class QWidget;

namespace corvane {

class CRecentFileList;
class CShellDialogs;

// The name under which the main window's size and place are remembered.
inline const char* const kMainWindowPlace = "MainWindow";

// What the program makes of a file it is handed by name (command line, drop, recent
// list): its suffix, letter case aside, decides.
enum class FileKind { Las, Configuration, Other };
FileKind FileKindOf(const QString& path);

// The kinds of help request.
enum class HelpCommand { Context, Index, Finder, HelpOnHelp, Quit, Other };

class CShellServices {
 public:
  virtual CRecentFileList& RecentFiles() = 0;
  virtual CShellDialogs& Dialogs() = 0;
  virtual QPrinter& Printer() = 0;
  // The settings store: recent files, the windows' size and place, the last folder.
  virtual QSettings& Settings() = 0;
  virtual void AddToRecentFileList(const QString& path) = 0;
  // A file of the recent list or dropped on the main window.
  virtual void OpenFile(const QString& path) = 0;

  virtual void OnFileNew() = 0;
  virtual void OnFileOpen() = 0;
  virtual void OnFileOpenLas() = 0;
  virtual void OnFilePrintSetup() = 0;
  virtual void OnAppAbout() = 0;

  // A help request (a context number, the index, ...) and a topic of the manual.
  virtual void WinHelp(unsigned long data, HelpCommand command, QWidget* owner) = 0;
  virtual void ShowHelpTopic(QWidget* owner, const QString& topic) = 0;

 protected:
  ~CShellServices() = default;
};

}  // namespace corvane
