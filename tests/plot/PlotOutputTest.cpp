// The plot and the crossplot as pictures: PNG, SVG and PDF files written whole or not
// at all, the rendering of a small file against reference pictures, the picture's
// height at a depth scale, and corvane-cli plot and crossplot as a user runs them.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include <cerrno>
#include <csignal>

#include "SysCallFaults.h"
#include "TestSupport.h"

#include "platform/JobProgress.h"
#include "plot/PlotExport.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/RowReader.h"

using namespace corvane;

namespace {

const QString kWell = QStringLiteral(CORVANE_TEST_DATA "/plot_well.las");
const QString kReference = QStringLiteral(CORVANE_TEST_DATA "/plot_well.png");
const QString kCrossplotReference = QStringLiteral(CORVANE_TEST_DATA "/crossplot_well.png");

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Share of the pixels that differ clearly (by more than 64 in a colour channel).
double DifferentShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  qint64 different = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int column = 0; column < x.width(); ++column)
      if (std::abs(qRed(p[column]) - qRed(q[column])) > 64 ||
          std::abs(qGreen(p[column]) - qGreen(q[column])) > 64 ||
          std::abs(qBlue(p[column]) - qBlue(q[column])) > 64)
        ++different;
  }
  return double(different) / double(x.width() * x.height());
}

struct CCliRun {
  int status = -1;
  QString err;
};

CCliRun RunCli(const QStringList& arguments) {
  QProcess cli;
  cli.start(QStringLiteral(CORVANE_CLI), arguments);
  CCliRun run;
  if (!cli.waitForFinished(60000)) return run;
  run.status = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  run.err = QString::fromLocal8Bit(cli.readAllStandardError());
  return run;
}

}  // namespace

class PlotOutputTest : public QObject {
  Q_OBJECT
 private slots:
  void picturesOfEveryFormat();
  void failedOrCancelledPicturesLeaveTheOldOne();
  void renderingMatchesTheReference();
  void depthScaleSetsThePictureHeight();
  void commandLine_data();
  void commandLine();

 private:
  static void commandLineRows();
};

void PlotOutputTest::picturesOfEveryFormat() {
  QTemporaryDir dir;
  CLasData data(kWell.toStdString());
  CNullProgress progress;
  QCOMPARE(LoadLasFile(data, progress), LoadState::Done);
  auto lock = data.Lock();
  CRowReader rows(data);
  const CPlotLayout layout = CPlotLayout::Standard(data.Header());
  const CPlotScales scales = ComputeScales(data, layout);
  const CPlotPainter painter(data, &rows, layout, scales);
  const struct {
    const char* name;
    QByteArray magic;
  } formats[] = {{"plot.png", "\x89PNG"}, {"plot.svg", "<?xml"}, {"plot.PDF", "%PDF"}};
  for (const auto& format : formats) {
    const CResult written = ExportPlot(painter, 1500, 1540, QSize(400, 500), dir.filePath(format.name));
    QVERIFY2(written, written.Reason().c_str());
    QVERIFY2(ReadAll(dir.filePath(format.name)).startsWith(format.magic), format.name);
  }
  QCOMPARE(QImage(dir.filePath("plot.png")).size(), QSize(400, 500));
  QVERIFY(ReadAll(dir.filePath("plot.svg")).contains("viewBox=\"0 0 400 500\""));

  // Refused: another format, no size, a folder that is not there. A file of that name stays.
  QVERIFY(!ExportPlot(painter, 1500, 1540, QSize(400, 500), dir.filePath("plot.bmp")));
  QVERIFY(!QFile::exists(dir.filePath("plot.bmp")));
  QVERIFY(!ExportPlot(painter, 1500, 1540, QSize(0, 500), dir.filePath("plot.png")));
  const CResult refused = ExportPlot(painter, 1500, 1540, QSize(400, 500), dir.filePath("none/plot.png"));
  QVERIFY(refused.IsFailed() && !refused.Reason().empty());
  QCOMPARE(QImage(dir.filePath("plot.png")).size(), QSize(400, 500));
}

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void OnTerm(int) { g_interrupted = 1; }

}  // namespace

