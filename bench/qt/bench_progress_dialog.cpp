// Converts a generated ~20 MB ASCII log into a LAS file twice: once with the silent
// progress and once through the progress dialog (offscreen), and prints both times
// and their ratio. The dialog must not cost more than 30 % on top of the conversion.
#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "JobDoubles.h"
#include "las/LasCreation.h"
#include "platform/JobProgress.h"
#include "wizard/ProgressDlg.h"

using namespace corvane;

namespace {

constexpr long kTargetBytes = 20L * 1024 * 1024;

std::string WriteLog(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "Benchmark well - main pass\r\n"
         "      DEPT        GR      NPHI      RHOB        DT      CALI       ILD        SP       PEF\r\n"
         "         M      GAPI       V/V      G/C3      US/M        MM      OHMM        MV       B/E\r\n";
  long bytes = 0;
  char line[160];
  for (long i = 0; bytes < kTargetBytes; ++i) {
    const int n = std::snprintf(
        line, sizeof line, "%10.3f%10.2f%10.4f%10.4f%10.2f%10.2f%10.4f%10.2f%10.2f\r\n", 1000.0 + i * 0.125,
        40.0 + (i * 37) % 90, 0.1 + (i % 17) * 0.01, 2.1 + (i % 23) * 0.02, 250.0 + (i % 41),
        215.0 + (i % 13), 1.0 + (i % 97) * 0.1, -40.0 + (i % 19), 2.0 + (i % 7) * 0.5);
    out.write(line, n);
    bytes += n;
  }
  return path;
}

CConversionSetup MakeSetup(const std::string& ascii, const std::string& las) {
  CConversionSetup setup;
  setup.asciiFilePath = ascii;
  setup.lasFilePath = las;
  setup.configFilePath = las + ".lah";  // never written: the save below does nothing
  setup.firstDigitLineIndex = 3;
  setup.delimiterText = "space";
  const char* headings[] = {"DEPT", "GR", "NPHI", "RHOB", "DT", "CALI", "ILD", "SP", "PEF"};
  const char* units[] = {"M", "GAPI", "V/V", "G/C3", "US/M", "MM", "OHMM", "MV", "B/E"};
  for (int k = 0; k < 9; ++k) {
    setup.curves.push_back({headings[k], units[k], "", ""});
    setup.digitSamples.emplace_back();
  }
  setup.uwiValue = "100/01-01-001-01W1/00";
  setup.wellName = "BENCH";
  return setup;
}

double RunOnce(const std::string& ascii, const std::string& las, CJobProgress& progress) {
  CConversionSetup setup = MakeSetup(ascii, las);
  CCollectingFeedback feedback;
  const auto start = std::chrono::steady_clock::now();
  const bool done = CreateLas(setup, false, {}, progress, feedback, [] { return CResult::Done(); }).Ok();
  const auto end = std::chrono::steady_clock::now();
  if (!done) {
    for (const auto& m : feedback.messages)
      std::fprintf(stderr, "bench_progress_dialog: %s\n", m.text.c_str());
    std::exit(1);
  }
  return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const std::string ascii = WriteLog(dir.filePath(QStringLiteral("bench.asc")).toStdString());
  const std::string las = dir.filePath(QStringLiteral("bench.las")).toStdString();

  QWidget owner;
  owner.resize(600, 400);
  owner.show();
  QApplication::processEvents();

  // Best of five each, alternating, so a busy machine weighs on both alike.
  double silent = 1e9;
  double dialog = 1e9;
  for (int round = 0; round < 5; ++round) {
    CSilentProgress quiet;
    silent = std::min(silent, RunOnce(ascii, las, quiet));
    CProgressDlg shown(&owner);
    dialog = std::min(dialog, RunOnce(ascii, las, shown));
  }
  const double ratio = dialog / silent;
  std::printf(
      "bench_progress_dialog: 20 MB conversion, silent progress %.3f s, progress dialog %.3f s, "
      "ratio %.2f (target <= 1.30: %s)\n",
      silent, dialog, ratio, ratio <= 1.30 ? "met" : "NOT met");
  return 0;
}
