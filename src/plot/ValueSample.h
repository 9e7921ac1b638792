#pragma once
// An even sample of one curve's readings, for the scale ends (1st and 99th
// percentiles): every row while the curve is short, then every 2nd, 4th, ... row, so
// that it stays small and spread over the whole depth range however long the file is.
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace corvane {

class CValueSample {
 public:
  static constexpr std::size_t kCapacity = 8192;

  // Whether the reading of row `row` is wanted (the rows are offered in order).
  bool Wants(long row) const { return row % m_stride == 0; }
  // A reading of a wanted row; NaN (a null) is not kept.
  void Add(long row, float value);
  long Stride() const { return m_stride; }
  std::size_t Size() const { return m_values.size(); }

  // The readings at the fractions `low` and `high` (0..1) of the sorted sample, with
  // only positive readings counted when `positiveOnly`; none without readings.
  std::optional<std::pair<double, double>> Quantiles(double low, double high, bool positiveOnly) const;

 private:
  std::vector<std::pair<long, float>> m_values;  // row, reading
  long m_stride = 1;
};

}  // namespace corvane
