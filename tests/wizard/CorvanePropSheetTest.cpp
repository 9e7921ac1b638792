// The wizard sheet: opening with and without a configuration file, the button row,
// Exit, the save-and-exit question, help, and the buttons closed while a job runs.
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>

#include "FakeServices.h"
#include "WizardDrive.h"
#include "WizardTestFiles.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step1Page.h"
#include "wizard/Step2Page.h"
#include "wizard/Step3Page.h"
#include "wizard/Step4Page.h"

using namespace corvane;
using corvane::test::CFakeServices;
using corvane::test::CWizardFiles;
using Answer = CWizardServices::Answer;

namespace {

const QByteArray kConfiguration =
    "[File ID]\r\nID=Corvane\r\nVERSION=3.0\r\n[User Files]\r\nASCII FILE=/data/log.asc\r\n"
    "LAS FILE=/data/log.las\r\n[Curve Parameters]\r\nNULL=-999.2500000000\r\nFIXED WIDTH=0\r\n"
    "SKIP WIDTH=0\r\nDELIMITER=;\r\n[Curves]\r\nTOTAL=0\r\n";

}  // namespace

class CorvanePropSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void NewWizardOpensOnStep1WithoutQuestions() {
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.show();
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Corvane"));
    QCOMPARE(sheet.CurrentIndex(), 0);
    QCOMPARE(sheet.Mark(), MoveMark::None);
    QVERIFY(services.boxes.empty());
    QCOMPARE(sheet.ExitButton()->text(), QStringLiteral("Exit"));
    QVERIFY(sheet.SaveExitButton()->isVisible());
    // Step 1: Next only.
    QVERIFY(!sheet.BackButton()->isEnabled());
    QVERIFY(sheet.NextButton()->isEnabled());
    QCOMPARE(sheet.Setup(), CConversionSetup());

