#pragma once
// The questions a document window asks the user through the platform's dialogs: where
// to save, and what went wrong. The shell's dialogs offer them (with the shell's own
// questions beside them), so that tests answer them without a screen.
#include <QString>

class QWidget;

namespace corvane {

class CWindowDialogs {
 public:
  virtual ~CWindowDialogs() = default;
  // The platform's Save File dialog; asks before an existing file is replaced.
  // `filter` is in Qt form, its first entry selected; `initialName` stands in the name
  // box. An empty result means the user cancelled.
  virtual QString GetSaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& initialName, const QString& defaultSuffix) = 0;
  // A modal box with the error icon, an OK button and the application's title;
  // `informative`, when not empty, stands below the text (which file, and why).
  virtual void ShowError(QWidget* owner, const QString& text, const QString& informative = QString()) = 0;
};

}  // namespace corvane
