// Help: where the manual is looked for, how topic strings and context numbers find
// their pages, the routing of help requests with and without context help, context
// help on a wizard page, and silence when the manual is missing.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QWhatsThis>

#include "AppFakes.h"
#include "app/HelpPopup.h"
#include "app/HelpTopics.h"
#include "app/HelpViewer.h"
#include "app/MainFrame.h"
#include "app/ManualHelp.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step1Page.h"
#include "wizard/Step2Page.h"
#include "wizard/Step3Page.h"
#include "wizard/Step4Page.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QString kSourceManual = QStringLiteral(CORVANE_SOURCE_DIR "/docs/manual/index.html");
const QString kIndexTopic = QStringLiteral("topic:::/Corvane Version 10 Manual for HTML.htm#i>CORVANE");

// Makes "<dir>/CORVANE Manual/" with a start page and the popup texts.
QString MakeManual(const QString& programDir) {
  QDir(programDir).mkpath("CORVANE Manual");
  const QString manual = programDir + "/CORVANE Manual/";
  QFile index(manual + "index.html");
  if (index.open(QIODevice::WriteOnly)) index.write("<html><body><h1 id=\"i\">Index</h1></body></html>");
  QFile step(manual + "step3.html");
  if (step.open(QIODevice::WriteOnly)) step.write("<html><body>Step 3</body></html>");
  QFile ids(manual + "ids.txt");
  if (ids.open(QIODevice::WriteOnly)) ids.write("# popups\n131176 Name the curves.\\nSix at a time.\n");
  return manual + "index.html";
}

}  // namespace

class HelpRoutingTest : public QObject {
  Q_OBJECT
 private slots:
  void helpPathIsProgramFolderPlusManual();
  void helpPathFindsInstalledManual();
  void topicsAndNumbersResolveToPages();
  void everyTopicOfTheShippedManualExists();
  void manualDescribesTheCommandLineAsBuilt();
  void routingTable_data();
  void routingTable();
  void indexUsingHelpAndFinderShowTheIndex();
  void contextHelpClickOnWizardPageShowsPopup();
  void contextHelpClickOnAControlShowsItsOwnNote();
  void wizardHelpReachesTheManual();
  void missingManualMakesHelpSilent();
  void popupLooksAsItShould();
};

void HelpRoutingTest::helpPathIsProgramFolderPlusManual() {
  QTemporaryDir dir;
  const QString program = dir.filePath("Program Files/Corvane 2018");
  QVERIFY(QDir().mkpath(program));
  // Without any manual the path still names the folder beside the program.
  QCOMPARE(BuildHelpFilePath(program), program + "/CORVANE Manual/index.html");
  QCOMPARE(BuildHelpFilePath(program + "/"), program + "/CORVANE Manual/index.html");
  MakeManual(program);
  QCOMPARE(BuildHelpFilePath(program), program + "/CORVANE Manual/index.html");

  CCorvaneApp::Options options;
  options.executableDir = program;
  options.settingsFile = dir.filePath("s.ini");
  CRecordingHelp help;
  options.help = &help;
  CCorvaneApp app(options);
  QVERIFY(app.InitInstance());
  QCOMPARE(app.HelpFilePath(), program + "/CORVANE Manual/index.html");
}

void HelpRoutingTest::helpPathFindsInstalledManual() {
  QTemporaryDir dir;
  QVERIFY(QDir().mkpath(dir.filePath("usr/bin")));
  QVERIFY(QDir().mkpath(dir.filePath("usr/share/corvane/manual")));
  QFile index(dir.filePath("usr/share/corvane/manual/index.html"));
  QVERIFY(index.open(QIODevice::WriteOnly));
  index.close();
  QCOMPARE(BuildHelpFilePath(dir.filePath("usr/bin")), dir.filePath("usr/share/corvane/manual/index.html"));
  // A manual beside the program wins over the installed one.
  MakeManual(dir.filePath("usr/bin"));
  QCOMPARE(BuildHelpFilePath(dir.filePath("usr/bin")), dir.filePath("usr/bin/CORVANE Manual/index.html"));
}

