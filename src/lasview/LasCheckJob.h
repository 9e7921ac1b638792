#pragma once
// The LAS check of a file in the background, for a window: the check runs on a thread
// of its own while the window goes on; it keeps the report and the index of lines that
// its pass leaves, so that a finding's line can be read again from the file. Qt-free:
// whoever owns the job hears of news through `wake` (called on the job's thread) and
// then takes them on its own thread with TakeOutcome.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "lasfile/LasLineIndex.h"
#include "lasfile/LasReport.h"
#include "platform/File.h"
#include "plotmodel/SharedProgress.h"

namespace corvane {

class CLasCheckJob {
 public:
  CLasCheckJob(std::string path, std::function<void()> wake);
  // Cancels a check that runs and waits for its thread.
  ~CLasCheckJob();
  CLasCheckJob(const CLasCheckJob&) = delete;
  CLasCheckJob& operator=(const CLasCheckJob&) = delete;

  const std::string& Path() const { return m_path; }
  // Starts the check, unless it runs or has run (Again starts it anew).
  void Start();
  void Again();
  // Forgets the last check (its report, lines and file), as before the first; waits for
  // one that runs after cancelling it.
  void Reset();
  bool Started() const { return m_started; }
  // From Start until its outcome has been taken.
  bool Running() const { return m_outcome != nullptr; }
  void Cancel();
  // Blocks until a check that runs has ended (its outcome is then ready to take).
  void Wait();
  CSharedProgress::CState Progress() const;

  // On the owner's thread: once the check has ended, joins it and keeps its report and
  // index; true when it did so now.
  bool TakeOutcome();
  // The report of the last check taken; null before.
  const CLasReport* Report() const { return m_report.get(); }
  const CLasLineIndex& Index() const { return m_index; }
  // The file the last check taken read, by its identity; none when it changed while it
  // was checked (its lines cannot be read again then).
  const std::optional<CFileIdentity>& Identity() const { return m_identity; }

 private:
  struct COutcome {
    CLasReport report;
    CLasLineIndex index;
    std::optional<CFileIdentity> identity;
  };

  std::string m_path;
  std::function<void()> m_wake;
  bool m_started = false;
  // The thread's side: filled there, taken once it has been joined.
  std::unique_ptr<COutcome> m_outcome;
  std::unique_ptr<CSharedProgress> m_progress;
  std::atomic<bool> m_done{false};
  std::thread m_thread;

  std::unique_ptr<CLasReport> m_report;
  CLasLineIndex m_index;
  std::optional<CFileIdentity> m_identity;
};

}  // namespace corvane
