// The whole wizard driven through its widgets on the bundled example: what Create
// LAS writes must be byte for byte what `corvane-cli convert` writes from the
// configuration the wizard saved, in both depth orders; a cancelled run keeps the
// lines written so far and leaves no temporary file behind.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "FakeServices.h"
#include "WizardDrive.h"
#include "setup/Configuration.h"
#include "wizard/ProgressDlg.h"

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr int kExampleDataLines = 3000;
constexpr int kFirstDataLine = 5;  // three title lines, the names line and the units line

const CCurveDef kCurves[] = {
    {"DEPT", "M", "", "Measured depth"},
    {"GR", "GAPI", "45 310 01 00", "Gamma ray"},
    {"NPHI", "V/V", "42 890 00 00", "Neutron porosity, limestone matrix"},
    {"RHOB", "G/C3", "45 350 02 00", "Bulk density"},
    {"DT", "US/M", "60 520 32 00", "Compressional sonic slowness"},
    {"CALI", "MM", "45 280 01 00", "Caliper"},
    {"ILD", "OHMM", "07 120 46 00", "Deep induction resistivity"},
    {"SP", "MV", "07 010 01 00", "Spontaneous potential"},
    {"PEF", "B/E", "45 358 01 00", "Photoelectric factor"},
};
constexpr int kCurveCount = static_cast<int>(std::size(kCurves));

// Far wider than the box: the box wraps it on screen, the LAS file keeps it whole.
const QString kLongDetail = QStringLiteral("LOC .:") + QString(40, QLatin1Char('N')) +
                            QStringLiteral(" Section 12, Block 4, ") + QString(120, QLatin1Char('x')) +
                            QStringLiteral(":LOCATION");
const QStringList kOtherHeader = {QStringLiteral("COMP.:ACME Logging:COMPANY"),
                                  QStringLiteral("FLD .:North Basin:FIELD"), kLongDetail};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

int DataLineCount(const QByteArray& las) {
  const qsizetype title = las.indexOf("\r\n~A ");
  if (title < 0) return -1;
  const qsizetype firstData = las.indexOf("\r\n", title + 2);
  return static_cast<int>(las.mid(firstData + 2).count("\r\n"));
}

}  // namespace

class WizardEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void CreatesTheSameLasAsTheCommandLine();
  void InverseDepthsMatchTheCommandLine();
  void CancelLeavesTheEarlierFileAndNoTemporaryFile();

 private:
  QString Scratch(const QString& name) const { return m_dir->filePath(name); }
  // From a new wizard to Step 4 with every curve named, the well details typed and
  // both files chosen.
  void DriveToCreateLas(const QString& ascii);
  void RunCommandLine(bool inverse, const QString& las);
  void CompareSavedConfiguration();

  std::unique_ptr<QTemporaryDir> m_dir;
  QString m_tempDir;
  QByteArray m_savedTmpDir;
  std::unique_ptr<CFakeServices> m_services;
  std::unique_ptr<CCorvanePropSheet> m_sheet;
};

void WizardEndToEndTest::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  QVERIFY(QFile::copy(QStringLiteral(CORVANE_SOURCE_DIR "/examples/well-7.asc"), Scratch("well-7.asc")));
  m_tempDir = Scratch("tmp");
  QVERIFY(QDir().mkpath(m_tempDir));
  m_savedTmpDir = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(m_tempDir));
  m_services = std::make_unique<CFakeServices>();
  m_sheet = std::make_unique<CCorvanePropSheet>(nullptr, m_services.get());
}

void WizardEndToEndTest::cleanup() {
  m_sheet.reset();
  m_services.reset();
  if (m_savedTmpDir.isNull()) {
    qunsetenv("TMPDIR");
  } else {
    qputenv("TMPDIR", m_savedTmpDir);
  }
  m_dir.reset();
}

