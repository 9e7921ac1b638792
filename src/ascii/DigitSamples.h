#pragma once
// The digit samples of every column, which fix the curve total.
#include "platform/JobProgress.h"
#include "setup/ConversionSetup.h"

namespace corvane {

struct CSampleResult {
  bool gathered = false;
  int curveTotal = 0;  // the curve total to display (valid when gathered)
  std::string reason;  // why nothing was gathered, when a message was shown
};

// Rebuilds setup.digitSamples from at most 100 data lines and pads the curve list.
// "Failed to open ASCII file." goes to `feedback`.
CSampleResult CollectDigitSamples(CConversionSetup& setup, CRunFeedback& feedback);

}  // namespace corvane
