#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>

#include <string>
#include <vector>

#include "JobDoubles.h"
#include "SysCallFaults.h"
#include "TestSupport.h"
#include "las/JobSlots.h"
#include "las/Unwrap.h"
#include "las/ValueReader.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

using test::CScratchDir;
using Status = CResult::Status;
using test::ReadBytes;
using test::WriteBytes;

const std::string kWrapNo = " WRAP.                  NO : One line per depth\r\n";

// The head and sections of a wrapped file with four curves, up to its "~A" line.
std::string Head(const std::string& eol = "\n") {
  std::string head;
  for (const char* line :
       {"~VERSION INFORMATION", " VERS.   1.2 : CWLS LOG ASCII STANDARD", " WRAP.   YES : Multiple lines",
        "~WELL INFORMATION", " STRT.M  1000.0 : START", "~Curve Information", " DEPT.M : depth", "#MNEM.UNIT",
        "", " GR.API : gamma", "   # not a curve", " NPHI.V/V : porosity", " RHOB.G/C3 : density", "~Other",
        "free text", "~A"})
    head += std::string(line) + eol;
  return head;
}

// The head as the unwrapped copy holds it.
std::string CopiedHead() {
  std::string head = Head("\r\n");
  const auto third = head.find(" WRAP.");
  head.replace(third, head.find("\r\n", third) + 2 - third, kWrapNo);
  return head;
}

class Unwrapping : public ::testing::Test {
 protected:
  CScratchDir dir;
  CSilentProgress progress;
  std::string source = dir.File("wrapped.las");
  std::string target = dir.File("out.las");

  Status Unwrap(const std::string& bytes) {
    WriteBytes(source, bytes);
    return UnwrapLas(source, target, progress).GetStatus();
  }
  void TearDown() override {
    EXPECT_EQ(UnwrapJob().currentDisplay, nullptr);
    EXPECT_EQ(UnwrapJob().cancelFlag, 0);
  }
};

TEST_F(Unwrapping, FourCurveDepthJoinsItsLinesWithTheirSpacing) {
  const std::string data = " 1000.0000\n  -999.2500   23.5000\n    1.2500\n";
  ASSERT_EQ(Unwrap(Head() + data), Status::Done);
  EXPECT_EQ(ReadBytes(target), CopiedHead() + " 1000.0000   -999.2500   23.5000     1.2500 \r\n");
  // CR LF line ends in the source make no difference.
  std::string crlf = Head("\r\n") + " 1000.0000\r\n  -999.2500   23.5000\r\n    1.2500\r\n";
  ASSERT_EQ(Unwrap(crlf), Status::Done);
  EXPECT_EQ(ReadBytes(target), CopiedHead() + " 1000.0000   -999.2500   23.5000     1.2500 \r\n");
  EXPECT_EQ(progress.title, "Unwrapping LAS file...");
}

TEST_F(Unwrapping, IncompleteLastDepthIsDroppedAndEveryAttemptCounted) {
  const std::string data = "1 2\n3 4\n5 6\n7 8\n9 10\n11 12\n13 14\n";
  ASSERT_EQ(Unwrap(Head() + data), Status::Done);
  EXPECT_EQ(ReadBytes(target), CopiedHead() + "1 2 3 4 \r\n5 6 7 8 \r\n9 10 11 12 \r\n");
  EXPECT_EQ(progress.lastLineText, "Processing line [4]");
  EXPECT_EQ(progress.lastPercent, 100);
  EXPECT_EQ(progress.polls, 4);
  EXPECT_EQ(progress.opens, 1);
  EXPECT_EQ(progress.closes, 1);
}

TEST_F(Unwrapping, CommentAndTextLinesInTheData) {
  // A comment is skipped even when it holds digits; a line without digits gives no
  // value; text in front of a number stays with it.
  const std::string data = "1000.0 2\n# depth 1000.5 starts here\n\n   no digits here\nx3 4\n";
  ASSERT_EQ(Unwrap(Head() + data), Status::Done);
  EXPECT_EQ(ReadBytes(target), CopiedHead() + "1000.0 2 x3 4 \r\n");
}

TEST_F(Unwrapping, SectionsFoundInAnyCaseButNotBareC) {
  std::string lower = Head();
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_EQ(Unwrap(lower + "1 2 3 4\n"), Status::Done);
  EXPECT_NE(ReadBytes(target).find("\r\n~a\r\n1 2 3 4 \r\n"), std::string::npos);

  // "~C" alone does not begin the curve section: everything is copied, no rows, no display.
  std::string bare = Head();
  bare.replace(bare.find("~Curve Information"), 18, "~C");
  const std::string before = ReadBytes(target);
  ASSERT_EQ(Unwrap(bare + "1 2 3 4\n"), Status::Incomplete);
  EXPECT_EQ(ReadBytes(target), before);
  EXPECT_EQ(progress.opens, 1);  // only the first unwrap reached its data
}

