// The last page: taking its values (the focus on the first empty path box, no
// message), the file dialogs, the well details kept as typed, "Inverse Depths"
// across Back, "View LAS", what the page says of the header before Create LAS with
// its template lines, and the check that comes with the closing notice (in the
// progress dialog for a long file).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "FakeServices.h"
#include "WizardDrive.h"
#include "las/LasWriter.h"
#include "lasfile/LasChecker.h"
#include "wizard/LasCreationFeedback.h"
#include "wizard/ProgressDlg.h"

using namespace corvane;
using namespace corvane::test;

class Step4PageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void EmptyPathsTakeTheFocusInOrder();
  void NewSetupProposesFilesBesideTheAsciiFile();
  void PlotLasAsksBeforeDiscardingChanges();
  void BackIsRefusedUntilThePathsAreSet();
  void FileDialogsAskForNewFiles();
  void TheConfigurationFileIsNeitherDataFile();
  void WellDetailsAreKeptAsTyped();
  void InverseDepthsIsKeptAcrossBack();
  void ViewLasOpensTheLasFileInTheEditor();
  void ButtonsAreDisabledWhileTheRunIsOn();
  void UnwritableConfigurationIsReportedAndTheLasStillMade();
  void HeaderCheckNamesTheLackingItemsAndAddsTheirLines_data();
  void HeaderCheckNamesTheLackingItemsAndAddsTheirLines();
  void TemplateLinesAreOneEditReadyToTypeOver();
  void NoDepthCurveIsToldAsTheDepthScanDecides();
  void ClosingNoticeCarriesTheCheckOfTheFile();
  void LongCheckShowsTheProgressDialogAndCancelSkipsIt();

 private:
  CStep4Page& Page() { return m_sheet->Step4(); }
  void NewWizardOnStep4();
  void ChoosePaths();
  QString File(const char* name) const { return m_dir->filePath(QString::fromLatin1(name)); }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CFakeServices> m_services;
  std::unique_ptr<CCorvanePropSheet> m_sheet;
};

