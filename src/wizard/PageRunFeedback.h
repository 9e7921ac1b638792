#pragma once
// The messages and the busy cursor of a job started from a wizard page: modal
// message boxes owned by the page (through the sheet's services, so tests answer
// them) and the application's wait cursor.
#include "las/JobProgress.h"

class QWidget;

namespace corvane {

class CWizardServices;

class CPageRunFeedback : public CRunFeedback {
 public:
  CPageRunFeedback(QWidget& owner, CWizardServices& services) : m_owner(owner), m_services(services) {}
  ~CPageRunFeedback() override;
  CPageRunFeedback(const CPageRunFeedback&) = delete;
  CPageRunFeedback& operator=(const CPageRunFeedback&) = delete;

  void ShowError(const std::string& text, const std::string& caption = std::string()) override;
  void ShowNotice(const std::string& text) override;
  void BeginBusy() override;
  void EndBusy() override;

 private:
  QWidget& m_owner;
  CWizardServices& m_services;
  int m_busyDepth = 0;
};

}  // namespace corvane
