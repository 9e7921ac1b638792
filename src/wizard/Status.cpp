#include "wizard/Status.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace corvane {

CStatus::CStatus(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_font = QFont(QStringLiteral("MS Sans Serif"));
  m_font.setStyleHint(QFont::SansSerif);
  m_font.setWeight(QFont::Normal);
  m_font.setPixelSize(static_cast<int>(std::lround(10.0 * logicalDpiY() / 72.0)));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize CStatus::sizeHint() const { return QSize(240, 18); }

QRect CStatus::FieldRect() const {
  // Left, top, width and height of the client area shrunk by one pixel on every side.
  return QRect(1, 1, std::max(0, width() - 2), std::max(0, height() - 2));
}

int CStatus::BarWidth() const {
  const int q = std::min(m_percent, 100);
  const int width = FieldRect().width();
  // Truncated toward zero, as a whole number of pixels.
  return std::max(0, static_cast<int>((q / 100.0) * width));
}

void CStatus::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  Draw(painter, FieldRect(), m_label);
}

void CStatus::Draw(QPainter& painter, const QRect& r, const QString& label) {
  if (r.width() <= 0 || r.height() <= 0) return;
  const QPalette& pal = palette();
  const int left = r.x();
  const int top = r.y();
  const int right = r.x() + r.width();    // exclusive
  const int bottom = r.y() + r.height();  // exclusive

  // Sunken frame: light along the bottom and the right, dark along the top and the left.
  const QColor highlight = pal.color(QPalette::Light);
  const QColor shadow = pal.color(QPalette::Dark);
  painter.fillRect(QRect(left + 1, bottom - 1, right - left - 1, 1), highlight);
  painter.fillRect(QRect(right - 1, top + 1, 1, bottom - top - 1), highlight);
  painter.fillRect(QRect(left, top, right - left, 1), shadow);
  painter.fillRect(QRect(left, top, 1, bottom - top), shadow);

  if (!label.isEmpty()) {
    const QRect textRect(left + 2, top + 1, std::max(0, right - left - 4), std::max(0, bottom - top - 2));
    painter.save();
    painter.setFont(m_font);
    painter.setPen(pal.color(QPalette::ButtonText));
    painter.setClipRect(textRect);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignBottom, label);
    painter.restore();
  }

  const int barWidth = BarWidth();
  const int barHeight = bottom - 1 - top;
  if (barWidth > 0 && barHeight > 0) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(QRect(left, top, barWidth, barHeight), Qt::black);
    painter.restore();
  }
}

}  // namespace corvane
