#include "app/PlotCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "plot/LasData.h"
#include "plot/RowReader.h"

namespace corvane {
namespace {

// "1669.875", "0.45", "2550": the reading as a number, without trailing zeros.
QString ReadingText(double value) {
  return std::isnan(value) ? QStringLiteral("-") : QString::number(value, 'g', 10);
}

}  // namespace

CPlotCanvas::CPlotCanvas(CLasData& data, CRowReader& rows, const CPlotLayout& layout,
                         const CPlotScales& scales, QWidget* parent)
    : QWidget(parent), m_data(data), m_rows(rows), m_layout(layout), m_scales(scales), m_tracer(data, &rows) {
  setMouseTracking(true);
  setFocusPolicy(Qt::WheelFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 200);
}

CPlotPainter::CGeometry CPlotCanvas::Geometry() const {
  return CPlotPainter(m_data, &m_rows, m_layout, m_scales, {false, false}).Geometry(QRectF(rect()));
}

std::optional<std::pair<double, double>> CPlotCanvas::WholeRange() const {
  auto lock = m_data.Lock();
  auto range = m_data.DepthExtent();
  const CLasHeader& header = m_data.Header();
  if (m_data.State() == LoadState::Loading && header.start && header.stop) {
    const double low = std::min(*header.start, *header.stop);
    const double high = std::max(*header.start, *header.stop);
    range = range ? std::make_pair(std::min(range->first, low), std::max(range->second, high))
                  : std::make_pair(low, high);
  }
  if (range && range->second <= range->first) range->second = range->first + 1;
  return range;
}

void CPlotCanvas::ApplyRange(double top, double base) {
  if (base < top) std::swap(top, base);
  if (const auto whole = WholeRange()) {
    // No narrower than a few rows, no wider than the file, and within it.
    double fewest = 0;
    {
      auto lock = m_data.Lock();
      if (m_data.Rows() > 1)
        fewest = std::fabs(m_data.DepthAtRow(m_data.Rows() - 1) - m_data.DepthAtRow(0)) /
                 (m_data.Rows() - 1) * kFewestRows;
    }
    const double span = std::clamp(base - top, std::max(fewest, 1e-9), whole->second - whole->first);
    const double middle = (top + base) / 2;
    top = std::clamp(middle - span / 2, whole->first, whole->second - span);
    base = top + span;
  } else if (base == top) {
    base = top + 1;
  }
  if (top == m_top && base == m_base) return;
  m_top = top;
  m_base = base;
  update();
  emit ViewChanged(m_top, m_base);
}

void CPlotCanvas::SetDepthRange(double top, double base) {
  m_followWhole = false;
  ApplyRange(top, base);
  // Widened to the whole file: it is followed again as it loads.
  if (const auto whole = WholeRange()) m_followWhole = m_top <= whole->first && m_base >= whole->second;
}

void CPlotCanvas::ShowWhole() {
  m_followWhole = true;
  if (const auto whole = WholeRange()) ApplyRange(whole->first, whole->second);
  update();
}

void CPlotCanvas::Refresh() {
  if (m_followWhole) ShowWhole();
  update();
}

void CPlotCanvas::ScrollBy(double share) {
  const double shift = (m_base - m_top) * share;
  SetDepthRange(m_top + shift, m_base + shift);
}

void CPlotCanvas::ZoomBy(double factor, double aroundDepth) {
  if (!(factor > 0)) return;
  const double top = aroundDepth - (aroundDepth - m_top) / factor;
  const double base = aroundDepth + (m_base - aroundDepth) / factor;
  SetDepthRange(top, base);
}

std::optional<double> CPlotCanvas::DepthAt(const QPointF& point) const {
  const CPlotPainter::CGeometry g = Geometry();
  if (!g.body.contains(point) || g.body.height() <= 0) return std::nullopt;
  return m_top + (point.y() - g.body.top()) / g.body.height() * (m_base - m_top);
}

QString CPlotCanvas::Readout(double depth) {
  auto lock = m_data.Lock();
  if (m_data.Rows() == 0) return {};
  const auto row = static_cast<long>(std::lround(m_data.RowAtDepth(depth)));
  const CRowReader::CRows& rows = m_rows.Rows(row, row);
  if (!rows.Holds(row, row)) return {};
  const CLasHeader& header = m_data.Header();
  QStringList parts;
  for (std::size_t c = 0; c < header.curves.size(); ++c) {
    QString part = PlotText(header.curves[c].mnemonic) + ' ' + ReadingText(rows.Value(row, c));
    if (!header.curves[c].unit.empty() && !std::isnan(rows.Value(row, c)))
      part += ' ' + PlotText(header.curves[c].unit);
    parts.append(part);
  }
  return parts.join(QStringLiteral("   "));
}

void CPlotCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  auto lock = m_data.Lock();
  if (!m_data.HasHeader()) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  CPlotPainter(m_data, &m_rows, m_layout, m_scales, {false, false, true, &m_tracer})
      .Paint(painter, QRectF(rect()), m_top, m_base);
}

void CPlotCanvas::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    const double around = DepthAt(event->position()).value_or((m_top + m_base) / 2);
    ZoomBy(std::pow(kZoomStep, notches), around);
  } else {
    ScrollBy(-notches * kScrollStep);
  }
  event->accept();
}

void CPlotCanvas::mouseMoveEvent(QMouseEvent* event) {
  const std::optional<double> depth = DepthAt(event->position());
  emit ReadoutChanged(depth ? Readout(*depth) : QString());
}

void CPlotCanvas::leaveEvent(QEvent*) { emit ReadoutChanged(QString()); }

void CPlotCanvas::keyPressEvent(QKeyEvent* event) {
  const double middle = (m_top + m_base) / 2;
  switch (event->key()) {
    case Qt::Key_PageDown:
      ScrollBy(0.9);
      break;
    case Qt::Key_PageUp:
      ScrollBy(-0.9);
      break;
    case Qt::Key_Down:
      ScrollBy(kScrollStep);
      break;
    case Qt::Key_Up:
      ScrollBy(-kScrollStep);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomBy(kZoomStep, middle);
      break;
    case Qt::Key_Minus:
      ZoomBy(1 / kZoomStep, middle);
      break;
    case Qt::Key_Home:
      ShowWhole();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace corvane
