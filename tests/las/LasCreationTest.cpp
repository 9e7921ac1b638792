// Whole LAS creation runs: the file on disk, the messages, and what stays untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "JobDoubles.h"
#include "LasTestHelpers.h"
#include "SysCallFaults.h"
#include "las/JobSlots.h"
#include "las/LasCreation.h"
#include "las/LasWriter.h"
#include "platform/ProgramInfo.h"
#include "platform/TextReader.h"
#include "setup/Configuration.h"

namespace corvane {
namespace {

using test::CrLfLines;
using test::Curve;

// A progress display that runs `action` at one poll (for cancels and re-entry).
class CHookedProgress : public CSilentProgress {
 public:
  bool PollCancel() override {
    const bool cancel = CSilentProgress::PollCancel();
    if (polls == hookAt && hook) hook();
    return cancel;
  }
  long hookAt = -1;
  std::function<void()> hook;
};

class LasCreationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::mkdir(m_dir.File("tmp").c_str(), 0700);
    m_temp = std::make_unique<test::CPrivateTempDir>(m_dir.File("tmp"));
  }

  void TearDown() override {
    // No run leaves a temporary file, and none ever changes its ASCII file.
    EXPECT_TRUE(m_temp->Files().empty());
    if (!m_asciiBytes.empty()) {
      EXPECT_EQ(test::ReadBytes(m_ascii), m_asciiBytes);
    }
    EXPECT_EQ(m_feedback.busyDepth, 0);
    EXPECT_EQ(LasCreationJob().cancelFlag, 0);
    EXPECT_EQ(LasCreationJob().currentDisplay, nullptr);
  }

  CConversionSetup SetupFor(const std::string& asciiBytes, const std::vector<CCurveDef>& curves,
                            int firstDataLine = 0) {
    m_asciiBytes = asciiBytes;
    test::WriteBytes(m_ascii, asciiBytes);
    return test::MakeSetup(m_ascii, m_las, curves, firstDataLine);
  }

  bool Run(CConversionSetup& setup, bool inverse = false, const std::vector<std::string>& other = {}) {
    return CreateLas(setup, inverse, other, m_progress, m_feedback,
                     [this] {
                       ++m_saves;
                       return m_saveResult ? CResult::Done()
                                           : CResult::Failed("c.lah: Permission denied", EACCES);
                     })
        .Ok();
  }

  std::string Las() const { return test::ReadBytes(m_las); }

  test::CScratchDir m_dir;
  std::unique_ptr<test::CPrivateTempDir> m_temp;
  std::string m_ascii = m_dir.File("in.asc");
  std::string m_las = m_dir.File("out.las");
  std::string m_asciiBytes;
  CHookedProgress m_progress;
  CCollectingFeedback m_feedback;
  int m_saves = 0;
  bool m_saveResult = true;
};

const char* const kGrDeptLas =
    "~Version Information\r\n"
    " VERS.                2.00 : CWLS Log ASCII Standard - Version 2.00\r\n"
    " WRAP.                  NO : One line per depth\r\n"
    "~Well Information\r\n"
    "#MNEM.UNIT           Data Type            Information\r\n"
    "#--------- ------------------------------ ------------------------------\r\n"
    " STRT.M                        1000.0000: Start Depth\r\n"
    " STOP.M                        1000.0000: Stop Depth\r\n"
    " STEP.M                           0.0000: Depth Increment\r\n"
    " NULL.M                        -999.2500: No Data Flag\r\n"
    "~Curve Information\r\n"
    "#MNEM.UNIT           API Codes            Curve Description\r\n"
    "#--------- ------------------------------ ------------------------------\r\n"
    " DEPT.M                                 :   1 \r\n"
    " GR.GAPI                                :   2 \r\n"
    "~A         DEPT            GR  \r\n"
    "      1000.0000       55.2000  \r\n";

TEST_F(LasCreationTest, WritesTheWholeFile) {
  auto setup = SetupFor("55.2 1000\r\n", {Curve("GR", "GAPI"), Curve("DEPT", "M")});
  EXPECT_TRUE(Run(setup));
  EXPECT_EQ(Las(), kGrDeptLas);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created successfully."});
  EXPECT_EQ(m_saves, 1);
  EXPECT_EQ(m_feedback.busyCalls, 1);

  // A run after a run writes the file anew; an existing longer file is emptied first.
  test::WriteBytes(m_las, std::string(10000, 'z'));
  EXPECT_TRUE(Run(setup));
  EXPECT_EQ(Las(), kGrDeptLas);
}

