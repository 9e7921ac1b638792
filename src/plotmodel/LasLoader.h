#pragma once
// The job that reads a LAS file for the plot: the header first, then the data rows
// batch by batch into the decimated curves of CLasData, so that a window can draw
// what has arrived while the rest is still being read. Reports through the job
// interface like every long job, and stops at a cancel with what it has so far.
#include "platform/JobProgress.h"
#include "plotmodel/LasData.h"

namespace corvane {

// Rows handed over in the first batch (a first picture soon) and in every later one.
inline constexpr long kFirstBatchRows = 4 * 1024;
inline constexpr long kBatchRows = 64 * 1024;

// Reads the file that `data` names; returns (and leaves in `data`) the final state.
// A file that cannot be read, or has no curves or no ~A section, ends in Failed with
// the reason in data.Error().
LoadState LoadLasFile(CLasData& data, CJobProgress& progress);

}  // namespace corvane
