#pragma once
// The depth range that the header of a LAS file declares, found by the depth scan and
// made good by the data section from the rows it writes.
#include <cstdint>
#include <string>

#include "platform/NumberFormat.h"

namespace corvane {

struct CDepthRange {
  std::int32_t depthColumn = -1;  // index of the depth curve (and of its column); -1 = none
  double start = 0.0;             // STRT
  double stop = 0.0;              // STOP
  double step = 0.0;              // STEP
  std::string unit;               // units of the depth curve as the setup holds them
  // STRT, STOP and STEP as written: the index cells of the first and last rows and
  // their one increment. Empty: "%.4lf" of the numbers above.
  std::string startText;
  std::string stopText;
  std::string stepText;
  // A time index read from date-times: the first of them (ISO 8601) and its seconds,
  // from which the cells count. Empty: none.
  std::string timeOrigin;
  double timeOriginSeconds = 0;

  // STRT, STOP and STEP as the ~Well section states them.
  std::string StartValue() const { return Stated(start, startText); }
  std::string StopValue() const { return Stated(stop, stopText); }
  std::string StepValue() const { return Stated(step, stepText); }
  static std::string Stated(double value, const std::string& text) {
    return text.empty() ? FormatFixed(value, 4) : text;
  }

  bool operator==(const CDepthRange&) const = default;
};

}  // namespace corvane
