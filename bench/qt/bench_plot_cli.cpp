// corvane-cli plot of a 200 MB LAS file of 20 curves, and corvane-cli crossplot of a
// 1 GB one (NPHI against RHOB coloured by GR: the axes' standard scales, one reading):
//   bench_plot_cli [PLOT_MB [CROSSPLOT_MB]]     (default 200 and 1000)
// Generates each file into the temporary folder, draws it into a PNG with corvane-cli
// in a child process and reports its time and peak resident memory; deletes the files.
// Targets: the crossplot of 1 GB within 5 s and 300 MB.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchLasFile.h"
#include "platform/FileSystem.h"

extern char** environ;

using namespace corvane;
using namespace corvane::bench;

namespace {

struct CRun {
  bool ran = false;
  int status = -1;
  double seconds = 0;
  double peakMB = 0;
};

CRun RunCli(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), CORVANE_CLI);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  CRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int status = 0;
  rusage usage{};
  if (posix_spawn(&child, CORVANE_CLI, nullptr, nullptr, argv.data(), environ) != 0 ||
      wait4(child, &status, 0, &usage) != child) {
    std::fprintf(stderr, "bench_plot_cli: cannot run %s\n", CORVANE_CLI);
    return run;
  }
  run.ran = true;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMB = usage.ru_maxrss / 1024.0;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const double plotMB = argc > 1 ? std::atof(argv[1]) : 200;
  const double crossplotMB = argc > 2 ? std::atof(argv[2]) : 1000;
  const std::string base = TempDirectory() + "/corvane-bench-cli-" + std::to_string(getpid());
  const std::string las = base + ".las";
  const std::string png = base + ".png";
  int result = 0;

  long rows = WriteBenchLas(las, static_cast<std::uint64_t>(plotMB * 1e6));
  if (rows == 0) {
    std::fprintf(stderr, "bench_plot_cli: cannot write %s\n", las.c_str());
    RemoveFile(las);
    return 1;
  }
  const CRun plot = RunCli({"plot", las, "-o", png, "--size", "1000x1400", "--quiet"});
  if (plot.ran)
    std::printf(
        "bench_plot_cli: corvane-cli plot of %.0f MB (%ld rows, %d curves) into a 1000x1400 PNG: %.2f s, "
        "peak memory %.0f MB, exit status %d\n",
        plotMB, rows, kBenchCurves, plot.seconds, plot.peakMB, plot.status);
  if (plot.status != 0) result = 1;
  RemoveFile(las);
  RemoveFile(png);

  rows = WriteBenchLas(las, static_cast<std::uint64_t>(crossplotMB * 1e6), true);
  if (rows == 0) {
    std::fprintf(stderr, "bench_plot_cli: cannot write %s\n", las.c_str());
    RemoveFile(las);
    return 1;
  }
  std::fflush(stdout);
  const CRun crossplot = RunCli({"crossplot", las, "-o", png, "--size", "800x800", "--quiet"});
  if (crossplot.ran)
    std::printf(
        "bench_plot_cli: corvane-cli crossplot of %.0f MB (%ld rows, NPHI against RHOB coloured by GR) into "
        "an "
        "800x800 PNG: %.2f s (target 5 s), peak memory %.0f MB (target 300 MB), exit status %d\n",
        crossplotMB, rows, crossplot.seconds, crossplot.peakMB, crossplot.status);
  if (crossplot.status != 0 || crossplot.seconds > 5 || crossplot.peakMB > 300) result = 1;
  RemoveFile(las);
  RemoveFile(png);
  return result;
}