// An unwrap that ends early, is cancelled or fails puts nothing in place: an
// earlier file of the target's name stays as it was, and no file appears otherwise.
TEST_F(Unwrapping, OnlyAFinishedCopyTakesTheTargetsPlace) {
  std::string noData = Head();
  noData.erase(noData.find("~A"));
  const std::string noCurves = "~V\n VERS. 2.0 :\n WRAP. YES :\n~CURVE\n# only a comment\n   \n~A\n1 2 3\n";
  struct Case {
    const char* name;
    std::string bytes;
    Status status;
    bool otherJob = false;
    long cancelAt = -1;
  };
  const Case cases[] = {
      {"no data section", noData, Status::Incomplete},
      {"no counted curve", noCurves, Status::Incomplete},
      {"another unwrap holds the display", Head() + "1 2 3 4\n", Status::Incomplete, true},
      {"cancel", Head() + "1 2 3 4\n5 6 7 8\n9 10 11 12\n", Status::Cancelled, false, 3},
  };
  for (const bool existed : {false, true}) {
    for (const Case& c : cases) {
      ::unlink(target.c_str());
      if (existed) WriteBytes(target, "earlier copy\r\n");
      CSilentProgress run;
      run.CancelAtPoll(c.cancelAt);
      CSilentProgress other;
      if (c.otherJob) UnwrapJob().currentDisplay = &other;
      WriteBytes(source, c.bytes);
      const CResult result = UnwrapLas(source, target, run);
      UnwrapJob().currentDisplay = nullptr;
      EXPECT_EQ(result.GetStatus(), c.status) << c.name;
      EXPECT_FALSE(result.Reason().empty()) << c.name;
      if (existed)
        EXPECT_EQ(ReadBytes(target), "earlier copy\r\n") << c.name;
      else
        EXPECT_NE(::access(target.c_str(), F_OK), 0) << c.name;
      EXPECT_EQ(run.closes, run.opens) << c.name;
    }
  }
  // A write or rename failure is a failure, and the target stays as well.
  for (const auto call : {test::CSysCallFault::Call::Write, test::CSysCallFault::Call::Rename}) {
    WriteBytes(target, "earlier copy\r\n");
    WriteBytes(source, Head() + "1 2 3 4\n");
    test::CSysCallFault fault(call, ENOSPC, 1, dir.Path());
    const CResult result = UnwrapLas(source, target, progress);
    EXPECT_TRUE(result.IsFailed());
    EXPECT_EQ(result.Reason(), target + ": No space left on device");
    EXPECT_EQ(ReadBytes(target), "earlier copy\r\n");
    EXPECT_EQ(ReadBytes(source), Head() + "1 2 3 4\n");
  }
}

TEST_F(Unwrapping, NeverWritesOverItsSource) {
  const std::string bytes = Head() + "1 2 3 4\n";
  WriteBytes(source, bytes);
  ASSERT_EQ(symlink(source.c_str(), dir.File("link.las").c_str()), 0);
  ASSERT_EQ(link(source.c_str(), dir.File("hard.las").c_str()), 0);
  for (const std::string& same :
       {source, dir.File("link.las"), dir.File("hard.las"), dir.Path() + "/./wrapped.las"})
    EXPECT_EQ(UnwrapLas(source, same, progress).GetStatus(), Status::Failed) << same;
  EXPECT_EQ(ReadBytes(source), bytes);

  EXPECT_EQ(UnwrapLas(source, dir.File("no/such/dir.las"), progress).GetStatus(), Status::Failed);
  EXPECT_EQ(UnwrapLas(dir.File("missing.las"), target, progress).GetStatus(), Status::Failed);
  // A target that another job holds is neither emptied nor written.
  WriteBytes(target, "held");
  CTextReader holder;
  holder.Open(target, true);
  EXPECT_EQ(UnwrapLas(source, target, progress).GetStatus(), Status::Failed);
  EXPECT_EQ(ReadBytes(target), "held");
}

TEST(WrappedDetection, FirstThreeLinesDecide) {
  CScratchDir dir;
  auto detect = [&](const std::string& bytes) {
    WriteBytes(dir.File("f.las"), bytes);
    return IsWrappedLas(dir.File("f.las"));
  };
  EXPECT_TRUE(detect("~VERSION\n VERS. 2.0 :\n WRAP. YES : many\n"));
  EXPECT_TRUE(detect("~version\r\n vers. 1.2 :\r\n wrap. yes : many\r\n"));
  EXPECT_FALSE(detect("~VERSION\n VERS. 2.0 :\n WRAP. NO : one\n"));
  EXPECT_FALSE(detect("# comment\n~VERSION\n VERS. 2.0 :\n WRAP. YES :\n"));
  EXPECT_FALSE(detect("~VERSION\n VERS. 2.0 :\n"));
  EXPECT_FALSE(detect(""));
  EXPECT_FALSE(IsWrappedLas(dir.File("missing.las")));
  // A file that a running job holds is not read.
  WriteBytes(dir.File("held.las"), "~VERSION\n VERS. 2.0 :\n WRAP. YES : many\n");
  CTextReader holder;
  holder.Open(dir.File("held.las"), true);
  EXPECT_FALSE(IsWrappedLas(dir.File("held.las")));
  EXPECT_FALSE(IsWrappedLas(""));
  EXPECT_TRUE(IsWrappedLas(test::DataFile("sample_2.0_wrapped.las")));
  EXPECT_FALSE(IsWrappedLas(test::DataFile("sample_2.0.las")));
}

