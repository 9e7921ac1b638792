#pragma once
// Recording forms of the job interfaces for tests and benchmarks.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/JobProgress.h"

namespace corvane {

// Shows nothing and never cancels on its own; tests can ask for a cancel at the
// n-th poll (counting from 1) and read what was reported.
class CSilentProgress : public CJobProgress {
 public:
  void Open(const std::string& title, std::int32_t& cancelFlag) override;
  void SetLineText(std::string_view text) override;
  void SetPercent(int percent) override;
  bool PollCancel() override;
  void Close() override;

  void CancelAtPoll(long n) { m_cancelAt = n; }
  long polls = 0;
  int opens = 0;
  int closes = 0;
  int lastPercent = 0;
  std::string title;
  std::string lastLineText;

 private:
  std::int32_t* m_flag = nullptr;
  long m_cancelAt = -1;
};

// Records the messages instead of showing them.
class CCollectingFeedback : public CRunFeedback {
 public:
  void ShowError(const std::string& text, const std::string& caption = std::string(),
                 const std::string& detail = std::string()) override;
  void ShowNotice(const std::string& text) override;
  void BeginBusy() override {
    ++busyDepth;
    ++busyCalls;
  }
  void EndBusy() override { --busyDepth; }

  struct Message {
    bool error;
    std::string text;
    std::string caption;
    std::string detail;
  };
  std::vector<Message> messages;
  int busyDepth = 0;
  int busyCalls = 0;
};

}  // namespace corvane
