#include "wizard/FileProblem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "wizard/QtText.h"

namespace corvane {

QString SystemReason(const QString& path, int error) {
  return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

QString FileProblem(const QString& path, const QString& whatForEmpty) {
  if (path.isEmpty()) return whatForEmpty;
  const std::string name = ToStdString(path);
  // Non-blocking, so that a FIFO named by mistake cannot hold the page.
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return SystemReason(path, errno);
  struct stat info {};
  const int statResult = ::fstat(fd, &info);
  const int statError = errno;
  (void)::close(fd);
  if (statResult != 0) return SystemReason(path, statError);
  if (S_ISDIR(info.st_mode)) return SystemReason(path, EISDIR);
  if (!S_ISREG(info.st_mode)) return path + QStringLiteral(": not a regular file");
  return QString();
}

}  // namespace corvane