TEST_F(LasCreationTest, HeaderDeclaresTheRangeAndInversionReversesTheData) {
  auto setup =
      SetupFor("DEPT GR\r\nM GAPI\r\n" + test::DepthSeries(), {Curve("DEPT", "M"), Curve("GR", "GAPI")}, 2);
  setup.wellName = "WELL A-1";
  EXPECT_TRUE(Run(setup, false, {"COMP.:ACME:COMPANY", "", "FLD .:Wildcat:FIELD"}));
  auto lines = CrLfLines(Las());
  ASSERT_EQ(lines.size(), 19u + 1001u);
  EXPECT_EQ(lines[6], " STRT.M                        1000.0000: Start Depth");
  EXPECT_EQ(lines[7], " STOP.M                        1500.0000: Stop Depth");
  EXPECT_EQ(lines[8], " STEP.M                           0.5000: Depth Increment");
  EXPECT_EQ(lines[10], " WELL.                          WELL A-1: ");
  EXPECT_EQ(lines[11], " COMP.                              ACME: COMPANY");
  EXPECT_EQ(lines[12], " FLD .                           Wildcat: FIELD");
  EXPECT_EQ(lines[19], "      1000.0000        0.0000  ");
  EXPECT_EQ(lines.back(), "      1500.0000      100.0000  ");

  EXPECT_TRUE(Run(setup, true, {}));
  lines = CrLfLines(Las());
  ASSERT_EQ(lines.size(), 17u + 1001u);
  EXPECT_EQ(lines[6], " STRT.M                        1500.0000: Start Depth");
  EXPECT_EQ(lines[7], " STOP.M                        1000.0000: Stop Depth");
  EXPECT_EQ(lines[8], " STEP.M                          -0.5000: Depth Increment");
  EXPECT_EQ(lines[17], "      1500.0000      100.0000  ");
  EXPECT_EQ(lines.back(), "      1000.0000        0.0000  ");
}

// STRT, STOP and STEP are those of the rows written: each case's data lines and the
// three values of the ~Well section, in file order and inverted.
TEST_F(LasCreationTest, HeaderStatesTheRowsWritten) {
  std::string ctrlZ;  // 100 rows, a Ctrl-Z, 400 more rows after it that are not read
  for (int i = 0; i < 100; ++i) ctrlZ += test::FormatDepth(1000 + 0.5 * i) + " 1\r\n";
  ctrlZ += '\x1a';
  for (int i = 100; i < 500; ++i) ctrlZ += test::FormatDepth(1000 + 0.5 * i) + " 1\r\n";
  struct CCase {
    const char* name;
    std::string data;
    const char* start;
    const char* stop;
    const char* step;
  };
  const CCase cases[] = {
      {"regular", "1000 1\r\n1000.5 1\r\n\r\n1001 1\r\n", "1000.0000", "1001.0000", "0.5000"},
      {"a step that changes half-way", "0 1\r\n0.1 1\r\n0.2 1\r\n0.2998 1\r\n0.3996 1\r\n", "0.0000",
       "0.3996", "0.0000"},
      {"core samples", "76.29 1\r\n104.36 1\r\n134 1\r\n", "76.2900", "134.0000", "0.0000"},
      {"float noise written away", "494.528 1\r\n494.67999999999996 1\r\n494.832 1\r\n", "494.5280",
       "494.8320", "0.1520"},
      {"a blank first line", "\r\n1000 1\r\n1000.25 1\r\n", "1000.0000", "1000.2500", "0.2500"},
      {"a missing depth", "1000 1\r\nx 1\r\n1001 1\r\n", "1000.0000", "1001.0000", "0.0000"},
      {"a Ctrl-Z before the last 5000 bytes", ctrlZ, "1000.0000", "1049.5000", "0.5000"},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool inverse : {false, true}) {
      auto setup = SetupFor(c.data, {Curve("DEPT", "M"), Curve("GR")});
      CLasCreationFacts facts;
      ASSERT_TRUE(CreateLas(
                      setup, inverse, {}, m_progress, m_feedback, [] { return CResult::Done(); }, &facts)
                      .Ok());
      const auto lines = CrLfLines(Las());
      const std::string start = inverse ? c.stop : c.start;
      const std::string stop = inverse ? c.start : c.stop;
      std::string step = c.step;
      if (inverse && step != "0.0000") step = "-" + step;
      EXPECT_EQ(lines[6], CLasWriter::ComposeHeaderLine(" STRT.M", start + ":", "Start Depth"));
      EXPECT_EQ(lines[7], CLasWriter::ComposeHeaderLine(" STOP.M", stop + ":", "Stop Depth"));
      EXPECT_EQ(lines[8], CLasWriter::ComposeHeaderLine(" STEP.M", step + ":", "Depth Increment"));
      EXPECT_EQ(facts.range.StepValue(), step);
    }
  }
}

