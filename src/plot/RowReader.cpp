#include "plot/RowReader.h"

#include <algorithm>
#include <cmath>

#include "platform/FileError.h"
#include "platform/TextReader.h"
#include "plot/LasData.h"
#include "plot/LasRowParser.h"

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

void CRowReader::Read(long from, long to) {
  const CLasHeader& header = m_data.Header();
  const std::size_t curves = m_data.Curves();
  m_rows.first = from;
  m_rows.count = 0;
  m_rows.curves = curves;
  m_rows.values.clear();
  if (curves == 0) return;
  m_rows.values.reserve(static_cast<std::size_t>(to - from + 1) * curves);
  try {
    if (!m_reader) {
      m_reader = std::make_unique<CTextReader>();
      m_reader->Open(m_data.Path(), false);
    }
    const long bucket = from / CLasData::kBucketRows;
    long row = bucket * CLasData::kBucketRows;
    m_reader->Seek(m_data.BucketOffset(bucket));
    CLasRowParser parser(curves, header.wrapped, header.nullValue.value_or(0), header.nullValue.has_value());
    auto onRow = [&](const double* values, std::uint64_t) {
      if (std::isnan(values[0])) return;  // skipped by the loader too
      if (row >= from && row <= to) {
        m_rows.values.insert(m_rows.values.end(), values, values + curves);
        ++m_rows.count;
      }
      ++row;
    };
    std::string_view line;
    while (row <= to && m_reader->NextLine(line))
      if (!parser.Feed(line, m_reader->Position(), onRow)) break;
    if (row <= to) parser.Finish(onRow);
    m_parsed += row - bucket * CLasData::kBucketRows;
  } catch (const CFileError&) {
    m_reader.reset();  // opened again at the next read
  }
}

}  // namespace corvane
