#include "plotmodel/TrackScale.h"

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "platform/AsciiText.h"
#include "plotmodel/CurveStyle.h"
#include "plotmodel/ValueSample.h"

namespace corvane {

CTrackScale::CTrackScale(double left, double right, bool log) : m_left(left), m_right(right), m_log(log) {
  if (!m_log) return;
  if (m_left <= 0 && m_right <= 0) {
    m_left = 0.1;
    m_right = 1000;
  } else if (m_left <= 0) {
    m_left = m_right / 10;
  } else if (m_right <= 0) {
    m_right = m_left * 10;
  }
  m_logLeft = std::log10(m_left);
  m_logSpan = std::log10(m_right) - m_logLeft;
}

CTrackScale CTrackScale::Proposed(const CValueSample& sample, bool log, CurveFamily family,
                                  std::string_view unit, std::optional<double> left,
                                  std::optional<double> right) {
  double low = log ? 0.1 : 0.0;
  double high = log ? 1000.0 : 1.0;
  if (!left || !right) {
    if (const auto standard = StandardEnds(family, unit, log)) {
      low = standard->first;
      high = standard->second;
    } else if (const auto ends = sample.Quantiles(kLowEndFraction, kHighEndFraction, log)) {
      std::tie(low, high) = RoundEnds(ends->first, ends->second, log);
      if (IsReversedFamily(family)) std::swap(low, high);
    }
  }
  return CTrackScale(left.value_or(low), right.value_or(high), log);
}

double CTrackScale::Fraction(double value) const {
  if (m_log) {
    if (!(value > 0)) return std::numeric_limits<double>::quiet_NaN();
    return m_logSpan == 0 ? 0.5 : (std::log10(value) - m_logLeft) / m_logSpan;
  }
  const double span = m_right - m_left;
  return span == 0 ? 0.5 : (value - m_left) / span;
}

double CTrackScale::ValueAt(double fraction) const {
  if (m_log) return std::pow(10.0, m_logLeft + fraction * m_logSpan);
  return m_left + fraction * (m_right - m_left);
}

bool IsResistivityUnit(std::string_view unit) {
  std::string letters;
  for (char c : unit)
    if (IsAsciiLetter(c)) letters += ToUpperAscii(c);
  // OHMM, OHM.M, OHM-M, OHMS, OHMFT and the like; conductivities (MMHO/M) stay linear.
  return letters.rfind("OHM", 0) == 0;
}

}  // namespace corvane