// When the rows written differ from what the look at the head and the tail of the file
// said, the header is written again, shorter or longer, and the data stays whole.
TEST_F(LasCreationTest, HeaderWrittenAgainOfAnotherLength) {
  // Past the reader's first block a Ctrl-Z ends the rows; the last 5000 bytes after it end
  // in a depth of 36 characters, which the look at the tail takes for the last one.
  std::string data;
  int rows = 0;
  for (; data.size() < CTextReader::kBlockSize + 1000; ++rows)
    data += test::FormatDepth(1000 + 0.5 * rows) + " 1\r\n";
  data += '\x1a' + std::string(6000, ' ') + "\r\n1e30 7\r\n";
  auto setup = SetupFor(data, {Curve("DEPT", "M"), Curve("GR")});
  CDepthRange looked;
  ASSERT_TRUE(CLasWriter::ScanDepthRange(setup, false, m_feedback, looked).Ok());
  EXPECT_EQ(looked.stopText, "1000000000000000019884624838656.0000");
  ASSERT_TRUE(Run(setup));
  const auto lines = CrLfLines(Las());
  ASSERT_EQ(lines.size(), 16u + static_cast<std::size_t>(rows));
  const std::string stop = test::FormatDepth(1000 + 0.5 * (rows - 1));
  EXPECT_EQ(lines[7], CLasWriter::ComposeHeaderLine(" STOP.M", stop + ":", "Stop Depth"));
  EXPECT_EQ(lines[8], CLasWriter::ComposeHeaderLine(" STEP.M", "0.5000:", "Depth Increment"));
  EXPECT_EQ(lines[15], "~A         DEPT            GR  ");
  EXPECT_EQ(lines[16], "      1000.0000        1.0000  ");
  EXPECT_EQ(lines.back(), "   " + std::string(12 - stop.size(), ' ') + stop + "        1.0000  ");
}

TEST_F(LasCreationTest, TimeCurveIsTheIndexWithoutADepthCurve) {
  auto setup = SetupFor("5 0\r\n6 10\r\n7 20\r\n", {Curve("GR", "GAPI"), Curve("Time", "MS")});
  ASSERT_TRUE(Run(setup));
  const auto lines = CrLfLines(Las());
  EXPECT_EQ(lines[6], CLasWriter::ComposeHeaderLine(" STRT.MS", "0.0000:", "Start Depth"));
  EXPECT_EQ(lines[8], CLasWriter::ComposeHeaderLine(" STEP.MS", "10.0000:", "Depth Increment"));
  EXPECT_EQ(lines[9], CLasWriter::ComposeHeaderLine(" NULL.MS", "-999.2500:", "No Data Flag"));
  EXPECT_EQ(lines[13], " Time.MS                                :   1 ");
  // A depth curve comes first all the same.
  setup = SetupFor("5 0 1\r\n", {Curve("TIME", "S"), Curve("GR"), Curve("DEP", "FT")});
  ASSERT_TRUE(Run(setup));
  EXPECT_EQ(CrLfLines(Las())[13], " DEP.FT                                 :   1 ");
}

TEST_F(LasCreationTest, WithoutDepthCurve) {
  auto setup = SetupFor("1 2\r\n3 4\r\n", {Curve("A", "U1"), Curve("B", "U2")});
  EXPECT_TRUE(Run(setup, true));
  const auto lines = CrLfLines(Las());
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[6], " STRT.M                           0.0000: Start Depth");
  EXPECT_EQ(lines[13], " A.U1                                   :   2 ");
  EXPECT_EQ(lines[14], " B.U2                                   :   3 ");
  EXPECT_EQ(lines[16], "         3.0000        4.0000  ");
  EXPECT_EQ(lines[17], "         1.0000        2.0000  ");
}

