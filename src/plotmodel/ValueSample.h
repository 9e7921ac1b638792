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

  // Whether the reading of row `row` is wanted. Every wanted row is offered, in order
  // from row 0, so that entry i of the sample is row i * Stride().
  bool Wants(long row) const { return row % m_stride == 0; }
  // The reading of a row (NaN for a null); rows that are not wanted are left out.
  void Add(long row, float value);
  long Stride() const { return m_stride; }
  std::size_t Size() const { return m_values.size(); }
  std::size_t MemoryBytes() const { return m_values.capacity() * sizeof(m_values[0]); }

  // The readings at the fractions `low` and `high` (0..1) of the sorted sample, with
  // only positive readings counted when `positiveOnly` and readings too large for a
  // float never; none without readings.
  std::optional<std::pair<double, double>> Quantiles(double low, double high, bool positiveOnly) const;

 private:
  std::vector<float> m_values;  // of rows 0, Stride(), 2 * Stride(), ...
  long m_stride = 1;
};

}  // namespace corvane
