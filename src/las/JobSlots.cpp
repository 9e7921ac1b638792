#include "las/JobSlots.h"

namespace corvane {

// One state per thread: the GUI runs every job on its one thread, where this is the
// program-wide slot it relies on; jobs run side by side in threads (a batch) each
// have a slot of their own and cannot refuse one another.
CJobState& LasCreationJob() {
  static thread_local CJobState state;
  return state;
}

CJobState& UnwrapJob() {
  static thread_local CJobState state;
  return state;
}

bool CJobDisplay::Acquire(const std::string& title) {
  if (m_open || m_job.currentDisplay != nullptr) return false;
  m_progress.Open(title, m_job.cancelFlag);
  m_job.currentDisplay = &m_progress;
  m_open = true;
  return true;
}

void CJobDisplay::Release() noexcept {
  if (!m_open) return;
  m_open = false;
  try {
    m_progress.Close();
  } catch (...) {
    // Closing a display must not keep the job's slot filled for good.
  }
  m_job.cancelFlag = 0;
  m_job.currentDisplay = nullptr;
}

}  // namespace corvane
