#include "wizard/WizardFeedback.h"

#include <QApplication>
#include <QCursor>

#include "wizard/QtText.h"

namespace corvane {

using Icon = CWizardServices::Icon;
using Buttons = CWizardServices::Buttons;
using Answer = CWizardServices::Answer;

void CWizardFeedback::ShowError(const std::string& text, const std::string& caption,
                                const std::string& detail) {
  m_services.MessageBox(m_owner, ToQString(text), ToQString(caption), Icon::Error, Buttons::Ok, Answer::Ok,
                        ToQString(detail));
}

void CWizardFeedback::ShowNotice(const std::string& text) {
  m_services.MessageBox(m_owner, ToQString(text), QString(), Icon::None, Buttons::Ok);
}

void CWizardFeedback::BeginBusy() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

void CWizardFeedback::EndBusy() { QApplication::restoreOverrideCursor(); }

bool CWizardUnwrapPrompts::AskYesNo(const std::string& text) {
  return m_services.MessageBox(m_owner, ToQString(text), QString(), Icon::None, Buttons::YesNo,
                               Answer::Yes) == Answer::Yes;
}

std::optional<std::string> CWizardUnwrapPrompts::ChooseTarget() {
  const QString path = m_services.GetSaveFileName(
      m_owner, QObject::tr("Create UNWRAP LAS File"), QStringLiteral("LAS files (*.las)"),
      m_settings.InitialName({m_wrappedPath}, QStringLiteral("*.las")), QStringLiteral("las"), true);
  if (path.isEmpty()) return std::nullopt;
  m_settings.RememberFolderOf(path);
  return ToStdString(path);
}

void CWizardUnwrapPrompts::ShowNotice(const std::string& text) {
  m_services.MessageBox(m_owner, ToQString(text), QString(), Icon::None, Buttons::Ok);
}

void CWizardUnwrapPrompts::ShowError(const std::string& text, const std::string& detail) {
  m_services.MessageBox(m_owner, ToQString(text), QString(), Icon::Error, Buttons::Ok, Answer::Ok,
                        ToQString(detail));
}

}  // namespace corvane
