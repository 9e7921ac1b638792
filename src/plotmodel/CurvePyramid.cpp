#include "plotmodel/CurvePyramid.h"

#include <algorithm>

namespace corvane {

void CCurvePyramid::Append(const CMinMax& bucket, CRowEnds ends) {
  if (m_levels.empty()) m_levels.emplace_back();
  m_levels[0].push_back(bucket);
  m_ends.push_back(ends);
  std::size_t index = m_levels[0].size() - 1;
  for (std::size_t level = 1;; ++level) {
    index /= kFactor;
    if (level == m_levels.size()) {
      // A new level once the one below has outgrown a single bucket.
      const std::vector<CMinMax>& below = m_levels[level - 1];
      if (below.size() <= 1) return;
      std::vector<CMinMax> built((below.size() + kFactor - 1) / kFactor);
      for (std::size_t i = 0; i < below.size(); ++i) built[i / kFactor].Merge(below[i]);
      m_levels.push_back(std::move(built));
      continue;
    }
    std::vector<CMinMax>& current = m_levels[level];
    if (index == current.size()) current.emplace_back();
    current[index].Merge(bucket);
  }
}

void CCurvePyramid::Reserve(std::size_t buckets) {
  if (m_levels.empty()) m_levels.emplace_back();
  m_ends.reserve(buckets);
  for (std::size_t level = 0; buckets > 1; ++level, buckets = (buckets + kFactor - 1) / kFactor) {
    if (level == m_levels.size()) return;  // levels above are made when they are needed
    m_levels[level].reserve(buckets);
  }
}

CRowEnds CCurvePyramid::Ends(std::size_t level, std::size_t first, std::size_t last) const {
  std::size_t span = 1;
  for (std::size_t l = 0; l < level; ++l) span *= kFactor;
  const std::size_t firstBucket = first * span;
  const std::size_t lastBucket = std::min((last + 1) * span, m_ends.size()) - 1;
  return {m_ends[firstBucket].first, m_ends[lastBucket].last};
}

CMinMax CCurvePyramid::Whole() const {
  CMinMax whole;
  if (!m_levels.empty())
    for (const CMinMax& bucket : m_levels.back()) whole.Merge(bucket);
  return whole;
}

std::size_t CCurvePyramid::MemoryBytes() const {
  std::size_t bytes = 0;
  for (const auto& level : m_levels) bytes += level.capacity() * sizeof(CMinMax);
  return bytes + m_ends.capacity() * sizeof(CRowEnds);
}

}  // namespace corvane
