// corvane-cli killed (SIGKILL) at random points of a long run: whatever the moment,
// the inputs are unchanged, the earlier LAS file is whole (or the new one is), the
// configuration is the old or the new one, and no temporary file is left anywhere.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestSupport.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

class KillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir(m_tmp.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(m_out.c_str(), 0700), 0);
    std::string ascii = "DEPT GR RHOB\r\nM GAPI G/C3\r\n";
    std::string wrapped =
        "~Version\r\n VERS. 2.0 :\r\n WRAP. YES :\r\n~Curve\r\n DEPT.M :\r\n GR.GAPI :\r\n RHOB.G/C3 "
        ":\r\n~A\r\n";
    for (int i = 0; i < 400000; ++i) {
      const std::string depth = std::to_string(1000 + i) + ".25";
      const std::string values = std::to_string(i % 150) + ".5 2." + std::to_string(i % 1000);
      ascii += depth + " " + values + "\r\n";
      wrapped += depth + "\r\n " + values + "\r\n";
    }
    test::WriteBytes(m_ascii, ascii);
    test::WriteBytes(m_wrapped, wrapped);
    test::WriteBytes(
        m_lah,
        "[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=3\r\n"
        "HEADING 0=DEPT\r\nUNITS 0=M\r\nHEADING 1=GR\r\nHEADING 2=RHOB\r\n");
  }

  // Starts corvane-cli with TMPDIR pointing at a private folder.
  pid_t Start(const std::vector<std::string>& args) {
    test::CChildStreams streams;
    streams.environment = {"TMPDIR=" + m_tmp};
    const pid_t pid = test::StartChild(CORVANE_CLI, args, streams);
    EXPECT_GT(pid, 0);
    return pid;
  }

  // Runs once to the end; returns how long it took and what it wrote.
  double RunWhole(const std::vector<std::string>& args, std::string& output) {
    const auto start = Clock::now();
    const pid_t pid = Start(args);
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    output = test::ReadBytes(m_las);
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  // Kills runs of `args` at random moments within their usual length.
  void KillAtRandom(const std::vector<std::string>& args, const std::string& complete, double seconds,
                    const std::string& newLah) {
    const std::string ascii = test::ReadBytes(m_ascii);
    const std::string wrapped = test::ReadBytes(m_wrapped);
    const std::string oldLah = test::ReadBytes(m_lah);
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> moment(0.0, seconds);
    for (int run = 0; run < 20; ++run) {
      test::WriteBytes(m_las, "earlier LAS file\r\n");
      const pid_t pid = Start(args);
      ::usleep(static_cast<useconds_t>(moment(random) * 1e6));
      ::kill(pid, SIGKILL);
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      const std::string las = test::ReadBytes(m_las);
      EXPECT_TRUE(las == "earlier LAS file\r\n" || las == complete) << "run " << run << ": " << las.size();
      EXPECT_EQ(test::ReadBytes(m_ascii), ascii);
      EXPECT_EQ(test::ReadBytes(m_wrapped), wrapped);
      const std::string lah = test::ReadBytes(m_lah);
      EXPECT_TRUE(lah == oldLah || lah == newLah) << "run " << run;
      EXPECT_EQ(test::ListFolder(m_out), std::vector<std::string>{"out.las"}) << "run " << run;
      EXPECT_TRUE(test::ListFolder(m_tmp).empty()) << "run " << run;
      test::WriteBytes(m_lah, oldLah);
    }
  }

  test::CScratchDir m_dir;
  std::string m_tmp = m_dir.File("tmp");
  std::string m_out = m_dir.File("out");
  std::string m_ascii = m_dir.File("log.asc");
  std::string m_wrapped = m_dir.File("wrapped.las");
  std::string m_lah = m_dir.File("log.lah");
  std::string m_las = m_out + "/out.las";
};

TEST_F(KillTest, ConvertAndUnwrapNeverLeaveHalfAFile) {
  for (const bool inverse : {false, true}) {
    std::vector<std::string> args = {"convert", "--config", m_lah, "--first-data-line", "2",      "--ascii",
                                     m_ascii,   "--las",    m_las, "--save-config",     "--quiet"};
    if (inverse) args.push_back("--inverse");
    const std::string oldLah = test::ReadBytes(m_lah);
    std::string complete;
    const double seconds = RunWhole(args, complete);
    const std::string newLah = test::ReadBytes(m_lah);
    test::WriteBytes(m_lah, oldLah);
    KillAtRandom(args, complete, seconds, newLah);
  }
  const std::vector<std::string> unwrap = {"unwrap", m_wrapped, m_las};
  std::string complete;
  const double seconds = RunWhole(unwrap, complete);
  KillAtRandom(unwrap, complete, seconds, test::ReadBytes(m_lah));
}

}  // namespace
}  // namespace corvane
