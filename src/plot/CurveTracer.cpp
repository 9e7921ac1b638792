#include "plot/CurveTracer.h"

#include <algorithm>
#include <cmath>

#include "plot/LasData.h"

namespace corvane {

CCurveTracer::CCurveTracer(const CLasData& data, CRowReader* rows, double top, double base, int pixels)
    : m_data(data) {
  const long rowCount = data.Rows();
  if (rowCount == 0 || pixels <= 0 || !(base > top) || data.Curves() == 0) return;
  const double r0 = data.RowAtDepth(top);
  const double r1 = data.RowAtDepth(base);
  // One row more on either side, so that the lines run on to the edges of the view.
  const long from = std::max(0L, static_cast<long>(std::floor(std::min(r0, r1))) - 1);
  const long to = std::min(rowCount - 1, static_cast<long>(std::ceil(std::max(r0, r1))) + 1);
  const double rowsPerPixel = static_cast<double>(to - from + 1) / pixels;

  if (rows != nullptr && rowsPerPixel <= kRowsPerPixelForRows) {
    const CRowReader::CRows& block = rows->Rows(from, to);
    if (block.Holds(from, to)) {
      m_rowsBlock = &block;
      m_fromRow = from;
      m_toRow = to;
      return;
    }
  }

  const CCurvePyramid& pyramid = data.Pyramid(0);
  const int levels = static_cast<int>(pyramid.Levels());
  long bucketRows = CLasData::kBucketRows;
  while (m_level + 1 < levels && bucketRows * static_cast<long>(CCurvePyramid::kFactor) <= rowsPerPixel) {
    ++m_level;
    bucketRows *= static_cast<long>(CCurvePyramid::kFactor);
  }
  const std::size_t size = pyramid.Level(static_cast<std::size_t>(m_level)).size();
  const std::size_t firstBucket = static_cast<std::size_t>(std::max(0L, from / bucketRows - 1));
  const std::size_t lastBucket = std::min(size - 1, static_cast<std::size_t>(to / bucketRows + 1));
  const double pixelsPerDepth = pixels / (base - top);
  long currentPixel = 0;
  int inGroup = 0;
  for (std::size_t b = firstBucket; b <= lastBucket; ++b) {
    const long firstRow = static_cast<long>(b) * bucketRows;
    const long lastRow = std::min(firstRow + bucketRows, rowCount) - 1;
    const double depth = data.DepthAtRow(0.5 * static_cast<double>(firstRow + lastRow));
    const auto pixel = static_cast<long>(std::floor((depth - top) * pixelsPerDepth));
    if (!m_groups.empty() && pixel == currentPixel) {
      CGroup& group = m_groups.back();
      group.depth += (depth - group.depth) / ++inGroup;
      group.last = b;
      continue;
    }
    m_groups.push_back({depth, b, b});
    currentPixel = pixel;
    inGroup = 1;
  }
}

std::vector<CTraceRun> CCurveTracer::Trace(std::size_t curve) const {
  std::vector<CTraceRun> runs;
  CTraceRun run;
  auto endRun = [&] {
    if (!run.empty()) runs.push_back(std::move(run));
    run.clear();
  };
  if (m_rowsBlock != nullptr) {
    const CRowReader::CRows& block = *m_rowsBlock;
    for (long row = m_fromRow; row <= m_toRow; ++row) {
      const double value = block.Value(row, curve);
      if (std::isnan(value)) {
        endRun();
        continue;
      }
      run.push_back({block.Value(row, 0), value, value});
    }
    endRun();
    return runs;
  }
  if (m_groups.empty()) return runs;
  const std::vector<CMinMax>& level = m_data.Pyramid(curve).Level(static_cast<std::size_t>(m_level));
  for (const CGroup& group : m_groups) {
    CMinMax merged;
    for (std::size_t b = group.first; b <= group.last; ++b) merged.Merge(level[b]);
    if (merged.Empty()) {
      endRun();
      continue;
    }
    run.push_back({group.depth, merged.lo, merged.hi});
  }
  endRun();
  return runs;
}

}  // namespace corvane
