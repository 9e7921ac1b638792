#include "cli/BatchReport.h"

#include <unistd.h>

#include <ctime>
#include <map>

#include "cli/JsonValue.h"
#include "cli/RunJson.h"
#include "lasfile/LasReportFormat.h"
#include "platform/File.h"
#include "platform/FileReplacement.h"
#include "platform/NumberFormat.h"
#include "platform/ProgramInfo.h"

namespace corvane::cli {
namespace {

// A report of a batch of a million files is some hundreds of megabytes.
constexpr std::uint64_t kMaxReportBytes = 4ull << 30;

void Key(std::string& out, const char* key) {
  out += '"';
  out += key;
  out += "\":";
}

void StringField(std::string& out, const char* key, const std::string& value) {
  Key(out, key);
  AppendJsonString(out, value);
}

// null for an empty text.
void OptionalField(std::string& out, const char* key, const std::string& value) {
  Key(out, key);
  if (value.empty())
    out += "null";
  else
    AppendJsonString(out, value);
}

void NumberField(std::string& out, const char* key, long long value) {
  Key(out, key);
  out += FormatInt(value);
}

void BooleanField(std::string& out, const char* key, bool value) {
  Key(out, key);
  out += value ? "true" : "false";
}

void SecondsField(std::string& out, const char* key, double seconds) {
  Key(out, key);
  out += FormatFixed(seconds < 0 ? 0 : seconds, 3);
}

void WriteRun(std::string& out, const CBatchRun& run, std::size_t files) {
  out += '{';
  StringField(out, "program", std::string("corvane-cli ") + kVersion);
  out += ',';
  StringField(out, "host", run.host);
  out += ',';
  StringField(out, "started", run.started);
  out += ',';
  SecondsField(out, "seconds", run.seconds);
  out += ',';
  StringField(out, "config", run.config);
  out += ',';
  Key(out, "firstDataLine");
  out += run.firstDataLine.detect ? std::string("\"auto\"") : FormatInt(run.firstDataLine.index);
  out += ',';
  BooleanField(out, "inverse", run.inverse);
  out += ',';
  BooleanField(out, "check", run.check);
  out += ',';
  BooleanField(out, "strict", run.strict);
  out += ',';
  StringField(out, "outDir", run.outDir);
  out += ",\"shard\":";
  if (run.shard) {
    out += '{';
    NumberField(out, "index", run.shard->index);
    out += ',';
    NumberField(out, "count", run.shard->count);
    out += '}';
  } else {
    out += "null";
  }
  out += ',';
  NumberField(out, "jobs", run.jobs);
  out += ',';
  NumberField(out, "files", static_cast<long long>(files));
  out += '}';
}

void WriteFile(std::string& out, const CBatchItem& item, const CBatchOutcome& outcome, bool strict) {
  const bool succeeded = outcome.status == BatchStatus::Succeeded;
  out += '{';
  StringField(out, "input", item.input);
  out += ',';
  StringField(out, "output", item.output);
  out += ',';
  StringField(out, "status", BatchStatusName(outcome.status));
  out += ',';
  OptionalField(out, "message", outcome.message);
  out += ',';
  OptionalField(out, "reason", outcome.reason);
  out += ',';
  Key(out, "firstDataLine");
  out += outcome.firstDataLine >= 0 ? FormatInt(outcome.firstDataLine) : std::string("null");
  out += ',';
  Key(out, "rows");
  out += succeeded ? FormatInt(static_cast<long long>(outcome.facts.rows)) : std::string("null");
  out += ",\"depth\":";
  if (succeeded && outcome.facts.scanned)
    AppendDepthJson(out, outcome.facts.range, outcome.depthCurve);
  else
    out += "null";
  out += ",\"reading\":";
  if (succeeded && outcome.facts.read)
    AppendReadingJson(out, outcome.facts.reading);
  else
    out += "null";
  out += ',';
  NumberField(out, "bytes", static_cast<long long>(item.bytes));
  out += ',';
  SecondsField(out, "seconds", outcome.seconds);
  out += ",\"check\":";
  if (outcome.check) {
    // The very object `check --json` writes for the file.
    CLasReportJson json(strict);
    out += json.Add(*outcome.check);
  } else {
    out += "null";
  }
  out += ",\"run\":0}";
}

void WriteTotals(std::string& out, const CBatchTotals& totals) {
  out += '{';
  NumberField(out, "files", static_cast<long long>(totals.files));
  out += ',';
  NumberField(out, "succeeded", static_cast<long long>(totals.succeeded));
  out += ',';
  NumberField(out, "failed", static_cast<long long>(totals.failed));
  out += ',';
  NumberField(out, "cancelled", static_cast<long long>(totals.cancelled));
  out += ',';
  NumberField(out, "rows", static_cast<long long>(totals.rows));
  out += ',';
  NumberField(out, "bytes", static_cast<long long>(totals.bytes));
  out += ',';
  NumberField(out, "checkFailed", static_cast<long long>(totals.checkFailed));
  out += ',';
  NumberField(out, "readingFailed", static_cast<long long>(totals.readingFailed));
  out += '}';
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
  std::string out = "{\"schema\":\"";
  out += kBatchReportSchema;
  out += "\",\"runs\":[";
  WriteRun(out, run, items.size());
  out += "],\"files\":[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ',';
    WriteFile(out, items[i], outcomes[i], run.strict);
  }
  out += "],\"totals\":";
  WriteTotals(out, TotalsOf(items, outcomes, run.strict));
  out += "}\n";
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
  merged.clear();
  document.Write(merged);
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
