// The JSON report of a batch, byte for byte, and the merge of the reports of several
// batches: later entries stand for earlier ones, runs are renumbered, totals recounted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "cli/BatchReport.h"
#include "lasfile/LasChecker.h"
#include "lasfile/LasReportFormat.h"
#include "platform/ProgramInfo.h"

namespace corvane::cli {
namespace {

using test::ReadBytes;
using test::WriteBytes;

TEST(BatchReportTest, ReportHoldsEveryFieldInItsPlace) {
  CBatchRun run;
  run.host = "node\"7";
  run.started = "2024-05-01T12:00:00Z";
  run.seconds = 12.3456;
  run.config = "/data/well.lah";
  run.firstDataLine.detect = true;
  run.check = true;
  run.outDir = "las";
  run.shard = CBatchShard{1, 4};
  run.jobs = 2;
  const std::vector<CBatchItem> items = {{"in/a\xB0.asc", "las/a\xB0.las", 1234},
                                         {"in/b.asc", "las/b.las", 0}};
  std::vector<CBatchOutcome> outcomes(2);
  outcomes[0].status = BatchStatus::Succeeded;
  outcomes[0].firstDataLine = 5;
  outcomes[0].facts.scanned = true;
  outcomes[0].facts.rows = 3000;
  outcomes[0].facts.range.depthColumn = 0;
  outcomes[0].facts.range.start = 1000.0;
  outcomes[0].facts.range.stop = 1299.9;
  outcomes[0].facts.range.step = 0.1;
  outcomes[0].facts.range.unit = "M";
  outcomes[0].depthCurve = "DEPT";
  outcomes[0].seconds = 0.25;
  outcomes[0].check = CheckLasFile(test::DataFile("sample_2.0.las"));
  outcomes[1].status = BatchStatus::Failed;
  outcomes[1].message = "Failed to open ASCII file.";
  outcomes[1].reason = "in/b.asc: No such file or directory";
  outcomes[1].seconds = -1;

  CLasReportJson check(false);
  const std::string checkObject = check.Add(*outcomes[0].check);
  const std::string expected =
      std::string("{\"schema\":\"corvane-batch-report/1\",\"runs\":[{\"program\":\"corvane-cli ") + kVersion +
      "\",\"host\":\"node\\\"7\",\"started\":\"2024-05-01T12:00:00Z\",\"seconds\":12.346,"
      "\"config\":\"/data/well.lah\",\"firstDataLine\":\"auto\",\"inverse\":false,\"check\":true,"
      "\"strict\":false,\"outDir\":\"las\",\"shard\":{\"index\":1,\"count\":4},\"jobs\":2,\"files\":2}],"
      "\"files\":[{\"input\":\"in/a\\u00b0.asc\",\"output\":\"las/a\\u00b0.las\",\"status\":\"succeeded\","
      "\"message\":null,\"reason\":null,\"firstDataLine\":5,\"rows\":3000,\"depth\":{\"curve\":\"DEPT\","
      "\"unit\":\"M\",\"start\":\"1000.0000\",\"stop\":\"1299.9000\",\"step\":\"0.1000\"},\"reading\":null,"
      "\"bytes\":1234,"
      "\"seconds\":0.250,\"check\":" +
      checkObject +
      ",\"run\":0},"
      "{\"input\":\"in/b.asc\",\"output\":\"las/b.las\",\"status\":\"failed\",\"message\":\"Failed to open "
      "ASCII file.\",\"reason\":\"in/b.asc: No such file or directory\",\"firstDataLine\":null,\"rows\":null,"
      "\"depth\":null,\"reading\":null,\"bytes\":0,\"seconds\":0.000,\"check\":null,\"run\":0}],"
      "\"totals\":{\"files\":2,\"succeeded\":1,\"failed\":1,\"cancelled\":0,\"rows\":3000,\"bytes\":1234,"
      "\"checkFailed\":1,\"readingFailed\":0}}\n";  // the sample has an error
  EXPECT_EQ(FormatBatchReport(run, items, outcomes), expected);
  EXPECT_EQ(checkObject.rfind("{\"path\":\"" + test::DataFile("sample_2.0.las") + "\",\"complete\":true,", 0),
            0u);
}

std::string Entry(const std::string& output, const std::string& status, int run, int rows, bool checkPassed) {
  return "{\"input\":\"in/" + output + "\",\"output\":\"" + output + "\",\"status\":\"" + status +
         "\",\"rows\":" + std::to_string(rows) + ",\"bytes\":100,\"check\":" +
         (checkPassed ? std::string("null") : std::string("{\"passed\":false}")) +
         ",\"run\":" + std::to_string(run) + "}";
}

std::string Report(const std::string& runs, const std::vector<std::string>& files,
                   const std::string& totals = "{}") {
  std::string out = "{\"schema\":\"corvane-batch-report/1\",\"runs\":[" + runs + "],\"files\":[";
  for (std::size_t i = 0; i < files.size(); ++i) out += (i > 0 ? "," : "") + files[i];
  return out + "],\"totals\":" + totals + "}\n";
}

TEST(BatchReportTest, MergeTakesLaterEntriesAndRecountsTheTotals) {
  test::CScratchDir dir;
  WriteBytes(dir.File("1.json"), Report("{\"host\":\"a\"}", {Entry("x.las", "succeeded", 0, 10, false),
                                                             Entry("y.las", "failed", 0, 0, true)}));
  WriteBytes(dir.File("2.json"),
             Report("{\"host\":\"b\"},{\"host\":\"c\"}",
                    {Entry("y.las", "succeeded", 1, 7, true), Entry("z.las", "cancelled", 0, 0, true)}));
  std::string merged;
  CBatchTotals totals;
  ASSERT_TRUE(MergeBatchReports({dir.File("1.json"), dir.File("2.json")}, merged, totals).Ok());
  EXPECT_EQ(merged,
            Report("{\"host\":\"a\"},{\"host\":\"b\"},{\"host\":\"c\"}",
                   {Entry("x.las", "succeeded", 0, 10, false), Entry("y.las", "succeeded", 2, 7, true),
                    Entry("z.las", "cancelled", 1, 0, true)},
                   "{\"files\":3,\"succeeded\":2,\"failed\":0,\"cancelled\":1,\"rows\":17,\"bytes\":300,"
                   "\"checkFailed\":1,\"readingFailed\":0}"));
  EXPECT_EQ(totals.files, 3u);
  EXPECT_EQ(totals.succeeded, 2u);
  EXPECT_EQ(totals.cancelled, 1u);
  EXPECT_EQ(totals.checkFailed, 1u);
  EXPECT_FALSE(totals.AllSucceeded());
}

TEST(BatchReportTest, MergeRefusesWhatIsNoBatchReport) {
  test::CScratchDir dir;
  const struct {
    const char* name;
    std::string bytes;
    std::string reason;  // after "<path>: "
  } cases[] = {
      {"cut.json", "{\"schema\":\"corvane-batch-report/1\",\"runs\":[],\"files\":[{}]",
       "not JSON (at byte 57: expected ',' or '}')"},
      {"check.json", "{\"schema\":\"corvane-las-check/1\",\"files\":[]}",
       "not a report of corvane-cli batch (schema corvane-batch-report/1)"},
      {"empty-entry.json", Report("{}", {"{}"}), "a file entry without its output, status or run"},
      {"run-out-of-range.json", Report("{}", {Entry("x.las", "succeeded", 1, 1, true)}),
       "a file entry without its output, status or run"},
      {"unknown-status.json", Report("{}", {Entry("x.las", "done", 0, 1, true)}),
       "a file entry without its output, status or run"},
      {"missing.json", "", "No such file or directory"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File(c.name);
    if (!c.bytes.empty()) WriteBytes(path, c.bytes);
    std::string merged = "untouched";
    CBatchTotals totals;
    const CResult result = MergeBatchReports({path}, merged, totals);
    EXPECT_TRUE(result.IsFailed()) << c.name;
    EXPECT_EQ(result.Reason(), path + ": " + c.reason) << c.name;
    EXPECT_EQ(merged, "untouched") << c.name;
  }
}

}  // namespace
}  // namespace corvane::cli