TEST(ValueReading, ValuesCarryTheirTextAndOneWhiteSpace) {
  CScratchDir dir;
  WriteBytes(dir.File("v.txt"), "  -1.5e3\tx7,8 9\n\n#12\nend\n");
  CTextReader reader;
  reader.Open(dir.File("v.txt"));
  CValueReader values;
  values.Reset();
  std::vector<std::string> taken;
  while (auto value = values.TakeValue(reader)) taken.emplace_back(*value);
  EXPECT_EQ(taken, (std::vector<std::string>{"  -1.5e3\t", "x7,8 ", "9 "}));
  EXPECT_TRUE(values.AtEnd());
}

class FakePrompts : public CUnwrapPrompts {
 public:
  bool answer = true;
  std::optional<std::string> target;
  std::vector<std::string> log;
  bool AskYesNo(const std::string& text) override {
    log.push_back("ask:" + text);
    return answer;
  }
  std::optional<std::string> ChooseTarget() override {
    log.push_back("choose");
    return target;
  }
  void ShowNotice(const std::string& text) override { log.push_back("notice:" + text); }
  void ShowError(const std::string& text, const std::string&) override { log.push_back("error:" + text); }
};

class UnwrapOffer : public ::testing::Test {
 protected:
  CScratchDir dir;
  CSilentProgress progress;
  FakePrompts prompts;
  CConversionSetup setup;
  const std::string ask =
      "ask:The specified ASCII file might be a LAS file in WRAP format. Do you want to UNWRAP it?";

  void SetUp() override {
    setup.asciiFilePath = dir.File("wrapped.las");
    WriteBytes(setup.asciiFilePath, Head() + "1 2 3 4\n");
    prompts.target = dir.File("out.las");
  }
};

TEST_F(UnwrapOffer, AcceptedOfferSwitchesTheSetupToTheCopy) {
  EXPECT_TRUE(OfferUnwrap(setup, prompts, progress));
  EXPECT_EQ(setup.asciiFilePath, dir.File("out.las"));
  EXPECT_EQ(prompts.log, (std::vector<std::string>{ask, "choose"}));
  EXPECT_EQ(ReadBytes(dir.File("out.las")), CopiedHead() + "1 2 3 4 \r\n");
}

TEST_F(UnwrapOffer, DeclinedOrNotWrappedChangesNothing) {
  prompts.answer = false;
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  prompts.answer = true;
  prompts.target.reset();
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  EXPECT_EQ(prompts.log, (std::vector<std::string>{ask, ask, "choose"}));

  prompts.log.clear();
  WriteBytes(setup.asciiFilePath, "plain ascii\n1 2\n");
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  setup.asciiFilePath = dir.File("missing.las");
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  EXPECT_TRUE(prompts.log.empty());
  EXPECT_FALSE(test::ReadBytes(dir.File("wrapped.las")).empty());
}

TEST_F(UnwrapOffer, TargetThatIsTheSource) {
  const std::string original = ReadBytes(setup.asciiFilePath);
  prompts.target = setup.asciiFilePath;
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  EXPECT_EQ(prompts.log.back(), "notice:Unwrap LAS file name cannot be the same as the original LAS file.");

  ASSERT_EQ(symlink(setup.asciiFilePath.c_str(), dir.File("link.las").c_str()), 0);
  prompts.target = dir.File("link.las");
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  EXPECT_EQ(prompts.log.back(), "error:Failed to open LAS file.");
  EXPECT_EQ(setup.asciiFilePath, dir.File("wrapped.las"));
  EXPECT_EQ(ReadBytes(setup.asciiFilePath), original);
}

TEST_F(UnwrapOffer, EarlyEndOrCancelIsQuiet) {
  progress.CancelAtPoll(1);
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  WriteBytes(setup.asciiFilePath, "~V\n VERS. 2.0 :\n WRAP. YES :\n~C\n~A\n1 2\n");
  EXPECT_FALSE(OfferUnwrap(setup, prompts, progress));
  EXPECT_EQ(prompts.log, (std::vector<std::string>{ask, "choose", ask, "choose"}));
  EXPECT_EQ(setup.asciiFilePath, dir.File("wrapped.las"));
}

}  // namespace
}  // namespace corvane
