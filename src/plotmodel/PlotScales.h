#pragma once
// The scale of every curve of every track of a layout: the ends the user typed, else
// those proposed for the curve's family and unit (CTrackScale::Proposed).
#include <vector>

#include "plotmodel/PlotLayout.h"
#include "plotmodel/TrackScale.h"

namespace corvane {

class CLasData;

// In the layout's order: per track, per curve of the track.
using CPlotScales = std::vector<std::vector<CTrackScale>>;

// The scales the layout asks for; the caller holds the data's lock.
CPlotScales ComputeScales(const CLasData& data, const CPlotLayout& layout);

}  // namespace corvane
