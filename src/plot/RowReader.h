#pragma once
// The rows of a LAS file read again from the file, for the close-up drawing and the
// readout under the mouse: CLasData keeps only decimated curves and where each
// bucket of rows starts. Keeps the last range it read, a little wider than asked,
// so that scrolling a little reads nothing again.
#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {

class CLasData;
class CTextReader;

class CRowReader {
 public:
  // Rows `first` .. first + count - 1; Value(row, curve) is NaN for a null.
  struct CRows {
    long first = 0;
    long count = 0;
    std::size_t curves = 0;
    std::vector<double> values;  // row-major
    double Value(long row, std::size_t curve) const {
      return values[static_cast<std::size_t>(row - first) * curves + curve];
    }
    bool Holds(long from, long to) const { return count > 0 && from >= first && to < first + count; }
  };

  explicit CRowReader(const CLasData& data);
  ~CRowReader();

  // The rows from..to (clamped to the rows loaded so far). The caller holds the data's
  // lock. A read failure gives fewer rows (none at worst); the plot shows what it has.
  const CRows& Rows(long from, long to);
  // How many rows were parsed from the file so far (for tests and benchmarks).
  long RowsParsed() const { return m_parsed; }

 private:
  void Read(long from, long to);

  const CLasData& m_data;
  std::unique_ptr<CTextReader> m_reader;
  CRows m_rows;
  long m_parsed = 0;
};

}  // namespace corvane
