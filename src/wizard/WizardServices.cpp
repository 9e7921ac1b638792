#include "wizard/WizardServices.h"

#include <QFileDialog>
#include <QMessageBox>

#include "platform/FileSystem.h"
#include "platform/ProgramInfo.h"
#include "wizard/QtText.h"

namespace corvane {
namespace {

CQtWizardServices::HelpHandler g_helpHandler = nullptr;

QMessageBox::Icon ToQtIcon(CWizardServices::Icon icon) {
  switch (icon) {
    case CWizardServices::Icon::Information:
      return QMessageBox::Information;
    case CWizardServices::Icon::Warning:
      return QMessageBox::Warning;
    case CWizardServices::Icon::Error:
      return QMessageBox::Critical;
    case CWizardServices::Icon::Question:
      return QMessageBox::Question;
    case CWizardServices::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(CWizardServices::Answer answer) {
  switch (answer) {
    case CWizardServices::Answer::Yes:
      return QMessageBox::Yes;
    case CWizardServices::Answer::No:
      return QMessageBox::No;
    case CWizardServices::Answer::Cancel:
      return QMessageBox::Cancel;
    case CWizardServices::Answer::Ok:
      break;
  }
  return QMessageBox::Ok;
}

}  // namespace

void CQtWizardServices::SetHelpHandler(HelpHandler handler) { g_helpHandler = handler; }

CWizardServices::Answer CQtWizardServices::MessageBox(QWidget* owner, const QString& text,
                                                      const QString& caption, Icon icon, Buttons buttons,
                                                      Answer defaultButton, const QString& informative) {
  QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
  switch (buttons) {
    case Buttons::Ok:
      qtButtons = QMessageBox::Ok;
      break;
    case Buttons::YesNo:
      qtButtons = QMessageBox::Yes | QMessageBox::No;
      break;
    case Buttons::YesNoCancel:
      qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(ToQtIcon(icon), caption.isEmpty() ? QString::fromLatin1(kAppTitle) : caption, text,
                  qtButtons, owner);
  if (!informative.isEmpty()) box.setInformativeText(informative);
  const QMessageBox::StandardButton preferred = ToQtButton(defaultButton);
  if (qtButtons.testFlag(preferred)) box.setDefaultButton(preferred);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      break;
  }
  // A Yes/No box closed by its title bar has no answer of its own: take it as No.
  return buttons == Buttons::YesNo         ? Answer::No
         : buttons == Buttons::YesNoCancel ? Answer::Cancel
                                           : Answer::Ok;
}

QString CQtWizardServices::GetOpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                           const QString& initialName) {
  QFileDialog dialog(owner, title);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(filter);
  if (!initialName.isEmpty()) dialog.selectFile(initialName);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

QString CQtWizardServices::GetSaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                           const QString& initialName, const QString& defaultSuffix,
                                           bool confirmOverwrite) {
  QFileDialog dialog(owner, title);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(defaultSuffix);
  if (!initialName.isEmpty()) dialog.selectFile(initialName);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

bool CQtWizardServices::LaunchTextEditor(const QString& path) {
  return corvane::LaunchTextEditor(ToStdString(path));
}

void CQtWizardServices::ShowHelp(QWidget* owner, const QString& topic) {
  if (g_helpHandler != nullptr) g_helpHandler(owner, topic);
}

}  // namespace corvane