void HelpRoutingTest::topicsAndNumbersResolveToPages() {
  QTemporaryDir dir;
  const QString manual = MakeManual(dir.filePath("my bin"));
  const QUrl start = QUrl::fromLocalFile(manual);
  QCOMPARE(ResolveHelpTopic(manual, kMainHelpTopic), start);
  QUrl index = start;
  index.setFragment("i");
  QCOMPARE(ResolveHelpTopic(manual, kIndexHelpTopic), index);
  // The help file path may stand in front, as the wizard's requests once had it.
  QCOMPARE(ResolveHelpTopic(manual, manual + kIndexHelpTopic), index);
  QCOMPARE(ResolveHelpTopic(manual, "::/step3.html>CORVANE").toLocalFile(),
           QFileInfo(manual).absolutePath() + "/step3.html");
  QVERIFY(ResolveHelpTopic(manual, "::/missing.html").isEmpty());
  QVERIFY(ResolveHelpTopic(manual, "::/../secret.html").isEmpty());

  QCOMPARE(ResolveTopicNumber(manual, 131176).fileName(), QStringLiteral("step3.html"));
  QVERIFY(ResolveTopicNumber(manual, 131175).isEmpty());  // this manual lacks step1.html
  QVERIFY(ResolveTopicNumber(manual, 131179).isEmpty());
  QCOMPARE(PopupText(manual, 131176), QStringLiteral("Name the curves.\nSix at a time."));
  QVERIFY(PopupText(manual, 131175).isEmpty());

  // Only the low 16 bits of a context number count.
  QCOMPARE(ContextTopicNumber(0x20067).value(), 131175u);
  QCOMPARE(ContextTopicNumber(0x50068).value(), 131176u);
  QCOMPARE(ContextTopicNumber(102).value(), 131174u);
  QCOMPARE(ContextTopicNumber(106).value(), 131178u);
  QVERIFY(!ContextTopicNumber(101));
  QVERIFY(!ContextTopicNumber(107));
  QVERIFY(!ContextTopicNumber(0x20002));
  QCOMPARE(WizardPageHelpContext("Step 1"), 0x20000ul + 103);
  QCOMPARE(WizardPageHelpContext("Step 2"), 0x20000ul + 105);
  QCOMPARE(WizardPageHelpContext("Step 3"), 0x20000ul + 104);
  QCOMPARE(WizardPageHelpContext("Step 4"), 0x20000ul + 106);
  QCOMPARE(WizardPageHelpContext("Corvane"), 0ul);
}

void HelpRoutingTest::everyTopicOfTheShippedManualExists() {
  QVERIFY(QFileInfo(kSourceManual).isFile());
  QVERIFY(!ResolveHelpTopic(kSourceManual, kMainHelpTopic).isEmpty());
  QVERIFY(!ResolveHelpTopic(kSourceManual, kIndexHelpTopic).isEmpty());
  for (unsigned topic = 131174; topic <= 131178; ++topic) {
    QVERIFY2(!ResolveTopicNumber(kSourceManual, topic).isEmpty(), qPrintable(QString::number(topic)));
    QVERIFY2(!PopupText(kSourceManual, topic).isEmpty(), qPrintable(QString::number(topic)));
  }
  // The index anchor exists, and every page the manual links to is there.
  CHelpViewer viewer(ResolveHelpTopic(kSourceManual, QString()));
  viewer.ShowPage(ResolveHelpTopic(kSourceManual, kIndexHelpTopic));
  QVERIFY(viewer.Browser()->toHtml().contains("Corvane"));
  const QDir manualDir = QFileInfo(kSourceManual).absoluteDir();
  for (const QString& page : manualDir.entryList({"*.html"})) {
    QFile file(manualDir.filePath(page));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression link("href=\"([^\"#:]+)(#[^\"]*)?\"");
    for (auto it = link.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      QVERIFY2(manualDir.exists(target), qPrintable(page + " -> " + target));
    }
  }
}

void HelpRoutingTest::manualDescribesTheCommandLineAsBuilt() {
  QFile page(CORVANE_SOURCE_DIR "/docs/manual/command-line.html");
  QVERIFY(page.open(QIODevice::ReadOnly));
  const QString manual = QString::fromUtf8(page.readAll());
  // "  --name META  Description": the option and, after a single blank, its value's name
  // (up to a ":" that introduces the limits of the value).
  static const QRegularExpression optionLine(
      QStringLiteral("^\\s+(?:-\\w,)?(--[a-z][a-z-]*)(?: ([^\\s:]+))?"));
  for (const QString command : {"convert", "preview", "inspect", "unwrap", "plot", "crossplot"}) {
    QProcess cli;
    cli.start(QStringLiteral(CORVANE_CLI), {command, "--help"});
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 0);
    const qsizetype from = manual.indexOf("<h2>" + command + "</h2>");
    QVERIFY2(from >= 0, qPrintable(command));
    const qsizetype to = manual.indexOf("<h2>", from + 1);
    const QString section = manual.mid(from, to < 0 ? -1 : to - from);
    int options = 0;
    bool inOptions = false;  // the "Options:" block, up to its blank line
    for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n')) {
      if (line.startsWith(QLatin1String("Options:"))) inOptions = true;
      if (line.trimmed().isEmpty()) inOptions = false;
      const QRegularExpressionMatch match = optionLine.match(line);
      if (!inOptions) continue;
      if (!match.hasMatch() || match.captured(1) == "--help") continue;
      ++options;
      // convert's page shows each option with the value the program asks for.
      // CLI11 writes an option's dependencies ("Needs: --check") where a value's name would stand.
      const bool valued = !match.captured(2).isEmpty() && match.captured(2) != QLatin1String("Needs");
      const QString shown = command == QLatin1String("convert") && valued
                                ? match.captured(1) + ' ' + match.captured(2)
                                : match.captured(1);
      QVERIFY2(section.contains(shown), qPrintable(command + ": " + shown));
    }
    QVERIFY(command != QLatin1String("convert") || options >= 12);
  }
}

