#pragma once
// The log plot of a LAS window, a view of its session: draws the depths in view with
// CPlotPainter, moves the view with the mouse wheel (Ctrl+wheel zooms around the
// pointer) and the keys, and reports the depth and every curve's reading under the
// pointer.
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
  // The row nearest to a depth with every curve's reading: "DEPT 1670 M   GR 45.2 GAPI ...";
  // a null shows as "-". Empty before the first row.
  QString Readout(double depth);

 signals:
  void ReadoutChanged(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnSessionChanged(unsigned changes) override;
  CPlotPainter::CGeometry Geometry() const;

  CLasSession& m_session;
  // The curves of the view as last drawn: a repaint without a scroll, zoom, resize or
  // new rows draws them again without reading or reducing anything.
  CCurveTracer m_tracer;
};

}  // namespace corvane
