#include "ReadGate.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/SysCalls.h"

namespace corvane::test {
struct CGateState {
  std::string pathPart;
  int passes = 0;
  std::thread::id owner;
  const CSysCalls* below = nullptr;      // the table the gate was put over
  std::set<int> fds;                     // descriptors opened by a matching path
  std::map<std::thread::id, int> reads;  // per thread, its reads of those
  std::set<std::thread::id> held;
  bool open = false;
  std::mutex mutex;
  std::condition_variable changed;  // a thread was held, or the gate opened

  const CSysCalls& Below() const { return below != nullptr ? *below : RealSysCalls(); }
};

namespace {

// The gate in use. A gate that goes stays (open) in memory until the program ends: a
// job may have taken the gated table just before it was replaced.
std::atomic<CGateState*> g_gate{nullptr};
std::vector<std::unique_ptr<CGateState>> g_gates;

const CSysCalls kGated = {
    [](const char* path, int flags, mode_t mode) -> int {
      CGateState& gate = *g_gate.load();
      const int fd = gate.Below().open(path, flags, mode);
      if (fd >= 0 && std::string(path).find(gate.pathPart) != std::string::npos) {
        std::lock_guard lock(gate.mutex);
        gate.fds.insert(fd);
      }
      return fd;
    },
    [](int fd, void* buffer, size_t size) -> ssize_t {
      CGateState& gate = *g_gate.load();
      {
        std::unique_lock lock(gate.mutex);
        const std::thread::id self = std::this_thread::get_id();
        if (gate.fds.count(fd) > 0 && self != gate.owner && ++gate.reads[self] > gate.passes && !gate.open) {
          gate.held.insert(self);
          gate.changed.notify_all();
          gate.changed.wait(lock, [&gate] { return gate.open; });
        }
      }
      return gate.Below().read(fd, buffer, size);
    },
    [](int fd, const void* buffer, size_t size) { return g_gate.load()->Below().write(fd, buffer, size); },
    [](int fd, const void* buffer, size_t size, off_t offset) {
      return g_gate.load()->Below().pwrite(fd, buffer, size, offset);
    },
    [](int fd, off_t offset, int whence) { return g_gate.load()->Below().lseek(fd, offset, whence); },
    [](int fd, struct stat* info) { return g_gate.load()->Below().fstat(fd, info); },
    [](int fd, off_t length) { return g_gate.load()->Below().ftruncate(fd, length); },
    [](int fd, int mode, off_t offset, off_t length) {
      return g_gate.load()->Below().fallocate(fd, mode, offset, length);
    },
    [](int fd) { return g_gate.load()->Below().fsync(fd); },
    [](int fd) -> int {
      CGateState& gate = *g_gate.load();
      {
        std::lock_guard lock(gate.mutex);
        gate.fds.erase(fd);
      }
      return gate.Below().close(fd);
    },
    [](int fd, int operation) { return g_gate.load()->Below().flock(fd, operation); },
    [](int fd, mode_t mode) { return g_gate.load()->Below().fchmod(fd, mode); },
    [](int fd, uid_t owner, gid_t group) { return g_gate.load()->Below().fchown(fd, owner, group); },
    [](const char* from, const char* to) { return g_gate.load()->Below().rename(from, to); },
    [](int fromDir, const char* from, int toDir, const char* to, int flags) {
      return g_gate.load()->Below().linkat(fromDir, from, toDir, to, flags);
    },
    [](const char* path) { return g_gate.load()->Below().unlink(path); },
    [](const char* path, struct stat* info) { return g_gate.load()->Below().stat(path, info); },
    [](const char* path, struct stat* info) { return g_gate.load()->Below().lstat(path, info); },
    [](const char* path, mode_t mode) { return g_gate.load()->Below().mkdir(path, mode); },
};

}  // namespace

CReadGate::CReadGate(std::string pathPart, int passes) {
  auto gate = std::make_unique<CGateState>();
  gate->pathPart = std::move(pathPart);
  gate->passes = passes;
  gate->owner = std::this_thread::get_id();
  m_state = gate.get();
  g_gates.push_back(std::move(gate));
  g_gate = m_state;
  m_state->below = InstallSysCalls(&kGated);
}

CReadGate::~CReadGate() {
  Open();
  InstallSysCalls(m_state->below);
}

void CReadGate::Open() {
  std::lock_guard lock(m_state->mutex);
  m_state->open = true;
  m_state->changed.notify_all();
}

bool CReadGate::WaitUntilHeld(int threads) const {
  std::unique_lock lock(m_state->mutex);
  return m_state->changed.wait_for(lock, std::chrono::minutes(1), [this, threads] {
    return static_cast<int>(m_state->held.size()) >= threads;
  });
}

int CReadGate::Held() const {
  std::lock_guard lock(m_state->mutex);
  return static_cast<int>(m_state->held.size());
}

}  // namespace corvane::test
