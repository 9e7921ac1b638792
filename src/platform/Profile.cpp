#include "platform/Profile.h"

#include <cerrno>
#include <cstring>
#include <iterator>

#include "platform/AsciiText.h"
#include "platform/File.h"
#include "platform/FileReplacement.h"

namespace corvane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxLineLength = 16u * 1024u * 1024u;

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

}  // namespace

std::size_t CProfileFile::CNoCaseHash::operator()(std::string_view text) const noexcept {
  std::size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-case letters
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(ToLowerAscii(c))) * 1099511628211ull;
  return hash;
}

bool CProfileFile::CNoCaseEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return EqualNoCase(a, b);
}

CProfileFile::CProfileFile() = default;
CProfileFile::~CProfileFile() = default;
// A list keeps its nodes when moved, so the index stays valid.
CProfileFile::CProfileFile(CProfileFile&&) noexcept = default;
CProfileFile& CProfileFile::operator=(CProfileFile&&) noexcept = default;

void CProfileFile::Clear() {
  m_sections.clear();
  m_lines.clear();
  m_byteOrderMark = false;
  m_cutShort = false;
}

CResult CProfileFile::Load(const std::string& path) {
  Clear();
  CFile file;
  CResult opened = file.OpenForReading(path, CFile::Lock::None);
  if (!opened.Ok()) return opened.Error() == ENOENT ? CResult::Done() : opened;
  std::string text;
  CResult read = file.ReadAll(text, kMaxFileSize);
  if (!read.Ok()) return read;
  file.Discard();

  std::size_t start = 0;
  if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
    m_byteOrderMark = true;
    start = kByteOrderMark.size();
  }
  m_cutShort = text.size() > start && text.back() != '\n';
  CSection* current = nullptr;  // the section whose keys are indexed; none before the first header
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    const std::size_t next = lf == std::string::npos ? text.size() : lf + 1;
    std::size_t end = lf == std::string::npos ? text.size() : lf;
    if (lf != std::string::npos && end > start && text[end - 1] == '\r') --end;
    if (end - start > kMaxLineLength) {
      Clear();
      return CResult::Failed(path + ": a line is longer than 16 MiB", EFBIG);
    }
    const LineIt it = m_lines.emplace(m_lines.end(), text, start, end - start);
    start = next;

    std::string_view name;
    if (SectionName(*it, name)) {
      // Only the first section of a name is ever read or written; a later one with
      // the same name is kept as text.
      auto [entry, added] = m_sections.try_emplace(std::string(name));
      current = added ? &entry->second : nullptr;
      if (current != nullptr) current->header = current->lastKey = it;
    } else if (current != nullptr && KeyName(*it, name)) {
      if (!current->keys.try_emplace(std::string(name), it).second) ++current->repeats[std::string(name)];
      current->lastKey = it;
    }
  }
  return CResult::Done();
}

const CProfileFile::CSection* CProfileFile::FindSection(std::string_view section) const {
  const auto found = m_sections.find(section);
  return found == m_sections.end() ? nullptr : &found->second;
}

CProfileFile::CSection* CProfileFile::FindSection(std::string_view section) {
  const auto found = m_sections.find(section);
  return found == m_sections.end() ? nullptr : &found->second;
}

std::optional<std::string> CProfileFile::Get(std::string_view section, std::string_view key) const {
  const CSection* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  const auto line = found->keys.find(key);
  if (line == found->keys.end()) return std::nullopt;
  return ValueOf(*line->second);
}

std::string CProfileFile::GetString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  auto value = Get(section, key);
  return value ? std::move(*value) : std::string(defaultValue);
}

void CProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  CSection* found = FindSection(section);
  if (found == nullptr) {
    if (!m_lines.empty()) m_lines.emplace_back();
    std::string header;
    header.reserve(section.size() + 2);
    header.push_back('[');
    header.append(section);
    header.push_back(']');
    const LineIt headerLine = m_lines.insert(m_lines.end(), std::move(header));
    CSection& added = m_sections[std::string(section)];
    added.header = headerLine;
    added.lastKey = m_lines.insert(m_lines.end(), KeyLine(key, value));
    added.keys.emplace(std::string(key), added.lastKey);
    return;
  }
  if (const auto line = found->keys.find(key); line != found->keys.end()) {
    *line->second = KeyLine(key, value);
    return;
  }
  // After the section's last key, so that blank lines before the next section stay there.
  const LineIt added = m_lines.insert(std::next(found->lastKey), KeyLine(key, value));
  found->keys.emplace(std::string(key), added);
  found->lastKey = added;
}

void CProfileFile::Remove(std::string_view section, std::string_view key) {
  CSection* found = FindSection(section);
  if (found == nullptr) return;
  const auto entry = found->keys.find(key);
  if (entry == found->keys.end()) return;
  const LineIt line = entry->second;
  // A key that stands again further down becomes visible there.
  if (const auto repeat = found->repeats.find(key); repeat != found->repeats.end()) {
    std::string_view name;
    LineIt next = std::next(line);
    while (!(KeyName(*next, name) && EqualNoCase(name, key))) ++next;
    entry->second = next;
    if (--repeat->second == 0) found->repeats.erase(repeat);
  } else {
    found->keys.erase(entry);
  }
  if (line == found->lastKey) {
    // The key before it becomes the last one (the header when there is none).
    std::string_view name;
    LineIt previous = line;
    do {
      --previous;
    } while (previous != found->header && !KeyName(*previous, name));
    found->lastKey = previous;
  }
  m_lines.erase(line);
}

std::vector<std::string> CProfileFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  const CSection* found = FindSection(section);
  if (found == nullptr) return keys;
  std::string_view name;
  for (auto it = std::next(LineList::const_iterator(found->header)); it != m_lines.end(); ++it) {
    if (SectionName(*it, name)) break;
    if (KeyName(*it, name)) keys.emplace_back(name);
  }
  return keys;
}

std::string CProfileFile::Text() const {
  std::size_t size = m_byteOrderMark ? kByteOrderMark.size() : 0;
  for (const auto& line : m_lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  if (m_byteOrderMark) text.append(kByteOrderMark);
  for (const auto& line : m_lines) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

CResult CProfileFile::Save(const std::string& path) const {
  return SaveAs(path, CFileReplacement::Policy::InPlaceWhenLinked);
}

CResult CProfileFile::SaveNew(const std::string& path) const {
  return SaveAs(path, CFileReplacement::Policy::CreateOnly);
}

CResult CProfileFile::SaveAs(const std::string& path, CFileReplacement::Policy policy) const {
  const std::string text = Text();
  if (text.size() > kMaxFileSize)
    return CResult::Failed(path + ": the file would be larger than 64 MiB, and could not be read again",
                           EFBIG);
  CFileReplacement replacement;
  CResult result = replacement.Begin(path, policy, 0644);
  if (result.Ok()) result = replacement.File().WriteAll(text);
  if (result.Ok()) result = replacement.Commit();
  return result;
}

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const std::string& path) {
  CProfileFile profile;
  if (!profile.Load(path).Ok()) return std::string(defaultValue);
  return profile.GetString(section, key, defaultValue);
}

bool WriteProfileString(std::string_view section, std::string_view key, const char* value,
                        const std::string& path) {
  CProfileFile profile;
  if (!profile.Load(path).Ok()) return false;
  if (value == nullptr) {
    if (!profile.Get(section, key)) return true;  // nothing to remove: the file stays as it is
    profile.Remove(section, key);
  } else {
    profile.Write(section, key, value);
  }
  return profile.Save(path).Ok();
}

}  // namespace corvane
