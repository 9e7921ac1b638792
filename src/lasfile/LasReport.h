#pragma once
// The result of checking one LAS file: the findings, each with its line, and a summary
// of what the file holds. Findings of one code beyond kListedPerCode are counted but not
// listed, so that a file of a million bad rows gives a report of a few kilobytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lasfile/LasRules.h"

namespace corvane {

struct CLasFinding {
  LasCode code = LasCode::FileUnreadable;
  LasSeverity severity = LasSeverity::Error;
  std::uint64_t line = 0;  // 1-based; 0 when the finding is about the file as a whole
  std::string text;        // the offending text as it stands in the file (bytes, cut to kMaxText)
  std::string reason;      // one sentence, ending with a period
  std::string section;     // of the standard, e.g. "5.4"; empty when none applies
};

struct CLasSectionInfo {
  char letter = 0;    // upper case; a blank for a section line without a letter
  std::string title;  // the section line, cut to kMaxText
  std::uint64_t line = 0;
};

struct CLasCurveSummary {
  std::string mnemonic;
  std::string unit;
  std::uint64_t line = 0;        // its line in ~C
  std::uint64_t values = 0;      // data rows that hold a value for it
  std::uint64_t nulls = 0;       // values equal to NULL
  std::uint64_t unreadable = 0;  // values that are not numbers
  std::uint64_t missing = 0;     // data rows too short to reach it
};

struct CLasSummary {
  std::string version;  // the VERS value as written; empty when there is none
  std::string wrap;     // the WRAP value as written
  std::string nullValue;
  std::vector<CLasSectionInfo> sections;  // in file order, at most kMaxSections
  std::size_t sectionsDropped = 0;
  std::vector<CLasCurveSummary> curves;  // of ~C, in order
  std::size_t curvesDropped = 0;
  std::uint64_t rows = 0;
  std::uint64_t lines = 0;
  std::uint64_t bytes = 0;
  // The index as written in the first and the last data row, when there are rows.
  bool hasIndex = false;
  std::string indexMnemonic;
  std::string indexUnit;
  std::string firstIndex;
  std::string lastIndex;
  std::uint64_t firstIndexLine = 0;
  std::uint64_t lastIndexLine = 0;
};

class CLasReport {
 public:
  static constexpr std::size_t kListedPerCode = 20;
  static constexpr std::size_t kMaxText = 200;
  static constexpr std::size_t kMaxSections = 1000;

  std::string path;
  bool complete = true;    // false when the check stopped before the end of the file
  bool cancelled = false;  // it stopped because it was cancelled
  CLasSummary summary;

  // Counts one finding of `code`; true when it is among the first kListedPerCode and
  // should be added with List (build its reason only then).
  bool Admit(LasCode code) noexcept;
  // Adds an admitted finding. `section` empty: the rule's own.
  void List(LasCode code, std::uint64_t line, std::string_view text, std::string reason,
            std::string_view section = {});
  // Admit and List at once.
  void Add(LasCode code, std::uint64_t line, std::string_view text, std::string reason,
           std::string_view section = {});

  // Puts the listed findings in line order (file-wide findings first); severity breaks ties.
  void SortFindings();

  const std::vector<CLasFinding>& Findings() const noexcept { return m_findings; }
  // All findings of a code or a severity, listed or not.
  std::size_t Count(LasCode code) const noexcept { return m_counts[static_cast<std::size_t>(code)]; }
  std::size_t Count(LasSeverity severity) const noexcept;
  std::size_t Unlisted(LasCode code) const noexcept;
  // Errors, or with `strict` errors and warnings.
  bool Fails(bool strict) const noexcept;

 private:
  std::vector<CLasFinding> m_findings;
  std::array<std::size_t, kLasCodeCount> m_counts{};
};

}  // namespace corvane
