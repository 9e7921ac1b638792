#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestSupport.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::ReadBytes;
using test::WriteBytes;

struct CRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs corvane-cli with `args`, its output and errors caught in files of `dir`.
CRun RunCli(const CScratchDir& dir, const std::vector<std::string>& args) {
  test::CChildStreams streams;
  streams.output = dir.File("stdout.txt");
  streams.errors = dir.File("stderr.txt");
  const test::CChildRun child = test::FinishChild(test::StartChild(CORVANE_CLI, args, streams), streams);
  return CRun{child.status, child.out, child.err};
}

TEST(PreviewCommand, PrintsTheRulerAndTheLinesWithTheirIndex) {
  CScratchDir dir;
  WriteBytes(dir.File("in.asc"), "DEPTH GR\r\n\t1000.5 20\r\n1001.0 21");
  const CRun run = RunCli(dir, {"preview", dir.File("in.asc")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "    | 12345678901234567890\n"  // the longest line has ten characters and its line feed
            "   0| DEPTH GR\n"
            "   1| \t1000.5 20\n"
            "   2| 1001.0 21\n");
  EXPECT_EQ(run.err, "");

  WriteBytes(dir.File("empty.asc"), "");
  EXPECT_EQ(RunCli(dir, {"preview", dir.File("empty.asc")}).out, "    | \n");
}

TEST(PreviewCommand, FailuresAndUsage) {
  CScratchDir dir;
  const CRun missing = RunCli(dir, {"preview", dir.File("missing.asc")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "error: Failed to open ASCII file.\ncorvane-cli: " + dir.File("missing.asc") +
                             ": No such file or directory\n");
  EXPECT_EQ(RunCli(dir, {"preview"}).status, 2);
}

TEST(InspectCommand, ShowsTheProposalAndTheSamplesSideBySide) {
  CScratchDir dir;
  WriteBytes(
      dir.File("in.asc"),
      "Well A\n\nDEPTH GR NPHI\nM API V/V\n1000.0 45.5 0.25\n1000.5 -999.25 0.3\n\n1001.0 47.0 0.35\n");
  const CRun run = RunCli(dir, {"inspect", dir.File("in.asc")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "First digit line index: 4\n"
            "Delimiter(s): space\n"
            "Columns: 3\n"
            "Header lines: 2 3\n"
            "Reading: plain\n"
            "\n"
            "Headings found in ASCII File:\n"
            "DEPTH GR NPHI\n"
            "M API V/V\n"
            "\n"
            "Curve Total: 3\n"
            "Digit Samples:\n"
            "1         2         3\n"
            "1000.0    45.5      0.25\n"
            "1000.5    -999.25   0.3\n"
            "\n"
            "1001.0    47.0      0.35\n"
            "\n"
            "Proposed: 3 curves named from lines 3 and 4; DEPTH taken as DEPT, the index\n"
            "1  DEPT.M            Depth (DEPTH)\n"
            "2  GR.GAPI           Gamma ray\n"
            "3  NPHI.V/V          Neutron porosity\n");
}

TEST(InspectCommand, OptionsOverrideTheProposal) {
  CScratchDir dir;
  std::string bytes = "title only\n";
  for (int r = 0; r < 3; ++r) {
    for (int c = 1; c <= 8; ++c) bytes += (c > 1 ? ";" : "") + std::to_string(r * 10 + c);
    bytes += "\n";
  }
  WriteBytes(dir.File("in.csv"), bytes);
  const CRun run = RunCli(dir, {"inspect", dir.File("in.csv"), "--first-data-line", "2", "--delimiter", ";",
                                "--first-column", "8", "--curve-total", "9"});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string tail =
      "\nCurve Total: 9\nDigit Samples:\n7         8         9\n17        18\n27        28\n";
  ASSERT_GE(run.out.size(), tail.size());
  EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail);
}

TEST(InspectCommand, NoProposalAndFailures) {
  CScratchDir dir;
  WriteBytes(dir.File("text.txt"), "only words\nand more words\n");
  const CRun none = RunCli(dir, {"inspect", dir.File("text.txt")});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "Layout: no proposal\nWhy: no line of the first 2 is a row of numbers.\n");
  const CRun beyond = RunCli(dir, {"inspect", dir.File("text.txt"), "--first-data-line", "5"});
  EXPECT_EQ(beyond.status, 1);
  EXPECT_NE(beyond.err.find("No data line at line 5 of " + dir.File("text.txt") + ": the file has 2 lines."),
            std::string::npos)
      << beyond.err;
  const CRun missing = RunCli(dir, {"inspect", dir.File("missing.asc")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Failed to open ASCII file."), std::string::npos);
}

// The numbers of a text, in order.
std::vector<double> Numbers(const std::string& text) {
  std::vector<double> numbers;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    double value = 0;
    EXPECT_TRUE(ScanDouble(word, value)) << word;
    numbers.push_back(value);
  }
  return numbers;
}

TEST(UnwrapCommand, RealWrappedFileKeepsEveryDepthRowForRow) {
  CScratchDir dir;
  const std::string source = test::DataFile("sample_2.0_wrapped.las");
  const CRun run = RunCli(dir, {"unwrap", source, dir.File("out.las")});
  ASSERT_EQ(run.status, 0) << run.err;

  const std::string wrapped = ReadBytes(source);
  const std::string wrappedData = wrapped.substr(wrapped.find('\n', wrapped.find("\n~A") + 1) + 1);
  const std::string out = ReadBytes(dir.File("out.las"));
  EXPECT_EQ(out.find('\n'), out.find("\r\n") + 1);  // CR LF line ends
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < out.size();) {
    const std::size_t end = out.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    lines.push_back(out.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(lines[2], " WRAP.                  NO : One line per depth");
  EXPECT_EQ(lines[1], " VERS.                 2.0      :   CWLS log ASCII Standard -VERSION 2.0");

  std::size_t curves = 0;
  std::size_t data = 0;
  bool inCurves = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("~A", 0) == 0) {
      data = i + 1;
      break;
    }
    if (lines[i].rfind("~", 0) == 0)
      inCurves = lines[i].rfind("~CURVE", 0) == 0;
    else if (inCurves && lines[i][0] != '#')
      ++curves;
  }
  ASSERT_EQ(curves, 36u);
  const std::vector<double> expected = Numbers(wrappedData);
  ASSERT_EQ(expected.size() % curves, 0u);
  ASSERT_EQ(lines.size() - data, expected.size() / curves);
  for (std::size_t row = 0; row < lines.size() - data; ++row) {
    const std::vector<double> values = Numbers(lines[data + row]);
    const std::vector<double> want(expected.begin() + static_cast<long>(row * curves),
                                   expected.begin() + static_cast<long>((row + 1) * curves));
    EXPECT_EQ(values, want) << "row " << row;
  }
}

TEST(UnwrapCommand, RefusalsAndUsage) {
  CScratchDir dir;
  const std::string source = dir.File("wrapped.las");
  WriteBytes(source, ReadBytes(test::DataFile("sample_2.0_wrapped.las")));
  const std::string original = ReadBytes(source);

  const CRun plain = RunCli(dir, {"unwrap", test::DataFile("sample_2.0.las"), dir.File("out.las")});
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.err.find("is not a wrapped LAS file"), std::string::npos);

  const CRun same = RunCli(dir, {"unwrap", source, source});
  EXPECT_EQ(same.status, 1);
  EXPECT_EQ(same.err, "Unwrap LAS file name cannot be the same as the original LAS file.\n");
  // The source under another name is refused as a file that cannot be opened.
  ASSERT_EQ(symlink(source.c_str(), dir.File("link.las").c_str()), 0);
  ASSERT_EQ(link(source.c_str(), dir.File("hard.las").c_str()), 0);
  for (const std::string& other : {dir.File("link.las"), dir.File("hard.las"), dir.File("./wrapped.las")}) {
    const CRun run = RunCli(dir, {"unwrap", source, other});
    EXPECT_EQ(run.status, 1) << other;
    EXPECT_EQ(run.err.rfind("error: Failed to open LAS file.\n", 0), 0u) << other << ": " << run.err;
  }
  EXPECT_EQ(ReadBytes(source), original);

  const CRun missing = RunCli(dir, {"unwrap", dir.File("missing.las"), dir.File("out.las")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Failed to open LAS file."), std::string::npos);

  WriteBytes(dir.File("bare.las"), "~V\n VERS. 2.0 :\n WRAP. YES :\n~C\n~A\n1 2\n");
  const CRun early = RunCli(dir, {"unwrap", dir.File("bare.las"), dir.File("out.las")});
  EXPECT_EQ(early.status, 1);
  EXPECT_NE(early.err.find("ended early"), std::string::npos);

  EXPECT_EQ(RunCli(dir, {"unwrap", source}).status, 2);
}

TEST(AnalysisCommands, EveryHelpHasAnExample) {
  CScratchDir dir;
  for (const char* command : {"preview", "inspect", "unwrap"}) {
    const CRun run = RunCli(dir, {command, "--help"});
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_NE(run.out.find("Example:\n  corvane-cli " + std::string(command)), std::string::npos) << command;
  }
}

}  // namespace
}  // namespace corvane
