#pragma once
// The mnemonic dictionary: how a curve named in a file (an alias: "GAMMA RAY",
// "DEPTH_MD", "Bulk Density") becomes a LAS curve, with its mnemonic, the conventional
// spelling of its unit, a description and its family; and how unit spellings ("ohm.m",
// "g/cc") are written in LAS files. The program carries a dictionary of its own
// (data/mnemonics.txt, built in); a user's file of the same form in the settings
// folder adds to it and takes the place of its lines.
//
// The file form (the manual's dictionary page has it in full): "#" comment lines and
// blank lines; "[curves]" and "[units]" start their parts; a curve line is
// "alias | mnemonic | unit | family | description", a unit line "spelling | conventional".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mnemonics/CurveFamily.h"
#include "platform/Result.h"

namespace corvane {

struct CMnemonicEntry {
  std::string mnemonic;  // the LAS mnemonic: no blanks, dots or colons
  std::string unit;      // conventional spelling; empty where no spelling is the rule
  std::string description;
  CurveFamily family = CurveFamily::Unknown;

  bool operator==(const CMnemonicEntry&) const = default;
};

class CMnemonicDictionary {
 public:
  // Adds the lines of `text` (the file form). A line replaces the entry of the same
  // alias, or the spelling of the same unit, that an earlier line gave. A line that
  // does not read is skipped and told in Problems() as "<origin> line N: why".
  void AddText(std::string_view text, std::string_view origin);
  // Adds the lines of a file. A missing file adds nothing and is no failure; one that
  // exists but cannot be read (or is larger than 4 MiB) fails and adds nothing.
  CResult AddFile(const std::string& path);

  // The entry of a name as a file writes it (letter case aside; blanks, dashes, dots
  // and colons taken as underscores): the alias that is the whole name, else the
  // longest alias pattern ("DEPTH_*") that the name begins with. Null when none.
  const CMnemonicEntry* Find(std::string_view name) const;
  // The family of a name (a LAS mnemonic or any alias); Unknown when not listed.
  CurveFamily FamilyOf(std::string_view name) const;
  // The conventional LAS spelling of a unit ("ohm.m" -> "OHMM", "unitless" -> empty),
  // letter case and blanks aside; none when the spelling is not listed.
  std::optional<std::string> ConventionalUnit(std::string_view unit) const;

  // Aliases (whole names and patterns) and unit spellings listed.
  std::size_t AliasCount() const { return m_exact.size() + m_patterns.size(); }
  std::size_t UnitCount() const { return m_units.size(); }
  // The lines skipped, each as "<origin> line N: why".
  const std::vector<std::string>& Problems() const { return m_problems; }

  // The dictionary built into the program.
  static CMnemonicDictionary BuiltIn();
  // The built-in dictionary with the user's file (UserDictionaryPath()) read over it,
  // as it stands now; a user file that cannot be read is told in Problems().
  static CMnemonicDictionary Load();
  // Load() once per process, for callers that look names up often (a plot).
  static const CMnemonicDictionary& Program();

 private:
  struct CPattern {
    std::string prefix;  // a key's beginning, underscores kept
    std::size_t entry;
  };
  void AddCurveLine(std::string_view alias, CMnemonicEntry entry);
  void Problem(std::string_view origin, std::size_t line, std::string_view why);

  std::vector<CMnemonicEntry> m_entries;
  std::unordered_map<std::string, std::size_t> m_exact;  // key -> entry
  std::vector<CPattern> m_patterns;
  std::unordered_map<std::string, std::string> m_units;  // folded spelling -> conventional
  std::vector<std::string> m_problems;
};

// The key under which names are compared: ASCII letters in upper case; blanks, tabs,
// dashes, dots and colons as underscores; runs of underscores made one; none at the
// ends.
std::string MnemonicKey(std::string_view name);

// The user's dictionary: mnemonics.txt in the settings folder that the desktop
// program keeps its settings in ($XDG_CONFIG_HOME/Corvane/, else ~/.config/Corvane/).
// Empty when neither folder is known.
std::string UserDictionaryPath();

// The text of data/mnemonics.txt as the build embedded it.
std::string_view BuiltInMnemonicsText();

}  // namespace corvane