void Step4PageTest::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  QFile file(File("short.asc"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("DEPT GR\r\nM GAPI\r\n100.0 50.5\r\n100.5 51.5\r\n101.0 52.5\r\n");
  file.close();
  NewWizardOnStep4();
}

void Step4PageTest::cleanup() {
  m_sheet.reset();
  m_services.reset();
  m_dir.reset();
}

void Step4PageTest::NewWizardOnStep4() {
  m_sheet.reset();
  m_services = std::make_unique<CFakeServices>();
  m_sheet = std::make_unique<CCorvanePropSheet>(nullptr, m_services.get());
  QVERIFY(OpenOnStep2(*m_sheet, *m_services, File("short.asc")));
  QVERIFY(MarkAndLeaveStep2(*m_sheet, {0, 1}, 3));
  TypeInto(m_sheet->Step3().HeadingBox(0), QStringLiteral("DEPT"));
  TypeInto(m_sheet->Step3().UnitsBox(0), QStringLiteral("M"));
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  // The boxes as a user who chooses every file sees them: the proposed names taken away.
  QCOMPARE(m_sheet->Setup().configFilePath, QtToStd(File("short.lah")));
  m_sheet->Setup().configFilePath.clear();
  m_sheet->Setup().lasFilePath.clear();
  Page().ShowSetupValues();
  QApplication::setActiveWindow(m_sheet.get());
  QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
  QVERIFY(!m_sheet->NextButton()->isEnabled());
  QVERIFY(m_sheet->BackButton()->isEnabled());
  m_services->dialogs.clear();  // Step 1's
}

void Step4PageTest::ChoosePaths() {
  m_services->saveAnswers = {File("short.lah"), File("short.las")};
  Click(Page().ConfigFileButton());
  Click(Page().LasFileButton());
  QCOMPARE(Page().ConfigFileBox()->text(), File("short.lah"));
  QCOMPARE(Page().LasFileBox()->text(), File("short.las"));
}

void Step4PageTest::EmptyPathsTakeTheFocusInOrder() {
  QCOMPARE(Page().AsciiFileBox()->text(), File("short.asc"));
  TypeInto(Page().WellNameBox(), QStringLiteral("Focus Test"));

  // Create LAS says which box is empty, and the box has the focus.
  Click(Page().CreateLasButton());
  QCOMPARE(QApplication::focusWidget(), Page().ConfigFileBox());
  QCOMPARE(m_sheet->Setup().wellName, std::string("Focus Test"));  // taken before the paths
  QCOMPARE(m_services->BoxTexts(),
           QStringList{
               QStringLiteral("No configuration file is chosen: click Configuration File: to choose one.")});

  m_services->saveAnswers = {File("short.lah")};
  Click(Page().ConfigFileButton());
  Click(Page().CreateLasButton());
  QCOMPARE(QApplication::focusWidget(), Page().LasFileBox());
  QCOMPARE(m_services->boxes.back().text,
           QStringLiteral("No LAS file is chosen: click LAS File: to choose one."));

  // With both chosen but no ASCII file in the setup, the ASCII box takes the focus
  // with its text selected.
  m_services->saveAnswers = {File("short.las")};
  m_sheet->Setup().asciiFilePath.clear();
  Click(Page().LasFileButton());  // shows the setup's values again
  Click(Page().CreateLasButton());
  QCOMPARE(QApplication::focusWidget(), Page().AsciiFileBox());
  QCOMPARE(m_services->boxes.back().text,
           QStringLiteral("No ASCII file is chosen: go back to Step 1 to choose one."));
  QCOMPARE(m_services->boxes.size(), std::size_t(3));
  QVERIFY(!QFile::exists(File("short.lah")));
  QVERIFY(!QFile::exists(File("short.las")));
}

void Step4PageTest::NewSetupProposesFilesBesideTheAsciiFile() {
  // Proposed on a forward entry: NAME.lah and NAME.las beside NAME.asc.
  m_sheet->Setup().configFilePath = QtToStd(File("mine.lah"));
  m_sheet->Setup().lasFilePath = QtToStd(File("short.las"));  // as proposed
  Page().ShowSetupValues();
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  PressNext(*m_sheet);
  QCOMPARE(Page().ConfigFileBox()->text(), File("mine.lah"));  // the user's choice stays
  QCOMPARE(Page().LasFileBox()->text(), File("short.las"));
  m_services->boxes.clear();
  Click(Page().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
  QVERIFY(QFile::exists(File("short.las")));
  QVERIFY(QFile::exists(File("mine.lah")));

  // A proposal follows the ASCII file; a file that is there already is not proposed.
  QFile other(File("other.csv"));
  QVERIFY(other.open(QIODevice::WriteOnly));
  other.write("DEPT GR\r\nM GAPI\r\n100.0 50.5\r\n");
  other.close();
  QFile taken(File("other.lah"));
  QVERIFY(taken.open(QIODevice::WriteOnly));
  taken.close();
  PressBack(*m_sheet);
  m_sheet->Setup().asciiFilePath = QtToStd(File("other.csv"));
  PressNext(*m_sheet);
  QCOMPARE(Page().LasFileBox()->text(), File("other.las"));
  QCOMPARE(Page().ConfigFileBox()->text(), File("mine.lah"));
  QCOMPARE(taken.size(), 0);

  // A setup from a configuration file names its files itself.
  const QString lah = File("loaded.lah");
  QFile config(lah);
  QVERIFY(config.open(QIODevice::WriteOnly));
  config.write(
      "[File ID]\r\nID=Corvane\r\n[User Files]\r\nASCII FILE=short.asc\r\nLAS FILE=\r\n"
      "[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=2\r\nHEADING 0=DEPT\r\nUNITS 0=M\r\n");
  config.close();
  QFile::remove(File("short.las"));
  m_sheet.reset();
  m_services = std::make_unique<CFakeServices>();
  m_sheet = std::make_unique<CCorvanePropSheet>(nullptr, m_services.get());
  m_sheet->Setup().configFilePath = QtToStd(lah);
  m_sheet->show();
  PressNext(*m_sheet);
  QVERIFY(MarkAndLeaveStep2(*m_sheet, {0, 1}, 3));
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QCOMPARE(Page().ConfigFileBox()->text(), lah);
  QVERIFY(Page().LasFileBox()->text().isEmpty());
}

void Step4PageTest::PlotLasAsksBeforeDiscardingChanges() {
  ChoosePaths();
  Click(Page().CreateLasButton());  // saves the setup
  QVERIFY(!m_sheet->HasUnsavedChanges());
  TypeInto(Page().WellNameBox(), QStringLiteral("Typed Since"));
  QVERIFY(m_sheet->HasUnsavedChanges());
  m_services->boxes.clear();
  m_services->answers = {CWizardServices::Answer::No, CWizardServices::Answer::Yes};
  Click(Page().PlotLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("Discard the changes to this setup?")});
  QVERIFY(m_sheet->isVisible());
  QVERIFY(Page().PlotRequest().isEmpty());
  Click(Page().PlotLasButton());
  QVERIFY(!m_sheet->isVisible());
  QCOMPARE(Page().PlotRequest(), File("short.las"));
}

void Step4PageTest::BackIsRefusedUntilThePathsAreSet() {
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QCOMPARE(QApplication::focusWidget(), Page().ConfigFileBox());

  m_services->saveAnswers = {File("short.lah")};
  Click(Page().ConfigFileButton());
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QCOMPARE(QApplication::focusWidget(), Page().LasFileBox());

  m_services->saveAnswers = {File("short.las")};
  Click(Page().LasFileButton());
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(m_sheet->Mark(), MoveMark::Back);
  QVERIFY(m_services->boxes.empty());
  QCOMPARE(m_sheet->Setup().configFilePath, QtToStd(File("short.lah")));
}

void Step4PageTest::FileDialogsAskForNewFiles() {
  ChoosePaths();
  QCOMPARE(m_services->dialogs.size(), std::size_t(2));
  const auto& config = m_services->dialogs[0];
  QCOMPARE(config.title, QStringLiteral("Create New Configuration File"));
  QCOMPARE(config.filter, QStringLiteral("LAH files (*.lah)"));
  // Both open in the folder of the ASCII file while their boxes are empty.
  QCOMPARE(config.initialName, File("*.lah"));
  QCOMPARE(config.defaultSuffix, QStringLiteral("lah"));
  QVERIFY(config.save && config.confirmOverwrite);
  const auto& las = m_services->dialogs[1];
  QCOMPARE(las.title, QStringLiteral("Create New LAS File"));
  QCOMPARE(las.filter, QStringLiteral("LAS files (*.las)"));
  QCOMPARE(las.initialName, File("*.las"));
  QCOMPARE(las.defaultSuffix, QStringLiteral("las"));
  QVERIFY(las.save && las.confirmOverwrite);

  // Cancel keeps the paths; what the button took before the dialog stays taken.
  TypeInto(Page().UwiBox(), QStringLiteral("100/01-01-001-01W1/00"));
  m_services->saveAnswers = {QString()};
  Click(Page().ConfigFileButton());
  QCOMPARE(Page().ConfigFileBox()->text(), File("short.lah"));
  QCOMPARE(m_sheet->Setup().configFilePath, QtToStd(File("short.lah")));
  QCOMPARE(m_sheet->Setup().uwiValue, std::string("100/01-01-001-01W1/00"));
  m_services->saveAnswers = {QString()};
  Click(Page().LasFileButton());
  QCOMPARE(m_sheet->Setup().lasFilePath, QtToStd(File("short.las")));

  // A box naming a file elsewhere opens the dialog there; a folder that is gone
  // falls back to the ASCII file's.
  QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("out")));
  m_sheet->Setup().lasFilePath = QtToStd(File("out/well.las"));
  m_sheet->Setup().configFilePath = QtToStd(File("gone/well.lah"));
  Page().ShowSetupValues();
  Click(Page().LasFileButton());
  Click(Page().ConfigFileButton());
  QCOMPARE(m_services->dialogs.back().initialName, File("*.lah"));
  QCOMPARE(m_services->dialogs[m_services->dialogs.size() - 2].initialName, File("out/*.las"));
}

