#pragma once
// The tracks of a log plot, left to right, and where the depth track stands among
// them: which curves each track shows, with their typed scale ends, whether its scale
// is logarithmic, whether it is hidden, its width and its fills; with the changes the
// user makes to them.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "mnemonics/CurveFamily.h"
#include "plotmodel/CurveStyle.h"
#include "plotmodel/PlotFills.h"

namespace corvane {

struct CLasHeader;

struct CTrackCurve {
  std::size_t curve = 0;       // the curve's place in the ~C section
  std::optional<double> left;  // typed scale ends; none: proposed (standard or round)
  std::optional<double> right;
  bool operator==(const CTrackCurve&) const = default;
};

struct CTrack {
  std::vector<CTrackCurve> curves;
  bool log = false;
  bool hidden = false;
  std::optional<double> width{};  // in pixels (96 to the inch); none: a share of the room
  std::vector<CTrackFill> fills{};
  bool operator==(const CTrack&) const = default;
};

class CPlotLayout {
 public:
  std::vector<CTrack> tracks;
  // Tracks left of the depth track (0: it stands first).
  std::size_t depthTrack = 0;
  // The family of every curve of the file (by its place in ~C): the fills that a
  // join or a split makes possible are added by them.
  std::vector<CurveFamily> families;

  // The standard layout by curve family (from the mnemonic dictionary): gamma ray, SP,
  // caliper and bit size in the first track; the depth track; resistivities together
  // on a log scale; neutron porosity with density; sonic; photoelectric factor; every
  // other curve after the index in a track of its own, in file order (logarithmic for
  // units of resistivity). Gamma ray and neutron-density crossover fills.
  static CPlotLayout Standard(const CLasHeader& header);
  // One track per named curve in the order given (mnemonics match without regard to
  // case), the depth track first; names that the file lacks go into `missing`.
  static CPlotLayout ForCurves(const CLasHeader& header, const std::vector<std::string>& mnemonics,
                               std::vector<std::string>* missing);

  // The track moves `by` places (negative: to the left); crossing the depth track takes
  // one place. False when it cannot.
  bool MoveTrack(std::size_t track, int by);
  // The curve leaves its track for the track before it (its own track goes when it
  // empties); false for the first track. Fills go with their curves.
  bool JoinPrevious(std::size_t track, std::size_t curveInTrack);
  // The curve gets a track of its own right after its track; false when it is alone.
  bool Split(std::size_t track, std::size_t curveInTrack);
  std::size_t VisibleTracks() const;
  // The shown tracks left of the depth track.
  std::size_t VisibleBeforeDepth() const;

  bool operator==(const CPlotLayout&) const = default;

 private:
  // Adds the default fills of a track's curves that it lacks (switched off ones count).
  void ProposeFills(CTrack& track) const;
};

// The colour of every curve of every track (per track, per curve of the track): its
// own colour (CurveColors), another shade of its family's where two curves of one
// track would look alike.
std::vector<std::vector<CRgb>> TrackColors(const CPlotLayout& layout,
                                           const std::vector<CurveFamily>& families);

}  // namespace corvane
