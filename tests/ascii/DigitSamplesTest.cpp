#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JobDoubles.h"
#include "TestSupport.h"
#include "ascii/DigitSamples.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::WriteBytes;

class DigitSampleGathering : public ::testing::Test {
 protected:
  CScratchDir dir;
  CCollectingFeedback feedback;
  CConversionSetup setup;

  void File(const std::string& bytes, int firstDigitLine) {
    WriteBytes(dir.File("in.asc"), bytes);
    setup.asciiFilePath = dir.File("in.asc");
    setup.firstDigitLineIndex = firstDigitLine;
    setup.delimiterText = "space";
  }
  struct CSampleResult {
    bool gathered;
    int curveTotal;
    std::string reason;
  };
  CSampleResult Collect() {
    const CResult result = CollectDigitSamples(setup, feedback);
    return {result.Ok(), setup.CurveTotal(), result.Reason()};
  }
};

// A counted total beyond the largest one is refused as a typed one is, without the
// columns ever being held; a file ending before its data says where.
TEST_F(DigitSampleGathering, RefusalsSayWhy) {
  File("H\r\n" + std::string(3 * 100000, ',') + "\r\n", 1);
  setup.delimiterText = ",";
  const auto wide = Collect();
  EXPECT_FALSE(wide.gathered);
  EXPECT_TRUE(setup.digitSamples.empty());
  ASSERT_EQ(feedback.messages.size(), 1u);
  EXPECT_EQ(feedback.messages[0].text, "Enter a curve total of at most 100000.");

  File("H\r\n1 2\r\n", 5);
  EXPECT_EQ(Collect().reason, "No data line at line 5 of " + dir.File("in.asc") + ": the file has 2 lines.");
  setup.asciiFilePath = dir.File("missing.asc");
  const auto missing = Collect();
  EXPECT_EQ(missing.reason, dir.File("missing.asc") + ": No such file or directory");
  EXPECT_EQ(feedback.messages.back().detail, missing.reason);
}

