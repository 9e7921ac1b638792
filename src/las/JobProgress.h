#pragma once
// What a long job (LAS creation with its depth inversion, unwrapping) needs of the
// user interface: progress with cancel, and messages with the busy cursor. The
// jobs report through these and nothing else, so they run without windows.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The application's title: the caption of every message box that names no other.
inline constexpr const char* kAppTitle = "Corvane";

class CJobProgress {
 public:
  virtual ~CJobProgress() = default;
  // A display exists from now on, showing the title, an empty line and an empty
  // bar. It keeps the reference to the job's cancel flag and only ever writes 2 into it.
  virtual void Open(const std::string& title, std::int32_t& cancelFlag) = 0;
  virtual void SetLineText(std::string_view text) = 0;
  virtual void SetPercent(int percent) = 0;  // above 100 shows a full bar
  // Handles every user-interface event waiting now, without waiting for more; then
  // answers whether the cancel flag holds 2.
  virtual bool PollCancel() = 0;
  virtual void Close() = 0;
};

class CRunFeedback {
 public:
  virtual ~CRunFeedback() = default;
  // Error icon, OK; an empty caption means the application's title.
  virtual void ShowError(const std::string& text, const std::string& caption = std::string()) = 0;
  // No icon, OK, the application's title as caption.
  virtual void ShowNotice(const std::string& text) = 0;
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
};

// The program-wide state of one kind of job: its cancel flag (0, or 2 once Cancel
// was pressed) and its current-display slot (the open display, or none). While the
// slot is filled a new start of the same kind of job ends at once, silently.
struct CJobState {
  std::int32_t cancelFlag = 0;
  CJobProgress* currentDisplay = nullptr;
};
CJobState& LasCreationJob();
CJobState& UnwrapJob();

// Holds a job's display open: fills the slot and opens the display on Acquire();
// on every way out closes it, sets the cancel flag back to 0 and empties the slot.
class CJobDisplay {
 public:
  CJobDisplay(CJobState& job, CJobProgress& progress) : m_job(job), m_progress(progress) {}
  ~CJobDisplay() { Release(); }
  CJobDisplay(const CJobDisplay&) = delete;
  CJobDisplay& operator=(const CJobDisplay&) = delete;
  // False, with nothing opened, when a display of this kind of job is already open.
  bool Acquire(const std::string& title);
  void Release() noexcept;

 private:
  CJobState& m_job;
  CJobProgress& m_progress;
  bool m_open = false;
};

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

// Records the messages instead of showing them (tests, quiet runs).
class CCollectingFeedback : public CRunFeedback {
 public:
  void ShowError(const std::string& text, const std::string& caption = std::string()) override;
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
  };
  std::vector<Message> messages;
  int busyDepth = 0;
  int busyCalls = 0;
};

}  // namespace corvane
