#pragma once
// The rows of a LAS file read again from the file, for the close-up drawing, the
// readout under the mouse and the row of a line: CLasData keeps only decimated curves
// and where each bucket of rows starts. The rows are cut by the reader of the first
// pass, so that row n is the same row on every reading. Keeps the last range it read, a
// little wider than asked, so that scrolling a little reads nothing again.
//
// Rows are read only from the file the loader read: before every reading the file
// opened is compared with the loader's by identity (CFileIdentity), and the first row
// read with the depth the loader met there. A file replaced or changed since is never
// read again: the reader gives no rows from then on and says so (FileChanged).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace corvane {

class CLasData;
class CLasReader;
struct CLasRecord;

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
  // The file is no longer the one the loader read: nothing is read from it any more.
  bool FileChanged() const { return m_changed; }
  // Called (on the reading thread, the data's lock held) when the reader finds out.
  void SetChangeListener(std::function<void()> listener) { m_onChange = std::move(listener); }
  // Forgets the rows kept and the change found, for a file read anew.
  void Reset();
  // The row that line `line` of the file belongs to, or the last row before it (the
  // first row for a line above the data); none before the first row has been read or
  // when the file cannot be read again. The caller holds the data's lock.
  std::optional<long> RowOfLine(std::uint64_t line);

 private:
  void Read(long from, long to);
  void NoteChange();
  // Reads the rows from the start of `bucket` on, handing each (row number, record,
  // readings) to `take` until it answers false.
  template <class Take>
  void ReadFromBucket(long bucket, Take&& take);

  const CLasData& m_data;
  std::unique_ptr<CLasReader> m_reader;
  std::unique_ptr<CLasRecord> m_record;
  CRows m_rows;
  long m_parsed = 0;
  bool m_changed = false;
  std::function<void()> m_onChange;
};

}  // namespace corvane
