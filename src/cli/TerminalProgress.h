#pragma once
// The terminal forms of the job interfaces, used by the command line: a progress
// bar with the line text on stderr when it is a terminal, plain messages otherwise.
#include "platform/JobProgress.h"
#include "platform/Result.h"

namespace corvane {

class CTerminalProgress : public CJobProgress {
 public:
  explicit CTerminalProgress(bool quiet = false);
  void Open(const std::string& title, std::int32_t& cancelFlag) override;
  void SetLineText(std::string_view text) override;
  void SetPercent(int percent) override;
  // Also answers true once an interrupt (Ctrl-C) has arrived.
  bool PollCancel() override;
  void Close() override;

  // Routes SIGINT, SIGTERM and SIGHUP to the cancel flag of whichever job is open,
  // forgetting any interrupt of an earlier command.
  static void InstallInterruptHandler();
  // True once one of those signals has arrived (for jobs that poll it themselves).
  static bool Interrupted() noexcept;

 private:
  void Draw(bool force);
  bool m_tty;
  bool m_quiet;
  std::string m_title;
  std::string m_line;
  int m_percent = 0;
  std::int32_t* m_flag = nullptr;
  long m_lastDraw = 0;
  unsigned m_updates = 0;  // counts updates between clock checks
};

class CTerminalFeedback : public CRunFeedback {
 public:
  explicit CTerminalFeedback(bool quiet = false) : m_quiet(quiet) {}
  // Errors always reach stderr; notices unless quiet.
  void ShowError(const std::string& text, const std::string& caption = std::string(),
                 const std::string& detail = std::string()) override;
  void ShowNotice(const std::string& text) override;
  void BeginBusy() override {}
  void EndBusy() override {}

  // Prints why a job did not end well ("corvane-cli: REASON"), unless an error
  // message printed that reason already. Nothing for a result that is done.
  void ReportReason(const CResult& result);

 private:
  bool m_quiet;
  std::string m_lastDetail;
};

}  // namespace corvane
