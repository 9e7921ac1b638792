#pragma once
// What the program remembers between runs besides its recent files: the last folder a
// file was chosen in, and where its windows were and how large. Kept in the
// application's settings store; without one nothing is remembered.
#include <QByteArray>
#include <QString>
#include <initializer_list>

class QSettings;
class QWidget;

namespace corvane {

class CWizardSettings {
 public:
  explicit CWizardSettings(QSettings* settings = nullptr) : m_settings(settings) {}

  void SetStore(QSettings* settings) { m_settings = settings; }
  bool HasStore() const { return m_settings != nullptr; }

  // Where a file dialog opens: the folder of the first of `files` that names a file in
  // an existing folder, else the last folder used, else nowhere in particular.
  QString StartFolder(std::initializer_list<QString> files) const;
  // The dialog's initial name: `pattern` ("*.las") in the start folder.
  QString InitialName(std::initializer_list<QString> files, const QString& pattern) const;
  // The folder of a file the user has just chosen in a dialog.
  void RememberFolderOf(const QString& chosenFile);
  QString LastFolder() const;

  // A window's size and place ("Wizard", "MainWindow"); false when none is remembered.
  bool RestoreGeometry(QWidget& window, const QString& name) const;
  void SaveGeometry(const QWidget& window, const QString& name);

 private:
  QSettings* m_settings;
};

}  // namespace corvane
