#pragma once
// The depth scale ratio of a log plot, as on paper: at 1:500 a metre of paper holds
// 500 metres of depth (a foot of paper 500 feet, for a log in feet). Pictures and
// pages are laid out at a number of pixels to the inch (96 for pictures, as PDF pages
// are), so a ratio is a number of pixels per depth unit.
#include <optional>
#include <string_view>

namespace corvane {

// The ratios offered for printing; any other can be typed.
inline constexpr double kCommonRatios[] = {200, 500, 1000};
inline constexpr double kPictureDpi = 96;

// The length of a depth unit in metres (M, F or FT, CM, MM, IN, in any case); none for
// a unit of no known length, which is then taken to be metres.
std::optional<double> MetresPerDepthUnit(std::string_view unit);

// Pixels per depth unit at 1:ratio, `dpi` pixels to the inch.
double PixelsPerDepthUnit(double ratio, std::string_view depthUnit, double dpi);
// The ratio that `pixelsPerDepthUnit` makes, the other way round.
double RatioOf(double pixelsPerDepthUnit, std::string_view depthUnit, double dpi);

// "1:500", "1/500" or "500" (blanks aside); none for anything else or a ratio that is
// not a positive number of at most a million.
std::optional<double> ParseRatio(std::string_view text);

}  // namespace corvane
