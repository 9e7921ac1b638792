// Speed and memory of the LAS check on large generated LAS files.
//
//   bench_check [SIZE_MB...]     (default: 20 and 200)
//
// Generates "<temp dir>/corvane-bench-check-<SIZE>MB.las" (LAS 2.0, unwrapped, 20 curves,
// CR LF line ends, a null value now and then) when it is not there yet, then checks it
// with CheckLasFile. Each check runs in a child process of its own so that its peak
// resident memory is its own; the same peak at both sizes shows that memory does not
// grow with the file.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BenchRows.h"
#include "lasfile/LasChecker.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"

using namespace corvane;

namespace {

constexpr int kCurves = bench::CBenchRows::kCurves;
constexpr double kMB = 1e6;
constexpr double kStep = bench::CBenchRows::kStep;
constexpr double kStart = bench::CBenchRows::kStart;

std::string Header(std::uint64_t rows) {
  const double stop = kStart + static_cast<double>(rows - 1) * kStep;
  std::string h =
      "~Version Information\r\n"
      " VERS.                2.00 : CWLS Log ASCII Standard - Version 2.00\r\n"
      " WRAP.                  NO : One line per depth\r\n"
      "~Well Information\r\n";
  h += " STRT.M  " + FormatFixed(kStart, 4) + " : Start Depth\r\n";
  h += " STOP.M  " + FormatFixed(stop, 4) + " : Stop Depth\r\n";
  h += " STEP.M  " + FormatFixed(kStep, 4) + " : Depth Increment\r\n";
  h += " NULL.  -999.2500 : No Data Flag\r\n"
       " COMP.  Benchmark Oil : COMPANY\r\n"
       " WELL.  Bench 1 : WELL\r\n"
       " FLD .  Generated : FIELD\r\n"
       " LOC .  Nowhere : LOCATION\r\n"
       " PROV.  Alberta : PROVINCE\r\n"
       " SRVC.  Bench Logging : SERVICE COMPANY\r\n"
       " DATE.  2024-01-01 : LOG DATE\r\n"
       " UWI .  100000000000W500 : UNIQUE WELL ID\r\n"
       "~Curve Information\r\n"
       " DEPT.M  : 1 Depth\r\n";
  for (int c = 1; c < kCurves; ++c) h += " C" + FormatInt(c) + ".UNIT  : " + FormatInt(c + 1) + " Curve\r\n";
  h += "~A\r\n";
  return h;
}

void Generate(const std::string& path, std::uint64_t bytes) {
  // Rows of 12 + 19 * 12 characters and CR LF.
  const std::uint64_t rowBytes = bench::CBenchRows::kRowBytes;
  const std::uint64_t rows = bytes / rowBytes;
  const std::string partial = path + ".part";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  std::string block = Header(rows);
  bench::CBenchRows source;
  for (std::uint64_t row = 0; row < rows; ++row) {
    source.Append(block);
    if (block.size() >= (1u << 20)) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
      block.clear();
    }
  }
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
  out.close();
  if (!out || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// Checks the file in a child process and prints its figures.
bool Check(const std::string& path, std::uint64_t bytes) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const auto begin = std::chrono::steady_clock::now();
    const CLasReport report = CheckLasFile(path);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    const bool clean = report.complete && report.Count(LasSeverity::Error) == 0 &&
                       report.Count(LasSeverity::Warning) == 0 && report.summary.curves.size() == kCurves;
    std::printf(
        "  %6.1f MB  %7.3f s  %8.1f MB/s  (CPU %6.3f s, %7.1f MB/s)  peak RSS %6.1f MB  %llu rows%s\n",
        static_cast<double>(bytes) / kMB, seconds, static_cast<double>(bytes) / kMB / seconds, cpu,
        static_cast<double>(bytes) / kMB / cpu, static_cast<double>(usage.ru_maxrss) / 1024.0,
        static_cast<unsigned long long>(report.summary.rows), clean ? "" : "  (UNEXPECTED FINDINGS)");
    std::fflush(stdout);
    _exit(clean ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::strtol(argv[i], nullptr, 10));
  if (sizes.empty()) sizes = {20, 200};
  bool ok = true;
  std::printf("bench_check: LAS 2.0, %d curves, CR LF; CheckLasFile in a child process\n", kCurves);
  for (const long sizeMB : sizes) {
    if (sizeMB <= 0) {
      std::fprintf(stderr, "usage: %s [SIZE_MB...]\n", argv[0]);
      return 2;
    }
    const std::string path = TempDirectory() + "/corvane-bench-check-" + FormatInt(sizeMB) + "MB.las";
    if (!FileExists(path)) Generate(path, static_cast<std::uint64_t>(sizeMB) * 1000000u);
    std::ifstream input(path, std::ios::binary | std::ios::ate);
    ok = Check(path, static_cast<std::uint64_t>(input.tellg())) && ok;
  }
  return ok ? 0 : 1;
}
