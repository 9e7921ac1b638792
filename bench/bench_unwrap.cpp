// Unwrapping speed and memory: a generated wrapped LAS file of about 100 MB (36
// curves, five values a line) unwrapped with a progress display that shows nothing.
// Usage: bench_unwrap [megabytes]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "JobDoubles.h"
#include "las/Unwrap.h"
#include "platform/FileSystem.h"
#include "platform/JobProgress.h"
#include "platform/NumberFormat.h"
#include "platform/TextWriter.h"

namespace {

constexpr int kCurves = 36;

void WriteWrapped(const std::string& path, std::uint64_t bytes) {
  corvane::CTextWriter out;
  out.Create(path);
  out.Write("~VERSION INFORMATION\n VERS.   2.0 : CWLS LOG ASCII STANDARD\n WRAP.   YES : Multiple lines\n");
  out.Write("~CURVE INFORMATION\n DEPT.M : depth\n");
  for (int c = 1; c < kCurves; ++c) out.Write(" C" + std::to_string(c) + ".U : curve\n");
  out.Write("~A\n");
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> reading(-1000.0, 5000.0);
  std::string block;
  double depth = 1000.0;
  while (out.Position() < bytes) {
    block.clear();
    corvane::AppendFixed(block, depth, 6);
    block += '\n';
    for (int c = 1; c < kCurves; ++c) {
      corvane::AppendFixed(block, reading(rng), 4, 11);
      block += (c % 5 == 0 || c == kCurves - 1) ? '\n' : ' ';
    }
    out.Write(block);
    depth += 0.125;
  }
  out.Commit();
  out.Close();
}

}  // namespace

int main(int argc, char** argv) {
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
  const std::string dir = corvane::TempDirectory();
  const std::string source = dir + "/corvane-bench-wrapped.las";
  const std::string target = dir + "/corvane-bench-unwrapped.las";
  WriteWrapped(source, static_cast<std::uint64_t>(megabytes * 1024 * 1024));

  corvane::CSilentProgress progress;
  const auto start = std::chrono::steady_clock::now();
  const corvane::CResult result = corvane::UnwrapLas(source, target, progress);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::FILE* file = std::fopen(source.c_str(), "rb");
  std::fseek(file, 0, SEEK_END);
  const double size = static_cast<double>(std::ftell(file)) / (1024.0 * 1024.0);
  std::fclose(file);
  std::printf("UnwrapLas: %.1f MB in %.2f s = %.1f MB/s, %s, peak memory %ld KB\n", size, seconds,
              size / seconds, result.Ok() ? "done" : "NOT DONE", usage.ru_maxrss);
  corvane::RemoveFile(source);
  corvane::RemoveFile(target);
  return result.Ok() ? 0 : 1;
}
