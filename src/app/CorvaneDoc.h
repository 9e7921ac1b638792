#pragma once
// The document of a ".lah" configuration file opened through the desktop paths (the
// recent-file list, a file dropped on the main window). It carries no content of its
// own: the configuration is edited in the wizard. It is never modified, so Save writes
// nothing; Save As writes a copy of the configuration file under the new name.
// Nothing ever writes to the file that the document was opened from.
#include <QObject>
#include <QString>

namespace corvane {

class CCorvaneDoc : public QObject {
  Q_OBJECT
 public:
  explicit CCorvaneDoc(QObject* parent = nullptr);

  // The file must exist and be readable; nothing of it is kept.
  bool OnOpenDocument(const QString& path);
  // Save As: a copy of the document's file under `path`, written whole or not at all.
  // Under the document's own name, or the name it was opened under (the same file by
  // any name), nothing is written. Afterwards the document carries the new name.
  bool OnSaveDocument(const QString& path);

  QString PathName() const { return m_pathName; }
  // The window title: the file name without its folder.
  QString Title() const;
  bool IsModified() const { return false; }
  // Whether `path` names the document's file (by any name).
  bool IsSameFile(const QString& path) const;

 signals:
  void PathNameChanged(const QString& pathName);

 private:
  QString m_pathName;
  QString m_openedFrom;  // stays when Save As gives the document another name
};

}  // namespace corvane
