#include "plotmodel/TrackScale.h"

#include <cmath>
#include <limits>
#include <string>

#include "platform/AsciiText.h"
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

CTrackScale CTrackScale::FromSample(const CValueSample& sample, bool log) {
  return WithEnds(sample, log, std::nullopt, std::nullopt);
}

CTrackScale CTrackScale::WithEnds(const CValueSample& sample, bool log, std::optional<double> left,
                                  std::optional<double> right) {
  double low = log ? 0.1 : 0.0;
  double high = log ? 1000.0 : 1.0;
  if (!left || !right) {
    if (const auto ends = sample.Quantiles(kLowEndFraction, kHighEndFraction, log)) {
      low = ends->first;
      high = ends->second;
      if (high <= low) {
        // A steady reading: a band around it.
        if (log) {
          low /= 2;
          high *= 2;
        } else {
          const double spread = low == 0 ? 1.0 : std::fabs(low) * 0.1;
          low -= spread;
          high += spread;
        }
      }
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
