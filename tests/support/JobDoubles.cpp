#include "JobDoubles.h"

#include "platform/ProgramInfo.h"

namespace corvane {

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

void CCollectingFeedback::ShowError(const std::string& text, const std::string& caption,
                                    const std::string& detail) {
  messages.push_back(Message{true, text, caption.empty() ? std::string(kAppTitle) : caption, detail});
}

void CCollectingFeedback::ShowNotice(const std::string& text) {
  messages.push_back(Message{false, text, std::string(kAppTitle), {}});
}

}  // namespace corvane
