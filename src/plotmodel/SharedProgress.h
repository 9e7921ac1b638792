#pragma once
// The progress of a job that runs on a thread of its own, as another thread (the
// window's) sees it: the job reports through CJobProgress, the window reads a copy
// of the state whenever it likes and asks for a cancel, which the job meets at its
// next PollCancel. A listener hears, on the job's thread, when the display opens, when
// the percent moves and when it closes: the moments worth showing.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "platform/JobProgress.h"

namespace corvane {

class CSharedProgress : public CJobProgress {
 public:
  struct CState {
    bool opened = false;
    bool closed = false;
    std::string title;
    std::string lineText;
    int percent = 0;
  };

  explicit CSharedProgress(std::function<void()> listener = {}) : m_listener(std::move(listener)) {}

  // The job's side.
  void Open(const std::string& title, std::int32_t& cancelFlag) override;
  void SetLineText(std::string_view text) override;
  void SetPercent(int percent) override;
  bool PollCancel() override;
  void Close() override;

  // The watcher's side.
  CState State() const;
  void RequestCancel() { m_cancelRequested = true; }
  bool CancelRequested() const { return m_cancelRequested; }
  // Forgets a job that has ended, for the next one; no job may run.
  void Reset();

 private:
  void Tell() const {
    if (m_listener) m_listener();
  }

  std::function<void()> m_listener;
  mutable std::mutex m_mutex;
  CState m_state;
  std::int32_t* m_flag = nullptr;
  std::atomic<bool> m_cancelRequested{false};
};

}  // namespace corvane
