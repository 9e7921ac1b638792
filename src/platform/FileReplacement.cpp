#include "platform/FileReplacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#include "platform/SignalHold.h"
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

// Where the files of a run go when the target's folder takes none: $TMPDIR or /tmp.
std::string TemporaryFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir != nullptr && *dir != '\0' ? std::string(dir) : std::string("/tmp");
}

// The refusals of a folder that takes no new files while its files may stay writable.
bool RefusesNewFiles(int error) noexcept { return error == EACCES || error == EPERM || error == EROFS; }

// Removes what runs killed while a new version of `target` was in its folder under a
// hidden name (a named temporary, or the finished file before its rename) left there.
// Each such file is locked by its maker while that lives: one that is locked belongs to
// a running job and stays.
void RemoveStaleTemporaries(const std::string& target) {
  const std::string dir = DirectoryOf(target);
  const std::string prefix = HiddenTemporaryPrefix(target);
  DIR* folder = ::opendir(dir.c_str());
  if (folder == nullptr) return;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name(entry->d_name);
    if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) continue;
    bool suffix = true;
    for (const char c : name.substr(prefix.size()))
      suffix = suffix && std::isalnum(static_cast<unsigned char>(c));
    if (!suffix) continue;
    const std::string path = dir + "/" + std::string(name);
    const int fd = Sys().open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) continue;
    struct stat info {};
    if (Sys().fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && Sys().flock(fd, LOCK_EX | LOCK_NB) == 0)
      Sys().unlink(path.c_str());
    Sys().close(fd);
  }
  ::closedir(folder);
}

std::string ErrorText(int error) { return std::strerror(error); }

}  // namespace

CFileReplacement::~CFileReplacement() { Abandon(); }

