#pragma once
// The depth range that the header of a LAS file declares, found by the depth scan.
#include <cstdint>
#include <string>

namespace corvane {

struct CDepthRange {
  std::int32_t depthColumn = -1;  // index of the depth curve (and of its column); -1 = none
  double start = 0.0;             // STRT
  double stop = 0.0;              // STOP
  double step = 0.0;              // STEP
  std::string unit;               // units of the depth curve as the setup holds them

  bool operator==(const CDepthRange&) const = default;
};

}  // namespace corvane
