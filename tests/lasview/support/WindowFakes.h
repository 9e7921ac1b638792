#pragma once
// What the LAS window's tests need around it: dialogs answered from a script, a
// scratch folder for files and templates, windows opened on a file and waited for,
// and the controls found by their object names.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "lasview/LasWindow.h"
#include "lasview/WindowDialogs.h"

namespace corvane::test {

class CFakeWindowDialogs : public CWindowDialogs {
 public:
  QStringList saveAnswers;  // taken from the front; an empty list answers Cancel
  // "save:<title>|<filter>|<initial>|<suffix>", "error:<text>"; an error's
  // informative text is kept in `informatives`
  QStringList calls;
  QStringList informatives;

  QString GetSaveFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName,
                          const QString& defaultSuffix) override;
  void ShowError(QWidget*, const QString& text, const QString& informative = QString()) override;
};

struct CWindowFixture {
  QTemporaryDir dir;
  CFakeWindowDialogs dialogs;

  QString TemplateDir() const { return dir.filePath("templates"); }
  // Writes `content` to a file of the scratch folder; returns its path.
  QString WriteFile(const QString& name, const QByteArray& content) const;
  // A window on the file, shown at a size where the plot has room, its reading begun;
  // null when it cannot be opened.
  std::unique_ptr<CLasWindow> Open(const QString& path);
};

// Waits until the window has taken the end of its reading; null when it does not within 20 s.
CLasWindow* WaitLoaded(CLasWindow* window);
// Waits until the window's check has ended and it has shown it.
bool WaitChecked(CLasWindow* window);

// The child of `parent` of that object name and type; null when there is none.
template <class T>
T* Named(const QObject* parent, const char* name) {
  return parent->findChild<T*>(QLatin1String(name));
}

QByteArray ReadAll(const QString& path);

}  // namespace corvane::test
