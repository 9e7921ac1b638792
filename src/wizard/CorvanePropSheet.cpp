#include "wizard/CorvanePropSheet.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cmath>

#include "platform/ProgramInfo.h"
#include "setup/Configuration.h"
#include "wizard/QtText.h"
#include "wizard/Step1Page.h"
#include "wizard/Step2Page.h"
#include "wizard/Step3Page.h"
#include "wizard/Step4Page.h"

namespace corvane {
namespace {

constexpr int kPageCount = 4;

// Gives the focus to the first control of the page that takes it from the Tab key.
void FocusFirstControl(QWidget* page) {
  for (QWidget* w = page->nextInFocusChain(); w != nullptr && w != page; w = w->nextInFocusChain()) {
    if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
        w->isVisibleTo(page)) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

}  // namespace

CCorvanePropSheet::CCorvanePropSheet(QWidget* parent, CWizardServices* services)
    : QDialog(parent), m_services(services) {
  if (m_services == nullptr) {
    m_ownedServices = std::make_unique<CQtWizardServices>();
    m_services = m_ownedServices.get();
  }
  setWindowTitle(QString::fromLatin1(kAppTitle));
  setSizeGripEnabled(true);
  // The title bar's "?" starts What's This, as Shift+F1 does.
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);

  // 8 points of the screen's vertical resolution; Courier, or the closest
  // fixed-pitch face the desktop has.
  m_listFont = QFont(QStringLiteral("Courier"));
  m_listFont.setStyleHint(QFont::TypeWriter);
  m_listFont.setFixedPitch(true);
  m_listFont.setWeight(QFont::Normal);
  m_listFont.setItalic(false);
  m_listFont.setUnderline(false);
  m_listFont.setStrikeOut(false);
  m_listFont.setPixelSize(static_cast<int>(std::lround(8.0 * logicalDpiY() / 72.0)));

  m_stack = new QStackedWidget(this);
  m_step1 = new CStep1Page(*this);
  m_step2 = new CStep2Page(*this);
  m_step3 = new CStep3Page(*this);
  m_step4 = new CStep4Page(*this);
  for (CWizardPage* page : {static_cast<CWizardPage*>(m_step1), static_cast<CWizardPage*>(m_step2),
                            static_cast<CWizardPage*>(m_step3), static_cast<CWizardPage*>(m_step4)}) {
    m_stack->addWidget(page);
  }
  m_stack->setCurrentIndex(0);

  m_back = new QPushButton(tr("< Back"), this);
  m_next = new QPushButton(tr("Next >"), this);
  m_saveExit = new QPushButton(tr("Save && Exit"), this);
  m_exit = new QPushButton(tr("Exit"), this);
  m_help = new QPushButton(tr("Help"), this);
  m_back->setObjectName(QStringLiteral("back"));
  m_next->setObjectName(QStringLiteral("next"));
  m_saveExit->setObjectName(QStringLiteral("saveExit"));
  m_exit->setObjectName(QStringLiteral("exit"));
  m_help->setObjectName(QStringLiteral("help"));
  m_next->setDefault(true);

  connect(m_back, &QPushButton::clicked, this, &CCorvanePropSheet::GoBack);
  connect(m_next, &QPushButton::clicked, this, &CCorvanePropSheet::GoNext);
  connect(m_exit, &QPushButton::clicked, this, &CCorvanePropSheet::reject);
  connect(m_saveExit, &QPushButton::clicked, this, &CCorvanePropSheet::SaveAndExit);
  connect(m_help, &QPushButton::clicked, this, [this] {
    if (CWizardPage* page = CurrentPage()) page->RequestHelp();
  });

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_back);
  buttons->addWidget(m_next);
  buttons->addSpacing(12);
  buttons->addWidget(m_saveExit);
  buttons->addWidget(m_exit);
  buttons->addWidget(m_help);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_stack, 1);
  layout->addWidget(line);
  layout->addLayout(buttons);

  ApplyButtonStates();
  resize(620, 470);
}

