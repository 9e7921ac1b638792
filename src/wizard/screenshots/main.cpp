// Renders the four wizard pages into PNG files, offscreen, with the bundled example
// (examples/well-7.lah and examples/well-7.asc) loaded, Steps 2 and 3 as a new setup
// sees them (with the layout and the curves proposed), and one failure message with its
// reason. Usage:
//   corvane-screenshots SOURCE_DIR OUTPUT_DIR
// Nothing is written but the PNG files: every question is declined and every file
// dialog cancelled.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "wizard/CorvanePropSheet.h"
#include "wizard/QtText.h"
#include "wizard/Step2Page.h"
#include "wizard/Step4Page.h"

using namespace corvane;

namespace {

bool Save(QWidget& widget, const QString& outDir, const QString& name) {
  QApplication::processEvents();
  const QString path = QDir(outDir).filePath(name);
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "corvane-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Declines every question and cancels every dialog. The message boxes are the real
// ones; the one whose picture is asked for is saved before it is closed.
class CDecliningServices : public CWizardServices {
 public:
  explicit CDecliningServices(QString outDir) : m_outDir(std::move(outDir)) {}
  // The next message box is saved as `name`.
  void GrabNextBox(const QString& name) { m_grabAs = name; }
  bool grabFailed = false;

  Answer MessageBox(QWidget* owner, const QString& text, const QString& caption, Icon icon, Buttons buttons,
                    Answer defaultButton, const QString& informative, const QString& details) override {
    std::fprintf(stderr, "corvane-screenshots: message: %s\n", qPrintable(text));
    const QString grabAs = std::exchange(m_grabAs, QString());
    QTimer::singleShot(0, [this, grabAs] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      if (!grabAs.isEmpty() && !Save(*box, m_outDir, grabAs)) grabFailed = true;
      // Declined: No or Cancel where the box has them.
      QAbstractButton* button = box->button(QMessageBox::Cancel);
      if (button == nullptr) button = box->button(QMessageBox::No);
      if (button == nullptr) button = box->button(QMessageBox::Ok);
      if (button != nullptr) button->click();
    });
    return m_boxes.MessageBox(owner, text, caption, icon, buttons, defaultButton, informative, details);
  }
  QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&,
                          bool) override {
    return {};
  }
  void LaunchTextEditor(const QString&, EditorFailed) override {}
  void ShowHelp(QWidget*, const QString&) override {}

 private:
  CQtWizardServices m_boxes;
  QString m_outDir;
  QString m_grabAs;
};

// A small log of the same shape as the bundled example, for a tree without it.
QString WriteFallbackExample(const QTemporaryDir& dir) {
  QString path = dir.filePath(QStringLiteral("example.asc"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return QString();
  file.write(
      "Example well - main pass\r\n      DEPT        GR       ILD\r\n         M      GAPI      OHMM\r\n");
  for (int i = 0; i < 60; ++i) {
    file.write(QByteArray::number(1500.0 + i * 0.125, 'f', 3).rightJustified(10) +
               QByteArray::number(60.0 + (i * 7) % 40, 'f', 2).rightJustified(10) +
               QByteArray::number(2.0 + (i % 9) * 0.75, 'f', 4).rightJustified(10) + "\r\n");
  }
  return path;
}

bool Grab(CCorvanePropSheet& sheet, const QString& outDir, int step) {
  return Save(sheet, outDir, QStringLiteral("step%1.png").arg(step));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: corvane-screenshots SOURCE_DIR OUTPUT_DIR\n");
    return 2;
  }
  const QString sourceDir = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const QString outDir = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  if (!QDir().mkpath(outDir)) {
    std::fprintf(stderr, "corvane-screenshots: cannot create %s\n", qPrintable(outDir));
    return 1;
  }
  // The example configuration is opened by a path relative to the source tree, so that
  // the pictures show no path of the machine they were made on.
  QDir::setCurrent(sourceDir);

  CDecliningServices services(outDir);
  QTemporaryDir scratch;
  const QString lah = QDir(sourceDir).filePath(QStringLiteral("examples/well-7.lah"));
  const QString asc = QDir(sourceDir).filePath(QStringLiteral("examples/well-7.asc"));
  // Relative for the same reason.
  std::string asciiPath = "examples/well-7.asc";
  if (!QFileInfo::exists(asc)) {
    std::fprintf(stderr, "corvane-screenshots: no bundled example, using a generated one\n");
    asciiPath = ToStdString(WriteFallbackExample(scratch));
  }

  // Step 2 of a new setup: the layout proposed, nothing chosen yet.
  {
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.Setup().asciiFilePath = asciiPath;
    sheet.show();
    sheet.GoNext();
    if (sheet.CurrentIndex() != 1) {
      std::fprintf(stderr, "corvane-screenshots: the wizard did not move on to Step 2\n");
      return 1;
    }
    if (!Grab(sheet, outDir, 2)) return 1;
    // Step 3 of the same setup: every curve proposed from the marked lines.
    sheet.GoNext();
    if (sheet.CurrentIndex() != 2) {
      std::fprintf(stderr, "corvane-screenshots: the wizard did not move on to Step 3\n");
      return 1;
    }
    if (!Save(sheet, outDir, QStringLiteral("step3-proposal.png"))) return 1;
  }

  // The other pages with the example's configuration loaded, at the wizard's own size.
  CCorvanePropSheet sheet(nullptr, &services);
  if (QFileInfo::exists(lah) && QFileInfo::exists(asc))
    sheet.Setup().configFilePath = "examples/well-7.lah";
  else
    sheet.Setup().asciiFilePath = asciiPath;
  sheet.show();
  if (!Grab(sheet, outDir, 1)) return 1;
  for (int step = 2; step <= 4; ++step) {
    sheet.GoNext();
    if (sheet.CurrentIndex() != step - 1) {
      std::fprintf(stderr, "corvane-screenshots: the wizard did not move on to Step %d\n", step);
      return 1;
    }
    // A loaded setup keeps its saved layout; the marks come from Propose.
    if (step == 2) sheet.Step2().ProposeButton()->click();
    if (step > 2 && !Grab(sheet, outDir, step)) return 1;
  }

  // A failure with its reason: View LAS before the LAS file exists.
  sheet.Setup().lasFilePath = "examples/not-made-yet.las";
  services.GrabNextBox(QStringLiteral("message.png"));
  sheet.Step4().ViewLasButton()->click();
  sheet.reject();
  return services.grabFailed ? 1 : 0;
}
