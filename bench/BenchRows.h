#pragma once
// The data rows of the benchmarks' logs, the same in every benchmark: a depth every
// 0.125 m from 1000 m and 19 curves of pseudo-random readings with a few nulls
// (-999.25), fixed-width columns, CR LF line ends.
#include <cstdint>
#include <string>

#include "platform/NumberFormat.h"

namespace corvane::bench {

class CBenchRows {
 public:
  static constexpr int kCurves = 20;
  static constexpr double kStart = 1000.0;
  static constexpr double kStep = 0.125;
  // Bytes of one row: 12 for the depth, 12 for each other curve, CR LF.
  static constexpr std::uint64_t kRowBytes = 12 + 12 * (kCurves - 1) + 2;

  // Appends the next row.
  void Append(std::string& block) {
    AppendFixed(block, kStart + static_cast<double>(m_row++) * kStep, 4, 12);
    for (int c = 1; c < kCurves; ++c) {
      m_seed = m_seed * 1664525u + 1013904223u;
      const double value =
          (c % 5 == 0 && m_seed % 97 == 0) ? -999.25 : static_cast<double>(m_seed % 200000) / 1000.0;
      block.push_back(' ');
      AppendFixed(block, value, 4, 11);
    }
    block.append("\r\n");
  }

 private:
  std::uint64_t m_row = 0;
  std::uint32_t m_seed = 12345;
};

}  // namespace corvane::bench
