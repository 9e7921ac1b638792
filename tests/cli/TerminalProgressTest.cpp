#include "cli/TerminalProgress.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

using namespace corvane;

TEST(TerminalProgress, InterruptRequestsCancelOfTheOpenJob) {
  CTerminalProgress::InstallInterruptHandler();
  std::int32_t flag = 0;
  CTerminalProgress progress(true);
  progress.Open("Creating LAS file...", flag);
  for (int n = 0; n < 3000; ++n) {
    progress.SetLineText("Processing line [" + std::to_string(n) + "]");
    progress.SetPercent(n / 30);
  }
  EXPECT_FALSE(progress.PollCancel());
  ASSERT_EQ(std::raise(SIGINT), 0);
  EXPECT_TRUE(progress.PollCancel());
  EXPECT_EQ(flag, 2);
  progress.Close();
  EXPECT_FALSE(progress.PollCancel());  // closed: no job to cancel
  std::signal(SIGINT, SIG_DFL);
}
