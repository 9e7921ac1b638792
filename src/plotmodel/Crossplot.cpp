#include "plotmodel/Crossplot.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <new>

#include "lasfile/LasReader.h"
#include "platform/FileError.h"
#include "platform/JobProgress.h"
#include "plotmodel/LasRowValues.h"

namespace corvane {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
// Rows between two looks at Cancel and two progress reports.
constexpr long kRowsPerReport = 16 * 1024;

// Feeds the data rows the reader gives into the plot, up to `most` rows (none: all).
// The rows end at the next section line.
LoadState Feed(CLasReader& reader, const CLasHeader& header, CCrossplot& plot, CJobProgress& progress,
               long most, const std::function<bool(const double*)>& firstRowHolds = {}) {
  const std::size_t curves = header.curves.size();
  CLasRowValues values(curves, header.nullValue);
  CLineProgressText lineText;
  CLasRecord record;
  long rows = 0;
  while (reader.Next(record)) {
    if (record.kind == LasRecordKind::SectionTitle) break;
    if (record.kind != LasRecordKind::DataRow) continue;
    const double* readings = values.Take(record);
    if (std::isnan(readings[0])) continue;  // a row without a depth, as the loader skips it
    if (rows == 0 && firstRowHolds && !firstRowHolds(readings)) return LoadState::Failed;
    plot.Add(readings, curves);
    ++rows;
    if (most >= 0 && rows >= most) break;
    if (rows % kRowsPerReport == 0) {
      progress.SetLineText(lineText.Line(static_cast<long>(record.line.number)));
      progress.SetPercent(CLineProgressText::Percent(reader.BytesRead(), reader.Size()));
      if (progress.PollCancel()) return LoadState::Cancelled;
    }
  }
  return LoadState::Done;
}

CCrossplotRead Failed(std::string error, bool changed = false) {
  return {LoadState::Failed, std::move(error), changed};
}

}  // namespace

CTrackScale CrossplotAxis(const CValueSample& sample, CurveFamily family, const std::string& unit,
                          bool vertical) {
  const bool log = IsResistivity(family) || (family == CurveFamily::Unknown && IsResistivityUnit(unit));
  const CTrackScale proposed = CTrackScale::Proposed(sample, log, family, unit);
  double start = std::min(proposed.Left(), proposed.Right());
  double end = std::max(proposed.Left(), proposed.Right());
  if (vertical && family == CurveFamily::Density) std::swap(start, end);
  return CTrackScale(start, end, log);
}

CCrossplot::CCrossplot(CCrossplotSetup setup)
    : m_setup(setup),
      m_counts(static_cast<std::size_t>(kBins) * kBins, 0),
      m_binShallowest(m_counts.size(), kNone),
      m_binDeepest(m_counts.size(), kNone) {
  if (m_setup.base < m_setup.top) std::swap(m_setup.top, m_setup.base);
}

void CCrossplot::Add(const double* readings, std::size_t count) {
  const double depth = readings[0];
  if (std::isnan(depth)) return;
  m_shallowest = m_rowsRead == 0 ? depth : std::min(m_shallowest, depth);
  m_deepest = m_rowsRead == 0 ? depth : std::max(m_deepest, depth);
  ++m_rowsRead;
  if (depth < m_setup.top || depth > m_setup.base) return;
  m_rangeShallowest = m_inRange == 0 ? depth : std::min(m_rangeShallowest, depth);
  m_rangeDeepest = m_inRange == 0 ? depth : std::max(m_rangeDeepest, depth);
  ++m_inRange;
  if (m_setup.x >= count || m_setup.y >= count) return;
  const double x = readings[m_setup.x];
  const double y = readings[m_setup.y];
  if (std::isnan(x) || std::isnan(y)) return;
  ++m_readings;
  if (ShowsPoints()) {
    const double color = m_setup.color && *m_setup.color < count ? readings[*m_setup.color] : kNone;
    m_points.push_back({x, y, color, depth});
  } else if (!m_points.empty()) {
    std::vector<CPoint>().swap(m_points);  // a density from now on
  }
  const auto bin = BinAt(m_setup.xAxis.Fraction(x), m_setup.yAxis.Fraction(y));
  if (!bin) {
    ++m_outside;
    return;
  }
  const std::size_t at = Bin(bin->first, bin->second);
  m_most = std::max(m_most, ++m_counts[at]);
  if (m_counts[at] == 1) {
    m_binShallowest[at] = m_binDeepest[at] = depth;
  } else {
    m_binShallowest[at] = std::min(m_binShallowest[at], depth);
    m_binDeepest[at] = std::max(m_binDeepest[at], depth);
  }
}

