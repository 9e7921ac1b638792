#include "FakeServices.h"

namespace corvane::test {

CWizardServices::Answer CFakeServices::MessageBox(QWidget*, const QString& text, const QString& caption,
                                                  Icon icon, Buttons buttons, Answer defaultButton,
                                                  const QString& informative, const QString& details) {
  boxes.push_back({text, caption, icon, buttons, defaultButton, informative, details});
  if (onMessageBox) onMessageBox();
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) return defaultButton;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

QString CFakeServices::GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                                       const QString& initialName) {
  dialogs.push_back({false, title, filter, initialName, QString(), false});
  if (openAnswers.empty()) return QString();
  const QString path = openAnswers.front();
  openAnswers.pop_front();
  return path;
}

QString CFakeServices::GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                       const QString& initialName, const QString& defaultSuffix,
                                       bool confirmOverwrite) {
  dialogs.push_back({true, title, filter, initialName, defaultSuffix, confirmOverwrite});
  if (saveAnswers.empty()) return QString();
  const QString path = saveAnswers.front();
  saveAnswers.pop_front();
  return path;
}

void CFakeServices::LaunchTextEditor(const QString& path, EditorFailed failed) {
  editorLaunches.append(path);
  if (!editorFailure.isEmpty() && failed) failed(editorFailure);
}

void CFakeServices::ShowHelp(QWidget*, const QString& topic) { helpTopics.append(topic); }

QStringList CFakeServices::BoxTexts() const {
  QStringList texts;
  for (const CBox& box : boxes) texts.append(box.text);
  return texts;
}

}  // namespace corvane::test