void Step4PageTest::TheConfigurationFileIsNeitherDataFile() {
  ChoosePaths();
  // Either dialog: a choice that makes the configuration the ASCII or the LAS file is
  // refused, and the box keeps what it named.
  const struct {
    QPushButton* button;
    QString answer;
  } refusals[] = {{Page().ConfigFileButton(), File("short.asc")},
                  {Page().ConfigFileButton(), File("short.las")},
                  {Page().LasFileButton(), File("./short.lah")}};
  for (const auto& refusal : refusals) {
    m_services->boxes.clear();
    m_services->saveAnswers = {refusal.answer};
    Click(refusal.button);
    QCOMPARE(m_services->BoxTexts(),
             QStringList{QStringLiteral("The configuration file cannot be the ASCII file or the LAS file.")});
  }
  QCOMPARE(Page().ConfigFileBox()->text(), File("short.lah"));
  QCOMPARE(Page().LasFileBox()->text(), File("short.las"));
}

void Step4PageTest::WellDetailsAreKeptAsTyped() {
  QCOMPARE(Page().WellLabelBox()->currentText(), QStringLiteral("UWI"));
  QVERIFY(!Page().WellLabelBox()->isEditable());
  QStringList countries;
  for (int i = 0; i < Page().CountryBox()->count(); ++i) countries << Page().CountryBox()->itemText(i);
  QCOMPARE(countries, QStringList({"Canada", "Other", "UK", "USA"}));
  QVERIFY(Page().CountryBox()->isEditable());

  ChoosePaths();
  Page().WellLabelBox()->setCurrentIndex(Page().WellLabelBox()->findText(QStringLiteral("API")));
  Page().CountryBox()->setFocus();
  Page().CountryBox()->lineEdit()->selectAll();
  QTest::keyClicks(Page().CountryBox()->lineEdit(), QStringLiteral("Us"));
  QTest::keyClick(Page().CountryBox()->lineEdit(), Qt::Key_Enter);
  TypeInto(Page().LogDateBox(), QStringLiteral("5 May 2020"));
  Page().OtherHeaderBox()->setFocus();
  QTest::keyClicks(Page().OtherHeaderBox(), QStringLiteral("COMP.:ACME:COMPANY"));
  QTest::keyClick(Page().OtherHeaderBox(), Qt::Key_Return);
  QTest::keyClicks(Page().OtherHeaderBox(), QStringLiteral("FLD .:North:FIELD"));

  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  const CConversionSetup& setup = m_sheet->Setup();
  QCOMPARE(setup.wellLabel, std::string("API"));
  QCOMPARE(setup.country, std::string("Us"));
  QCOMPARE(setup.logDate, std::string("5 May 2020"));
  QCOMPARE(setup.otherHeaderText, std::string("COMP.:ACME:COMPANY\r\nFLD .:North:FIELD"));
  QCOMPARE(Page().CountryBox()->count(), 4);  // the typed country did not join the list

  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QCOMPARE(Page().CountryBox()->currentText(), QStringLiteral("Us"));
  QCOMPARE(Page().WellLabelBox()->currentText(), QStringLiteral("API"));
  QCOMPARE(Page().OtherHeaderBox()->toPlainText(), QStringLiteral("COMP.:ACME:COMPANY\nFLD .:North:FIELD"));

  // A country of the list is shown selected; any other as it is.
  m_sheet->Setup().country = "UK";
  m_sheet->Step4().ShowSetupValues();
  QCOMPARE(Page().CountryBox()->currentIndex(), 2);
  m_sheet->Setup().country = "Norway";
  m_sheet->Step4().ShowSetupValues();
  QCOMPARE(Page().CountryBox()->currentText(), QStringLiteral("Norway"));
}

