#include "plotmodel/CurveTracer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plotmodel/LasData.h"

namespace corvane {
namespace {

// Puts the pixel rows, one after the other in the order of the rows, into runs.
class CRunBuilder {
 public:
  // The next pixel row; `readings` is false for one of nulls only, which draws nothing.
  void Push(const CTracePoint& point, bool readings) {
    if (std::isnan(m_last) || std::isnan(point.first)) EndRun();
    if (readings) m_run.push_back(point);
    m_last = point.last;
  }
  std::vector<CTraceRun> Finish() {
    EndRun();
    return std::move(m_runs);
  }

 private:
  void EndRun() {
    if (!m_run.empty()) m_runs.push_back(std::move(m_run));
    m_run.clear();
  }

  double m_last = std::numeric_limits<double>::quiet_NaN();
  CTraceRun m_run;
  std::vector<CTraceRun> m_runs;
};

}  // namespace

CCurveTracer::CCurveTracer(const CLasData& data, CRowReader* rows) : m_data(data), m_rows(rows) {}

CCurveTracer::CCurveTracer(const CLasData& data, CRowReader* rows, double top, double base, int pixels)
    : CCurveTracer(data, rows) {
  SetView(top, base, pixels);
}

void CCurveTracer::SetView(double top, double base, int pixels) {
  const CView view{top, base, pixels, m_data.Generation()};
  if (m_view == view) return;
  m_view = view;
  m_traces.assign(m_data.Curves(), std::nullopt);
  m_groups.clear();
  m_fromRows = false;
  m_rowDepths = false;
  m_level = 0;
  const long rowCount = m_data.Rows();
  if (rowCount == 0 || pixels <= 0 || !(base > top) || m_data.Curves() == 0) return;
  m_top = top;
  m_pixelsPerDepth = pixels / (base - top);
  const double r0 = m_data.RowAtDepth(top);
  const double r1 = m_data.RowAtDepth(base);
  // One row more on either side, so that the lines run on to the edges of the view.
  m_fromRow = std::max(0L, static_cast<long>(std::floor(std::min(r0, r1))) - 1);
  m_toRow = std::min(rowCount - 1, static_cast<long>(std::ceil(std::max(r0, r1))) + 1);
  const long viewRows = m_toRow - m_fromRow + 1;
  const double rowsPerPixel = static_cast<double>(viewRows) / pixels;
  m_rowDepths = rowsPerPixel < 1;
  if (m_rows != nullptr && rowsPerPixel <= kRowsPerPixelForRows &&
      viewRows * static_cast<long>(m_data.Curves()) <= kMostReadings)
    m_fromRows = m_rows->Rows(m_fromRow, m_toRow).Holds(m_fromRow, m_toRow);

  // The buckets, for a view too wide for the rows (and should the rows fail to read).
  const CCurvePyramid& pyramid = m_data.Pyramid(0);
  const int levels = static_cast<int>(pyramid.Levels());
  long bucketRows = CLasData::kBucketRows;
  while (m_level + 1 < levels && bucketRows * static_cast<long>(CCurvePyramid::kFactor) <= rowsPerPixel) {
    ++m_level;
    bucketRows *= static_cast<long>(CCurvePyramid::kFactor);
  }
  const std::size_t size = pyramid.Level(static_cast<std::size_t>(m_level)).size();
  const auto firstBucket = static_cast<std::size_t>(std::max(0L, m_fromRow / bucketRows - 1));
  const std::size_t lastBucket = std::min(size - 1, static_cast<std::size_t>(m_toRow / bucketRows + 1));
  for (std::size_t b = firstBucket; b <= lastBucket; ++b) {
    const long firstRow = static_cast<long>(b) * bucketRows;
    const long lastRow = std::min(firstRow + bucketRows, rowCount) - 1;
    const long pixel = PixelOf(m_data.DepthAtRow(0.5 * static_cast<double>(firstRow + lastRow)));
    if (!m_groups.empty() && m_groups.back().pixel == pixel)
      m_groups.back().last = b;
    else
      m_groups.push_back({pixel, b, b});
  }
}

long CCurveTracer::PixelOf(double depth) const {
  // A depth far off the others (a wild reading in the depth curve) lies far outside
  // the view: any pixel row out there will do, one that a long can hold. Clamped before
  // the rounding, without a branch (the order of the operands sends NaN to the top), so
  // that the rounding to a long stays as cheap as it is without the clamp.
  constexpr double kFarOut = 1e15;
  return static_cast<long>(
      std::floor(std::min(kFarOut, std::max(-kFarOut, (depth - m_top) * m_pixelsPerDepth))));
}

double CCurveTracer::PixelMiddle(long pixel) const {
  return m_top + (static_cast<double>(pixel) + 0.5) / m_pixelsPerDepth;
}

const std::vector<CTraceRun>& CCurveTracer::Trace(std::size_t curve) const {
  static const std::vector<CTraceRun> kNone;
  if (curve >= m_traces.size()) return kNone;
  std::optional<std::vector<CTraceRun>>& traced = m_traces[curve];
  if (!traced && m_fromRows) {
    // The reader keeps the rows of the view unless something else was read meanwhile.
    const CRowReader::CRows& block = m_rows->Rows(m_fromRow, m_toRow);
    if (block.Holds(m_fromRow, m_toRow)) traced = TraceRows(curve, block);
  }
  if (!traced) traced = TraceBuckets(curve);
  return *traced;
}

std::vector<CTraceRun> CCurveTracer::TraceRows(std::size_t curve, const CRowReader::CRows& block) const {
  CRunBuilder runs;
  CTracePoint point;
  long pixel = 0;
  long inPixel = 0;
  bool readings = false;
  auto push = [&] {
    if (inPixel == 0) return;
    if (inPixel > 1 || !m_rowDepths) point.depth = PixelMiddle(pixel);
    runs.Push(point, readings);
  };
  for (long row = m_fromRow; row <= m_toRow; ++row) {
    const double depth = block.Value(row, 0);
    const double value = block.Value(row, curve);
    const long at = PixelOf(depth);
    if (inPixel == 0 || at != pixel) {
      push();
      pixel = at;
      inPixel = 0;
      readings = false;
      point = {depth, value, value, value, value};
    }
    ++inPixel;
    point.last = value;
    if (std::isnan(value)) continue;
    point.lo = readings ? std::min(point.lo, value) : value;
    point.hi = readings ? std::max(point.hi, value) : value;
    readings = true;
  }
  push();
  return runs.Finish();
}

std::vector<CTraceRun> CCurveTracer::TraceBuckets(std::size_t curve) const {
  if (m_groups.empty()) return {};
  CRunBuilder runs;
  const CCurvePyramid& pyramid = m_data.Pyramid(curve);
  const std::vector<CMinMax>& level = pyramid.Level(static_cast<std::size_t>(m_level));
  for (const CGroup& group : m_groups) {
    CMinMax merged;
    for (std::size_t b = group.first; b <= group.last; ++b) merged.Merge(level[b]);
    const CRowEnds ends = pyramid.Ends(static_cast<std::size_t>(m_level), group.first, group.last);
    runs.Push({PixelMiddle(group.pixel), merged.lo, merged.hi, ends.first, ends.last}, !merged.Empty());
  }
  return runs.Finish();
}

}  // namespace corvane
