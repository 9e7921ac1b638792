#include "SysCallFaults.h"

#include <cerrno>
#include <mutex>
#include <set>
#include <stdexcept>

namespace corvane::test {
namespace {

struct CState {
  CSysCallFault::Call call = CSysCallFault::Call::Write;
  int error = 0;
  int nth = 1;
  int count = 0;
  std::string pathPart;
  int seen = 0;
  int hits = 0;
  std::set<int> fds;  // descriptors opened by a matching path
  std::mutex mutex;
};

CState* g_state = nullptr;
const CSysCalls* g_previous = nullptr;

bool PathMatches(const char* path) {
  return g_state->pathPart.empty() || std::string(path).find(g_state->pathPart) != std::string::npos;
}

bool FdMatches(int fd) {
  std::lock_guard<std::mutex> lock(g_state->mutex);
  return g_state->pathPart.empty() || g_state->fds.count(fd) > 0;
}

// Counts a matching call; true when it is to fail.
bool Strike(CSysCallFault::Call call, bool matches) {
  if (g_state->call != call || !matches) return false;
  std::lock_guard<std::mutex> lock(g_state->mutex);
  ++g_state->seen;
  if (g_state->seen < g_state->nth || g_state->seen >= g_state->nth + g_state->count) return false;
  ++g_state->hits;
  return true;
}

const CSysCalls& Real() { return RealSysCalls(); }

int Fail(int error) {
  errno = error;
  return -1;
}

const CSysCalls kFaulty = {
    [](const char* path, int flags, mode_t mode) -> int {
      if (Strike(CSysCallFault::Call::Open, PathMatches(path))) return Fail(g_state->error);
      const int fd = Real().open(path, flags, mode);
      if (fd >= 0 && !g_state->pathPart.empty() && PathMatches(path)) {
        std::lock_guard<std::mutex> lock(g_state->mutex);
        g_state->fds.insert(fd);
      }
      return fd;
    },
    [](int fd, void* buffer, size_t size) -> ssize_t {
      if (Strike(CSysCallFault::Call::Read, FdMatches(fd))) return Fail(g_state->error);
      return Real().read(fd, buffer, size);
    },
    [](int fd, const void* buffer, size_t size) -> ssize_t {
      if (Strike(CSysCallFault::Call::Write, FdMatches(fd))) return Fail(g_state->error);
      if (Strike(CSysCallFault::Call::ShortWrite, FdMatches(fd))) {
        return Real().write(fd, buffer, size > 1 ? size / 2 : size);
      }
      return Real().write(fd, buffer, size);
    },
    [](int fd, const void* buffer, size_t size, off_t offset) -> ssize_t {
      if (Strike(CSysCallFault::Call::Pwrite, FdMatches(fd))) return Fail(g_state->error);
      return Real().pwrite(fd, buffer, size, offset);
    },
    [](int fd, off_t offset, int whence) { return Real().lseek(fd, offset, whence); },
    [](int fd, struct stat* info) { return Real().fstat(fd, info); },
    [](int fd, off_t length) -> int {
      if (Strike(CSysCallFault::Call::Ftruncate, FdMatches(fd))) return Fail(g_state->error);
      return Real().ftruncate(fd, length);
    },
    [](int fd, int mode, off_t offset, off_t length) -> int {
      if (Strike(CSysCallFault::Call::Fallocate, FdMatches(fd))) return Fail(g_state->error);
      return Real().fallocate(fd, mode, offset, length);
    },
    [](int fd) -> int {
      if (Strike(CSysCallFault::Call::Fsync, FdMatches(fd))) return Fail(g_state->error);
      return Real().fsync(fd);
    },
    [](int fd) -> int {
      const bool fail = Strike(CSysCallFault::Call::Close, FdMatches(fd));
      {
        std::lock_guard<std::mutex> lock(g_state->mutex);
        g_state->fds.erase(fd);
      }
      const int closed = Real().close(fd);  // the descriptor goes either way, as with a real failure
      return fail ? Fail(g_state->error) : closed;
    },
    [](int fd, int operation) -> int {
      if (Strike(CSysCallFault::Call::Flock, FdMatches(fd))) return Fail(g_state->error);
      return Real().flock(fd, operation);
    },
    [](int fd, mode_t mode) { return Real().fchmod(fd, mode); },
    [](int fd, uid_t owner, gid_t group) { return Real().fchown(fd, owner, group); },
    [](const char* from, const char* to) -> int {
      if (Strike(CSysCallFault::Call::Rename, PathMatches(to))) return Fail(g_state->error);
      return Real().rename(from, to);
    },
    [](int fromDir, const char* from, int toDir, const char* to, int flags) -> int {
      if (Strike(CSysCallFault::Call::Linkat, PathMatches(to))) return Fail(g_state->error);
      return Real().linkat(fromDir, from, toDir, to, flags);
    },
    [](const char* path) { return Real().unlink(path); },
    [](const char* path, struct stat* info) -> int {
      if (Strike(CSysCallFault::Call::Stat, PathMatches(path))) return Fail(g_state->error);
      return Real().stat(path, info);
    },
    [](const char* path, struct stat* info) -> int {
      if (Strike(CSysCallFault::Call::Stat, PathMatches(path))) return Fail(g_state->error);
      return Real().lstat(path, info);
    },
    [](const char* path, mode_t mode) -> int {
      if (Strike(CSysCallFault::Call::Mkdir, PathMatches(path))) return Fail(g_state->error);
      return Real().mkdir(path, mode);
    },
};

}  // namespace

CSysCallFault::CSysCallFault(Call call, int error, int nth, std::string pathPart, int count) {
  if (g_state != nullptr) throw std::logic_error("one system call fault at a time");
  g_state = new CState();
  g_state->call = call;
  g_state->error = error;
  g_state->nth = nth;
  g_state->count = count;
  g_state->pathPart = std::move(pathPart);
  g_previous = InstallSysCalls(&kFaulty);
}

CSysCallFault::~CSysCallFault() {
  InstallSysCalls(g_previous);
  delete g_state;
  g_state = nullptr;
}

int CSysCallFault::Hits() const { return g_state->hits; }

namespace {

std::string g_noNewFilesFolder;
int g_fallocateError = 0;
void (*g_onPwrite)(int fd) = nullptr;

const CSysCalls kNoNewFiles = [] {
  CSysCalls table = RealSysCalls();
  table.open = [](const char* path, int flags, mode_t mode) -> int {
    // The folder itself (an unnamed file in it) or a new hidden name in it.
    const std::string name(path);
    if (name == g_noNewFilesFolder ||
        (name.rfind(g_noNewFilesFolder + "/.", 0) == 0 && (flags & O_CREAT) != 0))
      return Fail(EACCES);
    return RealSysCalls().open(path, flags, mode);
  };
  table.fallocate = [](int fd, int mode, off_t offset, off_t length) -> int {
    if (g_fallocateError != 0) return Fail(g_fallocateError);
    return RealSysCalls().fallocate(fd, mode, offset, length);
  };
  table.pwrite = [](int fd, const void* data, size_t size, off_t offset) -> ssize_t {
    if (g_onPwrite != nullptr) g_onPwrite(fd);
    return RealSysCalls().pwrite(fd, data, size, offset);
  };
  return table;
}();

}  // namespace

CNoNewFilesIn::CNoNewFilesIn(std::string folder, int fallocateError, void (*onPwrite)(int fd)) {
  g_noNewFilesFolder = std::move(folder);
  g_fallocateError = fallocateError;
  g_onPwrite = onPwrite;
  m_previous = InstallSysCalls(&kNoNewFiles);
}

CNoNewFilesIn::~CNoNewFilesIn() {
  InstallSysCalls(m_previous);
  g_onPwrite = nullptr;
}

namespace {

void (*g_onWrite)(int fd) = nullptr;

const CSysCalls kWatched = [] {
  CSysCalls table = RealSysCalls();
  table.write = [](int fd, const void* data, size_t size) -> ssize_t {
    if (g_onWrite != nullptr) g_onWrite(fd);
    return RealSysCalls().write(fd, data, size);
  };
  return table;
}();

}  // namespace

CWriteWatch::CWriteWatch(void (*onWrite)(int fd)) {
  g_onWrite = onWrite;
  m_previous = InstallSysCalls(&kWatched);
}

CWriteWatch::~CWriteWatch() {
  InstallSysCalls(m_previous);
  g_onWrite = nullptr;
}

}  // namespace corvane::test
