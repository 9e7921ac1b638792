// The plot as pictures: PNG, SVG and PDF files written whole or not at all, the
// rendering of a small file against a reference picture, and corvane-cli plot as a
// user runs it.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
  void commandLine_data();
  void commandLine();
};

void PlotOutputTest::picturesOfEveryFormat() {
  QTemporaryDir dir;
  CLasData data(kWell.toStdString());
  CNullProgress progress;
  QCOMPARE(LoadLasFile(data, progress), LoadState::Done);
  auto lock = data.Lock();
  CRowReader rows(data);
  const CPlotLayout layout = CPlotLayout::Default(data.Header());
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
  const CPlotLayout layout = CPlotLayout::Default(data.Header());
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
  // The reference was drawn by this command; fonts and smoothing may differ a little
  // from one machine to another, the tracks, curves and grid may not.
  QTemporaryDir dir;
  const QString out = dir.filePath("plot_well.png");
  const CCliRun run = RunCli({"plot", kWell, "-o", out, "--size", "480x640", "--quiet"});
  QCOMPARE(run.status, 0);
  const QImage drawn(out);
  const QImage reference(kReference);
  QVERIFY(!reference.isNull());
  const double share = DifferentShare(drawn, reference);
  QVERIFY2(share < 0.01, qPrintable(QString::number(share)));
  // A plot that differs (another depth range) is told apart.
  QCOMPARE(RunCli({"plot", kWell, "-o", out, "--size", "480x640", "--depth", "1510:1550"}).status, 0);
  QVERIFY(DifferentShare(QImage(out), reference) > 0.03);
}

void PlotOutputTest::commandLine_data() {
  QTest::addColumn<QStringList>("arguments");  // OUT stands for the picture in a scratch folder
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("err");      // a part of stderr
  QTest::addColumn<QString>("written");  // the picture's size, "" when none is written
  QTest::newRow("png") << QStringList{"-o", "OUT.png"} << 0 << ""
                       << "800x1200";
  QTest::newRow("svg, curves and depths")
      << QStringList{"-o", "OUT.svg", "--curves", "gr, ILD", "--depth", "1520:"} << 0 << ""
      << "svg";
  QTest::newRow("pdf of a size") << QStringList{"-o", "OUT.pdf", "--size", "300X200"} << 0 << ""
                                 << "pdf";
  QTest::newRow("depths upside down")
      << QStringList{"-o", "OUT.png", "--depth", "1530:1510", "--size", "200x300"} << 0 << ""
      << "200x300";
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
  const CCliRun run = RunCli(QStringList{"plot", las, "--quiet"} + arguments);
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
