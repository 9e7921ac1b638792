#include "wizard/FileProblem.h"

#include <cstring>

#include "platform/FileSystem.h"
#include "wizard/QtText.h"

namespace corvane {

QString SystemReason(const QString& path, int error) {
  return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

QString FileProblem(const QString& path, const QString& whatForEmpty) {
  if (path.isEmpty()) return whatForEmpty;
  // The platform's reason is "<path>: <why>", the path in the bytes the box was given.
  const CResult readable = CheckReadableFile(ToStdString(path));
  return readable.Ok() ? QString() : ToQString(readable.Reason());
}

}  // namespace corvane
