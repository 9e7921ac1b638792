#pragma once
// A large LAS file for the plot's benchmarks: DEPT and 20 curves of smooth readings with
// noise, a run of nulls now and then, one line per depth, CR LF line ends. Named, its
// first eight curves are those of a petrophysicist's log (GR, NPHI, RHOB, ILD, DT, CALI,
// SP, PEF) with readings in their ranges, so that the standard layout, its scales and
// its fills are what is drawn; unnamed, every curve is of no known family.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/NumberFormat.h"

namespace corvane::bench {

constexpr int kBenchCurves = 20;

struct CBenchCurve {
  const char* mnemonic;
  const char* unit;
};
constexpr CBenchCurve kNamedCurves[] = {{"GR", "GAPI"}, {"NPHI", "V/V"}, {"RHOB", "G/C3"}, {"ILD", "OHMM"},
                                        {"DT", "US/F"}, {"CALI", "IN"},  {"SP", "MV"},     {"PEF", "B/E"}};
constexpr int kNamedCount = static_cast<int>(sizeof kNamedCurves / sizeof kNamedCurves[0]);

// The reading of a named curve from a smooth reading of about 10 to 95.
inline double NamedReading(int curve, double smooth) {
  switch (curve) {
    case 1:
      return smooth;  // GR
    case 2:
      return 0.05 + smooth / 250;  // NPHI
    case 3:
      return 2.9 - smooth / 100;  // RHOB
    case 4:
      return std::exp(smooth / 25);  // ILD
    case 5:
      return 50 + smooth;  // DT
    case 6:
      return 8 + smooth / 30;  // CALI
    case 7:
      return -smooth;  // SP
    default:
      return 1 + smooth / 20;  // PEF
  }
}

// Writes about `bytes` bytes into `path`; returns the rows written, 0 on failure.
inline long WriteBenchLas(const std::string& path, std::uint64_t bytes, bool named = false) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return 0;
  std::string block;
  block += "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n";
  block += " WRAP.   NO : One line per depth step\r\n~WELL INFORMATION\r\n";
  block += "STRT.M   1000.0000 : START DEPTH\r\nSTEP.M   0.1000 : STEP\r\nNULL.   -999.25 : NULL VALUE\r\n";
  block += "WELL.   BENCH WELL : WELL\r\n~CURVE INFORMATION\r\n DEPT.M : Depth\r\n";
  for (int c = 1; c <= kBenchCurves; ++c) {
    if (named && c <= kNamedCount)
      block += std::string(" ") + kNamedCurves[c - 1].mnemonic + "." + kNamedCurves[c - 1].unit +
               " : Curve " + std::to_string(c) + "\r\n";
    else
      block += " C" + std::to_string(c) + (c % 7 == 3 ? ".OHMM" : ".V/V") + " : Curve " + std::to_string(c) +
               "\r\n";
  }
  block += "~A\r\n";
  std::uint64_t written = 0;
  long row = 0;
  std::uint32_t seed = 2024;
  while (written + block.size() < bytes) {
    AppendFixed(block, 1000.0 + 0.1 * static_cast<double>(row), 4, 11);
    for (int c = 1; c <= kBenchCurves; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const double smooth = 50 + 40 * std::sin(static_cast<double>(row) * 0.0007 * c);
      double value = smooth + static_cast<double>(seed % 1000) / 200.0;
      if (named && c <= kNamedCount)
        value = NamedReading(c, value);
      else if (c % 7 == 3)
        value = std::exp(value / 25.0);                 // resistivity-like
      if ((row / 5000 + c) % 41 == 0) value = -999.25;  // runs of nulls
      block.push_back(' ');
      AppendFixed(block, value, 4, 11);
    }
    block += "\r\n";
    ++row;
    if (block.size() >= (1u << 22)) {
      if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) {
        std::fclose(out);
        return 0;
      }
      written += block.size();
      block.clear();
    }
  }
  const bool ok = std::fwrite(block.data(), 1, block.size(), out) == block.size();
  return std::fclose(out) == 0 && ok ? row : 0;
}

// Peak resident memory of this process so far, in MB (VmHWM).
inline double PeakMemoryMB() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  double kb = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %lf kB", &kb) == 1) break;
  std::fclose(status);
  return kb / 1024.0;
}

}  // namespace corvane::bench
