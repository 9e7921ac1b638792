#pragma once
// File services the jobs and pages need beyond reading and writing text: the one
// place that answers what a path names and whether two paths name one file. Every
// question goes through the system-call table (platform/SysCalls.h).
#include <sys/types.h>

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/File.h"
#include "platform/Result.h"

namespace corvane {

// A file's identity: two paths with one identity name one file, whatever their written
// form (relative or absolute, through symbolic or hard links).
struct CFileId {
  dev_t device = 0;
  ino_t inode = 0;
  auto operator<=>(const CFileId&) const = default;
};

enum class FileKind {
  None,  // nothing there, or nothing that can be looked at (see `error`)
  Regular,
  Folder,
  SymbolicLink,  // only when links are not followed
  Other,         // a FIFO, a device, a socket
};

struct CPathInfo {
  FileKind kind = FileKind::None;
  CFileId id;
  std::uint64_t size = 0;
  int error = 0;  // the errno when kind is None
};

// What `path` names; symbolic links are followed unless `followLinks` is false.
CPathInfo PathInfo(const std::string& path, bool followLinks = true);
// True when `path` names a folder (links followed).
bool IsFolder(const std::string& path);

// The identity of the file a path names now (links followed): none when there is none.
// Size and modification time included, so that a file rewritten in place differs.
std::optional<CFileIdentity> IdentityOf(const std::string& path);

// True when `path` names an existing file (not a directory). An empty path is not a file.
bool FileExists(const std::string& path);

// Done when `path` names a regular file that can be opened for reading; otherwise the
// path and the system's reason ("Is a directory" for a folder, "not a regular file"
// for a FIFO or a device, which is never waited on).
CResult CheckReadableFile(const std::string& path);

// True when both paths name the same existing file, whatever the written form of
// the paths: relative or absolute, through symbolic links (followed) or hard links.
// Compares device and inode; false when either path names no file.
bool SameFile(const std::string& a, const std::string& b);

// True when both paths name one file: SameFile, or, for files that need not exist
// yet, the same name in the same folder (the folders compared as files).
bool SameFileOrPath(const std::string& a, const std::string& b);

// Where a path leads, as a key that two paths of one file share: the file itself when
// it exists, else its name in its folder when the folder exists, else the written path.
struct CFilePlace {
  CFileId id;
  std::string name;
  auto operator<=>(const CFilePlace&) const = default;
};
CFilePlace PlaceOf(const std::string& path);

// Makes `folder` and the folders above it that are missing, as `mkdir -p` does (another
// process making them at the same time does no harm). Failed, with the path and the
// reason, when a part of the path is no folder or cannot be made.
CResult MakeFolders(const std::string& folder);

// The platform's directory for temporary files ($TMPDIR, else /tmp).
std::string TempDirectory();

// Deletes a file; false when it could not be deleted (missing included).
bool RemoveFile(const std::string& path) noexcept;

// The directory holding the running executable (from /proc/self/exe), without a
// trailing separator.
std::string ExecutableDirectory();

// Opens `path` in the desktop's text editor (the user's default application for
// text files) without any shell: the program is started directly with the path as
// one argument. Does not wait for the editor. False when it could not be started.
bool LaunchTextEditor(const std::string& path);

}  // namespace corvane
