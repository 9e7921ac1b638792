#pragma once
// Everything the wizard asks of the desktop besides its own widgets: message boxes,
// file dialogs, the text editor and the help viewer. The pages reach them only
// through the sheet's services, so tests answer them without a screen.
#include <QString>
#include <functional>

class QWidget;

namespace corvane {

class CWizardServices {
 public:
  enum class Icon { None, Information, Warning, Error, Question };
  enum class Buttons { Ok, YesNo, YesNoCancel };
  enum class Answer { Ok, Yes, No, Cancel };
  // Told why the text editor could not be opened ("xdg-open ended with exit status 2").
  using EditorFailed = std::function<void(const QString& reason)>;

  virtual ~CWizardServices() = default;

  // A modal message box; an empty caption means the application's title "Corvane".
  // `informative`, when not empty, stands below the text (which file, and why);
  // `details`, when not empty, behind the box's Show Details button (a list too long
  // for the box). The box shows the normal cursor, also while a job shows the busy one.
  virtual Answer MessageBox(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                            Buttons buttons, Answer defaultButton = Answer::Ok,
                            const QString& informative = QString(), const QString& details = QString()) = 0;
  // The platform's Open File dialog; an empty result means the user cancelled.
  // `filter` is in Qt form ("ASCII Files (*.asc);;All Files (*)"). An `initialName`
  // with a folder ("/data/logs/*.asc") opens the dialog in that folder; a folder alone
  // ("/data/logs") opens it there with no name typed.
  virtual QString GetOpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& initialName) = 0;
  // The platform's Save File dialog; `defaultSuffix` is added to a name typed without
  // an extension; with `confirmOverwrite` the platform asks before an existing file is chosen.
  virtual QString GetSaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& initialName, const QString& defaultSuffix,
                                  bool confirmOverwrite) = 0;
  // Opens the file in the desktop's text editor, without a shell, and returns at once.
  // When the editor cannot be started, or its launcher ends with a failure, `failed`
  // runs on the GUI thread with the reason: at once or later, never more than once.
  virtual void LaunchTextEditor(const QString& path, EditorFailed failed) = 0;
  // Shows a topic of the manual ("::/Corvane Version 10 Manual for HTML.htm#i>CORVANE"),
  // owned by `owner`. Silent when the manual cannot be shown.
  virtual void ShowHelp(QWidget* owner, const QString& topic) = 0;
};

// The on-screen services: QMessageBox, QFileDialog, the desktop's text editor, and
// the help handler that the application installs (none: help does nothing).
class CQtWizardServices : public CWizardServices {
 public:
  using HelpHandler = void (*)(QWidget* owner, const QString& topic);
  static void SetHelpHandler(HelpHandler handler);

  // `editorLauncher` is the program that hands a file to the desktop's text editor;
  // it is watched until it ends, and an exit status other than 0 is a failure.
  explicit CQtWizardServices(QString editorLauncher = QStringLiteral("xdg-open"));

  Answer MessageBox(QWidget* owner, const QString& text, const QString& caption, Icon icon, Buttons buttons,
                    Answer defaultButton = Answer::Ok, const QString& informative = QString(),
                    const QString& details = QString()) override;
  QString GetOpenFileName(QWidget* owner, const QString& title, const QString& filter,
                          const QString& initialName) override;
  QString GetSaveFileName(QWidget* owner, const QString& title, const QString& filter,
                          const QString& initialName, const QString& defaultSuffix,
                          bool confirmOverwrite) override;
  void LaunchTextEditor(const QString& path, EditorFailed failed) override;
  void ShowHelp(QWidget* owner, const QString& topic) override;

 private:
  QString m_editorLauncher;
};

// The topic every wizard page's help request opens.
inline const char* const kWizardHelpTopic = "::/Corvane Version 10 Manual for HTML.htm#i>CORVANE";

}  // namespace corvane
