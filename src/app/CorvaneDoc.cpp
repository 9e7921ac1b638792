#include "app/CorvaneDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "lasview/ChildWindow.h"

namespace corvane {

CCorvaneDoc::CCorvaneDoc(QObject* parent) : QObject(parent) {}

bool CCorvaneDoc::OnOpenDocument(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  file.close();
  m_pathName = QFileInfo(path).absoluteFilePath();
  m_openedFrom = m_pathName;
  emit PathNameChanged(m_pathName);
  return true;
}

bool CCorvaneDoc::IsSameFile(const QString& path) const { return SameFileName(m_pathName, path); }

bool CCorvaneDoc::OnSaveDocument(const QString& path) {
  if (path.isEmpty()) return false;
  if (IsSameFile(path)) return true;  // the configuration file itself is never written
  if (SameFileName(m_openedFrom, path)) {
    // Back under the name it was opened from: that file stays as it is, even when the
    // copy saved since has changed.
    m_pathName = QFileInfo(path).absoluteFilePath();
    emit PathNameChanged(m_pathName);
    return true;
  }
  QFile source(m_pathName);
  if (!source.open(QIODevice::ReadOnly)) return false;
  const QByteArray content = source.readAll();
  source.close();
  QSaveFile target(path);
  if (!target.open(QIODevice::WriteOnly) || target.write(content) != content.size() || !target.commit())
    return false;
  m_pathName = QFileInfo(path).absoluteFilePath();
  emit PathNameChanged(m_pathName);
  return true;
}

QString CCorvaneDoc::Title() const { return QFileInfo(m_pathName).fileName(); }

}  // namespace corvane
