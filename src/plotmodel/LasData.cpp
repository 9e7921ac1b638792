#include "plotmodel/LasData.h"

#include <algorithm>

namespace corvane {

void CBucketBatch::Clear() {
  firstDepth.clear();
  offset.clear();
  line.clear();
  minMax.clear();
  ends.clear();
  rows = 0;
  sampleRows.clear();
  sampleValues.clear();
}

CLasData::CLasData(std::string path) : m_path(std::move(path)) {}

void CLasData::SetIdentity(const CFileIdentity& identity) {
  auto lock = Lock();
  m_identity = identity;
}

void CLasData::Reset() {
  {
    auto lock = Lock();
    m_hasHeader = false;
    m_header = CLasHeader();
    m_identity.reset();
    m_state = LoadState::Loading;
    m_error.clear();
    ++m_generation;
    m_rows = 0;
    m_lastDepth = 0;
    // Swapped out, so that the memory of a long file goes now.
    std::vector<double>().swap(m_bucketDepth);
    std::vector<std::uint64_t>().swap(m_bucketOffset);
    std::vector<std::uint64_t>().swap(m_bucketLine);
    m_pyramids.clear();
    m_samples.clear();
  }
  Tell();
}

void CLasData::SetHeader(CLasHeader header) {
  {
    auto lock = Lock();
    m_header = std::move(header);
    m_pyramids.assign(m_header.curves.size(), CCurvePyramid());
    m_samples.assign(m_header.curves.size(), CValueSample());
    m_hasHeader = true;
    ++m_generation;
  }
  Tell();
}

void CLasData::Reserve(long buckets) {
  auto lock = Lock();
  const auto count = static_cast<std::size_t>(buckets);
  if (count <= m_bucketDepth.capacity()) return;
  m_bucketDepth.reserve(count);
  m_bucketOffset.reserve(count);
  m_bucketLine.reserve(count);
  for (CCurvePyramid& pyramid : m_pyramids) pyramid.Reserve(count);
}

void CLasData::Append(const CBucketBatch& batch) {
  if (batch.firstDepth.empty()) return;
  AddBatch(batch);
  Tell();
}

void CLasData::AddBatch(const CBucketBatch& batch) {
  auto lock = Lock();
  const std::size_t curves = m_pyramids.size();
  for (std::size_t b = 0; b < batch.firstDepth.size(); ++b)
    for (std::size_t c = 0; c < curves; ++c)
      m_pyramids[c].Append(batch.minMax[b * curves + c], batch.ends[b * curves + c]);
  m_bucketDepth.insert(m_bucketDepth.end(), batch.firstDepth.begin(), batch.firstDepth.end());
  m_bucketOffset.insert(m_bucketOffset.end(), batch.offset.begin(), batch.offset.end());
  m_bucketLine.insert(m_bucketLine.end(), batch.line.begin(), batch.line.end());
  for (std::size_t s = 0; s < batch.sampleRows.size(); ++s)
    for (std::size_t c = 0; c < curves; ++c)
      m_samples[c].Add(batch.sampleRows[s], batch.sampleValues[s * curves + c]);
  m_rows += batch.rows;
  m_lastDepth = batch.lastDepth;
  ++m_generation;
}

void CLasData::Finish(LoadState state, std::string error) {
  {
    auto lock = Lock();
    m_state = state;
    m_error = std::move(error);
    ++m_generation;
  }
  Tell();
}

long CLasData::SampleStride() const {
  long stride = 1;
  for (const CValueSample& sample : m_samples) stride = std::max(stride, sample.Stride());
  return stride;
}

long CLasData::BucketOfLine(std::uint64_t line) const {
  if (m_bucketLine.empty()) return -1;
  const auto after = std::upper_bound(m_bucketLine.begin(), m_bucketLine.end(), line);
  return after == m_bucketLine.begin() ? 0 : static_cast<long>(after - m_bucketLine.begin()) - 1;
}

std::optional<std::pair<double, double>> CLasData::DepthExtent() const {
  if (m_rows == 0) return std::nullopt;
  const double first = m_bucketDepth.front();
  return std::make_pair(std::min(first, m_lastDepth), std::max(first, m_lastDepth));
}

// The knots of the depth curve: the first row of every bucket, then the last row.
double CLasData::KnotRow(std::size_t knot) const {
  return knot < m_bucketDepth.size() ? static_cast<double>(knot) * kBucketRows
                                     : static_cast<double>(m_rows - 1);
}

double CLasData::KnotDepth(std::size_t knot) const {
  return knot < m_bucketDepth.size() ? m_bucketDepth[knot] : m_lastDepth;
}

double CLasData::DepthAtRow(double row) const {
  if (m_rows == 0) return 0;
  row = std::clamp(row, 0.0, static_cast<double>(m_rows - 1));
  const auto knot = std::min(static_cast<std::size_t>(row / kBucketRows), m_bucketDepth.size() - 1);
  const double r0 = KnotRow(knot);
  const double r1 = KnotRow(knot + 1);
  const double d0 = KnotDepth(knot);
  const double d1 = KnotDepth(knot + 1);
  if (r1 <= r0) return d0;
  return d0 + (d1 - d0) * (row - r0) / (r1 - r0);
}

double CLasData::RowAtDepth(double depth) const {
  if (m_rows == 0) return 0;
  const std::size_t knots = m_bucketDepth.size() + 1;
  const bool rising = m_lastDepth >= m_bucketDepth.front();
  auto before = [rising](double a, double b) { return rising ? a < b : a > b; };
  if (!before(KnotDepth(0), depth)) return 0;
  if (!before(depth, KnotDepth(knots - 1))) return static_cast<double>(m_rows - 1);
  // The last knot whose depth comes before `depth`.
  std::size_t low = 0;
  std::size_t high = knots - 1;
  while (high - low > 1) {
    const std::size_t mid = (low + high) / 2;
    if (before(KnotDepth(mid), depth))
      low = mid;
    else
      high = mid;
  }
  const double d0 = KnotDepth(low);
  const double d1 = KnotDepth(high);
  const double r0 = KnotRow(low);
  const double r1 = KnotRow(high);
  if (d1 == d0) return r0;
  return std::clamp(r0 + (r1 - r0) * (depth - d0) / (d1 - d0), 0.0, static_cast<double>(m_rows - 1));
}

std::size_t CLasData::MemoryBytes() const {
  std::size_t bytes = m_bucketDepth.capacity() * sizeof(double) +
                      (m_bucketOffset.capacity() + m_bucketLine.capacity()) * sizeof(std::uint64_t);
  for (const CCurvePyramid& pyramid : m_pyramids) bytes += pyramid.MemoryBytes();
  for (const CValueSample& sample : m_samples) bytes += sample.MemoryBytes();
  return bytes;
}

}  // namespace corvane
