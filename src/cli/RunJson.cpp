#include "cli/RunJson.h"

namespace corvane::cli {
namespace {

bool IsRowKind(ReadingKind kind) { return kind == ReadingKind::ShortRow || kind == ReadingKind::LongRow; }

// {KIND: {"count", "first": {...}}} of the kinds found; `countOf` gives a kind's count.
template <typename CountOf>
void WriteKinds(CJsonWriter& json, CountOf countOf) {
  json.BeginObject();
  for (std::size_t k = 0; k < kReadingKindCount; ++k) {
    const auto kind = static_cast<ReadingKind>(k);
    const CReadingCount& count = countOf(kind);
    if (count.count == 0) continue;
    json.Key(ReadingKindName(kind)).BeginObject();
    json.Key("count").Integer(static_cast<long long>(count.count));
    json.Key("first").BeginObject();
    json.Key("line").Integer(static_cast<long long>(count.first.line));
    json.Key(IsRowKind(kind) ? "fields" : "column").Integer(count.first.column);
    json.Key("text").String(count.first.text);
    json.EndObject();
    json.EndObject();
  }
  json.EndObject();
}

}  // namespace

void WriteDepthJson(CJsonWriter& json, const CDepthRange& range, const std::string& curve) {
  json.BeginObject();
  json.Key("curve").StringOrNull(curve);
  json.Key("unit").String(range.unit);
  json.Key("start").String(range.StartValue());
  json.Key("stop").String(range.StopValue());
  json.Key("step").String(range.StepValue());
  json.EndObject();
}

void WriteReadingOptionsJson(CJsonWriter& json, const CReadingOptions& options) {
  json.BeginObject();
  json.Key("decimalComma").Boolean(options.decimalComma);
  json.Key("quotes").Boolean(options.quotes);
  json.Key("emptyFields").Boolean(options.emptyFields);
  json.Key("nullMarkers").BeginArray();
  for (const std::string& marker : options.nullMarkers) json.String(marker);
  json.EndArray();
  json.Key("wholeCells").Boolean(options.wholeCells);
  json.Key("digits").String(DigitsName(options.digits));
  json.Key("dateTime");
  if (options.dateTimeColumn > 0)
    json.Integer(options.dateTimeColumn);
  else
    json.Null();
  json.EndObject();
}

void WriteReadingJson(CJsonWriter& json, const CReadingSummary& reading) {
  int written = 0;
  for (int c = 0; c < reading.Columns(); ++c)
    if (!reading.Heading(c).empty()) ++written;
  json.BeginObject();
  json.Key("rows").Integer(static_cast<long long>(reading.Rows()));
  json.Key("columns").Integer(written);
  json.Key("options");
  WriteReadingOptionsJson(json, reading.Options());
  json.Key("doubts").Boolean(reading.HasDoubts());
  json.Key("strictFails").Boolean(reading.FailsStrict());
  json.Key("kinds");
  WriteKinds(json, [&](ReadingKind kind) -> const CReadingCount& { return reading.Total(kind); });
  json.Key("byColumn").BeginArray();
  for (int c = 0; c < reading.Columns(); ++c) {
    if (!reading.ColumnHasFindings(c)) continue;
    json.BeginObject();
    json.Key("column").Integer(c + 1);
    json.Key("curve").String(reading.Heading(c));
    json.Key("kinds");
    WriteKinds(json, [&](ReadingKind kind) -> const CReadingCount& { return reading.Count(c, kind); });
    json.EndObject();
  }
  json.EndArray();
  json.Key("hints").BeginArray();
  for (const CReadingHint& hint : reading.Hints()) {
    json.BeginObject();
    json.Key("kind").String(ReadingKindName(hint.kind));
    json.Key("finding").String(hint.finding);
    json.Key("option").String(hint.option);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

}  // namespace corvane::cli
