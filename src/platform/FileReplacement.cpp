#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "platform/SysCalls.h"

namespace corvane {
namespace {

// The file a replacement writes: symbolic links are followed (even dangling ones,
// whose target the replacement then creates), so that the link itself survives.
std::optional<std::string> ResolveTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (Sys().lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return std::nullopt;
    link.resize(static_cast<std::size_t>(n));
    if (link.front() == '/') {
      target = std::move(link);
    } else {
      std::string relative = DirectoryOf(target);
      relative += '/';
      relative += link;
      target = std::move(relative);
    }
  }
  return std::nullopt;  // a loop of links
}

// The process's file creation mask, read without changing it: umask() would set it
// for a moment, which other threads creating files might see.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  static const mode_t fallback = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }();
  return fallback;
}

void SyncDirectory(const std::string& dir) {
  const int fd = Sys().open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  Sys().fsync(fd);  // the file itself is complete either way
  Sys().close(fd);
}

}  // namespace

CFileReplacement::~CFileReplacement() { Abandon(); }

CResult CFileReplacement::Begin(const std::string& path, Policy policy, mode_t newFileMode) {
  Abandon();
  m_newFileMode = newFileMode;
  m_inPlace = false;
  m_existed = false;
  m_newOnly = policy == Policy::NewOnly;
  if (path.empty()) return CResult::SystemError(path, ENOENT);
  if (m_newOnly) {
    // Whatever has the name (a file, a folder, a link, a dangling one included) stays.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) return CResult::SystemError(path, EEXIST);
    m_target = path;
    return m_file.CreateTemporary(DirectoryOf(m_target), "." + BaseNameOf(m_target) + ".", m_target);
  }
  const auto target = ResolveTarget(path);
  if (!target) return CResult::SystemError(path, ELOOP);
  m_target = *target;

  if (Sys().stat(m_target.c_str(), &m_old) == 0) {
    m_existed = true;
    if (S_ISDIR(m_old.st_mode)) return CResult::SystemError(m_target, EISDIR);
    if (!S_ISREG(m_old.st_mode)) return CResult::Failed(m_target + ": not a regular file", EINVAL);
    // A file the user made read-only is not replaced behind that protection.
    if (::access(m_target.c_str(), W_OK) != 0) return CResult::SystemError(m_target, errno);
    CResult locked = m_lock.OpenForReading(m_target, CFile::Lock::Exclusive);
    if (!locked.Ok() && locked.Error() == EACCES)
      locked = m_lock.OpenForWriting(m_target, CFile::Lock::Exclusive);
    if (!locked.Ok()) return locked;
  } else if (errno != ENOENT) {
    return CResult::SystemError(m_target, errno);
  }

  const bool linked = m_existed && m_old.st_nlink > 1;
  if (!(linked && policy == Policy::InPlaceWhenLinked)) {
    CResult created =
        m_file.CreateTemporary(DirectoryOf(m_target), "." + BaseNameOf(m_target) + ".", m_target);
    if (created.Ok()) return created;
    // A folder that takes no new files may still hold a writable file.
    if (!m_existed || (created.Error() != EACCES && created.Error() != EPERM && created.Error() != EROFS)) {
      m_lock.Discard();
      return CResult::SystemError(m_target, created.Error());
    }
  }
  m_lock.Discard();
  CResult opened = m_file.OpenForWriting(m_target, CFile::Lock::Exclusive);
  if (!opened.Ok()) return opened;
  m_inPlace = true;
  return CResult::Done();
}

CResult CFileReplacement::Commit() {
  if (!m_file.IsOpen()) return CResult::Failed(m_target + ": nothing to put in place", EINVAL);
  CResult result;
  if (m_inPlace) {
    // Whatever the old file held beyond the new content goes.
    const off_t end = Sys().lseek(m_file.Fd(), 0, SEEK_CUR);
    if (end < 0) result = CResult::SystemError(m_target, errno);
    if (result.Ok()) result = m_file.Truncate(static_cast<std::uint64_t>(end));
    if (result.Ok()) result = m_file.Sync();
    CResult closed = m_file.Close();
    if (result.Ok()) result = closed;
    return result;
  }
  const mode_t mode = m_existed ? (m_old.st_mode & 07777) : (m_newFileMode & ~CurrentUmask());
  if (Sys().fchmod(m_file.Fd(), mode) != 0) result = CResult::SystemError(m_target, errno);
  // Giving the file to its old owner works for that owner or for root; a user
  // replacing another's file in a shared folder keeps the file as their own.
  if (result.Ok() && m_existed) (void)Sys().fchown(m_file.Fd(), m_old.st_uid, m_old.st_gid);
  if (result.Ok()) result = m_file.Sync();
  if (result.Ok()) result = m_newOnly ? m_file.LinkAsNew(m_target) : m_file.LinkAs(m_target);
  if (result.Ok()) SyncDirectory(DirectoryOf(m_target));
  CResult closed = m_file.Close();
  if (result.Ok()) result = closed;
  m_lock.Discard();
  return result;
}

void CFileReplacement::Abandon() noexcept {
  m_file.Discard();
  m_lock.Discard();
}

}  // namespace corvane