// Locks the existing target. The name may have been given to a new file between the
// look at it and the lock (another job's commit): the lock must be on the file the name
// stands for now, else the lock is taken again.
CResult CFileReplacement::LockTarget() {
  for (int attempt = 0;; ++attempt) {
    CResult locked = m_lock.OpenForReading(m_target, CFile::Lock::Exclusive);
    if (!locked.Ok() && locked.Error() == EACCES)
      locked = m_lock.OpenForWriting(m_target, CFile::Lock::Exclusive);
    if (!locked.Ok()) return locked;
    struct stat held {};
    struct stat named {};
    if (m_lock.Info(held).Ok() && Sys().stat(m_target.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      m_old = held;
      return CResult::Done();
    }
    m_lock.Discard();
    if (attempt == 3) return CResult::Failed(m_target + ": the file is in use by another job", EWOULDBLOCK);
  }
}

CResult CFileReplacement::Begin(const std::string& path, Policy policy, mode_t newFileMode) {
  Abandon();
  m_newFileMode = newFileMode;
  m_policy = policy;
  m_inPlace = false;
  m_existed = false;
  m_inPlaceNote.clear();
  if (path.empty()) return CResult::SystemError(path, ENOENT);
  if (policy == Policy::CreateOnly) {
    // Whatever has the name (a file, a folder, a link, a dangling one included) stays.
    struct stat info {};
    if (Sys().lstat(path.c_str(), &info) == 0) return CResult::SystemError(path, EEXIST);
  }
  const auto target = ResolveTarget(path);
  if (!target) return CResult::SystemError(path, ELOOP);
  m_target = *target;

  if (Sys().stat(m_target.c_str(), &m_old) == 0) {
    m_existed = true;
    if (S_ISDIR(m_old.st_mode)) return CResult::SystemError(m_target, EISDIR);
    if (policy == Policy::CreateOnly) return CResult::SystemError(m_target, EEXIST);
    if (!S_ISREG(m_old.st_mode)) return CResult::Failed(m_target + ": not a regular file", EINVAL);
    // A file the user made read-only is not replaced behind that protection.
    if (::access(m_target.c_str(), W_OK) != 0) return CResult::SystemError(m_target, errno);
    if (CResult locked = LockTarget(); !locked.Ok()) return locked;
  } else if (errno != ENOENT) {
    return CResult::SystemError(m_target, errno);
  }
  RemoveStaleTemporaries(m_target);

  const bool linked = m_existed && m_old.st_nlink > 1 && policy == Policy::InPlaceWhenLinked;
  int refusal = 0;
  if (!linked) {
    CResult created =
        m_file.CreateTemporary(DirectoryOf(m_target), HiddenTemporaryPrefix(m_target), m_target);
    if (created.Ok()) return created;
    // A folder that takes no new files may still hold a writable file.
    if (!m_existed || !RefusesNewFiles(created.Error())) {
      m_lock.Discard();
      return CResult::SystemError(m_target, created.Error());
    }
    refusal = created.Error();
  }
  return BeginInPlace(linked, refusal);
}

// The new content is made whole in a temporary first (in the target's folder where it
// takes one, else in the temporary folder); the commit copies it over the old file.
CResult CFileReplacement::BeginInPlace(bool linked, int refusal) {
  // In place, the lock is the descriptor the copy writes through.
  m_lock.Discard();
  if (CResult opened = m_lock.OpenForWriting(m_target, CFile::Lock::Exclusive); !opened.Ok()) return opened;
  CResult created =
      linked ? m_file.CreateTemporary(DirectoryOf(m_target), HiddenTemporaryPrefix(m_target), m_target)
             : CResult::SystemError(m_target, refusal);
  if (!created.Ok() && RefusesNewFiles(created.Error())) {
    refusal = created.Error();
    const std::string elsewhere = TemporaryFolder();
    // A failure to write there (a small temporary folder filling up) names that folder.
    created = m_file.CreateTemporary(elsewhere, HiddenTemporaryPrefix(m_target),
                                     "the copy of " + m_target + " in " + elsewhere);
    if (!created.Ok()) {
      m_lock.Discard();
      return CResult::Failed(m_target + ": the folder takes no new files (" + ErrorText(refusal) +
                                 ") and no copy of the new file can be made in " + elsewhere + " (" +
                                 ErrorText(created.Error()) + "); the old file is as it was",
                             refusal);
    }
    m_inPlaceNote = m_target + ": the folder takes no new files (" + ErrorText(refusal) +
                    "): the new file is made whole in " + elsewhere + ", then copied over the old one";
  }
  if (!created.Ok()) {
    m_lock.Discard();
    return created;
  }
  m_inPlace = true;
  return CResult::Done();
}

CResult CFileReplacement::CommitInPlace() {
  struct stat made {};
  struct stat old {};
  CResult result = m_file.Info(made);
  if (result.Ok()) result = m_lock.Info(old);
  const auto size = static_cast<std::uint64_t>(made.st_size);
  // Room for the whole new content first: a full disk fails here, the old file untouched.
  if (result.Ok() && size > 0 && Sys().fallocate(m_lock.Fd(), FALLOC_FL_KEEP_SIZE, 0, made.st_size) != 0) {
    const int error = errno;
    // Without allocation in advance only a content that fits the old file's room is safe.
    const bool fits = (error == EOPNOTSUPP || error == ENOSYS) && made.st_size <= old.st_size;
    if (!fits)
      result = CResult::Failed(m_target + ": " + ErrorText(error) + "; the old file is as it was", error);
  }
  if (result.Ok()) {
    const CCancelSignalsHeld held;
    std::string block(std::min<std::uint64_t>(std::max<std::uint64_t>(size, 1), 1u << 20), '\0');
    for (std::uint64_t done = 0; result.Ok() && done < size;) {
      std::size_t got = 0;
      result = m_file.ReadAt(block.data(), std::min<std::uint64_t>(block.size(), size - done), done, got);
      if (result.Ok() && got == 0) result = CResult::SystemError(m_file.Path(), EIO);
      if (result.Ok()) result = m_lock.WriteAt(std::string_view(block.data(), got), done);
      done += got;
    }
    if (result.Ok()) result = m_lock.Truncate(size);
    if (!result.Ok())
      result = CResult::Failed(
          result.Reason() + " while the new content was copied over " + m_target + ": the file is incomplete",
          result.Error());
  }
  if (result.Ok()) result = m_lock.Sync();
  m_file.Discard();
  CResult closed = m_lock.Close();
  if (result.Ok()) result = closed;
  return result;
}

CResult CFileReplacement::Commit() {
  if (!m_file.IsOpen()) return CResult::Failed(m_target + ": nothing to put in place", EINVAL);
  if (m_inPlace) return CommitInPlace();
  CResult result;
  const mode_t mode = m_existed ? (m_old.st_mode & 07777) : (m_newFileMode & ~CurrentUmask());
  if (Sys().fchmod(m_file.Fd(), mode) != 0) result = CResult::SystemError(m_target, errno);
  // Giving the file to its old owner works for that owner or for root; a user
  // replacing another's file in a shared folder keeps the file as their own.
  if (result.Ok() && m_existed) (void)Sys().fchown(m_file.Fd(), m_old.st_uid, m_old.st_gid);
  if (result.Ok()) result = m_file.Sync();
  if (result.Ok()) result = m_file.LinkAs(m_target, m_policy != Policy::CreateOnly);
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
