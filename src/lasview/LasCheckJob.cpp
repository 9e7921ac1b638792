#include "lasview/LasCheckJob.h"

#include <new>
#include <utility>

#include "lasfile/LasChecker.h"
#include "platform/FileSystem.h"

namespace corvane {

CLasCheckJob::CLasCheckJob(std::string path, std::function<void()> wake)
    : m_path(std::move(path)), m_wake(std::move(wake)) {}

CLasCheckJob::~CLasCheckJob() {
  Cancel();
  if (m_thread.joinable()) m_thread.join();
}

void CLasCheckJob::Start() {
  if (m_started || Running()) return;
  m_started = true;
  m_done = false;
  m_outcome = std::make_unique<COutcome>();
  m_progress = std::make_unique<CSharedProgress>(m_wake);
  m_thread = std::thread([this] {
    COutcome& outcome = *m_outcome;
    // The file checked is the one that stood there before and after: a file changed
    // meanwhile has lines of neither version.
    const std::optional<CFileIdentity> before = IdentityOf(m_path);
    try {
      outcome.report = CheckLasFile(m_path, *m_progress,
                                    [&outcome](const CLasRecord& record) { outcome.index.Note(record); });
    } catch (const std::bad_alloc&) {
      // What was found so far does not fit either: the window says why it has nothing.
      outcome.report = CLasReport();
      outcome.report.path = m_path;
      outcome.report.complete = false;
      outcome.report.Add(LasCode::FileUnreadable, 0, "", "not enough memory to check the file");
    }
    if (before && before == IdentityOf(m_path)) outcome.identity = before;
    m_done = true;
    if (m_wake) m_wake();
  });
}

void CLasCheckJob::Again() {
  if (Running()) return;
  m_started = false;
  Start();
}

void CLasCheckJob::Reset() {
  Cancel();
  Wait();
  m_outcome.reset();
  m_progress.reset();
  m_report.reset();
  m_index = CLasLineIndex();
  m_identity.reset();
  m_started = false;
  m_done = false;
}

void CLasCheckJob::Cancel() {
  if (m_progress) m_progress->RequestCancel();
}

CSharedProgress::CState CLasCheckJob::Progress() const {
  return m_progress ? m_progress->State() : CSharedProgress::CState{};
}

void CLasCheckJob::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

bool CLasCheckJob::TakeOutcome() {
  if (!m_outcome || !m_done) return false;
  if (m_thread.joinable()) m_thread.join();
  m_report = std::make_unique<CLasReport>(std::move(m_outcome->report));
  m_index = std::move(m_outcome->index);
  m_identity = m_outcome->identity;
  m_outcome.reset();
  return true;
}

}  // namespace corvane