void Step4PageTest::InverseDepthsIsKeptAcrossBack() {
  QVERIFY(!Page().InverseDepthsBox()->isChecked());
  ChoosePaths();
  Click(Page().InverseDepthsBox());
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QVERIFY(Page().InverseDepths());
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QVERIFY(Page().InverseDepthsBox()->isChecked());

  // The flag is the page's, not the setup's: a new wizard starts unchecked.
  NewWizardOnStep4();
  QVERIFY(!Page().InverseDepthsBox()->isChecked());
  QVERIFY(!Page().InverseDepths());
}

void Step4PageTest::ViewLasOpensTheLasFileInTheEditor() {
  // Each failure says "Failed to run the text editor." with its reason below: no LAS
  // file chosen, a LAS file not made yet, a launcher that fails.
  const QString failed = QStringLiteral("Failed to run the text editor.");
  Click(Page().ViewLasButton());
  ChoosePaths();
  Click(Page().LasFileButton());
  Click(Page().ViewLasButton());
  QVERIFY(m_services->editorLaunches.isEmpty());

  // The path as the setup holds it: values are not taken first.
  QFile las(File("short.las"));
  QVERIFY(las.open(QIODevice::WriteOnly));
  las.close();
  m_services->editorFailure = QStringLiteral("xdg-open ended with exit status 3.");
  Click(Page().ViewLasButton());
  QCOMPARE(m_services->editorLaunches, QStringList{File("short.las")});
  m_services->editorFailure.clear();
  Click(Page().ViewLasButton());
  QCOMPARE(m_services->editorLaunches.size(), 2);

  QCOMPARE(m_services->BoxTexts(), QStringList(3, failed));
  QCOMPARE(m_services->boxes[0].informative,
           QStringLiteral("No LAS file is chosen yet: click LAS File: to choose one."));
  QCOMPARE(m_services->boxes[1].informative,
           File("short.las") + QStringLiteral(": No such file or directory"));
  QCOMPARE(m_services->boxes[2].informative, QStringLiteral("xdg-open ended with exit status 3."));
  for (const auto& box : m_services->boxes) QCOMPARE(box.icon, CWizardServices::Icon::Error);
}

