#include "platform/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <utility>

#include "platform/SysCalls.h"

namespace corvane {
namespace {

CResult NotRegular(const std::string& path) { return CResult::Failed(path + ": not a regular file", EINVAL); }

// Lock failures that only say the file system keeps no locks (NFS without a lock
// service, or one that refuses locks on descriptors opened read-only): the file is
// then used unlocked rather than not at all.
bool LocksUnavailable(int error) noexcept {
  return error == EBADF || error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL;
}

// Six characters that make a new name unlikely to exist already.
std::string UniqueSuffix() {
  static std::atomic<std::uint64_t> counter{0};
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::uint64_t n = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (static_cast<std::uint64_t>(::getpid()) << 32) ^
                    (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    suffix.push_back(kChars[n % 62]);
    n = n / 62 + 0x2545F4914F6CDD1Dull * (i + 1);
  }
  return suffix;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}

// A new, uniquely named file in `directory`; `name` receives its path.
int CreateNamed(const std::string& directory, const std::string& prefix, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = JoinPath(directory, prefix + UniqueSuffix());
    const int fd = Sys().open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// A temporary is locked for as long as its maker lives, so that a clean-up can tell one
// that a running job writes (locked) from one a killed job left (free). Where the file
// system keeps no locks the clean-up finds every such file free.
void HoldWhileAlive(int fd) { (void)Sys().flock(fd, LOCK_EX | LOCK_NB); }

bool ProcFdAvailable() {
  static const bool available = ::access("/proc/self/fd", X_OK) == 0;
  return available;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HiddenTemporaryPrefix(const std::string& target) { return "." + BaseNameOf(target) + "."; }

CFile::~CFile() { Discard(); }

CFile::CFile(CFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_path(std::move(other.m_path)),
      m_temporary(std::exchange(other.m_temporary, false)),
      m_tempName(std::move(other.m_tempName)) {}

CFile& CFile::operator=(CFile&& other) noexcept {
  if (this != &other) {
    Discard();
    m_fd = std::exchange(other.m_fd, -1);
    m_path = std::move(other.m_path);
    m_temporary = std::exchange(other.m_temporary, false);
    m_tempName = std::move(other.m_tempName);
  }
  return *this;
}

CResult CFile::OpenRegular(const std::string& path, int flags, Lock lock) {
  Discard();
  // Non-blocking, so that a FIFO without a writer cannot hold the open forever.
  const int fd = Sys().open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return CResult::SystemError(path, errno);
  m_fd = fd;
  m_path = path;
  struct stat info {};
  if (Sys().fstat(fd, &info) != 0) {
    const int error = errno;
    Discard();
    return CResult::SystemError(path, error);
  }
  if (!S_ISREG(info.st_mode)) {
    Discard();
    return S_ISDIR(info.st_mode) ? CResult::SystemError(path, EISDIR) : NotRegular(path);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (lock == Lock::Exclusive) {
    CResult locked = LockExclusive();
    if (!locked.Ok()) {
      Discard();
      return locked;
    }
  }
  return CResult::Done();
}

CResult CFile::LockExclusive() {
  if (Sys().flock(m_fd, LOCK_EX | LOCK_NB) == 0) return CResult::Done();
  const int error = errno;
  if (LocksUnavailable(error)) return CResult::Done();
  if (error == EWOULDBLOCK) return CResult::Failed(m_path + ": the file is in use by another job", error);
  return CResult::SystemError(m_path, error);
}

CResult CFile::OpenForReading(const std::string& path, Lock lock) {
  return OpenRegular(path, O_RDONLY, lock);
}

CResult CFile::OpenForWriting(const std::string& path, Lock lock) {
  return OpenRegular(path, O_WRONLY | O_CREAT, lock);
}

CResult CFile::CreateTemporary(const std::string& directory, const std::string& prefix,
                               const std::string& shownAs) {
  Discard();
  const std::string dir = directory.empty() ? std::string(".") : directory;
#ifdef O_TMPFILE
  if (ProcFdAvailable()) {
    const int fd = Sys().open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
      HoldWhileAlive(fd);
      m_fd = fd;
      m_path = shownAs.empty() ? dir : shownAs;
      m_temporary = true;
      return CResult::Done();
    }
    // Not every file system has unnamed files (EOPNOTSUPP, EISDIR on old kernels);
    // any other failure would hit the named file as well.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return CResult::SystemError(dir, errno);
  }
#endif
  std::string name;
  const int fd = CreateNamed(dir, prefix, name);
  if (fd < 0) return CResult::SystemError(dir, errno);
  HoldWhileAlive(fd);
  m_fd = fd;
  m_path = shownAs.empty() ? name : shownAs;
  m_temporary = true;
  m_tempName = name;
  return CResult::Done();
}

CResult CFile::Read(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t n = Sys().read(m_fd, buffer, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return CResult::Done();
    }
    if (errno != EINTR) return CResult::SystemError(m_path, errno);
  }
}

CResult CFile::ReadAll(std::string& text, std::uint64_t limit) {
  text.clear();
  char buffer[65536];
  for (;;) {
    std::size_t got = 0;
    CResult read = Read(buffer, sizeof buffer, got);
    if (!read.Ok()) return read;
    if (got == 0) return CResult::Done();
    if (text.size() + got > limit) {
      text.clear();
      return CResult::SystemError(m_path, EFBIG);
    }
    text.append(buffer, got);
  }
}

namespace {

// Hands `bytes` to `transfer` (a write at `offset`) until all of it is taken: short
// transfers are continued, interrupted ones repeated.
template <typename Transfer>
CResult WriteEverything(const std::string& path, std::string_view bytes, std::uint64_t offset,
                        Transfer transfer) {
  const char* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t n = transfer(data, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return CResult::SystemError(path, errno);
    }
    if (n == 0) return CResult::SystemError(path, EIO);
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += static_cast<std::uint64_t>(n);
  }
  return CResult::Done();
}

}  // namespace

CResult CFile::WriteAll(std::string_view bytes) {
  return WriteEverything(m_path, bytes, 0, [this](const char* data, std::size_t size, std::uint64_t) {
    return Sys().write(m_fd, data, size);
  });
}

CResult CFile::WriteAt(std::string_view bytes, std::uint64_t offset) {
  return WriteEverything(m_path, bytes, offset, [this](const char* data, std::size_t size, std::uint64_t at) {
    return Sys().pwrite(m_fd, data, size, static_cast<off_t>(at));
  });
}

CResult CFile::ReadAt(char* buffer, std::size_t size, std::uint64_t offset, std::size_t& got) {
  got = 0;
  if (CResult moved = Seek(offset); !moved.Ok()) return moved;
  while (got < size) {
    std::size_t n = 0;
    if (CResult read = Read(buffer + got, size - got, n); !read.Ok()) return read;
    if (n == 0) break;
    got += n;
  }
  return CResult::Done();
}

CResult CFile::Seek(std::uint64_t offset) {
  if (Sys().lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) return CResult::SystemError(m_path, errno);
  return CResult::Done();
}

CResult CFile::Truncate(std::uint64_t length) {
  if (Sys().ftruncate(m_fd, static_cast<off_t>(length)) != 0) return CResult::SystemError(m_path, errno);
  return CResult::Done();
}

CResult CFile::Sync() {
  if (Sys().fsync(m_fd) != 0) return CResult::SystemError(m_path, errno);
  return CResult::Done();
}

void CFile::StartWriteback(std::uint64_t offset, std::uint64_t length) noexcept {
  if (m_fd >= 0)
    (void)::sync_file_range(m_fd, static_cast<off_t>(offset), static_cast<off_t>(length),
                            SYNC_FILE_RANGE_WRITE);
}

CResult CFile::Info(struct stat& info) const {
  if (Sys().fstat(m_fd, &info) != 0) return CResult::SystemError(m_path, errno);
  return CResult::Done();
}

CResult CFile::Identity(CFileIdentity& identity) const {
  struct stat info {};
  CResult examined = Info(info);
  if (examined.Ok()) identity = CFileIdentity::Of(info);
  return examined;
}

CFileIdentity CFileIdentity::Of(const struct stat& info) noexcept {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
          static_cast<std::uint64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

CResult CFile::LinkAs(const std::string& target, bool replace) {
  if (!m_temporary) return CResult::Failed(target + ": not a temporary file", EINVAL);
  if (!m_tempName.empty()) {
    CResult linked = replace ? RenameNamed(target) : LinkNamed(target);
    if (!linked.Ok()) return linked;
  } else {
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    if (Sys().linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno != EEXIST || !replace) return CResult::SystemError(target, errno);
      // A link cannot replace a file: link under a hidden name beside it, then rename
      // that over the target, which replaces in one step. A kill between the two leaves
      // the hidden name, which the next replacement of the target removes.
      const std::string dir = DirectoryOf(target);
      std::string hidden;
      int attempts = 0;
      for (;;) {
        hidden = JoinPath(dir, HiddenTemporaryPrefix(target) + UniqueSuffix());
        if (Sys().linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
        if (errno != EEXIST || ++attempts == 100) return CResult::SystemError(target, errno);
      }
      if (Sys().rename(hidden.c_str(), target.c_str()) != 0) {
        const int error = errno;
        Sys().unlink(hidden.c_str());
        return CResult::SystemError(target, error);
      }
    }
  }
  m_temporary = false;
  m_tempName.clear();
  m_path = target;
  return CResult::Done();
}

CResult CFile::RenameNamed(const std::string& target) {
  if (Sys().rename(m_tempName.c_str(), target.c_str()) != 0) return CResult::SystemError(target, errno);
  return CResult::Done();
}

CResult CFile::LinkNamed(const std::string& target) {
  if (Sys().linkat(AT_FDCWD, m_tempName.c_str(), AT_FDCWD, target.c_str(), 0) == 0) {
    Sys().unlink(m_tempName.c_str());
    return CResult::Done();
  }
  const int error = errno;
  // A file system without hard links: the name is checked, then the temporary renamed
  // (a file made in between would be replaced; nothing closer is offered there).
  if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS) return CResult::SystemError(target, error);
  struct stat info {};
  if (Sys().lstat(target.c_str(), &info) == 0) return CResult::SystemError(target, EEXIST);
  return RenameNamed(target);
}

CResult CFile::Close() {
  if (m_fd < 0) return CResult::Done();
  const bool removeName = m_temporary && !m_tempName.empty();
  const int fd = std::exchange(m_fd, -1);
  CResult result;
  // After close() the descriptor is gone even when it reports EINTR; it is never retried.
  if (Sys().close(fd) != 0 && errno != EINTR) result = CResult::SystemError(m_path, errno);
  if (removeName) Sys().unlink(m_tempName.c_str());
  m_temporary = false;
  m_tempName.clear();
  return result;
}

void CFile::Discard() noexcept {
  if (m_fd >= 0) {
    Sys().close(m_fd);
    m_fd = -1;
  }
  if (m_temporary && !m_tempName.empty()) Sys().unlink(m_tempName.c_str());
  m_temporary = false;
  m_tempName.clear();
}

}  // namespace corvane
