#include "app/HelpPopup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace corvane {

CHelpPopup::CHelpPopup(const QString& text, QWidget* owner)
    : QFrame(owner, Qt::Popup | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Background());
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);

  m_label = new QLabel(text, this);
  m_label->setTextFormat(Qt::PlainText);
  m_label->setWordWrap(true);
  m_label->setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(m_label);
  // Long texts wrap at a readable width instead of spanning the screen.
  const int readable = fontMetrics().averageCharWidth() * 60;
  int widest = 0;
  for (const QString& line : text.split(u'\n')) widest = qMax(widest, fontMetrics().horizontalAdvance(line));
  m_label->setMinimumWidth(qMin(widest, readable));
  m_label->setMaximumWidth(readable);
}

QString CHelpPopup::Text() const { return m_label->text(); }

void CHelpPopup::ShowAt(const QPoint& globalPos) {
  adjustSize();
  QPoint pos = globalPos;
  if (QScreen* screen = QGuiApplication::screenAt(globalPos)) {
    const QRect area = screen->availableGeometry();
    pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - width())));
    pos.setY(qBound(area.top(), pos.y(), qMax(area.top(), area.bottom() - height())));
  }
  move(pos);
  show();
}

void CHelpPopup::mousePressEvent(QMouseEvent*) { close(); }

void CHelpPopup::keyPressEvent(QKeyEvent*) { close(); }

}  // namespace corvane
