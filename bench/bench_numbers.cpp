// Per-value cost of the two number operations of the data conversion: reading a
// column ("%lf") and writing a cell ("%12.4lf").
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/NumberFormat.h"

namespace {

template <typename F>
double NanosecondsPer(std::size_t count, F&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto stop = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(stop - start).count() / static_cast<double>(count);
}

}  // namespace

int main() {
  constexpr std::size_t kCount = 2000000;
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> depth(500.0, 5000.0);
  std::uniform_real_distribution<double> reading(-1000.0, 1000.0);
  std::vector<double> values(kCount);
  std::vector<std::string> texts(kCount);
  for (std::size_t i = 0; i < kCount; ++i) {
    values[i] = (i % 2 == 0) ? depth(rng) : reading(rng);
    texts[i] = corvane::FormatFixed(values[i], static_cast<int>(i % 6));
  }
  if (kCount > 10) values[7] = -999.25;

  std::string out;
  out.reserve(64);
  std::size_t sink = 0;
  const double format = NanosecondsPer(kCount, [&] {
    for (double v : values) {
      out.clear();
      corvane::AppendFixed(out, v, 4, 12);
      sink += out.size();
    }
  });
  const double formatPrintf = NanosecondsPer(kCount, [&] {
    char buf[64];
    for (double v : values) sink += static_cast<std::size_t>(std::snprintf(buf, sizeof buf, "%12.4f", v));
  });
  double total = 0.0;
  const double scan = NanosecondsPer(kCount, [&] {
    for (const std::string& t : texts) {
      double v = 0.0;
      corvane::ScanDouble(t, v);
      total += v;
    }
  });
  std::printf("AppendFixed(v, 4, 12): %.1f ns/value (snprintf \"%%12.4f\": %.1f ns/value)\n", format,
              formatPrintf);
  std::printf("ScanDouble:            %.1f ns/value\n", scan);
  std::printf("(checksum %zu %.3f)\n", sink, total);
  return 0;
}
