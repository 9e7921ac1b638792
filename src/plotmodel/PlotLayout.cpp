#include "plotmodel/PlotLayout.h"

#include <algorithm>

#include "platform/AsciiText.h"
#include "plotmodel/LasHeader.h"
#include "plotmodel/TrackScale.h"

namespace corvane {
namespace {

CTrack TrackOf(const CLasHeader& header, std::size_t curve) {
  CTrack track;
  track.curves.push_back({curve, std::nullopt, std::nullopt});
  track.log = IsResistivityUnit(header.curves[curve].unit);
  return track;
}

}  // namespace

CPlotLayout CPlotLayout::Default(const CLasHeader& header) {
  CPlotLayout layout;
  for (std::size_t curve = 1; curve < header.curves.size(); ++curve)
    layout.tracks.push_back(TrackOf(header, curve));
  return layout;
}

CPlotLayout CPlotLayout::ForCurves(const CLasHeader& header, const std::vector<std::string>& mnemonics,
                                   std::vector<std::string>* missing) {
  CPlotLayout layout;
  for (const std::string& name : mnemonics) {
    const auto found =
        std::find_if(header.curves.begin(), header.curves.end(),
                     [&name](const CCurveInfo& info) { return EqualNoCase(info.mnemonic, name); });
    if (found == header.curves.end()) {
      if (missing) missing->push_back(name);
      continue;
    }
    layout.tracks.push_back(TrackOf(header, static_cast<std::size_t>(found - header.curves.begin())));
  }
  return layout;
}

bool CPlotLayout::MoveTrack(std::size_t track, int by) {
  const long to = static_cast<long>(track) + by;
  if (track >= tracks.size() || to < 0 || to >= static_cast<long>(tracks.size())) return false;
  CTrack moved = std::move(tracks[track]);
  tracks.erase(tracks.begin() + static_cast<long>(track));
  tracks.insert(tracks.begin() + to, std::move(moved));
  return true;
}

bool CPlotLayout::JoinPrevious(std::size_t track, std::size_t curveInTrack) {
  if (track == 0 || track >= tracks.size() || curveInTrack >= tracks[track].curves.size()) return false;
  std::vector<CTrackCurve>& from = tracks[track].curves;
  tracks[track - 1].curves.push_back(from[curveInTrack]);
  from.erase(from.begin() + static_cast<long>(curveInTrack));
  if (from.empty()) tracks.erase(tracks.begin() + static_cast<long>(track));
  return true;
}

bool CPlotLayout::Split(std::size_t track, std::size_t curveInTrack) {
  if (track >= tracks.size() || tracks[track].curves.size() < 2 ||
      curveInTrack >= tracks[track].curves.size())
    return false;
  CTrack own;
  own.curves.push_back(tracks[track].curves[curveInTrack]);
  own.log = tracks[track].log;
  tracks[track].curves.erase(tracks[track].curves.begin() + static_cast<long>(curveInTrack));
  tracks.insert(tracks.begin() + static_cast<long>(track) + 1, std::move(own));
  return true;
}

std::size_t CPlotLayout::VisibleTracks() const {
  return static_cast<std::size_t>(
      std::count_if(tracks.begin(), tracks.end(), [](const CTrack& t) { return !t.hidden; }));
}

}  // namespace corvane