void HelpRoutingTest::routingTable_data() {
  QTest::addColumn<qulonglong>("context");
  QTest::addColumn<bool>("flag");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<bool>("flagAfter");
  QTest::newRow("found, flag set: popup, flag cleared") << 0x20068ull << true << "popup:131176" << false;
  QTest::newRow("found in the low bits only") << 0x7F0069ull << true << "popup:131177" << false;
  QTest::newRow("found, flag not set: context jump") << 0x20066ull << false << "number:131174" << false;
  QTest::newRow("step 4, flag not set") << 0x2006Aull << false << "number:131178" << false;
  QTest::newRow("not found, flag set: nothing, flag stays") << 0x20002ull << true << "" << true;
  QTest::newRow("not found, flag not set: the index") << 0x20065ull << false << kIndexTopic << false;
}

void HelpRoutingTest::routingTable() {
  QFETCH(qulonglong, context);
  QFETCH(bool, flag);
  QFETCH(QString, shown);
  QFETCH(bool, flagAfter);
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  fx.app->MainFrame()->SetContextHelpFlag(flag);
  fx.app->WinHelp(context, HelpCommand::Context);
  QCOMPARE(fx.help.shown, shown.isEmpty() ? QStringList{} : QStringList{shown});
  QCOMPARE(fx.app->MainFrame()->ContextHelpFlag(), flagAfter);
}

void HelpRoutingTest::indexUsingHelpAndFinderShowTheIndex() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  frame->Action(Command::HelpIndex)->trigger();
  frame->Action(Command::HelpUsing)->trigger();
  fx.app->WinHelp(0, HelpCommand::Finder);
  fx.app->WinHelp(0, HelpCommand::Quit);
  fx.app->WinHelp(0, HelpCommand::Other);
  QCOMPARE(fx.help.shown, (QStringList{kIndexTopic, kIndexTopic, kIndexTopic}));
}

void HelpRoutingTest::contextHelpClickOnWizardPageShowsPopup() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  CCorvanePropSheet sheet(frame, &fx.wizardServices);
  sheet.show();
  QVERIFY(QTest::qWaitForWindowExposed(&sheet));

  QCOMPARE(CMainFrame::HelpContextOf(&sheet.Step1()), 0x20000ul + 103);
  QCOMPARE(CMainFrame::HelpContextOf(&sheet.Step2()), 0x20000ul + 105);
  QCOMPARE(CMainFrame::HelpContextOf(&sheet.Step3()), 0x20000ul + 104);
  QCOMPARE(CMainFrame::HelpContextOf(&sheet.Step4()), 0x20000ul + 106);
  QCOMPARE(CMainFrame::HelpContextOf(frame), 0x20002ul);

  // Context help, then a click on the Step 1 page: its popup, and the flag is cleared.
  frame->Action(Command::ContextHelp)->trigger();
  QVERIFY(frame->ContextHelpFlag());
  QVERIFY(QWhatsThis::inWhatsThisMode());
  QTest::mouseClick(&sheet.Step1(), Qt::LeftButton, {}, QPoint(5, 5));
  QTRY_COMPARE(fx.help.shown, QStringList{"popup:131175"});
  QVERIFY(!frame->ContextHelpFlag());
  QTRY_VERIFY(!QWhatsThis::inWhatsThisMode());

  // A click on a window without help of its own shows nothing and keeps the flag.
  frame->OnContextHelp();
  QTest::mouseClick(frame->MdiArea()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QTRY_VERIFY(!QWhatsThis::inWhatsThisMode());
  QCOMPARE(fx.help.shown.size(), 1);
  QVERIFY(frame->ContextHelpFlag());
  // The next click on a page shows its popup.
  frame->OnContextHelp();
  QTest::mouseClick(&sheet.Step1(), Qt::LeftButton, {}, QPoint(5, 5));
  QTRY_COMPARE(fx.help.shown.size(), 2);
  QVERIFY(!frame->ContextHelpFlag());
  QWhatsThis::leaveWhatsThisMode();
}

