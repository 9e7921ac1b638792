#include "WindowFakes.h"

#include <QFile>
#include <QTest>

namespace corvane::test {

QString CFakeWindowDialogs::GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                            const QString& initialName, const QString& defaultSuffix) {
  calls.append("save:" + title + "|" + filter + "|" + initialName + "|" + defaultSuffix);
  return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

void CFakeWindowDialogs::ShowError(QWidget*, const QString& text, const QString& informative) {
  calls.append("error:" + text);
  informatives.append(informative);
}

QString CWindowFixture::WriteFile(const QString& name, const QByteArray& content) const {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(content);
  return path;
}

std::unique_ptr<CLasWindow> CWindowFixture::Open(const QString& path) {
  auto window = std::make_unique<CLasWindow>(path, dialogs, TemplateDir());
  window->setAttribute(Qt::WA_DeleteOnClose, false);  // the test owns it
  window->resize(1000, 720);
  window->show();
  if (!window->Open()) return nullptr;
  return window;
}

CLasWindow* WaitLoaded(CLasWindow* window) {
  if (!window || !QTest::qWaitFor([window] { return !window->Session().Loading(); }, 20000)) return nullptr;
  return window;
}

bool WaitChecked(CLasWindow* window) {
  return window && QTest::qWaitFor(
                       [window] {
                         const CLasCheckJob& check = window->Session().Check();
                         return check.Report() != nullptr && !check.Running();
                       },
                       20000);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace corvane::test