TEST_F(DigitSampleGathering, CountedTotalComesFromTheFirstDataLine) {
  File("DEPTH A B C D\r\n1 2 3 4 5\r\n6 7 8 9 10 11 12\r\n13 14\r\n", 1);
  const auto result = Collect();
  EXPECT_TRUE(result.gathered);
  EXPECT_EQ(result.curveTotal, 5);
  const std::vector<std::string> expected = {"1\r\n6\r\n13\r\n", "2\r\n7\r\n14\r\n", "3\r\n8\r\n\r\n",
                                             "4\r\n9\r\n\r\n", "5\r\n10\r\n\r\n"};
  EXPECT_EQ(setup.digitSamples, expected);
  EXPECT_EQ(setup.curves.size(), 5u);
  EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(DigitSampleGathering, ForcedTotalCutsOrFillsEveryLine) {
  File("1 2 3 4 5 6\n7 8 9 10 11 12\n", 0);
  setup.userCurveTotal = 4;
  auto result = Collect();
  EXPECT_EQ(result.curveTotal, 4);
  ASSERT_EQ(setup.digitSamples.size(), 4u);
  EXPECT_EQ(setup.digitSamples[3], "4\r\n10\r\n");

  setup.userCurveTotal = 8;
  result = Collect();
  EXPECT_EQ(result.curveTotal, 8);
  ASSERT_EQ(setup.digitSamples.size(), 8u);
  EXPECT_EQ(setup.digitSamples[0], "1\r\n7\r\n");  // rebuilt, not added to
  EXPECT_EQ(setup.digitSamples[6], "\r\n\r\n");
  EXPECT_EQ(setup.digitSamples[7], "\r\n\r\n");
}

TEST_F(DigitSampleGathering, CurveListIsPaddedButNeverShrunk) {
  File("1,2,3,4,5\n", 0);
  setup.delimiterText = ",";
  setup.curves.assign(8, CCurveDef{"H", "U", "A", "D"});
  EXPECT_EQ(Collect().curveTotal, 5);
  EXPECT_EQ(setup.curves.size(), 8u);
  EXPECT_EQ(setup.curves[7].heading, "H");

  setup.curves.assign(3, CCurveDef{"H", "U", "A", "D"});
  Collect();
  ASSERT_EQ(setup.curves.size(), 5u);
  EXPECT_EQ(setup.curves[2], (CCurveDef{"H", "U", "A", "D"}));
  EXPECT_EQ(setup.curves[4], CCurveDef{});
}

TEST_F(DigitSampleGathering, SamplesAtMostAHundredDataLinesAfterWholeHeaderLines) {
  // A header line far longer than any read buffer still counts as one line.
  std::string bytes = std::string(5000, 'h') + "\n" + "names\n";
  for (int i = 0; i < 250; ++i) bytes += std::to_string(i) + " " + std::to_string(1000 + i) + "\n";
  File(bytes, 2);
  EXPECT_EQ(Collect().curveTotal, 2);
  ASSERT_EQ(setup.digitSamples.size(), 2u);
  std::string expected;
  for (int i = 0; i < 100; ++i) expected += std::to_string(1000 + i) + "\r\n";
  EXPECT_EQ(setup.digitSamples[1], expected);
}

TEST_F(DigitSampleGathering, OverlongLineBeforeTheDataIsAReadFailureAsInTheConversion) {
  // The depth scan and the data section refuse such a header line while skipping to
  // the data; the samples must not be gathered from a file the conversion refuses.
  File("title\n" + std::string(CTextReader::kMaxLineLength + 1, 'h') + "\n1 2\n", 2);
  setup.curves.assign(1, CCurveDef{"H", "", "", ""});
  EXPECT_FALSE(Collect().gathered);
  EXPECT_TRUE(setup.digitSamples.empty());
  EXPECT_EQ(setup.curves.size(), 1u);
  ASSERT_EQ(feedback.messages.size(), 1u);
  EXPECT_EQ(feedback.messages[0].text, "Failed to open ASCII file.");

  // A header line of exactly the limit is still read.
  File("title\n" + std::string(CTextReader::kMaxLineLength, 'h') + "\n1 2\n", 2);
  EXPECT_EQ(Collect().curveTotal, 2);
  EXPECT_EQ(setup.digitSamples[1], "2\r\n");
}

TEST_F(DigitSampleGathering, FileEndingBeforeTheFirstDataLineChangesNothingElse) {
  std::string bytes;
  for (int i = 0; i < 9; ++i) bytes += "line\n";
  File(bytes, 10);
  setup.digitSamples = {"old\r\n"};
  setup.curves.assign(3, CCurveDef{"H", "", "", ""});
  const auto result = Collect();
  EXPECT_FALSE(result.gathered);
  EXPECT_TRUE(setup.digitSamples.empty());
  EXPECT_EQ(setup.curves.size(), 3u);
  EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(DigitSampleGathering, FileEndingRightAtTheFirstDataLineGathersNoColumns) {
  File("a\nb\n", 2);
  setup.userCurveTotal = 8;
  setup.curves.assign(3, CCurveDef{});
  const auto result = Collect();
  EXPECT_TRUE(result.gathered);
  EXPECT_EQ(result.curveTotal, 0);
  EXPECT_TRUE(setup.digitSamples.empty());
  EXPECT_EQ(setup.curves.size(), 3u);
}

TEST_F(DigitSampleGathering, MissingFileOrEmptyPath) {
  setup.asciiFilePath = dir.File("missing.asc");
  setup.digitSamples = {"old\r\n"};
  setup.curves.assign(2, CCurveDef{});
  EXPECT_FALSE(Collect().gathered);
  EXPECT_TRUE(setup.digitSamples.empty());
  EXPECT_EQ(setup.curves.size(), 2u);
  ASSERT_EQ(feedback.messages.size(), 1u);
  EXPECT_EQ(feedback.messages[0].text, "Failed to open ASCII file.");
  EXPECT_TRUE(feedback.messages[0].error);

  setup.asciiFilePath.clear();
  setup.digitSamples = {"old\r\n"};
  EXPECT_FALSE(Collect().gathered);
  EXPECT_TRUE(setup.digitSamples.empty());
  EXPECT_EQ(feedback.messages.size(), 1u);
}

TEST_F(DigitSampleGathering, FixedWidthAndSkipWidthApply) {
  File("xx  1.0  2.0  3.0\r\nxx  4.0  5.0\r\n", 0);
  setup.fixedWidth = 5;
  setup.skipWidth = 2;
  // The blank that the line end becomes is a column of its own on the first line.
  EXPECT_EQ(Collect().curveTotal, 4);
  const std::vector<std::string> expected = {"  1.0\r\n  4.0\r\n", "  2.0\r\n  5.0\r\n", "  3.0\r\n \r\n",
                                             " \r\n\r\n"};
  EXPECT_EQ(setup.digitSamples, expected);
}

}  // namespace
}  // namespace corvane
