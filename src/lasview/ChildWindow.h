#pragma once
// What a window of the shell's document area offers the shell, whatever it shows (the
// window of a configuration file, the LAS window): its title, the file it shows, its
// printed form, what File Save As and Save Plot As write, and its help. The shell
// works every such window through this alone.
#include <QSize>
#include <QString>
#include <optional>

#include "platform/Result.h"

class QObject;
class QPrinter;
class QWidget;

namespace corvane {

// Whether two paths name one file: by any name (relative, through links), or, for a
// file that is not there yet, by its name in the same folder. The windows answer
// IsSameFile with it.
bool SameFileName(const QString& a, const QString& b);

class CChildWindow {
 public:
  // The saves the File menu offers.
  enum class SaveKind { Document, Plot };
  // How the shell asks where to save, and what it says when the save fails.
  struct CSaveDialog {
    QString title;
    QString filter;
    QString initialName;
    QString defaultSuffix;
    QString failure;            // the message of a failed save (its reason stands below it)
    bool rememberFile = false;  // the saved file goes onto the recent-file list
  };

  virtual ~CChildWindow() = default;

  virtual QWidget* Widget() = 0;
  // The windows of one document answer the same: the shell numbers their titles
  // ("well.lah:2") and closes them together.
  virtual const QObject* Document() const = 0;
  // The title in the document area; the widget's title changes along with it.
  virtual QString Title() const = 0;
  // The file shown, by its absolute path.
  virtual QString PathName() const = 0;
  // Whether `path` names the file shown (by any name).
  virtual bool IsSameFile(const QString& path) const = 0;

  // Draws the printed form on `printer` (print and print preview); never into the file shown.
  virtual void Render(QPrinter& printer) = 0;

  // The dialog of a save the window offers; none for one it does not.
  virtual std::optional<CSaveDialog> SaveDialog(SaveKind kind) const = 0;
  // Writes that save into `path`; the reason of a failure alone (the dialog's failure
  // text stands above it).
  virtual CResult Save(SaveKind kind, const QString& path) = 0;
  // Window > New Window: whether the document can have another window, and that window
  // (not yet in the document area; null when it cannot).
  virtual bool OffersNewWindow() const = 0;
  virtual CChildWindow* NewWindow() = 0;

  // The manual's page for F1 while the window is active, and the resource number that
  // context help knows it by.
  virtual QString HelpTopic() const = 0;
  virtual unsigned HelpResource() const = 0;

  // Its size when it first opens in a document area of `area`.
  virtual QSize InitialSize(const QSize& area) const = 0;
};

}  // namespace corvane
