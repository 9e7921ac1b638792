#include "WizardTestFiles.h"

#include <QFile>

namespace corvane::test {

QString CWizardFiles::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(Path(name));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", qPrintable(Path(name)));
  file.write(bytes);
  return Path(name);
}

QByteArray CWizardFiles::Read(const QString& name) const {
  QFile file(Path(name));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

QString CWizardFiles::CopyData(const QString& dataName, const QString& name) const {
  QFile source(QStringLiteral(CORVANE_TEST_DATA "/") + dataName);
  if (!source.open(QIODevice::ReadOnly)) qFatal("missing test data %s", qPrintable(dataName));
  return Write(name, source.readAll());
}

QString CWizardFiles::WriteLog(const QString& name, int dataLines) const {
  QByteArray bytes = "Well W-1 main pass\r\n   DEPT      GR     ILD\r\n      M    GAPI    OHMM\r\n";
  for (int i = 0; i < dataLines; ++i) {
    bytes += QByteArray::number(1000.0 + i * 0.5, 'f', 3).rightJustified(7) + "   " +
             QByteArray::number(50 + i % 40) + ".25   " + QByteArray::number(1 + i % 9) + ".500\r\n";
  }
  return Write(name, bytes);
}

}  // namespace corvane::test
