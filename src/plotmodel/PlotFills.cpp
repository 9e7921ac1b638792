#include "plotmodel/PlotFills.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plotmodel/CurveTracer.h"
#include "plotmodel/PlotLayout.h"
#include "plotmodel/TrackScale.h"

namespace corvane {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

bool Holds(const std::vector<CTrackCurve>& curves, std::size_t curve) {
  return std::any_of(curves.begin(), curves.end(),
                     [curve](const CTrackCurve& c) { return c.curve == curve; });
}

double FractionOf(const CTrackScale& scale, double value) {
  const double fraction = scale.Fraction(value);
  return std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
}

// Where a curve stands in every pixel row of the view: its left edge (`leftEdge`) or
// the middle of what it spans there; between its points where its line runs on, the
// place on the straight line between them. NaN where it is not drawn.
std::vector<double> PixelPlaces(const std::vector<CTraceRun>& runs, const CTrackScale& scale, double top,
                                double base, int pixels, bool leftEdge) {
  std::vector<double> places(static_cast<std::size_t>(pixels), kNone);
  const double perDepth = pixels / (base - top);
  for (const CTraceRun& run : runs) {
    long previous = 0;
    double previousPlace = kNone;
    for (const CTracePoint& point : run) {
      const double lo = FractionOf(scale, point.lo);
      const double hi = FractionOf(scale, point.hi);
      const double place = leftEdge ? std::min(lo, hi) : (lo + hi) / 2;
      const double y = std::clamp((point.depth - top) * perDepth, -1.0, static_cast<double>(pixels));
      const auto pixel = static_cast<long>(std::floor(y));
      if (pixel >= 0 && pixel < pixels) {
        double& at = places[static_cast<std::size_t>(pixel)];
        at = std::isnan(at) ? place : (leftEdge ? std::min(at, place) : (at + place) / 2);
      }
      // Depths may run up the file as well as down it.
      if (!std::isnan(previousPlace))
        for (long between = std::max(std::min(previous, pixel) + 1, 0L);
             between < std::min(std::max(previous, pixel), static_cast<long>(pixels)); ++between)
          places[static_cast<std::size_t>(between)] =
              previousPlace + (place - previousPlace) * static_cast<double>(between - previous) /
                                  static_cast<double>(pixel - previous);
      previous = pixel;
      previousPlace = place;
    }
  }
  return places;
}

}  // namespace

std::vector<CTrackFill> DefaultFills(const std::vector<CTrackCurve>& curves,
                                     const std::vector<CurveFamily>& families) {
  auto first = [&](CurveFamily family) -> const CTrackCurve* {
    for (const CTrackCurve& curve : curves)
      if (curve.curve < families.size() && families[curve.curve] == family) return &curve;
    return nullptr;
  };
  std::vector<CTrackFill> fills;
  if (const CTrackCurve* gamma = first(CurveFamily::GammaRay))
    fills.push_back({FillKind::LeftEdge, gamma->curve, gamma->curve, kGammaRayFill, true});
  const CTrackCurve* density = first(CurveFamily::Density);
  const CTrackCurve* neutron = first(CurveFamily::NeutronPorosity);
  if (density && neutron)
    fills.push_back({FillKind::Crossover, density->curve, neutron->curve, kCrossoverFill, true});
  return fills;
}

bool FillFits(const CTrackFill& fill, const std::vector<CTrackCurve>& curves) {
  return Holds(curves, fill.curve) && (fill.kind != FillKind::Crossover || Holds(curves, fill.other));
}

std::vector<CFillSpan> FillSpans(const CTrackFill& fill, const CCurveTracer& tracer, const CTrackScale& scale,
                                 const CTrackScale& otherScale, double top, double base, int pixels) {
  std::vector<CFillSpan> spans;
  if (pixels <= 0 || !(base > top)) return spans;
  const bool leftEdge = fill.kind == FillKind::LeftEdge;
  const std::vector<double> places =
      PixelPlaces(tracer.Trace(fill.curve), scale, top, base, pixels, leftEdge);
  if (leftEdge) {
    for (std::size_t p = 0; p < places.size(); ++p)
      if (places[p] > 0) spans.push_back({static_cast<long>(p), 0.0, places[p]});
    return spans;
  }
  const std::vector<double> others =
      PixelPlaces(tracer.Trace(fill.other), otherScale, top, base, pixels, false);
  for (std::size_t p = 0; p < places.size(); ++p)
    if (places[p] < others[p]) spans.push_back({static_cast<long>(p), places[p], others[p]});
  return spans;
}

}  // namespace corvane
