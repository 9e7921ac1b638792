#include "las/JobProgress.h"

namespace corvane {

CJobState& LasCreationJob() {
  static CJobState state;
  return state;
}

CJobState& UnwrapJob() {
  static CJobState state;
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

void CSilentProgress::Open(const std::string& openTitle, std::int32_t& cancelFlag) {
  m_flag = &cancelFlag;
  title = openTitle;
  ++opens;
}

void CSilentProgress::SetLineText(std::string_view text) { lastLineText.assign(text); }

void CSilentProgress::SetPercent(int percent) { lastPercent = percent; }

bool CSilentProgress::PollCancel() {
  ++polls;
  if (m_flag == nullptr) return false;
  if (polls == m_cancelAt) *m_flag = 2;
  return *m_flag == 2;
}

void CSilentProgress::Close() {
  ++closes;
  m_flag = nullptr;
}

void CCollectingFeedback::ShowError(const std::string& text, const std::string& caption) {
  messages.push_back(Message{true, text, caption.empty() ? std::string(kAppTitle) : caption});
}

void CCollectingFeedback::ShowNotice(const std::string& text) {
  messages.push_back(Message{false, text, std::string(kAppTitle)});
}

}  // namespace corvane
