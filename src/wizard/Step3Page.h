#pragma once
// Step 3: the user names the curves. Six columns of the data are shown at a time,
// each with its heading, units, API code and description boxes and the column's
// digit samples; "<" and ">" move the window of six across the columns.
#include <array>
#include <vector>

#include "setup/ConversionSetup.h"
#include "wizard/WizardPage.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvane {

class CStep3Page : public CWizardPage {
  Q_OBJECT
 public:
  static constexpr int kSlots = 6;

  explicit CStep3Page(CCorvanePropSheet& sheet);

  bool OnSetActive() override;
  bool OnWizardNext() override;
  bool OnWizardBack() override;
  void ShowSetupValues() override;
  bool TakePending(CConversionSetup& setup) const override;

  // The setup column shown in slot 1 (0-based; 0 or a multiple of six).
  int FirstVisibleColumn() const { return m_firstVisible; }

  // The controls, for the sheet's tests; null until the page's window is created.
  // Slots count from 0.
  QLabel* ColumnLabel(int slot) const { return m_labelBoxes[slot]; }
  QLineEdit* HeadingBox(int slot) const { return m_headingBoxes[slot]; }
  QLineEdit* UnitsBox(int slot) const { return m_unitsBoxes[slot]; }
  QLineEdit* ApiCodeBox(int slot) const { return m_apiCodeBoxes[slot]; }
  QLineEdit* DescriptionBox(int slot) const { return m_descriptionBoxes[slot]; }
  QPlainTextEdit* SamplesBox(int slot) const { return m_sampleBoxes[slot]; }
  QLineEdit* CurveTotalBox() const { return m_curveTotalBox; }
  QPlainTextEdit* HeadingsBox() const { return m_headingsBox; }
  QPushButton* PreviousColumnsButton() const { return m_previousButton; }
  QPushButton* NextColumnsButton() const { return m_nextButton; }
  QPushButton* ProposeButton() const { return m_proposeButton; }
  // The line above the boxes that says what was proposed.
  QLabel* ProposalLine() const { return m_proposalLine; }

 public slots:
  // Names every curve from the heading lines and the mnemonic dictionary, over what
  // the boxes hold.
  void OnPropose();

 protected:
  void OnInitDialog() override;

 private:
  using SlotTexts = std::array<QString, kSlots>;

  void BuildControls();
  // Data exchange between the page fields and the controls.
  void ShowFields();
  void TakeFields();
  void FillSlots();
  void StoreSlots();
  // The slots' texts into the curves of `setup` that the window shows.
  void StoreSlotsInto(CConversionSetup& setup, const SlotTexts& headings, const SlotTexts& units,
                      const SlotTexts& apiCodes, const SlotTexts& descriptions) const;
  void OnPreviousColumns();
  void OnNextColumns();
  // A new setup whose curves nobody has named (or that still hold the last proposal,
  // untouched): its curves are proposed on entry.
  bool ProposesOnEntry() const;
  // Puts the proposal into the setup's curves; `onDemand` keeps what the user typed
  // for columns the file does not name. The line says what was proposed.
  void Propose(bool onDemand);

  // Page fields: what the controls show.
  SlotTexts m_labels;
  SlotTexts m_headings;
  SlotTexts m_units;
  SlotTexts m_apiCodes;
  SlotTexts m_descriptions;
  SlotTexts m_samples;
  int m_curveTotal = 0;
  QString m_headingsText;
  int m_firstVisible = 0;

  std::array<QLabel*, kSlots> m_labelBoxes{};
  std::array<QLineEdit*, kSlots> m_headingBoxes{};
  std::array<QLineEdit*, kSlots> m_unitsBoxes{};
  std::array<QLineEdit*, kSlots> m_apiCodeBoxes{};
  std::array<QLineEdit*, kSlots> m_descriptionBoxes{};
  std::array<QPlainTextEdit*, kSlots> m_sampleBoxes{};
  QLineEdit* m_curveTotalBox = nullptr;
  QPlainTextEdit* m_headingsBox = nullptr;
  QPushButton* m_previousButton = nullptr;
  QPushButton* m_nextButton = nullptr;
  QPushButton* m_proposeButton = nullptr;
  QLabel* m_proposalLine = nullptr;
  // The curves as the last proposal left them.
  std::vector<CCurveDef> m_lastProposed;
};

}  // namespace corvane
