#pragma once
// Base of the four wizard pages: the activation protocol of a wizard page (window
// created once, activation that may refuse, Next/Back that may keep the page) and
// the help request (F1) that every page handles the same way.
#include <QStringList>
#include <QWidget>

class QGroupBox;

namespace corvane {

class CCorvanePropSheet;
struct CConversionSetup;

class CWizardPage : public QWidget {
  Q_OBJECT
 public:
  CWizardPage(CCorvanePropSheet& sheet, const QString& caption);

  CCorvanePropSheet& Sheet() const { return m_sheet; }
  const QString& Caption() const { return m_caption; }
  bool IsCreated() const { return m_created; }

  // Called by the sheet the first time the page is shown (its window is created).
  void EnsureCreated();

  // The page becomes current; false refuses the activation.
  virtual bool OnSetActive() { return true; }
  // Next/Back pressed on this page; false keeps the wizard on it.
  virtual bool OnWizardNext() { return true; }
  virtual bool OnWizardBack() { return true; }
  // Shows the setup's values in the controls (data exchange towards the controls);
  // used by the sheet before it saves. Nothing in the setup changes.
  virtual void ShowSetupValues() {}
  // Puts what the controls hold and the setup does not yet (edits the page takes only
  // when it is left) into `setup`, a copy. True when a control holds an edit that no
  // setup can hold (a box that does not parse).
  virtual bool TakePending(CConversionSetup& /*setup*/) const { return false; }
  // Wizard buttons this page enables (asked on creation and on every repaint).
  virtual bool BackEnabled() const { return true; }
  virtual bool NextEnabled() const { return true; }

  // F1 and the sheet's Help button.
  void RequestHelp();

  // Opens the file in the desktop's text editor. "Failed to run the text editor." when
  // the file cannot be opened (with `whatForEmpty` for an empty path) or the editor
  // does not start; the box names the reason.
  void OpenInTextEditor(const QString& path, const QString& whatForEmpty);

 protected:
  // The "Instruction" box that heads every page: one label per numbered line,
  // wrapped at the page's width when `wrap` is set.
  QGroupBox* MakeInstructionBox(const QStringList& lines, bool wrap);
  // Builds the controls and takes the setup's values (OnInitDialog).
  virtual void OnInitDialog() {}
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  CCorvanePropSheet& m_sheet;
  QString m_caption;
  bool m_created = false;
};

}  // namespace corvane