    // Nothing to save to: save-and-exit closes without a question.
    sheet.SaveExitButton()->click();
    QVERIFY(!sheet.isVisible());
    QVERIFY(services.boxes.empty());
  }

  void ListFontIsEightPointFixedPitchCourier() {
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    const QFont& font = sheet.ListFont();
    QCOMPARE(font.family(), QStringLiteral("Courier"));
    QVERIFY(font.fixedPitch());
    QCOMPARE(font.weight(), QFont::Normal);
    QCOMPARE(font.pixelSize(), qRound(8.0 * sheet.logicalDpiY() / 72.0));
  }

  void ConfigurationFileIsLoadedWhenTheWindowIsCreated() {
    CWizardFiles files;
    const QString lah = files.Write("setup.lah", kConfiguration);
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.Setup().configFilePath = lah.toStdString();
    QCOMPARE(sheet.Setup().delimiterText, std::string());  // not before the window exists
    sheet.show();
    QVERIFY(services.boxes.empty());
    QCOMPARE(sheet.Setup().delimiterText, std::string(";"));
    QCOMPARE(sheet.Step1().PathBox()->text(), QStringLiteral("/data/log.asc"));
  }

  void UnrecognisedConfigurationFileIsReportedAndTheWizardOpensEmpty() {
    CWizardFiles files;
    const QByteArray foreign = "[File ID]\r\nID=Other\r\n[User Files]\r\nASCII FILE=/data/log.asc\r\n";
    const QString lah = files.Write("foreign.lah", foreign);
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.Setup().configFilePath = lah.toStdString();
    sheet.show();
    QCOMPARE(services.BoxTexts(), QStringList{QStringLiteral("Unrecognized Configuration File.")});
    QCOMPARE(
        services.boxes[0].informative,
        lah + QStringLiteral(": not a configuration file that Corvane can read (its ID is not \"Corvane\")"));
    QVERIFY(services.boxes[0].caption.isEmpty());  // the application's title
    QCOMPARE(services.boxes[0].buttons, CWizardServices::Buttons::Ok);
    QVERIFY(sheet.isVisible());
    QCOMPARE(sheet.CurrentIndex(), 0);
    CConversionSetup expected;
    expected.configFilePath = lah.toStdString();
    QCOMPARE(sheet.Setup(), expected);
    QVERIFY(sheet.Step1().PathBox()->text().isEmpty());
    QCOMPARE(files.Read("foreign.lah"), foreign);

    // A file that cannot be read says the system's reason.
    CFakeServices missing;
    CCorvanePropSheet second(nullptr, &missing);
    second.Setup().configFilePath = files.Path("moved.lah").toStdString();
    second.show();
    QCOMPARE(missing.BoxTexts(), QStringList{QStringLiteral("Unrecognized Configuration File.")});
    QCOMPARE(missing.boxes[0].informative,
             files.Path("moved.lah") + QStringLiteral(": No such file or directory"));
  }

  void ExitAsksBeforeDiscardingChanges() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 5);
    // The configuration names its ASCII file beside itself.
    const QByteArray configuration = QByteArray(kConfiguration).replace("/data/log.asc", "log.asc");
    const QString lah = files.Write("setup.lah", configuration);
    const QString other = files.WriteLog("other.asc", 5);
    for (int way = 0; way < 3; ++way) {  // the Exit button, Esc, the close box
      auto close = [way](CCorvanePropSheet& sheet) {
        if (way == 0) sheet.ExitButton()->click();
        if (way == 1) QTest::keyClick(&sheet, Qt::Key_Escape);
        if (way == 2) sheet.close();
      };
      // Nothing changed: closed at once.
      {
        CFakeServices services;
        CCorvanePropSheet sheet(nullptr, &services);
        sheet.Setup().configFilePath = lah.toStdString();
        sheet.show();
        QCOMPARE(sheet.Setup().asciiFilePath, log.toStdString());
        close(sheet);
        QVERIFY(!sheet.isVisible());
        QVERIFY(services.boxes.empty());
      }
      // Another ASCII file chosen: No keeps the wizard open, Yes closes it; nothing saved.
      CFakeServices services;
      services.openAnswers = {other};
      services.answers = {Answer::No, Answer::Yes};
      CCorvanePropSheet sheet(nullptr, &services);
      sheet.Setup().configFilePath = lah.toStdString();
      sheet.show();
      sheet.Step1().FileButton()->click();
      QSignalSpy rejected(&sheet, &QDialog::rejected);
      close(sheet);
      QVERIFY(sheet.isVisible());
      QCOMPARE(services.BoxTexts(), QStringList{QStringLiteral("Discard the changes to this setup?")});
      const auto& box = services.boxes[0];
      QCOMPARE(box.icon, CWizardServices::Icon::Question);
      QCOMPARE(box.buttons, CWizardServices::Buttons::YesNo);
      QCOMPARE(box.defaultButton, Answer::No);
      QVERIFY(box.informative.contains(QStringLiteral("Save & Exit")));
      close(sheet);
      QVERIFY(!sheet.isVisible());
      QCOMPARE(rejected.count(), 1);
      QCOMPARE(files.Read("setup.lah"), configuration);
    }
  }

  void SaveAndExitWithoutAConfigurationFileAsksBeforeDroppingChanges() {
    CWizardFiles files;
    CFakeServices services;
    services.openAnswers = {files.WriteLog("log.asc", 5)};
    services.answers = {Answer::No, Answer::Yes};
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.show();
    sheet.Step1().FileButton()->click();
    sheet.SaveExitButton()->click();
    QVERIFY(sheet.isVisible());
    QCOMPARE(services.BoxTexts(), QStringList{QStringLiteral("Discard the changes to this setup?")});
    QVERIFY(services.boxes[0].informative.startsWith(QStringLiteral("No configuration file is chosen")));
    sheet.SaveExitButton()->click();
    QVERIFY(!sheet.isVisible());
  }

  void EditsNotYetTakenAndSavesCount() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 5);
    const QString lah =
        files.Write("setup.lah", QByteArray(kConfiguration).replace("/data/log.asc", "log.asc"));
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.Setup().configFilePath = lah.toStdString();
    sheet.show();
    corvane::test::PressNext(sheet);
    QCOMPARE(sheet.CurrentIndex(), 1);
    QVERIFY(!sheet.HasUnsavedChanges());
    // A null value typed on Step 2, not taken into the setup until the page is left.
    corvane::test::TypeInto(sheet.Step2().NullValueBox(), QStringLiteral("-1"));
    QVERIFY(sheet.HasUnsavedChanges());
    corvane::test::TypeInto(sheet.Step2().NullValueBox(), QStringLiteral("-999.25"));
    QVERIFY(!sheet.HasUnsavedChanges());
    corvane::test::TypeInto(sheet.Step2().NullValueBox(), QStringLiteral("none"));  // no number at all
    QVERIFY(sheet.HasUnsavedChanges());
    corvane::test::TypeInto(sheet.Step2().NullValueBox(), QStringLiteral("-1"));
    // Saved, nothing is left to discard.
    QVERIFY(corvane::test::MarkAndLeaveStep2(sheet, {}, 2, QStringLiteral(";")));
    QVERIFY(sheet.Save());
    QVERIFY(!sheet.HasUnsavedChanges());
    // The ASCII file beside the configuration is still named relative to it.
    QVERIFY(files.Read("setup.lah").contains("ASCII FILE=log.asc\r\n"));
    QVERIFY(files.Read("setup.lah").contains("NULL=-1.0000000000\r\n"));
    sheet.ExitButton()->click();
    QVERIFY(!sheet.isVisible());
    QVERIFY(services.boxes.empty());
  }

  void SaveAndExitAsksAndFollowsTheAnswer() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 5);
    struct Case {
      Answer answer;
      bool saved;
      bool closed;
    };
    for (const Case& c :
         {Case{Answer::Yes, true, true}, Case{Answer::No, false, true}, Case{Answer::Cancel, false, false}}) {
      const QString lah = files.Write("setup.lah", kConfiguration);
      CFakeServices services;
      services.openAnswers = {log};
      services.answers = {c.answer};
      CCorvanePropSheet sheet(nullptr, &services);
      sheet.Setup().configFilePath = lah.toStdString();
      sheet.show();
      sheet.Step1().FileButton()->click();
      sheet.SaveExitButton()->click();

      QCOMPARE(services.boxes.size(), std::size_t{1});
      const auto& box = services.boxes[0];
      QCOMPARE(box.text,
               QStringLiteral("Do you wish to save the current setup to the specified configuration file?"));
      QCOMPARE(box.caption, QStringLiteral("System Message"));
      QCOMPARE(box.icon, CWizardServices::Icon::Question);
      QCOMPARE(box.buttons, CWizardServices::Buttons::YesNoCancel);
      QCOMPARE(box.defaultButton, Answer::Cancel);
      QCOMPARE(sheet.isVisible(), !c.closed);
      const QByteArray written = files.Read("setup.lah");
      QCOMPARE(written.contains(log.toLocal8Bit()), c.saved);
      if (!c.saved) QCOMPARE(written, kConfiguration);
      if (!c.closed) QCOMPARE(sheet.CurrentIndex(), 0);
    }
  }

  void SaveRefreshesCreatedPagesAndWritesTheFile() {
    CWizardFiles files;
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    QVERIFY(sheet.Save());  // no configuration file: nothing happens
    sheet.Setup().configFilePath = files.Path("new.lah").toStdString();
    sheet.show();
    sheet.Setup().wellName = "W-1";
    QVERIFY(sheet.Save());
    QVERIFY(files.Read("new.lah").contains("WELL NAME=W-1"));
  }

  void HelpButtonAndF1AskForTheWizardTopic() {
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.show();
    sheet.HelpButton()->click();
    QTest::keyClick(sheet.Step1().PathBox(), Qt::Key_F1);
    QTest::keyClick(sheet.NextButton(), Qt::Key_F1);
    const QString topic = QStringLiteral("::/Corvane Version 10 Manual for HTML.htm#i>CORVANE");
    QCOMPARE(services.helpTopics, (QStringList{topic, topic, topic}));
  }

  void RunningJobClosesEveryWayOut() {
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.show();
    sheet.SetJobRunning(true);
    QVERIFY(!sheet.BackButton()->isEnabled());
    QVERIFY(!sheet.NextButton()->isEnabled());
    QVERIFY(!sheet.ExitButton()->isEnabled());
    QVERIFY(!sheet.SaveExitButton()->isEnabled());
    sheet.reject();
    QTest::keyClick(&sheet, Qt::Key_Escape);
    sheet.close();
    sheet.SaveAndExit();
    sheet.GoNext();
    QVERIFY(sheet.isVisible());
    QCOMPARE(sheet.CurrentIndex(), 0);
    // A repaint of the page does not reopen the buttons.
    sheet.Step1().repaint();
    QVERIFY(!sheet.NextButton()->isEnabled());
    sheet.SetJobRunning(false);
    QVERIFY(!sheet.BackButton()->isEnabled());
    QVERIFY(sheet.NextButton()->isEnabled());
    QVERIFY(sheet.ExitButton()->isEnabled());
    sheet.ExitButton()->click();
    QVERIFY(!sheet.isVisible());
  }

  void OpensWherePagesFitAndRemembersPlaceAndFolder() {
    QTemporaryDir scratch;
    const QString store = scratch.filePath(QStringLiteral("settings.ini"));
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 40);
    QRect left;
    {
      QSettings settings(store, QSettings::IniFormat);
      CFakeServices services;
      CCorvanePropSheet sheet(nullptr, &services);
      sheet.SetSettings(&settings);
      QVERIFY(corvane::test::OpenOnStep2(sheet, services, log));
      QCOMPARE(services.dialogs[0].initialName, QString());  // nothing remembered yet
      const QSize opened = sheet.size();
      QVERIFY(corvane::test::MarkAndLeaveStep2(sheet, {1, 2}, 4));
      // Ten readings of every column in view on Step 3.
      QPlainTextEdit* samples = sheet.Step3().SamplesBox(0);
      QVERIFY(samples->document()->blockCount() >= 10);
      const QTextBlock tenth = samples->document()->findBlockByNumber(9);
      QVERIFY(samples->cursorRect(QTextCursor(tenth)).bottom() < samples->viewport()->height());
      corvane::test::TypeInto(sheet.Step3().HeadingBox(0), QStringLiteral("DEPT"));
      corvane::test::TypeInto(sheet.Step3().UnitsBox(0), QStringLiteral("M"));
      corvane::test::PressNext(sheet);
      QCOMPARE(sheet.CurrentIndex(), 3);
      // Step 4 did not need the wizard to grow.
      QCOMPARE(sheet.size(), opened);
      QVERIFY(sheet.minimumSizeHint().width() <= opened.width());
      QVERIFY(sheet.minimumSizeHint().height() <= opened.height());
      sheet.setGeometry(QRect(sheet.pos() + QPoint(20, 30), opened + QSize(60, 40)));
      left = sheet.geometry();
      services.answers = {Answer::Yes};  // the setup made here is discarded
      sheet.ExitButton()->click();
      QVERIFY(!sheet.isVisible());
    }
    QSettings settings(store, QSettings::IniFormat);
    CFakeServices services;
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.SetSettings(&settings);
    sheet.show();
    QCOMPARE(sheet.geometry(), left);
    sheet.Step1().FileButton()->click();
    QCOMPARE(services.dialogs[0].initialName, QFileInfo(log).absolutePath());
  }
};

QTEST_MAIN(CorvanePropSheetTest)
#include "CorvanePropSheetTest.moc"
