#pragma once
// Step 4: the well details and further header lines, the configuration and LAS
// files, and the LAS creation itself ("Create LAS"), optionally with the depth
// order inverted, then "View LAS" (in the text editor) or "Plot LAS" (in the main
// window's LAS window, once the wizard has closed).
#include <memory>
#include <string>
#include <vector>

#include "setup/ConversionSetup.h"

#include "wizard/WizardPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvane {

class CProgressDlg;

class CStep4Page : public CWizardPage {
  Q_OBJECT
 public:
  explicit CStep4Page(CCorvanePropSheet& sheet);
  ~CStep4Page() override;

  bool OnSetActive() override;
  bool OnWizardBack() override;
  void ShowSetupValues() override;
  bool TakePending(CConversionSetup& setup) const override;
  bool BackEnabled() const override { return true; }
  bool NextEnabled() const override { return false; }

  // The state of "Inverse Depths" as last taken or shown; unchecked in a new wizard.
  bool InverseDepths() const { return m_inverseDepths; }
  bool CreationRunning() const { return m_running; }

  // The controls, for the sheet's tests; null until the page's window is created.
  QComboBox* WellLabelBox() const { return m_wellLabelBox; }
  QLineEdit* UwiBox() const { return m_uwiBox; }
  QLineEdit* WellNameBox() const { return m_wellNameBox; }
  QComboBox* CountryBox() const { return m_countryBox; }
  QLineEdit* LogDateBox() const { return m_logDateBox; }
  QPlainTextEdit* OtherHeaderBox() const { return m_otherHeaderBox; }
  // What the ~Well section will lack, and "Add Template Lines" for it.
  QLabel* HeaderCheckLabel() const { return m_headerCheckLabel; }
  QPushButton* TemplateLinesButton() const { return m_templateButton; }
  QPushButton* ConfigFileButton() const { return m_configButton; }
  QLineEdit* ConfigFileBox() const { return m_configBox; }
  QLineEdit* AsciiFileBox() const { return m_asciiBox; }
  QPushButton* LasFileButton() const { return m_lasButton; }
  QLineEdit* LasFileBox() const { return m_lasBox; }
  QCheckBox* InverseDepthsBox() const { return m_inverseBox; }
  QPushButton* CreateLasButton() const { return m_createButton; }
  QPushButton* ViewLasButton() const { return m_viewButton; }
  QPushButton* PlotLasButton() const { return m_plotButton; }
  // The LAS file whose plot "Plot LAS" asked for; empty when it was not clicked.
  QString PlotRequest() const { return m_plotRequest; }
  // The display of the LAS creation (its window exists while a run converts data).
  CProgressDlg& Progress() { return *m_progress; }

 public slots:
  void OnAddTemplateLines();
  void OnConfigFile();
  void OnLasFile();
  void OnCreateLas();
  void OnViewLas();
  void OnPlotLas();

 protected:
  void OnInitDialog() override;

 private:
  // Says so, and answers true, when the chosen files would make the configuration file
  // the ASCII or the LAS file.
  bool RefusedAsDataFile(const CConversionSetup& chosen);
  // A new setup's configuration and LAS files: NAME.lah and NAME.las beside the ASCII
  // file NAME.asc, where no such file is yet and the box is empty or holds an earlier
  // proposal.
  void ProposeFileNames();
  // Create LAS with an empty path box: says which box it is.
  void SayWhichBoxIsEmpty();
  void BuildControls();
  // Setup fields and the inverse flag into the controls.
  void ShowValues();
  // The controls back into the setup, in the fixed order; false, with the focus on
  // the first empty path box (configuration, LAS, ASCII) and nothing more read.
  bool TakeValues();
  // The well details and further header lines as the boxes hold them.
  void TakeWellDetails(CConversionSetup& setup) const;
  void SetRunning(bool running);
  // The well details as the boxes show them now, for the header check.
  CConversionSetup ShownWellDetails() const;
  std::vector<std::string> ShownOtherHeaderLines() const;
  void UpdateHeaderCheck();

  bool m_inverseDepths = false;
  bool m_running = false;
  std::unique_ptr<CProgressDlg> m_progress;

  QComboBox* m_wellLabelBox = nullptr;
  QLineEdit* m_uwiBox = nullptr;
  QLineEdit* m_wellNameBox = nullptr;
  QComboBox* m_countryBox = nullptr;
  QLineEdit* m_logDateBox = nullptr;
  QPlainTextEdit* m_otherHeaderBox = nullptr;
  QLabel* m_headerCheckLabel = nullptr;
  QPushButton* m_templateButton = nullptr;
  QPushButton* m_configButton = nullptr;
  QLineEdit* m_configBox = nullptr;
  QLineEdit* m_asciiBox = nullptr;
  QPushButton* m_lasButton = nullptr;
  QLineEdit* m_lasBox = nullptr;
  QCheckBox* m_inverseBox = nullptr;
  QPushButton* m_createButton = nullptr;
  QPushButton* m_viewButton = nullptr;
  QPushButton* m_plotButton = nullptr;
  QString m_plotRequest;
  // The names last proposed, followed while the boxes still hold them.
  std::string m_proposedConfig;
  std::string m_proposedLas;
};

}  // namespace corvane
