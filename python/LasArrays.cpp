#include "python/LasArrays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lasfile/LasChecker.h"
#include "lasfile/LasReader.h"
#include "platform/AsciiText.h"
#include "platform/FileError.h"
#include "plotmodel/LasRowValues.h"
#include "python/ModuleError.h"

namespace corvane::python {
namespace {

std::vector<std::size_t> ChooseColumns(const std::string& path, const CLasHeader& header,
                                       const CLasArraysRequest& request) {
  std::vector<std::size_t> columns;
  if (!request.curves) {
    for (std::size_t c = 0; c < header.curves.size(); ++c) columns.push_back(c);
    return columns;
  }
  columns.push_back(0);  // the index comes with every choice
  for (const std::string& wanted : *request.curves) {
    const auto found =
        std::find_if(header.curves.begin(), header.curves.end(),
                     [&wanted](const CCurveInfo& curve) { return EqualNoCase(curve.mnemonic, wanted); });
    if (found == header.curves.end())
      throw CModuleError(ErrorKind::Curve, "No curve " + wanted + " in the file.", path,
                         "the ~C section names no curve " + wanted);
    const auto column = static_cast<std::size_t>(found - header.curves.begin());
    if (std::find(columns.begin(), columns.end(), column) == columns.end()) columns.push_back(column);
  }
  return columns;
}

// Why the check stopped before the end of the file: its finding at the line where it did.
std::string StopReason(const CLasReport& report) {
  for (const CLasFinding& finding : report.Findings())
    if (finding.code == LasCode::FileUnreadable || finding.code == LasCode::LineTooLong)
      return finding.reason;
  return "the file could not be read to its end";
}

// The records of the file for `take`, with a look at `progress` now and then.
template <class Take>
void ReadRecords(const std::string& path, CJobProgress& progress, Take& take) {
  constexpr std::uint64_t kPollBytes = 256 * 1024;
  std::int32_t cancelFlag = 0;
  const CProgressScope shown(progress, "Reading LAS file...", cancelFlag);
  try {
    CLasReader reader;
    reader.Open(path);
    CLasRecord record;
    std::uint64_t nextPoll = 0;
    while (reader.Next(record)) {
      take(record);
      if (reader.BytesRead() < nextPoll) continue;
      nextPoll = reader.BytesRead() + kPollBytes;
      if (progress.PollCancel())
        throw CModuleError(ErrorKind::Cancelled, "Reading cancelled.", path, "cancelled");
    }
  } catch (const CFileError& error) {
    throw CModuleError(ErrorKind::File, "Cannot read LAS file.", path, error.what());
  }
}

}  // namespace

void ProbeLasFile(const std::string& path) {
  // Opened on its own first, so that a file that cannot be opened says why in the
  // system's words rather than as a finding of the check.
  CLasReader probe;
  try {
    probe.Open(path);
  } catch (const CFileError& error) {
    throw CModuleError(ErrorKind::File, "Cannot open LAS file.", path, error.what());
  }
}

CLasArrays ReadLasArrays(const std::string& path, const CLasArraysRequest& request, CJobProgress& progress) {
  ProbeLasFile(path);

  CLasArrays out;
  CLasHeaderBuilder builder;
  std::optional<CLasRowValues> readings;
  bool afterData = false;
  double low = 0;
  double high = 0;
  if (request.depth) std::tie(low, high) = std::minmax(request.depth->first, request.depth->second);

  const auto take = [&](const CLasRecord& record) {
    if (afterData) return;
    if (!readings) {
      if (!builder.Take(record)) return;
      out.header = builder.Finish();
      if (out.header.curves.empty())
        throw CModuleError(ErrorKind::Format, "The ~C section names no curves.", path, "no curves to read");
      out.columns = ChooseColumns(path, out.header, request);
      readings.emplace(out.header.curves.size(), out.header.nullValue);
      return;
    }
    if (record.kind == LasRecordKind::SectionTitle) {
      afterData = true;  // the data ends at the next section
      return;
    }
    if (record.kind != LasRecordKind::DataRow) return;
    const double* row = readings->Take(record);
    if (request.depth && !(row[0] >= low && row[0] <= high)) return;
    double* kept = out.values.Extend(out.columns.size());
    for (const std::size_t column : out.columns) *kept++ = row[column];
    ++out.rows;
  };
  if (request.check) {
    out.report = CheckLasFile(path, progress, take);
    if (out.report->cancelled)
      throw CModuleError(ErrorKind::Cancelled, "Reading cancelled.", path, "cancelled");
    if (!out.report->complete)
      throw CModuleError(ErrorKind::File, "Cannot read LAS file.", path, StopReason(*out.report));
  } else {
    ReadRecords(path, progress, take);
  }
  if (!readings) {
    out.header = builder.Finish();
    if (out.header.curves.empty())
      throw CModuleError(ErrorKind::Format, "The ~C section names no curves.", path, "no curves to read");
    throw CModuleError(ErrorKind::Format, "The file has no ~A data section.", path, "no data to read");
  }
  return out;
}

}  // namespace corvane::python
