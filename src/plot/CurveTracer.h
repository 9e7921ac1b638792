#pragma once
// What a track draws of a curve for one view (depths top..base over a number of pixel
// rows): runs of points, each a depth with the least and greatest reading there. Far
// out, a point stands for the buckets of one pixel row at the level of the curve's
// pyramid that fits; close in, each point is one row read from the file (least and
// greatest are the reading). A null, or a pixel row of nulls only, ends a run: a gap.
#include <vector>

#include "plot/RowReader.h"

namespace corvane {

class CLasData;

struct CTracePoint {
  double depth = 0;
  double lo = 0;
  double hi = 0;
  bool operator==(const CTracePoint&) const = default;
};
using CTraceRun = std::vector<CTracePoint>;

class CCurveTracer {
 public:
  // At or below this many rows per pixel row the rows themselves are drawn (read
  // again from the file: few enough to keep a repaint quick).
  static constexpr double kRowsPerPixelForRows = 2;

  // The caller holds the data's lock for the tracer's life. Without a row reader the
  // finest level of the pyramid is the closest view.
  CCurveTracer(const CLasData& data, CRowReader* rows, double top, double base, int pixels);

  bool FromRows() const { return m_rowsBlock != nullptr; }
  // The pyramid level drawn from (when not from the rows).
  int Level() const { return m_level; }
  std::vector<CTraceRun> Trace(std::size_t curve) const;

 private:
  // The buckets whose middle falls into one pixel row, and their mean depth.
  struct CGroup {
    double depth = 0;
    std::size_t first = 0;
    std::size_t last = 0;
  };

  const CLasData& m_data;
  const CRowReader::CRows* m_rowsBlock = nullptr;  // the rows drawn from, when close in
  long m_fromRow = 0;
  long m_toRow = -1;
  int m_level = 0;
  std::vector<CGroup> m_groups;
};

}  // namespace corvane