void Step4PageTest::ButtonsAreDisabledWhileTheRunIsOn() {
  ChoosePaths();
  QList<bool> enabledDuringRun;
  bool jobRunning = false;
  // The closing notice comes while the run still holds its page.
  m_services->onMessageBox = [&] {
    jobRunning = m_sheet->JobRunning();
    for (QWidget* w :
         {static_cast<QWidget*>(Page().CreateLasButton()), static_cast<QWidget*>(Page().ViewLasButton()),
          static_cast<QWidget*>(Page().ConfigFileButton()), static_cast<QWidget*>(Page().LasFileButton()),
          static_cast<QWidget*>(m_sheet->BackButton()), static_cast<QWidget*>(m_sheet->ExitButton())})
      enabledDuringRun << w->isEnabled();
  };
  Click(Page().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
  QVERIFY(jobRunning);
  QCOMPARE(enabledDuringRun, QList<bool>({false, false, false, false, false, false}));
  QVERIFY(!m_sheet->JobRunning());
  QVERIFY(Page().CreateLasButton()->isEnabled());
  QVERIFY(m_sheet->BackButton()->isEnabled());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QVERIFY(QFile::exists(File("short.las")));
  QVERIFY(QFile::exists(File("short.lah")));
}

void Step4PageTest::UnwritableConfigurationIsReportedAndTheLasStillMade() {
  m_services->saveAnswers = {File("missing/short.lah"), File("short.las")};
  Click(Page().ConfigFileButton());
  Click(Page().LasFileButton());
  TypeInto(Page().WellNameBox(), QStringLiteral("Saved Well"));
  Click(Page().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList({QStringLiteral("Failed to save configuration file."),
                                                QStringLiteral("LAS file created successfully.")}));
  QCOMPARE(m_services->boxes[0].icon, CWizardServices::Icon::Error);
  QVERIFY(m_services->boxes[0].caption.isEmpty());  // the application's title
  QVERIFY(!QFile::exists(File("missing/short.lah")));
  QVERIFY(QFile::exists(File("short.las")));
  // The save showed the setup in the boxes again: what was typed is still there.
  QCOMPARE(Page().WellNameBox()->text(), QStringLiteral("Saved Well"));
}

void Step4PageTest::HeaderCheckNamesTheLackingItemsAndAddsTheirLines_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("uwi");
  QTest::addColumn<QString>("wellName");
  QTest::addColumn<QString>("logDate");
  QTest::addColumn<QString>("other");
  QTest::addColumn<QString>("lacking");  // as the page names them
  QTest::addColumn<QStringList>("templates");
  QTest::addColumn<QString>("blank");  // written without a value, before and after the template lines
  QTest::addColumn<QString>("blankAfter");
  const QString all = QStringLiteral("COMP, WELL, FLD, LOC, PROV, SRVC, DATE, UWI");
  QTest::newRow("nothing given") << "UWI"
                                 << ""
                                 << ""
                                 << ""
                                 << "" << all << QStringList{"COMP.: :COMPANY",  "WELL.: :WELL",
                                                             "FLD.: :FIELD",     "LOC.: :LOCATION",
                                                             "PROV.: :PROVINCE", "SRVC.: :SERVICE COMPANY",
                                                             "DATE.: :DATE",     "UWI.: :UNIQUE WELL ID"}
                                 << "" << all;
  QTest::newRow("API label") << "API"
                             << ""
                             << "W1"
                             << "2020"
                             << ""
                             << "COMP, FLD, LOC, PROV, SRVC, API"
                             << QStringList{"COMP.: :COMPANY",         "FLD.: :FIELD",
                                            "LOC.: :LOCATION",         "PROV.: :PROVINCE",
                                            "SRVC.: :SERVICE COMPANY", "API.: :API NUMBER"}
                             << ""
                             << "COMP, FLD, LOC, PROV, SRVC, API";
  // A blank well name is still written, so it is there, but without a value.
  QTest::newRow("boxes filled") << "UWI"
                                << "100"
                                << " "
                                << "5 May 2020"
                                << ""
                                << "COMP, FLD, LOC, PROV, SRVC"
                                << QStringList{"COMP.: :COMPANY", "FLD.: :FIELD", "LOC.: :LOCATION",
                                               "PROV.: :PROVINCE", "SRVC.: :SERVICE COMPANY"}
                                << "WELL"
                                << "COMP, WELL, FLD, LOC, PROV, SRVC";
  // Cut as the run cuts them: leading colons passed over, a line without a dot or
  // one that starts with # holds no item, a mnemonic counts in any case, CTRY
  // stands in for PROV.
  QTest::newRow("lines as the run cuts them")
      << "UWI"
      << ""
      << ""
      << ""
      << "COMP:ACME:COMPANY\n#FLD.:North:FIELD\n:WELL.:A-1\nuwi .:100:ID\nCtry.:NO:COUNTRY\nloc.:x:y"
      << "COMP, FLD, SRVC, DATE"
      << QStringList{"COMP.: :COMPANY", "FLD.: :FIELD", "SRVC.: :SERVICE COMPANY", "DATE.: :DATE"} << ""
      << "COMP, FLD, SRVC, DATE";
  QTest::newRow("nothing lacks") << "API"
                                 << "42"
                                 << "W1"
                                 << "2020"
                                 << "COMP.:A:C\nFLD.:F:F\nLOC.:L:L\nSTAT.:TX:S\nSRVC.:S:S" << QString()
                                 << QStringList() << ""
                                 << "";
}

