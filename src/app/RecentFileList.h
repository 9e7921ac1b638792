#pragma once
// The list of the documents opened last, newest first, kept between runs in the
// application's settings ("Recent File List", keys File1 to File4).
#include <QString>
#include <QStringList>

class QSettings;

namespace corvane {

class CRecentFileList {
 public:
  static constexpr int kDefaultSize = 4;

  explicit CRecentFileList(int size = kDefaultSize);

  void Load(QSettings& settings);
  void Save(QSettings& settings) const;

  // Puts the file at the top; an entry naming the same file moves up instead of
  // being repeated, and the oldest entry beyond the size drops off.
  void Add(const QString& path);
  void Remove(const QString& path);
  const QStringList& Entries() const { return m_entries; }
  int Size() const { return m_size; }
  // The menu text of entry `index`: its number as access key, then the path.
  QString MenuText(int index) const;

 private:
  int m_size;
  QStringList m_entries;
};

}  // namespace corvane
