#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace corvane {
namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  // Same shapes as corvane.svg (64 x 64 units).
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1d, 0x5c, 0x63));
  p.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
  p.setBrush(QColor(0xf4, 0xf1, 0xe6));
  p.drawRect(QRectF(14, 10, 36, 44));
  p.setPen(QPen(QColor(0x9a, 0xa8, 0xa8), 1.0));
  for (int y = 16; y <= 48; y += 8) p.drawLine(QLineF(14, y, 50, y));
  QPainterPath curve;
  curve.moveTo(24, 10);
  curve.cubicTo(40, 16, 18, 24, 34, 30);
  curve.cubicTo(46, 35, 22, 42, 30, 54);
  p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 3.0, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  return pixmap;
}

}  // namespace

QIcon CorvaneIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace corvane
