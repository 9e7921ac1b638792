#pragma once
// Calls a function on the thread of its owner (the window's) whenever another thread
// asks for it: any number of asks before the call comes make one call. This is how a
// session's jobs, which must not touch the widgets, get the window to take their news.
#include <QObject>
#include <atomic>
#include <functional>

namespace corvane {

class CQueuedWake : public QObject {
 public:
  CQueuedWake(QObject* owner, std::function<void()> call);
  // Thread-safe; returns at once.
  void Wake();
  // A callable for the session's jobs; it must not outlive this object.
  std::function<void()> Caller() {
    return [this] { Wake(); };
  }

 private:
  std::function<void()> m_call;
  std::atomic<bool> m_pending{false};
};

}  // namespace corvane
