// The desktop program. Its command line is not looked at: a file named on it opens
// nothing (Qt takes only its own options such as -platform).
#include <QApplication>

#include "app/CorvaneApp.h"
#include "platform/ProgramInfo.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QString::fromLatin1(corvane::kAppTitle));
  QApplication::setApplicationName(QString::fromLatin1(corvane::kAppTitle));
  corvane::CCorvaneApp app;
  if (!app.InitInstance()) return 1;
  return QApplication::exec();
}
