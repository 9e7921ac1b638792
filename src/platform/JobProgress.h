#pragma once
// What a long job (LAS creation with its depth inversion, unwrapping, a LAS check)
// needs of the user interface: progress with cancel, and messages with the busy
// cursor. The jobs report through these and nothing else, so they run without windows.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

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
  // Error icon, OK; an empty caption means the application's title. `detail`, when
  // not empty, says which file and why ("/data/well.las: No such file or directory")
  // below the message.
  virtual void ShowError(const std::string& text, const std::string& caption = std::string(),
                         const std::string& detail = std::string()) = 0;
  // No icon, OK, the application's title as caption.
  virtual void ShowNotice(const std::string& text) = 0;
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
};

// Shows nothing and never cancels on its own: for runs nobody watches.
class CNullProgress : public CJobProgress {
 public:
  void Open(const std::string&, std::int32_t& cancelFlag) override { m_flag = &cancelFlag; }
  void SetLineText(std::string_view) override {}
  void SetPercent(int) override {}
  bool PollCancel() override { return m_flag != nullptr && *m_flag == 2; }
  void Close() override { m_flag = nullptr; }

 private:
  std::int32_t* m_flag = nullptr;
};

// Keeps a progress display open for the life of a job: opened at once, closed however
// the job ends.
class CProgressScope {
 public:
  CProgressScope(CJobProgress& progress, const std::string& title, std::int32_t& cancelFlag)
      : m_progress(progress) {
    progress.Open(title, cancelFlag);
  }
  ~CProgressScope() { m_progress.Close(); }
  CProgressScope(const CProgressScope&) = delete;
  CProgressScope& operator=(const CProgressScope&) = delete;

 private:
  CJobProgress& m_progress;
};

// The progress line of a job that reads numbered lines ("Processing line [n]") and
// the share of the input done, composed without allocating once the text has grown.
class CLineProgressText {
 public:
  // "Processing line [n]"
  std::string_view Line(long n);
  // done/total as a whole percent (100 for an empty input).
  static int Percent(std::uint64_t done, std::uint64_t total) noexcept;

 private:
  std::string m_text;
};

}  // namespace corvane
