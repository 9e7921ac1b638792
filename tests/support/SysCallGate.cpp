#include "SysCallGate.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>

#include "platform/SysCalls.h"

namespace corvane::test {
namespace {

struct CGateState {
  std::string pathPart;
  std::uint64_t after = 0;
  std::map<int, std::uint64_t> bytes;  // read so far through each descriptor of a matching path
  int arrivals = 0;
  bool open = false;
  std::mutex mutex;
  std::condition_variable changed;
};

CGateState* g_gate = nullptr;
const CSysCalls* g_previous = nullptr;
CSysCalls g_table;

int GatedOpen(const char* path, int flags, mode_t mode) {
  const int fd = g_previous->open(path, flags, mode);
  if (fd >= 0 && std::string(path).find(g_gate->pathPart) != std::string::npos) {
    std::lock_guard<std::mutex> lock(g_gate->mutex);
    g_gate->bytes[fd] = 0;
  }
  return fd;
}

ssize_t GatedRead(int fd, void* buffer, size_t size) {
  {
    std::unique_lock<std::mutex> lock(g_gate->mutex);
    const auto read = g_gate->bytes.find(fd);
    if (read != g_gate->bytes.end() && read->second >= g_gate->after && !g_gate->open) {
      ++g_gate->arrivals;
      g_gate->changed.notify_all();
      g_gate->changed.wait(lock, [] { return g_gate->open; });
    }
  }
  const ssize_t got = g_previous->read(fd, buffer, size);
  if (got > 0) {
    std::lock_guard<std::mutex> lock(g_gate->mutex);
    const auto read = g_gate->bytes.find(fd);
    if (read != g_gate->bytes.end()) read->second += static_cast<std::uint64_t>(got);
  }
  return got;
}

int GatedClose(int fd) {
  {
    std::lock_guard<std::mutex> lock(g_gate->mutex);
    g_gate->bytes.erase(fd);
  }
  return g_previous->close(fd);
}

}  // namespace

CReadGate::CReadGate(std::string pathPart, std::uint64_t after) {
  if (g_gate != nullptr) throw std::logic_error("one read gate at a time");
  g_gate = new CGateState();
  g_gate->pathPart = std::move(pathPart);
  g_gate->after = after;
  g_previous = &Sys();
  g_table = *g_previous;
  g_table.open = GatedOpen;
  g_table.read = GatedRead;
  g_table.close = GatedClose;
  InstallSysCalls(&g_table);
}

CReadGate::~CReadGate() {
  Open();
  InstallSysCalls(g_previous);
  delete g_gate;
  g_gate = nullptr;
}

bool CReadGate::WaitForArrivals(int count) {
  std::unique_lock<std::mutex> lock(g_gate->mutex);
  return g_gate->changed.wait_for(lock, std::chrono::minutes(2),
                                  [count] { return g_gate->arrivals >= count; });
}

void CReadGate::Open() {
  std::lock_guard<std::mutex> lock(g_gate->mutex);
  g_gate->open = true;
  g_gate->changed.notify_all();
}

}  // namespace corvane::test
