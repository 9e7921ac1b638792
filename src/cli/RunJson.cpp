#include "cli/RunJson.h"

#include "lasfile/LasReportFormat.h"
#include "platform/NumberFormat.h"

namespace corvane::cli {
namespace {

void Key(std::string& out, const char* key) {
  out += '"';
  out += key;
  out += "\":";
}

void String(std::string& out, const char* key, const std::string& value) {
  Key(out, key);
  AppendJsonString(out, value);
}

void Number(std::string& out, const char* key, long long value) {
  Key(out, key);
  AppendInt(out, value);
}

void Boolean(std::string& out, const char* key, bool value) {
  Key(out, key);
  out += value ? "true" : "false";
}

bool IsRowKind(ReadingKind kind) { return kind == ReadingKind::ShortRow || kind == ReadingKind::LongRow; }

// {KIND: {"count", "first": {...}}} of the kinds found; `count` gives a kind's count.
template <typename CountOf>
void AppendKinds(std::string& out, CountOf countOf) {
  out += '{';
  bool first = true;
  for (std::size_t k = 0; k < kReadingKindCount; ++k) {
    const auto kind = static_cast<ReadingKind>(k);
    const CReadingCount& count = countOf(kind);
    if (count.count == 0) continue;
    if (!first) out += ',';
    first = false;
    AppendJsonString(out, ReadingKindName(kind));
    out += ":{";
    Number(out, "count", static_cast<long long>(count.count));
    out += ",\"first\":{";
    Number(out, "line", static_cast<long long>(count.first.line));
    out += ',';
    Number(out, IsRowKind(kind) ? "fields" : "column", count.first.column);
    out += ',';
    String(out, "text", count.first.text);
    out += "}}";
  }
  out += '}';
}

}  // namespace

void AppendDepthJson(std::string& out, const CDepthRange& range, const std::string& curve) {
  out += '{';
  Key(out, "curve");
  if (curve.empty())
    out += "null";
  else
    AppendJsonString(out, curve);
  out += ',';
  String(out, "unit", range.unit);
  out += ',';
  String(out, "start", range.StartValue());
  out += ',';
  String(out, "stop", range.StopValue());
  out += ',';
  String(out, "step", range.StepValue());
  out += '}';
}

void AppendReadingOptionsJson(std::string& out, const CReadingOptions& options) {
  out += '{';
  Boolean(out, "decimalComma", options.decimalComma);
  out += ',';
  Boolean(out, "quotes", options.quotes);
  out += ',';
  Boolean(out, "emptyFields", options.emptyFields);
  out += ",\"nullMarkers\":[";
  for (std::size_t i = 0; i < options.nullMarkers.size(); ++i) {
    if (i > 0) out += ',';
    AppendJsonString(out, options.nullMarkers[i]);
  }
  out += "],";
  Boolean(out, "wholeCells", options.wholeCells);
  out += ',';
  String(out, "digits", std::string(DigitsName(options.digits)));
  out += ',';
  Key(out, "dateTime");
  if (options.dateTimeColumn > 0)
    AppendInt(out, options.dateTimeColumn);
  else
    out += "null";
  out += '}';
}

void AppendReadingJson(std::string& out, const CReadingSummary& reading) {
  int written = 0;
  for (int c = 0; c < reading.Columns(); ++c)
    if (!reading.Heading(c).empty()) ++written;
  out += '{';
  Number(out, "rows", static_cast<long long>(reading.Rows()));
  out += ',';
  Number(out, "columns", written);
  out += ",\"options\":";
  AppendReadingOptionsJson(out, reading.Options());
  out += ',';
  Boolean(out, "doubts", reading.HasDoubts());
  out += ',';
  Boolean(out, "strictFails", reading.FailsStrict());
  out += ",\"kinds\":";
  AppendKinds(out, [&](ReadingKind kind) -> const CReadingCount& { return reading.Total(kind); });
  out += ",\"byColumn\":[";
  bool first = true;
  for (int c = 0; c < reading.Columns(); ++c) {
    if (!reading.ColumnHasFindings(c)) continue;
    if (!first) out += ',';
    first = false;
    out += '{';
    Number(out, "column", c + 1);
    out += ',';
    String(out, "curve", reading.Heading(c));
    out += ",\"kinds\":";
    AppendKinds(out, [&](ReadingKind kind) -> const CReadingCount& { return reading.Count(c, kind); });
    out += '}';
  }
  out += "],\"hints\":[";
  first = true;
  for (const CReadingHint& hint : reading.Hints()) {
    if (!first) out += ',';
    first = false;
    out += '{';
    String(out, "kind", std::string(ReadingKindName(hint.kind)));
    out += ',';
    String(out, "finding", hint.finding);
    out += ',';
    String(out, "option", hint.option);
    out += '}';
  }
  out += "]}";
}

}  // namespace corvane::cli
