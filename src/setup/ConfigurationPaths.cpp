#include "setup/ConfigurationPaths.h"

#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"

namespace corvane {

std::string ResolveStoredPath(std::string_view stored, const std::string& configFilePath) {
  if (stored.empty() || stored.front() == '/') return std::string(stored);
  const std::size_t slash = configFilePath.rfind('/');
  if (slash == std::string::npos) return std::string(stored);  // the file is in the working folder
  return configFilePath.substr(0, slash + 1) + std::string(stored);
}

std::string PathToStore(const std::string& path, std::string_view storedBefore,
                        const std::string& configFilePath) {
  if (!storedBefore.empty() && storedBefore.front() != '/' && !path.empty()) {
    const std::string before = ResolveStoredPath(storedBefore, configFilePath);
    if (before == path || SameFileOrPath(before, path)) return std::string(storedBefore);
  }
  if (path.empty() || path.front() == '/') return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::string PathForNewConfiguration(const std::string& path, const std::string& configFilePath) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path file = std::filesystem::absolute(path, error).lexically_normal();
  if (error) return path;
  const std::filesystem::path folder =
      std::filesystem::absolute(configFilePath, error).lexically_normal().parent_path();
  if (error) return file.string();
  const std::filesystem::path relative = file.lexically_relative(folder);
  if (relative.empty() || *relative.begin() == "..") return file.string();
  return relative.string();
}

}  // namespace corvane
