#pragma once
// Desktop services for the wizard tests: message boxes are recorded and answered
// from a queue, file dialogs answer from queues, the editor and the help only record
// (the editor fails when told to).
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "wizard/WizardServices.h"

namespace corvane::test {

class CFakeServices : public CWizardServices {
 public:
  struct CBox {
    QString text;
    QString caption;
    Icon icon;
    Buttons buttons;
    Answer defaultButton;
    QString informative;
    QString details;
  };
  struct CFileDialog {
    bool save;
    QString title;
    QString filter;
    QString initialName;
    QString defaultSuffix;
    bool confirmOverwrite;
  };

  Answer MessageBox(QWidget*, const QString& text, const QString& caption, Icon icon, Buttons buttons,
                    Answer defaultButton, const QString& informative, const QString& details) override;
  QString GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                          const QString& initialName) override;
  QString GetSaveFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName,
                          const QString& defaultSuffix, bool confirmOverwrite) override;
  void LaunchTextEditor(const QString& path, EditorFailed failed) override;
  void ShowHelp(QWidget*, const QString& topic) override;

  QStringList BoxTexts() const;

  std::vector<CBox> boxes;
  std::deque<Answer> answers;       // for question boxes; an empty queue answers the default
  std::deque<QString> openAnswers;  // an empty queue, or an empty text, cancels
  std::deque<QString> saveAnswers;
  std::vector<CFileDialog> dialogs;
  QStringList editorLaunches;
  QString editorFailure;  // when set, every launch fails with this reason
  QStringList helpTopics;
  std::function<void()> onMessageBox;  // runs inside every message box (to look at the wizard then)
};

}  // namespace corvane::test
