#pragma once
// The two forms of check reports: readable text, grouped by file and severity, and one
// JSON document for any number of files, written file by file.
//
// JSON document:
//   {"schema": "corvane-las-check/1", "standard": "...", "strict": false,
//    "files": [{"path", "complete", "passed", "counts": {"errors", "warnings", "notes"},
//               "summary": {"version", "wrap", "null", "lines", "bytes", "rows",
//                           "sections": [{"letter", "title", "line"}], "sectionsNotListed",
//                           "curves": [{"mnemonic", "unit", "line", "values", "nulls",
//                                       "unreadable", "missing"}], "curvesNotListed",
//                           "index": {"mnemonic", "unit", "first", "firstLine", "last", "lastLine"}},
//               "findings": [{"severity", "code", "line", "text", "reason", "section"}],
//               "unlisted": [{"code", "severity", "count"}]}, ...],
//    "totals": {"files", "failed", "errors", "warnings", "notes"}}
// Texts from the file are escaped as AppendJsonString escapes them.
#include <cstddef>
#include <string>
#include <string_view>

#include "lasfile/LasReport.h"
#include "platform/JsonWriter.h"

namespace corvane {

// The readable report of one file; `strict` only changes the closing verdict.
std::string FormatLasReportText(const CLasReport& report, bool strict);
// The report's line on what the file holds: "LAS 2.0, WRAP NO; sections ~V ~W ~C ~A;
// 3 curves; 3 rows; DEPT 1670.000 to 1669.750 M".
std::string FormatLasSummaryLine(const CLasSummary& summary);

// One file's object of the document, into `json` (a batch report holds the same object).
void WriteLasReportJson(CJsonWriter& json, const CLasReport& report, bool strict);

// The document in pieces, so that each file's report is out before the next is read.
class CLasReportJson {
 public:
  explicit CLasReportJson(bool strict) : m_strict(strict) {}
  std::string Begin();
  // One file's object (with the separator before it when it is not the first).
  std::string Add(const CLasReport& report);
  std::string End();

 private:
  CJsonWriter m_json;
  bool m_strict;
  std::size_t m_files = 0;
  std::size_t m_failed = 0;
  std::size_t m_errors = 0;
  std::size_t m_warnings = 0;
  std::size_t m_notes = 0;
};

// `bytes` for a terminal: characters outside ASCII 32..126 as <TAB>, <NUL>, <CR> or <0xNN>.
std::string PrintableText(std::string_view bytes);

}  // namespace corvane
