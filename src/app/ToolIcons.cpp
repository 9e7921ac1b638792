#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include "app/AppIcon.h"

namespace corvane {
namespace {

// Toolbar pictures for the commands that the style has none for, drawn on 16 x 16.
enum class Picture { Cut, Copy, Paste, Print, Help, Plot, SavePlot };

QIcon DrawnIcon(Picture picture) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QPen ink(QColor(0x30, 0x30, 0x30), 1.2);
  p.setPen(ink);
  switch (picture) {
    case Picture::Cut:
      p.drawLine(QLineF(4, 1, 10, 10));
      p.drawLine(QLineF(12, 1, 6, 10));
      p.drawEllipse(QRectF(2, 10, 4.5, 4.5));
      p.drawEllipse(QRectF(9.5, 10, 4.5, 4.5));
      break;
    case Picture::Copy:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      break;
    case Picture::Paste:
      p.setBrush(QColor(0xc8, 0xa0, 0x60));
      p.drawRect(QRectF(2.5, 2.5, 10, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5.5, 1.5, 4, 3));
      p.drawRect(QRectF(7.5, 7.5, 7, 7));
      break;
    case Picture::Print:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 1.5, 7, 5));
      p.setBrush(QColor(0xb0, 0xb0, 0xb0));
      p.drawRect(QRectF(1.5, 6.5, 13, 6));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 10.5, 7, 4));
      break;
    case Picture::Plot:
    case Picture::SavePlot: {
      // A track with a log curve; saving adds a disk corner.
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 0.5, 11, 15));
      QPainterPath curve;
      curve.moveTo(7, 1);
      curve.cubicTo(12, 4, 4, 7, 9, 9);
      curve.cubicTo(12, 11, 5, 13, 8, 15);
      p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawPath(curve);
      if (picture == Picture::SavePlot) {
        p.setPen(ink);
        p.setBrush(QColor(0x1d, 0x5c, 0x63));
        p.drawRect(QRectF(8.5, 9.5, 6, 6));
      }
      break;
    }
    case Picture::Help: {
      QFont font = p.font();
      font.setPixelSize(14);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(0x1d, 0x5c, 0x63));
      p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
  }
  return QIcon(pixmap);
}

QIcon ThemedIcon(const char* theme, QStyle::StandardPixmap standard, Picture picture, const QStyle* style) {
  QIcon icon = theme == nullptr ? QIcon() : QIcon::fromTheme(QLatin1String(theme));
  if (icon.isNull() && standard != QStyle::SP_CustomBase) icon = style->standardIcon(standard);
  if (icon.isNull()) icon = DrawnIcon(picture);
  return icon;
}

}  // namespace

QIcon ToolIcon(ToolPicture picture, const QStyle* style) {
  switch (picture) {
    case ToolPicture::None:
      return QIcon();
    case ToolPicture::New:
      return ThemedIcon("document-new", QStyle::SP_FileIcon, Picture::Help, style);
    case ToolPicture::Open:
      return ThemedIcon("document-open", QStyle::SP_DialogOpenButton, Picture::Help, style);
    case ToolPicture::OpenLas:
      return DrawnIcon(Picture::Plot);
    case ToolPicture::Save:
      return ThemedIcon("document-save", QStyle::SP_DialogSaveButton, Picture::Help, style);
    case ToolPicture::SavePlot:
      return DrawnIcon(Picture::SavePlot);
    case ToolPicture::Print:
      return ThemedIcon("document-print", QStyle::SP_CustomBase, Picture::Print, style);
    case ToolPicture::Cut:
      return ThemedIcon("edit-cut", QStyle::SP_CustomBase, Picture::Cut, style);
    case ToolPicture::Copy:
      return ThemedIcon("edit-copy", QStyle::SP_CustomBase, Picture::Copy, style);
    case ToolPicture::Paste:
      return ThemedIcon("edit-paste", QStyle::SP_CustomBase, Picture::Paste, style);
    case ToolPicture::About:
      return CorvaneIcon();
    case ToolPicture::ContextHelp:
      return ThemedIcon(nullptr, QStyle::SP_TitleBarContextHelpButton, Picture::Help, style);
  }
  return QIcon();
}

}  // namespace corvane
