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
    CreateOnly,  // never replaces a file: one that exists at the start or at the commit is refused (EEXIST)
  };

  CFileReplacement() = default;
  ~CFileReplacement();  // abandons an uncommitted replacement
  CFileReplacement(const CFileReplacement&) = delete;
  CFileReplacement& operator=(const CFileReplacement&) = delete;

  // Starts the new version of `path`. A symbolic link is followed (the link stays and
  // its target is replaced). An existing target must be a writable regular file; it
  // is locked for the whole run, so that a second job cannot write it meanwhile. The
  // hidden temporaries that runs killed before their commit left for the target
  // (".NAME.XXXXXX", no longer locked by a living job) are removed from its folder. The
  // new content goes to a temporary file in the target's folder (same file system),
  // unnamed where possible.
  // The target is rewritten in place, at the commit and from a complete copy, where its
  // folder refuses new files but the target itself is writable (the copy is then made
  // in the temporary folder, $TMPDIR or /tmp), or where the policy says so; where no
  // copy can be made the run is refused before the old file is touched.
  // A file that did not exist is created with `newFileMode` less the umask.
  CResult Begin(const std::string& path, Policy policy = Policy::Replace, mode_t newFileMode = 0666);

  // Where the new content goes, from its first byte.
  CFile& File() noexcept { return m_file; }
  // The commit copies the new content over the old file instead of renaming.
  bool InPlace() const noexcept { return m_inPlace; }
  // Why the target is rewritten in place, for the user; empty otherwise.
  const std::string& InPlaceNote() const noexcept { return m_inPlaceNote; }
  bool IsActive() const noexcept { return m_file.IsOpen(); }
  // The file that is replaced (links followed).
  const std::string& Target() const noexcept { return m_target; }

  // Makes the new content durable and puts it in place, with the old file's mode (and
  // owner, where allowed). In place: room for the whole new content is claimed on the
  // target's disk first (a full disk fails before the first byte of the old file
  // changes), then the copy and the cut of the old tail run with the cancel signals
  // held off; only the end of the process by SIGKILL or power loss during the copy
  // leaves a mix of both. Afterwards the replacement is finished either way.
  CResult Commit();
  // Drops the new content; the old file stays as it was.
  void Abandon() noexcept;

 private:
  CResult LockTarget();
  CResult BeginInPlace(bool linked, int refusal);
  CResult CommitInPlace();

  std::string m_target;
  CFile m_file;
  CFile m_lock;  // the old file, held locked while the run lasts (in place: open for writing)
  Policy m_policy = Policy::Replace;
  bool m_inPlace = false;
  bool m_existed = false;
  std::string m_inPlaceNote;
  mode_t m_newFileMode = 0666;
  struct stat m_old {};
};

}  // namespace corvane
