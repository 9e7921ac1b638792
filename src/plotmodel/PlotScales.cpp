#include "plotmodel/PlotScales.h"

#include "plotmodel/LasData.h"

namespace corvane {

CPlotScales ComputeScales(const CLasData& data, const CPlotLayout& layout) {
  const CLasHeader& header = data.Header();
  const std::vector<CurveFamily> families =
      layout.families.size() == header.curves.size() ? layout.families : FamiliesOf(header);
  CPlotScales scales;
  for (const CTrack& track : layout.tracks) {
    std::vector<CTrackScale> ofTrack;
    for (const CTrackCurve& curve : track.curves) {
      const bool known = curve.curve < header.curves.size();
      ofTrack.push_back(CTrackScale::Proposed(
          data.Sample(curve.curve), track.log, known ? families[curve.curve] : CurveFamily::Unknown,
          known ? header.curves[curve.curve].unit : std::string(), curve.left, curve.right));
    }
    scales.push_back(std::move(ofTrack));
  }
  return scales;
}

}  // namespace corvane
