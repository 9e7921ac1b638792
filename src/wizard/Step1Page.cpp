#include "wizard/Step1Page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>

#include "platform/FileSystem.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/FileProblem.h"
#include "wizard/QtText.h"

namespace corvane {

CStep1Page::CStep1Page(CCorvanePropSheet& sheet) : CWizardPage(sheet, QStringLiteral("Step 1")) {}

void CStep1Page::OnInitDialog() {
  QGroupBox* instruction = MakeInstructionBox(
      {tr("1. Click [ASCII File] button to select an existing ASCII file to be converted to LAS. ")}, true);

  m_fileButton = new QPushButton(tr("ASCII File:"), this);
  m_fileButton->setObjectName(QStringLiteral("asciiFileButton"));
  m_pathBox = new QLineEdit(this);
  m_pathBox->setObjectName(QStringLiteral("asciiFileBox"));
  m_pathBox->setReadOnly(true);
  connect(m_fileButton, &QPushButton::clicked, this, &CStep1Page::OnAsciiFile);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_fileButton);
  fileRow->addWidget(m_pathBox, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(instruction);
  layout->addSpacing(60);
  layout->addLayout(fileRow);
  layout->addStretch(1);

  m_path = ToQString(Sheet().Setup().asciiFilePath);
}

bool CStep1Page::OnSetActive() {
  m_pathBox->setText(m_path);
  return true;
}

void CStep1Page::ShowSetupValues() { m_pathBox->setText(m_path); }

void CStep1Page::OnAsciiFile() {
  // In the folder of the file chosen before, or the last folder a file was chosen in;
  // no name typed, so that every kind of export the filter offers is shown.
  const QString chosen =
      Sheet().Services().GetOpenFileName(this, tr("Open ASCII File"), QString::fromLatin1(kAsciiFileFilter),
                                         Sheet().Settings().StartFolder({m_path}));
  if (chosen.isEmpty()) return;
  Sheet().Settings().RememberFolderOf(chosen);
  m_path = chosen;
  Sheet().Setup().asciiFilePath = ToStdString(m_path);
  m_pathBox->setText(m_path);
}

bool CStep1Page::OnWizardNext() {
  const std::string& path = Sheet().Setup().asciiFilePath;
  if (!FileExists(path)) {
    QString reason =
        FileProblem(ToQString(path), tr("No ASCII file is chosen: click ASCII File: to choose one."));
    if (reason.isEmpty()) reason = SystemReason(ToQString(path), ENOENT);  // gone since the test
    Sheet().Services().MessageBox(this, tr("ASCII file not found."), QString(), CWizardServices::Icon::None,
                                  CWizardServices::Buttons::Ok, CWizardServices::Answer::Ok, reason);
    return false;
  }
  Sheet().Setup().asciiFilePath = ToStdString(m_path);
  return true;
}

}  // namespace corvane
