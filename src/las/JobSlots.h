#pragma once
// The state of each kind of long job, so that a second start of the same kind of job
// while one is converting ends at once. The state belongs to the calling thread: on
// the GUI thread it is program-wide; a worker thread of a batch has its own.
#include <cstdint>
#include <string>

#include "platform/JobProgress.h"

namespace corvane {

// The state of one kind of job: its cancel flag (0, or 2 once Cancel was pressed)
// and its current-display slot (the open display, or none). While the slot is
// filled a new start of the same kind of job ends at once, silently.
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
  [[nodiscard]] bool Acquire(const std::string& title);
  void Release() noexcept;

 private:
  CJobState& m_job;
  CJobProgress& m_progress;
  bool m_open = false;
};

}  // namespace corvane
