#pragma once
// The fills of a track, as data: a gamma ray shaded from the track's left edge to the
// curve, and the neutron-density crossover, shaded between the two curves where the
// density curve lies left of the neutron curve. On the standard scales (neutron 0.45
// to -0.15 V/V, density 1.95 to 2.95 g/cm3, which match on a limestone matrix) that is
// where density porosity exceeds neutron porosity. Each fill can be switched off.
//
// What a fill shades in a view is worked out here, pixel row by pixel row, from the
// curves as the tracer draws them; the painter only paints it.
#include <cstddef>
#include <vector>

#include "mnemonics/CurveFamily.h"
#include "plotmodel/CurveStyle.h"

namespace corvane {

class CCurveTracer;
class CTrackScale;
struct CTrackCurve;

enum class FillKind { LeftEdge, Crossover };

struct CTrackFill {
  FillKind kind = FillKind::LeftEdge;
  std::size_t curve = 0;  // the curve shaded (its place in ~C); the density curve of a crossover
  std::size_t other = 0;  // a crossover's neutron curve
  CRgb color;
  bool on = true;
  bool operator==(const CTrackFill&) const = default;
};

inline constexpr CRgb kGammaRayFill{0xd6, 0xea, 0xa8};
inline constexpr CRgb kCrossoverFill{0xff, 0xd2, 0x4d};

// The fills a track of these curves gets: its first gamma ray shaded from the left
// edge; the crossover of its first density and first neutron porosity curve.
std::vector<CTrackFill> DefaultFills(const std::vector<CTrackCurve>& curves,
                                     const std::vector<CurveFamily>& families);
// Whether all the curves a fill names are among these.
bool FillFits(const CTrackFill& fill, const std::vector<CTrackCurve>& curves);

// One pixel row of a fill: shaded between the fractions `from` and `to` (from < to) of
// the track's width.
struct CFillSpan {
  long pixel = 0;
  double from = 0;
  double to = 0;
};

// What the fill shades in the view the tracer holds (depths top..base over `pixels`
// pixel rows), its curves placed by their scales: in every pixel row where its curves
// are drawn (between the pixel rows of a curve's points, where its line is drawn, at
// the line's place), none where a curve has a gap.
std::vector<CFillSpan> FillSpans(const CTrackFill& fill, const CCurveTracer& tracer, const CTrackScale& scale,
                                 const CTrackScale& otherScale, double top, double base, int pixels);

}  // namespace corvane
