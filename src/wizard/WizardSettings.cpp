#include "wizard/WizardSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

namespace corvane {
namespace {

const char* const kLastFolderKey = "Folders/Last";

QString GeometryKey(const QString& name) { return name + QStringLiteral("/Geometry"); }

}  // namespace

QString CWizardSettings::StartFolder(std::initializer_list<QString> files) const {
  for (const QString& file : files) {
    if (file.isEmpty()) continue;
    QString folder = QFileInfo(file).absolutePath();
    if (QFileInfo(folder).isDir()) return folder;
  }
  const QString last = LastFolder();
  return !last.isEmpty() && QFileInfo(last).isDir() ? last : QString();
}

QString CWizardSettings::InitialName(std::initializer_list<QString> files, const QString& pattern) const {
  const QString folder = StartFolder(files);
  return folder.isEmpty() ? pattern : QDir(folder).filePath(pattern);
}

void CWizardSettings::RememberFolderOf(const QString& chosenFile) {
  if (m_settings == nullptr || chosenFile.isEmpty()) return;
  m_settings->setValue(QLatin1String(kLastFolderKey), QFileInfo(chosenFile).absolutePath());
  m_settings->sync();
}

QString CWizardSettings::LastFolder() const {
  return m_settings != nullptr ? m_settings->value(QLatin1String(kLastFolderKey)).toString() : QString();
}

bool CWizardSettings::RestoreGeometry(QWidget& window, const QString& name) const {
  if (m_settings == nullptr) return false;
  const QByteArray geometry = m_settings->value(GeometryKey(name)).toByteArray();
  return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void CWizardSettings::SaveGeometry(const QWidget& window, const QString& name) {
  if (m_settings == nullptr) return;
  m_settings->setValue(GeometryKey(name), window.saveGeometry());
  m_settings->sync();
}

}  // namespace corvane
