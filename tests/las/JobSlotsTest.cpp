#include "las/JobSlots.h"

#include <gtest/gtest.h>

#include "JobDoubles.h"

using namespace corvane;

TEST(JobDisplay, HoldsTheSlotAndResetsTheFlag) {
  CJobState job;
  CSilentProgress first;
  CSilentProgress second;
  {
    CJobDisplay display(job, first);
    ASSERT_TRUE(display.Acquire("Creating LAS file..."));
    EXPECT_EQ(job.currentDisplay, &first);
    EXPECT_EQ(first.title, "Creating LAS file...");
    EXPECT_EQ(first.opens, 1);

    // A second start of the same kind of job is refused without a display.
    CJobDisplay again(job, second);
    EXPECT_FALSE(again.Acquire("Creating LAS file..."));
    EXPECT_EQ(second.opens, 0);
    again.Release();
    EXPECT_EQ(job.currentDisplay, &first);  // the refused start leaves the slot alone

    first.CancelAtPoll(2);
    EXPECT_FALSE(first.PollCancel());
    EXPECT_TRUE(first.PollCancel());
    EXPECT_TRUE(first.PollCancel());  // a cancel request is never lost
    EXPECT_EQ(job.cancelFlag, 2);
  }
  EXPECT_EQ(first.closes, 1);
  EXPECT_EQ(job.cancelFlag, 0);
  EXPECT_EQ(job.currentDisplay, nullptr);

  CJobDisplay next(job, second);
  EXPECT_TRUE(next.Acquire("Unwrapping LAS file..."));
  next.Release();
  next.Release();  // releasing twice closes once
  EXPECT_EQ(second.closes, 1);
  EXPECT_EQ(job.currentDisplay, nullptr);
}

TEST(JobDisplay, KindsOfJobHaveTheirOwnState) {
  EXPECT_NE(&LasCreationJob(), &UnwrapJob());
  EXPECT_EQ(&LasCreationJob(), &LasCreationJob());
  CSilentProgress progress;
  CJobDisplay las(LasCreationJob(), progress);
  ASSERT_TRUE(las.Acquire("Creating LAS file..."));
  CSilentProgress other;
  CJobDisplay unwrap(UnwrapJob(), other);
  EXPECT_TRUE(unwrap.Acquire("Unwrapping LAS file..."));
}

TEST(SilentProgress, RecordsWhatWasReported) {
  std::int32_t flag = 0;
  CSilentProgress progress;
  progress.Open("T", flag);
  progress.SetLineText("Processing line [1]");
  progress.SetPercent(150);
  EXPECT_FALSE(progress.PollCancel());
  flag = 2;  // Cancel pressed elsewhere
  EXPECT_TRUE(progress.PollCancel());
  progress.Close();
  EXPECT_EQ(progress.polls, 2);
  EXPECT_EQ(progress.lastLineText, "Processing line [1]");
  EXPECT_EQ(progress.lastPercent, 150);
}

TEST(Feedback, CaptionsDefaultToTheApplicationTitle) {
  CCollectingFeedback feedback;
  feedback.ShowError("Failed to open ASCII file.");
  feedback.ShowError("Bad", "System Message");
  feedback.ShowNotice("LAS file created successfully.");
  ASSERT_EQ(feedback.messages.size(), 3u);
  EXPECT_TRUE(feedback.messages[0].error);
  EXPECT_EQ(feedback.messages[0].caption, "Corvane");
  EXPECT_EQ(feedback.messages[1].caption, "System Message");
  EXPECT_FALSE(feedback.messages[2].error);
  EXPECT_EQ(feedback.messages[2].caption, "Corvane");
}
