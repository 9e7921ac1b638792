#include "cli/BatchReport.h"

#include <unistd.h>

#include <ctime>
#include <map>

#include "cli/JsonValue.h"
#include "cli/RunJson.h"
#include "lasfile/LasReportFormat.h"
#include "platform/File.h"
#include "platform/FileReplacement.h"
#include "platform/JsonWriter.h"
#include "platform/NumberFormat.h"
#include "platform/ProgramInfo.h"

namespace corvane::cli {
namespace {

// A report of a batch of a million files is some hundreds of megabytes.
constexpr std::uint64_t kMaxReportBytes = 4ull << 30;

void SecondsField(CJsonWriter& json, const char* key, double seconds) {
  json.Key(key).Number(FormatFixed(seconds < 0 ? 0 : seconds, 3));
}

void WriteRun(CJsonWriter& json, const CBatchRun& run, std::size_t files) {
  json.BeginObject();
  json.Key("program").String(std::string("corvane-cli ") + kVersion);
  json.Key("host").String(run.host);
  json.Key("started").String(run.started);
  SecondsField(json, "seconds", run.seconds);
  json.Key("config").String(run.config);
  json.Key("firstDataLine");
  if (run.firstDataLine.detect)
    json.String("auto");
  else
    json.Integer(run.firstDataLine.index);
  json.Key("inverse").Boolean(run.inverse);
  json.Key("check").Boolean(run.check);
  json.Key("strict").Boolean(run.strict);
  json.Key("outDir").String(run.outDir);
  json.Key("shard");
  if (run.shard) {
    json.BeginObject();
    json.Key("index").Integer(run.shard->index);
    json.Key("count").Integer(run.shard->count);
    json.EndObject();
  } else {
    json.Null();
  }
  json.Key("jobs").Integer(run.jobs);
  json.Key("files").Integer(static_cast<long long>(files));
  json.EndObject();
}

void WriteFile(CJsonWriter& json, const CBatchItem& item, const CBatchOutcome& outcome, bool strict) {
  const bool succeeded = outcome.status == BatchStatus::Succeeded;
  json.BeginObject();
  json.Key("input").String(item.input);
  json.Key("output").String(item.output);
  json.Key("status").String(BatchStatusName(outcome.status));
  json.Key("message").StringOrNull(outcome.message);
  json.Key("reason").StringOrNull(outcome.reason);
  json.Key("firstDataLine");
  if (outcome.firstDataLine >= 0)
    json.Integer(outcome.firstDataLine);
  else
    json.Null();
  json.Key("rows");
  if (succeeded)
    json.Integer(static_cast<long long>(outcome.facts.rows));
  else
    json.Null();
  json.Key("depth");
  if (succeeded && outcome.facts.scanned)
    WriteDepthJson(json, outcome.facts.range, outcome.depthCurve);
  else
    json.Null();
  json.Key("reading");
  if (succeeded && outcome.facts.read)
    WriteReadingJson(json, outcome.facts.reading);
  else
    json.Null();
  json.Key("bytes").Integer(static_cast<long long>(item.bytes));
  SecondsField(json, "seconds", outcome.seconds);
  json.Key("check");
  if (outcome.check)
    WriteLasReportJson(json, *outcome.check, strict);  // the very object `check --json` writes
  else
    json.Null();
  json.Key("run").Integer(0);
  json.EndObject();
}

void WriteTotals(CJsonWriter& json, const CBatchTotals& totals) {
  json.BeginObject();
  json.Key("files").Integer(static_cast<long long>(totals.files));
  json.Key("succeeded").Integer(static_cast<long long>(totals.succeeded));
  json.Key("failed").Integer(static_cast<long long>(totals.failed));
  json.Key("cancelled").Integer(static_cast<long long>(totals.cancelled));
  json.Key("rows").Integer(static_cast<long long>(totals.rows));
  json.Key("bytes").Integer(static_cast<long long>(totals.bytes));
  json.Key("checkFailed").Integer(static_cast<long long>(totals.checkFailed));
  json.Key("readingFailed").Integer(static_cast<long long>(totals.readingFailed));
  json.EndObject();
}

// The file entry's part of the totals; false when it is not a file entry of a report.
bool AddToTotals(const CJsonValue& file, CBatchTotals& totals) {
  const CJsonValue* status = file.Find("status");
  if (status == nullptr || !status->Is(CJsonValue::Kind::String)) return false;
  ++totals.files;
  if (status->Text() == "succeeded")
    ++totals.succeeded;
  else if (status->Text() == "failed")
    ++totals.failed;
  else if (status->Text() == "cancelled")
    ++totals.cancelled;
  else
    return false;
  if (const CJsonValue* rows = file.Find("rows"); rows != nullptr && rows->Integer())
    totals.rows += static_cast<std::uint64_t>(*rows->Integer());
  if (const CJsonValue* bytes = file.Find("bytes"); bytes != nullptr && bytes->Integer())
    totals.bytes += static_cast<std::uint64_t>(*bytes->Integer());
  if (const CJsonValue* check = file.Find("check"); check != nullptr && check->Is(CJsonValue::Kind::Object)) {
    const CJsonValue* passed = check->Find("passed");
    if (passed != nullptr && passed->Is(CJsonValue::Kind::Boolean) && !passed->BooleanValue())
      ++totals.checkFailed;
  }
  if (const CJsonValue* reading = file.Find("reading");
      reading != nullptr && reading->Is(CJsonValue::Kind::Object)) {
    const CJsonValue* fails = reading->Find("strictFails");
    if (fails != nullptr && fails->Is(CJsonValue::Kind::Boolean) && fails->BooleanValue())
      ++totals.readingFailed;
  }
  return true;
}

CJsonValue Count(std::uint64_t n) { return CJsonValue::Number(FormatInt(static_cast<long long>(n))); }

}  // namespace

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "unknown";
  return name;
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  ::gmtime_r(&now, &utc);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

CBatchTotals TotalsOf(const std::vector<CBatchItem>& items, const std::vector<CBatchOutcome>& outcomes,
                      bool strict) {
  CBatchTotals totals;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const CBatchOutcome& outcome = outcomes[i];
    ++totals.files;
    totals.bytes += items[i].bytes;
    switch (outcome.status) {
      case BatchStatus::Succeeded:
        ++totals.succeeded;
        totals.rows += outcome.facts.rows;
        if (outcome.check && outcome.check->Fails(strict)) ++totals.checkFailed;
        if (outcome.facts.read && outcome.facts.reading.FailsStrict()) ++totals.readingFailed;
        break;
      case BatchStatus::Failed:
        ++totals.failed;
        break;
      case BatchStatus::Cancelled:
        ++totals.cancelled;
        break;
    }
  }
  return totals;
}

