#include "wizard/Step3Page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>
#include <utility>

#include "ascii/CurveProposal.h"
#include "ascii/DigitSamples.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/QtText.h"
#include "wizard/WizardFeedback.h"
#include "wizard/WizardServices.h"

namespace corvane {
namespace {

// Readings of each column in view without scrolling.
constexpr int kSampleRowsShown = 10;

// The setup's multi-line texts end their lines with CR LF; the boxes with "\n".
QString ToShownLines(const std::string& text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QPlainTextEdit* MakeReadOnlyTextBox(QWidget* parent, const QString& name) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Reachable by the mouse (to select and copy) but not a tab stop.
  box->setFocusPolicy(Qt::ClickFocus);
  return box;
}

QLabel* MakeRowLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

CStep3Page::CStep3Page(CCorvanePropSheet& sheet) : CWizardPage(sheet, QStringLiteral("Step 3")) {
  for (int i = 0; i < kSlots; ++i) m_labels[i] = QString::number(i + 1);
}

void CStep3Page::OnInitDialog() {
  BuildControls();
  m_headingsText = ToShownLines(Sheet().Setup().headingsText);
  ShowFields();
  Sheet().SetWizardButtons(true, true);
}

void CStep3Page::BuildControls() {
  auto* page = new QVBoxLayout(this);

  QGroupBox* instruction = MakeInstructionBox(
      {QStringLiteral(
           "1. Assign curve heading and units to each digit column. Use [<] or [>] to scroll across "
           "columns. As a shortcut, you can copy (Ctrl c) and paste (Ctrl v) text from the [Headings "
           "found in ASCII File] window to the appropriate Heading and Units boxes."),
       QStringLiteral(
           "2. One of the column headings must be DEPT for depth. Leave heading BLANK to skip curves.")},
      true);
  page->addWidget(instruction);

  // The marked header lines, with the column window buttons under their label.
  auto* headingsRow = new QHBoxLayout;
  auto* headingsSide = new QVBoxLayout;
  auto* headingsLabel = new QLabel(QStringLiteral("Headings found in ASCII File:"), this);
  headingsLabel->setAlignment(Qt::AlignCenter);
  headingsLabel->setWordWrap(true);
  headingsSide->addWidget(headingsLabel);
  auto* scrollButtons = new QHBoxLayout;
  m_previousButton = new QPushButton(QStringLiteral("<"), this);
  m_previousButton->setObjectName(QStringLiteral("previousColumns"));
  m_nextButton = new QPushButton(QStringLiteral(">"), this);
  m_nextButton->setObjectName(QStringLiteral("nextColumns"));
  for (QPushButton* button : {m_previousButton, m_nextButton}) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("<")) * 2 + 16);
    scrollButtons->addWidget(button);
  }
  scrollButtons->addStretch();
  headingsSide->addLayout(scrollButtons);
  headingsSide->addStretch();
  headingsRow->addLayout(headingsSide);
  m_headingsBox = MakeReadOnlyTextBox(this, QStringLiteral("headingsBox"));
  // The user may type here (to trim a line before copying it); the marked lines come
  // back on the next forward entry.
  m_headingsBox->setReadOnly(false);
  m_headingsBox->setTextInteractionFlags(Qt::TextEditorInteraction);
  // Room for a few marked lines; the digit samples get what is left.
  m_headingsBox->setFixedHeight(m_headingsBox->fontMetrics().lineSpacing() * 4 + 24);
  headingsRow->addWidget(m_headingsBox, 1);
  page->addLayout(headingsRow);

  // What the page proposed, and the button that proposes again.
  auto* proposalRow = new QHBoxLayout;
  m_proposalLine = new QLabel(this);
  m_proposalLine->setObjectName(QStringLiteral("proposal"));
  m_proposalLine->setWordWrap(true);
  m_proposalLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_proposeButton = new QPushButton(QStringLiteral("Propose"), this);
  m_proposeButton->setObjectName(QStringLiteral("propose"));
  m_proposeButton->setAutoDefault(false);
  m_proposeButton->setFocusPolicy(Qt::NoFocus);
  proposalRow->addWidget(m_proposalLine, 1);
  proposalRow->addWidget(m_proposeButton, 0, Qt::AlignTop);
  page->addLayout(proposalRow);
  connect(m_proposeButton, &QPushButton::clicked, this, &CStep3Page::OnPropose);
  connect(m_previousButton, &QPushButton::clicked, this, &CStep3Page::OnPreviousColumns);
  connect(m_nextButton, &QPushButton::clicked, this, &CStep3Page::OnNextColumns);

  // The grid: column 0 holds the row labels, columns 1 to 6 the slots.
  auto* grid = new QGridLayout;
  auto* totalCell = new QHBoxLayout;
  auto* totalLabel = new QLabel(QStringLiteral("Curve Total:"), this);
  m_curveTotalBox = new QLineEdit(this);
  m_curveTotalBox->setObjectName(QStringLiteral("curveTotal"));
  m_curveTotalBox->setReadOnly(true);
  m_curveTotalBox->setFocusPolicy(Qt::NoFocus);
  m_curveTotalBox->setFixedWidth(m_curveTotalBox->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                                 12);
  totalCell->addWidget(totalLabel);
  totalCell->addWidget(m_curveTotalBox);
  grid->addLayout(totalCell, 0, 0);
  grid->addWidget(MakeRowLabel(this, QStringLiteral("Heading:")), 1, 0);
  grid->addWidget(MakeRowLabel(this, QStringLiteral("Units:")), 2, 0);
  grid->addWidget(MakeRowLabel(this, QStringLiteral("API Code:")), 3, 0);
  grid->addWidget(MakeRowLabel(this, QStringLiteral("Description:")), 4, 0);
  auto* samplesLabel = MakeRowLabel(this, QStringLiteral("Digit  Samples:"));
  samplesLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
  grid->addWidget(samplesLabel, 5, 0);

  QWidget* previousInTabOrder = nullptr;
  for (int i = 0; i < kSlots; ++i) {
    const int column = i + 1;
    const QString suffix = QString::number(i + 1);
    m_labelBoxes[i] = new QLabel(this);
    m_labelBoxes[i]->setObjectName(QStringLiteral("columnLabel") + suffix);
    m_labelBoxes[i]->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_labelBoxes[i], 0, column);

    auto makeEdit = [&](const QString& name, int row) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(name + suffix);
      edit->setFocusPolicy(Qt::StrongFocus);
      grid->addWidget(edit, row, column);
      // Down each column, then on to the top of the next one.
      if (previousInTabOrder != nullptr) setTabOrder(previousInTabOrder, edit);
      previousInTabOrder = edit;
      return edit;
    };
    m_headingBoxes[i] = makeEdit(QStringLiteral("heading"), 1);
    m_unitsBoxes[i] = makeEdit(QStringLiteral("units"), 2);
    m_apiCodeBoxes[i] = makeEdit(QStringLiteral("apiCode"), 3);
    m_descriptionBoxes[i] = makeEdit(QStringLiteral("description"), 4);

    m_sampleBoxes[i] = MakeReadOnlyTextBox(this, QStringLiteral("samples") + suffix);
    // Ten readings in view at the least, below the box's frame, margins and scroll bar.
    QPlainTextEdit* samples = m_sampleBoxes[i];
    const int chrome = 2 * samples->frameWidth() + samples->horizontalScrollBar()->sizeHint().height() +
                       2 * qCeil(samples->document()->documentMargin());
    samples->setMinimumSize(60, samples->fontMetrics().lineSpacing() * kSampleRowsShown + chrome);
    grid->addWidget(m_sampleBoxes[i], 5, column);
    grid->setColumnStretch(column, 1);
  }
  grid->setRowStretch(5, 1);
  page->addLayout(grid, 1);

  // What's This: one or two sentences on each control (the manual's Step 3 page says the same).
  m_headingsBox->setWhatsThis(QStringLiteral(
      "Headings found in ASCII File: the lines you marked on Step 2. Copy names and units from here into "
      "the Heading and Units boxes."));
  m_previousButton->setWhatsThis(
      QStringLiteral("Shows the previous six columns. What you typed in the columns shown is kept."));
  m_nextButton->setWhatsThis(
      QStringLiteral("Shows the next six columns. What you typed in the columns shown is kept."));
  m_proposeButton->setWhatsThis(QStringLiteral(
      "Propose: names every curve from the heading lines you marked on Step 2 and the mnemonic dictionary: "
      "heading, units and description. It replaces what the boxes hold; API codes stay."));
  m_proposalLine->setWhatsThis(QStringLiteral(
      "What was proposed: the lines the names and units came from, which column is the index (DEPT), and "
      "what you may want to check."));
  m_curveTotalBox->setWhatsThis(QStringLiteral(
      "Curve Total: the number of columns found on the first line of digits, or the User-Defined Curve "
      "Total of Step 2."));
  for (int i = 0; i < kSlots; ++i) {
    m_headingBoxes[i]->setWhatsThis(QStringLiteral(
        "Heading: the LAS mnemonic of this column's curve, such as DEPT or GR. A column without a heading "
        "is not written to the LAS file."));
    m_unitsBoxes[i]->setWhatsThis(QStringLiteral(
        "Units: the units of this column's curve, such as M or GAPI. At least one curve needs both a "
        "heading and units."));
    m_apiCodeBoxes[i]->setWhatsThis(
        QStringLiteral("API Code: the API log code of this column's curve, if you have one."));
    m_descriptionBoxes[i]->setWhatsThis(
        QStringLiteral("Description: a free description of this column's curve, such as Gamma Ray."));
    m_sampleBoxes[i]->setWhatsThis(
        QStringLiteral("Digit Samples: the first readings of this column, to tell which column is which."));
  }
}

