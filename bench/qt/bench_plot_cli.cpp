// corvane-cli plot of a 200 MB LAS file of 20 curves:
//   bench_plot_cli [SIZE_MB]     (default 200)
// Generates the file into the temporary folder, draws it into a PNG with corvane-cli in
// a child process and reports its time and peak resident memory; deletes both files.
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

int main(int argc, char** argv) {
  const double sizeMB = argc > 1 ? std::atof(argv[1]) : 200;
  const std::string base = TempDirectory() + "/corvane-bench-cli-" + std::to_string(getpid());
  const std::string las = base + ".las";
  const std::string png = base + ".png";
  const long rows = WriteBenchLas(las, static_cast<std::uint64_t>(sizeMB * 1e6));
  if (rows == 0) {
    std::fprintf(stderr, "bench_plot_cli: cannot write %s\n", las.c_str());
    RemoveFile(las);
    return 1;
  }
  std::vector<std::string> arguments = {CORVANE_CLI, "plot",   las,         "-o",
                                        png,         "--size", "1000x1400", "--quiet"};
  std::vector<char*> argvChild;
  for (std::string& argument : arguments) argvChild.push_back(argument.data());
  argvChild.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int status = 1;
  rusage usage{};
  if (posix_spawn(&child, CORVANE_CLI, nullptr, nullptr, argvChild.data(), environ) == 0 &&
      wait4(child, &status, 0, &usage) == child) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "bench_plot_cli: corvane-cli plot of %.0f MB (%ld rows, %d curves) into a 1000x1400 PNG: %.2f s, "
        "peak memory %.0f MB, exit status %d\n",
        sizeMB, rows, kBenchCurves, seconds, usage.ru_maxrss / 1024.0,
        WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  } else {
    std::fprintf(stderr, "bench_plot_cli: cannot run %s\n", CORVANE_CLI);
  }
  RemoveFile(las);
  RemoveFile(png);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
