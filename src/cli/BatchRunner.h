#pragma once
// The jobs of a batch: every file converted by itself, on as many threads as asked,
// each job with its own setup copy, its own progress and messages; one file's failure
// never reaches another, and a cancel reaches them all.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/BatchPlan.h"
#include "cli/FileConversion.h"
#include "las/LasCreation.h"
#include "lasfile/LasReport.h"
#include "setup/ConversionSetup.h"

namespace corvane::cli {

enum class BatchStatus { Succeeded, Failed, Cancelled };

// "succeeded", "failed", "cancelled"
const char* BatchStatusName(BatchStatus status) noexcept;

struct CBatchOutcome {
  BatchStatus status = BatchStatus::Cancelled;
  std::string message;              // the first error message the job showed (the wizard's words), or empty
  std::string reason;               // why it failed or was cancelled; empty when it succeeded
  std::int32_t firstDataLine = -1;  // the first digit line index used; -1 when none was found
  CLasCreationFacts facts;          // what the run wrote, when it succeeded
  std::string depthCurve;           // heading of the depth curve; empty when there is none
  double seconds = 0;
  std::optional<CLasReport> check;  // with --check, for a file written
};

// The cores this process may run on (a cluster's allocation included): the jobs of a
// batch when none are asked for.
int CoreCount();

struct CBatchSettings {
  CConversionSetup base;  // the configuration (reading flags applied), loaded once; each job converts a copy
  CFirstDataLine firstDataLine;
  bool inverse = false;
  bool check = false;
  // Outputs replace files of their names (--overwrite); without it an output that finds
  // its name taken, even by a file made while the batch ran, fails and leaves that file.
  bool overwrite = false;
  int jobs = 1;
};

// How far the batch is, for the terminal.
struct CBatchProgress {
  std::size_t filesDone = 0;
  std::size_t files = 0;
  std::uint64_t bytesDone = 0;
  std::uint64_t bytes = 0;
  double seconds = 0;
};

class CBatchRunner {
 public:
  using FinishedHandler = std::function<void(std::size_t index, const CBatchOutcome& outcome)>;
  using TickHandler = std::function<void(const CBatchProgress& progress)>;
  using CancelQuery = std::function<bool()>;

  explicit CBatchRunner(CBatchSettings settings) : m_settings(std::move(settings)) {}

  // Converts every item and returns the outcomes in item order. On the calling thread:
  // `finished` for each file as it ends (after a cancel, the files never started too)
  // and `tick` about ten times a second. `cancelRequested` is asked by every job at its
  // polls and by the calling thread, so it must be safe on any thread; once it answers
  // true the running jobs stop at their next poll (their LAS files are not put in
  // place) and no more start. The worker threads do not take the interrupt signals:
  // the calling thread does.
  std::vector<CBatchOutcome> Run(const std::vector<CBatchItem>& items, const FinishedHandler& finished,
                                 const TickHandler& tick, const CancelQuery& cancelRequested);

  // One file, on the calling thread: what every job does. `cancelled` is asked at every
  // poll; `percent` is shared with the thread that watches the batch.
  CBatchOutcome Convert(const CBatchItem& item, const CancelQuery& cancelled,
                        std::atomic<int>& percent) const;

 private:
  CBatchSettings m_settings;
};

}  // namespace corvane::cli