void WizardEndToEndTest::DriveToCreateLas(const QString& ascii) {
  QVERIFY(OpenOnStep2(*m_sheet, *m_services, ascii));
  QVERIFY(MarkAndLeaveStep2(*m_sheet, {3, 4}, kFirstDataLine + 1));
  QCOMPARE(m_sheet->Setup().firstDigitLineIndex, kFirstDataLine);

  CStep3Page& step3 = m_sheet->Step3();
  QCOMPARE(step3.CurveTotalBox()->text(), QString::number(kCurveCount));
  QVERIFY(step3.HeadingsBox()->toPlainText().contains(QStringLiteral("RHOB")));
  for (int k = 0; k < kCurveCount; ++k) {
    const int slot = k % CStep3Page::kSlots;
    if (k > 0 && slot == 0) Click(step3.NextColumnsButton());
    QCOMPARE(step3.ColumnLabel(slot)->text(), QString::number(k + 1));
    TypeInto(step3.HeadingBox(slot), QString::fromStdString(kCurves[k].heading));
    TypeInto(step3.UnitsBox(slot), QString::fromStdString(kCurves[k].units));
    TypeInto(step3.ApiCodeBox(slot), QString::fromStdString(kCurves[k].apiCode));
    TypeInto(step3.DescriptionBox(slot), QString::fromStdString(kCurves[k].description));
  }
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);

  CStep4Page& step4 = m_sheet->Step4();
  TypeInto(step4.UwiBox(), QStringLiteral("100/12-04-047-12W5/00"));
  TypeInto(step4.WellNameBox(), QStringLiteral("ACME WELL 7"));
  step4.CountryBox()->setCurrentIndex(step4.CountryBox()->findText(QStringLiteral("Canada")));
  TypeInto(step4.LogDateBox(), QStringLiteral("14-Jun-2019"));
  step4.OtherHeaderBox()->setFocus();
  for (const QString& line : kOtherHeader) {
    if (line != kOtherHeader.first()) QTest::keyClick(step4.OtherHeaderBox(), Qt::Key_Return);
    QTest::keyClicks(step4.OtherHeaderBox(), line);
  }
  m_services->saveAnswers = {Scratch("wizard.lah"), Scratch("wizard.las")};
  Click(step4.ConfigFileButton());
  Click(step4.LasFileButton());
  m_services->boxes.clear();
}

void WizardEndToEndTest::RunCommandLine(bool inverse, const QString& las) {
  QStringList arguments = {QStringLiteral("convert"),
                           QStringLiteral("--config"),
                           Scratch("wizard.lah"),
                           QStringLiteral("--first-data-line"),
                           QString::number(kFirstDataLine),
                           QStringLiteral("--las"),
                           las,
                           QStringLiteral("--quiet")};
  if (inverse) arguments << QStringLiteral("--inverse");
  QProcess cli;
  cli.start(QStringLiteral(CORVANE_CLI), arguments);
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
  QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
}

void WizardEndToEndTest::CompareSavedConfiguration() {
  const CConversionSetup& wizard = m_sheet->Setup();
  CConversionSetup loaded;
  loaded.configFilePath = QtToStd(Scratch("wizard.lah"));
  QVERIFY(LoadConfiguration(loaded));
  QCOMPARE(loaded.asciiFilePath, wizard.asciiFilePath);
  QCOMPARE(loaded.lasFilePath, wizard.lasFilePath);
  QCOMPARE(loaded.nullValue, wizard.nullValue);
  QCOMPARE(loaded.userCurveTotal, wizard.CurveTotal());  // "TOTAL" comes back as the forced total
  QCOMPARE(loaded.fixedWidth, wizard.fixedWidth);
  QCOMPARE(loaded.skipWidth, wizard.skipWidth);
  QCOMPARE(loaded.delimiterText, wizard.delimiterText);
  QCOMPARE(loaded.curves, wizard.curves);
  QCOMPARE(loaded.uwiValue, wizard.uwiValue);
  QCOMPARE(loaded.wellName, wizard.wellName);
  QCOMPARE(loaded.country, wizard.country);
  QCOMPARE(loaded.logDate, wizard.logDate);
  QCOMPARE(loaded.otherHeaderText, wizard.otherHeaderText);
  QCOMPARE(loaded.wellLabel, wizard.wellLabel);
  QCOMPARE(loaded.configVersion, wizard.configVersion);

  // And the setup is what was typed.
  QCOMPARE(wizard.curves.size(), std::size_t(kCurveCount));
  for (int k = 0; k < kCurveCount; ++k) QCOMPARE(wizard.curves[k], kCurves[k]);
  QCOMPARE(wizard.country, std::string("Canada"));
  QCOMPARE(wizard.delimiterText, std::string("space"));
  QCOMPARE(wizard.otherHeaderText, kOtherHeader.join(QStringLiteral("\r\n")).toStdString());
}

