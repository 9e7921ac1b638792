#include "plotmodel/RowReader.h"

#include <algorithm>
#include <cmath>

#include "lasfile/LasReader.h"
#include "platform/FileError.h"
#include "plotmodel/LasData.h"
#include "plotmodel/LasRowValues.h"

namespace corvane {

CRowReader::CRowReader(const CLasData& data) : m_data(data) {}

CRowReader::~CRowReader() = default;

const CRowReader::CRows& CRowReader::Rows(long from, long to) {
  const long rows = m_data.Rows();
  from = std::max(from, 0L);
  to = std::min(to, rows - 1);
  if (from > to) {
    m_rows.count = 0;
    return m_rows;
  }
  if (!m_rows.Holds(from, to)) {
    // Half the span again on either side.
    const long margin = (to - from + 1) / 2 + CLasData::kBucketRows;
    Read(std::max(0L, from - margin), std::min(rows - 1, to + margin));
  }
  return m_rows;
}

void CRowReader::Reset() {
  m_reader.reset();
  m_rows = CRows();
  m_changed = false;
}

void CRowReader::NoteChange() {
  m_reader.reset();
  if (m_changed) return;
  m_changed = true;
  if (m_onChange) m_onChange();
}

template <class Take>
void CRowReader::ReadFromBucket(long bucket, Take&& take) {
  if (m_changed) return;
  const CLasHeader& header = m_data.Header();
  const std::size_t curves = m_data.Curves();
  if (!m_reader) m_reader = std::make_unique<CLasReader>();
  if (!m_record) m_record = std::make_unique<CLasRecord>();
  m_reader->OpenData(m_data.Path(), m_data.BucketOffset(bucket), m_data.BucketLine(bucket) - 1,
                     header.wrapped, curves);
  if (!m_data.Identity() || m_reader->Identity() != *m_data.Identity()) {
    NoteChange();
    return;
  }
  CLasRowValues values(curves, header.nullValue);
  long row = bucket * CLasData::kBucketRows;
  const long first = row;
  while (m_reader->Next(*m_record)) {
    if (m_record->kind == LasRecordKind::SectionTitle) break;
    if (m_record->kind != LasRecordKind::DataRow) continue;
    const double* readings = values.Take(*m_record);
    if (std::isnan(readings[0])) continue;  // skipped by the loader too
    // The same size and time, yet another row where the bucket starts: changed all the same.
    if (row == first && readings[0] != m_data.BucketDepth(bucket)) {
      NoteChange();
      break;
    }
    const bool more = take(row, *m_record, readings);
    ++row;
    if (!more) break;
  }
  m_parsed += row - first;
}

void CRowReader::Read(long from, long to) {
  const std::size_t curves = m_data.Curves();
  m_rows.first = from;
  m_rows.count = 0;
  m_rows.curves = curves;
  m_rows.values.clear();
  if (curves == 0) return;
  m_rows.values.reserve(static_cast<std::size_t>(to - from + 1) * curves);
  try {
    ReadFromBucket(from / CLasData::kBucketRows, [&](long row, const CLasRecord&, const double* readings) {
      if (row >= from) {
        m_rows.values.insert(m_rows.values.end(), readings, readings + curves);
        ++m_rows.count;
      }
      return row < to;
    });
  } catch (const CFileError&) {
    m_reader.reset();
  }
  if (m_changed) m_rows.count = 0;
}

std::optional<long> CRowReader::RowOfLine(std::uint64_t line) {
  const long bucket = m_data.BucketOfLine(line);
  if (bucket < 0 || m_data.Curves() == 0) return std::nullopt;
  std::optional<long> found;
  const long last = std::min(m_data.Rows(), (bucket + 1) * CLasData::kBucketRows) - 1;
  try {
    ReadFromBucket(bucket, [&](long row, const CLasRecord& record, const double*) {
      if (record.line.number > line && found) return false;
      found = row;
      return row < last;
    });
  } catch (const CFileError&) {
    m_reader.reset();
  }
  if (m_changed) return std::nullopt;
  return found;
}

}  // namespace corvane
