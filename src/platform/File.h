#pragma once
// The one owner of an open file: every reader and writer of the program holds its
// descriptor in a CFile, so that interrupted calls, short transfers, locks and the
// reporting of failures are handled in one place.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace corvane {

// What tells one version of a file from another: the file (device and inode), its size
// and the time of its last change. A file replaced by another under its name has
// another inode; one written in place another size or time.
struct CFileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;  // st_mtim, in nanoseconds
  bool operator==(const CFileIdentity&) const = default;
  static CFileIdentity Of(const struct stat& info) noexcept;
};

class CFile {
 public:
  enum class Lock { None, Exclusive };

  CFile() = default;
  // Closes without reporting; a named temporary that was never linked in is removed.
  ~CFile();
  CFile(CFile&& other) noexcept;
  CFile& operator=(CFile&& other) noexcept;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens an existing regular file for reading. Anything else (a folder, a FIFO, a
  // device) is refused at once, never waited on. With Lock::Exclusive an advisory lock
  // is taken: a file another job holds is refused; where the file system offers no
  // locks the file is used without one.
  CResult OpenForReading(const std::string& path, Lock lock = Lock::Exclusive);
  // Opens a regular file for writing in place, creating it when missing; nothing in it
  // is emptied or moved. Locks as OpenForReading does.
  CResult OpenForWriting(const std::string& path, Lock lock = Lock::Exclusive);
  // A new, empty file for reading and writing in `directory`. Where the file system
  // allows it the file has no name until LinkAs gives it one, so that nothing is left
  // behind even when the process is killed; elsewhere it is the file
  // "<directory>/<prefix>XXXXXX", removed again when this object lets it go unlinked.
  // Failures are reported under `shownAs` when given (the file the temporary is for).
  CResult CreateTemporary(const std::string& directory, const std::string& prefix,
                          const std::string& shownAs = std::string());

  bool IsOpen() const noexcept { return m_fd >= 0; }
  int Fd() const noexcept { return m_fd; }
  // The path the file was opened by (a temporary: the path it is shown as, else its
  // name, or its folder while unnamed).
  const std::string& Path() const noexcept { return m_path; }
  bool IsUnnamedTemporary() const noexcept { return m_temporary && m_tempName.empty(); }

  // Reads at most `size` bytes; `got` is 0 at the end of the file.
  CResult Read(char* buffer, std::size_t size, std::size_t& got);
  // Reads the rest of the file; refuses (EFBIG) a file longer than `limit` bytes.
  CResult ReadAll(std::string& text, std::uint64_t limit);
  CResult WriteAll(std::string_view bytes);
  CResult WriteAt(std::string_view bytes, std::uint64_t offset);
  // Reads up to `size` bytes from `offset` (fewer only at the end of the file); the
  // file position is left after them.
  CResult ReadAt(char* buffer, std::size_t size, std::uint64_t offset, std::size_t& got);
  CResult Seek(std::uint64_t offset);
  CResult Truncate(std::uint64_t length);
  CResult Sync();
  // Asks the system to start writing the range to disk now, without waiting, so that
  // a later Sync has little left to wait for. Advisory: failures are ignored.
  void StartWriteback(std::uint64_t offset, std::uint64_t length) noexcept;
  CResult Info(struct stat& info) const;
  // The identity of the open file as it is now.
  CResult Identity(CFileIdentity& identity) const;

  // Gives a temporary the name `target`, replacing the file of that name in one step
  // (a rename), so that readers see either the old file or the whole new one. Without
  // `replace`, a file of that name (even one made since the run began) is never
  // replaced: the link fails with EEXIST and the temporary stays unlinked.
  CResult LinkAs(const std::string& target, bool replace = true);

  // Closes and reports what the close said; the file is closed whatever the result.
  CResult Close();
  // Closes without reporting; an unlinked named temporary is removed.
  void Discard() noexcept;

 private:
  CResult OpenRegular(const std::string& path, int flags, Lock lock);
  CResult LockExclusive();
  CResult RenameNamed(const std::string& target);
  CResult LinkNamed(const std::string& target);

  int m_fd = -1;
  std::string m_path;
  bool m_temporary = false;  // not linked in yet
  std::string m_tempName;    // a named temporary's name; empty when unnamed
};

// The folder part of a path ("." when there is none, "/" for the root).
std::string DirectoryOf(const std::string& path);
// The name part of a path.
std::string BaseNameOf(const std::string& path);
// The prefix of the hidden names a new version of `target` is written under in the
// target's folder before it takes the target's place: "." + name + "."; six letters or
// digits follow it.
std::string HiddenTemporaryPrefix(const std::string& target);

}  // namespace corvane
