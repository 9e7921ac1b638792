#include "platform/Profile.h"

#include "platform/AsciiText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace corvane {

namespace {

// The name of a section header line ("[name]", blanks allowed around and inside the
// brackets), or false for any other line.
bool SectionName(std::string_view line, std::string_view& name) noexcept {
  std::string_view text = TrimBlanks(line);
  if (text.empty() || text.front() != '[') return false;
  const std::size_t close = text.find(']');
  if (close == std::string_view::npos) return false;
  name = TrimBlanks(text.substr(1, close - 1));
  return true;
}

bool IsComment(std::string_view line) noexcept {
  std::string_view text = TrimBlanks(line);
  return !text.empty() && text.front() == ';';
}

// The key of a key line (the text before the first "=", blanks trimmed), or false
// for a line that holds no key.
bool KeyName(std::string_view line, std::string_view& key) noexcept {
  if (IsComment(line)) return false;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = TrimBlanks(line.substr(0, eq));
  return true;
}

std::string ValueOf(std::string_view line) {
  std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key);
  line.push_back('=');
  line.append(value);
  return line;
}

// A section's place in the line list: the header line and one past its last line.
struct SectionRange {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<std::string>& lines, std::string_view section) {
  std::string_view name;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!SectionName(lines[i], name) || !EqualNoCase(name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end], name)) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, const SectionRange& range,
                                   std::string_view key) {
  std::string_view name;
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    if (KeyName(lines[i], name) && EqualNoCase(name, key)) return i;
  }
  return std::nullopt;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save replaces: symbolic links are followed (even dangling ones, whose
// target the save then creates), so that the link itself survives.
std::optional<std::string> ResolveTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return std::nullopt;
    link.resize(static_cast<std::size_t>(n));
    if (link.empty()) return std::nullopt;
    target = link.front() == '/' ? link : DirectoryOf(target) + "/" + link;
  }
  return std::nullopt;  // a loop of links
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0644 & ~mask);
}

}  // namespace

bool CProfileFile::Load(const std::string& path) {
  m_lines.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);

  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t lf = text.find('\n', start);
    const std::size_t next = lf == std::string::npos ? text.size() : lf + 1;
    std::size_t end = lf == std::string::npos ? text.size() : lf;
    if (lf != std::string::npos && end > start && text[end - 1] == '\r') --end;
    m_lines.emplace_back(text, start, end - start);
    start = next;
  }
  return true;
}

std::optional<std::string> CProfileFile::Get(std::string_view section, std::string_view key) const {
  const auto range = FindSection(m_lines, section);
  if (!range) return std::nullopt;
  const auto line = FindKey(m_lines, *range, key);
  if (!line) return std::nullopt;
  return ValueOf(m_lines[*line]);
}

std::string CProfileFile::GetString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  auto value = Get(section, key);
  return value ? std::move(*value) : std::string(defaultValue);
}

void CProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const auto range = FindSection(m_lines, section);
  if (!range) {
    if (!m_lines.empty()) m_lines.emplace_back();
    std::string header;
    header.reserve(section.size() + 2);
    header.push_back('[');
    header.append(section);
    header.push_back(']');
    m_lines.push_back(std::move(header));
    m_lines.push_back(KeyLine(key, value));
    return;
  }
  if (const auto line = FindKey(m_lines, *range, key)) {
    m_lines[*line] = KeyLine(key, value);
    return;
  }
  // After the section's last key, so that blank lines before the next section stay there.
  std::size_t insertAt = range->header + 1;
  std::string_view name;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (KeyName(m_lines[i], name)) insertAt = i + 1;
  }
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), KeyLine(key, value));
}

void CProfileFile::Remove(std::string_view section, std::string_view key) {
  const auto range = FindSection(m_lines, section);
  if (!range) return;
  if (const auto line = FindKey(m_lines, *range, key)) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*line));
  }
}

std::vector<std::string> CProfileFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  const auto range = FindSection(m_lines, section);
  if (!range) return keys;
  std::string_view name;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (KeyName(m_lines[i], name)) keys.emplace_back(name);
  }
  return keys;
}

std::string CProfileFile::Text() const {
  std::size_t size = 0;
  for (const auto& line : m_lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : m_lines) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

bool CProfileFile::Save(const std::string& path) const {
  if (path.empty()) return false;
  const auto target = ResolveTarget(path);
  if (!target) return false;

  mode_t mode = NewFileMode();
  struct stat st;
  if (::stat(target->c_str(), &st) == 0) {
    // A read-only configuration file stays as it is, like a failed write in place would leave it.
    if (!S_ISREG(st.st_mode) || ::access(target->c_str(), W_OK) != 0) return false;
    mode = st.st_mode & 07777;
  } else if (errno != ENOENT) {
    return false;
  }

  const std::size_t slash = target->rfind('/');
  const std::string dir = DirectoryOf(*target);
  const std::string base = slash == std::string::npos ? *target : target->substr(slash + 1);
  std::string temp = dir + "/." + base + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;

  const bool ok = WriteAll(fd, Text()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!ok || !closed || ::rename(temp.c_str(), target->c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; the file is already complete either way.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const std::string& path) {
  CProfileFile profile;
  if (!profile.Load(path)) return std::string(defaultValue);
  return profile.GetString(section, key, defaultValue);
}

bool WriteProfileString(std::string_view section, std::string_view key, const char* value,
                        const std::string& path) {
  CProfileFile profile;
  if (!profile.Load(path)) return false;
  if (value == nullptr) {
    if (!profile.Get(section, key)) return true;  // nothing to remove: the file stays as it is
    profile.Remove(section, key);
  } else {
    profile.Write(section, key, value);
  }
  return profile.Save(path);
}

}  // namespace corvane