std::optional<std::pair<double, double>> CCrossplot::Extent() const {
  if (m_rowsRead == 0) return std::nullopt;
  return std::make_pair(m_shallowest, m_deepest);
}

std::optional<std::pair<double, double>> CCrossplot::RangeExtent() const {
  if (m_inRange == 0) return std::nullopt;
  return std::make_pair(m_rangeShallowest, m_rangeDeepest);
}

std::optional<std::pair<double, double>> CCrossplot::BinDepths(int column, int row) const {
  if (column < 0 || row < 0 || column >= kBins || row >= kBins || Count(column, row) == 0)
    return std::nullopt;
  return std::make_pair(m_binShallowest[Bin(column, row)], m_binDeepest[Bin(column, row)]);
}

std::optional<std::pair<int, int>> CCrossplot::BinAt(double fx, double fy) {
  // NaN (a log axis below 0) fails every comparison: outside.
  if (!(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1)) return std::nullopt;
  return std::make_pair(std::min(kBins - 1, static_cast<int>(fx * kBins)),
                        std::min(kBins - 1, static_cast<int>(fy * kBins)));
}

const CCrossplot::CPoint* CCrossplot::Nearest(double fx, double fy, double within) const {
  const CPoint* nearest = nullptr;
  double best = within * within;
  for (const CPoint& point : m_points) {
    const double dx = m_setup.xAxis.Fraction(point.x) - fx;
    const double dy = m_setup.yAxis.Fraction(point.y) - fy;
    const double distance = dx * dx + dy * dy;
    if (distance <= best) {
      best = distance;
      nearest = &point;
    }
  }
  return nearest;
}

CCrossplotRead ReadCrossplot(const std::string& path, CLasHeader& header, CCrossplot& plot,
                             CJobProgress& progress) {
  std::int32_t cancelFlag = 0;
  const CProgressScope shown(progress, "Reading " + BaseNameOf(path), cancelFlag);
  try {
    CLasReader reader;
    reader.Open(path);
    header = ReadLasHeader(reader);
    if (header.curves.empty()) return Failed("The ~C section names no curves.");
    if (!header.hasData) return Failed("The file has no ~A data section.");
    const LoadState state = Feed(reader, header, plot, progress, -1);
    return {state, {}, false};
  } catch (const CFileError& error) {
    return Failed(error.what());
  } catch (const std::bad_alloc&) {
    return Failed("Not enough memory.");
  }
}

std::optional<CCrossplotStart> CrossplotStartOf(const CLasData& data, double top, double base) {
  if (data.Rows() == 0 || !data.Identity()) return std::nullopt;
  const double r0 = data.RowAtDepth(std::min(top, base));
  const double r1 = data.RowAtDepth(std::max(top, base));
  const long first = std::max(0L, static_cast<long>(std::floor(std::min(r0, r1))) - 1);
  const long last = std::min(data.Rows() - 1, static_cast<long>(std::ceil(std::max(r0, r1))) + 1);
  const long bucket = first / CLasData::kBucketRows;
  CCrossplotStart start;
  start.path = data.Path();
  start.identity = *data.Identity();
  start.offset = data.BucketOffset(bucket);
  start.linesBefore = data.BucketLine(bucket) - 1;
  start.firstDepth = data.BucketDepth(bucket);
  start.rows = last - bucket * CLasData::kBucketRows + 1 + CLasData::kBucketRows;
  start.wrapped = data.Header().wrapped;
  start.curves = data.Curves();
  start.nullValue = data.Header().nullValue;
  return start;
}

CCrossplotRead ReadCrossplotRows(const CCrossplotStart& start, CCrossplot& plot, CJobProgress& progress) {
  std::int32_t cancelFlag = 0;
  const CProgressScope shown(progress, "Reading " + BaseNameOf(start.path), cancelFlag);
  const char* changed = "The file has changed on disk since it was read.";
  try {
    CLasReader reader;
    reader.OpenData(start.path, start.offset, start.linesBefore, start.wrapped, start.curves);
    if (reader.Identity() != start.identity) return Failed(changed, true);
    CLasHeader header;
    header.curves.resize(start.curves);
    header.wrapped = start.wrapped;
    header.nullValue = start.nullValue;
    // The same size and time, yet another row where the bucket starts: changed all the same.
    const LoadState state =
        Feed(reader, header, plot, progress, start.rows,
             [&start](const double* readings) { return readings[0] == start.firstDepth; });
    if (state == LoadState::Failed) return Failed(changed, true);
    return {state, {}, false};
  } catch (const CFileError& error) {
    return Failed(error.what());
  } catch (const std::bad_alloc&) {
    return Failed("Not enough memory.");
  }
}

}  // namespace corvane
