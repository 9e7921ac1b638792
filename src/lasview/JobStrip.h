#pragma once
// The widgets that follow a window's background job: what the job says, a bar of how
// far it has come and Cancel, placed in a row of the window's own.
#include "plotmodel/SharedProgress.h"

class QBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace corvane {

class CJobStrip {
 public:
  // Makes the label, the bar and Cancel as children of `parent` and adds them to `row`;
  // they are named "<name>Text", "<name>Bar" and "<name>Cancel".
  void AddTo(QWidget* parent, QBoxLayout* row, const char* name);
  // The job's latest line text and percent.
  void Show(const CSharedProgress::CState& state) const;
  // A job that starts: nothing said, nothing done, bar and Cancel shown.
  void Started() const;
  // A job that has ended (or none yet): bar and Cancel hidden; the label keeps its text.
  void Ended() const;

  QLabel* Label() const { return m_label; }
  QPushButton* Cancel() const { return m_cancel; }

 private:
  QLabel* m_label = nullptr;
  QProgressBar* m_bar = nullptr;
  QPushButton* m_cancel = nullptr;
};

}  // namespace corvane
