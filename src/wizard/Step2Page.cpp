#include "wizard/Step2Page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ascii/LayoutDetector.h"
#include "ascii/TextProbe.h"
#include "las/Unwrap.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/ProgressDlg.h"
#include "wizard/QtText.h"
#include "wizard/WizardFeedback.h"

namespace corvane {
namespace {

using Icon = CWizardServices::Icon;
using Buttons = CWizardServices::Buttons;

QListWidget* MakeLineList(QWidget* parent, QAbstractItemView::SelectionMode mode, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setSelectionMode(mode);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Every row takes the first row's size, which carries the scroll width.
  list->setUniformItemSizes(true);
  list->setTextElideMode(Qt::ElideNone);
  list->setWordWrap(false);
  return list;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(alignment | Qt::AlignBottom);
  return label;
}

// Fills a list and sets its rows' width (the horizontal scroll extent) to `width` pixels of text.
void FillList(QListWidget* list, const std::vector<std::string>& rows, int textWidth) {
  list->clear();
  for (const std::string& row : rows) list->addItem(ToQString(row));
  if (list->count() == 0) return;
  const int margin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) + 2;
  const int height = list->sizeHintForRow(0);
  list->item(0)->setSizeHint(QSize(textWidth + margin, height));
  list->clearSelection();
}

// "Proposed: 9 columns cut at spaces, data from line 6; change anything below.", the
// columns of text and the reading choices after the line ("..., data from line 3,
// decimal commas; ...").
QString ProposalText(const CLayoutProposal& proposal) {
  return QObject::tr("Proposed: %1; change anything below.").arg(ToQString(DescribeLayout(proposal)));
}

// "lines 3 and 4", "line 3": rows counted from 1.
QString LinesText(const std::vector<int>& rows) {
  if (rows.size() == 1) return QObject::tr("line %1").arg(rows.front() + 1);
  QString text = QObject::tr("lines ");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) text += i + 1 == rows.size() ? QObject::tr(" and ") : QStringLiteral(", ");
    text += QString::number(rows[i] + 1);
  }
  return text;
}

// What the file is now: its path, size and time of change, so that a file chosen anew
// or changed since it was shown is told from the one shown.
QString FileStamp(const std::string& path) {
  const QFileInfo file(ToQString(path));
  return ToQString(path) + QLatin1Char('|') + QString::number(file.size()) + QLatin1Char('|') +
         QString::number(file.lastModified().toMSecsSinceEpoch());
}

// Marks the wizard as running a job and the page's own job buttons as closed for
// as long as it lives.
class CJobGuard {
 public:
  CJobGuard(CCorvanePropSheet& sheet, std::initializer_list<QWidget*> buttons)
      : m_sheet(sheet), m_buttons(buttons) {
    m_sheet.SetJobRunning(true);
    for (QWidget* b : m_buttons) b->setEnabled(false);
  }
  ~CJobGuard() {
    for (QWidget* b : m_buttons) b->setEnabled(true);
    m_sheet.SetJobRunning(false);
  }
  CJobGuard(const CJobGuard&) = delete;
  CJobGuard& operator=(const CJobGuard&) = delete;

 private:
  CCorvanePropSheet& m_sheet;
  std::vector<QWidget*> m_buttons;
};

}  // namespace

CStep2Page::CStep2Page(CCorvanePropSheet& sheet)
    : CWizardPage(sheet, QStringLiteral("Step 2")), m_progress(std::make_unique<CProgressDlg>(this)) {}

CStep2Page::~CStep2Page() = default;