void CStep3Page::ShowFields() {
  if (m_headingsBox == nullptr) return;
  for (int i = 0; i < kSlots; ++i) {
    m_labelBoxes[i]->setText(m_labels[i]);
    const std::array<std::pair<QLineEdit*, const QString*>, 4> boxes = {
        {{m_headingBoxes[i], &m_headings[i]},
         {m_unitsBoxes[i], &m_units[i]},
         {m_apiCodeBoxes[i], &m_apiCodes[i]},
         {m_descriptionBoxes[i], &m_descriptions[i]}}};
    for (const auto& [box, text] : boxes) {
      box->setText(*text);
      box->setCursorPosition(0);  // a long description shows its beginning
    }
    m_sampleBoxes[i]->setPlainText(m_samples[i]);
  }
  m_curveTotalBox->setText(QString::number(m_curveTotal));
  m_headingsBox->setPlainText(m_headingsText);
}

void CStep3Page::TakeFields() {
  if (m_headingsBox == nullptr) return;
  // Labels, samples and the curve total are shown only. The headings box is taken
  // into the page alone, never into the setup.
  for (int i = 0; i < kSlots; ++i) {
    m_headings[i] = m_headingBoxes[i]->text();
    m_units[i] = m_unitsBoxes[i]->text();
    m_apiCodes[i] = m_apiCodeBoxes[i]->text();
    m_descriptions[i] = m_descriptionBoxes[i]->text();
  }
  m_headingsText = m_headingsBox->toPlainText();
}

