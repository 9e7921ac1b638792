#include "wizard/LasCreationFeedback.h"

#include <QFileInfo>

#include "las/LasWriter.h"
#include "las/ReadingSummary.h"
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
  // What the reading found comes first: it speaks of the values, the check of the form.
  QString reading;
  QString readingDetails;
  if (m_reading != nullptr) {
    reading = ToQString(FormatReadingSummary(*m_reading, ReadingAudience::Wizard)).trimmed();
    readingDetails = ToQString(FormatReadingColumns(*m_reading));
  }
  const auto joined = [](const QString& first, const QString& second) {
    return first.isEmpty() ? second : second.isEmpty() ? first : first + QStringLiteral("\n\n") + second;
  };
  const bool displayed =
      m_progress != nullptr &&
      static_cast<std::uint64_t>(QFileInfo(ToQString(m_lasPath)).size()) >= kDisplayedCheckBytes;
  const CLasReport report = displayed ? CheckLasFile(m_lasPath, *m_progress) : CheckLasFile(m_lasPath);
  if (report.cancelled) {
    if (reading.isEmpty()) {
      CWizardFeedback::ShowNotice(text);
    } else {
      Services().MessageBox(Owner(), ToQString(text), QString(), CWizardServices::Icon::None,
                            CWizardServices::Buttons::Ok, CWizardServices::Answer::Ok, reading,
                            readingDetails);
    }
    return;
  }
  Services().MessageBox(Owner(), ToQString(text), QString(), CWizardServices::Icon::None,
                        CWizardServices::Buttons::Ok, CWizardServices::Answer::Ok,
                        joined(reading, LasCheckSummary(report)),
                        joined(readingDetails, ToQString(FormatLasReportText(report, false))));
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
