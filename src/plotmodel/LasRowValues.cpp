#include "plotmodel/LasRowValues.h"

#include <algorithm>
#include <cmath>

#include "lasfile/LasReader.h"

namespace corvane {

CLasRowValues::CLasRowValues(std::size_t curves, std::optional<double> nullValue)
    : m_row(curves, kMissing), m_null(nullValue.value_or(0)), m_hasNull(nullValue.has_value()) {
  // A reading that differs from NULL only in the last bits of a double is null too.
  m_nullTolerance = 1e-9 * std::max(1.0, std::fabs(m_null));
}

const double* CLasRowValues::Take(const CLasRecord& record) {
  const std::size_t kept = std::min(record.cells.size(), m_row.size());
  for (std::size_t c = 0; c < kept; ++c) {
    const double value = record.cells[c].value;  // NaN for a text
    m_row[c] = !std::isfinite(value) || (m_hasNull && std::fabs(value - m_null) <= m_nullTolerance) ? kMissing
                                                                                                    : value;
  }
  std::fill(m_row.begin() + static_cast<std::ptrdiff_t>(kept), m_row.end(), kMissing);
  return m_row.data();
}

}  // namespace corvane
