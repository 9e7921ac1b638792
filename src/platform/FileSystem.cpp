#include "platform/FileSystem.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/File.h"
#include "platform/SysCalls.h"

extern char** environ;

namespace corvane {

CPathInfo PathInfo(const std::string& path, bool followLinks) {
  CPathInfo result;
  struct stat info {};
  if (path.empty()) {
    result.error = ENOENT;
    return result;
  }
  if ((followLinks ? Sys().stat(path.c_str(), &info) : Sys().lstat(path.c_str(), &info)) != 0) {
    result.error = errno;
    return result;
  }
  result.id = {info.st_dev, info.st_ino};
  result.size = static_cast<std::uint64_t>(info.st_size);
  if (S_ISREG(info.st_mode))
    result.kind = FileKind::Regular;
  else if (S_ISDIR(info.st_mode))
    result.kind = FileKind::Folder;
  else if (S_ISLNK(info.st_mode))
    result.kind = FileKind::SymbolicLink;
  else
    result.kind = FileKind::Other;
  return result;
}

bool IsFolder(const std::string& path) { return PathInfo(path).kind == FileKind::Folder; }

bool FileExists(const std::string& path) {
  const FileKind kind = PathInfo(path).kind;
  return kind != FileKind::None && kind != FileKind::Folder;
}

CResult CheckReadableFile(const std::string& path) {
  CFile file;
  return file.OpenForReading(path, CFile::Lock::None);
}

bool SameFile(const std::string& a, const std::string& b) {
  const CPathInfo first = PathInfo(a);
  if (first.kind == FileKind::None) return false;
  const CPathInfo second = PathInfo(b);
  return second.kind != FileKind::None && first.id == second.id;
}

std::optional<CFileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || Sys().stat(path.c_str(), &info) != 0) return std::nullopt;
  return CFileIdentity::Of(info);
}

bool SameFileOrPath(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (a == b || SameFile(a, b)) return true;
  return BaseNameOf(a) == BaseNameOf(b) && SameFile(DirectoryOf(a), DirectoryOf(b));
}

CFilePlace PlaceOf(const std::string& path) {
  if (const CPathInfo file = PathInfo(path); file.kind != FileKind::None) return {file.id, std::string()};
  if (const CPathInfo folder = PathInfo(DirectoryOf(path)); folder.kind != FileKind::None)
    return {folder.id, BaseNameOf(path)};
  return {CFileId(), path};
}

CResult MakeFolders(const std::string& folder) {
  if (folder.empty() || folder == "." || folder == "/") return CResult::Done();
  if (const CPathInfo info = PathInfo(folder); info.kind != FileKind::None)
    return info.kind == FileKind::Folder ? CResult::Done() : CResult::SystemError(folder, ENOTDIR);
  if (CResult above = MakeFolders(DirectoryOf(folder)); !above.Ok()) return above;
  if (Sys().mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return CResult::SystemError(folder, errno);
  return CResult::Done();
}

std::string TempDirectory() {
  const char* env = std::getenv("TMPDIR");
  std::string dir = (env != nullptr && *env != '\0') ? env : "/tmp";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

bool RemoveFile(const std::string& path) noexcept { return !path.empty() && Sys().unlink(path.c_str()) == 0; }

std::string ExecutableDirectory() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < buffer.size()) {
      std::string path(buffer.data(), static_cast<std::size_t>(n));
      const auto slash = path.rfind('/');
      if (slash == std::string::npos) return std::string();
      return path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool LaunchTextEditor(const std::string& path) {
  // xdg-open hands the file to the user's default application for its type.
  std::string program = "xdg-open";
  std::string argument = path;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = -1;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  // Reap the launcher when it ends, so no zombie stays behind; nobody waits for it.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace corvane