// A full disk (by the system-call table) or a SIGTERM while the picture is written: the
// picture of that name stays as it was, nothing else is left, and the reason is the
// system's (not the writer's own words).
void PlotOutputTest::failedOrCancelledPicturesLeaveTheOldOne() {
  QTemporaryDir dir;
  CLasData data(kWell.toStdString());
  CNullProgress progress;
  QCOMPARE(LoadLasFile(data, progress), LoadState::Done);
  auto lock = data.Lock();
  CRowReader rows(data);
  const CPlotLayout layout = CPlotLayout::Standard(data.Header());
  const CPlotScales scales = ComputeScales(data, layout);
  const CPlotPainter painter(data, &rows, layout, scales);
  struct sigaction term {};
  term.sa_handler = OnTerm;
  struct sigaction old {};
  ::sigaction(SIGTERM, &term, &old);
  for (const char* name : {"plot.png", "plot.svg", "plot.pdf"}) {
    const QString path = dir.filePath(name);
    test::WriteBytes(path.toStdString(), "earlier picture");
    {
      const test::CSysCallFault full(test::CSysCallFault::Call::Write, ENOSPC, 1, dir.path().toStdString());
      const CResult written = ExportPlot(painter, 1500, 1540, QSize(400, 500), path);
      QCOMPARE(QString::fromStdString(written.Reason()), QStringLiteral("No space left on device"));
    }
    g_interrupted = 0;
    {
      const test::CWriteWatch watch([](int) { ::raise(SIGTERM); });
      const CResult written =
          ExportPlot(painter, 1500, 1540, QSize(400, 500), path, [] { return g_interrupted != 0; });
      QVERIFY2(written.IsCancelled(), name);
    }
    QCOMPARE(ReadAll(path), QByteArray("earlier picture"));
    for (const QString& entry :
         QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
      QVERIFY2(entry.startsWith(QLatin1String("plot.")), qPrintable(entry));
  }
  ::sigaction(SIGTERM, &old, nullptr);
}

void PlotOutputTest::renderingMatchesTheReference() {
  // The references were drawn by these commands; fonts and smoothing may differ a
  // little from one machine to another, the tracks, fills, points and grid may not.
  QTemporaryDir dir;
  const struct {
    QStringList arguments;
    QString reference;
    QStringList differing;  // arguments of a picture that differs and is told apart
  } cases[] = {
      {{"plot", kWell, "--size", "480x640"}, kReference, {"--depth", "1510:1550"}},
      {{"crossplot", kWell, "--size", "480x480"}, kCrossplotReference, {"--no-color"}},
  };
  for (const auto& c : cases) {
    const QString out = dir.filePath("drawn.png");
    const CCliRun run = RunCli(c.arguments + QStringList{"-o", out, "--quiet"});
    QCOMPARE(run.status, 0);
    const QImage reference(c.reference);
    QVERIFY(!reference.isNull());
    const double share = DifferentShare(QImage(out), reference);
    QVERIFY2(share < 0.01, qPrintable(c.reference + ": " + QString::number(share)));
    QCOMPARE(RunCli(c.arguments + c.differing + QStringList{"-o", out}).status, 0);
    QVERIFY(DifferentShare(QImage(out), reference) > 0.002);
  }
}

void PlotOutputTest::depthScaleSetsThePictureHeight() {
  // The depths 1510 to 1540 m: at 1:N a metre takes 96 / 0.0254 / N pixels, below the
  // headers, whose height is the same at every scale.
  QTemporaryDir dir;
  std::map<int, int> heights;
  for (const int ratio : {200, 500, 1000}) {
    const QString out = dir.filePath(QStringLiteral("at%1.png").arg(ratio));
    const CCliRun run = RunCli({"plot", kWell, "-o", out, "--depth", "1510:1540", "--scale",
                                QStringLiteral("1:%1").arg(ratio), "--size", "600x100", "--quiet"});
    QCOMPARE(run.status, 0);
    const QImage drawn(out);
    QCOMPARE(drawn.width(), 600);
    heights[ratio] = drawn.height();
  }
  const double perMetre = 96 / 0.0254;
  QVERIFY(std::abs((heights[200] - heights[1000]) - 30 * perMetre * (1.0 / 200 - 1.0 / 1000)) <= 1);
  QVERIFY(std::abs((heights[500] - heights[1000]) - 30 * perMetre * (1.0 / 500 - 1.0 / 1000)) <= 1);
  // Too high a picture is refused, saying how high it would be.
  const CCliRun tall = RunCli({"plot", kWell, "-o", dir.filePath("tall.png"), "--scale", "1:1", "--quiet"});
  QCOMPARE(tall.status, 2);
  QVERIFY2(tall.err.contains("pixels high; the most is 32000"), qPrintable(tall.err));
  QVERIFY(!QFile::exists(dir.filePath("tall.png")));
}

void PlotOutputTest::commandLine_data() {
  QTest::addColumn<QStringList>("arguments");  // OUT stands for the picture in a scratch folder; a
                                               // first "crossplot" names that command
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("err");      // a part of stderr
  QTest::addColumn<QString>("written");  // the picture's size, "" when none is written
  const QString outside = "3000:3100 lies outside the log, which runs from 1500 to 1549.875 M";
  QTest::newRow("plot outside the log")
      << QStringList{"-o", "OUT.png", "--depth", "3000:3100"} << 2 << outside << "";
  QTest::newRow("plot below the log")
      << QStringList{"-o", "OUT.png", "--depth", "1600:"} << 2 << "1600: lies outside the log"
      << "";
  QTest::newRow("plot reaching into the log")
      << QStringList{"-o", "OUT.png", "--depth", "1400:1510"} << 0 << ""
      << "800x1200";
  QTest::newRow("plot at a scale") << QStringList{"-o", "OUT.pdf", "--scale", "1:500"} << 0 << ""
                                   << "pdf";
  QTest::newRow("plot at no scale") << QStringList{"-o", "OUT.png", "--scale", "500:1"} << 2
                                    << "--scale: expected 1:N"
                                    << "";
  QTest::newRow("crossplot") << QStringList{"crossplot", "-o", "OUT.png"} << 0 << ""
                             << "800x800";
  QTest::newRow("crossplot of curves named, in svg")
      << QStringList{"crossplot", "-x", "gr", "-y", "ILD", "--color", "sp", "-o", "OUT.svg"} << 0 << ""
      << "svg";
  QTest::newRow("crossplot of a depth range, in pdf")
      << QStringList{"crossplot", "--depth", "1510:1520", "--no-color", "-o", "OUT.pdf"} << 0 << ""
      << "pdf";
  QTest::newRow("crossplot outside the log")
      << QStringList{"crossplot", "--depth", "3000:3100", "-o", "OUT.png"} << 2 << outside << "";
  QTest::newRow("crossplot of a curve not in the file")
      << QStringList{"crossplot", "-y", "XYZ", "-o", "OUT.png"} << 2 << "-y: the file has no curve XYZ"
      << "";
  QTest::newRow("crossplot colour twice")
      << QStringList{"crossplot", "--color", "GR", "--no-color", "-o", "OUT.png"} << 2 << "exclude each other"
      << "";
  QTest::newRow("crossplot over the LAS file")
      << QStringList{"crossplot", "-o", "LAS"} << 2 << "over the LAS file"
      << "";
  commandLineRows();
}

void PlotOutputTest::commandLineRows() {
  QTest::newRow("png") << QStringList{"-o", "OUT.png"} << 0 << ""
                       << "800x1200";
  QTest::newRow("svg, curves and depths")
      << QStringList{"-o", "OUT.svg", "--curves", "gr, ILD", "--depth", "1520:"} << 0 << ""
      << "svg";
  QTest::newRow("pdf of a size") << QStringList{"-o", "OUT.pdf", "--size", "300X200"} << 0 << ""
                                 << "pdf";
  QTest::newRow("depths upside down")
      << QStringList{"-o", "OUT.png", "--depth", "1530:1510", "--size", "600x300"} << 0 << ""
      << "600x300";
  QTest::newRow("too narrow for its tracks: widened, 80 pixels a track")
      << QStringList{"-o", "OUT.png", "--size", "200x300"} << 0 << ""
      << "464x300";
  QTest::newRow("curve not in the file")
      << QStringList{"-o", "OUT.png", "--curves", "GR,XYZ"} << 2 << "the file has no curve XYZ"
      << "";
  QTest::newRow("bad depth") << QStringList{"-o", "OUT.png", "--depth", "top:1500"} << 2 << "is not a depth"
                             << "";
  QTest::newRow("one depth") << QStringList{"-o", "OUT.png", "--depth", "1500"} << 2 << "TOP:BASE"
                             << "";
  QTest::newRow("bad size") << QStringList{"-o", "OUT.png", "--size", "0x100"} << 2 << "--size"
                            << "";
  QTest::newRow("other picture kind") << QStringList{"-o", "OUT.gif"} << 2 << ".png, .svg or .pdf"
                                      << "";
  QTest::newRow("over the LAS file") << QStringList{"-o", "LAS"} << 2 << "over the LAS file"
                                     << "";
  QTest::newRow("settings that are not")
      << QStringList{"-o", "OUT.png", "--settings", "LAS"} << 1 << "not a plot settings file"
      << "";
}

void PlotOutputTest::commandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, err);
  QFETCH(QString, written);
  QTemporaryDir dir;
  const QString las = dir.filePath("well.las");
  QVERIFY(QFile::copy(kWell, las));
  const QByteArray before = ReadAll(las);
  QString out;
  for (QString& argument : arguments) {
    if (argument.startsWith("OUT")) argument = out = dir.filePath(argument);
    if (argument == "LAS") argument = las;
  }
  const QString command =
      arguments.value(0) == "crossplot" ? QStringLiteral("crossplot") : QStringLiteral("plot");
  if (command == "crossplot") arguments.removeFirst();
  const CCliRun run = RunCli(QStringList{command, las, "--quiet"} + arguments);
  QCOMPARE(run.status, status);
  QVERIFY2(run.err.contains(err), qPrintable(run.err));
  QCOMPARE(ReadAll(las), before);  // the input stays as it was
  if (written.isEmpty()) {
    QVERIFY(out.isEmpty() || !QFile::exists(out));
  } else if (written == "svg" || written == "pdf") {
    QVERIFY(ReadAll(out).startsWith(written == "svg" ? "<?xml" : "%PDF"));
  } else {
    const QStringList size = written.split('x');
    QCOMPARE(QImage(out).size(), QSize(size[0].toInt(), size[1].toInt()));
  }
}

QTEST_MAIN(PlotOutputTest)
#include "PlotOutputTest.moc"