void Step4PageTest::HeaderCheckNamesTheLackingItemsAndAddsTheirLines() {
  QFETCH(QString, label);
  QFETCH(QString, uwi);
  QFETCH(QString, wellName);
  QFETCH(QString, logDate);
  QFETCH(QString, other);
  QFETCH(QString, lacking);
  QFETCH(QStringList, templates);
  QFETCH(QString, blank);
  QFETCH(QString, blankAfter);
  const QString allThere = QStringLiteral("The well items the LAS standard requires are all there.");
  const auto blanks = [](const QString& items) {
    return QStringLiteral("Required well items without a value: %1.").arg(items);
  };
  QCOMPARE(Page().HeaderCheckLabel()->text(),
           QStringLiteral(
               "Missing well items the LAS standard requires: COMP, WELL, FLD, LOC, PROV, SRVC, DATE, UWI."));

  Page().WellLabelBox()->setCurrentIndex(Page().WellLabelBox()->findText(label));
  TypeInto(Page().UwiBox(), uwi);
  TypeInto(Page().WellNameBox(), wellName);
  TypeInto(Page().LogDateBox(), logDate);
  Page().OtherHeaderBox()->setPlainText(other);
  QStringList said;
  if (!lacking.isEmpty())
    said << QStringLiteral("Missing well items the LAS standard requires: %1.").arg(lacking);
  if (!blank.isEmpty()) said << blanks(blank);
  QCOMPARE(Page().HeaderCheckLabel()->text(), said.isEmpty() ? allThere : said.join(u' '));
  QCOMPARE(Page().TemplateLinesButton()->isEnabled(), !lacking.isEmpty());
  if (lacking.isEmpty()) return;

  // The button adds one line per lacking item after the user's lines; the setup
  // takes them only when the values are taken.
  Click(Page().TemplateLinesButton());
  const QString expected = other.isEmpty() ? templates.join(u'\n') : other + u'\n' + templates.join(u'\n');
  QCOMPARE(Page().OtherHeaderBox()->toPlainText(), expected);
  QVERIFY(m_sheet->Setup().otherHeaderText.empty());
  // Template lines left blank are there but say nothing: not "all there".
  QCOMPARE(Page().HeaderCheckLabel()->text(), blanks(blankAfter));
  QVERIFY(!Page().TemplateLinesButton()->isEnabled());
  QVERIFY(m_services->boxes.empty());
}

