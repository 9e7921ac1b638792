// Saving and loading a configuration of 100000 curves (the largest curve total),
// the way Create LAS and File Open do it: both must stay well under a second.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"
#include "setup/Configuration.h"

int main() {
  using namespace corvane;
  constexpr int kCurves = 100000;
  CConversionSetup setup;
  setup.configFilePath = TempDirectory() + "/corvane-bench-" + FormatInt(::getpid()) + ".lah";
  setup.asciiFilePath = "/data/logs/well.asc";
  setup.lasFilePath = "/data/logs/well.las";
  for (int i = 0; i < kCurves; ++i) {
    setup.curves.push_back({"C" + FormatInt(i), "UNIT", "07 120 46 00", "curve number " + FormatInt(i)});
    setup.digitSamples.emplace_back();
  }
  auto seconds = [](auto start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  // The first save creates the file; the second rewrites every key of an existing one.
  auto start = std::chrono::steady_clock::now();
  bool ok = SaveConfiguration(setup).Ok();
  const double create = seconds(start);
  start = std::chrono::steady_clock::now();
  ok = ok && SaveConfiguration(setup).Ok();
  const double rewrite = seconds(start);
  CConversionSetup loaded;
  loaded.configFilePath = setup.configFilePath;
  start = std::chrono::steady_clock::now();
  ok = ok && LoadConfiguration(loaded).Ok() && loaded.curves == setup.curves;
  const double load = seconds(start);
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf(
      "bench_configuration: %d curves, save new %.3f s, save over %.3f s, load %.3f s (target < 1 s each: "
      "%s), "
      "peak RSS %.1f MB%s\n",
      kCurves, create, rewrite, load, create < 1 && rewrite < 1 && load < 1 ? "met" : "NOT met",
      static_cast<double>(usage.ru_maxrss) / 1024.0, ok ? "" : "  (FAILED)");
  RemoveFile(setup.configFilePath);
  return ok ? 0 : 1;
}
