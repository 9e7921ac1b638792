#pragma once
// The JSON report of a batch, and the merge of the reports of many batches (the shards
// of a file list run on several machines) into one.
//
//   {"schema": "corvane-batch-report/1",
//    "runs": [{"program", "host", "started", "seconds", "config", "firstDataLine",
//              "inverse", "check", "strict", "outDir", "shard": {"index", "count"} | null,
//              "jobs", "files"}],
//    "files": [{"input", "output", "status", "message", "reason", "firstDataLine", "rows",
//               "depth": {"curve", "unit", "start", "stop", "step"} | null,
//               "reading": <the reading summary, cli/RunJson.h> | null, "bytes",
//               "seconds", "check": <a file of `check --json`> | null, "run"}],
//    "totals": {"files", "succeeded", "failed", "cancelled", "rows", "bytes", "checkFailed",
//               "readingFailed"}}
//
// Paths and texts are escaped as the check reports escape them: valid UTF-8 stays, any
// other byte above 127 becomes the code point of the same number.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/BatchPlan.h"
#include "cli/BatchRunner.h"
#include "platform/Result.h"

namespace corvane::cli {

inline constexpr const char* kBatchReportSchema = "corvane-batch-report/1";

// One run of `corvane-cli batch`: the "runs" entry of its report.
struct CBatchRun {
  std::string host;
  std::string started;  // UTC, "2024-05-01T12:00:00Z"
  double seconds = 0;
  std::string config;
  CFirstDataLine firstDataLine;
  bool inverse = false;
  bool check = false;
  bool strict = false;
  std::string outDir;
  std::optional<CBatchShard> shard;
  int jobs = 1;
};

struct CBatchTotals {
  std::size_t files = 0;
  std::size_t succeeded = 0;
  std::size_t failed = 0;
  std::size_t cancelled = 0;
  std::uint64_t rows = 0;
  std::uint64_t bytes = 0;
  std::size_t checkFailed = 0;    // files written whose check did not pass
  std::size_t readingFailed = 0;  // files written whose reading fails --strict

  bool AllSucceeded() const noexcept { return succeeded == files; }
};

// This host's name and the present time in the report's form.
std::string HostName();
std::string UtcNow();

CBatchTotals TotalsOf(const std::vector<CBatchItem>& items, const std::vector<CBatchOutcome>& outcomes,
                      bool strict);

// The report of one run; `outcomes` belong to `items`, one for one.
std::string FormatBatchReport(const CBatchRun& run, const std::vector<CBatchItem>& items,
                              const std::vector<CBatchOutcome>& outcomes);

// Reads the reports at `paths` and merges them, in order, into `merged`: their runs one
// after the other, their files likewise, except that a file whose output an earlier
// report lists already takes that entry's place. Failed, naming the report and why,
// when one cannot be read or is not a batch report.
CResult MergeBatchReports(const std::vector<std::string>& paths, std::string& merged, CBatchTotals& totals);

// Writes `text` to `path`, taking the place of an earlier file only when complete.
CResult WriteReportFile(const std::string& path, const std::string& text);

}  // namespace corvane::cli
