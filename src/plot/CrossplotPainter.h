#pragma once
// Draws a crossplot onto any QPainter (its window, a picture, a printer): a title line,
// the axes with their ticks, grid and curve names, the points (coloured by the colour
// curve, with its colour bar) or the density of the readings bin by bin (with the bar
// of the counts), and a line saying how many readings it shows. Nothing here needs a
// display; the window and corvane-cli crossplot draw alike.
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <utility>

class QPainter;

namespace corvane {

class CCrossplot;
struct CLasHeader;

class CCrossplotPainter {
 public:
  // `header`: the file's (the curves' names and units, the well); `fileName`: shown in
  // the title. Both are kept by reference while the painter lives.
  CCrossplotPainter(const CCrossplot& plot, const CLasHeader& header, const QString& fileName);

  // The axes' area within `area`.
  QRectF PlotArea(const QRectF& area) const;
  // Where a point of the area stands on the axes (fractions 0..1 across and up, beyond
  // them outside the axes).
  std::pair<double, double> FractionsAt(const QRectF& area, const QPointF& point) const;
  void Paint(QPainter& painter, const QRectF& area) const;

 private:
  void PaintAxis(QPainter& painter, const QRectF& plot, bool vertical) const;
  void PaintPoints(QPainter& painter, const QRectF& plot) const;
  void PaintDensity(QPainter& painter, const QRectF& plot) const;
  void PaintBar(QPainter& painter, const QRectF& bar) const;
  bool HasBar() const;
  QString CurveName(std::size_t curve) const;

  const CCrossplot& m_plot;
  const CLasHeader& m_header;
  QString m_fileName;
  QFont m_font;
  double m_line;
};

}  // namespace corvane
