#pragma once
// The progress bar of the progress dialog: a white field in a sunken one-pixel
// frame, with the filled part growing from the left by inverting the pixels under it.
#include <QString>
#include <QWidget>

namespace corvane {

class CStatus : public QWidget {
  Q_OBJECT
 public:
  explicit CStatus(QWidget* parent = nullptr);

  int Percent() const { return m_percent; }
  // Stores the share to fill; the caller repaints when it wants the change on screen.
  void SetPercent(int percent) { m_percent = percent; }
  const QString& Label() const { return m_label; }
  void SetLabel(const QString& label) { m_label = label; }

  // The field inside the frame's outer edge (right and bottom exclusive), and the
  // width in pixels of the filled part for the stored percent.
  QRect FieldRect() const;
  int BarWidth() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Draws the frame, the label and the bar into `painter` over `field`.
  virtual void Draw(QPainter& painter, const QRect& field, const QString& label);

 private:
  int m_percent = 0;
  QString m_label;
  QFont m_font;
};

}  // namespace corvane
