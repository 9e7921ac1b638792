#pragma once
// The log plot of a LAS window: draws the depths of its view with CPlotPainter, moves
// the view with the mouse wheel (Ctrl+wheel zooms around the pointer) and the keys,
// and reports the depth and every curve's reading under the pointer.
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>

#include "plot/CurveTracer.h"
#include "plot/PlotPainter.h"

namespace corvane {

class CLasData;
class CRowReader;

class CPlotCanvas : public QWidget {
  Q_OBJECT
 public:
  // Views may not be narrower than this many rows.
  static constexpr double kFewestRows = 4;
  // A wheel notch moves the view by this share of its height; Ctrl+notch zooms by kZoomStep.
  static constexpr double kScrollStep = 0.1;
  static constexpr double kZoomStep = 1.25;

  CPlotCanvas(CLasData& data, CRowReader& rows, const CPlotLayout& layout, const CPlotScales& scales,
              QWidget* parent = nullptr);

  double Top() const { return m_top; }
  double Base() const { return m_base; }
  // The view (top above base); kept within the depths of the file and no narrower
  // than kFewestRows rows. The view stops following the whole file.
  void SetDepthRange(double top, double base);
  // The whole file, followed while it loads.
  void ShowWhole();
  bool FollowsWhole() const { return m_followWhole; }
  // The depths of the whole file: its rows so far, with STRT and STOP while it loads.
  std::optional<std::pair<double, double>> WholeRange() const;

  // Moves the view by a share of its height (down for positive shares).
  void ScrollBy(double share);
  // Narrows (factor above 1) or widens the view around a depth that stays in place.
  void ZoomBy(double factor, double aroundDepth);
  // The depth at a point, none outside the tracks' body.
  std::optional<double> DepthAt(const QPointF& point) const;
  // The row nearest to a depth with every curve's reading: "DEPT 1670 M   GR 45.2 GAPI ...";
  // a null shows as "-". Empty before the first row.
  QString Readout(double depth);

  // New rows, scales or tracks: draw again (and follow the whole file when the view does).
  void Refresh();

 signals:
  void ViewChanged(double top, double base);
  void ReadoutChanged(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ApplyRange(double top, double base);
  CPlotPainter::CGeometry Geometry() const;

  CLasData& m_data;
  CRowReader& m_rows;
  const CPlotLayout& m_layout;
  const CPlotScales& m_scales;
  // The curves of the view as last drawn: a repaint without a scroll, zoom, resize or
  // new rows draws them again without reading or reducing anything.
  CCurveTracer m_tracer;
  double m_top = 0;
  double m_base = 1;
  bool m_followWhole = true;
};

}  // namespace corvane
