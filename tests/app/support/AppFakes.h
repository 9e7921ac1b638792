#pragma once
// Stand-ins for the desktop that the application shell talks to: dialogs answered
// from a script, wizard message boxes answered OK, and a help display that records.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/CorvaneApp.h"
#include "app/HelpDisplay.h"
#include "app/ShellDialogs.h"
#include "wizard/WizardServices.h"

namespace corvane::test {

class CFakeShellDialogs : public CShellDialogs {
 public:
  QStringList openAnswers;  // taken from the front; an empty list answers Cancel
  QStringList saveAnswers;
  QString printToFile;  // when set, Print renders into this PDF file, as "Print to File" does
  // "open:<title>|<filter>|<initial>|<suffix>", "save:...", "error:<text>", "print:<path>";
  // an error's informative text is kept in `informatives`
  QStringList informatives;
  QStringList calls;

  QString GetOpenFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName,
                          const QString& defaultSuffix) override;
  QString GetSaveFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName,
                          const QString& defaultSuffix) override;
  void ShowError(QWidget*, const QString& text, const QString& informative = QString()) override;
  bool PageSetup(QWidget*, QPrinter&) override;
  bool Print(QWidget*, QPrinter&, const Render& render, const QString& title) override;
  void PrintPreview(QWidget*, QPrinter&, const Render& render, const QString& title) override;
};

class CFakeWizardServices : public CWizardServices {
 public:
  QStringList messages;
  QList<Answer> answers;  // for questions, taken from the front; an empty list answers the default
  Answer MessageBox(QWidget*, const QString& text, const QString&, Icon, Buttons, Answer defaultButton,
                    const QString&, const QString&) override;
  QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override;
  QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&,
                          bool) override;
  void LaunchTextEditor(const QString&, EditorFailed) override {}
  void ShowHelp(QWidget*, const QString& topic) override { helpTopics.append(topic); }
  QStringList helpTopics;
};

class CRecordingHelp : public CHelpDisplay {
 public:
  QStringList shown;  // "topic:<text>", "number:<n>", "popup:<n>"
  void ShowTopic(QWidget*, const QString& topic) override { shown.append("topic:" + topic); }
  void ShowTopicNumber(QWidget*, unsigned n) override { shown.append("number:" + QString::number(n)); }
  void ShowPopup(QWidget*, unsigned n, const QPoint&) override {
    shown.append("popup:" + QString::number(n));
  }
};

// An application with every desktop service faked and its settings in a scratch folder.
struct CAppFixture {
  QTemporaryDir dir;
  CFakeShellDialogs dialogs;
  CFakeWizardServices wizardServices;
  CRecordingHelp help;
  std::unique_ptr<CCorvaneApp> app;

  CAppFixture();
  QString SettingsFile() const { return dir.filePath("settings.ini"); }
  // Writes `content` to a file of the scratch folder; returns its path.
  QString WriteFile(const QString& name, const QByteArray& content) const;
};

// Closes the modal window that opens next (a wizard, a dialog) after `inspect` has seen it.
void CloseNextModal(std::function<void(QWidget*)> inspect = {});

QByteArray ReadAll(const QString& path);

}  // namespace corvane::test
