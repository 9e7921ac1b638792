#include "lasview/CrossplotJob.h"

#include <utility>

namespace corvane {

CCrossplotJob::CCrossplotJob(std::function<void()> wake) : m_wake(std::move(wake)), m_progress(m_wake) {}

CCrossplotJob::~CCrossplotJob() {
  Cancel();
  Wait();
}

void CCrossplotJob::Start(const CCrossplotSetup& setup, const CCrossplotStart& start) {
  Cancel();
  Wait();
  m_progress.Reset();
  m_done = false;
  m_pending = std::make_unique<CPending>();
  m_pending->plot = std::make_unique<CCrossplot>(setup);
  m_thread = std::thread([this, start] {
    m_pending->read = ReadCrossplotRows(start, *m_pending->plot, m_progress);
    m_done = true;
    if (m_wake) m_wake();
  });
}

void CCrossplotJob::Cancel() {
  if (Running()) m_progress.RequestCancel();
}

void CCrossplotJob::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

bool CCrossplotJob::TakeOutcome() {
  if (!m_pending || !m_done) return false;
  Wait();
  m_result = std::move(m_pending->plot);
  m_outcome = std::move(m_pending->read);
  m_pending.reset();
  return true;
}

}  // namespace corvane
