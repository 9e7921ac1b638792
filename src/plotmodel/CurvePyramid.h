#pragma once
// The decimated form of one curve: for every bucket of rows the least and the
// greatest reading, at several levels (each bucket of a level covers kFactor buckets
// of the level below), and the readings of the first and last row of every bucket.
// Drawing picks the level whose buckets are about one pixel high, so its cost follows
// the pixels, not the rows; the first and last readings join the pixel rows as the
// line through every row would. Nulls take no part in least and greatest: a bucket of
// nulls only is empty (NaN) and draws as a gap; a first or last row that is null is NaN
// and breaks the line there.
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

// The readings of the first and the last row of a bucket (NaN for a null).
struct CRowEnds {
  float first = std::numeric_limits<float>::quiet_NaN();
  float last = std::numeric_limits<float>::quiet_NaN();
};

class CCurvePyramid {
 public:
  static constexpr std::size_t kFactor = 4;

  // Appends the next bucket of level 0; the levels above follow.
  void Append(const CMinMax& bucket, CRowEnds ends);
  // Room for this many buckets of level 0 (and the levels above).
  void Reserve(std::size_t buckets);
  std::size_t Levels() const { return m_levels.size(); }
  const std::vector<CMinMax>& Level(std::size_t level) const { return m_levels[level]; }
  // The first and last readings of the buckets first..last of a level, together. Only
  // level 0 keeps them: a bucket above starts and ends where buckets of level 0 do.
  CRowEnds Ends(std::size_t level, std::size_t first, std::size_t last) const;
  // What all buckets of level 0 hold together.
  CMinMax Whole() const;
  std::size_t MemoryBytes() const;

 private:
  std::vector<std::vector<CMinMax>> m_levels;
  std::vector<CRowEnds> m_ends;  // of the buckets of level 0
};

}  // namespace corvane
