#include "platform/SysCalls.h"

#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace corvane {
namespace {

const CSysCalls kReal = {
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    ::read,
    ::write,
    ::pwrite,
    ::lseek,
    ::fstat,
    ::ftruncate,
    ::fallocate,
    ::fsync,
    ::close,
    ::flock,
    ::fchmod,
    ::fchown,
    ::rename,
    ::linkat,
    ::unlink,
    ::stat,
    ::lstat,
    ::mkdir,
};

std::atomic<const CSysCalls*> g_table{&kReal};

}  // namespace

const CSysCalls& Sys() noexcept { return *g_table.load(std::memory_order_relaxed); }

const CSysCalls& RealSysCalls() noexcept { return kReal; }

const CSysCalls* InstallSysCalls(const CSysCalls* table) noexcept {
  return g_table.exchange(table != nullptr ? table : &kReal);
}

}  // namespace corvane
