#pragma once
// A new version of a file, written beside it and put in its place only when it is
// complete, so that a cancelled, failed or killed run leaves the old file (or its
// absence) exactly as it was.
#include <string>

#include "platform/File.h"
#include "platform/Result.h"

namespace corvane {

class CFileReplacement {
 public:
  enum class Policy {
    Replace,            // always a new file put in place by a rename
    InPlaceWhenLinked,  // a file with more than one name is rewritten in place, keeping its names together
    NewOnly,            // a new file only: an existing name is refused (EEXIST), at Begin and at Commit
  };

  CFileReplacement() = default;
  ~CFileReplacement();  // abandons an uncommitted replacement
  CFileReplacement(const CFileReplacement&) = delete;
  CFileReplacement& operator=(const CFileReplacement&) = delete;

  // Starts the new version of `path`. A symbolic link is followed (the link stays and
  // its target is replaced). An existing target must be a writable regular file; it
  // is locked for the whole run, so that a second job cannot write it meanwhile. The
  // new content goes to a temporary file in the target's folder (same file system),
  // unnamed where possible. Where the folder refuses new files but the target itself
  // is writable, or the policy says so, the target is written in place instead.
  // A file that did not exist is created with `newFileMode` less the umask.
  CResult Begin(const std::string& path, Policy policy = Policy::Replace, mode_t newFileMode = 0666);

  // Where the new content goes, from its first byte.
  CFile& File() noexcept { return m_file; }
  bool InPlace() const noexcept { return m_inPlace; }
  bool IsActive() const noexcept { return m_file.IsOpen(); }
  // The file that is replaced (links followed).
  const std::string& Target() const noexcept { return m_target; }

  // Makes the new content durable and puts it in place, with the old file's mode (and
  // owner, where allowed). Afterwards the replacement is finished either way.
  CResult Commit();
  // Drops the new content; the old file stays as it was (a file written in place
  // cannot be restored).
  void Abandon() noexcept;

 private:
  std::string m_target;
  CFile m_file;
  CFile m_lock;  // the old file, held locked while the run lasts
  bool m_inPlace = false;
  bool m_existed = false;
  bool m_newOnly = false;
  mode_t m_newFileMode = 0666;
  struct stat m_old {};
};

}  // namespace corvane
