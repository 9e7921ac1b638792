#pragma once
// The row of a window that shows a depth range: "Depth from [top] to [base]", Show and
// Whole Log. Depths typed in the boxes are taken on Show or Enter; what is no depth
// (or two equal ones) gives the boxes back the range shown.
#include <QObject>

class QBoxLayout;
class QLineEdit;
class QWidget;

namespace corvane {

class CDepthBoxes : public QObject {
  Q_OBJECT
 public:
  // Makes the controls as children of `parent` ("topDepth", "baseDepth", "showDepths",
  // "wholeLog") and adds them to `row`.
  CDepthBoxes(QWidget* parent, QBoxLayout* row);
  // The range shown, in the boxes.
  void Show(double top, double base);

 signals:
  void RangeTyped(double top, double base);
  void WholeRequested();

 private:
  void Take();

  QLineEdit* m_top = nullptr;
  QLineEdit* m_base = nullptr;
  double m_shownTop = 0;
  double m_shownBase = 0;
};

}  // namespace corvane
