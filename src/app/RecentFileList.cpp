#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace corvane {
namespace {

const char* const kSection = "Recent File List";

QString Normalised(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

}  // namespace

CRecentFileList::CRecentFileList(int size) : m_size(size) {}

void CRecentFileList::Load(QSettings& settings) {
  m_entries.clear();
  settings.beginGroup(QLatin1String(kSection));
  for (int i = 1; i <= m_size; ++i) {
    const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!path.isEmpty() && !m_entries.contains(Normalised(path))) m_entries.append(Normalised(path));
  }
  settings.endGroup();
}

void CRecentFileList::Save(QSettings& settings) const {
  settings.beginGroup(QLatin1String(kSection));
  for (int i = 1; i <= m_size; ++i) {
    const QString key = QStringLiteral("File%1").arg(i);
    if (i <= m_entries.size())
      settings.setValue(key, m_entries.at(i - 1));
    else
      settings.remove(key);
  }
  settings.endGroup();
  settings.sync();
}

void CRecentFileList::Add(const QString& path) {
  if (path.isEmpty()) return;
  const QString entry = Normalised(path);
  m_entries.removeAll(entry);
  m_entries.prepend(entry);
  while (m_entries.size() > m_size) m_entries.removeLast();
}

void CRecentFileList::Remove(const QString& path) { m_entries.removeAll(Normalised(path)); }

QString CRecentFileList::MenuText(int index) const {
  if (index < 0 || index >= m_entries.size()) return {};
  QString shown = QDir::toNativeSeparators(m_entries.at(index));
  shown.replace(u'&', QLatin1String("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace corvane