TEST_F(LasCreationTest, CancelLeavesTheEarlierLasFile) {
  std::string ascii = "head\r\n";
  for (int i = 1; i <= 10; ++i) ascii += std::to_string(i) + "\r\n";
  auto setup = SetupFor(ascii, {Curve("DEPT", "M")}, 1);
  ASSERT_TRUE(Run(setup));
  const std::string complete = Las();
  m_feedback.messages.clear();
  m_progress = CHookedProgress();
  m_progress.CancelAtPoll(4);
  EXPECT_FALSE(Run(setup));
  EXPECT_EQ(Las(), complete);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created failed or cancelled."});
  EXPECT_EQ(m_progress.lastLineText, "Processing line [3]");
  EXPECT_EQ(m_saves, 2);

  // Cancel before the first data line, inverted.
  m_feedback.messages.clear();
  m_progress = CHookedProgress();
  m_progress.CancelAtPoll(1);
  EXPECT_FALSE(Run(setup, true));
  EXPECT_EQ(Las(), complete);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created failed or cancelled."});
}

TEST_F(LasCreationTest, SameFileUnderAnotherNameIsRefused) {
  auto setup = SetupFor("55.2 1000\r\n", {Curve("GR"), Curve("DEPT")});
  ASSERT_EQ(::symlink(m_ascii.c_str(), m_dir.File("link.las").c_str()), 0);
  ASSERT_EQ(::link(m_ascii.c_str(), m_dir.File("hard.las").c_str()), 0);
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(m_dir.Path().c_str()), 0);
  for (const std::string& las : {m_ascii, std::string("in.asc"), std::string("./tmp/../in.asc"),
                                 m_dir.File("link.las"), m_dir.File("hard.las")}) {
    setup.lasFilePath = las;
    m_feedback.messages.clear();
    EXPECT_FALSE(Run(setup)) << las;
    ASSERT_EQ(m_feedback.messages.size(), 1u) << las;
    EXPECT_TRUE(m_feedback.messages[0].error);
    EXPECT_EQ(m_feedback.messages[0].text, "The name of ASCII and LAS files cannot be the same.");
    EXPECT_EQ(m_feedback.messages[0].caption, "System Message");
  }
  // The configuration file may be neither of the two, whatever its path looks like.
  setup.lasFilePath = m_las;
  for (const std::string& config : {m_ascii, std::string("in.asc"), std::string("./tmp/../out.las"),
                                    m_dir.File("link.las"), m_dir.File("hard.las")}) {
    setup.configFilePath = config;
    m_feedback.messages.clear();
    EXPECT_FALSE(Run(setup)) << config;
    EXPECT_EQ(test::Texts(m_feedback),
              std::vector<std::string>{"The configuration file cannot be the ASCII file or the LAS file."})
        << config;
  }
  ASSERT_EQ(::chdir(cwd), 0);
  EXPECT_EQ(m_saves, 0);  // nothing is saved either
  EXPECT_EQ(m_feedback.busyCalls, 0);
  EXPECT_NE(::access(m_las.c_str(), F_OK), 0);
}

TEST_F(LasCreationTest, FailuresAndWhatTheyLeave) {
  auto setup = SetupFor("55.2 1000\r\n", {Curve("GR", "GAPI"), Curve("DEPT", "M")});

  // A configuration file that cannot be written is reported; the run goes on.
  m_saveResult = false;
  EXPECT_TRUE(Run(setup));
  ASSERT_EQ(m_feedback.messages.size(), 2u);
  EXPECT_EQ(m_feedback.messages[0].text, "Failed to save configuration file.");
  EXPECT_EQ(m_feedback.messages[0].caption, kAppTitle);
  EXPECT_EQ(m_feedback.messages[0].detail, "c.lah: Permission denied");
  EXPECT_EQ(Las(), kGrDeptLas);
  m_saveResult = true;

  // The LAS file cannot be created.
  m_feedback.messages.clear();
  setup.lasFilePath = m_dir.File("no-such-dir/out.las");
  EXPECT_FALSE(Run(setup));
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"Failed to open or write to LAS file."});
  EXPECT_TRUE(m_feedback.messages[0].error);
  EXPECT_EQ(m_feedback.messages[0].detail, setup.lasFilePath + ": No such file or directory");
  setup.lasFilePath = m_las;

  // Each way the new LAS file can fail leaves the earlier one: a full disk in the
  // header or in the data, a short write (completed), a failed sync or rename.
  struct Case {
    test::CSysCallFault::Call call;
    int nth;
    std::vector<std::string> messages;
  };
  using Call = test::CSysCallFault::Call;
  const std::vector<Case> cases = {
      {Call::Write, 1, {"Failed to open or write to LAS file."}},
      {Call::Fsync, 1, {"Failed to write to LAS file.", "LAS file created failed or cancelled."}},
      {Call::Rename, 1, {"Failed to write to LAS file.", "LAS file created failed or cancelled."}},
      {Call::ShortWrite, 1, {"LAS file created successfully."}},
  };
  for (const Case& c : cases) {
    test::WriteBytes(m_las, "earlier\r\n");
    m_feedback.messages.clear();
    bool done = false;
    {
      test::CSysCallFault fault(c.call, ENOSPC, c.nth, m_dir.Path());
      done = Run(setup);
    }
    EXPECT_EQ(test::Texts(m_feedback), c.messages);
    EXPECT_EQ(Las(), done ? kGrDeptLas : "earlier\r\n");
    EXPECT_EQ(done, c.call == Call::ShortWrite);
  }

  // Empty paths: nothing happens at all.
  m_feedback.messages.clear();
  const int saves = m_saves;
  setup.lasFilePath.clear();
  EXPECT_FALSE(Run(setup));
  setup.lasFilePath = m_las;
  setup.configFilePath.clear();
  EXPECT_FALSE(Run(setup));
  EXPECT_TRUE(m_feedback.messages.empty());
  EXPECT_EQ(m_saves, saves);
}