void CStep2Page::OnInitDialog() {
  QGroupBox* instruction = MakeInstructionBox(
      {tr("1. If necessary, click [Edit ASCII File] to update the ASCII file. After the update, click "
          "[Refresh Windows]."),
       tr("2. In the Curve Name and Units window, highlight the lines containing the curve names and their "
          "units."),
       tr("3. In the Curve Digits window, highlight the first line where the curve digits start."),
       tr("4. Enter Curve Total to override the system, Delimiter(s) and Null Value Indicator.")},
      true);

  m_headerList = MakeLineList(this, QAbstractItemView::MultiSelection, "headerList");
  m_digitsList = MakeLineList(this, QAbstractItemView::SingleSelection, "digitsList");

  m_editButton = new QPushButton(tr("Edit ASCII File"), this);
  m_editButton->setObjectName(QStringLiteral("editAsciiFile"));
  m_refreshButton = new QPushButton(tr("Refresh Windows"), this);
  m_refreshButton->setObjectName(QStringLiteral("refreshWindows"));
  m_proposeButton = new QPushButton(tr("Propose"), this);
  m_proposeButton->setObjectName(QStringLiteral("propose"));
  connect(m_editButton, &QPushButton::clicked, this, &CStep2Page::OnEditAsciiFile);
  connect(m_refreshButton, &QPushButton::clicked, this, &CStep2Page::OnRefreshWindows);
  connect(m_proposeButton, &QPushButton::clicked, this, &CStep2Page::OnPropose);
  m_proposalLine = new QLabel(this);
  m_proposalLine->setObjectName(QStringLiteral("proposal"));
  // The line keeps its room when empty, so the lists never jump.
  m_proposalLine->setMinimumHeight(m_proposalLine->fontMetrics().height());

  auto makeBox = [this](const char* name, int width) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(width);
    return box;
  };
  m_curveTotalBox = makeBox("curveTotal", 44);
  m_fixedWidthBox = makeBox("fixedWidth", 36);
  m_skipWidthBox = makeBox("skipWidth", 36);
  m_nullValueBox = makeBox("nullValue", 70);
  m_delimiterBox = new QComboBox(this);
  m_delimiterBox->setObjectName(QStringLiteral("delimiter"));
  m_delimiterBox->setEditable(true);
  m_delimiterBox->setInsertPolicy(QComboBox::NoInsert);
  // A typed delimiter is taken as typed: no completion turns ":" into ":,".
  m_delimiterBox->setCompleter(nullptr);
  m_delimiterBox->addItems({QStringLiteral("space"), QStringLiteral("tab"), QStringLiteral(","),
                            QStringLiteral(":,"), QStringLiteral(";")});
  m_delimiterBox->setFixedWidth(70);
  m_delimiterBox->setCurrentIndex(-1);

  auto makeCheck = [this](const QString& text, const char* name) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };
  m_decimalCommaBox = makeCheck(tr("Decimal comma"), "decimalComma");
  m_quotesBox = makeCheck(tr("Quotes"), "quotes");
  m_emptyFieldsBox = makeCheck(tr("Empty fields"), "emptyFields");
  m_wholeCellsBox = makeCheck(tr("Whole cells"), "wholeCells");
  m_nullMarkersBox = makeBox("nullMarkers", 90);
  m_digitsBox = new QComboBox(this);
  m_digitsBox->setObjectName(QStringLiteral("digits"));
  m_digitsBox->addItems({QStringLiteral("4"), QStringLiteral("source")});
  m_dateTimeBox = new QSpinBox(this);
  m_dateTimeBox->setObjectName(QStringLiteral("dateTime"));
  m_dateTimeBox->setRange(0, kMaxCurveTotal);
  m_dateTimeBox->setSpecialValueText(tr("none"));

  // What's This: one or two sentences on each control (the manual's Step 2 page says the same).
  m_headerList->setWhatsThis(
      tr("Curve Name and Units: the first 100 lines of the ASCII file. Click each line that holds curve "
         "names or units; another click unmarks it."));
  m_digitsList->setWhatsThis(
      tr("Curve Digits: a ruler that counts character positions, then the same lines. Click the first line "
         "of digits; the ruler itself cannot be chosen."));
  m_editButton->setWhatsThis(
      tr("Opens the ASCII file in the desktop's text editor. After saving it there, click Refresh Windows."));
  m_refreshButton->setWhatsThis(
      tr("Reads the ASCII file again into both windows. The marks are cleared; the boxes stay as they are."));
  m_proposeButton->setWhatsThis(
      tr("Looks at the lines shown and marks the heading lines and the first line of digits, and chooses "
         "the delimiter. Change anything you do not agree with."));
  m_curveTotalBox->setWhatsThis(
      tr("User-Defined Curve Total: 0 lets the first line of digits decide how many columns there are. A "
         "number from 1 to 100000 forces that many columns on every line."));
  m_fixedWidthBox->setWhatsThis(
      tr("Fixed Width: 0 cuts the lines at the delimiters. A number above 0 cuts every line into columns of "
         "that many characters."));
  m_skipWidthBox->setWhatsThis(
      tr("Skip Width: the number of characters dropped at the start of every data line before it is cut "
         "into columns."));
  m_delimiterBox->setWhatsThis(
      tr("Delimiter(s): what separates the columns when Fixed Width is 0: space (blanks), tab, or the "
         "delimiter characters themselves, such as , or ;."));
  m_nullValueBox->setWhatsThis(
      tr("Null Value Indicator: the value written into the LAS file for a missing or unreadable reading, "
         "usually -999.25."));
  m_decimalCommaBox->setWhatsThis(
      tr("Decimal comma: a comma inside a number is its decimal mark, as in 1500,125. Use it with the "
         "delimiter ; or tab."));
  m_quotesBox->setWhatsThis(
      tr("Quotes: fields in double quotes, as spreadsheets write them. The quotes are removed and a "
         "delimiter inside them belongs to the field."));
  m_emptyFieldsBox->setWhatsThis(
      tr("Empty fields: every delimiter separates, tab included, so two in a row leave an empty field, "
         "written as the null value."));
  m_nullMarkersBox->setWhatsThis(
      tr("Null markers: cells that stand for a missing reading, separated by |, such as -999|NaN|NA. They "
         "are written as the null value."));
  m_wholeCellsBox->setWhatsThis(
      tr("Whole cells: a cell must be a number from end to end; 12abc is then written as the null value, "
         "not as 12."));
  m_digitsBox->setWhatsThis(
      tr("Digits: 4 writes four decimals; source keeps every significant digit the file gives, with at least "
         "four decimals."));
  m_dateTimeBox->setWhatsThis(
      tr("Date-time column: the column of date-times, written as seconds since its first row under TIME in "
         "S; none for no such column."));
  // The spin box's own text box takes the clicks: it says the same.
  if (auto* text = m_dateTimeBox->findChild<QLineEdit*>()) text->setWhatsThis(m_dateTimeBox->whatsThis());

  auto* headerRow = new QHBoxLayout;
  headerRow->addWidget(MakeLabel(tr("Curve Name and Units:"), this));
  headerRow->addStretch(1);
  headerRow->addWidget(m_editButton);
  headerRow->addWidget(m_refreshButton);
  headerRow->addWidget(m_proposeButton);

  auto* boxes = new QGridLayout;
  boxes->setVerticalSpacing(1);
  boxes->addWidget(MakeLabel(tr("User-Defined Curve Total"), this, Qt::AlignRight), 0, 1);
  boxes->addWidget(MakeLabel(tr("Fixed Width"), this), 0, 2);
  boxes->addWidget(MakeLabel(tr("Skip Width"), this), 0, 3);
  boxes->addWidget(MakeLabel(tr("Delimiter(s)"), this), 0, 4);
  boxes->addWidget(MakeLabel(tr("Null Value Indicator"), this, Qt::AlignRight), 0, 5);
  boxes->addWidget(MakeLabel(tr("Curve Digits:"), this), 1, 0);
  boxes->addWidget(m_curveTotalBox, 1, 1, Qt::AlignRight);
  boxes->addWidget(m_fixedWidthBox, 1, 2);
  boxes->addWidget(m_skipWidthBox, 1, 3);
  boxes->addWidget(m_delimiterBox, 1, 4);
  boxes->addWidget(m_nullValueBox, 1, 5, Qt::AlignRight);
  boxes->setColumnStretch(6, 1);

  // How the cells are read: beside the layout boxes, on a row of their own.
  auto* readingRow = new QHBoxLayout;
  readingRow->addWidget(MakeLabel(tr("Reading:"), this));
  for (QWidget* box : {static_cast<QWidget*>(m_decimalCommaBox), static_cast<QWidget*>(m_quotesBox),
                       static_cast<QWidget*>(m_emptyFieldsBox), static_cast<QWidget*>(m_wholeCellsBox)})
    readingRow->addWidget(box);
  auto labelled = [this, readingRow](const QString& text, QWidget* box) {
    QLabel* label = MakeLabel(text, this, Qt::AlignRight);
    label->setBuddy(box);
    readingRow->addWidget(label);
    readingRow->addWidget(box);
  };
  labelled(tr("Null markers"), m_nullMarkersBox);
  labelled(tr("Digits"), m_digitsBox);
  labelled(tr("Date-time column"), m_dateTimeBox);
  readingRow->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(instruction);
  layout->addWidget(m_proposalLine);
  layout->addLayout(headerRow);
  layout->addWidget(m_headerList, 1);
  layout->addLayout(readingRow);
  layout->addLayout(boxes);
  layout->addWidget(m_digitsList, 2);

  setTabOrder(m_headerList, m_digitsList);
  setTabOrder(m_digitsList, m_editButton);
  setTabOrder(m_editButton, m_refreshButton);
  setTabOrder(m_refreshButton, m_proposeButton);
  setTabOrder(m_proposeButton, m_curveTotalBox);
  setTabOrder(m_curveTotalBox, m_fixedWidthBox);
  setTabOrder(m_fixedWidthBox, m_skipWidthBox);
  setTabOrder(m_skipWidthBox, m_delimiterBox);
  setTabOrder(m_delimiterBox, m_nullValueBox);
  setTabOrder(m_nullValueBox, m_decimalCommaBox);
  setTabOrder(m_decimalCommaBox, m_quotesBox);
  setTabOrder(m_quotesBox, m_emptyFieldsBox);
  setTabOrder(m_emptyFieldsBox, m_wholeCellsBox);
  setTabOrder(m_wholeCellsBox, m_nullMarkersBox);
  setTabOrder(m_nullMarkersBox, m_digitsBox);
  setTabOrder(m_digitsBox, m_dateTimeBox);

  const CConversionSetup& setup = Sheet().Setup();
  m_layout.nullValue = setup.nullValue;
  m_layout.delimiterText = setup.delimiterText;
  m_layout.userCurveTotal = setup.userCurveTotal;
  m_layout.fixedWidth = setup.fixedWidth;
  m_layout.skipWidth = setup.skipWidth;
  m_reading = setup.reading;
}

