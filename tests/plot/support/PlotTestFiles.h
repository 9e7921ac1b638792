#pragma once
// LAS files made to measure for the plot's tests: curves, rows, a reading for every
// row and curve (NaN writes the null value), wrapped or one line per depth.
#include <QByteArray>
#include <QString>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace corvane::test {

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
  QByteArray Text() const;
  // Writes the file into `path`; false when it cannot.
  bool Write(const QString& path) const;
};

}  // namespace corvane::test
