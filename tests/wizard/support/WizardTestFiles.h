#pragma once
// Files the wizard tests work on, written into a scratch directory.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace corvane::test {

class CWizardFiles {
 public:
  CWizardFiles() { m_dir.setAutoRemove(true); }
  QString Path(const QString& name) const { return m_dir.filePath(name); }
  // Writes the bytes exactly as given and returns the file's path.
  QString Write(const QString& name, const QByteArray& bytes) const;
  QByteArray Read(const QString& name) const;
  // Copies a file of tests/data into the directory and returns the copy's path.
  QString CopyData(const QString& dataName, const QString& name) const;
  // Three header lines followed by `dataLines` lines of digits, CR LF line ends.
  QString WriteLog(const QString& name, int dataLines) const;

 private:
  QTemporaryDir m_dir;
};

}  // namespace corvane::test
