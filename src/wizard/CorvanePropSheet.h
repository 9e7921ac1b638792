#pragma once
// The four-page conversion wizard. It owns the conversion setup, the fixed-pitch
// list font and the move mark that tells a page whether the user arrived by Back.
#include <QDialog>
#include <QFont>
#include <memory>
#include <string>

#include "platform/Result.h"
#include "setup/ConversionSetup.h"
#include "wizard/WizardServices.h"
#include "wizard/WizardSettings.h"

class QPushButton;
class QSettings;
class QStackedWidget;
class QLabel;

namespace corvane {

class CWizardPage;
class CStep1Page;
class CStep2Page;
class CStep3Page;
class CStep4Page;

enum class MoveMark { None, Back, Next };

class CCorvanePropSheet : public QDialog {
  Q_OBJECT
 public:
  // `services` defaults to the on-screen ones; the sheet does not own a given one.
  explicit CCorvanePropSheet(QWidget* parent = nullptr, CWizardServices* services = nullptr);
  ~CCorvanePropSheet() override;

  CConversionSetup& Setup() { return m_setup; }
  const QFont& ListFont() const { return m_listFont; }
  MoveMark Mark() const { return m_mark; }
  void SetMoveMark(MoveMark mark) { m_mark = mark; }
  CWizardServices& Services() { return *m_services; }
  // The application's settings store (not owned): the wizard's size and place and the
  // last folder are remembered there. Set before the wizard is shown; none by default.
  void SetSettings(QSettings* settings) { m_settings.SetStore(settings); }
  CWizardSettings& Settings() { return m_settings; }
  // The size at which every page fits without growing the wizard, Step 3 showing ten
  // rows of digit samples: the size of a wizard opened for the first time.
  QSize DefaultSize() const;
  // True when the setup came from its configuration file when the wizard opened: such
  // a setup is shown as it was saved, nothing is proposed for it.
  bool LoadedFromFile() const { return m_loadedFromFile; }

  CStep1Page& Step1() { return *m_step1; }
  CStep2Page& Step2() { return *m_step2; }
  CStep3Page& Step3() { return *m_step3; }
  CStep4Page& Step4() { return *m_step4; }
  int CurrentIndex() const;
  CWizardPage* CurrentPage() const;

  QPushButton* BackButton() const { return m_back; }
  QPushButton* NextButton() const { return m_next; }
  QPushButton* ExitButton() const { return m_exit; }
  QPushButton* SaveExitButton() const { return m_saveExit; }
  QPushButton* HelpButton() const { return m_help; }

  // Puts `page` on screen before its activation has finished, so that a job its
  // activation runs (the unwrap offer) never has the previous page live beside it.
  void ShowDuringActivation(CWizardPage& page);

  // Enables Back and Next as the current page asks (no page ever has Finish).
  void SetWizardButtons(bool back, bool next);

  // Refreshes the controls of every created page from the setup, then writes the
  // setup to its configuration file; nothing when that path is empty. False when the
  // file could not be written.
  CResult Save();
  // The save-and-exit command: asks, saves on Yes, closes on Yes and No.
  void SaveAndExit();

  // True when a save would write something else than the configuration file holds (or,
  // for a setup from no file, than a new setup): what the pages show counts, also the
  // edits the current page takes only when it is left.
  bool HasUnsavedChanges() const;
  // Exit, Esc, the close box and Plot LAS: with unsaved changes, asks whether to
  // discard them. True when the wizard closed.
  bool RequestClose();

  // While a job runs inside a page, no way of leaving or re-entering is open: Back,
  // Next, Exit, save-and-exit, the close box and Esc are refused.
  void SetJobRunning(bool running);
  bool JobRunning() const { return m_jobRunning; }

  // Window creation: loads the configuration file when a path is set, telling the
  // user "Unrecognized Configuration File." when it is not recognised. Runs once,
  // before the wizard is first shown.
  void setVisible(bool visible) override;

 public slots:
  void GoBack();
  void GoNext();
  void reject() override;          // Exit, Esc and the close box: RequestClose, nothing saved
  void done(int result) override;  // every way of closing: the size and place are remembered

 protected:
  void closeEvent(QCloseEvent* event) override;
  // F1 on the sheet's own buttons asks the current page for help, as F1 on the page does.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowPage(int index, bool forward);
  void OnWindowCreated();
  CWizardPage* PageAt(int index) const;
  void ApplyButtonStates();
  // RequestClose with `why` below the question.
  bool RequestClose(const QString& why);

  std::unique_ptr<CWizardServices> m_ownedServices;
  CWizardServices* m_services;
  CWizardSettings m_settings;
  CConversionSetup m_setup;
  QFont m_listFont;
  MoveMark m_mark = MoveMark::None;
  bool m_windowCreated = false;
  bool m_loadedFromFile = false;
  bool m_jobRunning = false;
  bool m_wantBack = false;  // what the current page asks for; a running job overrides it
  bool m_wantNext = true;
  // The configuration text of the setup as last loaded or saved.
  std::string m_savedText;

  QStackedWidget* m_stack = nullptr;
  CStep1Page* m_step1 = nullptr;
  CStep2Page* m_step2 = nullptr;
  CStep3Page* m_step3 = nullptr;
  CStep4Page* m_step4 = nullptr;
  QPushButton* m_back = nullptr;
  QPushButton* m_next = nullptr;
  QPushButton* m_exit = nullptr;
  QPushButton* m_saveExit = nullptr;
  QPushButton* m_help = nullptr;
};

}  // namespace corvane
