#include "AppFakes.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPrinter>
#include <QTimer>

namespace corvane::test {

QString CFakeShellDialogs::GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                                           const QString& initialName, const QString& defaultSuffix) {
  calls.append("open:" + title + "|" + filter + "|" + initialName + "|" + defaultSuffix);
  return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString CFakeShellDialogs::GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                           const QString& initialName, const QString& defaultSuffix) {
  calls.append("save:" + title + "|" + filter + "|" + initialName + "|" + defaultSuffix);
  return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

void CFakeShellDialogs::ShowError(QWidget*, const QString& text, const QString& informative) {
  calls.append("error:" + text);
  informatives.append(informative);
}

bool CFakeShellDialogs::PageSetup(QWidget*, QPrinter&) {
  calls.append("pagesetup");
  return true;
}

bool CFakeShellDialogs::Print(QWidget*, QPrinter& printer, const Render& render, const QString& title) {
  calls.append("print:" + title);
  if (!printToFile.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printToFile);
    render(printer, title);
  }
  return true;
}

void CFakeShellDialogs::PrintPreview(QWidget*, QPrinter&, const Render&, const QString& title) {
  calls.append("preview:" + title);
}

CWizardServices::Answer CFakeWizardServices::MessageBox(QWidget*, const QString& text, const QString&, Icon,
                                                        Buttons, Answer defaultButton, const QString&,
                                                        const QString&) {
  messages.append(text);
  return answers.isEmpty() ? defaultButton : answers.takeFirst();
}

QString CFakeWizardServices::GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

QString CFakeWizardServices::GetSaveFileName(QWidget*, const QString&, const QString&, const QString&,
                                             const QString&, bool) {
  return {};
}

CAppFixture::CAppFixture() {
  CCorvaneApp::Options options;
  options.executableDir = dir.filePath("bin");
  options.settingsFile = SettingsFile();
  options.dialogs = &dialogs;
  options.wizardServices = &wizardServices;
  options.help = &help;
  options.plotTemplateDir = dir.filePath("templates");
  app = std::make_unique<CCorvaneApp>(options);
}

QString CAppFixture::WriteFile(const QString& name, const QByteArray& content) const {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(content);
  return path;
}

void CloseNextModal(std::function<void(QWidget*)> inspect) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, inspect] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    if (inspect) inspect(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
  });
  timer->start();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace corvane::test
