#include "mnemonics/MnemonicDictionary.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>

#include "platform/AsciiText.h"
#include "platform/File.h"
#include "platform/ProgramInfo.h"

namespace corvane {
namespace {

// A dictionary is a few hundred lines; a larger file is not one.
constexpr std::uint64_t kMaxFileSize = 4u * 1024u * 1024u;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class Part { Curves, Units };

bool IsSeparatorChar(char c) { return IsCSpace(c) || c == '-' || c == '.' || c == ':' || c == '_'; }

// The key's characters; `keepEnd` keeps an underscore at the end (a pattern's prefix).
std::string KeyOf(std::string_view name, bool keepEnd) {
  std::string key;
  key.reserve(name.size());
  for (char c : name) {
    if (IsSeparatorChar(c)) {
      if (!key.empty() && key.back() != '_') key.push_back('_');
    } else {
      key.push_back(ToUpperAscii(c));
    }
  }
  if (!keepEnd && !key.empty() && key.back() == '_') key.pop_back();
  return key;
}

// Units compare in lower case without blanks: "Ohm m", "ohmm" and "OHMM" are one.
std::string UnitKey(std::string_view unit) {
  std::string key;
  for (char c : unit)
    if (!IsCSpace(c)) key.push_back(ToLowerAscii(c));
  return key;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = line.find('|', start);
    fields.push_back(TrimCSpace(line.substr(start, bar == std::string_view::npos ? bar : bar - start)));
    if (bar == std::string_view::npos) return fields;
    start = bar + 1;
  }
}

// A LAS mnemonic or unit ends at a blank, a dot (the mnemonic) or a colon.
bool HoldsAny(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string MnemonicKey(std::string_view name) { return KeyOf(name, false); }

void CMnemonicDictionary::Problem(std::string_view origin, std::size_t line, std::string_view why) {
  m_problems.push_back(std::string(origin) + " line " + std::to_string(line) + ": " + std::string(why));
}

void CMnemonicDictionary::AddCurveLine(std::string_view alias, CMnemonicEntry entry) {
  m_entries.push_back(std::move(entry));
  const std::size_t index = m_entries.size() - 1;
  if (alias.back() == '*') {
    std::string prefix = KeyOf(alias.substr(0, alias.size() - 1), true);
    for (CPattern& pattern : m_patterns) {
      if (pattern.prefix == prefix) {
        pattern.entry = index;
        return;
      }
    }
    m_patterns.push_back({std::move(prefix), index});
    return;
  }
  m_exact[MnemonicKey(alias)] = index;
}

void CMnemonicDictionary::AddText(std::string_view text, std::string_view origin) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  Part part = Part::Curves;
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    const std::string_view line = TrimCSpace(raw);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      if (EqualNoCase(line, "[curves]"))
        part = Part::Curves;
      else if (EqualNoCase(line, "[units]"))
        part = Part::Units;
      else
        Problem(origin, number, "no part is named " + Quoted(line) + " (the parts are [curves] and [units])");
      continue;
    }
    const std::vector<std::string_view> fields = Fields(line);
    if (part == Part::Units) {
      if (fields.size() != 2) {
        Problem(origin, number,
                "a unit line has 2 fields separated by |, this one " + std::to_string(fields.size()));
        continue;
      }
      const std::string key = UnitKey(fields[0]);
      if (key.empty()) {
        Problem(origin, number, "the unit spelling is empty");
      } else if (HoldsAny(fields[1], " \t:")) {
        Problem(origin, number, "the unit " + Quoted(fields[1]) + " holds a blank or a colon");
      } else {
        m_units[key] = std::string(fields[1]);
      }
      continue;
    }
    if (fields.size() != 5) {
      Problem(origin, number,
              "a curve line has 5 fields separated by | (alias, mnemonic, unit, family, description), this "
              "one " +
                  std::to_string(fields.size()));
      continue;
    }
    const std::string_view alias = fields[0];
    const bool pattern = !alias.empty() && alias.back() == '*';
    const std::string_view aliasText = pattern ? alias.substr(0, alias.size() - 1) : alias;
    const std::optional<CurveFamily> family = ParseFamily(fields[3]);
    if (MnemonicKey(aliasText).empty()) {
      Problem(origin, number, "the alias is empty");
    } else if (aliasText.find('*') != std::string_view::npos) {
      Problem(origin, number, "a \"*\" stands only at the end of an alias");
    } else if (fields[1].empty() || HoldsAny(fields[1], " \t.:")) {
      Problem(origin, number,
              "the mnemonic " + Quoted(fields[1]) + " is empty or holds a blank, dot or colon");
    } else if (HoldsAny(fields[2], " \t:")) {
      Problem(origin, number, "the unit " + Quoted(fields[2]) + " holds a blank or a colon");
    } else if (!family) {
      Problem(origin, number, "no family is named " + Quoted(fields[3]));
    } else if (HoldsAny(fields[4], ":")) {
      Problem(origin, number,
              "a description cannot hold a colon (LAS readers take it for the line's last one)");
    } else {
      AddCurveLine(alias, {std::string(fields[1]), std::string(fields[2]), std::string(fields[4]), *family});
    }
  }
}

