#include "plotmodel/PlotLayout.h"

#include <algorithm>
#include <functional>

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

// The tracks of the standard layout, by the families of their curves, in their order.
enum class Group { First, Resistivity, NeutronDensity, Sonic, PhotoElectric, Own };

Group GroupOf(CurveFamily family) {
  switch (family) {
    case CurveFamily::GammaRay:
    case CurveFamily::SpontaneousPotential:
    case CurveFamily::Caliper:
    case CurveFamily::BitSize:
      return Group::First;
    case CurveFamily::NeutronPorosity:
    case CurveFamily::Density:
      return Group::NeutronDensity;
    case CurveFamily::PhotoElectric:
      return Group::PhotoElectric;
    default:
      if (IsResistivity(family)) return Group::Resistivity;
      if (IsSonic(family)) return Group::Sonic;
      return Group::Own;
  }
}

// After a curve has gone from one track to another: a fill of the curve alone goes with
// it; one of two curves stays where both are, and goes where they are parted.
void MoveFills(CTrack& from, CTrack& to) {
  for (auto fill = from.fills.begin(); fill != from.fills.end();) {
    if (FillFits(*fill, from.curves)) {
      ++fill;
    } else {
      if (FillFits(*fill, to.curves)) to.fills.push_back(*fill);
      fill = from.fills.erase(fill);
    }
  }
}

}  // namespace

CPlotLayout CPlotLayout::Standard(const CLasHeader& header) {
  CPlotLayout layout;
  layout.families = FamiliesOf(header);
  CTrack groups[5];
  groups[1].log = true;
  std::vector<CTrack> own;
  for (std::size_t curve = 1; curve < header.curves.size(); ++curve) {
    const Group group = GroupOf(layout.families[curve]);
    if (group == Group::Own)
      own.push_back(TrackOf(header, curve));
    else
      groups[static_cast<int>(group)].curves.push_back({curve, std::nullopt, std::nullopt});
  }
  // The depth track after the first track (when there is one).
  layout.depthTrack = groups[0].curves.empty() ? 0 : 1;
  for (CTrack& group : groups)
    if (!group.curves.empty()) {
      group.fills = DefaultFills(group.curves, layout.families);
      layout.tracks.push_back(std::move(group));
    }
  for (CTrack& track : own) {
    track.fills = DefaultFills(track.curves, layout.families);
    layout.tracks.push_back(std::move(track));
  }
  return layout;
}

CPlotLayout CPlotLayout::ForCurves(const CLasHeader& header, const std::vector<std::string>& mnemonics,
                                   std::vector<std::string>* missing) {
  CPlotLayout layout;
  layout.families = FamiliesOf(header);
  for (const std::string& name : mnemonics) {
    const auto found =
        std::find_if(header.curves.begin(), header.curves.end(),
                     [&name](const CCurveInfo& info) { return EqualNoCase(info.mnemonic, name); });
    if (found == header.curves.end()) {
      if (missing) missing->push_back(name);
      continue;
    }
    CTrack track = TrackOf(header, static_cast<std::size_t>(found - header.curves.begin()));
    track.log = track.log || IsResistivity(layout.families[track.curves.front().curve]);
    track.fills = DefaultFills(track.curves, layout.families);
    layout.tracks.push_back(std::move(track));
  }
  return layout;
}

bool CPlotLayout::MoveTrack(std::size_t track, int by) {
  if (track >= tracks.size() || by == 0) return false;
  const CPlotLayout before = *this;
  for (int step = 0; step < std::abs(by); ++step) {
    const bool left = by < 0;
    // Next to the depth track: it crosses it, keeping its place among the tracks.
    if (left && track == depthTrack && depthTrack < tracks.size()) {
      ++depthTrack;
      continue;
    }
    if (!left && track + 1 == depthTrack) {
      --depthTrack;
      continue;
    }
    const std::size_t to = left ? track - 1 : track + 1;
    if ((left && track == 0) || to >= tracks.size()) {
      *this = before;
      return false;
    }
    std::swap(tracks[track], tracks[to]);
    track = to;
  }
  return true;
}

void CPlotLayout::ProposeFills(CTrack& track) const {
  for (const CTrackFill& fill : DefaultFills(track.curves, families)) {
    const bool known = std::any_of(track.fills.begin(), track.fills.end(), [&fill](const CTrackFill& had) {
      return had.kind == fill.kind && had.curve == fill.curve && had.other == fill.other;
    });
    if (!known) track.fills.push_back(fill);
  }
}

bool CPlotLayout::JoinPrevious(std::size_t track, std::size_t curveInTrack) {
  if (track == 0 || track >= tracks.size() || curveInTrack >= tracks[track].curves.size()) return false;
  CTrack& from = tracks[track];
  CTrack& into = tracks[track - 1];
  into.curves.push_back(from.curves[curveInTrack]);
  from.curves.erase(from.curves.begin() + static_cast<long>(curveInTrack));
  MoveFills(from, into);
  ProposeFills(into);
  if (from.curves.empty()) {
    tracks.erase(tracks.begin() + static_cast<long>(track));
    if (track < depthTrack) --depthTrack;
  }
  return true;
}

bool CPlotLayout::Split(std::size_t track, std::size_t curveInTrack) {
  if (track >= tracks.size() || tracks[track].curves.size() < 2 ||
      curveInTrack >= tracks[track].curves.size())
    return false;
  CTrack own;
  CTrack& from = tracks[track];
  own.curves.push_back(from.curves[curveInTrack]);
  own.log = from.log;
  from.curves.erase(from.curves.begin() + static_cast<long>(curveInTrack));
  MoveFills(from, own);
  ProposeFills(own);
  tracks.insert(tracks.begin() + static_cast<long>(track) + 1, std::move(own));
  if (track < depthTrack) ++depthTrack;
  return true;
}

std::size_t CPlotLayout::VisibleTracks() const {
  return static_cast<std::size_t>(
      std::count_if(tracks.begin(), tracks.end(), [](const CTrack& t) { return !t.hidden; }));
}

std::size_t CPlotLayout::VisibleBeforeDepth() const {
  const auto end = tracks.begin() + static_cast<long>(std::min(depthTrack, tracks.size()));
  return static_cast<std::size_t>(
      std::count_if(tracks.begin(), end, [](const CTrack& t) { return !t.hidden; }));
}

std::vector<std::vector<CRgb>> TrackColors(const CPlotLayout& layout,
                                           const std::vector<CurveFamily>& families) {
  const std::vector<CRgb> own = CurveColors(families);
  std::vector<std::vector<CRgb>> colors;
  colors.reserve(layout.tracks.size());
  for (const CTrack& track : layout.tracks) {
    std::vector<CRgb> ofTrack;
    for (const CTrackCurve& curve : track.curves) {
      const CurveFamily family = curve.curve < families.size() ? families[curve.curve] : CurveFamily::Unknown;
      CRgb color = curve.curve < own.size() ? own[curve.curve] : FamilyColor(family, 0);
      // Taken already in this track: the first shade of its family that is not, else
      // the first colour of the palette that is not.
      auto taken = [&ofTrack](CRgb c) {
        return std::find(ofTrack.begin(), ofTrack.end(), c) != ofTrack.end();
      };
      for (std::size_t shade = 0; taken(color) && shade < 7; ++shade) color = FamilyColor(family, shade);
      for (std::size_t other = 0; taken(color) && other < 40; ++other)
        color = FamilyColor(CurveFamily::Unknown, other);
      ofTrack.push_back(color);
    }
    colors.push_back(std::move(ofTrack));
  }
  return colors;
}

}  // namespace corvane
