#pragma once
// A crossplot of a window, read in the background: the rows of its depth range are
// read from the file on a thread of its own while the window goes on. A new start
// cancels the reading under way. Qt-free: the owner hears of news through `wake`
// (called on the job's thread) and takes them on its own thread with TakeOutcome.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "plotmodel/Crossplot.h"
#include "plotmodel/SharedProgress.h"

namespace corvane {

class CCrossplotJob {
 public:
  explicit CCrossplotJob(std::function<void()> wake);
  // Cancels a reading under way and waits for its thread.
  ~CCrossplotJob();
  CCrossplotJob(const CCrossplotJob&) = delete;
  CCrossplotJob& operator=(const CCrossplotJob&) = delete;

  // Reads the crossplot of `setup` from `start`, after cancelling one under way.
  void Start(const CCrossplotSetup& setup, const CCrossplotStart& start);
  void Cancel();
  // Blocks until a reading under way has ended (its outcome is then ready to take).
  void Wait();
  // From Start until its outcome has been taken.
  bool Running() const { return m_pending != nullptr; }
  CSharedProgress::CState Progress() const { return m_progress.State(); }

  // On the owner's thread: once the reading has ended, keeps its crossplot and how it
  // ended; true when it did so now.
  bool TakeOutcome();
  // The crossplot of the last reading taken; null before.
  const CCrossplot* Result() const { return m_result.get(); }
  const CCrossplotRead& Outcome() const { return m_outcome; }

 private:
  struct CPending {
    std::unique_ptr<CCrossplot> plot;
    CCrossplotRead read;
  };

  std::function<void()> m_wake;
  CSharedProgress m_progress;
  std::unique_ptr<CPending> m_pending;
  std::atomic<bool> m_done{false};
  std::thread m_thread;
  std::unique_ptr<CCrossplot> m_result;
  CCrossplotRead m_outcome;
};

}  // namespace corvane
