#pragma once
// The readings of one data row as the plot takes them from the LAS reader: one number
// per curve, NaN for a null reading, a text that is no number (as the check counts it
// unreadable) and a value the row lacks.
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace corvane {

struct CLasRecord;

class CLasRowValues {
 public:
  static constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

  CLasRowValues(std::size_t curves, std::optional<double> nullValue);

  // The readings of a DataRow record; valid until the next call.
  const double* Take(const CLasRecord& record);

 private:
  std::vector<double> m_row;
  double m_null = 0;
  bool m_hasNull = false;
  double m_nullTolerance = 0;
};

}  // namespace corvane
