#include "plotmodel/SharedProgress.h"

namespace corvane {

void CSharedProgress::Open(const std::string& title, std::int32_t& cancelFlag) {
  {
    std::lock_guard lock(m_mutex);
    m_flag = &cancelFlag;
    m_state = CState{};
    m_state.opened = true;
    m_state.title = title;
  }
  Tell();
}

void CSharedProgress::SetLineText(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_state.lineText.assign(text);
}

void CSharedProgress::SetPercent(int percent) {
  {
    std::lock_guard lock(m_mutex);
    if (m_state.percent == percent) return;
    m_state.percent = percent;
  }
  Tell();
}

bool CSharedProgress::PollCancel() {
  std::lock_guard lock(m_mutex);
  if (m_flag == nullptr) return false;
  if (m_cancelRequested) *m_flag = 2;
  return *m_flag == 2;
}

void CSharedProgress::Close() {
  {
    std::lock_guard lock(m_mutex);
    m_flag = nullptr;
    m_state.closed = true;
  }
  Tell();
}

CSharedProgress::CState CSharedProgress::State() const {
  std::lock_guard lock(m_mutex);
  return m_state;
}

void CSharedProgress::Reset() {
  std::lock_guard lock(m_mutex);
  m_state = CState();
  m_flag = nullptr;
  m_cancelRequested = false;
}

}  // namespace corvane