CCorvanePropSheet::~CCorvanePropSheet() {
  // The pages go first: they may still reach the setup and the services while they go.
  delete m_stack;
  m_stack = nullptr;
}

int CCorvanePropSheet::CurrentIndex() const { return m_stack != nullptr ? m_stack->currentIndex() : -1; }

CWizardPage* CCorvanePropSheet::CurrentPage() const {
  return m_stack != nullptr ? qobject_cast<CWizardPage*>(m_stack->currentWidget()) : nullptr;
}

CWizardPage* CCorvanePropSheet::PageAt(int index) const {
  switch (index) {
    case 0:
      return m_step1;
    case 1:
      return m_step2;
    case 2:
      return m_step3;
    case 3:
      return m_step4;
    default:
      return nullptr;
  }
}

void CCorvanePropSheet::ShowDuringActivation(CWizardPage& page) { m_stack->setCurrentWidget(&page); }

void CCorvanePropSheet::SetWizardButtons(bool back, bool next) {
  m_wantBack = back;
  m_wantNext = next;
  ApplyButtonStates();
}

void CCorvanePropSheet::ApplyButtonStates() {
  m_back->setEnabled(m_wantBack && !m_jobRunning);
  m_next->setEnabled(m_wantNext && !m_jobRunning);
  m_exit->setEnabled(!m_jobRunning);
  m_saveExit->setEnabled(!m_jobRunning);
}

void CCorvanePropSheet::SetJobRunning(bool running) {
  m_jobRunning = running;
  ApplyButtonStates();
}

CResult CCorvanePropSheet::Save() {
  if (m_setup.configFilePath.empty()) return CResult::Done();
  // Saving into the ASCII or LAS file would append the setup's text to it.
  if (ConfigurationIsDataFile(m_setup)) {
    m_services->MessageBox(this, QString::fromLatin1(kConfigurationIsDataFileMessage), QString(),
                           CWizardServices::Icon::None, CWizardServices::Buttons::Ok);
    return CResult::Failed(m_setup.configFilePath + ": the configuration file is the ASCII or the LAS file");
  }
  for (int i = 0; i < kPageCount; ++i) {
    CWizardPage* page = PageAt(i);
    if (page->IsCreated()) page->ShowSetupValues();
  }
  CResult saved = SaveConfiguration(m_setup);
  if (saved.Ok()) m_savedText = ConfigurationText(m_setup);
  return saved;
}

bool CCorvanePropSheet::HasUnsavedChanges() const {
  CConversionSetup shown = m_setup;
  if (const CWizardPage* page = CurrentPage();
      page != nullptr && page->IsCreated() && page->TakePending(shown))
    return true;
  return ConfigurationText(shown) != m_savedText;
}

bool CCorvanePropSheet::RequestClose() {
  return RequestClose(
      tr("They are not saved in a configuration file: Save & Exit saves them, and so does Create LAS."));
}

bool CCorvanePropSheet::RequestClose(const QString& why) {
  if (m_jobRunning) return false;
  if (m_windowCreated && HasUnsavedChanges()) {
    const auto answer = m_services->MessageBox(
        this, tr("Discard the changes to this setup?"), QString(), CWizardServices::Icon::Question,
        CWizardServices::Buttons::YesNo, CWizardServices::Answer::No, why);
    if (answer != CWizardServices::Answer::Yes) return false;
  }
  QDialog::reject();
  return true;
}

