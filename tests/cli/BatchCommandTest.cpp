// corvane-cli batch, run as a user runs it: every file as `convert` alone would make it,
// clashes refused before any work, a cancel that puts no half-made file in place, shards
// that share one list, and the merge of their reports.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "CliInProcess.h"
#include "SysCallFaults.h"
#include "TestSupport.h"

namespace corvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

struct CRun {
  int status = -1;
  std::string out;
  std::string err;
};

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// Names in a folder, hidden ones included.
std::set<std::string> Listing(const std::string& folder) {
  const std::vector<std::string> names = test::ListFolder(folder);
  return std::set<std::string>(names.begin(), names.end());
}

class BatchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_lah = m_dir.File("well-7.lah");
    WriteBytes(m_lah, ReadBytes(test::SourceFile("examples/well-7.lah")));
    m_example = ReadBytes(test::SourceFile("examples/well-7.asc"));
    ::mkdir(m_dir.File("in").c_str(), 0755);
  }

  std::string Input(const std::string& name, const std::string& bytes) {
    const std::string path = m_dir.File("in/" + name);
    WriteBytes(path, bytes);
    return path;
  }

  test::CChildStreams Streams(const std::string& stdinPath) const {
    test::CChildStreams streams;
    streams.input = stdinPath;
    streams.output = m_dir.File("stdout");
    streams.errors = m_dir.File("stderr");
    return streams;
  }

  // Starts corvane-cli with `args`, standard input from `stdinPath` (or /dev/null).
  pid_t Start(const std::vector<std::string>& args, const std::string& stdinPath = "/dev/null") {
    const pid_t pid = test::StartChild(CORVANE_CLI, args, Streams(stdinPath));
    EXPECT_GT(pid, 0);
    return pid;
  }

  CRun Finish(pid_t pid) {
    const test::CChildRun child = test::FinishChild(pid, Streams("/dev/null"));
    return CRun{child.status, child.out, child.err};
  }

  CRun Cli(const std::vector<std::string>& args, const std::string& stdinText = std::string()) {
    std::string input = "/dev/null";
    if (!stdinText.empty()) {
      input = m_dir.File("stdin");
      WriteBytes(input, stdinText);
    }
    return Finish(Start(args, input));
  }

  std::vector<std::string> Batch(const std::string& outDir, std::vector<std::string> extra) {
    std::vector<std::string> args = {"batch", "--config", m_lah, "--out-dir", outDir};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }

  test::CScratchDir m_dir;
  std::string m_lah;
  std::string m_example;
};

