#include "wizard/WizardServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <memory>

#include "platform/ProgramInfo.h"

namespace corvane {
namespace {

CQtWizardServices::HelpHandler g_helpHandler = nullptr;

// What the launcher wrote on its error output: only the end is kept, it says why.
constexpr qsizetype kErrorTailKept = 4096;

// A box or dialog that ends a job comes up while the job's busy cursor is on: the
// user answers it with the normal cursor, and the busy one is back afterwards.
class CNormalCursor {
 public:
  CNormalCursor() : m_set(QApplication::overrideCursor() != nullptr) {
    if (m_set) QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
  }
  ~CNormalCursor() {
    if (m_set) QApplication::restoreOverrideCursor();
  }
  CNormalCursor(const CNormalCursor&) = delete;
  CNormalCursor& operator=(const CNormalCursor&) = delete;

 private:
  bool m_set;
};

// The last non-empty line of the launcher's error output.
QString LastLine(const QByteArray& output) {
  const QStringList lines = QString::fromLocal8Bit(output).split(u'\n', Qt::SkipEmptyParts);
  for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
    QString trimmed = line->trimmed();
    if (!trimmed.isEmpty()) return trimmed;
  }
  return QString();
}

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

// A folder opens the dialog in it with no name typed (the filter alone says which
// files are shown); a name, with or without its folder, is typed into the name box.
void StartAt(QFileDialog& dialog, const QString& initialName) {
  if (initialName.isEmpty()) return;
  if (QFileInfo(initialName).isDir())
    dialog.setDirectory(initialName);
  else
    dialog.selectFile(initialName);
}

}  // namespace

void CQtWizardServices::SetHelpHandler(HelpHandler handler) { g_helpHandler = handler; }

CQtWizardServices::CQtWizardServices(QString editorLauncher) : m_editorLauncher(std::move(editorLauncher)) {}

CWizardServices::Answer CQtWizardServices::MessageBox(QWidget* owner, const QString& text,
                                                      const QString& caption, Icon icon, Buttons buttons,
                                                      Answer defaultButton, const QString& informative,
                                                      const QString& details) {
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
  if (!details.isEmpty()) box.setDetailedText(details);
  const QMessageBox::StandardButton preferred = ToQtButton(defaultButton);
  if (qtButtons.testFlag(preferred)) box.setDefaultButton(preferred);
  const CNormalCursor cursor;
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
  StartAt(dialog, initialName);
  const CNormalCursor cursor;
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
  StartAt(dialog, initialName);
  const CNormalCursor cursor;
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

void CQtWizardServices::LaunchTextEditor(const QString& path, EditorFailed failed) {
  // The launcher lives on its own, not with the page: closing the wizard at once
  // must not stop it before it has handed the file over.
  auto* process = new QProcess(QCoreApplication::instance());
  process->setProgram(m_editorLauncher);
  process->setArguments({path});
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  const QString launcher = m_editorLauncher;
  auto errors = std::make_shared<QByteArray>();
  auto report = [failed, done = std::make_shared<bool>(false)](const QString& reason) {
    if (*done) return;
    *done = true;
    if (failed) failed(reason);
  };
  auto keepErrors = [process, errors] {
    *errors += process->readAllStandardError();
    if (errors->size() > kErrorTailKept) errors->remove(0, errors->size() - kErrorTailKept);
  };
  QObject::connect(process, &QProcess::readyReadStandardError, process, keepErrors);
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process, launcher, report](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     report(launcher + QStringLiteral(": ") + process->errorString());
                     process->deleteLater();
                   });
  QObject::connect(process, &QProcess::finished, process,
                   [process, launcher, errors, report, keepErrors](int code, QProcess::ExitStatus status) {
                     keepErrors();
                     QString reason;
                     if (status == QProcess::CrashExit)
                       reason = launcher + QStringLiteral(" was ended by a signal.");
                     else if (code != 0)
                       reason = launcher + QStringLiteral(" ended with exit status %1.").arg(code);
                     if (!reason.isEmpty()) {
                       const QString said = LastLine(*errors);
                       report(said.isEmpty() ? reason : reason + u'\n' + said);
                     }
                     process->deleteLater();
                   });
  process->start();
}

void CQtWizardServices::ShowHelp(QWidget* owner, const QString& topic) {
  if (g_helpHandler != nullptr) g_helpHandler(owner, topic);
}

}  // namespace corvane
