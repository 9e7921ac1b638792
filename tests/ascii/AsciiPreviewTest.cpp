#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JobDoubles.h"
#include "TestSupport.h"
#include "ascii/AsciiPreview.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::WriteBytes;

const char* const kRulerMessage =
    "You must indicate the line at which the curve digits start. The line indicator cannot be the ruler "
    "line.";

std::string Ruler(std::size_t length) {
  std::string ruler;
  while (ruler.size() < length) ruler += "1234567890";
  return ruler;
}

class PreviewLoading : public ::testing::Test {
 protected:
  CScratchDir dir;
  CCollectingFeedback feedback;
  CAsciiPreview preview;

  bool Load(const std::string& bytes) {
    WriteBytes(dir.File("in.asc"), bytes);
    return preview.Load(dir.File("in.asc"), feedback);
  }
};

TEST_F(PreviewLoading, EmptyPathGivesEmptyPreviewWithoutRulerRowOrMessage) {
  EXPECT_TRUE(preview.Load("", feedback));
  EXPECT_TRUE(preview.Lines().empty());
  EXPECT_FALSE(preview.HasRulerRow());
  EXPECT_TRUE(preview.DigitRows().empty());
  EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(PreviewLoading, MissingOrLockedFileReportsFailureAndEmptiesThePreview) {
  ASSERT_TRUE(Load("a\nb\n"));
  EXPECT_FALSE(preview.Load(dir.File("missing.asc"), feedback));
  EXPECT_TRUE(preview.Lines().empty());
  EXPECT_EQ(preview.Longest(), 0);
  EXPECT_FALSE(preview.HasRulerRow());
  ASSERT_EQ(feedback.messages.size(), 1u);
  EXPECT_TRUE(feedback.messages[0].error);
  EXPECT_EQ(feedback.messages[0].text, "Failed to open ASCII file.");
  EXPECT_EQ(feedback.messages[0].detail, dir.File("missing.asc") + ": No such file or directory");

  // A file that a running job holds cannot be previewed either.
  CTextReader holder;
  holder.Open(dir.File("in.asc"), true);
  EXPECT_FALSE(preview.Load(dir.File("in.asc"), feedback));
  ASSERT_EQ(feedback.messages.size(), 2u);
  EXPECT_EQ(feedback.messages[1].detail, dir.File("in.asc") + ": the file is in use by another job");
}

TEST_F(PreviewLoading, EmptyFileHasOnlyTheEmptyRulerRow) {
  ASSERT_TRUE(Load(""));
  EXPECT_TRUE(preview.Lines().empty());
  EXPECT_EQ(preview.Longest(), 0);
  EXPECT_EQ(preview.Ruler(), "");
  EXPECT_EQ(preview.DigitRows(), std::vector<std::string>{""});
}

TEST_F(PreviewLoading, ShowsTheFirstHundredLinesAsTheyAre) {
  std::string bytes;
  for (int i = 0; i < 250; ++i) bytes += " line\t" + std::to_string(i) + "  \r\n";
  ASSERT_TRUE(Load(bytes));
  ASSERT_EQ(preview.Lines().size(), 100u);
  EXPECT_EQ(preview.Lines()[0], " line\t0  ");  // tabs and blanks kept, CR LF dropped
  EXPECT_EQ(preview.Lines()[99], " line\t99  ");
  const auto rows = preview.DigitRows();
  ASSERT_EQ(rows.size(), 101u);
  EXPECT_EQ(rows[0], preview.Ruler());
  EXPECT_EQ(rows[1], preview.Lines()[0]);
}

TEST_F(PreviewLoading, RulerCoversTheLongestLineWithItsLineFeed) {
  ASSERT_TRUE(Load("abc\n0123456789\nxy\n"));
  EXPECT_EQ(preview.Longest(), 11);
  EXPECT_EQ(preview.Ruler(), Ruler(20));

  ASSERT_TRUE(Load("abc\n0123456789"));
  EXPECT_EQ(preview.Longest(), 10);
  EXPECT_EQ(preview.Ruler(), Ruler(10));

  ASSERT_TRUE(Load("12345678\r\n"));  // CR LF reads as one line feed
  EXPECT_EQ(preview.Longest(), 9);
  EXPECT_EQ(preview.Ruler(), Ruler(10));
}

TEST_F(PreviewLoading, LongLineIsOnePreviewLine) {
  const std::string longLine(1600, 'x');
  ASSERT_TRUE(Load(longLine + "\nnext\n"));
  ASSERT_EQ(preview.Lines().size(), 2u);
  EXPECT_EQ(preview.Lines()[0], longLine);
  EXPECT_EQ(preview.Lines()[1], "next");
  EXPECT_EQ(preview.Longest(), 1601);
  EXPECT_EQ(preview.Ruler().size(), 1610u);
}

TEST_F(PreviewLoading, HugeLineIsShownInPartAndItsRestSkipped) {
  const std::string huge(3 * CAsciiPreview::kMaxShown + 7, '7');
  ASSERT_TRUE(Load(huge + "\nnext\n" + huge));
  ASSERT_EQ(preview.Lines().size(), 3u);
  EXPECT_EQ(preview.Lines()[0], huge.substr(0, CAsciiPreview::kMaxShown));
  EXPECT_EQ(preview.Lines()[1], "next");
  EXPECT_EQ(preview.Lines()[2].size(), CAsciiPreview::kMaxShown);
  EXPECT_EQ(preview.Longest(), static_cast<std::int32_t>(huge.size() + 1));
  // The ruler stops where the shown text ends, in whole steps of ten.
  EXPECT_EQ(preview.Ruler(), Ruler(65540));
}

TEST(PreviewMarking, DigitRowGivesTheIndexAndHeaderRowsTheHeadingsInFileOrder) {
  const std::vector<std::string> rows = {"title", "DEPTH GR", "noise", "M API", "1 2"};
  CConversionSetup setup;
  EXPECT_EQ(CAsciiPreview::RecordMarking({3, 1}, 5, rows, setup), std::nullopt);
  EXPECT_EQ(setup.headingsText, "DEPTH GR\r\nM API\r\n");
  EXPECT_EQ(setup.firstDigitLineIndex, 4);

  EXPECT_EQ(CAsciiPreview::RecordMarking({}, 1, rows, setup), std::nullopt);
  EXPECT_EQ(setup.headingsText, "");
  EXPECT_EQ(setup.firstDigitLineIndex, 0);
}

TEST(PreviewMarking, RulerRowOrNoDigitRowIsRefusedButHeadingsAreRebuilt) {
  const std::vector<std::string> rows = {"a", "b"};
  CConversionSetup setup;
  setup.firstDigitLineIndex = 7;
  EXPECT_EQ(CAsciiPreview::RecordMarking({1}, 0, rows, setup), std::string(kRulerMessage));
  EXPECT_EQ(setup.firstDigitLineIndex, 0);
  EXPECT_EQ(setup.headingsText, "b\r\n");

  EXPECT_EQ(CAsciiPreview::RecordMarking({0}, -1, rows, setup), std::string(kRulerMessage));
  EXPECT_EQ(setup.firstDigitLineIndex, -1);
  EXPECT_EQ(setup.headingsText, "a\r\n");
}

TEST(PreviewLayoutValues, FormatShowsFifteenSignificantDigits) {
  CAsciiPreview::CLayoutValues values{-999.25, "tab", 4, 0, -2};
  auto texts = CAsciiPreview::FormatLayout(values);
  EXPECT_EQ(texts.nullValue, "-999.25");
  EXPECT_EQ(texts.delimiterText, "tab");
  EXPECT_EQ(texts.userCurveTotal, "4");
  EXPECT_EQ(texts.fixedWidth, "0");
  EXPECT_EQ(texts.skipWidth, "-2");
  values.nullValue = 0.1;
  EXPECT_EQ(CAsciiPreview::FormatLayout(values).nullValue, "0.1");
  values.nullValue = 1e20;
  EXPECT_EQ(CAsciiPreview::FormatLayout(values).nullValue, "1e+20");
}

TEST(PreviewLayoutValues, ParseTakesLeadingNumbers) {
  CAsciiPreview::CLayoutValues values;
  const CAsciiPreview::CLayoutTexts texts{"  -999.25 ft", ":,", "12abc", " +3", "-1"};
  EXPECT_EQ(CAsciiPreview::ParseLayout(texts, values), std::nullopt);
  EXPECT_EQ(values.nullValue, -999.25);
  EXPECT_EQ(values.delimiterText, ":,");
  EXPECT_EQ(values.userCurveTotal, 12);
  EXPECT_EQ(values.fixedWidth, 3);
  EXPECT_EQ(values.skipWidth, -1);
}

TEST(PreviewLayoutValues, RefusalNamesTheFirstBadBoxAndWritesNothing) {
  const CAsciiPreview::CLayoutValues before{1.5, "x", 7, 8, 9};
  struct Case {
    CAsciiPreview::CLayoutTexts texts;
    CAsciiPreview::LayoutBox box;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"", ",", "1", "2", "3"}, CAsciiPreview::LayoutBox::NullValue, "Enter a number."},
      {{"abc", ",", "x", "2", "3"}, CAsciiPreview::LayoutBox::NullValue, "Enter a number."},
      {{"0", ",", "letters", "2", "3"}, CAsciiPreview::LayoutBox::CurveTotal, "Enter an integer."},
      {{"0", ",", "1", "", "3"}, CAsciiPreview::LayoutBox::FixedWidth, "Enter an integer."},
      // A total no log has would exhaust memory while the samples are gathered.
      {{"0", ",", "100001", "2", "3"}, CAsciiPreview::LayoutBox::CurveTotal, kCurveTotalTooLarge},
      {{"0", ",", "2000000000", "x", "3"}, CAsciiPreview::LayoutBox::CurveTotal, kCurveTotalTooLarge},
      {{"0", ",", "1", "2", "-"}, CAsciiPreview::LayoutBox::SkipWidth, "Enter an integer."},
      // Only the head of a box is read: 399 characters of the null value, 63 of an integer.
      {{std::string(399, ' ') + "5", ",", "1", "2", "3"},
       CAsciiPreview::LayoutBox::NullValue,
       "Enter a number."},
      {{"0", ",", std::string(63, ' ') + "5", "2", "3"},
       CAsciiPreview::LayoutBox::CurveTotal,
       "Enter an integer."},
  };
  for (const auto& c : cases) {
    CAsciiPreview::CLayoutValues values = before;
    const auto error = CAsciiPreview::ParseLayout(c.texts, values);
    ASSERT_TRUE(error.has_value()) << c.texts.nullValue.size();
    EXPECT_EQ(error->box, c.box);
    EXPECT_EQ(error->message, c.message);
    EXPECT_EQ(values.nullValue, before.nullValue);
    EXPECT_EQ(values.delimiterText, before.delimiterText);
    EXPECT_EQ(values.userCurveTotal, before.userCurveTotal);
    EXPECT_EQ(values.fixedWidth, before.fixedWidth);
    EXPECT_EQ(values.skipWidth, before.skipWidth);
  }
  CAsciiPreview::CLayoutValues values;
  EXPECT_EQ(CAsciiPreview::ParseLayout(
                {std::string(398, ' ') + "5", "", std::string(62, ' ') + "6", "0", "0"}, values),
            std::nullopt);
  EXPECT_EQ(values.nullValue, 5.0);
  EXPECT_EQ(values.userCurveTotal, 6);
}

}  // namespace
}  // namespace corvane
