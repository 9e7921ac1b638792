#include "platform/JobProgress.h"

#include "platform/NumberFormat.h"

namespace corvane {

std::string_view CLineProgressText::Line(long n) {
  static constexpr std::string_view kPrefix = "Processing line [";
  m_text.assign(kPrefix);
  AppendInt(m_text, n);
  m_text.push_back(']');
  return m_text;
}

int CLineProgressText::Percent(std::uint64_t done, std::uint64_t total) noexcept {
  if (total == 0) return 100;
  return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
}

}  // namespace corvane