void WizardEndToEndTest::CreatesTheSameLasAsTheCommandLine() {
  DriveToCreateLas(Scratch("well-7.asc"));
  Click(m_sheet->Step4().CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created successfully.")});
  QCOMPARE(m_services->boxes.front().icon, CWizardServices::Icon::None);

  CompareSavedConfiguration();
  RunCommandLine(false, Scratch("cli.las"));
  const QByteArray wizardLas = ReadAll(Scratch("wizard.las"));
  QCOMPARE(wizardLas, ReadAll(Scratch("cli.las")));
  QCOMPARE(DataLineCount(wizardLas), kExampleDataLines);
  QVERIFY(wizardLas.startsWith("~Version Information\r\n"));
  // The long detail is one header line however the box wrapped it.
  const qsizetype detail = wizardLas.indexOf("\r\n LOC .NNNN");
  QVERIFY(detail > 0);
  const QByteArray detailLine = wizardLas.mid(detail + 2, wizardLas.indexOf("\r\n", detail + 2) - detail - 2);
  QVERIFY2(detailLine.endsWith(QString(120, QLatin1Char('x')).toLatin1() + ": LOCATION"),
           detailLine.constData());
  QVERIFY(wizardLas.contains(" STRT.M "));
  QCOMPARE(ReadAll(Scratch("well-7.asc")),
           ReadAll(QStringLiteral(CORVANE_SOURCE_DIR "/examples/well-7.asc")));
  QCOMPARE(m_sheet->CurrentIndex(), 3);  // the page stays for another run or View LAS
}

void WizardEndToEndTest::InverseDepthsMatchTheCommandLine() {
  DriveToCreateLas(Scratch("well-7.asc"));
  CStep4Page& step4 = m_sheet->Step4();
  Click(step4.CreateLasButton());
  const QByteArray forward = ReadAll(Scratch("wizard.las"));

  Click(step4.InverseDepthsBox());
  Click(step4.CreateLasButton());
  QCOMPARE(m_services->BoxTexts(), QStringList({QStringLiteral("LAS file created successfully."),
                                                QStringLiteral("LAS file created successfully.")}));
  const QByteArray inverse = ReadAll(Scratch("wizard.las"));
  QVERIFY(inverse != forward);
  QCOMPARE(DataLineCount(inverse), kExampleDataLines);

  RunCommandLine(true, Scratch("cli-inverse.las"));
  QCOMPARE(inverse, ReadAll(Scratch("cli-inverse.las")));
  CompareSavedConfiguration();
  QVERIFY(QDir(m_tempDir).entryList({QStringLiteral("QR*")}, QDir::Files).isEmpty());
}

void WizardEndToEndTest::CancelLeavesTheEarlierFileAndNoTemporaryFile() {
  // A long log, so the run is still converting when Cancel is pressed.
  const QByteArray example = ReadAll(Scratch("well-7.asc"));
  qsizetype headerEnd = 0;
  for (int i = 0; i < kFirstDataLine; ++i) headerEnd = example.indexOf('\n', headerEnd) + 1;
  QByteArray longLog = example.left(headerEnd);
  constexpr int kLongLines = 400000;
  for (int i = 0; i < kLongLines; ++i) {
    longLog += QByteArray::number(1500.0 + i * 0.125, 'f', 3).rightJustified(10) +
               "     90.56    0.2244   -999.25    282.57    226.45    8.1202    -33.51   -999.25\r\n";
  }
  QFile file(Scratch("long.asc"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(longLog);
  file.close();

  DriveToCreateLas(Scratch("long.asc"));
  CStep4Page& step4 = m_sheet->Step4();
  Click(step4.InverseDepthsBox());
  const QByteArray earlier = "an earlier LAS file\r\n";
  QFile previous(Scratch("wizard.las"));
  QVERIFY(previous.open(QIODevice::WriteOnly));
  previous.write(earlier);
  previous.close();

  // Cancel once the data lines are being written from the reversed copy.
  bool pressed = false;
  QTimer watcher;
  watcher.setInterval(1);
  connect(&watcher, &QTimer::timeout, this, [&] {
    QPushButton* cancel = step4.Progress().CancelButton();
    if (pressed || cancel == nullptr ||
        !step4.Progress().LineTextLabel()->text().startsWith("Processing line ["))
      return;
    QTest::mouseClick(cancel, Qt::LeftButton);
    pressed = true;
  });
  watcher.start();
  Click(step4.CreateLasButton());
  watcher.stop();

  QVERIFY(pressed);
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("LAS file created failed or cancelled.")});
  QVERIFY(QDir(m_tempDir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
  QVERIFY(step4.Progress().Window() == nullptr);
  // The earlier file stays whole, and nothing is left beside it.
  QCOMPARE(ReadAll(Scratch("wizard.las")), earlier);
  QCOMPARE(QDir(Scratch("")).entryList({QStringLiteral(".wizard*")}, QDir::Files | QDir::Hidden),
           QStringList());
  QVERIFY(QFile::exists(Scratch("wizard.lah")));
  QVERIFY(!m_sheet->JobRunning());
  QVERIFY(step4.CreateLasButton()->isEnabled());
}

QTEST_MAIN(WizardEndToEndTest)
#include "WizardEndToEndTest.moc"
