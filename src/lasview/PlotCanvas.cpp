#include "lasview/PlotCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "plotmodel/LasData.h"
#include "plotmodel/RowReader.h"

namespace corvane {
namespace {

// "1669.875", "0.45", "2550": the reading as a number, without trailing zeros.
QString ReadingText(double value) {
  return std::isnan(value) ? QStringLiteral("-") : QString::number(value, 'g', 10);
}

constexpr unsigned kRedrawn = SessionChange::kHeader | SessionChange::kRows | SessionChange::kLayout |
                              SessionChange::kView | SessionChange::kLoadEnded;

}  // namespace

CPlotCanvas::CPlotCanvas(CLasSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_tracer(session.Data(), &session.Rows()) {
  setMouseTracking(true);
  setFocusPolicy(Qt::WheelFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 200);
  m_session.AddObserver(this);
}

CPlotCanvas::~CPlotCanvas() { m_session.RemoveObserver(this); }

void CPlotCanvas::OnSessionChanged(unsigned changes) {
  if (changes & kRedrawn) update();
  if (changes & (SessionChange::kHeader | SessionChange::kLayout)) emit OverflowChanged();
}

QRectF CPlotCanvas::Area(const CPlotPainter& painter) const {
  return QRectF(-m_scrollX, 0, painter.NeededWidth(width()), height());
}

CPlotPainter::CGeometry CPlotCanvas::Geometry() const {
  auto lock = m_session.Data().Lock();
  const CPlotPainter painter(m_session.Data(), &m_session.Rows(), m_session.Layout(), m_session.Scales(),
                             {false, false});
  return painter.Geometry(Area(painter));
}

int CPlotCanvas::OverflowWidth() const {
  auto lock = m_session.Data().Lock();
  const CPlotPainter painter(m_session.Data(), &m_session.Rows(), m_session.Layout(), m_session.Scales(),
                             {false, false});
  return std::max(0, painter.NeededPixels(width()) - width());
}

void CPlotCanvas::SetScrollX(int x) {
  x = std::clamp(x, 0, OverflowWidth());
  if (x == m_scrollX) return;
  m_scrollX = x;
  update();
}

double CPlotCanvas::PixelsPerDepth() const {
  const CPlotPainter::CGeometry g = Geometry();
  const double span = m_session.Base() - m_session.Top();
  return span > 0 ? g.body.height() / span : 0;
}

int CPlotCanvas::EdgeAt(double x) const {
  const CPlotPainter::CGeometry g = Geometry();
  for (std::size_t i = 0; i < g.tracks.size(); ++i)
    if (std::fabs(g.tracks[i].right() - x) <= 3) return static_cast<int>(g.layoutTrack[i]);
  return -1;
}

void CPlotCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_scrollX = std::clamp(m_scrollX, 0, OverflowWidth());
  emit OverflowChanged();
}

void CPlotCanvas::mousePressEvent(QMouseEvent* event) {
  const int track = event->button() == Qt::LeftButton ? EdgeAt(event->position().x()) : -1;
  if (track < 0) {
    QWidget::mousePressEvent(event);
    return;
  }
  const CPlotPainter::CGeometry g = Geometry();
  for (std::size_t i = 0; i < g.tracks.size(); ++i)
    if (static_cast<int>(g.layoutTrack[i]) == track) m_dragWidth = g.tracks[i].width();
  m_dragTrack = track;
  m_dragFrom = event->position().x();
  event->accept();
}

void CPlotCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragTrack < 0) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  m_dragTrack = -1;
  emit OverflowChanged();
  event->accept();
}

void CPlotCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  const int track = event->button() == Qt::LeftButton ? EdgeAt(event->position().x()) : -1;
  if (track < 0) {
    QWidget::mouseDoubleClickEvent(event);
    return;
  }
  m_session.ChangeLayout([track](CPlotLayout& layout) {
    CTrack& changed = layout.tracks[static_cast<std::size_t>(track)];
    if (!changed.width) return false;
    changed.width.reset();
    return true;
  });
  event->accept();
}

std::optional<double> CPlotCanvas::DepthAt(const QPointF& point) const {
  const CPlotPainter::CGeometry g = Geometry();
  if (!g.body.contains(point) || g.body.height() <= 0) return std::nullopt;
  return m_session.Top() +
         (point.y() - g.body.top()) / g.body.height() * (m_session.Base() - m_session.Top());
}

QString CPlotCanvas::Readout(double depth) {
  const CLasData& data = m_session.Data();
  auto lock = data.Lock();
  if (data.Rows() == 0) return {};
  const auto row = static_cast<long>(std::lround(data.RowAtDepth(depth)));
  const CRowReader::CRows& rows = m_session.Rows().Rows(row, row);
  if (!rows.Holds(row, row)) return {};
  const CLasHeader& header = data.Header();
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
  const CLasData& data = m_session.Data();
  auto lock = data.Lock();
  if (!data.HasHeader()) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  const CPlotPainter plot(data, &m_session.Rows(), m_session.Layout(), m_session.Scales(),
                          {false, false, true, &m_tracer, QRectF(rect())});
  plot.Paint(painter, Area(plot), m_session.Top(), m_session.Base());
}

void CPlotCanvas::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    const double around = DepthAt(event->position()).value_or((m_session.Top() + m_session.Base()) / 2);
    m_session.ZoomBy(std::pow(kZoomStep, notches), around);
  } else {
    m_session.ScrollBy(-notches * kScrollStep);
  }
  event->accept();
}

void CPlotCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragTrack >= 0) {
    const double width =
        std::max(CPlotPainter::kMinTypedWidth, std::round(m_dragWidth + event->position().x() - m_dragFrom));
    const auto track = static_cast<std::size_t>(m_dragTrack);
    m_session.ChangeLayout([track, width](CPlotLayout& layout) {
      if (track >= layout.tracks.size() || layout.tracks[track].width == width) return false;
      layout.tracks[track].width = width;
      return true;
    });
    return;
  }
  setCursor(EdgeAt(event->position().x()) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
  const std::optional<double> depth = DepthAt(event->position());
  emit ReadoutChanged(depth ? Readout(*depth) : QString());
}

void CPlotCanvas::leaveEvent(QEvent*) { emit ReadoutChanged(QString()); }

void CPlotCanvas::keyPressEvent(QKeyEvent* event) {
  const double middle = (m_session.Top() + m_session.Base()) / 2;
  switch (event->key()) {
    case Qt::Key_PageDown:
      m_session.ScrollBy(0.9);
      break;
    case Qt::Key_PageUp:
      m_session.ScrollBy(-0.9);
      break;
    case Qt::Key_Down:
      m_session.ScrollBy(kScrollStep);
      break;
    case Qt::Key_Up:
      m_session.ScrollBy(-kScrollStep);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      m_session.ZoomBy(kZoomStep, middle);
      break;
    case Qt::Key_Minus:
      m_session.ZoomBy(1 / kZoomStep, middle);
      break;
    case Qt::Key_Home:
      m_session.ShowWhole();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace corvane
