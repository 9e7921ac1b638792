#pragma once
// What a track draws of a curve for one view (depths top..base over a number of pixel
// rows): for every pixel row the least, the greatest, the first and the last reading of
// the rows that fall into it. Drawn as a span from least to greatest in each pixel row,
// with the last reading of a pixel row joined to the first of the next, this looks the
// same as the line through every row, at a cost that follows the pixel rows.
//
// Up to kRowsPerPixelForRows rows per pixel row the rows themselves are read again from
// the file. Further out a pixel row takes the buckets of the curve's pyramid whose
// middle row falls into it, at the coarsest level whose buckets are no taller than a
// pixel row: its edges move to the buckets' edges, by less than half a pixel row.
//
// Nulls are gaps. A pixel row of nulls only draws nothing; one with readings among
// nulls still shows its readings; the line goes on from one pixel row to the next only
// where the last row of the one and the first row of the next both hold a reading.
#include <cstddef>
#include <optional>
#include <vector>

#include "plotmodel/RowReader.h"

namespace corvane {

class CLasData;

struct CTracePoint {
  // The middle of the pixel row; close in (fewer rows than pixel rows), the depth of
  // its row when it holds only one.
  double depth = 0;
  double lo = 0;  // the least reading of the pixel row's rows
  double hi = 0;  // the greatest
  // The readings of its first and last row, NaN for a null: only the first point of a
  // run can start with a null, only the last one end with one.
  double first = 0;
  double last = 0;
};
// Pixel rows joined one to the next (a run ends at a gap).
using CTraceRun = std::vector<CTracePoint>;

class CCurveTracer {
 public:
  // At or below this many rows per pixel row the rows themselves are drawn.
  static constexpr double kRowsPerPixelForRows = 16;
  // No more readings (rows times curves) than this are read for a view: a file of very
  // many curves is drawn from its pyramid sooner.
  static constexpr long kMostReadings = 1L << 20;

  // Without a row reader the finest level of the pyramid is the closest view.
  CCurveTracer(const CLasData& data, CRowReader* rows);
  CCurveTracer(const CLasData& data, CRowReader* rows, double top, double base, int pixels);

  // The view to trace; what was traced is kept while the view and the rows loaded stay
  // the same, so that a repaint of an unchanged view reads and reduces nothing again.
  // The caller holds the data's lock from here to the last Trace of this view.
  void SetView(double top, double base, int pixels);

  bool FromRows() const { return m_fromRows; }
  // The pyramid level drawn from (when not from the rows).
  int Level() const { return m_level; }
  const std::vector<CTraceRun>& Trace(std::size_t curve) const;

 private:
  // The buckets (of the level drawn from) whose middle falls into one pixel row.
  struct CGroup {
    long pixel = 0;
    std::size_t first = 0;
    std::size_t last = 0;
  };
  struct CView {
    double top = 0;
    double base = 0;
    int pixels = 0;
    unsigned generation = 0;
    bool operator==(const CView&) const = default;
  };

  long PixelOf(double depth) const;
  double PixelMiddle(long pixel) const;
  std::vector<CTraceRun> TraceRows(std::size_t curve, const CRowReader::CRows& block) const;
  std::vector<CTraceRun> TraceBuckets(std::size_t curve) const;

  const CLasData& m_data;
  CRowReader* m_rows;
  std::optional<CView> m_view;
  double m_top = 0;
  double m_pixelsPerDepth = 1;
  bool m_fromRows = false;
  bool m_rowDepths = false;  // a row alone in its pixel row is drawn at its own depth
  long m_fromRow = 0;        // the rows of the view, and one more on either side
  long m_toRow = -1;
  int m_level = 0;
  std::vector<CGroup> m_groups;
  mutable std::vector<std::optional<std::vector<CTraceRun>>> m_traces;  // per curve, once traced
};

}  // namespace corvane