bool CStep2Page::OnSetActive() {
  // Back from Step 3 (or Next from Step 1 after a Back): the lists, their marks and
  // the boxes stay as they were, unless the ASCII file is another one now (chosen anew
  // on Step 1, or changed on disk): its old lines would only mislead.
  const bool shownBefore = !m_shownStamp.isEmpty();
  const bool fileChanged = shownBefore && FileStamp(Sheet().Setup().asciiFilePath) != m_shownStamp;
  if (Sheet().Mark() == MoveMark::Back && !fileChanged) return true;

  if (m_firstActivation) {
    m_headerList->setFont(Sheet().ListFont());
    m_digitsList->setFont(Sheet().ListFont());
    m_firstActivation = false;
  }
  {
    // The offer pumps the event queue while it converts: Step 1, with its file
    // button, must not stay on screen meanwhile.
    Sheet().ShowDuringActivation(*this);
    CWizardUnwrapPrompts prompts(this, Sheet().Services(), Sheet().Settings(),
                                 ToQString(Sheet().Setup().asciiFilePath));
    CJobGuard job(Sheet(), {m_editButton, m_refreshButton, m_proposeButton});
    OfferUnwrap(Sheet().Setup(), prompts, *m_progress);
  }
  FillLists();
  ShowLayout();
  if (!m_notText.isEmpty()) {
    // Its bytes shown as lines would only puzzle: say what the file is.
    Sheet().Services().MessageBox(this, tr("The ASCII file is not a text file."), QString(), Icon::Warning,
                                  Buttons::Ok, CWizardServices::Answer::Ok,
                                  ToQString(Sheet().Setup().asciiFilePath) + QStringLiteral(": ") +
                                      m_notText + tr(" Choose the text export of the log on Step 1."));
    return true;
  }
  // A new setup would cut every line into one column and lose the other curves
  // without a word: it starts from the detected layout instead, and from the new
  // file's layout when the file changed. A setup from a configuration file keeps its
  // layout as saved; its marks come from the first data line it stores, or, for a file
  // changed since it was shown, from the detection.
  if (!Sheet().LoadedFromFile()) {
    if (fileChanged)
      ProposeLayout(true);
    else if (LayoutUnchosen())
      ProposeLayout(false);
  } else if (fileChanged || Sheet().Setup().storedFirstDataLine >= 0) {
    ProposeMarks();
  }
  return true;
}

