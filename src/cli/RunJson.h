#pragma once
// The JSON objects of one conversion that the batch report and `convert --report` both
// carry: the depth range the header states and the reading summary.
//
//   "depth":   {"curve", "unit", "start", "stop", "step"}  (the texts of the ~Well lines)
//   "reading": {"rows", "columns", "options": {"decimalComma", "quotes", "emptyFields",
//               "nullMarkers", "wholeCells", "digits", "dateTime"}, "doubts", "strictFails",
//               "kinds": {KIND: {"count", "first": {"line", "column" | "fields", "text"}}},
//               "byColumn": [{"column", "curve", "kinds": {...}}],
//               "hints": [{"kind", "finding", "option"}]}
#include <string>

#include "las/DepthRange.h"
#include "las/ReadingSummary.h"
#include "platform/JsonWriter.h"

namespace corvane::cli {

void WriteDepthJson(CJsonWriter& json, const CDepthRange& range, const std::string& curve);
void WriteReadingJson(CJsonWriter& json, const CReadingSummary& reading);
// {"decimalComma", "quotes", "emptyFields", "nullMarkers", "wholeCells", "digits", "dateTime"}
void WriteReadingOptionsJson(CJsonWriter& json, const CReadingOptions& options);

}  // namespace corvane::cli