// A mixed set: each file comes out of the batch exactly as `convert` makes it alone,
// failures included, and one file's failure touches no other.
TEST_F(BatchCommandTest, EveryFileAsConvertAlone) {
  std::string shifted = m_example;  // another good log: one more header line
  shifted.insert(0, "Second pass\r\n");
  std::string inverted;  // a short log whose depths fall
  for (int i = 0; i < 50; ++i) inverted += std::to_string(2000 - i) + ".0 " + std::to_string(i) + ".5\r\n";
  const std::vector<std::string> inputs = {
      Input("good.asc", m_example),
      Input("shifted.asc", shifted),
      Input("short.asc", "Title\r\nDEPT GR\r\n"),
      Input("empty.asc", ""),
      m_dir.File("in/missing.asc"),
      Input("falling.txt", "Falling\r\nDEPT GR\r\nM GAPI\r\nX\r\nY\r\n" + inverted),
      m_dir.File("in/fifo.asc")};
  ASSERT_EQ(::mkfifo(inputs[6].c_str(), 0644), 0);  // never a regular file, whoever runs the test
  std::map<std::string, std::string> before;
  for (const auto& input : inputs)
    if (Exists(input) && input != inputs[6]) before[input] = ReadBytes(input);

  struct CCase {
    const char* firstDataLine;
    bool inverse;
    const char* jobs;
  };
  for (const CCase& c : {CCase{"5", false, "3"}, CCase{"auto", true, "2"}, CCase{"auto", false, "1"}}) {
    SCOPED_TRACE(std::string(c.firstDataLine) + (c.inverse ? " inverse" : ""));
    const std::string out = m_dir.File(std::string("out-") + c.firstDataLine + c.jobs);
    std::vector<std::string> extra = {"--first-data-line", c.firstDataLine,          "--jobs", c.jobs,
                                      "--report",          m_dir.File("report.json")};
    if (c.inverse) extra.push_back("--inverse");
    extra.insert(extra.end(), inputs.begin(), inputs.end());
    const CRun batch = Cli(Batch(out, extra));
    EXPECT_EQ(batch.status, 1) << batch.err;

    std::size_t succeeded = 0;
    for (const std::string& input : inputs) {
      const std::string name = input.substr(input.rfind('/') + 1);
      const std::string stem = name.substr(0, name.rfind('.'));
      const std::string alone = m_dir.File("alone.las");
      ::unlink(alone.c_str());
      std::vector<std::string> convert = {"convert",       "--config", m_lah, "--first-data-line",
                                          c.firstDataLine, "--ascii",  input, "--las",
                                          alone,           "--quiet"};
      if (c.inverse) convert.push_back("--inverse");
      const CRun single = Cli(convert);
      const std::string las = out + "/" + stem + ".las";
      ASSERT_EQ(Exists(las), single.status == 0) << name << ": " << single.err;
      if (single.status == 0) {
        EXPECT_EQ(ReadBytes(las), ReadBytes(alone)) << name;
        ++succeeded;
      }
      // One line per file, with its status.
      const std::size_t line = batch.out.find("  " + input);
      ASSERT_NE(line, std::string::npos) << name;
      const std::string status = batch.out.substr(line - 18, 9);
      EXPECT_EQ(status, single.status == 0 ? "succeeded" : "failed   ") << name;
    }
    EXPECT_GE(succeeded, 3u);
    EXPECT_NE(
        batch.out.find(std::to_string(inputs.size()) + " files: " + std::to_string(succeeded) +
                       " succeeded, " + std::to_string(inputs.size() - succeeded) + " failed, 0 cancelled"),
        std::string::npos)
        << batch.out;
    const std::string report = ReadBytes(m_dir.File("report.json"));
    EXPECT_NE(report.find("\"reason\":\"" + m_dir.File("in/missing.asc") + ": No such file or directory\""),
              std::string::npos);
    EXPECT_NE(
        report.find(std::string(c.firstDataLine) == "5"
                        ? "\"reason\":\"No data line at line 5 of " + inputs[2] + ": the file has 2 lines.\""
                        : "\"reason\":\"No layout proposal for " + inputs[2]),
        std::string::npos);
    EXPECT_EQ(Listing(out).count("missing.las") + Listing(out).count("fifo.las"), 0u);
  }
  for (const auto& [path, bytes] : before) EXPECT_EQ(ReadBytes(path), bytes) << path;
}

// An input the program may not read fails alike in a batch and alone, and touches no
// other file. The refusal comes through the call table, so that it holds for root too
// (root reads a file of mode 0).
TEST_F(BatchCommandTest, UnreadableInputFailsAlikeInBatchAndAlone) {
  const std::string good = Input("good.asc", m_example);
  const std::string unreadable = Input("unreadable.asc", m_example);
  const std::string out = m_dir.File("out");
  const std::string alone = m_dir.File("alone.las");
  test::CSysCallFault fault(test::CSysCallFault::Call::Open, EACCES, 1, "unreadable.asc");
  const test::CCliRun batch = test::RunInProcess(
      Batch(out, {"--first-data-line", "5", "--report", m_dir.File("report.json"), good, unreadable}));
  const test::CCliRun single = test::RunInProcess({"convert", "--config", m_lah, "--first-data-line", "5",
                                                   "--ascii", unreadable, "--las", alone, "--quiet"});
  const std::string reason = unreadable + ": Permission denied";
  EXPECT_EQ(batch.status, 1) << batch.err;
  EXPECT_EQ(single.status, 1);
  EXPECT_NE(single.err.find("corvane-cli: " + reason + "\n"), std::string::npos) << single.err;
  EXPECT_NE(ReadBytes(m_dir.File("report.json")).find("\"reason\":\"" + reason + "\""), std::string::npos);
  EXPECT_NE(batch.out.find("succeeded   "), std::string::npos) << batch.out;
  EXPECT_NE(batch.out.find("failed      "), std::string::npos) << batch.out;
  EXPECT_EQ(Listing(out), (std::set<std::string>{"good.las"}));
  EXPECT_FALSE(Exists(alone));
  EXPECT_GE(fault.Hits(), 2);
}