void CStep3Page::FillSlots() {
  const CConversionSetup& setup = Sheet().Setup();
  const int total = setup.CurveTotal();
  for (int i = 0; i < kSlots; ++i) {
    const int k = m_firstVisible + i;
    if (k < total) {
      const CCurveDef none;
      const CCurveDef& curve = k < static_cast<int>(setup.curves.size()) ? setup.curves[k] : none;
      m_labels[i] = QString::number(k + 1);
      m_headings[i] = ToQString(curve.heading);
      m_units[i] = ToQString(curve.units);
      m_apiCodes[i] = ToQString(curve.apiCode);
      m_descriptions[i] = ToQString(curve.description);
      m_samples[i] = ToShownLines(setup.digitSamples[k]);
    } else {
      m_labels[i].clear();
      m_headings[i].clear();
      m_units[i].clear();
      m_apiCodes[i].clear();
      m_descriptions[i].clear();
      m_samples[i].clear();
    }
  }
}

void CStep3Page::StoreSlots() {
  StoreSlotsInto(Sheet().Setup(), m_headings, m_units, m_apiCodes, m_descriptions);
}

void CStep3Page::StoreSlotsInto(CConversionSetup& setup, const SlotTexts& headings, const SlotTexts& units,
                                const SlotTexts& apiCodes, const SlotTexts& descriptions) const {
  const int total = setup.CurveTotal();
  for (int i = 0; i < kSlots && m_firstVisible + i < total; ++i) {
    const std::size_t k = static_cast<std::size_t>(m_firstVisible) + static_cast<std::size_t>(i);
    if (setup.curves.size() <= k) setup.curves.resize(k + 1);
    CCurveDef& curve = setup.curves[k];
    curve.heading = ToStdString(headings[i]);
    curve.units = ToStdString(units[i]);
    curve.apiCode = ToStdString(apiCodes[i]);
    curve.description = ToStdString(descriptions[i]);
  }
}

bool CStep3Page::TakePending(CConversionSetup& setup) const {
  if (m_headingsBox == nullptr) return false;
  SlotTexts headings;
  SlotTexts units;
  SlotTexts apiCodes;
  SlotTexts descriptions;
  for (int i = 0; i < kSlots; ++i) {
    headings[i] = m_headingBoxes[i]->text();
    units[i] = m_unitsBoxes[i]->text();
    apiCodes[i] = m_apiCodeBoxes[i]->text();
    descriptions[i] = m_descriptionBoxes[i]->text();
  }
  StoreSlotsInto(setup, headings, units, apiCodes, descriptions);
  return false;
}

