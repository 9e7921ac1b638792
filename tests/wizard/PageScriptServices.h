#pragma once
// Desktop services answered from a script, for the Step 3, Step 4 and end-to-end
// tests: message boxes are recorded and answered OK (or as queued), file dialogs
// return queued paths (empty = Cancel), the text editor launch is recorded.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "wizard/WizardServices.h"

namespace corvane::test {

class CPageScriptServices : public CWizardServices {
 public:
  struct Message {
    QString text;
    QString caption;
    Icon icon;
  };
  struct FileDialog {
    QString title;
    QString filter;
    QString initialName;
    QString defaultSuffix;
    bool confirmOverwrite = false;
    bool save = false;
  };

  Answer MessageBox(QWidget*, const QString& text, const QString& caption, Icon icon, Buttons,
                    Answer defaultButton = Answer::Ok) override {
    messages.push_back({text, caption, icon});
    if (onMessage) onMessage(messages.back());
    if (answers.empty()) return defaultButton == Answer::Cancel ? Answer::Ok : defaultButton;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString GetOpenFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName) override {
    dialogs.push_back({title, filter, initialName, QString(), false, false});
    return NextPath();
  }
  QString GetSaveFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName,
                          const QString& defaultSuffix, bool confirmOverwrite) override {
    dialogs.push_back({title, filter, initialName, defaultSuffix, confirmOverwrite, true});
    return NextPath();
  }
  bool LaunchTextEditor(const QString& path) override {
    editorLaunches.push_back(path);
    return editorStarts;
  }
  void ShowHelp(QWidget*, const QString&) override { ++helpRequests; }

  QStringList MessageTexts() const {
    QStringList texts;
    for (const Message& m : messages) texts << m.text;
    return texts;
  }

  std::deque<QString> paths;     // answers of the file dialogs; empty text = Cancel
  std::deque<Answer> answers;    // answers of the message boxes; OK when none is queued
  std::function<void(const Message&)> onMessage;
  std::vector<Message> messages;
  std::vector<FileDialog> dialogs;
  QStringList editorLaunches;
  bool editorStarts = true;
  int helpRequests = 0;

 private:
  QString NextPath() {
    if (paths.empty()) return QString();
    QString path = paths.front();
    paths.pop_front();
    return path;
  }
};

}  // namespace corvane::test
