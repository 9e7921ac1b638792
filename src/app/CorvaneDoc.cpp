#include "app/CorvaneDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace corvane {

CCorvaneDoc::CCorvaneDoc(QObject* parent) : QObject(parent) {}

bool CCorvaneDoc::OnOpenDocument(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  file.close();
  m_pathName = QFileInfo(path).absoluteFilePath();
  emit PathNameChanged(m_pathName);
  return true;
}

bool CCorvaneDoc::IsSameFile(const QString& path) const {
  if (m_pathName.isEmpty() || path.isEmpty()) return false;
  // Device and inode: a relative name, a symbolic or a hard link all name one file.
  struct stat mine {}, other {};
  if (::stat(QFile::encodeName(m_pathName).constData(), &mine) == 0 &&
      ::stat(QFile::encodeName(path).constData(), &other) == 0)
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
  return QFileInfo(m_pathName).absoluteFilePath() == QFileInfo(path).absoluteFilePath();
}

bool CCorvaneDoc::OnSaveDocument(const QString& path) {
  if (path.isEmpty()) return false;
  if (IsSameFile(path)) return true;  // the configuration file itself is never written
  QFile source(m_pathName);
  if (!source.open(QIODevice::ReadOnly)) return false;
  const QByteArray content = source.readAll();
  source.close();
  QSaveFile target(path);
  if (!target.open(QIODevice::WriteOnly) || target.write(content) != content.size() ||
      !target.commit())
    return false;
  m_pathName = QFileInfo(path).absoluteFilePath();
  emit PathNameChanged(m_pathName);
  return true;
}

QString CCorvaneDoc::Title() const { return QFileInfo(m_pathName).fileName(); }

}  // namespace corvane
