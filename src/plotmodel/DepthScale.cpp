#include "plotmodel/DepthScale.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/AsciiText.h"

namespace corvane {
namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kMostRatio = 1e6;

}  // namespace

std::optional<double> MetresPerDepthUnit(std::string_view unit) {
  std::string key;
  for (char c : TrimCSpace(unit)) key += ToUpperAscii(c);
  if (key == "M" || key == "METER" || key == "METERS" || key == "METRE" || key == "METRES") return 1.0;
  if (key == "F" || key == "FT" || key == "FEET" || key == "FOOT") return 0.3048;
  if (key == "CM") return 0.01;
  if (key == "MM") return 0.001;
  if (key == "IN") return kMetresPerInch;
  return std::nullopt;
}

double PixelsPerDepthUnit(double ratio, std::string_view depthUnit, double dpi) {
  const double metres = MetresPerDepthUnit(depthUnit).value_or(1.0);
  return metres / kMetresPerInch * dpi / ratio;
}

double RatioOf(double pixelsPerDepthUnit, std::string_view depthUnit, double dpi) {
  const double metres = MetresPerDepthUnit(depthUnit).value_or(1.0);
  return metres / kMetresPerInch * dpi / pixelsPerDepthUnit;
}

std::optional<double> ParseRatio(std::string_view text) {
  text = TrimCSpace(text);
  if (const auto separator = text.find_first_of(":/"); separator != std::string_view::npos) {
    if (TrimCSpace(text.substr(0, separator)) != "1") return std::nullopt;
    text = TrimCSpace(text.substr(separator + 1));
  }
  double ratio = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), ratio);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(ratio) ||
      ratio <= 0 || ratio > kMostRatio)
    return std::nullopt;
  return ratio;
}

}  // namespace corvane