// Whatever would destroy or mix up files refuses the whole batch, every clash listed,
// before any file is written or any folder made (each kind of clash: BatchPlanTest).
TEST_F(BatchCommandTest, ClashesAreRefusedBeforeAnyWork) {
  const std::string a = Input("a.asc", m_example);
  ::mkdir(m_dir.File("in/sub").c_str(), 0755);
  Input("sub/a.txt", m_example);
  const std::string link = m_dir.File("in/link.asc");
  ASSERT_EQ(::symlink(a.c_str(), link.c_str()), 0);
  const std::string out = m_dir.File("out");
  const std::string existing = m_dir.File("existing");
  ::mkdir(existing.c_str(), 0755);
  WriteBytes(existing + "/a.las", "earlier\r\n");
  WriteBytes(existing + "/a.txt", m_example);  // an input beside the outputs
  const std::string file = m_dir.File("file.txt");
  WriteBytes(file, "not a folder");

  struct CCase {
    std::vector<std::string> args;
    std::vector<std::string> problems;
  };
  const std::vector<CCase> cases = {
      {Batch(existing, {existing + "/a.txt", a, m_lah, a}),
       {"one file is named more than once: " + a + " and " + a,
        existing + "/a.las would be written for each of " + existing + "/a.txt, " + a + " and " + a,
        m_lah + " is the configuration file", existing + "/a.las exists; give --overwrite to replace it"}},
      {Batch(file + "/las", {a}), {file + ": Not a directory (--out-dir names the folder of the LAS files)"}},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CRun run = Cli(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("corvane-cli: nothing was converted:\n", 0), 0u) << run.err;
    for (const std::string& problem : c.problems)
      EXPECT_NE(run.err.find("  " + problem + "\n"), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(out));
    EXPECT_EQ(ReadBytes(existing + "/a.las"), "earlier\r\n");
    EXPECT_EQ(ReadBytes(file), "not a folder");
  }
  // The same inputs without the clash: converted.
  EXPECT_EQ(Cli(Batch(existing, {"--overwrite", existing + "/a.txt"})).status, 0);
  EXPECT_EQ(ReadBytes(existing + "/a.las").rfind("~Version Information\r\n", 0), 0u);

  // --recursive keeps the subfolders, and leaves out hidden, LAS and configuration files.
  ::mkdir(m_dir.File("in/.hidden").c_str(), 0755);
  Input(".hidden/b.asc", m_example);
  Input("old.LAS", m_example);
  const CRun tree = Cli(Batch(out, {"--recursive", m_dir.File("in/")}));
  EXPECT_EQ(tree.status, 2) << tree.err;  // a.asc and link.asc are one file
  ::unlink(link.c_str());
  const CRun walked = Cli(Batch(out, {"--recursive", m_dir.File("in/")}));
  EXPECT_EQ(walked.status, 0) << walked.err;
  EXPECT_EQ(Listing(out), (std::set<std::string>{"a.las", "sub"}));
  EXPECT_EQ(Listing(out + "/sub"), (std::set<std::string>{"a.las"}));
}

