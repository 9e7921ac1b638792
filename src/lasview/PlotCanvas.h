#pragma once
// The log plot of a LAS window, a view of its session: draws the depths in view with
// CPlotPainter, moves the view with the mouse wheel (Ctrl+wheel zooms around the
// pointer) and the keys, and reports the depth and every curve's reading under the
// pointer. Tracks wider together than the canvas scroll sideways (SetScrollX); a
// track's right edge dragged sets its width, a double click there gives it its share
// of the room again.
#include <QString>
#include <QWidget>
#include <optional>

#include "lasview/LasSession.h"
#include "plot/PlotPainter.h"
#include "plotmodel/CurveTracer.h"

namespace corvane {

class CPlotCanvas : public QWidget, private CLasSessionObserver {
  Q_OBJECT
 public:
  // A wheel notch moves the view by this share of its height; Ctrl+notch zooms by kZoomStep.
  static constexpr double kScrollStep = 0.1;
  static constexpr double kZoomStep = 1.25;

  explicit CPlotCanvas(CLasSession& session, QWidget* parent = nullptr);
  ~CPlotCanvas() override;

  // The depth at a point, none outside the tracks' body.
  std::optional<double> DepthAt(const QPointF& point) const;
  // How far the tracks reach beyond the canvas's right edge (0 when they fit), and how
  // far they are scrolled to the left.
  int OverflowWidth() const;
  void SetScrollX(int x);
  int ScrollX() const { return m_scrollX; }
  // Pixels per depth unit of the view as drawn now.
  double PixelsPerDepth() const;
  // The row nearest to a depth with every curve's reading: "DEPT 1670 M   GR 45.2 GAPI ...";
  // a null shows as "-". Empty before the first row.
  QString Readout(double depth);

 signals:
  void ReadoutChanged(const QString& text);
  // The width of the tracks or of the canvas changed: the scroll bar follows.
  void OverflowChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnSessionChanged(unsigned changes) override;
  CPlotPainter::CGeometry Geometry() const;
  // The area the plot is drawn into: as wide as its tracks need, scrolled.
  QRectF Area(const CPlotPainter& painter) const;
  // The layout's track whose right edge is within reach of x; -1 for none.
  int EdgeAt(double x) const;

  CLasSession& m_session;
  // The curves of the view as last drawn: a repaint without a scroll, zoom, resize or
  // new rows draws them again without reading or reducing anything.
  CCurveTracer m_tracer;
  int m_scrollX = 0;
  // A track's edge being dragged: its track, where the drag began and its width then.
  int m_dragTrack = -1;
  double m_dragFrom = 0;
  double m_dragWidth = 0;
};

}  // namespace corvane
