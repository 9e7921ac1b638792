#include "lasfile/LasReport.h"

#include <algorithm>

namespace corvane {

bool CLasReport::Admit(LasCode code) noexcept {
  return ++m_counts[static_cast<std::size_t>(code)] <= kListedPerCode;
}

void CLasReport::List(LasCode code, std::uint64_t line, std::string_view text, std::string reason,
                      std::string_view section) {
  const CLasRule& rule = LasRule(code);
  CLasFinding finding;
  finding.code = code;
  finding.severity = rule.severity;
  finding.line = line;
  finding.text.assign(text.substr(0, kMaxText));
  finding.reason = std::move(reason);
  if (!finding.reason.empty() && finding.reason.back() != '.') finding.reason += '.';
  finding.section.assign(section.empty() ? rule.section : section);
  m_findings.push_back(std::move(finding));
}

void CLasReport::Add(LasCode code, std::uint64_t line, std::string_view text, std::string reason,
                     std::string_view section) {
  if (Admit(code)) List(code, line, text, std::move(reason), section);
}

void CLasReport::SortFindings() {
  std::stable_sort(m_findings.begin(), m_findings.end(), [](const CLasFinding& a, const CLasFinding& b) {
    if (a.line != b.line) return a.line < b.line;
    return static_cast<int>(a.severity) < static_cast<int>(b.severity);
  });
}

std::size_t CLasReport::Count(LasSeverity severity) const noexcept {
  std::size_t total = 0;
  for (std::size_t i = 0; i < kLasCodeCount; ++i)
    if (LasRules()[i].severity == severity) total += m_counts[i];
  return total;
}

std::size_t CLasReport::Unlisted(LasCode code) const noexcept {
  const std::size_t count = Count(code);
  return count > kListedPerCode ? count - kListedPerCode : 0;
}

bool CLasReport::Fails(bool strict) const noexcept {
  return Count(LasSeverity::Error) > 0 || (strict && Count(LasSeverity::Warning) > 0);
}

}  // namespace corvane
