#pragma once
// Step 2: the first lines of the ASCII file, where the user marks the curve name
// lines and the first line of digits, and the five layout values.
#include <memory>
#include <string>
#include <vector>

#include "ascii/AsciiPreview.h"
#include "wizard/WizardPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvane {

class CProgressDlg;

class CStep2Page : public CWizardPage {
  Q_OBJECT
 public:
  explicit CStep2Page(CCorvanePropSheet& sheet);
  ~CStep2Page() override;

  bool OnSetActive() override;
  bool OnWizardNext() override;
  bool OnWizardBack() override;
  void ShowSetupValues() override;
  bool TakePending(CConversionSetup& setup) const override;
  bool BackEnabled() const override { return true; }
  bool NextEnabled() const override { return true; }

  QListWidget* HeaderList() const { return m_headerList; }
  QListWidget* DigitsList() const { return m_digitsList; }
  QLineEdit* CurveTotalBox() const { return m_curveTotalBox; }
  QLineEdit* FixedWidthBox() const { return m_fixedWidthBox; }
  QLineEdit* SkipWidthBox() const { return m_skipWidthBox; }
  QComboBox* DelimiterBox() const { return m_delimiterBox; }
  QLineEdit* NullValueBox() const { return m_nullValueBox; }
  QPushButton* EditButton() const { return m_editButton; }
  QPushButton* RefreshButton() const { return m_refreshButton; }
  QPushButton* ProposeButton() const { return m_proposeButton; }
  // The reading choices beside the layout boxes.
  QCheckBox* DecimalCommaBox() const { return m_decimalCommaBox; }
  QCheckBox* QuotesBox() const { return m_quotesBox; }
  QCheckBox* EmptyFieldsBox() const { return m_emptyFieldsBox; }
  QLineEdit* NullMarkersBox() const { return m_nullMarkersBox; }
  QCheckBox* WholeCellsBox() const { return m_wholeCellsBox; }
  QComboBox* DigitsBox() const { return m_digitsBox; }
  QSpinBox* DateTimeBox() const { return m_dateTimeBox; }
  // The line above the lists that says what was proposed; empty when nothing was.
  QLabel* ProposalLine() const { return m_proposalLine; }
  // The page's copies of the five layout values and of the reading choices.
  const CAsciiPreview::CLayoutValues& Layout() const { return m_layout; }
  const CReadingOptions& Reading() const { return m_reading; }
  // The job display of the unwrap offer.
  CProgressDlg& Progress() { return *m_progress; }

  // Shows a delimiter text: the first entry that begins with it (any case), else
  // the text as typed; an empty text leaves the box empty.
  void ShowDelimiter(const QString& text);

 public slots:
  void OnEditAsciiFile();
  void OnRefreshWindows();
  // Detects the layout of the lines shown and puts it into the marks and boxes.
  void OnPropose();

 protected:
  void OnInitDialog() override;

 private:
  void FillLists();
  void ShowLayout();
  void ShowReading(const CReadingOptions& reading);
  CReadingOptions ShownReading() const;
  // True for a layout nobody has chosen yet: no delimiter, no fixed width, no marks.
  bool LayoutUnchosen() const;
  // Marks the proposed lines and shows the proposed delimiter; `onDemand` also clears
  // the widths, which the proposal does not use, and says when there is nothing to propose.
  void ProposeLayout(bool onDemand);
  // Marks the heading lines and the first line of digits for the loaded layout, which
  // stays as it is: the configuration's stored first data line, else the detection's.
  void ProposeMarks();
  // Marks exactly these rows of the two lists (lines counted from 0, no ruler).
  void ShowMarks(const std::vector<int>& headerLines, int firstDigitLineIndex);
  // Takes the five boxes into the page's copies and the setup; false, with the
  // message shown and the box's text selected, when one does not parse.
  bool LeavePage();
  // The five boxes' texts.
  CAsciiPreview::CLayoutTexts LayoutTexts() const;
  static void PutLayout(const CAsciiPreview::CLayoutValues& values, CConversionSetup& setup);
  QWidget* BoxOf(CAsciiPreview::LayoutBox box) const;

  QListWidget* m_headerList = nullptr;
  QListWidget* m_digitsList = nullptr;
  QLineEdit* m_curveTotalBox = nullptr;
  QLineEdit* m_fixedWidthBox = nullptr;
  QLineEdit* m_skipWidthBox = nullptr;
  QComboBox* m_delimiterBox = nullptr;
  QLineEdit* m_nullValueBox = nullptr;
  QPushButton* m_editButton = nullptr;
  QPushButton* m_refreshButton = nullptr;
  QPushButton* m_proposeButton = nullptr;
  QLabel* m_proposalLine = nullptr;
  QCheckBox* m_decimalCommaBox = nullptr;
  QCheckBox* m_quotesBox = nullptr;
  QCheckBox* m_emptyFieldsBox = nullptr;
  QLineEdit* m_nullMarkersBox = nullptr;
  QCheckBox* m_wholeCellsBox = nullptr;
  QComboBox* m_digitsBox = nullptr;
  QSpinBox* m_dateTimeBox = nullptr;

  CAsciiPreview::CLayoutValues m_layout;
  CReadingOptions m_reading;
  bool m_firstActivation = true;
  // The lines the header list shows, as read (the texts the marks record).
  std::vector<std::string> m_headerRows;
  bool m_hasRuler = false;
  // The ASCII file the lists show (path, size, time of change); empty before the first fill.
  QString m_shownStamp;
  // Why the file shown is not text; empty for a text file.
  QString m_notText;
  std::unique_ptr<CProgressDlg> m_progress;
};

}  // namespace corvane
