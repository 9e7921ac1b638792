#include "wizard/Step4Page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "las/LasCreation.h"
#include "las/LasWriter.h"
#include "platform/FileSystem.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/HeaderCheck.h"
#include "wizard/LasCreationFeedback.h"
#include "wizard/ProgressDlg.h"
#include "wizard/QtText.h"
#include "wizard/WizardFeedback.h"
#include "wizard/WizardServices.h"

namespace corvane {
namespace {

// The other header text holds CR LF between its lines; the box holds "\n".
QString ToShownLines(const std::string& text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

std::string FromShownLines(QString text) {
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return ToStdString(text);
}

QLabel* MakeFieldLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QLineEdit* MakePathBox(QWidget* parent, const QString& name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  return box;
}

// Takes a path box's text; on an empty one moves the focus there with the text
// selected, which is all the user is told.
bool TakePath(QLineEdit* box, std::string& path) {
  path = ToStdString(box->text());
  if (!path.empty()) return true;
  box->setFocus(Qt::OtherFocusReason);
  box->selectAll();
  return false;
}

}  // namespace

CStep4Page::CStep4Page(CCorvanePropSheet& sheet)
    : CWizardPage(sheet, QStringLiteral("Step 4")), m_progress(std::make_unique<CProgressDlg>(this)) {}

CStep4Page::~CStep4Page() = default;

void CStep4Page::OnInitDialog() {
  BuildControls();
  ShowValues();
  Sheet().SetWizardButtons(true, false);
}

void CStep4Page::BuildControls() {
  auto* page = new QVBoxLayout(this);

  // One line each, as short as they are: wrapped labels would be squeezed when the
  // wizard is small.
  QGroupBox* instruction = MakeInstructionBox(
      {"1. Enter the API or UWI (Unique Well Identifier) to which the curves belong.",
       "2. You may optionally enter a well name.",
       "3. If necessary, click [Configuration File] to choose another file to save the curve configuration.",
       // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one instruction, two literals
       "4. Click [LAS File] to choose a file to store the LAS information. If the file exists, it will be "
       "overwritten.",
       "5. Click [Create LAS] to generate the LAS file based on the configuration built in the previous "
       "pages.",
       "6. Click [View LAS] to inspect the newly generated LAS file."},
      false);
  page->addWidget(instruction);

  auto* wellRow = new QHBoxLayout;
  m_wellLabelBox = new QComboBox(this);
  m_wellLabelBox->setObjectName(QStringLiteral("wellLabel"));
  m_wellLabelBox->setEditable(false);
  m_wellLabelBox->addItems({QStringLiteral("API"), QStringLiteral("UWI")});
  wellRow->addWidget(m_wellLabelBox);
  auto* colon = new QLabel(QStringLiteral(":"), this);
  colon->setAlignment(Qt::AlignCenter);
  wellRow->addWidget(colon);
  m_uwiBox = new QLineEdit(this);
  m_uwiBox->setObjectName(QStringLiteral("uwiValue"));
  wellRow->addWidget(m_uwiBox, 1);
  wellRow->addWidget(MakeFieldLabel(this, QStringLiteral("Well Name:")));
  m_wellNameBox = new QLineEdit(this);
  m_wellNameBox->setObjectName(QStringLiteral("wellName"));
  wellRow->addWidget(m_wellNameBox, 1);
  page->addLayout(wellRow);

  auto* countryRow = new QHBoxLayout;
  countryRow->addWidget(MakeFieldLabel(this, QStringLiteral("Country:")));
  m_countryBox = new QComboBox(this);
  m_countryBox->setObjectName(QStringLiteral("country"));
  m_countryBox->setEditable(true);
  // A typed country is taken exactly as typed: it never joins the list, and no
  // completion turns "Us" into "USA".
  m_countryBox->setInsertPolicy(QComboBox::NoInsert);
  m_countryBox->setCompleter(nullptr);
  m_countryBox->addItems(
      {QStringLiteral("Canada"), QStringLiteral("USA"), QStringLiteral("UK"), QStringLiteral("Other")});
  m_countryBox->model()->sort(0);
  m_countryBox->setMinimumWidth(m_countryBox->fontMetrics().horizontalAdvance(QStringLiteral("Canada")) * 2);
  countryRow->addWidget(m_countryBox);
  countryRow->addWidget(MakeFieldLabel(this, QStringLiteral("Log Date:")));
  m_logDateBox = new QLineEdit(this);
  m_logDateBox->setObjectName(QStringLiteral("logDate"));
  countryRow->addWidget(m_logDateBox);
  countryRow->addStretch(1);
  page->addLayout(countryRow);

  page->addWidget(
      new QLabel(QStringLiteral("Other Header Details: Format - MNEM.UNIT:Data Type:Information"), this));
  m_otherHeaderBox = new QPlainTextEdit(this);
  m_otherHeaderBox->setObjectName(QStringLiteral("otherHeader"));
  // Long lines wrap on screen only; the lines the user ends are the header lines.
  m_otherHeaderBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  m_otherHeaderBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_otherHeaderBox->setTabChangesFocus(true);
  m_otherHeaderBox->setMinimumHeight(m_otherHeaderBox->fontMetrics().lineSpacing() * 3 + 12);
  page->addWidget(m_otherHeaderBox, 1);

  // Said before the run, changed only by the user: the lines are added on request.
  auto* headerCheckRow = new QHBoxLayout;
  m_headerCheckLabel = new QLabel(this);
  m_headerCheckLabel->setObjectName(QStringLiteral("headerCheck"));
  m_headerCheckLabel->setWordWrap(true);
  m_templateButton = new QPushButton(QStringLiteral("Add Template Lines"), this);
  m_templateButton->setObjectName(QStringLiteral("addTemplateLines"));
  m_templateButton->setAutoDefault(false);
  headerCheckRow->addWidget(m_headerCheckLabel, 1);
  headerCheckRow->addWidget(m_templateButton, 0, Qt::AlignTop);
  page->addLayout(headerCheckRow);

  auto* files = new QGridLayout;
  m_configButton = new QPushButton(QStringLiteral("Configuration File:"), this);
  m_configBox = MakePathBox(this, QStringLiteral("configFile"));
  m_asciiBox = MakePathBox(this, QStringLiteral("asciiFile"));
  m_lasButton = new QPushButton(QStringLiteral("LAS File:"), this);
  m_lasBox = MakePathBox(this, QStringLiteral("lasFile"));
  m_inverseBox = new QCheckBox(QStringLiteral("Inverse Depths"), this);
  m_inverseBox->setObjectName(QStringLiteral("inverseDepths"));
  m_createButton = new QPushButton(QStringLiteral("Create LAS"), this);
  m_viewButton = new QPushButton(QStringLiteral("View LAS"), this);
  m_plotButton = new QPushButton(QStringLiteral("Plot LAS"), this);
  for (QPushButton* button : {m_configButton, m_lasButton, m_createButton, m_viewButton, m_plotButton})
    button->setAutoDefault(false);
  files->addWidget(m_configButton, 0, 0);
  files->addWidget(m_configBox, 0, 1, 1, 2);
  files->addWidget(MakeFieldLabel(this, QStringLiteral("ASCII File:")), 1, 0);
  files->addWidget(m_asciiBox, 1, 1, 1, 2);
  files->addWidget(m_createButton, 1, 3);
  files->addWidget(m_lasButton, 2, 0);
  files->addWidget(m_lasBox, 2, 1);
  files->addWidget(m_inverseBox, 2, 2);
  files->addWidget(m_viewButton, 2, 3);
  files->addWidget(m_plotButton, 2, 4);
  files->setColumnStretch(1, 1);
  page->addLayout(files);

  // What's This: one or two sentences on each control (the manual's Step 4 page says the same).
  m_wellLabelBox->setWhatsThis(QStringLiteral(
      "Says whether the identifier beside it is an API number or a UWI (Unique Well Identifier); it names "
      "that line of the LAS ~Well section."));
  m_uwiBox->setWhatsThis(
      QStringLiteral("The well's API number or Unique Well Identifier, as the box before it says."));
  m_wellNameBox->setWhatsThis(
      QStringLiteral("Well Name: the well's name in the LAS ~Well section; optional."));
  m_countryBox->setWhatsThis(QStringLiteral(
      "Country: pick one or type your own. It is kept in the configuration file only, not written into "
      "the LAS file."));
  m_logDateBox->setWhatsThis(QStringLiteral("Log Date: the date of the log, as free text."));
  m_otherHeaderBox->setWhatsThis(
      QStringLiteral("Other Header Details: further header lines, one per line, in the form "
                     "MNEM.UNIT:Data Type:Information. A line too long for the box stays one header line."));
  m_headerCheckLabel->setWhatsThis(QStringLiteral(
      "Names the well items that the LAS standard requires and the ~Well section would lack, from the boxes "
      "above as they stand, and says when no curve is headed DEPT or DEPTH."));
  m_templateButton->setWhatsThis(QStringLiteral(
      "Add Template Lines: adds a line for each missing well item to Other Header Details, with a blank "
      "value to type over."));
  m_configButton->setWhatsThis(QStringLiteral(
      "Chooses the configuration file (.lah) that the setup is saved to when the LAS file is created."));
  m_configBox->setWhatsThis(QStringLiteral("The configuration file that the setup is saved to."));
  m_asciiBox->setWhatsThis(QStringLiteral("The ASCII file chosen on Step 1."));
  m_lasButton->setWhatsThis(
      QStringLiteral("Chooses the LAS file to write. An existing file is overwritten."));
  m_lasBox->setWhatsThis(QStringLiteral("The LAS file that Create LAS writes."));
  m_inverseBox->setWhatsThis(QStringLiteral(
      "Inverse Depths: writes the data lines in reverse order, for example to turn a log recorded upwards "
      "into one that runs downwards."));
  m_createButton->setWhatsThis(QStringLiteral(
      "Saves the setup to the configuration file, then writes the LAS file; Cancel in the progress window "
      "stops the run."));
  m_viewButton->setWhatsThis(QStringLiteral("Opens the LAS file in the desktop's text editor."));
  m_plotButton->setWhatsThis(
      QStringLiteral("Closes the wizard and shows the LAS file's logs in the main window's LAS window."));

  connect(m_configButton, &QPushButton::clicked, this, &CStep4Page::OnConfigFile);
  connect(m_lasButton, &QPushButton::clicked, this, &CStep4Page::OnLasFile);
  connect(m_createButton, &QPushButton::clicked, this, &CStep4Page::OnCreateLas);
  connect(m_viewButton, &QPushButton::clicked, this, &CStep4Page::OnViewLas);
  connect(m_plotButton, &QPushButton::clicked, this, &CStep4Page::OnPlotLas);

  connect(m_templateButton, &QPushButton::clicked, this, &CStep4Page::OnAddTemplateLines);
  for (QLineEdit* box : {m_uwiBox, m_wellNameBox, m_logDateBox})
    connect(box, &QLineEdit::textChanged, this, &CStep4Page::UpdateHeaderCheck);
  connect(m_wellLabelBox, &QComboBox::currentIndexChanged, this, &CStep4Page::UpdateHeaderCheck);
  connect(m_otherHeaderBox, &QPlainTextEdit::textChanged, this, &CStep4Page::UpdateHeaderCheck);
}

void CStep4Page::ShowValues() {
  if (m_wellLabelBox == nullptr) return;
  const CConversionSetup& setup = Sheet().Setup();
  m_inverseBox->setChecked(m_inverseDepths);

  // A drop list can only show one of its items: the first one that the label begins with.
  const QString label = ToQString(setup.wellLabel);
  m_wellLabelBox->setCurrentIndex(label.isEmpty() ? -1
                                                  : m_wellLabelBox->findText(label, Qt::MatchStartsWith));

  m_uwiBox->setText(ToQString(setup.uwiValue));
  m_wellNameBox->setText(ToQString(setup.wellName));

  const QString country = ToQString(setup.country);
  const int countryItem = m_countryBox->findText(country, Qt::MatchExactly | Qt::MatchCaseSensitive);
  m_countryBox->setCurrentIndex(countryItem);
  if (countryItem < 0) m_countryBox->setEditText(country);

  m_logDateBox->setText(ToQString(setup.logDate));
  m_otherHeaderBox->setPlainText(ToShownLines(setup.otherHeaderText));
  m_configBox->setText(ToQString(setup.configFilePath));
  m_lasBox->setText(ToQString(setup.lasFilePath));
  m_asciiBox->setText(ToQString(setup.asciiFilePath));
  UpdateHeaderCheck();  // the curves may have changed on Step 3
}

void CStep4Page::TakeWellDetails(CConversionSetup& setup) const {
  setup.wellLabel = ToStdString(m_wellLabelBox->currentText());
  setup.uwiValue = ToStdString(m_uwiBox->text());
  setup.wellName = ToStdString(m_wellNameBox->text());
  setup.country = ToStdString(m_countryBox->currentText());
  setup.logDate = ToStdString(m_logDateBox->text());
  setup.otherHeaderText = FromShownLines(m_otherHeaderBox->toPlainText());
}

bool CStep4Page::TakePending(CConversionSetup& setup) const {
  if (m_wellLabelBox != nullptr) TakeWellDetails(setup);
  return false;
}

bool CStep4Page::TakeValues() {
  if (m_wellLabelBox == nullptr) return true;
  CConversionSetup& setup = Sheet().Setup();
  m_inverseDepths = m_inverseBox->isChecked();
  TakeWellDetails(setup);
  return TakePath(m_configBox, setup.configFilePath) && TakePath(m_lasBox, setup.lasFilePath) &&
         TakePath(m_asciiBox, setup.asciiFilePath);
}

bool CStep4Page::OnSetActive() {
  EnsureCreated();
  if (Sheet().Mark() == MoveMark::Back) return true;
  if (!CWizardPage::OnSetActive()) return false;
  ProposeFileNames();
  ShowValues();
  return true;
}

void CStep4Page::ProposeFileNames() {
  // A configuration file names its files as the user chose them.
  if (Sheet().LoadedFromFile()) return;
  CConversionSetup& setup = Sheet().Setup();
  if (setup.asciiFilePath.empty()) return;
  const QFileInfo ascii(ToQString(setup.asciiFilePath));
  const QString base = ascii.absolutePath() + QLatin1Char('/') + ascii.completeBaseName();
  auto propose = [&setup](std::string& path, std::string& proposed, const QString& name) {
    // What the user chose stays.
    if (!path.empty() && path != proposed) return;
    const std::string wanted = ToStdString(name);
    if (!path.empty() && path == wanted) return;  // the same proposal, its file perhaps made since
    // An existing file is replaced only when the user chooses it (the dialog asks first);
    // the ASCII file never.
    const bool free = !QFileInfo::exists(name) && !SameFileOrPath(wanted, setup.asciiFilePath);
    path = free ? wanted : std::string();
    proposed = path;
  };
  propose(setup.configFilePath, m_proposedConfig, base + QStringLiteral(".lah"));
  propose(setup.lasFilePath, m_proposedLas, base + QStringLiteral(".las"));
}

void CStep4Page::SayWhichBoxIsEmpty() {
  const CConversionSetup& setup = Sheet().Setup();
  QString text;
  QLineEdit* box = nullptr;
  if (setup.configFilePath.empty()) {
    text = tr("No configuration file is chosen: click Configuration File: to choose one.");
    box = m_configBox;
  } else if (setup.lasFilePath.empty()) {
    text = tr("No LAS file is chosen: click LAS File: to choose one.");
    box = m_lasBox;
  } else if (setup.asciiFilePath.empty()) {
    text = tr("No ASCII file is chosen: go back to Step 1 to choose one.");
    box = m_asciiBox;
  }
  if (box == nullptr) return;
  Sheet().Services().MessageBox(this, text, QString(), CWizardServices::Icon::None,
                                CWizardServices::Buttons::Ok);
  // The box keeps the focus the refusal gave it.
  box->setFocus(Qt::OtherFocusReason);
  box->selectAll();
}

bool CStep4Page::OnWizardBack() {
  if (!TakeValues()) return false;
  Sheet().SetMoveMark(MoveMark::Back);
  return true;
}

void CStep4Page::ShowSetupValues() {
  if (IsCreated()) ShowValues();
}

void CStep4Page::OnConfigFile() {
  TakeValues();  // an empty path does not stop the choice of a file
  const CConversionSetup& setup = Sheet().Setup();
  const QString path = Sheet().Services().GetSaveFileName(
      this, QStringLiteral("Create New Configuration File"), QStringLiteral("LAH files (*.lah)"),
      Sheet().Settings().InitialName({ToQString(setup.configFilePath), ToQString(setup.asciiFilePath)},
                                     QStringLiteral("*.lah")),
      QStringLiteral("lah"), true);
  if (path.isEmpty()) return;
  Sheet().Settings().RememberFolderOf(path);
  CConversionSetup chosen = setup;
  chosen.configFilePath = ToStdString(path);
  if (RefusedAsDataFile(chosen)) return;
  Sheet().Setup().configFilePath = chosen.configFilePath;
  ShowValues();
}

bool CStep4Page::RefusedAsDataFile(const CConversionSetup& chosen) {
  // A configuration saved into the ASCII or LAS file would add its text to the data.
  if (!ConfigurationIsDataFile(chosen)) return false;
  Sheet().Services().MessageBox(this, QString::fromLatin1(kConfigurationIsDataFileMessage), QString(),
                                CWizardServices::Icon::None, CWizardServices::Buttons::Ok);
  return true;
}

void CStep4Page::OnLasFile() {
  TakeValues();
  const CConversionSetup& setup = Sheet().Setup();
  const QString path = Sheet().Services().GetSaveFileName(
      this, QStringLiteral("Create New LAS File"), QStringLiteral("LAS files (*.las)"),
      Sheet().Settings().InitialName({ToQString(setup.lasFilePath), ToQString(setup.asciiFilePath)},
                                     QStringLiteral("*.las")),
      QStringLiteral("las"), true);
  if (path.isEmpty()) return;
  Sheet().Settings().RememberFolderOf(path);
  CConversionSetup chosen = setup;
  chosen.lasFilePath = ToStdString(path);
  if (RefusedAsDataFile(chosen)) return;
  Sheet().Setup().lasFilePath = chosen.lasFilePath;
  ShowValues();
}

void CStep4Page::SetRunning(bool running) {
  m_running = running;
  Sheet().SetJobRunning(running);
  for (QPushButton* button : {m_configButton, m_lasButton, m_createButton, m_viewButton, m_plotButton})
    button->setEnabled(!running);
}

void CStep4Page::OnCreateLas() {
  if (m_running) return;
  if (!TakeValues()) {
    SayWhichBoxIsEmpty();
    return;
  }
  CConversionSetup& setup = Sheet().Setup();

  // The run serves the event queue once per line; until it has closed its display
  // nothing may leave the page or start it again.
  struct CRunningScope {
    CStep4Page& page;
    explicit CRunningScope(CStep4Page& p) : page(p) { page.SetRunning(true); }
    ~CRunningScope() { page.SetRunning(false); }
  } running(*this);

  // The closing notice carries the check of the file written, which a long file shows
  // in the progress dialog of the run.
  CLasCreationFeedback feedback(this, Sheet().Services(), setup.lasFilePath, m_progress.get());
  CCorvanePropSheet& sheet = Sheet();
  // The logical lines typed by the user: a long detail stays one header line
  // however the box wraps it.
  const std::vector<std::string> otherHeaderLines = SplitTextLines(setup.otherHeaderText);
  // Every outcome has been shown to the user by the run itself; the reading summary
  // is in the facts by the time the closing notice is shown.
  CLasCreationFacts facts;
  feedback.ShowReading(&facts.reading);
  (void)CreateLas(
      setup, m_inverseDepths, otherHeaderLines, *m_progress, feedback, [&sheet] { return sheet.Save(); },
      &facts);
}

CConversionSetup CStep4Page::ShownWellDetails() const {
  CConversionSetup details;
  details.wellLabel = ToStdString(m_wellLabelBox->currentText());
  details.uwiValue = ToStdString(m_uwiBox->text());
  details.wellName = ToStdString(m_wellNameBox->text());
  details.logDate = ToStdString(m_logDateBox->text());
  return details;
}

std::vector<std::string> CStep4Page::ShownOtherHeaderLines() const {
  return SplitTextLines(FromShownLines(m_otherHeaderBox->toPlainText()));
}

void CStep4Page::UpdateHeaderCheck() {
  if (m_headerCheckLabel == nullptr) return;
  const CConversionSetup details = ShownWellDetails();
  const auto lacked = LackedWellItems(details, ShownOtherHeaderLines());
  const bool depthCurve = CLasWriter::FindDepthColumn(Sheet().Setup()) >= 0;
  m_headerCheckLabel->setText(HeaderCheckText(lacked, details.wellLabel, depthCurve,
                                              BlankWellItems(details, ShownOtherHeaderLines())));
  m_templateButton->setEnabled(!lacked.empty());
}

void CStep4Page::OnAddTemplateLines() {
  const CConversionSetup details = ShownWellDetails();
  const QStringList lines =
      WellItemTemplates(LackedWellItems(details, ShownOtherHeaderLines()), details.wellLabel);
  if (lines.isEmpty()) return;
  // One edit at the end of the box, which Undo takes back as a whole.
  QTextCursor cursor(m_otherHeaderBox->document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  const QString text = m_otherHeaderBox->toPlainText();
  if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) cursor.insertText(QStringLiteral("\n"));
  const int first = cursor.position();
  cursor.insertText(lines.join(QLatin1Char('\n')));
  cursor.endEditBlock();
  // The blank value of the first new line is selected, ready to be typed over.
  const int value = first + static_cast<int>(lines.front().indexOf(QLatin1Char(':'))) + 1;
  cursor.setPosition(value);
  cursor.setPosition(value + 1, QTextCursor::KeepAnchor);
  m_otherHeaderBox->setTextCursor(cursor);
  m_otherHeaderBox->setFocus(Qt::OtherFocusReason);
}

void CStep4Page::OnViewLas() {
  // The file as the setup names it: the boxes are not taken first.
  OpenInTextEditor(ToQString(Sheet().Setup().lasFilePath),
                   tr("No LAS file is chosen yet: click LAS File: to choose one."));
}

void CStep4Page::OnPlotLas() {
  // The file as the setup names it, like View LAS. The plot opens in the main window,
  // which waits while the wizard runs: the wizard closes, as by Exit.
  const QString path = ToQString(Sheet().Setup().lasFilePath);
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    Sheet().Services().MessageBox(
        this, QStringLiteral("There is no LAS file to plot yet: click Create LAS first."), QString(),
        CWizardServices::Icon::Information, CWizardServices::Buttons::Ok);
    return;
  }
  m_plotRequest = path;
  // Unsaved changes are discarded only when the user says so; kept, the wizard stays.
  if (!Sheet().RequestClose()) m_plotRequest.clear();
}

}  // namespace corvane
