// The program's command line: start-up itself opens nothing; the files named on the
// command line (Qt's own options taken off first) open once the main window is up: a
// LAS file its window, a configuration file the wizard on it, anything else a message.
#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

#include "AppFakes.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "lasview/LasWindow.h"
#include "wizard/CorvanePropSheet.h"

using namespace corvane;
using namespace corvane::test;

namespace {
QString g_argumentFile;
}

class CommandLineTest : public QObject {
  Q_OBJECT
 private slots:
  void startUpAloneOpensNothing();
  void programSeesOnlyTheFilesOnItsCommandLine();
  void filesOfTheCommandLineOpen_data();
  void filesOfTheCommandLineOpen();
};

void CommandLineTest::startUpAloneOpensNothing() {
  QVERIFY(QCoreApplication::arguments().contains(g_argumentFile));
  CAppFixture fx;
  bool wizardStarted = false;
  connect(fx.app.get(), &CCorvaneApp::WizardStarting, this, [&] { wizardStarted = true; });
  QVERIFY(fx.app->InitInstance());
  // Whatever start-up left for the event loop has run once a call queued after it has.
  bool settled = false;
  QTimer::singleShot(0, this, [&settled] { settled = true; });
  QVERIFY(QTest::qWaitFor([&settled] { return settled; }));
  QVERIFY(!wizardStarted);
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(fx.app->MainFrame()->MdiArea()->subWindowList().size(), 0);
  QVERIFY(fx.app->RecentFiles().Entries().isEmpty());
  QVERIFY(fx.dialogs.calls.isEmpty());
  QVERIFY(fx.wizardServices.messages.isEmpty());
}

void CommandLineTest::programSeesOnlyTheFilesOnItsCommandLine() {
  // What main() hands to OpenCommandLine: "-style Fusion" was Qt's.
  QCOMPARE(QCoreApplication::arguments().mid(1), QStringList{g_argumentFile});
}

void CommandLineTest::filesOfTheCommandLineOpen_data() {
  QTest::addColumn<QStringList>("names");  // files of the scratch folder; "missing.las" is not written
  QTest::addColumn<int>("lasWindows");
  QTest::addColumn<QStringList>("wizards");  // the configuration file of each wizard, by name
  QTest::addColumn<QStringList>("errors");
  QTest::newRow("no file: nothing") << QStringList{} << 0 << QStringList{} << QStringList{};
  QTest::newRow("a LAS file: its window") << QStringList{"well.las"} << 1 << QStringList{} << QStringList{};
  QTest::newRow("upper-case extension") << QStringList{"WELL.LAS"} << 1 << QStringList{} << QStringList{};
  QTest::newRow("a configuration file: the wizard on it")
      << QStringList{"well.lah"} << 0 << QStringList{"well.lah"} << QStringList{};
  QTest::newRow("both, and another file reported")
      << QStringList{"notes.txt", "well.las", "well.lah"} << 1 << QStringList{"well.lah"}
      << QStringList{"error:Corvane opens LAS files (.las) and configuration files (.lah) only."};
  QTest::newRow("a LAS file that is not there")
      << QStringList{"missing.las"} << 0 << QStringList{} << QStringList{"error:Failed to open LAS file."};
}

void CommandLineTest::filesOfTheCommandLineOpen() {
  QFETCH(QStringList, names);
  QFETCH(int, lasWindows);
  QFETCH(QStringList, wizards);
  QFETCH(QStringList, errors);
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  const QByteArray las = ReadAll(CORVANE_TEST_DATA "/sample_2.0.las");
  QStringList files;
  for (const QString& name : names) {
    if (name == QLatin1String("missing.las"))
      files.append(fx.dir.filePath(name));
    else
      files.append(
          fx.WriteFile(name, name.endsWith(".lah") ? QByteArray("[File ID]\r\nID=Corvane\r\n") : las));
  }
  QStringList seen;
  connect(fx.app.get(), &CCorvaneApp::WizardStarting, this, [&](QWidget* sheet) {
    seen.append(
        QFileInfo(QString::fromStdString(static_cast<CCorvanePropSheet*>(sheet)->Setup().configFilePath))
            .fileName());
    CloseNextModal();
  });
  fx.app->OpenCommandLine(files);
  QCOMPARE(seen, wizards);
  QCOMPARE(fx.app->MainFrame()->MdiArea()->subWindowList().size(), lasWindows);
  QCOMPARE(fx.dialogs.calls, errors);
  // A file that was reported is named below the message.
  for (int i = 0; i < errors.size(); ++i) QVERIFY(fx.dialogs.informatives.at(i).contains(files.first()));
  if (lasWindows > 0)
    QVERIFY(fx.app->MainFrame()->ActiveChild()->PathName().endsWith(".las", Qt::CaseInsensitive));
}

// The application is made the way the desktop starts it, with an option of Qt's and a
// configuration file among its arguments; the test framework gets the arguments without them.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  g_argumentFile = dir.filePath("started with.lah");
  QFile file(g_argumentFile);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write("[File ID]\r\nID=Corvane\r\n");
  file.close();
  QByteArray fileArg = g_argumentFile.toLocal8Bit();
  QByteArray styleOption("-style");
  QByteArray styleName("Fusion");
  std::vector<char*> appArgs(argv, argv + argc);
  appArgs.push_back(styleOption.data());
  appArgs.push_back(styleName.data());
  appArgs.push_back(fileArg.data());
  int appArgc = static_cast<int>(appArgs.size());
  appArgs.push_back(nullptr);
  QApplication app(appArgc, appArgs.data());
  CommandLineTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "CommandLineTest.moc"
