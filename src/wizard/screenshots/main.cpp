// Renders the four wizard pages into PNG files, offscreen, with the bundled example
// (examples/well-7.lah and examples/well-7.asc) loaded. Usage:
//   corvane-screenshots SOURCE_DIR OUTPUT_DIR
// Nothing is written but the PNG files: every question is declined and every file
// dialog cancelled.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "ascii/LayoutDetector.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/QtText.h"
#include "wizard/Step2Page.h"

using namespace corvane;

namespace {

class CDecliningServices : public CWizardServices {
 public:
  Answer MessageBox(QWidget*, const QString& text, const QString&, Icon, Buttons buttons, Answer,
                    const QString&) override {
    std::fprintf(stderr, "corvane-screenshots: message: %s\n", qPrintable(text));
    return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }
  QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&,
                          bool) override {
    return {};
  }
  void LaunchTextEditor(const QString&, EditorFailed) override {}
  void ShowHelp(QWidget*, const QString&) override {}
};

// A small log of the same shape as the bundled example, for a tree without it.
QString WriteFallbackExample(const QTemporaryDir& dir) {
  const QString path = dir.filePath(QStringLiteral("example.asc"));
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
  QApplication::processEvents();
  const QString path = QDir(outDir).filePath(QStringLiteral("step%1.png").arg(step));
  if (!sheet.grab().save(path)) {
    std::fprintf(stderr, "corvane-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Marks the curve name lines and the first line of digits as a user would.
void MarkLayout(CStep2Page& page, const std::string& asciiPath) {
  int firstDigitLine = -1;
  std::vector<int> headerLines;
  try {
    if (const auto proposal = DetectLayout(asciiPath)) {
      firstDigitLine = proposal->firstDigitLineIndex;
      headerLines = proposal->headerLines;
    }
  } catch (const std::exception&) {
  }
  if (firstDigitLine < 0) return;
  for (int line : headerLines) {
    if (QListWidgetItem* item = page.HeaderList()->item(line)) item->setSelected(true);
  }
  // Digit rows start with the ruler.
  page.DigitsList()->setCurrentRow(firstDigitLine + 1);
  if (QListWidgetItem* item = page.DigitsList()->item(firstDigitLine + 1)) {
    item->setSelected(true);
    page.DigitsList()->scrollToItem(item);
  }
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
  // The example configuration names its ASCII file relative to the source tree.
  QDir::setCurrent(sourceDir);

  CDecliningServices services;
  CCorvanePropSheet sheet(nullptr, &services);
  QTemporaryDir scratch;
  const QString lah = QDir(sourceDir).filePath(QStringLiteral("examples/well-7.lah"));
  const QString asc = QDir(sourceDir).filePath(QStringLiteral("examples/well-7.asc"));
  if (QFileInfo::exists(lah) && QFileInfo::exists(asc)) {
    // Relative, as the configuration names its ASCII file, so the pictures show no
    // path of the machine they were made on.
    sheet.Setup().configFilePath = "examples/well-7.lah";
  } else if (QFileInfo::exists(asc)) {
    sheet.Setup().asciiFilePath = ToStdString(asc);
  } else {
    std::fprintf(stderr, "corvane-screenshots: no bundled example, using a generated one\n");
    sheet.Setup().asciiFilePath = ToStdString(WriteFallbackExample(scratch));
  }
  sheet.resize(760, 560);
  sheet.show();
  if (!Grab(sheet, outDir, 1)) return 1;

  for (int step = 2; step <= 4; ++step) {
    sheet.GoNext();
    if (sheet.CurrentIndex() != step - 1) {
      std::fprintf(stderr, "corvane-screenshots: the wizard did not move on to Step %d\n", step);
      return 1;
    }
    if (step == 2) MarkLayout(sheet.Step2(), sheet.Setup().asciiFilePath);
    if (!Grab(sheet, outDir, step)) return 1;
  }
  sheet.reject();
  return 0;
}
