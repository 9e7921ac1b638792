#include "wizard/ProgressDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <chrono>
#include <ctime>
#include <functional>
#include <utility>

#include "wizard/QtText.h"
#include "wizard/Status.h"

namespace corvane {
namespace {

// Painting every line of a conversion would cost more than converting it; the eye
// gets nothing from more than about 30 updates a second.
constexpr qint64 kRepaintIntervalMs = 33;
// Looking into the window system's queue costs a system call, more than converting
// a line; served every few milliseconds, a click is still handled long before anyone
// could notice. Events posted inside the program are served on every poll.
constexpr qint64 kPumpIntervalMs = 5;

// Esc and the close box of the title bar ask for a cancel, as the Cancel button
// does; the window itself goes only when the job closes it.
class CProgressWindow : public QDialog {
 public:
  CProgressWindow(QWidget* owner, std::function<void()> onCancel)
      : QDialog(owner), m_onCancel(std::move(onCancel)) {}

  void reject() override { m_onCancel(); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    m_onCancel();
  }

 private:
  std::function<void()> m_onCancel;
};

// Milliseconds of a monotonic clock; the coarse clock is read without entering the
// kernel and is fine enough for intervals of a few milliseconds.
qint64 MonotonicMs() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec ts{};
  if (clock_gettime(CLOCK_MONOTONIC_COARSE, &ts) == 0) {
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
  }
#endif
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

CProgressDlg::CProgressDlg(QWidget* owner, Clock clock)
    : m_owner(owner), m_clock(clock ? std::move(clock) : Clock(MonotonicMs)) {}

CProgressDlg::~CProgressDlg() { delete m_window.data(); }

void CProgressDlg::Open(const std::string& title, std::int32_t& cancelFlag) {
  if (m_window) Close();
  m_cancelFlag = &cancelFlag;
  m_lineText.clear();
  m_percent = 0;
  m_pending = false;
  m_lastRepaint = -1;
  m_lastPump = -1;
  m_repaintPutOff = false;

  auto* window = new CProgressWindow(m_owner.data(), [this] { RequestCancel(); });
  window->setModal(false);
  window->setWindowModality(Qt::NonModal);
  window->setWindowTitle(ToQString(title));
  window->setObjectName(QStringLiteral("progressDialog"));

  m_lineLabel = new QLabel(window);
  m_lineLabel->setAlignment(Qt::AlignCenter);
  m_lineLabel->setTextFormat(Qt::PlainText);
  // A fixed place keeps a new text from relaying out the dialog.
  m_lineLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  m_lineLabel->setMinimumHeight(m_lineLabel->fontMetrics().height());
  m_messageLabel = new QLabel(window);
  m_messageLabel->setAlignment(Qt::AlignCenter);
  m_messageLabel->setTextFormat(Qt::PlainText);
  m_messageLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  m_messageLabel->setMinimumHeight(m_messageLabel->fontMetrics().height());
  m_bar = new CStatus(window);
  m_bar->setObjectName(QStringLiteral("bar"));
  m_cancel = new QPushButton(QObject::tr("Cancel"), window);
  m_cancel->setObjectName(QStringLiteral("cancel"));
  QObject::connect(m_cancel, &QPushButton::clicked, window, [this] { RequestCancel(); });

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(m_cancel);
  buttonRow->addStretch(1);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(m_lineLabel);
  layout->addWidget(m_messageLabel);
  layout->addWidget(m_bar);
  layout->addLayout(buttonRow);
  window->resize(320, window->sizeHint().height());

  // Centred over the owner's window, or over the screen when that is not shown.
  QRect area;
  QWidget* ownerWindow = m_owner ? m_owner->window() : nullptr;
  if (ownerWindow != nullptr && ownerWindow->isVisible()) {
    area = ownerWindow->frameGeometry();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isValid()) window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));

  m_window = window;
  window->show();
}

void CProgressDlg::SetLineText(std::string_view text) {
  if (!m_window || text == m_lineText) return;
  m_lineText.assign(text);
  m_pending = true;
  // Once a repaint has been put off, the next poll looks at the clock for it.
  if (!m_repaintPutOff) RepaintIfDue(m_clock());
}

void CProgressDlg::SetPercent(int percent) {
  if (!m_window || percent == m_percent) return;
  m_percent = percent;
  m_pending = true;
  if (!m_repaintPutOff) RepaintIfDue(m_clock());
}

void CProgressDlg::RepaintIfDue(qint64 now) {
  if (m_lastRepaint >= 0 && now - m_lastRepaint < kRepaintIntervalMs) {
    m_repaintPutOff = true;
    return;
  }
  ShowPending();
}

void CProgressDlg::ShowPending() {
  m_repaintPutOff = false;
  if (!m_window || !m_pending) return;
  m_pending = false;
  m_lineLabel->setText(ToQString(m_lineText));
  m_bar->SetPercent(m_percent);
  // The job keeps the thread busy: paint now rather than when the queue is served.
  m_lineLabel->repaint();
  m_bar->repaint();
  m_lastRepaint = m_clock();
}

bool CProgressDlg::PollCancel() {
  const qint64 now = m_clock();
  if (m_lastPump < 0 || now - m_lastPump >= kPumpIntervalMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_lastPump = now;
  } else {
    QCoreApplication::sendPostedEvents();
  }
  if (m_pending) RepaintIfDue(now);
  return m_cancelFlag != nullptr && *m_cancelFlag == 2;
}

void CProgressDlg::RequestCancel() {
  if (m_cancelFlag != nullptr) *m_cancelFlag = 2;
}

void CProgressDlg::Close() {
  if (!m_window) return;
  ShowPending();
  m_window->hide();
  // Close is called by the job, never from inside the dialog's own handlers, so the
  // window can go at once.
  delete m_window.data();
  m_window = nullptr;
  m_lineLabel = nullptr;
  m_messageLabel = nullptr;
  m_bar = nullptr;
  m_cancel = nullptr;
  m_cancelFlag = nullptr;
}

}  // namespace corvane