TEST_F(LasCreationTest, UnreadableOrShortAsciiFile) {
  // Neither a data part that is not there nor an ASCII file that cannot be read
  // empties an earlier LAS file; each says so.
  auto setup = SetupFor("header only\r\n", {Curve("GR", "GAPI"), Curve("DEPT", "M")}, 2);
  test::WriteBytes(m_las, "earlier\r\n");
  const CResult result = CreateLas(setup, false, {}, m_progress, m_feedback, [] { return CResult::Done(); });
  EXPECT_EQ(result.Reason(), "No data line at line 2 of " + m_ascii + ": the file has 1 lines.");
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created failed or cancelled."});
  EXPECT_EQ(Las(), "earlier\r\n");

  m_feedback.messages.clear();
  setup.asciiFilePath = m_dir.File("missing.asc");
  EXPECT_FALSE(Run(setup));
  EXPECT_EQ(test::Texts(m_feedback),
            (std::vector<std::string>{"Failed to open ASCII file.", "Failed to write to LAS file.",
                                      "LAS file created failed or cancelled."}));
  EXPECT_EQ(m_feedback.messages[0].detail, setup.asciiFilePath + ": No such file or directory");
  EXPECT_EQ(Las(), "earlier\r\n");
}

TEST_F(LasCreationTest, SecondRunWhileTheFirstHoldsItsFiles) {
  std::string ascii;
  for (int i = 0; i < 50; ++i) ascii += std::to_string(1000 + i) + " 7\r\n";
  auto setup = SetupFor(ascii, {Curve("DEPT", "M"), Curve("GR")});
  ASSERT_TRUE(Run(setup));
  const std::string alone = Las();

  // The user presses Create LAS again while the data section serves the message queue.
  CCollectingFeedback second;
  CSilentProgress secondProgress;
  bool secondResult = true;
  m_progress.hookAt = m_progress.polls + 20;
  m_progress.hook = [&] {
    CConversionSetup again = setup;
    secondResult = CreateLas(again, false, {}, secondProgress, second, [] { return CResult::Done(); }).Ok();
  };
  m_feedback.messages.clear();
  EXPECT_TRUE(Run(setup));
  EXPECT_FALSE(secondResult);
  EXPECT_EQ(test::Texts(second),
            (std::vector<std::string>{"Failed to open ASCII file.", "Failed to open or write to LAS file."}));
  EXPECT_EQ(secondProgress.opens, 0);
  EXPECT_EQ(Las(), alone);
  EXPECT_EQ(test::Texts(m_feedback), std::vector<std::string>{"LAS file created successfully."});

  // With other files, a second data section still ends at once: the display slot is taken.
  const std::string otherAscii = m_dir.File("other.asc");
  test::WriteBytes(otherAscii, ascii);
  m_progress = CHookedProgress();
  m_progress.hookAt = 5;
  m_progress.hook = [&] {
    CConversionSetup again = setup;
    again.asciiFilePath = otherAscii;
    again.lasFilePath = m_dir.File("other.las");
    second.messages.clear();
    secondResult = CreateLas(again, true, {}, secondProgress, second, [] { return CResult::Done(); }).Ok();
  };
  EXPECT_TRUE(Run(setup));
  EXPECT_FALSE(secondResult);
  EXPECT_TRUE(second.messages.empty());
  EXPECT_EQ(secondProgress.opens, 0);
  EXPECT_NE(::access(m_dir.File("other.las").c_str(), F_OK), 0);  // nothing half made is put in place
  EXPECT_EQ(Las(), alone);
  EXPECT_EQ(test::ReadBytes(otherAscii), ascii);
}

