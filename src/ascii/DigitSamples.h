#pragma once
// The digit samples of every column, which fix the curve total.
#include <string>

#include "platform/JobProgress.h"
#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// Rebuilds setup.digitSamples from at most 100 data lines and pads the curve list;
// the curve total is then setup.CurveTotal(). Fails when the file cannot be read
// ("Failed to open ASCII file." goes to `feedback`), when it ends before its first
// data line (no message; the reason says where), or when the first data line holds
// more than kMaxCurveTotal columns (the curve total's refusal goes to `feedback`).
CResult CollectDigitSamples(CConversionSetup& setup, CRunFeedback& feedback);

// Why a file has nothing to convert: "No data line at line N of FILE: the file has
// M lines."
std::string NoDataLineReason(const std::string& path, int firstDataLine, int lines);

}  // namespace corvane
