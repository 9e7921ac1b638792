// Files per second of `corvane-cli batch` with --jobs 1 and --jobs 2, and the peak
// memory per job, on generated ASCII logs.
//
//   bench_batch [FILES] [SIZE_MB]     (default 40 files of 20 MB)
//
// Writes the logs into a folder of its own under the temporary directory, runs the
// batch as a child process (so that its peak resident memory is its own) once per job
// count, and removes every file it made, outputs included.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BenchRows.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"

using namespace corvane;

namespace {

constexpr int kCurves = bench::CBenchRows::kCurves;
constexpr double kMB = 1e6;

// One log's data lines, about `bytes` long.
std::string DataLines(std::uint64_t bytes) {
  std::string block;
  bench::CBenchRows source;
  while (block.size() < bytes) source.Append(block);
  return block;
}

void RemoveTree(const std::string& path) {
  if (DIR* dir = ::opendir(path.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string child = path + "/" + name;
      struct stat info {};
      if (::lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        RemoveTree(child);
      else
        ::unlink(child.c_str());
    }
    ::closedir(dir);
  }
  ::rmdir(path.c_str());
}

struct CFigures {
  double seconds = 0;
  double cpu = 0;
  double peakMB = 0;
  bool ok = false;
};

// Runs corvane-cli batch over `inputs` with `jobs`; removes what it wrote afterwards.
CFigures RunBatch(const std::string& folder, const std::vector<std::string>& inputs, int jobs) {
  const std::string out = folder + "/out";
  std::vector<std::string> args = {
      CORVANE_CLI,         "batch", "--config", folder + "/bench.lah", "--out-dir", out,
      "--first-data-line", "2",     "--jobs",   FormatInt(jobs)};
  args.insert(args.end(), inputs.begin(), inputs.end());
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  CFigures figures;
  const auto begin = std::chrono::steady_clock::now();
  // fork, not posix_spawn: a child sharing this process's memory until it starts the
  // program would inherit this process's peak as its own.
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execv(CORVANE_CLI, argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid) {
    figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    figures.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    figures.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  RemoveTree(out);
  return figures;
}

// The machine's load, which decides how much of a second core a batch can have.
std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one;
  in >> one;
  return one.empty() ? std::string("unknown") : one;
}

void Print(const char* label, std::size_t files, int jobs, const CFigures& f) {
  std::printf(
      "  %-22s %3zu files in %7.2f s  %6.2f files/s  (CPU %7.2f s)  peak RSS %6.1f MB, %5.1f MB per job%s\n",
      label, files, f.seconds, f.seconds > 0 ? static_cast<double>(files) / f.seconds : 0.0, f.cpu, f.peakMB,
      f.peakMB / jobs, f.ok ? "" : "  (FAILED)");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const long files = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 40;
  const long sizeMB = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 20;
  if (files <= 0 || sizeMB <= 0) {
    std::fprintf(stderr, "usage: %s [FILES] [SIZE_MB]\n", argv[0]);
    return 2;
  }
  // In memory where the machine has room: every output is synced to disk before it is put
  // in place, and on a disk slower than two cores' output the disk would decide the figure,
  // not the batch. BENCH_BATCH_DIR chooses another folder (a disk, to see its share).
  const char* chosen = std::getenv("BENCH_BATCH_DIR");
  const std::string base = chosen != nullptr && *chosen != '\0' ? chosen
                           : ::access("/dev/shm", W_OK) == 0    ? std::string("/dev/shm")
                                                                : TempDirectory();
  const std::string folder = base + "/corvane-bench-batch-" + FormatInt(::getpid());
  if (::mkdir(folder.c_str(), 0700) != 0) {
    std::fprintf(stderr, "cannot make %s\n", folder.c_str());
    return 1;
  }
  {
    std::ofstream lah(folder + "/bench.lah", std::ios::binary);
    lah << "[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=" << kCurves
        << "\r\n";
    for (int c = 0; c < kCurves; ++c)
      lah << "HEADING " << c << "=" << (c == 0 ? std::string("DEPT") : "C" + FormatInt(c)) << "\r\nUNITS "
          << c << "=" << (c == 0 ? "M" : "UNIT") << "\r\n";
  }
  // Every log holds the same rows under a title of its own: the work per file is the same.
  std::string data = DataLines(static_cast<std::uint64_t>(sizeMB) * 1000000u);
  std::vector<std::string> inputs;
  std::uint64_t total = 0;
  for (long k = 0; k < files; ++k) {
    inputs.push_back(folder + "/log-" + FormatInt(k) + ".asc");
    std::ofstream out(inputs.back(), std::ios::binary);
    const std::string head =
        "Benchmark log " + FormatInt(k) + "\r\nDEPT and " + FormatInt(kCurves - 1) + " curves\r\n";
    out << head << data;
    total += head.size() + data.size();
  }
  std::string().swap(data);  // the children start from a small process
  std::printf("bench_batch: %ld files of %.1f MB (%.0f MB), %d curves, CR LF, in %s\n", files,
              static_cast<double>(total) / static_cast<double>(files) / kMB, static_cast<double>(total) / kMB,
              kCurves, folder.c_str());
  const auto count = static_cast<std::size_t>(files);
  const CFigures one = RunBatch(folder, inputs, 1);
  Print("--jobs 1", count, 1, one);
  const CFigures two = RunBatch(folder, inputs, 2);
  Print("--jobs 2", count, 2, two);
  // The memory of a job does not grow with the number of files a batch holds.
  const std::vector<std::string> few(inputs.begin(), inputs.begin() + std::min<long>(files, 4));
  const CFigures small = RunBatch(folder, few, 2);
  Print("--jobs 2, first 4 files", few.size(), 2, small);
  std::printf("  cores busy: %.2f with --jobs 1, %.2f with --jobs 2 (load average %s)\n",
              one.seconds > 0 ? one.cpu / one.seconds : 0.0, two.seconds > 0 ? two.cpu / two.seconds : 0.0,
              LoadAverage().c_str());
  std::printf(
      "  speed-up of --jobs 2 over --jobs 1: %.2fx in files per second (wall clock; the CPU time of a file "
      "is %.2fx)\n",
      two.seconds > 0 ? one.seconds / two.seconds : 0.0, one.cpu > 0 ? two.cpu / one.cpu : 0.0);
  RemoveTree(folder);
  return one.ok && two.ok && small.ok ? 0 : 1;
}