// Jobs in threads of their own (a batch) neither refuse one another nor mix their
// files, and write what a run alone writes; what they report matches the header.
TEST_F(LasCreationTest, RunsSideBySideInThreads) {
  constexpr int kJobs = 4;
  std::vector<CConversionSetup> setups;
  std::vector<std::string> alone;
  for (int k = 0; k < kJobs; ++k) {
    const std::string ascii = m_dir.File("in" + std::to_string(k) + ".asc");
    test::WriteBytes(ascii, "DEPT GR\r\nM GAPI\r\n" + test::DepthSeries() + std::string(k, '\n'));
    setups.push_back(test::MakeSetup(ascii, m_dir.File("out" + std::to_string(k) + ".las"),
                                     {Curve("DEPT", "M"), Curve("GR", "GAPI")}, 2));
    CConversionSetup copy = setups.back();
    CSilentProgress progress;
    CCollectingFeedback feedback;
    ASSERT_TRUE(CreateLas(copy, k % 2 == 1, {}, progress, feedback, [] { return CResult::Done(); }).Ok());
    alone.push_back(test::ReadBytes(copy.lasFilePath));
    ::unlink(copy.lasFilePath.c_str());
  }

  // The wizard's own job is converting on this thread meanwhile.
  CSilentProgress wizard;
  CJobDisplay held(LasCreationJob(), wizard);
  ASSERT_TRUE(held.Acquire("Creating LAS file..."));
  std::vector<CResult> results(kJobs);
  std::vector<CLasCreationFacts> facts(kJobs);
  std::vector<std::thread> threads;
  for (int k = 0; k < kJobs; ++k) {
    threads.emplace_back([&, k] {
      CSilentProgress progress;
      CCollectingFeedback feedback;
      results[k] = CreateLas(
          setups[k], k % 2 == 1, {}, progress, feedback, [] { return CResult::Done(); }, &facts[k]);
    });
  }
  for (auto& thread : threads) thread.join();
  held.Release();
  for (int k = 0; k < kJobs; ++k) {
    EXPECT_TRUE(results[k].Ok()) << k << ": " << results[k].Reason();
    EXPECT_EQ(test::ReadBytes(setups[k].lasFilePath), alone[k]) << k;
    EXPECT_EQ(facts[k].rows, 1001u);
    EXPECT_TRUE(facts[k].scanned);
    EXPECT_EQ(facts[k].range.start, k % 2 == 1 ? 1500.0 : 1000.0);
    EXPECT_EQ(facts[k].range.stop, k % 2 == 1 ? 1000.0 : 1500.0);
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// The configuration save of a run, failing in the system: the run says so and goes on,
// the configuration file keeps its old text and the ASCII file is untouched.
TEST(LasCreationConfigurationTest, AFailedSaveLeavesTheOldConfiguration) {
  test::CScratchDir dir;
  const std::string ascii = dir.File("in.asc");
  test::WriteBytes(ascii, "1000 55\r\n1001 56\r\n");
  auto setup = test::MakeSetup(ascii, dir.File("out.las"), {Curve("DEPT", "M"), Curve("GR")});
  setup.configFilePath = dir.File("c.lah");
  test::WriteBytes(setup.configFilePath, "[File ID]\r\nID=Corvane\r\n");
  using Call = test::CSysCallFault::Call;
  // The save comes first, so the first of these calls in the folder is the save's.
  for (const Call call : {Call::Write, Call::Fsync, Call::Rename}) {
    CCollectingFeedback feedback;
    CSilentProgress progress;
    {
      test::CSysCallFault fault(call, EIO, 1, dir.Path(), 1);
      EXPECT_TRUE(
          CreateLas(setup, false, {}, progress, feedback, [&] { return SaveConfiguration(setup); }).Ok());
    }
    EXPECT_EQ(test::Texts(feedback), (std::vector<std::string>{"Failed to save configuration file.",
                                                               "LAS file created successfully."}));
    EXPECT_EQ(feedback.messages[0].detail, setup.configFilePath + ": Input/output error");
    EXPECT_EQ(test::ReadBytes(setup.configFilePath), "[File ID]\r\nID=Corvane\r\n");
    EXPECT_EQ(test::ReadBytes(ascii), "1000 55\r\n1001 56\r\n");
  }
}

}  // namespace
}  // namespace corvane