bool CStep2Page::LayoutUnchosen() const {
  const CConversionSetup& setup = Sheet().Setup();
  return m_layout.delimiterText.empty() && m_layout.fixedWidth == 0 && setup.headingsText.empty() &&
         setup.firstDigitLineIndex < 0;
}

void CStep2Page::ProposeLayout(bool onDemand) {
  const std::optional<CLayoutProposal> proposal = DetectLayoutInLines(m_headerRows);
  if (!proposal) {
    // On entry the reason is told only where the page is not empty: an empty file
    // says so itself.
    const bool tell = onDemand || !m_headerRows.empty();
    m_proposalLine->setText(tell ? tr("Nothing to propose: ") + ToQString(ExplainNoLayout(m_headerRows))
                                 : QString());
    return;
  }
  ShowMarks(proposal->headerLines, proposal->firstDigitLineIndex);
  ShowDelimiter(ToQString(proposal->delimiterText));
  // The reading choices from the data lines further down the file than those shown.
  CLayoutProposal proposed = *proposal;
  (void)ProposeReadingFromFile(Sheet().Setup().asciiFilePath, proposed);
  ShowReading(proposed.reading);
  // The columns were counted without widths.
  if (onDemand) {
    m_fixedWidthBox->setText(QStringLiteral("0"));
    m_skipWidthBox->setText(QStringLiteral("0"));
  }
  m_proposalLine->setText(ProposalText(proposed));
}

