#include "cli/TerminalProgress.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>

namespace corvane {

namespace {

// Set by the signal handler and read by every job of a batch, each on its own thread:
// an atomic that needs no lock is safe for both.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) { g_interrupted.store(true, std::memory_order_relaxed); }

constexpr int kBarWidth = 30;
constexpr long kRedrawIntervalMs = 100;
// The clock is read only every this many updates: a conversion updates twice per line.
constexpr unsigned kUpdatesPerClockCheck = 1024;

long NowMs() {
  using namespace std::chrono;
  return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void WriteStderr(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

CTerminalProgress::CTerminalProgress(bool quiet) : m_tty(::isatty(STDERR_FILENO) == 1), m_quiet(quiet) {}

void CTerminalProgress::Open(const std::string& title, std::int32_t& cancelFlag) {
  m_title = title;
  m_line.clear();
  m_percent = 0;
  m_flag = &cancelFlag;
  m_updates = 0;
  Draw(true);
}

void CTerminalProgress::SetLineText(std::string_view text) {
  m_line.assign(text);
  Draw(false);
}

void CTerminalProgress::SetPercent(int percent) {
  m_percent = percent;
  Draw(false);
}

bool CTerminalProgress::PollCancel() {
  if (m_flag == nullptr) return false;
  if (g_interrupted.load(std::memory_order_relaxed)) *m_flag = 2;
  return *m_flag == 2;
}

void CTerminalProgress::Close() {
  if (m_flag == nullptr) return;
  Draw(true);
  if (m_tty && !m_quiet) WriteStderr("\n");
  m_flag = nullptr;
}

void CTerminalProgress::InstallInterruptHandler() {
  // Each command starts uncancelled, also where one process runs several in turn.
  g_interrupted.store(false);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // A second interrupt ends the program at once, should a job not reach its next poll.
  action.sa_flags = SA_RESETHAND;
  // A closed terminal (SIGHUP) or a polite kill (SIGTERM) takes the same way out as Ctrl-C.
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

bool CTerminalProgress::Interrupted() noexcept { return g_interrupted.load(std::memory_order_relaxed); }

void CTerminalProgress::Draw(bool force) {
  if (!m_tty || m_quiet) return;
  if (!force) {
    if (++m_updates % kUpdatesPerClockCheck != 0) return;
    if (NowMs() - m_lastDraw < kRedrawIntervalMs) return;
  }
  m_lastDraw = NowMs();

  const int percent = m_percent < 0 ? 0 : (m_percent > 100 ? 100 : m_percent);
  const int filled = percent * kBarWidth / 100;
  std::string text = "\r";
  text.append(m_title);
  text.append(" [");
  text.append(static_cast<std::size_t>(filled), '#');
  text.append(static_cast<std::size_t>(kBarWidth - filled), '.');
  text.append("] ");
  text.append(std::to_string(percent));
  text.append("%  ");
  text.append(m_line);
  text.append("\x1b[K");  // clear what a longer earlier line left
  WriteStderr(text);
}

void CTerminalFeedback::ShowError(const std::string& text, const std::string&, const std::string& detail) {
  WriteStderr("error: " + text + "\n");
  if (!detail.empty()) WriteStderr("corvane-cli: " + detail + "\n");
  m_lastDetail = detail;
}

void CTerminalFeedback::ReportReason(const CResult& result) {
  if (result.Ok() || result.Reason().empty() || result.Reason() == m_lastDetail) return;
  WriteStderr("corvane-cli: " + result.Reason() + "\n");
  m_lastDetail = result.Reason();
}

void CTerminalFeedback::ShowNotice(const std::string& text) {
  if (!m_quiet) WriteStderr(text + "\n");
}

}  // namespace corvane
