#include "lasview/ChildWindow.h"

#include <QFile>

#include "platform/FileSystem.h"

namespace corvane {

bool SameFileName(const QString& a, const QString& b) {
  return SameFileOrPath(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString());
}

}  // namespace corvane
