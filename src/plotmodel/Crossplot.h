#pragma once
// A crossplot: the readings of two curves against each other over a depth range (the
// x curve across, the y curve up), each point coloured by a third curve when one is
// chosen. Few readings are kept as points; beyond kMostPoints only their 2-D histogram
// (kBins by kBins bins over the axes) is, with the shallowest and deepest depth of every
// bin, so that memory stays small whatever the file's size.
//
// The rows are read from the file once, by the LAS reader of the check: from its start
// (the command line) or from a bucket of rows the plot's loader met (a window), never
// from another file than the one the loader read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/File.h"
#include "plotmodel/LasData.h"
#include "plotmodel/TrackScale.h"

namespace corvane {

class CJobProgress;
class CLasReader;

// The axes of a curve of `family` in `unit` from its sample: the ends its track would
// get (standard or round), ascending; the vertical axis of a density runs down, as on
// a neutron-density crossplot. Resistivities on log axes.
CTrackScale CrossplotAxis(const CValueSample& sample, CurveFamily family, const std::string& unit,
                          bool vertical);

struct CCrossplotSetup {
  std::size_t x = 0;  // curves by their place in ~C
  std::size_t y = 0;
  std::optional<std::size_t> color;
  CTrackScale xAxis;  // left to right
  CTrackScale yAxis;  // bottom to top
  CTrackScale colorScale;
  double top = 0;  // the depths taken, top <= base, both ends included
  double base = 0;
};

class CCrossplot {
 public:
  static constexpr int kBins = 128;
  static constexpr std::size_t kMostPoints = 20000;

  struct CPoint {
    double x = 0;
    double y = 0;
    double color = 0;  // NaN for a null or without a colour curve
    double depth = 0;
  };

  explicit CCrossplot(CCrossplotSetup setup);
  const CCrossplotSetup& Setup() const { return m_setup; }

  // One row's readings (NaN for a null), by the curves' places in ~C, the depth first.
  void Add(const double* readings, std::size_t count);

  // Rows read (in the range or not), and the depths they span.
  long RowsRead() const { return m_rowsRead; }
  std::optional<std::pair<double, double>> Extent() const;
  // Rows of the depth range, and of them those with both readings; of those, the ones
  // beyond the axes (counted, never binned).
  long RowsInRange() const { return m_inRange; }
  // The shallowest and deepest depth of the rows of the range; none without any.
  std::optional<std::pair<double, double>> RangeExtent() const;
  long Readings() const { return m_readings; }
  long Outside() const { return m_outside; }

  // Points while there are at most kMostPoints readings; a density beyond.
  bool ShowsPoints() const { return static_cast<std::size_t>(m_readings) <= kMostPoints; }
  const std::vector<CPoint>& Points() const { return m_points; }
  // Bins by column (left to right) and row (bottom to top).
  std::uint32_t Count(int column, int row) const { return m_counts[Bin(column, row)]; }
  std::uint32_t MostInBin() const { return m_most; }
  // The shallowest and deepest depth of a bin's readings; none for an empty bin.
  std::optional<std::pair<double, double>> BinDepths(int column, int row) const;
  // The bin of the fractions fx, fy (0..1 across and up); none outside.
  static std::optional<std::pair<int, int>> BinAt(double fx, double fy);
  // The point nearest to the fractions fx, fy, no further than `within` (a fraction of
  // the axes); null when there is none (or no points are kept).
  const CPoint* Nearest(double fx, double fy, double within) const;

 private:
  static std::size_t Bin(int column, int row) {
    return static_cast<std::size_t>(row) * kBins + static_cast<std::size_t>(column);
  }

  CCrossplotSetup m_setup;
  long m_rowsRead = 0;
  double m_shallowest = 0;
  double m_deepest = 0;
  long m_inRange = 0;
  double m_rangeShallowest = 0;
  double m_rangeDeepest = 0;
  long m_readings = 0;
  long m_outside = 0;
  std::vector<CPoint> m_points;
  std::vector<std::uint32_t> m_counts;
  std::vector<double> m_binShallowest;
  std::vector<double> m_binDeepest;
  std::uint32_t m_most = 0;
};

// How a crossplot's reading of a file ended.
struct CCrossplotRead {
  LoadState state = LoadState::Done;  // Done, Cancelled or Failed
  std::string error;                  // Failed: why
  bool fileChanged = false;           // Failed because the file is no longer the one expected
};

// Reads every row of the LAS file at `path` into `plot`; `header` gets its header.
// Failed when it cannot be read, has no curves or no ~A section.
CCrossplotRead ReadCrossplot(const std::string& path, CLasHeader& header, CCrossplot& plot,
                             CJobProgress& progress);

// Where a window's crossplot starts reading: a bucket of rows the plot's loader met.
struct CCrossplotStart {
  std::string path;
  CFileIdentity identity;  // the file the loader read
  std::uint64_t offset = 0;
  std::uint64_t linesBefore = 0;
  double firstDepth = 0;  // the depth of the bucket's first row, as the loader read it
  long rows = 0;          // rows to read from there (the range's, and a bucket more)
  bool wrapped = false;
  std::size_t curves = 0;
  std::optional<double> nullValue;
};

// The start that covers the rows of depths top..base of `data` (its lock held);
// none before it has rows or when it read no file.
std::optional<CCrossplotStart> CrossplotStartOf(const CLasData& data, double top, double base);

// Reads the rows from `start` into `plot`: Failed with fileChanged when the file opened
// is not the one the loader read.
CCrossplotRead ReadCrossplotRows(const CCrossplotStart& start, CCrossplot& plot, CJobProgress& progress);

}  // namespace corvane
