#include "plotmodel/PlotScales.h"

#include "plotmodel/LasData.h"

namespace corvane {

CPlotScales ComputeScales(const CLasData& data, const CPlotLayout& layout) {
  CPlotScales scales;
  for (const CTrack& track : layout.tracks) {
    std::vector<CTrackScale> ofTrack;
    for (const CTrackCurve& curve : track.curves)
      ofTrack.push_back(CTrackScale::WithEnds(data.Sample(curve.curve), track.log, curve.left, curve.right));
    scales.push_back(std::move(ofTrack));
  }
  return scales;
}

}  // namespace corvane