CResult CMnemonicDictionary::AddFile(const std::string& path) {
  CFile file;
  if (CResult opened = file.OpenForReading(path, CFile::Lock::None); !opened.Ok())
    return opened.Error() == ENOENT ? CResult::Done() : opened;
  std::string text;
  if (CResult read = file.ReadAll(text, kMaxFileSize); !read.Ok()) return read;
  AddText(text, path);
  return CResult::Done();
}

const CMnemonicEntry* CMnemonicDictionary::Find(std::string_view name) const {
  const std::string key = MnemonicKey(name);
  if (key.empty()) return nullptr;
  if (const auto found = m_exact.find(key); found != m_exact.end()) return &m_entries[found->second];
  const CPattern* best = nullptr;
  for (const CPattern& pattern : m_patterns) {
    if (key.size() > pattern.prefix.size() && key.compare(0, pattern.prefix.size(), pattern.prefix) == 0 &&
        (best == nullptr || pattern.prefix.size() > best->prefix.size()))
      best = &pattern;
  }
  return best != nullptr ? &m_entries[best->entry] : nullptr;
}

CurveFamily CMnemonicDictionary::FamilyOf(std::string_view name) const {
  const CMnemonicEntry* entry = Find(name);
  return entry != nullptr ? entry->family : CurveFamily::Unknown;
}

std::optional<std::string> CMnemonicDictionary::ConventionalUnit(std::string_view unit) const {
  const auto found = m_units.find(UnitKey(unit));
  if (found == m_units.end()) return std::nullopt;
  return found->second;
}

CMnemonicDictionary CMnemonicDictionary::BuiltIn() {
  CMnemonicDictionary dictionary;
  dictionary.AddText(BuiltInMnemonicsText(), "built-in mnemonics.txt");
  return dictionary;
}

CMnemonicDictionary CMnemonicDictionary::Load() {
  CMnemonicDictionary dictionary = BuiltIn();
  if (const std::string path = UserDictionaryPath(); !path.empty()) {
    if (CResult added = dictionary.AddFile(path); !added.Ok())
      dictionary.m_problems.push_back(added.Reason());
  }
  return dictionary;
}

const CMnemonicDictionary& CMnemonicDictionary::Program() {
  static const CMnemonicDictionary dictionary = Load();
  return dictionary;
}

std::string UserDictionaryPath() {
  // The rule the desktop's settings follow: $XDG_CONFIG_HOME when it is an absolute
  // path, else .config in the home folder.
  std::string folder;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    std::string homeFolder = home != nullptr ? home : "";
    if (homeFolder.empty()) {
      std::array<char, 4096> buffer{};
      passwd entry{};
      passwd* found = nullptr;
      if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
          found->pw_dir != nullptr)
        homeFolder = found->pw_dir;
    }
    if (homeFolder.empty()) return std::string();
    folder = homeFolder + "/.config";
  }
  return folder + "/" + kAppTitle + "/mnemonics.txt";
}

}  // namespace corvane
