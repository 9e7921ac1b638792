#include "plotmodel/ValueSample.h"

#include <algorithm>
#include <cmath>

namespace corvane {

void CValueSample::Add(long row, float value) {
  if (!Wants(row)) return;
  m_values.push_back(value);
  if (m_values.size() < kCapacity) return;
  // Full: keep the rows of the doubled stride, the even entries.
  m_stride *= 2;
  for (std::size_t i = 0; 2 * i < m_values.size(); ++i) m_values[i] = m_values[2 * i];
  m_values.resize((m_values.size() + 1) / 2);
}

std::optional<std::pair<double, double>> CValueSample::Quantiles(double low, double high,
                                                                 bool positiveOnly) const {
  std::vector<float> values;
  values.reserve(m_values.size());
  // A reading beyond the range of a float (1E+100 in a file) is infinite here: it would
  // put the scale's end out of reach and flatten the curve against the other end.
  for (const float value : m_values)
    if (std::isfinite(value) && (!positiveOnly || value > 0)) values.push_back(value);
  if (values.empty()) return std::nullopt;
  // Linear interpolation between the closest ranks; nth_element keeps this linear in
  // the sample's size, since it runs at every repaint while a file loads.
  auto at = [&values](double fraction) {
    const double rank = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(rank);
    std::nth_element(values.begin(), values.begin() + static_cast<long>(below), values.end());
    const double lower = values[below];
    if (below + 1 >= values.size()) return lower;
    const double upper = *std::min_element(values.begin() + static_cast<long>(below) + 1, values.end());
    return lower + (upper - lower) * (rank - static_cast<double>(below));
  };
  return std::make_pair(at(low), at(high));
}

}  // namespace corvane
