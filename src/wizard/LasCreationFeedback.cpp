#include "wizard/LasCreationFeedback.h"

#include <QFileInfo>

#include "las/LasWriter.h"
#include "lasfile/LasChecker.h"
#include "lasfile/LasReportFormat.h"
#include "wizard/QtText.h"

namespace corvane {
namespace {

QString Counted(std::size_t n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

}  // namespace

void CLasCreationFeedback::ShowNotice(const std::string& text) {
  if (text != kLasCreatedMessage) {
    CWizardFeedback::ShowNotice(text);
    return;
  }
  const bool displayed =
      m_progress != nullptr &&
      static_cast<std::uint64_t>(QFileInfo(ToQString(m_lasPath)).size()) >= kDisplayedCheckBytes;
  const CLasReport report = displayed ? CheckLasFile(m_lasPath, *m_progress) : CheckLasFile(m_lasPath);
  if (report.cancelled) {
    CWizardFeedback::ShowNotice(text);
    return;
  }
  Services().MessageBox(Owner(), ToQString(text), QString(), CWizardServices::Icon::None,
                        CWizardServices::Buttons::Ok, CWizardServices::Answer::Ok, LasCheckSummary(report),
                        ToQString(FormatLasReportText(report, false)));
}

QString LasCheckSummary(const CLasReport& report) {
  QString summary = QStringLiteral("LAS check: ") +
                    Counted(report.Count(LasSeverity::Error), "error", "errors") + QStringLiteral(", ") +
                    Counted(report.Count(LasSeverity::Warning), "warning", "warnings");
  const std::size_t notes = report.Count(LasSeverity::Note);
  if (notes > 0) summary += QStringLiteral(", ") + Counted(notes, "note", "notes");
  return summary;
}

}  // namespace corvane