void Step4PageTest::TemplateLinesAreOneEditReadyToTypeOver() {
  ChoosePaths();
  TypeInto(Page().UwiBox(), QStringLiteral("100123401234W500"));
  TypeInto(Page().WellNameBox(), QStringLiteral("A-1"));
  TypeInto(Page().LogDateBox(), QStringLiteral("2020-05-05"));
  QPlainTextEdit* box = Page().OtherHeaderBox();
  box->setPlainText(QStringLiteral("COMP.:ACME:COMPANY\n"));

  // One edit: Undo takes all the lines back.
  Click(Page().TemplateLinesButton());
  box->undo();
  QCOMPARE(box->toPlainText(), QStringLiteral("COMP.:ACME:COMPANY\n"));
  QVERIFY(Page().TemplateLinesButton()->isEnabled());

  // The blank value of the first new line is selected: typing replaces it.
  Click(Page().TemplateLinesButton());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
  QCOMPARE(box->textCursor().selectedText(), QStringLiteral(" "));
  QTest::keyClicks(box, QStringLiteral("Wildcat"));
  QCOMPARE(box->toPlainText(),
           QStringLiteral("COMP.:ACME:COMPANY\nFLD.:Wildcat:FIELD\nLOC.: :LOCATION\nPROV.: :PROVINCE\n"
                          "SRVC.: :SERVICE COMPANY"));

  // Lines left blank are written with an empty value, which the check warns of.
  Click(Page().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
  QCOMPARE(
      m_services->boxes[0].informative,
      QStringLiteral("Reading: 3 rows of 2 columns, every cell read as a number.\n\nLAS check: 0 errors, 3 "
                     "warnings"));
  QVERIFY(
      m_services->boxes[0].details.contains(QStringLiteral("W_ITEM_EMPTY (5.4): the LOC line has no value")));
  QFile las(File("short.las"));
  QVERIFY(las.open(QIODevice::ReadOnly));
  const QByteArray written = las.readAll();
  for (const std::string& line : {CLasWriter::ComposeHeaderLine(" FLD.", "Wildcat:", "FIELD"),
                                  CLasWriter::ComposeHeaderLine(" LOC.", " :", "LOCATION")})
    QVERIFY(written.contains(QByteArray::fromStdString(line + "\r\n")));
}

void Step4PageTest::NoDepthCurveIsToldAsTheDepthScanDecides() {
  const QString notice =
      QStringLiteral("No curve is headed DEPT or DEPTH, so STRT, STOP and STEP will be zero.");
  // The heading of the first column, as Step 3 leaves it, and whether the notice shows.
  const std::vector<std::pair<const char*, bool>> cases = {
      {"DEPT", false}, {"depth", false}, {"DEP", false}, {"MD", true}, {"", true}};
  for (const auto& [heading, told] : cases) {
    m_sheet->Setup().curves[0].heading = heading;
    Page().ShowSetupValues();
    QCOMPARE(Page().HeaderCheckLabel()->text().endsWith(notice), told);
  }
  // A depth column past the curve total is not the depth curve either.
  m_sheet->Setup().curves[0].heading = "MD";
  m_sheet->Setup().curves.push_back({"DEPT", "M", "", ""});
  Page().ShowSetupValues();
  QVERIFY(Page().HeaderCheckLabel()->text().endsWith(notice));
  QVERIFY(m_services->boxes.empty());
}

void Step4PageTest::ClosingNoticeCarriesTheCheckOfTheFile() {
  // The notice keeps its text, once, with the counts below it and the findings in its details.
  ChoosePaths();
  Click(Page().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
  // The reading summary comes first: it speaks of the values.
  QCOMPARE(
      m_services->boxes[0].informative,
      QStringLiteral("Reading: 3 rows of 2 columns, every cell read as a number.\n\nLAS check: 8 errors, 0 "
                     "warnings"));
  QCOMPARE(m_services->boxes[0].icon, CWizardServices::Icon::None);
  const QString details = m_services->boxes[0].details;
  QVERIFY2(details.contains(QStringLiteral("line 4: W_ITEM_MISSING (5.4): the ~W section has no COMP line")),
           qPrintable(details));
  QVERIFY(details.contains(QStringLiteral("3 rows; DEPT 100.0000 to 101.0000 M")));

  // A curve null from top to bottom: a warning.
  TypeInto(Page().UwiBox(), QStringLiteral("100"));
  TypeInto(Page().WellNameBox(), QStringLiteral("A-1"));
  TypeInto(Page().LogDateBox(), QStringLiteral("2020"));
  Page().OtherHeaderBox()->setPlainText(
      QStringLiteral("COMP.:A:COMPANY\nFLD.:F:FIELD\nLOC.:L:LOCATION\nPROV.:P:PROVINCE\nSRVC.:S:SERVICE"));
  m_sheet->Setup().curves[1].heading = "GR";
  QFile ascii(File("short.asc"));
  QVERIFY(ascii.open(QIODevice::WriteOnly));
  ascii.write("DEPT GR\r\nM GAPI\r\n100.0 -999.25\r\n100.5 -999.25\r\n101.0 -999.25\r\n");
  ascii.close();
  m_services->boxes.clear();
  Click(Page().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
  QCOMPARE(
      m_services->boxes[0].informative,
      QStringLiteral("Reading: 3 rows of 2 columns, every cell read as a number.\n\nLAS check: 0 errors, 1 "
                     "warning"));
  QVERIFY(m_services->boxes[0].details.contains(QStringLiteral("CURVE_ALL_NULL")));

  // Doubts about values: each kind with its first cell, the choice that settles it, and
  // the columns in the details.
  ascii.open(QIODevice::WriteOnly);
  ascii.write("DEPT GR\r\nM GAPI\r\n100.0 1,5\r\n100.5 2,5\r\n101.0 -999\r\n");
  ascii.close();
  m_services->boxes.clear();
  Click(Page().CreateLasButton());
  const QString reading = m_services->boxes[0].informative;
  QVERIFY2(reading.startsWith(QStringLiteral("Reading: 3 rows of 2 columns.\n  PARTIAL_NUMBER: 2 cells")),
           qPrintable(reading));
  QVERIFY2(reading.contains(QStringLiteral("first on line 3, column 2: \"1,5\"")), qPrintable(reading));
  QVERIFY2(reading.contains(QStringLiteral("Looks like decimal commas: choose \"Decimal comma\" on Step 2.")),
           qPrintable(reading));
  QVERIFY2(reading.contains(QStringLiteral("NULL_LIKE: 1 cell")), qPrintable(reading));
  QVERIFY(
      m_services->boxes[0].details.startsWith(QStringLiteral("Column 2 (GR):\n  PARTIAL_NUMBER: 2 cells")));

  // Other notices go as they are; a file that cannot be read is said to be so.
  m_services->boxes.clear();
  CLasCreationFeedback feedback(&Page(), *m_services, QtToStd(File("gone.las")));
  feedback.ShowNotice("LAS file created failed or cancelled.");
  feedback.ShowNotice(kLasCreatedMessage);
  QCOMPARE(m_services->boxes.size(), std::size_t(2));
  QVERIFY(m_services->boxes[0].informative.isEmpty() && m_services->boxes[0].details.isEmpty());
  QCOMPARE(m_services->boxes[1].informative, QStringLiteral("LAS check: 1 error, 0 warnings"));
  QVERIFY(m_services->boxes[1].details.contains(QStringLiteral("FILE_UNREADABLE")));
}

void Step4PageTest::LongCheckShowsTheProgressDialogAndCancelSkipsIt() {
  // A file past the size the check shows its progress for, and a short one.
  QByteArray big =
      "~V\r\n VERS. 2.0 : V\r\n WRAP. NO : W\r\n~C\r\n DEPT.M : D\r\n A. : A\r\n B. : B\r\n C. : C\r\n D. : "
      "D\r\n~A\r\n";
  for (int row = 0; big.size() < qsizetype(CLasCreationFeedback::kDisplayedCheckBytes); ++row)
    big += QByteArray::number(1000 + row * 0.125, 'f', 4) + "   55.1250   12.5000   33.0000  0.2500\r\n";
  QFile file(File("big.las"));
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(big) == big.size());
  file.close();
  QFile small(File("small.las"));
  const QByteArray head = big.left(big.indexOf("\r\n", 2000) + 2);  // whole rows
  QVERIFY(small.open(QIODevice::WriteOnly) && small.write(head) == head.size());
  small.close();

  struct CCase {
    const char* file;
    bool cancel;  // Cancel in the dialog as soon as it shows
    bool shown;   // the dialog showed
    const char* informative;
  };
  for (const CCase& c :
       {CCase{"big.las", false, true, "LAS check: 1 error, 0 warnings"}, CCase{"big.las", true, true, ""},
        CCase{"small.las", false, false, "LAS check: 1 error, 0 warnings"}}) {
    bool shown = false;
    QString title;
    QTimer probe;
    probe.setSingleShot(true);
    connect(&probe, &QTimer::timeout, this, [&] {
      CProgressDlg& dialog = Page().Progress();
      if (!dialog.Window()) return;
      shown = true;
      title = dialog.Window()->windowTitle();
      if (c.cancel) dialog.CancelButton()->click();
    });
    probe.start(0);
    m_services->boxes.clear();
    CLasCreationFeedback feedback(&Page(), *m_services, QtToStd(File(c.file)), &Page().Progress());
    feedback.ShowNotice(kLasCreatedMessage);
    probe.stop();
    QCOMPARE(shown, c.shown);
    if (shown) QCOMPARE(title, QString::fromLatin1(kLasCheckTitle));
    QVERIFY(!Page().Progress().Window());
    // The notice as ever, once, after the check; a cancelled check leaves it without one.
    QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
    QCOMPARE(m_services->boxes[0].informative, QString::fromLatin1(c.informative));
    QCOMPARE(m_services->boxes[0].details.isEmpty(), c.cancel);
  }
}

QTEST_MAIN(Step4PageTest)
#include "Step4PageTest.moc"
