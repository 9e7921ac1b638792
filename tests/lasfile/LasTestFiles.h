#pragma once
// Small LAS texts for the lasfile tests: a conforming LAS 2.0 file, line by line, and
// edits of it, written to a scratch file with CR LF line ends.
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "lasfile/LasChecker.h"

namespace corvane::test {

// A LAS 2.0 file that breaks no rule: 29 lines, ~V ~W ~C ~P ~O ~A, three curves and
// three rows (DEPT 1670.000 down to 1669.750, step -0.125).
std::vector<std::string> ConformingLas();
// The same data wrapped (WRAP YES): each index alone on its line, the two other values
// on the next (lines 27 to 32).
std::vector<std::string> ConformingWrappedLas();

// Replaces line `line` (1-based) by `text`, which may hold several lines separated by
// "\n"; kDelete deletes the line. Edits apply from the bottom up, so every line
// number refers to the unedited text.
struct CLineEdit {
  int line;
  std::optional<std::string> text;
};
inline constexpr std::nullopt_t kDelete = std::nullopt;
std::vector<std::string> Edited(std::vector<std::string> lines, const std::vector<CLineEdit>& edits);

// The lines joined with CR LF after each.
std::string JoinCrLf(const std::vector<std::string>& lines);

// Checks `bytes` written to a file of `dir`.
CLasReport CheckBytes(const CScratchDir& dir, const std::string& bytes);

// Every finding, one per line, for failure messages.
std::string Describe(const CLasReport& report);

}  // namespace corvane::test