// Ctrl-C (or a polite kill) cancels every running job: no LAS file is put in place
// half made, earlier ones stay, files not started are cancelled, and the report lists
// every file.
TEST_F(BatchCommandTest, InterruptCancelsEveryJob) {
  std::string log = "DEPT GR RHOB\r\nM GAPI G/C3\r\n";
  for (int i = 0; i < 150000; ++i)
    log += std::to_string(1000 + i) + ".25 " + std::to_string(i % 150) + ".5 2." + std::to_string(i % 1000) +
           "\r\n";
  const std::string lah = m_dir.File("big.lah");
  WriteBytes(lah,
             "[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=3\r\n"
             "HEADING 0=DEPT\r\nUNITS 0=M\r\nHEADING 1=GR\r\nHEADING 2=RHOB\r\n");
  std::vector<std::string> inputs;
  for (int k = 0; k < 4; ++k) inputs.push_back(Input("log" + std::to_string(k) + ".asc", log));
  const std::string out = m_dir.File("out");
  ::mkdir(out.c_str(), 0755);
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    for (int k = 0; k < 4; ++k) WriteBytes(out + "/log" + std::to_string(k) + ".las", "earlier\r\n");
    std::vector<std::string> args = {"batch",     "--config", lah,
                                     "--out-dir", out,        "--overwrite",
                                     "--jobs",    "2",        "--first-data-line",
                                     "2",         "--report", m_dir.File("report.json")};
    args.insert(args.end(), inputs.begin(), inputs.end());
    // Both jobs are held in the middle of their files until the interrupt has arrived.
    test::CReadGate gate("/in/log", test::kReadsBeforeTheGate);
    const test::CCliRun run = test::RunInterrupted(args, gate, 2, signal);
    ASSERT_TRUE(run.held) << run.err;
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.err.find(
                  "corvane-cli: cancelled; the LAS file of each cancelled file is as it was before the run."),
              std::string::npos)
        << run.err;
    // The two running jobs stop where they are, the other two never start.
    const std::string report = ReadBytes(m_dir.File("report.json"));
    auto count = [&report](const std::string& text) {
      std::size_t n = 0;
      for (std::size_t at = report.find(text); at != std::string::npos; at = report.find(text, at + 1)) ++n;
      return n;
    };
    EXPECT_EQ(count("\"reason\":\"cancelled while converting\""), 2u) << report;
    EXPECT_EQ(count("\"reason\":\"cancelled before it started\""), 2u) << report;
    EXPECT_NE(run.out.find("4 files: 0 succeeded, 0 failed, 4 cancelled"), std::string::npos) << run.out;
    // No LAS file is put in place, and nothing else lies in the folder.
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(ReadBytes(out + "/log" + std::to_string(k) + ".las"), "earlier\r\n") << k;
    EXPECT_EQ(Listing(out).size(), 4u);
  }
}

// Another run (a second batch into the same folder) puts a file where an output of this
// batch goes while the output is written: without --overwrite that file stays, and the
// output fails with the reason.
TEST_F(BatchCommandTest, OutputsNeverReplaceAFileMadeMeanwhile) {
  std::string log = "DEPT GR\r\nM GAPI\r\n";
  for (int i = 0; i < 150000; ++i)
    log += std::to_string(1000 + i) + ".25 " + std::to_string(i % 150) + ".5\r\n";
  const std::string lah = m_dir.File("big.lah");
  WriteBytes(lah,
             "[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=2\r\n"
             "HEADING 0=DEPT\r\nUNITS 0=M\r\nHEADING 1=GR\r\n");
  const std::string held = Input("held.asc", log);
  const std::string other = Input("other.asc", log.substr(0, 1000));
  const std::string out = m_dir.File("out");
  ::mkdir(out.c_str(), 0755);
  test::CReadGate gate("/in/held", test::kReadsBeforeTheGate);
  test::CCapturedOutput captured;
  int status = -1;
  std::thread batch([&] {
    status = test::RunCommands(
        {"batch", "--config", lah, "--out-dir", out, "--jobs", "1", "--first-data-line", "2", held, other});
  });
  const bool waited = gate.WaitUntilHeld(1);
  WriteBytes(out + "/held.las", "the other batch's\r\n");
  gate.Open();
  batch.join();
  captured.End();
  ASSERT_TRUE(waited) << captured.Err();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(ReadBytes(out + "/held.las"), "the other batch's\r\n");
  EXPECT_TRUE(Exists(out + "/other.las"));
  EXPECT_NE(captured.Out().find("2 files: 1 succeeded, 1 failed"), std::string::npos) << captured.Out();
  EXPECT_NE((captured.Out() + captured.Err()).find(out + "/held.las: File exists"), std::string::npos)
      << captured.Out() << captured.Err();
  EXPECT_EQ(Listing(out), (std::set<std::string>{"held.las", "other.las"}));
}

