#include "wizard/WizardPage.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include "wizard/CorvanePropSheet.h"
#include "wizard/FileProblem.h"

namespace corvane {

CWizardPage::CWizardPage(CCorvanePropSheet& sheet, const QString& caption)
    : QWidget(nullptr), m_sheet(sheet), m_caption(caption) {
  setObjectName(caption);
}

void CWizardPage::EnsureCreated() {
  if (m_created) return;
  m_created = true;
  OnInitDialog();
}

QGroupBox* CWizardPage::MakeInstructionBox(const QStringList& lines, bool wrap) {
  auto* box = new QGroupBox(QStringLiteral("Instruction"), this);
  auto* layout = new QVBoxLayout(box);
  layout->setSpacing(2);
  for (const QString& line : lines) {
    auto* label = new QLabel(line, box);
    label->setWordWrap(wrap);
    layout->addWidget(label);
  }
  return box;
}

void CWizardPage::RequestHelp() { m_sheet.Services().ShowHelp(this, QString::fromLatin1(kWizardHelpTopic)); }

void CWizardPage::OpenInTextEditor(const QString& path, const QString& whatForEmpty) {
  auto report = [this](const QString& reason) {
    m_sheet.Services().MessageBox(this, tr("Failed to run the text editor."), QString(),
                                  CWizardServices::Icon::Error, CWizardServices::Buttons::Ok,
                                  CWizardServices::Answer::Ok, reason);
  };
  // A missing file is said at once, with the system's reason, rather than by whatever
  // the launcher makes of it.
  const QString problem = FileProblem(path, whatForEmpty);
  if (!problem.isEmpty()) {
    report(problem);
    return;
  }
  // The launcher may fail long after this page has gone.
  QPointer<CWizardPage> self(this);
  m_sheet.Services().LaunchTextEditor(path, [self, report](const QString& reason) {
    if (self) report(reason);
  });
}

void CWizardPage::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    RequestHelp();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void CWizardPage::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  // Every repaint restores this page's wizard buttons, as long as it is the page shown.
  if (m_sheet.CurrentPage() == this) m_sheet.SetWizardButtons(BackEnabled(), NextEnabled());
}

}  // namespace corvane
