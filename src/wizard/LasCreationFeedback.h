#pragma once
// The messages of a LAS creation started on Step 4: those of every job, and with the
// closing notice "LAS file created successfully." the check of the file just written,
// its counts below the notice and its findings behind the box's details.
#include <QString>
#include <string>

#include "wizard/WizardFeedback.h"

namespace corvane {

class CLasReport;

class CLasCreationFeedback : public CWizardFeedback {
 public:
  CLasCreationFeedback(QWidget* owner, CWizardServices& services, std::string lasPath)
      : CWizardFeedback(owner, services), m_lasPath(std::move(lasPath)) {}

  // The run shows its closing notice once, after the file has taken its place: the
  // check reads what the run wrote, while the run's busy cursor is still on.
  void ShowNotice(const std::string& text) override;

 private:
  std::string m_lasPath;
};

// "LAS check: 0 errors, 5 warnings", with the notes when there are any.
QString LasCheckSummary(const CLasReport& report);

}  // namespace corvane
