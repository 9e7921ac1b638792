#pragma once
// Checks LAS files against the CWLS LAS 2.0 standard (January 2014 update): sections,
// header lines, required items, the index and every data value, in one streaming pass.
//
// A file that declares VERS 1.2 is reported as such (VERS_1_2, a warning) and checked by
// the LAS 2.0 rules: what it would have to change to be a LAS 2.0 file is listed.
#include <functional>
#include <memory>
#include <string>

#include "lasfile/LasReader.h"
#include "lasfile/LasReport.h"
#include "platform/JobProgress.h"

namespace corvane {

// Checks the file at `path`. Never throws for what the file holds or for a failure to
// read it: that is reported as FILE_UNREADABLE (or LINE_TOO_LONG) in the report.
CLasReport CheckLasFile(const std::string& path);

// The title of the check's progress display.
inline constexpr const char* kLasCheckTitle = "Checking LAS file...";

// CheckLasFile for a display: shows the line and the share of the file checked on
// `progress` (opened once the file is open) and stops when it is cancelled, with the
// findings of the lines read so far, `complete` false and `cancelled` true.
// `onRecord`, when given, sees every record after the checker, for a caller that
// gathers more from the same pass.
CLasReport CheckLasFile(const std::string& path, CJobProgress& progress,
                        const std::function<void(const CLasRecord&)>& onRecord = {});

// The rules, fed record by record by whoever drives a CLasReader: CheckLasFile does, and
// a loader can check what it reads in the same pass.
class CLasChecker {
 public:
  explicit CLasChecker(CLasReport& report);
  ~CLasChecker();
  CLasChecker(const CLasChecker&) = delete;
  CLasChecker& operator=(const CLasChecker&) = delete;

  void Take(const CLasRecord& record, const CLasReader& reader);
  // After the last record: the checks that need the whole file, and the summary. With
  // `complete` false (reading stopped early) only the summary is filled.
  void Finish(const CLasReader& reader, bool complete);

 private:
  struct CState;
  std::unique_ptr<CState> m_state;
};

}  // namespace corvane