std::string FormatBatchReport(const CBatchRun& run, const std::vector<CBatchItem>& items,
                              const std::vector<CBatchOutcome>& outcomes) {
  CJsonWriter json;
  json.BeginObject();
  json.Key("schema").String(kBatchReportSchema);
  json.Key("runs").BeginArray();
  WriteRun(json, run, items.size());
  json.EndArray();
  json.Key("files").BeginArray();
  for (std::size_t i = 0; i < items.size(); ++i) WriteFile(json, items[i], outcomes[i], run.strict);
  json.EndArray();
  json.Key("totals");
  WriteTotals(json, TotalsOf(items, outcomes, run.strict));
  json.EndObject();
  std::string out = json.Take();
  out += '\n';
  return out;
}

CResult MergeBatchReports(const std::vector<std::string>& paths, std::string& merged, CBatchTotals& totals) {
  CJsonValue runs = CJsonValue::Array();
  std::vector<CJsonValue> files;
  std::map<std::string, std::size_t> byOutput;  // where each output's entry stands in `files`
  for (const std::string& path : paths) {
    std::string text;
    CFile file;
    if (CResult opened = file.OpenForReading(path, CFile::Lock::None); !opened.Ok()) return opened;
    if (CResult read = file.ReadAll(text, kMaxReportBytes); !read.Ok()) return read;
    std::string error;
    std::optional<CJsonValue> document = CJsonValue::Parse(text, error);
    if (!document) {
      std::string reason = path;
      reason += ": not JSON (";
      reason += error;
      reason += ')';
      return CResult::Failed(reason);
    }
    const CJsonValue* schema = document->Find("schema");
    CJsonValue* reportRuns = document->Find("runs");
    CJsonValue* reportFiles = document->Find("files");
    if (schema == nullptr || schema->Text() != kBatchReportSchema || reportRuns == nullptr ||
        !reportRuns->Is(CJsonValue::Kind::Array) || reportFiles == nullptr ||
        !reportFiles->Is(CJsonValue::Kind::Array))
      return CResult::Failed(path + ": not a report of corvane-cli batch (schema " + kBatchReportSchema +
                             ")");

    const std::size_t firstRun = runs.Items().size();
    const std::size_t runCount = reportRuns->Items().size();
    for (CJsonValue& run : reportRuns->Items()) runs.Items().push_back(std::move(run));
    for (CJsonValue& entry : reportFiles->Items()) {
      const CJsonValue* output = entry.Find("output");
      const CJsonValue* run = entry.Find("run");
      CBatchTotals ignored;
      if (!entry.Is(CJsonValue::Kind::Object) || output == nullptr || !output->Is(CJsonValue::Kind::String) ||
          run == nullptr || !run->Integer() || *run->Integer() < 0 ||
          static_cast<std::size_t>(*run->Integer()) >= runCount || !AddToTotals(entry, ignored))
        return CResult::Failed(path + ": a file entry without its output, status or run");
      const std::string key = output->Text();
      entry.Set("run", Count(firstRun + static_cast<std::size_t>(*run->Integer())));
      // A later report (a shard run again) stands for the file from now on.
      const auto known = byOutput.find(key);
      if (known != byOutput.end()) {
        files[known->second] = std::move(entry);
      } else {
        byOutput.emplace(key, files.size());
        files.push_back(std::move(entry));
      }
    }
  }

  totals = CBatchTotals();
  for (const CJsonValue& entry : files) AddToTotals(entry, totals);
  CJsonValue document = CJsonValue::Object();
  document.Set("schema", CJsonValue::String(kBatchReportSchema));
  document.Set("runs", std::move(runs));
  CJsonValue list = CJsonValue::Array();
  list.Items() = std::move(files);
  document.Set("files", std::move(list));
  CJsonValue sums = CJsonValue::Object();
  sums.Set("files", Count(totals.files));
  sums.Set("succeeded", Count(totals.succeeded));
  sums.Set("failed", Count(totals.failed));
  sums.Set("cancelled", Count(totals.cancelled));
  sums.Set("rows", Count(totals.rows));
  sums.Set("bytes", Count(totals.bytes));
  sums.Set("checkFailed", Count(totals.checkFailed));
  sums.Set("readingFailed", Count(totals.readingFailed));
  document.Set("totals", std::move(sums));
  CJsonWriter json;
  document.Write(json);
  merged = json.Take();
  merged += '\n';
  return CResult::Done();
}

CResult WriteReportFile(const std::string& path, const std::string& text) {
  CFileReplacement replacement;
  if (CResult begun = replacement.Begin(path, CFileReplacement::Policy::Replace, 0666); !begun.Ok())
    return begun;
  if (CResult written = replacement.File().WriteAll(text); !written.Ok()) return written;
  return replacement.Commit();
}

}  // namespace corvane::cli
