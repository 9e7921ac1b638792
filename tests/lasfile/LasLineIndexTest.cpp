// The check run for a display: its progress and cancel, and the index of lines it
// leaves, from which any lines of the file are read again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JobDoubles.h"
#include "LasTestFiles.h"
#include "lasfile/LasChecker.h"
#include "lasfile/LasLineIndex.h"

namespace corvane {
namespace {

// The wrapped conforming file with `rows` rows, a blank line inside every 7th row (the
// row then comes after it) and a long text in one row; its lines.
std::vector<std::string> LongWrappedLas(int rows) {
  std::vector<std::string> lines = test::ConformingWrappedLas();
  lines.resize(26);
  lines[6] = " STOP.M " + std::to_string(1670 - 0.125 * (rows - 1)) + " : STOP DEPTH";
  for (int row = 0; row < rows; ++row) {
    lines.push_back(std::to_string(1670 - 0.125 * row));
    if (row % 7 == 3) lines.push_back("");
    lines.push_back(row == 700 ? "   " + std::string(300, 'x') + " 1" : "   123.450 2550.000");
  }
  return lines;
}

TEST(LasCheckPassTest, ProgressCancelAndTheLinesOfThePass) {
  test::CScratchDir dir;
  const std::vector<std::string> lines = LongWrappedLas(40000);
  const std::string path = dir.File("long.las");
  test::WriteBytes(path, test::JoinCrLf(lines));

  // The whole pass: the same findings as without a display, the share read shown, and
  // every line noted.
  CSilentProgress progress;
  CLasLineIndex index;
  const CLasReport report = CheckLasFile(path, progress, [&index](const CLasRecord& r) { index.Note(r); });
  EXPECT_EQ(test::Describe(report), test::Describe(CheckLasFile(path)));
  EXPECT_EQ(report.Count(LasCode::BlankLine), 5714u);
  EXPECT_TRUE(report.complete && !report.cancelled);
  EXPECT_EQ(progress.title, kLasCheckTitle);
  EXPECT_EQ(progress.opens, 1);
  EXPECT_EQ(progress.closes, 1);
  EXPECT_GE(progress.polls, 4);
  EXPECT_GT(progress.lastPercent, 50);
  EXPECT_EQ(index.LinesNoted(), lines.size());

  // Lines read again: (first, last, how many come back), cut at 40 characters.
  struct CRange {
    std::uint64_t first, last;
    std::size_t count;
  };
  const std::size_t n = lines.size();
  for (const CRange range :
       {CRange{1, 3, 3}, CRange{510, 515, 6}, CRange{1023, 1025, 3}, CRange{1431, 1431, 1},
        CRange{40000, 40030, 31}, CRange{n - 2, n + 5, 3}, CRange{n + 1, n + 9, 0}, CRange{0, 0, 0}}) {
    const std::vector<std::string> got = index.ReadLines(path, range.first, range.last, 40);
    ASSERT_EQ(got.size(), range.count) << range.first;
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ(got[i], lines[range.first - 1 + i].substr(0, 40)) << range.first + i;
  }
  // Without an index: read on from the first line.
  EXPECT_EQ(CLasLineIndex().ReadLines(path, 1500, 1500, 100), std::vector<std::string>{lines[1499]});

  // Cancelled at the second look: the findings so far, and the summary of the rows read.
  CSilentProgress cancelling;
  cancelling.CancelAtPoll(2);
  const CLasReport cancelled = CheckLasFile(path, cancelling);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_FALSE(cancelled.complete);
  EXPECT_EQ(cancelling.polls, 2);
  EXPECT_EQ(cancelling.closes, 1);
  EXPECT_GT(cancelled.summary.rows, 0u);
  EXPECT_LT(cancelled.summary.rows, 40000u);
  EXPECT_EQ(cancelled.Count(LasCode::StopMismatch), 0u);  // a rule of the whole file: not judged
}

}  // namespace
}  // namespace corvane