void CCorvanePropSheet::SaveAndExit() {
  if (m_jobRunning) return;
  // Nowhere to save to: the wizard closes, but changes are not dropped without a word.
  if (m_setup.configFilePath.empty()) {
    (void)RequestClose(
        tr("No configuration file is chosen to save them in: choose one with Configuration "
           "File: on Step 4."));
    return;
  }
  const auto answer = m_services->MessageBox(
      this, tr("Do you wish to save the current setup to the specified configuration file?"),
      tr("System Message"), CWizardServices::Icon::Question, CWizardServices::Buttons::YesNoCancel,
      CWizardServices::Answer::Cancel);
  if (answer == CWizardServices::Answer::Cancel) return;
  if (answer == CWizardServices::Answer::Yes) {
    // A setup that could not be saved is not given up by closing the wizard.
    const CResult saved = Save();
    if (saved.IsFailed()) {
      if (!ConfigurationIsDataFile(m_setup))
        m_services->MessageBox(this, QStringLiteral("Failed to save configuration file."), QString(),
                               CWizardServices::Icon::Error, CWizardServices::Buttons::Ok,
                               CWizardServices::Answer::Ok, QString::fromStdString(saved.Reason()));
      return;
    }
  }
  done(QDialog::Accepted);
}

void CCorvanePropSheet::setVisible(bool visible) {
  if (visible && !m_windowCreated) {
    m_windowCreated = true;
    OnWindowCreated();
    m_savedText = ConfigurationText(m_setup);
    ShowPage(0, true);
    if (!m_settings.RestoreGeometry(*this, QStringLiteral("Wizard"))) resize(DefaultSize());
  }
  QDialog::setVisible(visible);
}

QSize CCorvanePropSheet::DefaultSize() const {
  // The pages build their controls only when first shown; a wizard that is never
  // shown builds them all at once, and its layout says what they need together.
  CCorvanePropSheet probe(nullptr, m_services);
  for (int i = 0; i < kPageCount; ++i) probe.PageAt(i)->EnsureCreated();
  probe.layout()->activate();
  const QSize needed = probe.minimumSizeHint().expandedTo(probe.size());
  // Some room beyond the least, for Step 2's lists, as far as the screen allows.
  QSize size = needed + QSize(needed.width() / 10, needed.height() / 6);
  if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableSize());
  return size.expandedTo(needed);
}

void CCorvanePropSheet::done(int result) {
  m_settings.SaveGeometry(*this, QStringLiteral("Wizard"));
  QDialog::done(result);
}

void CCorvanePropSheet::OnWindowCreated() {
  if (m_setup.configFilePath.empty()) return;
  const CResult loaded = LoadConfiguration(m_setup);
  if (loaded.Ok()) {
    m_loadedFromFile = true;
    return;
  }
  m_services->MessageBox(this, tr("Unrecognized Configuration File."), QString(), CWizardServices::Icon::None,
                         CWizardServices::Buttons::Ok, CWizardServices::Answer::Ok,
                         QString::fromStdString(loaded.Reason()));
}

void CCorvanePropSheet::ShowPage(int index, bool /*forward*/) {
  CWizardPage* page = PageAt(index);
  if (page == nullptr) return;
  page->EnsureCreated();
  // A page that refuses its activation leaves the wizard where it was.
  if (!page->OnSetActive()) return;
  m_stack->setCurrentIndex(index);
  SetWizardButtons(page->BackEnabled(), page->NextEnabled());
  FocusFirstControl(page);
}

void CCorvanePropSheet::GoBack() {
  if (m_jobRunning || !m_wantBack) return;
  const int index = CurrentIndex();
  CWizardPage* page = CurrentPage();
  if (page == nullptr || index <= 0) return;
  if (!page->OnWizardBack()) return;
  ShowPage(index - 1, false);
}

void CCorvanePropSheet::GoNext() {
  if (m_jobRunning || !m_wantNext) return;
  const int index = CurrentIndex();
  CWizardPage* page = CurrentPage();
  if (page == nullptr || index >= kPageCount - 1) return;
  if (!page->OnWizardNext()) return;
  ShowPage(index + 1, true);
}

void CCorvanePropSheet::reject() { (void)RequestClose(); }

void CCorvanePropSheet::closeEvent(QCloseEvent* event) {
  if (m_jobRunning) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void CCorvanePropSheet::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    if (CWizardPage* page = CurrentPage()) page->RequestHelp();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace corvane
