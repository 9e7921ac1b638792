// Step 1: choosing the ASCII file and the existence check on Next.
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "FakeServices.h"
#include "WizardTestFiles.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step1Page.h"

using namespace corvane;
using corvane::test::CFakeServices;
using corvane::test::CWizardFiles;

class Step1PageTest : public QObject {
  Q_OBJECT

 private slots:
  void FileChooserSetsThePathAtOnceAndCancelKeepsIt() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 3);
    CFakeServices services;
    services.openAnswers = {log, QString()};
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.show();
    CStep1Page& page = sheet.Step1();
    QVERIFY(page.PathBox()->isReadOnly());

    page.FileButton()->click();
    QCOMPARE(services.dialogs.size(), std::size_t{1});
    const auto& dialog = services.dialogs[0];
    QVERIFY(!dialog.save);
    QCOMPARE(dialog.title, QStringLiteral("Open ASCII File"));
    // Every kind of export, and no name typed that would hide some of them.
    QCOMPARE(dialog.filter,
             QStringLiteral("ASCII files (*.asc *.txt *.csv *.tsv *.dat *.prn);;All Files (*)"));
    QCOMPARE(dialog.initialName, QString());
    QCOMPARE(page.PathBox()->text(), log);
    QCOMPARE(sheet.Setup().asciiFilePath, log.toStdString());

    page.FileButton()->click();  // cancelled, after opening in the folder of the file chosen
    QCOMPARE(services.dialogs.back().initialName, QFileInfo(log).absolutePath());
    QCOMPARE(page.PathBox()->text(), log);
    QCOMPARE(sheet.Setup().asciiFilePath, log.toStdString());
  }

  void NextRefusesAMissingFileAndSaysWhy() {
    CWizardFiles files;
    const QString folder = files.Path(QString());
    const struct {
      QString path;
      QString reason;
    } cases[] = {
        {QString(), QStringLiteral("No ASCII file is chosen: click ASCII File: to choose one.")},
        {files.Path("gone.asc"), files.Path("gone.asc") + QStringLiteral(": No such file or directory")},
        {folder, folder + QStringLiteral(": Is a directory")},
    };
    for (const auto& c : cases) {
      CFakeServices services;
      CCorvanePropSheet sheet(nullptr, &services);
      sheet.Setup().asciiFilePath = c.path.toStdString();
      sheet.show();
      QCOMPARE(sheet.Step1().PathBox()->text(), c.path);
      sheet.NextButton()->click();
      QCOMPARE(services.BoxTexts(), QStringList{QStringLiteral("ASCII file not found.")});
      QCOMPARE(services.boxes[0].informative, c.reason);
      QVERIFY(services.boxes[0].caption.isEmpty());
      QCOMPARE(services.boxes[0].icon, CWizardServices::Icon::None);
      QCOMPARE(sheet.CurrentIndex(), 0);
      QCOMPARE(sheet.Mark(), MoveMark::None);
    }
  }

  void NextWritesThePagesPathBackAndKeepsTheMoveMark() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 3);
    CFakeServices services;
    services.openAnswers = {log};
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.show();
    sheet.Step1().FileButton()->click();
    sheet.NextButton()->click();
    QCOMPARE(sheet.CurrentIndex(), 1);
    QCOMPARE(sheet.Mark(), MoveMark::None);
    // Something else changed the setup's path (an unwrapped copy): leaving Step 1
    // by Next puts the chosen path back.
    sheet.Setup().asciiFilePath = files.WriteLog("other.asc", 3).toStdString();
    sheet.BackButton()->click();
    QCOMPARE(sheet.CurrentIndex(), 0);
    QCOMPARE(sheet.Step1().PathBox()->text(), log);
    sheet.NextButton()->click();
    QCOMPARE(sheet.Setup().asciiFilePath, log.toStdString());
    QCOMPARE(sheet.Mark(), MoveMark::Back);
  }
};

QTEST_MAIN(Step1PageTest)
#include "Step1PageTest.moc"
