#pragma once
// The decimated form of one curve: for every bucket of rows the least and the
// greatest reading, at several levels (each bucket of a level covers kFactor buckets
// of the level below). Drawing picks the level whose buckets are about one pixel
// high, so its cost follows the pixels, not the rows. Nulls take no part: a bucket
// of nulls only is empty (NaN) and draws as a gap.
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace corvane {

struct CMinMax {
  float lo = std::numeric_limits<float>::quiet_NaN();
  float hi = std::numeric_limits<float>::quiet_NaN();
  bool Empty() const { return std::isnan(lo); }
  void Add(float value) {
    if (std::isnan(value)) return;
    if (Empty()) {
      lo = hi = value;
    } else {
      if (value < lo) lo = value;
      if (value > hi) hi = value;
    }
  }
  void Merge(const CMinMax& other) {
    if (other.Empty()) return;
    Add(other.lo);
    Add(other.hi);
  }
};

class CCurvePyramid {
 public:
  static constexpr std::size_t kFactor = 4;

  // Appends the next bucket of level 0; the levels above follow.
  void Append(const CMinMax& bucket);
  // Room for this many buckets of level 0 (and the levels above).
  void Reserve(std::size_t buckets);
  std::size_t Levels() const { return m_levels.size(); }
  const std::vector<CMinMax>& Level(std::size_t level) const { return m_levels[level]; }
  // What all buckets of level 0 hold together.
  CMinMax Whole() const;
  std::size_t MemoryBytes() const;

 private:
  std::vector<std::vector<CMinMax>> m_levels;
};

}  // namespace corvane
