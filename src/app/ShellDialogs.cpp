#include "app/ShellDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "platform/ProgramInfo.h"

namespace corvane {
namespace {

QString RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& title,
                      const QString& filter, const QString& initialName, const QString& defaultSuffix) {
  QFileDialog dialog(owner, title);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  const QStringList filters = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  dialog.setDefaultSuffix(defaultSuffix);
  if (!initialName.isEmpty()) dialog.selectFile(initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

QString CQtShellDialogs::GetOpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                         const QString& initialName, const QString& defaultSuffix) {
  return RunFileDialog(owner, QFileDialog::AcceptOpen, title, filter, initialName, defaultSuffix);
}

QString CQtShellDialogs::GetSaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                         const QString& initialName, const QString& defaultSuffix) {
  return RunFileDialog(owner, QFileDialog::AcceptSave, title, filter, initialName, defaultSuffix);
}

void CQtShellDialogs::ShowError(QWidget* owner, const QString& text, const QString& informative) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok, owner);
  if (!informative.isEmpty()) box.setInformativeText(informative);
  box.exec();
}

bool CQtShellDialogs::PageSetup(QWidget* owner, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, owner);
  return dialog.exec() == QDialog::Accepted;
}

bool CQtShellDialogs::Print(QWidget* owner, QPrinter& printer, const Render& render,
                            const QString& pathName) {
  QPrintDialog dialog(&printer, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  render(printer, pathName);
  return true;
}

void CQtShellDialogs::PrintPreview(QWidget* owner, QPrinter& printer, const Render& render,
                                   const QString& pathName) {
  QPrintPreviewDialog dialog(&printer, owner);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [render, pathName](QPrinter* target) { render(*target, pathName); });
  dialog.exec();
}

}  // namespace corvane
