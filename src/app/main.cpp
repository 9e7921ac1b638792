// The desktop program. Files named on its command line (as the desktop passes them)
// open once the main window is up: LAS files in their windows, a configuration file
// in the wizard. Qt takes its own options (such as -platform) off the list first.
#include <QApplication>
#include <QTimer>

#include "app/CorvaneApp.h"
#include "platform/ProgramInfo.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QString::fromLatin1(corvane::kAppTitle));
  QApplication::setApplicationName(QString::fromLatin1(corvane::kAppTitle));
  corvane::CCorvaneApp app;
  if (!app.InitInstance()) return 1;
  const QStringList files = QCoreApplication::arguments().mid(1);
  if (!files.isEmpty()) QTimer::singleShot(0, &app, [&app, files] { app.OpenCommandLine(files); });
  return QApplication::exec();
}
