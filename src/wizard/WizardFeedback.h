#pragma once
// The core jobs' message interfaces on screen: message boxes through the wizard's
// services, owned by the page that runs the job, and the busy cursor.
#include "las/Unwrap.h"
#include "platform/JobProgress.h"
#include "wizard/WizardServices.h"
#include "wizard/WizardSettings.h"

class QWidget;

namespace corvane {

class CWizardFeedback : public CRunFeedback {
 public:
  CWizardFeedback(QWidget* owner, CWizardServices& services) : m_owner(owner), m_services(services) {}

  void ShowError(const std::string& text, const std::string& caption = std::string(),
                 const std::string& detail = std::string()) override;
  void ShowNotice(const std::string& text) override;
  void BeginBusy() override;
  void EndBusy() override;

 protected:
  QWidget* Owner() const { return m_owner; }
  CWizardServices& Services() const { return m_services; }

 private:
  QWidget* m_owner;
  CWizardServices& m_services;
};

// The unwrap offer's questions and its Save File dialog ("Create UNWRAP LAS File"),
// which opens in the folder of the wrapped file.
class CWizardUnwrapPrompts : public CUnwrapPrompts {
 public:
  CWizardUnwrapPrompts(QWidget* owner, CWizardServices& services, CWizardSettings& settings,
                       QString wrappedPath)
      : m_owner(owner), m_services(services), m_settings(settings), m_wrappedPath(std::move(wrappedPath)) {}

  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseTarget() override;
  void ShowNotice(const std::string& text) override;
  void ShowError(const std::string& text, const std::string& detail) override;

 private:
  QWidget* m_owner;
  CWizardServices& m_services;
  CWizardSettings& m_settings;
  QString m_wrappedPath;
};

}  // namespace corvane