void CStep2Page::ShowMarks(const std::vector<int>& headerLines, int firstDigitLineIndex) {
  m_headerList->clearSelection();
  for (int line : headerLines) {
    if (QListWidgetItem* item = m_headerList->item(line)) item->setSelected(true);
  }
  if (!headerLines.empty())
    m_headerList->scrollToItem(m_headerList->item(headerLines.front()), QAbstractItemView::EnsureVisible);
  m_digitsList->clearSelection();
  if (QListWidgetItem* item = m_digitsList->item(firstDigitLineIndex + (m_hasRuler ? 1 : 0))) {
    m_digitsList->setCurrentItem(item);
    item->setSelected(true);
    m_digitsList->scrollToItem(item, QAbstractItemView::EnsureVisible);
  }
}

void CStep2Page::ProposeMarks() {
  // The marks only: the boxes show the configuration's layout, which cuts the lines.
  CConversionSetup layout = Sheet().Setup();
  layout.delimiterText = m_layout.delimiterText;
  layout.fixedWidth = m_layout.fixedWidth;
  layout.skipWidth = m_layout.skipWidth;
  layout.userCurveTotal = m_layout.userCurveTotal;
  layout.reading = m_reading;
  const CMarksProposal marks = corvane::ProposeMarks(m_headerRows, layout);
  if (marks.firstDigitLineIndex < 0) {
    m_proposalLine->setText(layout.storedFirstDataLine >= 0
                                ? tr("The configuration file stores line %1 as the first data line; the file "
                                     "has fewer lines shown.")
                                      .arg(layout.storedFirstDataLine + 1)
                                : tr("Nothing to mark: ") + ToQString(ExplainNoLayout(m_headerRows)));
    return;
  }
  ShowMarks(marks.headerLines, marks.firstDigitLineIndex);
  QString text = marks.stored ? tr("Marked: data from line %1, as the configuration file stores it")
                              : tr("Marked: data from line %1, as proposed for this file");
  text = text.arg(marks.firstDigitLineIndex + 1);
  if (!marks.headerLines.empty()) text += tr("; names and units on ") + LinesText(marks.headerLines);
  m_proposalLine->setText(text + tr("; the layout is the configuration's."));
}

void CStep2Page::OnPropose() { ProposeLayout(true); }

