#include "cli/BatchRunner.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include "las/LasWriter.h"
#include "lasfile/LasChecker.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace corvane::cli {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point begin) {
  return std::chrono::duration<double>(Clock::now() - begin).count();
}

// The progress of one job: its share done, read by the watching thread, and the
// batch's cancel passed on to the job's own flag at every poll.
class CBatchJobProgress : public CJobProgress {
 public:
  CBatchJobProgress(const CBatchRunner::CancelQuery& cancelled, std::atomic<int>& percent)
      : m_cancelled(cancelled), m_percent(percent) {}
  void Open(const std::string&, std::int32_t& cancelFlag) override { m_flag = &cancelFlag; }
  void SetLineText(std::string_view) override {}
  void SetPercent(int percent) override { m_percent.store(percent, std::memory_order_relaxed); }
  bool PollCancel() override {
    if (m_flag == nullptr) return false;
    if (m_cancelled()) *m_flag = 2;
    return *m_flag == 2;
  }
  void Close() override { m_flag = nullptr; }

 private:
  const CBatchRunner::CancelQuery& m_cancelled;
  std::atomic<int>& m_percent;
  std::int32_t* m_flag = nullptr;
};

// The signals that cancel a batch, kept away from the worker threads so that the
// watching thread sees them and no file operation of a job is interrupted.
class CInterruptsBlocked {
 public:
  CInterruptsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &set, &m_old);
  }
  ~CInterruptsBlocked() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
  CInterruptsBlocked(const CInterruptsBlocked&) = delete;
  CInterruptsBlocked& operator=(const CInterruptsBlocked&) = delete;

 private:
  sigset_t m_old;
};

}  // namespace

int CoreCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

const char* BatchStatusName(BatchStatus status) noexcept {
  switch (status) {
    case BatchStatus::Succeeded:
      return "succeeded";
    case BatchStatus::Failed:
      return "failed";
    case BatchStatus::Cancelled:
      return "cancelled";
  }
  return "failed";
}

CBatchOutcome CBatchRunner::Convert(const CBatchItem& item, const CancelQuery& cancelled,
                                    std::atomic<int>& percent) const {
  const Clock::time_point begin = Clock::now();
  CBatchOutcome outcome;
  CConversionSetup setup = m_settings.base;
  setup.asciiFilePath = item.input;
  setup.lasFilePath = item.output;
  CJobMessages messages;
  CBatchJobProgress progress(cancelled, percent);
  CResult result;
  try {
    result = MakeFolders(DirectoryOf(item.output));
    if (result.Ok()) result = ChooseFirstDataLine(setup, m_settings.firstDataLine, messages);
    if (result.Ok()) {
      outcome.firstDataLine = setup.firstDigitLineIndex;
      outcome.facts.createOnly = !m_settings.overwrite;
      // No configuration is saved: the batch only reads it.
      result = ConvertAsciiFile(
          setup, m_settings.inverse, progress, messages, [] { return CResult::Done(); }, &outcome.facts);
    }
  } catch (const std::exception& error) {
    result = CResult::Failed(item.input + ": " + error.what());
  }

  outcome.message = messages.Message();
  if (result.Ok()) {
    outcome.status = BatchStatus::Succeeded;
    const std::int32_t column = outcome.facts.range.depthColumn;
    if (column >= 0 && static_cast<std::size_t>(column) < setup.curves.size())
      outcome.depthCurve = CLasWriter::WrittenCurve(setup, column).heading;
    if (m_settings.check) outcome.check = CheckLasFile(item.output);
  } else {
    outcome.status = result.IsCancelled() ? BatchStatus::Cancelled : BatchStatus::Failed;
    outcome.reason = result.IsCancelled()       ? std::string("cancelled while converting")
                     : !result.Reason().empty() ? result.Reason()
                                                : messages.Detail();
    if (outcome.reason.empty()) outcome.reason = outcome.message;
  }
  outcome.seconds = SecondsSince(begin);
  return outcome;
}

std::vector<CBatchOutcome> CBatchRunner::Run(const std::vector<CBatchItem>& items,
                                             const FinishedHandler& finished, const TickHandler& tick,
                                             const CancelQuery& cancelRequested) {
  const std::size_t count = items.size();
  std::vector<CBatchOutcome> outcomes(count);
  const std::size_t workers =
      std::min<std::size_t>(count, static_cast<std::size_t>(m_settings.jobs > 0 ? m_settings.jobs : 1));

  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::size_t> ended;  // finished files not yet handed to `finished`
  std::size_t running = workers;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> cancel{false};
  // Asked by every job at its polls and by this thread: whoever first sees the request
  // passes it on to all, so that a job stops at its next line.
  const CancelQuery cancelled = [&cancel, &cancelRequested] {
    if (cancel.load(std::memory_order_relaxed)) return true;
    if (!cancelRequested || !cancelRequested()) return false;
    cancel.store(true);
    return true;
  };
  // What each worker is converting now (count: nothing) and how far it is.
  std::vector<std::atomic<std::size_t>> current(workers);
  std::vector<std::atomic<int>> percent(workers);

  auto work = [&](std::size_t worker) {
    for (;;) {
      const std::size_t index = next.fetch_add(1);
      if (index >= count) break;
      if (cancelled()) {
        outcomes[index].status = BatchStatus::Cancelled;
        outcomes[index].reason = "cancelled before it started";
      } else {
        percent[worker].store(0);
        current[worker].store(index);
        outcomes[index] = Convert(items[index], cancelled, percent[worker]);
        current[worker].store(count);
      }
      std::lock_guard<std::mutex> lock(mutex);
      ended.push_back(index);
      changed.notify_one();
    }
    std::lock_guard<std::mutex> lock(mutex);
    --running;
    changed.notify_one();
  };

  const Clock::time_point begin = Clock::now();
  std::vector<std::thread> threads;
  {
    CInterruptsBlocked blocked;  // the threads inherit the mask
    for (std::size_t w = 0; w < workers; ++w) {
      current[w].store(count);
      threads.emplace_back(work, w);
    }
  }

  CBatchProgress progress;
  progress.files = count;
  for (const CBatchItem& item : items) progress.bytes += item.bytes;
  std::uint64_t bytesEnded = 0;
  std::unique_lock<std::mutex> lock(mutex);
  for (;;) {
    changed.wait_for(lock, std::chrono::milliseconds(100), [&] { return !ended.empty() || running == 0; });
    while (!ended.empty()) {
      const std::size_t index = ended.front();
      ended.pop_front();
      lock.unlock();
      ++progress.filesDone;
      bytesEnded += items[index].bytes;
      if (finished) finished(index, outcomes[index]);
      lock.lock();
    }
    (void)cancelled();
    if (running == 0 && ended.empty()) break;
    if (tick) {
      lock.unlock();
      progress.bytesDone = bytesEnded;
      for (std::size_t w = 0; w < workers; ++w) {
        const std::size_t index = current[w].load();
        const int share = std::clamp(percent[w].load(), 0, 100);
        if (index < count) progress.bytesDone += items[index].bytes * static_cast<std::uint64_t>(share) / 100;
      }
      progress.seconds = SecondsSince(begin);
      tick(progress);
      lock.lock();
    }
  }
  lock.unlock();
  for (std::thread& thread : threads) thread.join();
  return outcomes;
}

}  // namespace corvane::cli
