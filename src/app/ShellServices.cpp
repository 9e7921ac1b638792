#include "app/ShellServices.h"

#include <QFileInfo>
#include <QString>

namespace corvane {

FileKind FileKindOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  if (suffix.compare(QLatin1String("las"), Qt::CaseInsensitive) == 0) return FileKind::Las;
  if (suffix.compare(QLatin1String("lah"), Qt::CaseInsensitive) == 0) return FileKind::Configuration;
  return FileKind::Other;
}

}  // namespace corvane
