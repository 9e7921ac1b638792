#pragma once
// Makes the program's system calls fail on purpose, through the platform's call
// table: a full disk, an I/O error on fsync, a refused rename or a short write, on
// any machine and as any user.
#include <string>

#include "platform/SysCalls.h"

namespace corvane::test {

class CSysCallFault {
 public:
  enum class Call {
    Open,
    Read,
    Write,
    ShortWrite,
    Pwrite,
    Fsync,
    Close,
    Ftruncate,
    Fallocate,
    Flock,
    Rename,
    Linkat,
    Stat,  // stat and lstat
    Mkdir
  };

  // From the `nth` call of `call` on (counting from 1), `count` calls fail with
  // `error` (ShortWrite: write half of what they are given, a single byte whole).
  // With `pathPart`, only calls on paths that
  // contain it, or on descriptors opened by such a path, count. Installed until
  // destruction.
  CSysCallFault(Call call, int error, int nth = 1, std::string pathPart = std::string(), int count = 1 << 30);
  ~CSysCallFault();
  CSysCallFault(const CSysCallFault&) = delete;
  CSysCallFault& operator=(const CSysCallFault&) = delete;

  // How many times the call failed (or was shortened).
  int Hits() const;
};

// A folder that takes no new files (EACCES), as one without write permission does for
// anyone but root, while the files in it stay writable; with `fallocateError`, every
// fallocate fails so (a full disk); `onPwrite`, when given, sees each pwrite first.
// Installed until destruction.
class CNoNewFilesIn {
 public:
  explicit CNoNewFilesIn(std::string folder, int fallocateError = 0, void (*onPwrite)(int fd) = nullptr);
  ~CNoNewFilesIn();
  CNoNewFilesIn(const CNoNewFilesIn&) = delete;
  CNoNewFilesIn& operator=(const CNoNewFilesIn&) = delete;

 private:
  const CSysCalls* m_previous;
};

// Calls `onWrite` before each write of the program's files (a signal at a chosen write,
// say). Installed until destruction.
class CWriteWatch {
 public:
  explicit CWriteWatch(void (*onWrite)(int fd));
  ~CWriteWatch();
  CWriteWatch(const CWriteWatch&) = delete;
  CWriteWatch& operator=(const CWriteWatch&) = delete;

 private:
  const CSysCalls* m_previous;
};

}  // namespace corvane::test
