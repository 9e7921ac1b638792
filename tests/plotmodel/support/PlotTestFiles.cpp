#include "PlotTestFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "plotmodel/LasHeader.h"
#include "plotmodel/PlotLayout.h"

namespace corvane::test {
namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string RightJustified(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

std::string DescribeLayout(const CPlotLayout& layout, const CLasHeader& header) {
  std::string tracks;
  auto add = [&tracks](const std::string& track) { tracks += (tracks.empty() ? "" : "|") + track; };
  for (std::size_t t = 0; t < layout.tracks.size(); ++t) {
    if (t == layout.depthTrack) add("D");
    const CTrack& track = layout.tracks[t];
    std::string text = track.hidden ? "-" : "";
    for (std::size_t k = 0; k < track.curves.size(); ++k)
      text += (k == 0 ? "" : "+") + header.curves[track.curves[k].curve].mnemonic;
    for (const CTrackFill& fill : track.fills)
      text += fill.kind == FillKind::Crossover ? (fill.on ? "{X}" : "{x}") : (fill.on ? "{G}" : "{g}");
    if (track.log) text += "(log)";
    if (track.width) text += "[" + Fixed(*track.width, 0) + "]";
    add(text);
  }
  if (layout.depthTrack >= layout.tracks.size()) add("D");
  return tracks;
}

std::string CTestLas::Text() const {
  std::string text;
  text += "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n";
  text += wrapped ? " WRAP.   YES : Multiple lines per depth step\r\n"
                  : " WRAP.   NO : One line per depth step\r\n";
  text += "~WELL INFORMATION\r\n";
  text += "STRT.M " + Fixed(Depth(0), 4) + " : START DEPTH\r\n";
  text += "STOP.M " + Fixed(Depth(rows - 1), 4) + " : STOP DEPTH\r\n";
  text += "STEP.M " + Fixed(step, 4) + " : STEP\r\n";
  text += "NULL.   -999.25 : NULL VALUE\r\nWELL.   TEST WELL 1 : WELL\r\n";
  text += "~CURVE INFORMATION\r\n";
  for (const auto& [mnemonic, unit] : curves)
    text += " " + mnemonic + "." + unit + "  : " + mnemonic + " curve\r\n";
  text += "~PARAMETER INFORMATION\r\n BHT.DEGC   35.5 : BOTTOM HOLE TEMPERATURE\r\n";
  text += "~OTHER\r\n  Made for a test.\r\n~A\r\n";
  for (int row = 0; row < rows; ++row) {
    for (std::size_t c = 0; c < curves.size(); ++c) {
      const double v = Value(row, static_cast<int>(c));
      text += RightJustified(std::isnan(v) ? std::string("-999.25") : Fixed(v, 4), 12);
      // Wrapped: the depth alone, then lines of up to five readings.
      if (wrapped && (c == 0 || c % 5 == 0 || c + 1 == curves.size())) text += "\r\n";
    }
    if (!wrapped) text += "\r\n";
  }
  return text;
}

bool CTestLas::Write(const std::string& path) const {
  std::ofstream file(path, std::ios::binary);
  file << Text();
  return static_cast<bool>(file);
}

double Wander(int row, int curve) {
  return 50 + 40 * std::sin(row * 0.013 * curve) + (row * 7919 % 101) / 10.0;
}

CTestLas PixelRowsFile(int k, int pixels) {
  const int rowCount = k * pixels;
  CTestLas made;
  made.rows = rowCount;
  made.value = [rowCount, k](int row, int) -> double {
    const int gap = rowCount * 3 / 10 / k * k;  // three whole pixel rows of nulls
    const int lone = rowCount * 7 / 10;         // a reading alone among nulls
    if ((row >= gap && row < gap + 3 * k) || (row != lone && std::abs(row - lone) < 2 * k)) return NAN;
    if (row % 37 == 5 || row % 53 == 0) return NAN;  // pixel rows of readings and nulls
    return 50 + 30 * std::sin(row * 0.05) + (row * 7919 % 101) / 10.0;
  };
  return made;
}

std::pair<double, double> PixelRowsView(const CTestLas& made, int k, int pixels) {
  // The view starts a quarter row above row 0.
  const double top = made.Depth(0) - made.step / 4;
  return {top, top + k * pixels * made.step};
}

std::vector<CExpectedPixel> ExpectedPixels(const CTestLas& made, int k, int pixels, long bucketRows) {
  std::vector<CExpectedPixel> expected(static_cast<std::size_t>(pixels));
  for (int row = 0; row < made.rows; ++row) {
    const long first = row / bucketRows * bucketRows;
    const long last = std::min<long>(first + bucketRows, made.rows) - 1;
    const auto p = static_cast<std::size_t>(std::floor((0.5 * double(first + last) + 0.25) / k));
    if (p >= expected.size()) return {};  // a row beyond the view: the case is wrong
    CExpectedPixel& pixel = expected[p];
    const double value = made.Value(row, 1);
    if (!pixel.rows) pixel.first = value;
    pixel.rows = true;
    pixel.last = value;
    if (std::isnan(value)) continue;
    pixel.lo = pixel.readings ? std::min(pixel.lo, value) : value;
    pixel.hi = pixel.readings ? std::max(pixel.hi, value) : value;
    pixel.readings = true;
  }
  return expected;
}

}  // namespace corvane::test
