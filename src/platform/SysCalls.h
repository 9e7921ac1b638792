#pragma once
// The system calls through which every file of the program is looked at, opened, read,
// written, allocated, synced, renamed and closed, and every folder made. They are reached through a table so
// that tests can make any one of them fail (a short write, a full disk, an fsync or rename error) on any
// machine and as any user, without special devices or permissions.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace corvane {

struct CSysCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t size);
  ssize_t (*write)(int fd, const void* buffer, size_t size);
  ssize_t (*pwrite)(int fd, const void* buffer, size_t size, off_t offset);
  off_t (*lseek)(int fd, off_t offset, int whence);
  int (*fstat)(int fd, struct stat* info);
  int (*ftruncate)(int fd, off_t length);
  int (*fallocate)(int fd, int mode, off_t offset, off_t length);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*flock)(int fd, int operation);
  int (*fchmod)(int fd, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*rename)(const char* from, const char* to);
  int (*linkat)(int fromDir, const char* from, int toDir, const char* to, int flags);
  int (*unlink)(const char* path);
  int (*stat)(const char* path, struct stat* info);
  int (*lstat)(const char* path, struct stat* info);
  int (*mkdir)(const char* path, mode_t mode);
};

// The table in use: the real calls unless a test installed its own.
const CSysCalls& Sys() noexcept;
// The real calls.
const CSysCalls& RealSysCalls() noexcept;
// Installs `table` (null: the real calls again) and returns the one it replaces.
const CSysCalls* InstallSysCalls(const CSysCalls* table) noexcept;

}  // namespace corvane
