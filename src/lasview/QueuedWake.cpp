#include "lasview/QueuedWake.h"

#include <QMetaObject>

namespace corvane {

CQueuedWake::CQueuedWake(QObject* owner, std::function<void()> call)
    : QObject(owner), m_call(std::move(call)) {}

void CQueuedWake::Wake() {
  if (m_pending.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        // Cleared first: news that come while the call runs ask for the next one.
        m_pending = false;
        m_call();
      },
      Qt::QueuedConnection);
}

}  // namespace corvane