void CStep2Page::FillLists() {
  CWizardFeedback feedback(this, Sheet().Services());
  CAsciiPreview preview;
  preview.Load(Sheet().Setup().asciiFilePath, feedback);
  m_headerRows = preview.Lines();
  m_hasRuler = preview.HasRulerRow();
  m_shownStamp = FileStamp(Sheet().Setup().asciiFilePath);
  // What was proposed for the lines before is no longer marked.
  m_proposalLine->clear();
  CTextProbe probe;
  m_notText.clear();
  if (ProbeTextFile(Sheet().Setup().asciiFilePath, probe).Ok() && !probe.text) {
    m_notText = ToQString(probe.reason);
    m_proposalLine->setText(tr("Not a text file: ") + m_notText);
  }

  // Both lists scroll as far as the ruler reaches, drawn in the header list's font.
  const QFontMetrics metrics(m_headerList->font());
  int textWidth = metrics.horizontalAdvance(ToQString(preview.Ruler()));
  if (preview.Ruler().empty()) {
    // No ruler (the file could not be read to its end): keep the lines read readable.
    for (const std::string& line : m_headerRows)
      textWidth = std::max(textWidth, metrics.horizontalAdvance(ToQString(line)));
  }
  FillList(m_headerList, m_headerRows, textWidth);
  FillList(m_digitsList, preview.DigitRows(), textWidth);
}

void CStep2Page::ShowLayout() {
  const CAsciiPreview::CLayoutTexts texts = CAsciiPreview::FormatLayout(m_layout);
  m_curveTotalBox->setText(ToQString(texts.userCurveTotal));
  m_fixedWidthBox->setText(ToQString(texts.fixedWidth));
  m_skipWidthBox->setText(ToQString(texts.skipWidth));
  ShowDelimiter(ToQString(texts.delimiterText));
  m_nullValueBox->setText(ToQString(texts.nullValue));
  ShowReading(m_reading);
}

void CStep2Page::ShowReading(const CReadingOptions& reading) {
  m_decimalCommaBox->setChecked(reading.decimalComma);
  m_quotesBox->setChecked(reading.quotes);
  m_emptyFieldsBox->setChecked(reading.emptyFields);
  m_nullMarkersBox->setText(ToQString(JoinNullMarkers(reading.nullMarkers)));
  m_wholeCellsBox->setChecked(reading.wholeCells);
  m_digitsBox->setCurrentIndex(reading.digits == DigitsKept::Source ? 1 : 0);
  m_dateTimeBox->setValue(reading.dateTimeColumn);
}

CReadingOptions CStep2Page::ShownReading() const {
  CReadingOptions reading;
  reading.decimalComma = m_decimalCommaBox->isChecked();
  reading.quotes = m_quotesBox->isChecked();
  reading.emptyFields = m_emptyFieldsBox->isChecked();
  reading.nullMarkers = ParseNullMarkers(ToStdString(m_nullMarkersBox->text()));
  reading.wholeCells = m_wholeCellsBox->isChecked();
  reading.digits = m_digitsBox->currentIndex() == 1 ? DigitsKept::Source : DigitsKept::Four;
  reading.dateTimeColumn = m_dateTimeBox->value();
  return reading;
}

void CStep2Page::ShowSetupValues() { ShowLayout(); }

void CStep2Page::ShowDelimiter(const QString& text) {
  if (!text.isEmpty()) {
    for (int i = 0; i < m_delimiterBox->count(); ++i) {
      if (m_delimiterBox->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
        m_delimiterBox->setCurrentIndex(i);
        m_delimiterBox->setEditText(m_delimiterBox->itemText(i));
        return;
      }
    }
  }
  m_delimiterBox->setCurrentIndex(-1);
  m_delimiterBox->setEditText(text);
}

void CStep2Page::OnEditAsciiFile() {
  OpenInTextEditor(ToQString(Sheet().Setup().asciiFilePath), tr("No ASCII file is chosen."));
}

void CStep2Page::OnRefreshWindows() { FillLists(); }

bool CStep2Page::OnWizardBack() {
  Sheet().SetMoveMark(MoveMark::Back);
  return LeavePage();
}

