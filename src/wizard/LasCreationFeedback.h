#pragma once
// The messages of a LAS creation started on Step 4: those of every job, and with the
// closing notice "LAS file created successfully." the reading summary and the check of
// the file just written, their counts below the notice and their findings behind the
// box's details.
#include <QString>
#include <cstdint>
#include <string>

#include "wizard/WizardFeedback.h"

namespace corvane {

class CJobProgress;
class CLasReport;
class CReadingSummary;

class CLasCreationFeedback : public CWizardFeedback {
 public:
  // A file of this size or more is checked with `progress` (when given) showing how
  // far, as the conversion was: the check reads about 300 MB a second, so a smaller
  // file is done before a display would be seen.
  static constexpr std::uint64_t kDisplayedCheckBytes = 32u * 1024u * 1024u;

  CLasCreationFeedback(QWidget* owner, CWizardServices& services, std::string lasPath,
                       CJobProgress* progress = nullptr)
      : CWizardFeedback(owner, services), m_lasPath(std::move(lasPath)), m_progress(progress) {}

  // The run shows its closing notice once, after the file has taken its place: the
  // check reads what the run wrote, while the run's busy cursor is still on. A
  // cancelled check leaves the notice as it was without the check.
  void ShowNotice(const std::string& text) override;

  // The summary the run fills before its closing notice (the run's facts).
  void ShowReading(const CReadingSummary* reading) { m_reading = reading; }

 private:
  std::string m_lasPath;
  CJobProgress* m_progress;
  const CReadingSummary* m_reading = nullptr;
};

// "LAS check: 0 errors, 5 warnings", with the notes when there are any.
QString LasCheckSummary(const CLasReport& report);

}  // namespace corvane
