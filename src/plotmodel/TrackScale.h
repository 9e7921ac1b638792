#pragma once
// Where a reading falls across a track: between the left and the right end of its
// curve's scale, linearly or by the logarithm (resistivities). The ends are typed by
// the user, else the standard ends of the curve's family in its unit, else round ends
// around the data's 1st and 99th percentiles.
#include <optional>
#include <string_view>

#include "mnemonics/CurveFamily.h"

namespace corvane {

class CValueSample;

// The percentiles that automatic scale ends are taken at.
inline constexpr double kLowEndFraction = 0.01;
inline constexpr double kHighEndFraction = 0.99;

class CTrackScale {
 public:
  CTrackScale() = default;
  // A log scale needs both ends above 0: one that is not is set a decade below the other.
  CTrackScale(double left, double right, bool log);

  // The ends proposed for a curve of `family` in `unit`: typed ends where given; for the
  // others the family's standard ends in that unit, else round ends (RoundEnds) around
  // the sample's 1st and 99th percentiles, great values on the left for a reversed
  // family. A curve without readings gets 0 .. 1 (0.1 .. 1000 on a log scale).
  static CTrackScale Proposed(const CValueSample& sample, bool log, CurveFamily family, std::string_view unit,
                              std::optional<double> left = std::nullopt,
                              std::optional<double> right = std::nullopt);

  double Left() const { return m_left; }
  double Right() const { return m_right; }
  bool Log() const { return m_log; }
  // 0 at the left end, 1 at the right one, beyond them outside; NaN for a reading
  // that a log scale cannot show (0 or below).
  double Fraction(double value) const;
  // The reading at a fraction of the track's width.
  double ValueAt(double fraction) const;

 private:
  double m_left = 0;
  double m_right = 1;
  bool m_log = false;
  double m_logLeft = 0;  // log10 of the ends, for a log scale
  double m_logSpan = 1;
};

// Units of resistivity (ohm-metres and the like), which are drawn on a log scale.
bool IsResistivityUnit(std::string_view unit);

}  // namespace corvane
