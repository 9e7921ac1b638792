#include "lasview/PlotCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
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
}

CPlotPainter::CGeometry CPlotCanvas::Geometry() const {
  return CPlotPainter(m_session.Data(), &m_session.Rows(), m_session.Layout(), m_session.Scales(),
                      {false, false})
      .Geometry(QRectF(rect()));
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
  CPlotPainter(data, &m_session.Rows(), m_session.Layout(), m_session.Scales(),
               {false, false, true, &m_tracer})
      .Paint(painter, QRectF(rect()), m_session.Top(), m_session.Base());
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
