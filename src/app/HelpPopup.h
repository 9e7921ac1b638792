#pragma once
// The small text window of context help: black text on a pale green ground with
// margins of 15 pixels, shown at the mouse cursor and gone at the next click or key.
#include <QFrame>

class QLabel;

namespace corvane {

class CHelpPopup : public QFrame {
  Q_OBJECT
 public:
  static constexpr int kMargin = 15;
  static QColor Background() { return QColor(190, 240, 185); }

  CHelpPopup(const QString& text, QWidget* owner);
  QString Text() const;
  // Places the popup with its top-left corner at `globalPos`, kept on the screen.
  void ShowAt(const QPoint& globalPos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLabel* m_label;
};

}  // namespace corvane
