#include "wizard/PageRunFeedback.h"

#include <QApplication>
#include <QCursor>

#include "wizard/SetupTextConversion.h"
#include "wizard/WizardServices.h"

namespace corvane {

CPageRunFeedback::~CPageRunFeedback() {
  // A job that ended by an exception between its busy calls must not leave the
  // application with the wait cursor.
  while (m_busyDepth > 0) EndBusy();
}

void CPageRunFeedback::ShowError(const std::string& text, const std::string& caption) {
  m_services.MessageBox(&m_owner, SetupTextToQt(text), SetupTextToQt(caption), CWizardServices::Icon::Error,
                        CWizardServices::Buttons::Ok);
}

void CPageRunFeedback::ShowNotice(const std::string& text) {
  m_services.MessageBox(&m_owner, SetupTextToQt(text), QString(), CWizardServices::Icon::None,
                        CWizardServices::Buttons::Ok);
}

void CPageRunFeedback::BeginBusy() {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  ++m_busyDepth;
}

void CPageRunFeedback::EndBusy() {
  if (m_busyDepth == 0) return;
  QApplication::restoreOverrideCursor();
  --m_busyDepth;
}

}  // namespace corvane