// N shards of one list, each run by itself, convert every file once; their reports
// merge into the report of the whole list, a shard run again standing for its files.
TEST_F(BatchCommandTest, ShardsShareOneListAndTheirReportsMerge) {
  std::string list;
  for (int k = 0; k < 7; ++k) list += Input("w" + std::to_string(k) + ".asc", m_example) + "\n";
  list += m_dir.File("in/missing.asc") + "\n";

  for (const int count : {1, 3, 8, 11}) {
    SCOPED_TRACE(count);
    const std::string out = m_dir.File("out" + std::to_string(count));
    std::vector<std::string> merge = {"batch", "--merge-reports", m_dir.File("merged.json")};
    std::multiset<std::string> converted;
    for (int index = 0; index < count; ++index) {
      const std::string report =
          m_dir.File("shard" + std::to_string(count) + "-" + std::to_string(index) + ".json");
      const CRun run = Cli(Batch(out, {"--shard", std::to_string(index) + "/" + std::to_string(count),
                                       "--report", report, "-"}),
                           list);
      // The shard that holds the missing file fails; no shard is refused for another's outputs.
      EXPECT_EQ(run.status, index == 7 % count ? 1 : 0) << run.err;
      for (int k = 0; k < 8; ++k) {
        const bool mine = k % count == index;
        EXPECT_EQ(run.out.find("/in/w" + std::to_string(k) + ".asc ->") != std::string::npos, mine && k < 7)
            << k;
      }
      merge.push_back(report);
    }
    for (int k = 0; k < 7; ++k) EXPECT_TRUE(Exists(out + "/w" + std::to_string(k) + ".las")) << k;

    const CRun merged = Cli(merge);
    EXPECT_EQ(merged.status, 1);  // the missing file failed
    EXPECT_EQ(merged.out,
              "8 files from " + std::to_string(count) + " reports: 7 succeeded, 1 failed, 0 cancelled\n");
    const std::string document = ReadBytes(m_dir.File("merged.json"));
    EXPECT_NE(
        document.find("\"totals\":{\"files\":8,\"succeeded\":7,\"failed\":1,\"cancelled\":0,\"rows\":21000,"),
        std::string::npos)
        << document.substr(document.size() - 200);
  }

  // The shard with the missing file run again once the file is there: the merge takes
  // the later report's entries.
  Input("missing.asc", m_example);
  const std::string out = m_dir.File("out3");
  EXPECT_EQ(
      Cli(Batch(out, {"--shard", "1/3", "--overwrite", "--report", m_dir.File("again.json"), "-"}), list)
          .status,
      0);
  const CRun merged =
      Cli({"batch", "--merge-reports", m_dir.File("merged.json"), m_dir.File("shard3-0.json"),
           m_dir.File("shard3-1.json"), m_dir.File("shard3-2.json"), m_dir.File("again.json")});
  EXPECT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(merged.out, "8 files from 4 reports: 8 succeeded, 0 failed, 0 cancelled\n");

  // A report that is no batch report is refused (each kind: BatchReportTest); the output stays.
  const std::string before = ReadBytes(m_dir.File("merged.json"));
  const std::string bad = m_dir.File("check.json");
  WriteBytes(bad, "{\"schema\":\"corvane-las-check/1\",\"files\":[]}");
  const CRun refused =
      Cli({"batch", "--merge-reports", m_dir.File("merged.json"), m_dir.File("shard3-0.json"), bad});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.rfind("corvane-cli: " + bad + ": ", 0), 0u) << refused.err;
  EXPECT_EQ(ReadBytes(m_dir.File("merged.json")), before);
  // Usage: a bad shard, merge options mixed with a batch's.
  EXPECT_EQ(Cli(Batch(out, {"--shard", "3/3", "x"})).status, 2);
  EXPECT_EQ(Cli(Batch(out, {"--shard", "1", "x"})).status, 2);
  EXPECT_EQ(Cli(Batch(out, {"--merge-reports", m_dir.File("m.json"), m_dir.File("shard3-0.json")})).status,
            2);
  EXPECT_EQ(Cli({"batch", "--out-dir", out, "x"}).status, 2);
}

}  // namespace
}  // namespace corvane
