#pragma once
// INI-style profile files with the access rules of the Windows private-profile
// functions: case-insensitive section and key names; the value is the text after
// the first "=", blanks trimmed, one enclosing pair of single or double quotes
// removed; a default when the file, section or key is missing. A write replaces the
// value where the key stands, or appends the key at the end of its section, or adds
// a missing section at the end of the file, or creates a missing file; writing a
// null value removes the key. Every other line, section and key is kept byte for
// byte. Lines end with CR LF on writing; CR LF and lone LF are both read. A UTF-8
// byte-order mark at the start of the file is passed over and kept.
//
// CProfileFile holds a whole file in memory, its sections and keys indexed, so that
// a batch of writes (one save of a setup: four keys a curve) costs one read, one
// atomic replace of the file, and time in proportion to the keys written.
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileReplacement.h"
#include "platform/Result.h"

namespace corvane {

class CProfileFile {
 public:
  // Larger files are not profiles of this program; they are refused unread.
  static constexpr std::uint64_t kMaxFileSize = 64u * 1024u * 1024u;

  CProfileFile();
  ~CProfileFile();
  CProfileFile(CProfileFile&&) noexcept;
  CProfileFile& operator=(CProfileFile&&) noexcept;

  // Reads the file. A missing file gives an empty profile and Done; a file that
  // exists but cannot be read, is not a regular file, is larger than kMaxFileSize or
  // holds a line longer than 16 MiB fails (with an empty profile).
  CResult Load(const std::string& path);
  // The file read last ended in the middle of a line (no line end after its last
  // line): every file this program writes ends with one, so such a file was cut short,
  // by a save that did not finish or a copy that stopped.
  bool CutShort() const noexcept { return m_cutShort; }

  // The value of the key, or nothing when the section or key is missing. Read whole
  // (no length cut).
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  // Sets the key's value as the private-profile write does.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key (the write of a null value); nothing when it is missing.
  void Remove(std::string_view section, std::string_view key);
  // The names of the keys of a section, in file order, as written in the file.
  std::vector<std::string> Keys(std::string_view section) const;

  // Writes the whole profile so that a crash, a kill or a full disk never leaves a
  // truncated or half-written file: a new file beside the old one, synced, then
  // renamed over it (a symbolic link is followed, so the link stays and its target
  // is replaced; mode and owner are kept). A file with several names (hard links), or
  // in a folder that takes no new files, is rewritten in place instead (whole
  // content, then fsync), so that its names stay one file. On failure the old file is
  // untouched; in place, room for the new text is claimed first and the text goes in
  // with the cancel signals held off. A text larger than kMaxFileSize is refused
  // (EFBIG): it could not be read again.
  CResult Save(const std::string& path) const;
  // Save for a file that must not exist yet: a file (or anything else) of that name is
  // refused with EEXIST and stays as it is, even one made while the new file is written.
  CResult SaveNew(const std::string& path) const;

  // The file text as Save would write it.
  std::string Text() const;

 private:
  CResult SaveAs(const std::string& path, CFileReplacement::Policy policy) const;

  using LineList = std::list<std::string>;
  using LineIt = LineList::iterator;
  // Names compared and hashed without regard to letter case, looked up by views.
  struct CNoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept;
  };
  struct CNoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
  };
  template <typename T>
  using CNameMap = std::unordered_map<std::string, T, CNoCaseHash, CNoCaseEqual>;
  struct CSection {
    LineIt header;
    LineIt lastKey;         // the header while the section holds no key
    CNameMap<LineIt> keys;  // each key's first line
    CNameMap<int> repeats;  // keys that stand more than once: how many more times
  };

  void Clear();
  const CSection* FindSection(std::string_view section) const;
  CSection* FindSection(std::string_view section);

  LineList m_lines;               // without line ends
  CNameMap<CSection> m_sections;  // the first section of each name
  bool m_byteOrderMark = false;
  bool m_cutShort = false;
};

// Single-key access in the manner of GetPrivateProfileString and
// WritePrivateProfileString (each call reads, and a write rewrites, the whole file).
std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const std::string& path);
// `value` null removes the key. False when the file could not be written.
bool WriteProfileString(std::string_view section, std::string_view key, const char* value,
                        const std::string& path);

}  // namespace corvane
