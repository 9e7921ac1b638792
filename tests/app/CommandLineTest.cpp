// The program does not look at its command line: started with a configuration file
// named on it, it opens no wizard and no document window.
#include <QApplication>
#include <QMdiArea>
#include <QTest>

#include "AppFakes.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"

using namespace corvane;
using namespace corvane::test;

namespace {
QString g_argumentFile;
}

class CommandLineTest : public QObject {
  Q_OBJECT
 private slots:
  void fileNamedOnCommandLineOpensNothing();
};

void CommandLineTest::fileNamedOnCommandLineOpensNothing() {
  QVERIFY(QCoreApplication::arguments().contains(g_argumentFile));
  CAppFixture fx;
  bool wizardStarted = false;
  connect(fx.app.get(), &CCorvaneApp::WizardStarting, this, [&] { wizardStarted = true; });
  QVERIFY(fx.app->InitInstance());
  QTest::qWait(50);
  QVERIFY(!wizardStarted);
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(fx.app->MainFrame()->MdiArea()->subWindowList().size(), 0);
  QVERIFY(fx.app->RecentFiles().Entries().isEmpty());
  QVERIFY(fx.dialogs.calls.isEmpty());
  QVERIFY(fx.wizardServices.messages.isEmpty());
}

// The application is made with a configuration file among its arguments, the way the
// desktop would start it; the test framework gets the arguments without it.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  g_argumentFile = dir.filePath("started with.lah");
  QFile file(g_argumentFile);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write("[File ID]\r\nID=Corvane\r\n");
  file.close();
  QByteArray fileArg = g_argumentFile.toLocal8Bit();
  std::vector<char*> appArgs(argv, argv + argc);
  appArgs.push_back(fileArg.data());
  int appArgc = static_cast<int>(appArgs.size());
  appArgs.push_back(nullptr);
  QApplication app(appArgc, appArgs.data());
  CommandLineTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "CommandLineTest.moc"
