#pragma once
// What a batch shows while it runs: one line per file on stdout as it ends, one
// overall progress bar on stderr when that is a terminal, and the closing summary.
#include <cstddef>
#include <string>
#include <string_view>

#include "cli/BatchPlan.h"
#include "cli/BatchReport.h"
#include "cli/BatchRunner.h"

namespace corvane::cli {

class CBatchConsole {
 public:
  CBatchConsole(std::size_t files, bool strict);

  // "[ 3/40] succeeded  0.21 s  in/a.asc -> out/a.las: 3000 rows; check: 0 errors, 1 warning"
  void Finished(const CBatchItem& item, const CBatchOutcome& outcome);
  // The bar with files done, bytes done and the time left, redrawn at most five times a second.
  void Progress(const CBatchProgress& progress);
  // "40 files: 38 succeeded, 1 failed, 1 cancelled; 114000 rows in 12.3 s"
  void Summary(const CBatchTotals& totals, double seconds, bool check);

  // The line of a finished file, without the counter.
  static std::string FileLine(const CBatchItem& item, const CBatchOutcome& outcome, bool strict);
  // A path or reason for one line of a terminal: control characters shown as <0xNN>.
  static std::string OneLine(std::string_view text);

 private:
  void ClearBar();
  void DrawBar();

  std::size_t m_files;
  bool m_strict;
  bool m_tty;
  std::size_t m_done = 0;
  std::string m_bar;  // what the bar shows now; empty when none is drawn
  long m_lastDraw = -1000;
};

}  // namespace corvane::cli
