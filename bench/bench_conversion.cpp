// Speed and memory of the LAS creation run on a large generated ASCII log.
//
//   bench_conversion [SIZE_MB]     (default 200)
//
// Generates "<temp dir>/corvane-bench-<SIZE>MB.asc" (20 curves, CR LF line ends) when
// it is not there yet, then converts it through CreateLas with the silent progress,
// once in file order, once inverted and once in file order keeping the source's
// digits (DIGITS=source). Each conversion runs in a child process of its own so that
// its peak resident memory is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "BenchRows.h"
#include "JobDoubles.h"
#include "las/LasCreation.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"

using namespace corvane;

namespace {

constexpr int kCurves = bench::CBenchRows::kCurves;
constexpr double kMB = 1e6;

void Generate(const std::string& path, std::uint64_t bytes) {
  const std::string partial = path + ".part";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  std::string block;
  block.append("Benchmark log, generated\r\n");
  block.append("        DEPT");
  for (int c = 1; c < kCurves; ++c) {
    std::string name = "C" + FormatInt(c);
    block.push_back(' ');
    AppendRightAligned(block, name, 11);
  }
  block.append("\r\n");
  std::uint64_t written = 0;
  bench::CBenchRows source;
  while (written + block.size() < bytes) {
    source.Append(block);
    if (block.size() >= (1u << 20)) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
      written += block.size();
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

CConversionSetup BenchSetup(const std::string& ascii, const std::string& las) {
  CConversionSetup setup;
  setup.asciiFilePath = ascii;
  setup.lasFilePath = las;
  setup.configFilePath = las + ".lah";  // never written: the save operation below does nothing
  setup.firstDigitLineIndex = 2;
  setup.delimiterText = "space";
  for (int c = 0; c < kCurves; ++c) {
    CCurveDef curve;
    curve.heading = c == 0 ? std::string("DEPT") : "C" + FormatInt(c);
    curve.units = c == 0 ? "M" : "UNIT";
    setup.curves.push_back(curve);
    setup.digitSamples.emplace_back();
  }
  return setup;
}

enum class Variant { Normal, Inverted, SourceDigits };

// Runs one conversion in a child process; prints its figures, returns its seconds.
double Convert(const std::string& ascii, std::uint64_t inputBytes, Variant variant) {
  const bool inverse = variant == Variant::Inverted;
  const std::string las = TempDirectory() + "/corvane-bench-" + FormatInt(getpid()) + ".las";
  int channel[2];
  if (pipe(channel) != 0) std::exit(1);
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    CConversionSetup setup = BenchSetup(ascii, las);
    if (variant == Variant::SourceDigits) setup.reading.digits = DigitsKept::Source;
    CSilentProgress progress;
    CCollectingFeedback feedback;
    const auto begin = std::chrono::steady_clock::now();
    const bool ok = CreateLas(setup, inverse, {}, progress, feedback, [] { return CResult::Done(); }).Ok();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::ifstream result(las, std::ios::binary | std::ios::ate);
    const auto lasBytes = static_cast<long long>(result.tellg());
    // The CPU time is the steadier figure on a machine shared with other work.
    std::printf(
        "  %-9s %7.3f s  %8.1f MB/s of input  (CPU %6.3f s, %7.1f MB/s)  peak RSS %6.1f MB  LAS %.1f MB%s\n",
        variant == Variant::Inverted       ? "inverted"
        : variant == Variant::SourceDigits ? "source"
                                           : "normal",
        seconds, static_cast<double>(inputBytes) / kMB / seconds, cpu,
        static_cast<double>(inputBytes) / kMB / cpu, static_cast<double>(usage.ru_maxrss) / 1024.0,
        static_cast<double>(lasBytes) / kMB, ok ? "" : "  (FAILED)");
    std::fflush(stdout);
    unlink(las.c_str());
    (void)!write(channel[1], &seconds, sizeof seconds);
    _exit(ok ? 0 : 1);
  }
  close(channel[1]);
  double seconds = 0;
  if (read(channel[0], &seconds, sizeof seconds) != sizeof seconds) seconds = 0;
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::exit(1);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const long sizeMB = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
  if (sizeMB <= 0) {
    std::fprintf(stderr, "usage: %s [SIZE_MB]\n", argv[0]);
    return 2;
  }
  const std::string ascii = TempDirectory() + "/corvane-bench-" + FormatInt(sizeMB) + "MB.asc";
  if (!FileExists(ascii)) Generate(ascii, static_cast<std::uint64_t>(sizeMB) * 1000000u);
  std::ifstream input(ascii, std::ios::binary | std::ios::ate);
  const auto inputBytes = static_cast<std::uint64_t>(input.tellg());
  std::printf("bench_conversion: %s, %.1f MB, %d curves, CR LF\n", ascii.c_str(),
              static_cast<double>(inputBytes) / kMB, kCurves);
  const double normal = Convert(ascii, inputBytes, Variant::Normal);
  const double inverted = Convert(ascii, inputBytes, Variant::Inverted);
  const double source = Convert(ascii, inputBytes, Variant::SourceDigits);
  std::printf("  inverted / normal time: %.2f\n", normal > 0 ? inverted / normal : 0.0);
  std::printf("  source digits / normal time: %.2f\n", normal > 0 ? source / normal : 0.0);
  return 0;
}