bool CStep2Page::OnWizardNext() {
  std::vector<int> headerMarks;
  for (const QModelIndex& index : m_headerList->selectionModel()->selectedIndexes())
    headerMarks.push_back(index.row());
  std::sort(headerMarks.begin(), headerMarks.end());
  int digitRow = -1;
  const QModelIndexList digitMarks = m_digitsList->selectionModel()->selectedIndexes();
  if (!digitMarks.isEmpty()) digitRow = digitMarks.front().row();

  if (const auto refusal =
          CAsciiPreview::RecordMarking(headerMarks, digitRow, m_headerRows, Sheet().Setup())) {
    // With nothing to mark, the reason is the file, not the user.
    const QFileInfo file(ToQString(Sheet().Setup().asciiFilePath));
    const QString informative = file.isFile() && file.size() == 0 ? tr("The ASCII file is empty.")
                                : !m_notText.isEmpty() ? tr("The ASCII file is not a text file: ") + m_notText
                                                       : QString();
    Sheet().Services().MessageBox(this, ToQString(*refusal), QString(), Icon::None, Buttons::Ok,
                                  CWizardServices::Answer::Ok, informative);
    return false;
  }
  // A configuration that stores its first data line keeps storing the one marked.
  CConversionSetup& setup = Sheet().Setup();
  if (setup.storedFirstDataLine >= 0) setup.storedFirstDataLine = setup.firstDigitLineIndex;
  Sheet().SetMoveMark(MoveMark::Next);
  return LeavePage();
}

QWidget* CStep2Page::BoxOf(CAsciiPreview::LayoutBox box) const {
  switch (box) {
    case CAsciiPreview::LayoutBox::NullValue:
      return m_nullValueBox;
    case CAsciiPreview::LayoutBox::Delimiter:
      return m_delimiterBox;
    case CAsciiPreview::LayoutBox::CurveTotal:
      return m_curveTotalBox;
    case CAsciiPreview::LayoutBox::FixedWidth:
      return m_fixedWidthBox;
    case CAsciiPreview::LayoutBox::SkipWidth:
      return m_skipWidthBox;
  }
  return nullptr;
}

CAsciiPreview::CLayoutTexts CStep2Page::LayoutTexts() const {
  CAsciiPreview::CLayoutTexts texts;
  texts.nullValue = ToStdString(m_nullValueBox->text());
  texts.delimiterText = ToStdString(m_delimiterBox->currentText());
  texts.userCurveTotal = ToStdString(m_curveTotalBox->text());
  texts.fixedWidth = ToStdString(m_fixedWidthBox->text());
  texts.skipWidth = ToStdString(m_skipWidthBox->text());
  return texts;
}

bool CStep2Page::TakePending(CConversionSetup& setup) const {
  if (m_nullValueBox == nullptr) return false;
  CAsciiPreview::CLayoutValues values;
  if (CAsciiPreview::ParseLayout(LayoutTexts(), values)) return true;
  PutLayout(values, setup);
  setup.reading = ShownReading();
  return false;
}

void CStep2Page::PutLayout(const CAsciiPreview::CLayoutValues& values, CConversionSetup& setup) {
  setup.nullValue = values.nullValue;
  setup.delimiterText = values.delimiterText;
  setup.userCurveTotal = values.userCurveTotal;
  setup.fixedWidth = values.fixedWidth;
  setup.skipWidth = values.skipWidth;
}

bool CStep2Page::LeavePage() {
  const CAsciiPreview::CLayoutTexts texts = LayoutTexts();
  CAsciiPreview::CLayoutValues values;
  if (const auto error = CAsciiPreview::ParseLayout(texts, values)) {
    Sheet().Services().MessageBox(this, ToQString(error->message), QString(), Icon::None, Buttons::Ok,
                                  CWizardServices::Answer::Ok, ToQString(error->detail));
    QWidget* box = BoxOf(error->box);
    box->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
      edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(box);
               combo != nullptr && combo->lineEdit() != nullptr) {
      combo->lineEdit()->selectAll();
    }
    return false;
  }
  m_layout = values;
  PutLayout(values, Sheet().Setup());
  m_reading = ShownReading();
  Sheet().Setup().reading = m_reading;
  return true;
}

}  // namespace corvane
