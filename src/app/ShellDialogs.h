#pragma once
// The questions that the application shell asks through the platform's dialogs, those
// of its document windows (where to save, what went wrong) among them. The shell
// reaches them only through this interface, so tests answer them without a screen.
#include <QString>
#include <functional>

#include "lasview/WindowDialogs.h"

class QWidget;
class QPrinter;

namespace corvane {

class CShellDialogs : public CWindowDialogs {
 public:
  // The platform's Open File dialog. `filter` is in Qt form, its first entry selected;
  // `initialName` stands in the name box. An empty result means the user cancelled.
  virtual QString GetOpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& initialName, const QString& defaultSuffix) = 0;
  // The page setup, print and print preview dialogs on the application's printer.
  // `render` draws the pages of the document of `pathName`; the dialogs return false
  // when cancelled.
  using Render = std::function<void(QPrinter&, const QString&)>;
  virtual bool PageSetup(QWidget* owner, QPrinter& printer) = 0;
  virtual bool Print(QWidget* owner, QPrinter& printer, const Render& render, const QString& pathName) = 0;
  virtual void PrintPreview(QWidget* owner, QPrinter& printer, const Render& render,
                            const QString& pathName) = 0;
};

// The on-screen dialogs.
class CQtShellDialogs : public CShellDialogs {
 public:
  QString GetOpenFileName(QWidget* owner, const QString& title, const QString& filter,
                          const QString& initialName, const QString& defaultSuffix) override;
  QString GetSaveFileName(QWidget* owner, const QString& title, const QString& filter,
                          const QString& initialName, const QString& defaultSuffix) override;
  void ShowError(QWidget* owner, const QString& text, const QString& informative = QString()) override;
  bool PageSetup(QWidget* owner, QPrinter& printer) override;
  bool Print(QWidget* owner, QPrinter& printer, const Render& render, const QString& pathName) override;
  void PrintPreview(QWidget* owner, QPrinter& printer, const Render& render,
                    const QString& pathName) override;
};

}  // namespace corvane
