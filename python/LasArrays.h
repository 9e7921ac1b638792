#pragma once
// A LAS file read whole into one array of doubles in one pass (which may check it too):
// the header as the LAS window shows it, the rows of the curves asked for (row-major,
// the index curve first), a null reading or a text that is no number as NaN, and the
// check's report. Memory beside the array stays that of the reader and the checker.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lasfile/LasReport.h"
#include "platform/JobProgress.h"
#include "plotmodel/LasHeader.h"
#include "python/MappedDoubles.h"

namespace corvane::python {

struct CLasArraysRequest {
  // Mnemonics of the curves to keep besides the index (case does not matter), in the
  // order wanted; none given: every curve.
  std::optional<std::vector<std::string>> curves;
  // Only the rows whose index lies between the two (either way round, ends included).
  std::optional<std::pair<double, double>> depth;
  // Check the file in the same pass (the rules cost about as much as the reading).
  bool check = false;
};

struct CLasArrays {
  CLasHeader header;
  std::vector<std::size_t> columns;  // the curves kept, as places in header.curves
  std::size_t rows = 0;
  CMappedDoubles values;             // rows x columns.size()
  std::optional<CLasReport> report;  // when asked for
};

// Throws CModuleError (File) when the file at `path` cannot be opened for reading.
void ProbeLasFile(const std::string& path);

// Reads the file at `path`. Throws CModuleError: File when it cannot be opened or read
// to its end, Format without curves or data section, Curve for a curve the file lacks,
// Cancelled when `progress` is cancelled. std::bad_alloc when memory runs out.
CLasArrays ReadLasArrays(const std::string& path, const CLasArraysRequest& request, CJobProgress& progress);

}  // namespace corvane::python
