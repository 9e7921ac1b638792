#pragma once
// The tracks of a log plot, left to right: which curves each one shows, with their
// typed scale ends, whether its scale is logarithmic and whether it is hidden; with
// the changes the user makes to them.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

struct CLasHeader;

struct CTrackCurve {
  std::size_t curve = 0;       // the curve's place in the ~C section
  std::optional<double> left;  // typed scale ends; none: from the data
  std::optional<double> right;
  bool operator==(const CTrackCurve&) const = default;
};

struct CTrack {
  std::vector<CTrackCurve> curves;
  bool log = false;
  bool hidden = false;
  bool operator==(const CTrack&) const = default;
};

class CPlotLayout {
 public:
  std::vector<CTrack> tracks;

  // One track per curve after the index (depth) curve, logarithmic for resistivities.
  static CPlotLayout Default(const CLasHeader& header);
  // One track per named curve in the order given (mnemonics match without regard to
  // case); names that the file lacks go into `missing`.
  static CPlotLayout ForCurves(const CLasHeader& header, const std::vector<std::string>& mnemonics,
                               std::vector<std::string>* missing);

  // The track moves `by` places (negative: to the left); false when it cannot.
  bool MoveTrack(std::size_t track, int by);
  // The curve leaves its track for the track before it (its own track goes when it
  // empties); false for the first track.
  bool JoinPrevious(std::size_t track, std::size_t curveInTrack);
  // The curve gets a track of its own right after its track; false when it is alone.
  bool Split(std::size_t track, std::size_t curveInTrack);
  std::size_t VisibleTracks() const;

  bool operator==(const CPlotLayout&) const = default;
};

}  // namespace corvane
