#pragma once
// File services the jobs and pages need beyond reading and writing text.
#include <optional>
#include <string>

#include "platform/File.h"

namespace corvane {

// The identity of the file a path names now (links followed); none when there is none.
std::optional<CFileIdentity> IdentityOf(const std::string& path);

// True when `path` names an existing file (not a directory). An empty path is not a file.
bool FileExists(const std::string& path);

// True when both paths name the same existing file, whatever the written form of
// the paths: relative or absolute, through symbolic links (followed) or hard links.
// Compares device and inode; false when either path names no file.
bool SameFile(const std::string& a, const std::string& b);

// True when both paths name one file: SameFile, or, for files that need not exist
// yet, the same name in the same folder (the folders compared as files).
bool SameFileOrPath(const std::string& a, const std::string& b);

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
