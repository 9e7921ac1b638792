#pragma once
// INI-style profile files with the access rules of the Windows private-profile
// functions: case-insensitive section and key names; the value is the text after
// the first "=", blanks trimmed, one enclosing pair of single or double quotes
// removed; a default when the file, section or key is missing. A write replaces the
// value where the key stands, or appends the key at the end of its section, or adds
// a missing section at the end of the file, or creates a missing file; writing a
// null value removes the key. Every other line, section and key is kept byte for
// byte. Lines end with CR LF on writing; CR LF and lone LF are both read.
//
// CProfileFile holds a whole file in memory so that a batch of writes (one save of
// a setup: about 500 keys) costs one read and one atomic replace of the file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CProfileFile {
 public:
  // Reads the file. A missing file gives an empty profile and true; a file that
  // exists but cannot be read gives false (and an empty profile).
  bool Load(const std::string& path);

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

  // Writes the whole profile atomically: a temporary file in the same directory,
  // fsync, rename over the target (a symbolic link is followed, so the link stays and
  // its target is replaced; the target's permissions are kept). A crash or a full
  // disk never leaves a truncated or half-written file. False on failure; the old
  // file is then untouched.
  bool Save(const std::string& path) const;

  // The file text as Save would write it.
  std::string Text() const;

 private:
  std::vector<std::string> m_lines;  // without line ends
};

// Single-key access in the manner of GetPrivateProfileString and
// WritePrivateProfileString (each call reads, and a write rewrites, the whole file).
std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const std::string& path);
// `value` null removes the key. False when the file could not be written.
bool WriteProfileString(std::string_view section, std::string_view key, const char* value,
                        const std::string& path);

}  // namespace corvane
