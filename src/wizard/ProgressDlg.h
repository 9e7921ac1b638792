#pragma once
// The progress dialog of the long jobs: modeless, centred over its owner, with the
// job's title, a status line, a bar and "Cancel", which asks the job to stop.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/JobProgress.h"

class QLabel;
class QPushButton;

namespace corvane {

class CStatus;

class CProgressDlg : public CJobProgress {
 public:
  // Milliseconds of a monotonic clock: what the dialog paces its repaints and its
  // serving of the window system's queue by.
  using Clock = std::function<qint64()>;

  // `owner` is the window the dialog is centred over and belongs to (the page that
  // runs the job); it must outlive every Open/Close pair. `clock` is the system's
  // monotonic clock unless another is given (a test's, which it moves itself).
  explicit CProgressDlg(QWidget* owner, Clock clock = Clock());
  ~CProgressDlg() override;
  CProgressDlg(const CProgressDlg&) = delete;
  CProgressDlg& operator=(const CProgressDlg&) = delete;

  void Open(const std::string& title, std::int32_t& cancelFlag) override;
  void SetLineText(std::string_view text) override;
  void SetPercent(int percent) override;
  bool PollCancel() override;
  void Close() override;

  // Paints the latest line text and percentage now, however recently it painted.
  void ShowPending();

  // The open dialog and its parts (null while closed).
  QDialog* Window() const { return m_window.data(); }
  CStatus* Bar() const { return m_bar; }
  QLabel* LineTextLabel() const { return m_lineLabel; }
  QLabel* MessageLabel() const { return m_messageLabel; }
  QPushButton* CancelButton() const { return m_cancel; }

  // The Cancel button's action: writes 2 into the job's flag, nothing else.
  void RequestCancel();

 private:
  void RepaintIfDue(qint64 now);

  QPointer<QWidget> m_owner;
  Clock m_clock;
  QPointer<QDialog> m_window;
  QLabel* m_lineLabel = nullptr;
  QLabel* m_messageLabel = nullptr;
  CStatus* m_bar = nullptr;
  QPushButton* m_cancel = nullptr;
  std::int32_t* m_cancelFlag = nullptr;

  // What the job last reported; painted at most about 30 times a second.
  std::string m_lineText;
  int m_percent = 0;
  bool m_pending = false;
  qint64 m_lastRepaint = -1;     // monotonic milliseconds; -1 = not yet
  qint64 m_lastPump = -1;        // when the window system's queue was last served
  bool m_repaintPutOff = false;  // a repaint was due but put off
};

}  // namespace corvane
