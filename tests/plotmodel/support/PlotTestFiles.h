#pragma once
// LAS files made to measure for the plot's tests: curves, rows, a reading for every
// row and curve (NaN writes the null value), wrapped or one line per depth; and what
// every pixel row of a view ought to draw of a curve.
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {
class CPlotLayout;
struct CLasHeader;
}  // namespace corvane

namespace corvane::test {

// A layout as "GR{G}|D|ILD(log)|NPHI+RHOB{x}|-PEF[120]": tracks left to right, "D" the
// depth track, "+" joins the curves of a track, "{G}" a gamma ray fill and "{X}" a
// crossover (lower case: switched off), "(log)" a log scale, "-" a hidden track, "[120]"
// a width.
std::string DescribeLayout(const CPlotLayout& layout, const CLasHeader& header);

struct CTestLas {
  std::vector<std::pair<std::string, std::string>> curves{{"DEPT", "M"}, {"GR", "GAPI"}, {"ILD", "OHMM"}};
  int rows = 100;
  double start = 1000;
  double step = 0.5;
  // Reading of curve c (1 and up) in row r; the depth curve is start + r * step.
  std::function<double(int row, int curve)> value = [](int row, int curve) { return curve * 10.0 + row % 7; };
  bool wrapped = false;

  double Depth(int row) const { return start + row * step; }
  double Value(int row, int curve) const { return curve == 0 ? Depth(row) : value(row, curve); }
  std::string Text() const;
  // Writes the file into `path`; false when it cannot.
  bool Write(const std::string& path) const;
};

// A reading that wanders, for curves that are not flat.
double Wander(int row, int curve);

// What one pixel row of a view draws of a curve: the least, greatest, first and last
// reading of the rows that fall into it (NaN for a null first or last).
struct CExpectedPixel {
  bool rows = false;      // rows fall into it
  bool readings = false;  // some of them hold a reading
  double lo = 0, hi = 0, first = 0, last = 0;
};

// The file of the pixel-row cases: `k` rows per pixel row over `pixels` pixel rows,
// with three whole pixel rows of nulls, a reading alone among nulls, and pixel rows
// of readings and nulls.
CTestLas PixelRowsFile(int k, int pixels);
// The view of that file whose pixel row p holds rows p*k .. p*k + k - 1.
std::pair<double, double> PixelRowsView(const CTestLas& made, int k, int pixels);
// What each pixel row of that view draws of curve 1, when the rows go to pixel rows in
// buckets of `bucketRows` rows (1: row by row), each to the pixel row of its middle;
// empty when a row falls outside the view.
std::vector<CExpectedPixel> ExpectedPixels(const CTestLas& made, int k, int pixels, long bucketRows);

}  // namespace corvane::test