void HelpRoutingTest::contextHelpClickOnAControlShowsItsOwnNote() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  CCorvanePropSheet sheet(frame, &fx.wizardServices);
  sheet.Setup().asciiFilePath = fx.WriteFile("log.asc", "DEPT GR\n1 2\n3 4\n").toStdString();
  sheet.show();
  QVERIFY(QTest::qWaitForWindowExposed(&sheet));
  sheet.GoNext();
  QCOMPARE(sheet.CurrentIndex(), 1);
  auto whatsThisShown = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && QLatin1String(w->metaObject()->className()) == QLatin1String("QWhatsThat"))
        return true;
    return false;
  };

  // The Fixed Width box has a note of its own: it shows, not the page's popup.
  frame->OnContextHelp();
  QTest::mouseClick(sheet.Step2().FixedWidthBox(), Qt::LeftButton, {}, QPoint(3, 3));
  QTRY_VERIFY(whatsThisShown());
  QVERIFY(fx.help.shown.isEmpty());
  QVERIFY(!frame->ContextHelpFlag());
  QTRY_VERIFY(!QWhatsThis::inWhatsThisMode());
  QWhatsThis::hideText();

  // Inside a list (its viewport) the list's note shows; the page around the controls
  // still shows the page's popup.
  frame->OnContextHelp();
  QTest::mouseClick(sheet.Step2().HeaderList()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QTRY_VERIFY(whatsThisShown());
  QWhatsThis::hideText();
  frame->OnContextHelp();
  QTest::mouseClick(&sheet.Step2(), Qt::LeftButton, {}, QPoint(1, 1));
  QTRY_COMPARE(fx.help.shown, QStringList{"popup:131177"});
  QWhatsThis::leaveWhatsThisMode();
}

void HelpRoutingTest::wizardHelpReachesTheManual() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  // The on-screen wizard services pass the pages' help to the application.
  CQtWizardServices services;
  services.ShowHelp(fx.app->MainFrame(), QString::fromLatin1(kWizardHelpTopic));
  QCOMPARE(fx.help.shown, QStringList{kIndexTopic});
}

void HelpRoutingTest::missingManualMakesHelpSilent() {
  QTemporaryDir dir;
  const QString helpPath = BuildHelpFilePath(dir.filePath("no manual here"));
  CManualHelp help(helpPath);
  QWidget owner;
  help.ShowTopic(&owner, kIndexHelpTopic);
  help.ShowTopicNumber(&owner, 131175);
  help.ShowPopup(&owner, 131175, QPoint(10, 10));
  QVERIFY(!help.Viewer());
  QVERIFY(owner.findChildren<CHelpPopup*>().isEmpty());
  QVERIFY(QApplication::topLevelWidgets().size() <= 1);

  // With the manual the same requests show the page and the popup.
  CManualHelp shipped(kSourceManual);
  shipped.ShowTopic(&owner, kIndexHelpTopic);
  QVERIFY(shipped.Viewer());
  QCOMPARE(shipped.Viewer()->CurrentPage().fileName(), QStringLiteral("index.html"));
  shipped.ShowTopicNumber(&owner, 131177);
  QCOMPARE(shipped.Viewer()->CurrentPage().fileName(), QStringLiteral("step2.html"));
  shipped.ShowPopup(&owner, 131177, QPoint(10, 10));
  QCOMPARE(owner.findChildren<CHelpPopup*>().size(), 1);
}

void HelpRoutingTest::popupLooksAsItShould() {
  QWidget owner;
  CHelpPopup popup("Choose the ASCII file.", &owner);
  popup.ShowAt(QPoint(30, 40));
  QCOMPARE(popup.Text(), QStringLiteral("Choose the ASCII file."));
  QCOMPARE(popup.palette().color(QPalette::Window), QColor(190, 240, 185));
  QCOMPARE(popup.palette().color(QPalette::WindowText), QColor(Qt::black));
  const QMargins margins = popup.layout()->contentsMargins();
  QCOMPARE(margins, QMargins(15, 15, 15, 15));
  QCOMPARE(popup.findChild<QLabel*>()->font(), QApplication::font());
  QVERIFY(popup.isVisible());
  QTest::keyClick(&popup, Qt::Key_Space);
  QTRY_VERIFY(!popup.isVisible());
}

QTEST_MAIN(HelpRoutingTest)
#include "HelpRoutingTest.moc"