bool CStep3Page::OnSetActive() {
  EnsureCreated();
  // Back from Step 4: the page stays exactly as the user left it.
  if (Sheet().Mark() == MoveMark::Back) return true;
  if (!CWizardPage::OnSetActive()) return false;

  CConversionSetup& setup = Sheet().Setup();
  m_firstVisible = 0;
  CWizardFeedback feedback(this, Sheet().Services());
  const CResult gathered = CollectDigitSamples(setup, feedback);
  // A failed gathering leaves the total shown before. A file without a data line
  // has no columns to name, whatever total the layout forced.
  if (gathered.Ok()) m_curveTotal = setup.CurveTotal();
  // The curves of a configuration file, and what the user typed, are never replaced
  // unasked.
  if (gathered.Ok() && ProposesOnEntry()) {
    Propose(false);
  } else if (Sheet().LoadedFromFile()) {
    m_proposalLine->setText(QStringLiteral(
        "The curves are named as the configuration file names them; Propose names them from the "
        "heading lines."));
  } else {
    m_proposalLine->clear();
  }
  // Refilled also when gathering failed: the slots must never keep the texts of
  // columns 7 and beyond, which a later store would write into columns 1 to 6.
  FillSlots();
  m_headingsText = ToShownLines(setup.headingsText);
  ShowFields();
  return true;
}

bool CStep3Page::OnWizardNext() {
  TakeFields();
  StoreSlots();
  for (const CCurveDef& curve : Sheet().Setup().curves) {
    if (!curve.heading.empty() && !curve.units.empty()) {
      Sheet().SetMoveMark(MoveMark::Next);
      return true;
    }
  }
  Sheet().Services().MessageBox(
      this, QStringLiteral("You must choose at least one curve by specifying its heading and unit."),
      QString(), CWizardServices::Icon::None, CWizardServices::Buttons::Ok);
  return false;
}

bool CStep3Page::OnWizardBack() {
  // Back does not store the visible slots: the next forward entry refills them.
  Sheet().SetMoveMark(MoveMark::Back);
  return true;
}

void CStep3Page::ShowSetupValues() {
  if (IsCreated()) ShowFields();
}

void CStep3Page::OnPreviousColumns() {
  if (m_firstVisible < kSlots) return;
  TakeFields();
  StoreSlots();
  m_firstVisible -= kSlots;
  FillSlots();
  ShowFields();
}

bool CStep3Page::ProposesOnEntry() const {
  if (Sheet().LoadedFromFile()) return false;
  // Entries beyond the shorter list count when they hold something.
  const std::vector<CCurveDef>& curves = Sheet().Setup().curves;
  auto sameAs = [&curves](const std::vector<CCurveDef>& other) {
    const std::size_t common = std::min(curves.size(), other.size());
    const auto empty = [](const CCurveDef& curve) { return curve == CCurveDef{}; };
    return std::equal(curves.begin(), curves.begin() + static_cast<std::ptrdiff_t>(common), other.begin()) &&
           std::all_of(curves.begin() + static_cast<std::ptrdiff_t>(common), curves.end(), empty) &&
           std::all_of(other.begin() + static_cast<std::ptrdiff_t>(common), other.end(), empty);
  };
  return sameAs({}) || (!m_lastProposed.empty() && sameAs(m_lastProposed));
}

void CStep3Page::Propose(bool onDemand) {
  CConversionSetup& setup = Sheet().Setup();
  CCurveProposal proposal;
  // The dictionary is read anew, so that lines the user has just added count.
  const CMnemonicDictionary dictionary = CMnemonicDictionary::Load();
  (void)ProposeCurvesFor(setup, dictionary, proposal);
  QString account = ToQString(proposal.account);
  if (!dictionary.Problems().empty()) {
    account += QStringLiteral(" (%1 of your dictionary's lines skipped: see the tooltip)")
                   .arg(dictionary.Problems().size());
  }
  m_proposalLine->setText(account);
  QStringList problems;
  for (const std::string& problem : dictionary.Problems()) problems << ToQString(problem);
  m_proposalLine->setToolTip(problems.join(QLatin1Char('\n')));
  if (!proposal.Proposed()) return;

  if (setup.curves.size() < proposal.curves.size()) setup.curves.resize(proposal.curves.size());
  for (std::size_t k = 0; k < proposal.curves.size(); ++k) {
    const CProposedCurve& proposed = proposal.curves[k];
    CCurveDef& curve = setup.curves[k];
    // A column the file does not name keeps the name the user gave it.
    if (onDemand && !proposed.named && !curve.heading.empty()) continue;
    curve.heading = proposed.curve.heading;
    curve.units = proposed.curve.units;
    curve.description = proposed.curve.description;
  }
  m_lastProposed = setup.curves;
}

void CStep3Page::OnPropose() {
  TakeFields();
  StoreSlots();
  Propose(true);
  FillSlots();
  ShowFields();
}

void CStep3Page::OnNextColumns() {
  if (m_firstVisible + kSlots >= Sheet().Setup().CurveTotal()) return;
  TakeFields();
  StoreSlots();
  m_firstVisible += kSlots;
  FillSlots();
  ShowFields();
}

}  // namespace corvane
