// corvane-cli convert, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "CliInProcess.h"
#include "SysCallFaults.h"
#include "TestSupport.h"

namespace corvane {
namespace {

class ConvertCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_asc = m_dir.File("well-7.asc");
    test::WriteBytes(m_asc, test::ReadBytes(test::SourceFile("examples/well-7.asc")));
    m_lah = m_dir.File("well-7.lah");
    test::WriteBytes(m_lah, test::ReadBytes(test::SourceFile("examples/well-7.lah")));
    m_asciiBefore = test::ReadBytes(m_asc);
  }
  void TearDown() override { EXPECT_EQ(test::ReadBytes(m_asc), m_asciiBefore); }

  // Runs corvane-cli with `arguments` (already quoted) in the folder `workingFolder`
  // (the test's own when empty); returns the exit status.
  int Cli(const std::string& arguments, const std::string& workingFolder = std::string()) {
    const std::string command = (workingFolder.empty() ? "" : "cd '" + workingFolder + "' && ") + "'" +
                                CORVANE_CLI + "' " + arguments + " >'" + m_dir.File("stdout") + "' 2>'" +
                                m_dir.File("stderr") + "' </dev/null";
    const int status = std::system(command.c_str());
    m_out = test::ReadBytes(m_dir.File("stdout"));
    m_err = test::ReadBytes(m_dir.File("stderr"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Convert(const std::string& extra, const std::string& las = std::string(),
                      const std::string& ascii = std::string()) {
    return "convert --config '" + m_lah + "' --first-data-line 5 --ascii '" +
           (ascii.empty() ? m_asc : ascii) + "' --las '" + (las.empty() ? m_las : las) + "' " + extra;
  }

  test::CScratchDir m_dir;
  std::string m_asc;
  std::string m_lah;
  std::string m_las = m_dir.File("out.las");
  std::string m_asciiBefore;
  std::string m_out;
  std::string m_err;
};

TEST_F(ConvertCommandTest, ConvertsTheExample) {
  const std::string lahBefore = test::ReadBytes(m_lah);
  ASSERT_EQ(Cli(Convert("--quiet")), 0) << m_err;
  EXPECT_EQ(m_err, "");
  const std::string las = test::ReadBytes(m_las);
  EXPECT_EQ(las.rfind("~Version Information\r\n", 0), 0u);
  EXPECT_NE(las.find("\r\n STRT.M                        1500.0000: Start Depth\r\n"), std::string::npos);
  EXPECT_NE(las.find("\r\n STOP.M                        1874.8750: Stop Depth\r\n"), std::string::npos);
  EXPECT_NE(las.find("\r\n STEP.M                           0.1250: Depth Increment\r\n"), std::string::npos);
  EXPECT_NE(las.find("\r\n COMP.                      ACME Logging: COMPANY\r\n"), std::string::npos);
  EXPECT_NE(las.find("\r\n DEPT.M                                 :   1 Measured depth\r\n"),
            std::string::npos);
  EXPECT_NE(las.find("\r\n~A         DEPT            GR          NPHI          RHOB            DT  "),
            std::string::npos);
  EXPECT_NE(las.find("\r\n      1500.0000       90.5600        0.2244     -999.2500      282.5700  "),
            std::string::npos);
  std::size_t lines = 0;
  for (char c : las) lines += c == '\n';
  const std::size_t header = 3 + 7 + 3 + 5 + 3 + 9 + 1;  // version, well, other header, curves, title
  EXPECT_EQ(lines, header + 3000);
  EXPECT_EQ(test::ReadBytes(m_lah), lahBefore);  // not rewritten without --save-config

  // Inverted: the last depth comes first.
  ASSERT_EQ(Cli(Convert("--quiet --inverse")), 0) << m_err;
  const std::string inverted = test::ReadBytes(m_las);
  EXPECT_NE(inverted.find("\r\n STRT.M                        1874.8750: Start Depth\r\n"),
            std::string::npos);
  EXPECT_NE(inverted.find("  \r\n      1874.8750  "), std::string::npos);
  EXPECT_LT(inverted.find("      1874.8750  "), inverted.find("      1500.0000  "));

  // Without --quiet the closing notice is shown.
  ASSERT_EQ(Cli(Convert("")), 0);
  EXPECT_NE(m_err.find("LAS file created successfully."), std::string::npos);
}

TEST_F(ConvertCommandTest, SaveConfigRewritesTheConfiguration) {
  const std::string lahBefore = test::ReadBytes(m_lah);
  ASSERT_EQ(Cli(Convert("--quiet --save-config")), 0) << m_err;
  const std::string lah = test::ReadBytes(m_lah);
  EXPECT_NE(lah, lahBefore);
  EXPECT_NE(lah.find("LAS FILE=" + m_las + "\r\n"), std::string::npos);
  // The ASCII file beside the configuration is still named as the file names it.
  EXPECT_NE(lah.find("ASCII FILE=well-7.asc\r\n"), std::string::npos);
  EXPECT_NE(lah.find("OTHER HEADER 0=COMP.:ACME Logging:COMPANY\r\n"), std::string::npos);
  EXPECT_NE(lah.find("TOTAL=9\r\n"), std::string::npos);
}

TEST_F(ConvertCommandTest, RelativePathsOfTheConfigurationAreTakenFromItsFolder) {
  // The bundled example names its ASCII and LAS files beside itself; run from
  // another folder, the files are still found and written there.
  const std::string lahBefore = test::ReadBytes(m_lah);
  ASSERT_EQ(Cli("convert --config '" + m_lah + "' --first-data-line 5 --quiet", "/"), 0) << m_err;
  EXPECT_TRUE(std::filesystem::is_regular_file(m_dir.File("well-7.las")));
  EXPECT_EQ(test::ReadBytes(m_lah), lahBefore);
}

TEST_F(ConvertCommandTest, OverridesOfTheLayout) {
  // Three columns only, and another null value.
  ASSERT_EQ(Cli(Convert("--quiet --curve-total 3 --null=-1")), 0) << m_err;
  std::string las = test::ReadBytes(m_las);
  EXPECT_NE(las.find("\r\n NULL.M                          -1.0000: No Data Flag\r\n"), std::string::npos);
  EXPECT_NE(las.find("\r\n~A         DEPT            GR          NPHI  \r\n"), std::string::npos);

  // A delimiter that never occurs: the whole line is the first of the nine columns.
  ASSERT_EQ(Cli(Convert("--quiet --delimiter , --skip-width 2")), 0) << m_err;
  las = test::ReadBytes(m_las);
  EXPECT_NE(las.find("  \r\n      1500.0000     -999.2500     -999.2500     -999.2500  "), std::string::npos);

  ASSERT_EQ(Cli(Convert("--quiet --fixed-width 10")), 0) << m_err;
  EXPECT_NE(test::ReadBytes(m_las).find("\r\n      1500.0000       90.5600  "), std::string::npos);
}

TEST_F(ConvertCommandTest, ExitStatuses) {
  // Bad usage: 2.
  EXPECT_EQ(Cli("convert --first-data-line 5"), 2);
  EXPECT_EQ(Cli("convert --config '" + m_lah + "' --first-data-line -1"), 2);
  EXPECT_EQ(Cli(Convert("--null abc")), 2);
  EXPECT_EQ(m_err, "Enter a number.\n");
  EXPECT_EQ(Cli(Convert("--curve-total 2000000000")), 2);  // no log has that many curves
  const std::string bare = m_dir.File("bare.lah");
  test::WriteBytes(bare, "[File ID]\r\nID=Corvane\r\n");
  EXPECT_EQ(Cli("convert --config '" + bare + "' --first-data-line 0 --las '" + m_las + "'"), 2);
  EXPECT_NE(m_err.find("--ascii"), std::string::npos);
  EXPECT_EQ(Cli("convert --config '" + bare + "' --first-data-line 0 --ascii '" + m_asc + "'"), 2);
  EXPECT_NE(m_err.find("--las"), std::string::npos);

  // Failures: 1.
  const std::string foreign = m_dir.File("foreign.lah");
  test::WriteBytes(foreign, "[File ID]\r\nID=corvane\r\n");
  EXPECT_EQ(Cli("convert --config '" + foreign + "' --first-data-line 0"), 1);
  EXPECT_EQ(
      m_err.rfind("Unrecognized Configuration File.\ncorvane-cli: " + foreign + ": not a configuration", 0),
      0u);
  EXPECT_EQ(Cli("convert --config '" + m_dir.File("missing.lah") + "' --first-data-line 0"), 1);
  EXPECT_EQ(Cli(Convert("--quiet", m_asc)), 1);
  EXPECT_NE(m_err.find("The name of ASCII and LAS files cannot be the same."), std::string::npos);
  EXPECT_EQ(Cli(Convert("--quiet", m_dir.File("no/such/dir.las"))), 1);
  EXPECT_NE(m_err.find("Failed to open or write to LAS file."), std::string::npos);
  EXPECT_EQ(Cli(Convert("", m_las, m_dir.File("missing.asc"))), 1);
  EXPECT_EQ(m_err, "error: Failed to open ASCII file.\ncorvane-cli: " + m_dir.File("missing.asc") +
                       ": No such file or directory\n");
}

// Whatever stops a conversion before its data, neither the LAS file nor the
// configuration is touched, and the reason is said.
// The reading summary after the notice, the flags that settle it, and --strict on its own.
TEST_F(ConvertCommandTest, ReadingSummaryFlagsAndStrict) {
  ASSERT_EQ(Cli(Convert("")), 0) << m_err;
  EXPECT_EQ(
      m_err,
      "LAS file created successfully.\nReading: 3000 rows of 9 columns, every cell read as a number.\n");

  // A log re-saved with decimal commas and semicolons.
  std::string text = test::ReadBytes(m_asc);
  const std::size_t data = text.find("1500.000");
  for (std::size_t i = data; i < text.size(); ++i) {
    if (text[i] == '.') text[i] = ',';
  }
  const std::string semicolons = m_dir.File("semicolons.asc");
  std::string cut = text.substr(0, data);
  for (std::size_t i = data; i < text.size(); ++i) {
    const bool blank = text[i] == ' ';
    if (blank && (cut.empty() || cut.back() == ';' || cut.back() == '\n')) continue;
    cut += blank ? ';' : text[i];
  }
  test::WriteBytes(semicolons, cut);
  const std::string las = m_dir.File("semicolons.las");
  ASSERT_EQ(Cli(Convert("--quiet --delimiter ';' --strict", las, semicolons)), 1) << m_err;
  EXPECT_NE(m_err.find("PARTIAL_NUMBER: 27000 cells"), std::string::npos) << m_err;  // quiet, but a doubt
  EXPECT_NE(m_err.find("  Looks like decimal commas: --decimal-comma\n"), std::string::npos) << m_err;
  ASSERT_EQ(Cli(Convert("--quiet --delimiter ';' --decimal-comma --strict", las, semicolons)), 0) << m_err;
  EXPECT_EQ(m_err, "");
  ASSERT_EQ(Cli(Convert("--quiet", m_dir.File("point.las"))), 0) << m_err;
  EXPECT_EQ(test::ReadBytes(las), test::ReadBytes(m_dir.File("point.las")));

  // A configuration's choice, turned off for one run.
  test::WriteBytes(m_lah, test::ReadBytes(m_lah) + "[Reading]\r\nDECIMAL COMMA=YES\r\n");
  ASSERT_EQ(Cli(Convert("--quiet --delimiter ';' --strict", las, semicolons)), 0) << m_err;
  EXPECT_EQ(Cli(Convert("--quiet --delimiter ';' --strict --decimal-comma=false", las, semicolons)), 1);
  EXPECT_EQ(Cli(Convert("--digits 5")), 2);
  EXPECT_EQ(Cli(Convert("--date-time -1")), 2);
}

// A null value beyond the range of numbers cannot stand for a missing reading.
TEST_F(ConvertCommandTest, NullValueBeyondTheRangeOfNumbersIsRefused) {
  const std::string before = test::ReadBytes(m_lah);
  for (const char* value : {"1e309", "-1e309",
                            "99999999999999999999999999999999999999999999999999999999999999999999999"
                            "99999999999999999999999999999999999999999999999999999999999999999999999"
                            "99999999999999999999999999999999999999999999999999999999999999999999999"
                            "99999999999999999999999999999999999999999999999999999999999999999999999"
                            "999999999999999999999999999999999999999999999999999999999999999999999999"}) {
    EXPECT_EQ(Cli(Convert(std::string("--null=") + value)), 2) << value;
    EXPECT_NE(m_err.find(std::string("--null \"") + value + "\" is beyond the range of numbers"),
              std::string::npos)
        << m_err;
    EXPECT_NE(access(m_las.c_str(), F_OK), 0);
  }
  std::string lah = test::ReadBytes(m_lah);
  lah.replace(lah.find("NULL=-999.2500000000"), 20, "NULL=1e999");
  test::WriteBytes(m_lah, lah);
  EXPECT_EQ(Cli(Convert("")), 2);
  EXPECT_NE(m_err.find("NULL of " + m_lah + " \"1e999\" is beyond the range of numbers"), std::string::npos)
      << m_err;
  EXPECT_EQ(Cli(Convert("--null=-999.25 --quiet")), 0) << m_err;
  EXPECT_EQ(Cli("batch --config '" + m_lah + "' --out-dir '" + m_dir.File("out") + "' '" + m_asc + "'"), 2);
  test::WriteBytes(m_lah, before);
}

TEST_F(ConvertCommandTest, NothingIsTouchedWhenThereIsNothingToConvert) {
  test::WriteBytes(m_las, "earlier\r\n");
  const std::string lahBefore = test::ReadBytes(m_lah);
  const std::string beyond = "convert --config '" + m_lah + "' --first-data-line 100000 --ascii '" + m_asc +
                             "' --las '" + m_las + "' --save-config --quiet";
  EXPECT_EQ(Cli(beyond), 1);
  EXPECT_NE(m_err.find("No data line at line 100000 of " + m_asc + ": the file has "), std::string::npos)
      << m_err;
  // The configuration file named as the ASCII or the LAS file: bad usage.
  EXPECT_EQ(Cli("convert --config '" + m_lah + "' --first-data-line 2 --ascii '" + m_lah + "' --las '" +
                m_las + "'"),
            2);
  EXPECT_EQ(m_err, "The configuration file cannot be the ASCII file or the LAS file.\n");
  EXPECT_EQ(Cli("convert --config '" + m_lah + "' --first-data-line 2 --ascii '" + m_asc + "' --las '" +
                m_dir.Path() + "/./well-7.lah' --save-config"),
            2);
  EXPECT_EQ(test::ReadBytes(m_las), "earlier\r\n");
  EXPECT_EQ(test::ReadBytes(m_lah), lahBefore);
}

TEST_F(ConvertCommandTest, AutoFirstDataLineUsesTheDetectedLayout) {
  ASSERT_EQ(Cli(Convert("--quiet")), 0) << m_err;
  const std::string byNumber = test::ReadBytes(m_las);
  const std::string autoArgs = "convert --config '" + m_lah + "' --first-data-line auto --ascii '" + m_asc +
                               "' --las '" + m_las + "' --quiet";
  ASSERT_EQ(Cli(autoArgs), 0) << m_err;
  EXPECT_EQ(test::ReadBytes(m_las), byNumber);

  // A file without rows of numbers has no proposal: bad usage, nothing converted.
  const std::string prose = m_dir.File("prose.asc");
  test::WriteBytes(prose, "Well log notes\r\nno numbers here\r\n");
  const std::string other = m_dir.File("other.las");
  EXPECT_EQ(Cli("convert --config '" + m_lah + "' --first-data-line auto --ascii '" + prose + "' --las '" +
                other + "' --quiet"),
            2);
  EXPECT_NE(m_err.find("No layout proposal"), std::string::npos);
  EXPECT_NE(access(other.c_str(), F_OK), 0);
  EXPECT_EQ(Cli("convert --config '" + m_lah + "' --first-data-line 5x --ascii '" + m_asc + "' --quiet"), 2);
}

// An interrupt while the data lines are copied reversed takes the cancel path: the
// earlier LAS file stays, no temporary is left. The run is held mid-file until the
// interrupt has arrived.
TEST_F(ConvertCommandTest, InterruptTakesTheCancelPath) {
  {
    std::ofstream out(m_asc, std::ios::binary | std::ios::trunc);
    out << "DEPT GR\r\nM GAPI\r\n";
    for (int i = 0; i < 200'000; ++i)
      out << std::to_string(1000 + i) + ".25      " + std::to_string(i % 997) + ".5 " + std::to_string(i) +
                 "\r\n";
  }
  m_asciiBefore = test::ReadBytes(m_asc);
  const std::string lah = m_dir.File("big.lah");
  test::WriteBytes(
      lah,
      "[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=2\r\n"
      "HEADING 0=DEPT\r\nUNITS 0=M\r\nHEADING 1=GR\r\n");
  const std::string tmp = m_dir.File("tmp");
  ASSERT_EQ(::mkdir(tmp.c_str(), 0700), 0);
  test::WriteBytes(m_las, "earlier\r\n");

  test::CEnvOverride tmpdir("TMPDIR", tmp);
  test::CReadGate gate(m_asc, test::kReadsBeforeTheGate);
  const test::CCliRun run = test::RunInterrupted(
      {"convert", "--config", lah, "--first-data-line", "2", "--ascii", m_asc, "--las", m_las, "--inverse"},
      gate, 1, SIGINT);
  ASSERT_TRUE(run.held) << run.err;
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("LAS file created failed or cancelled."), std::string::npos) << run.err;
  // The earlier LAS file is as it was; no temporary is left, here or in the temporary folder.
  EXPECT_EQ(test::ReadBytes(m_las), "earlier\r\n");
  EXPECT_TRUE(test::ListFolder(tmp).empty());
  for (const std::string& name : test::ListFolder(m_dir.Path())) EXPECT_NE(name.front(), '.') << name;
}

// A folder that takes no new files: the LAS file is made whole in the temporary folder
// and copied over the old one only then; without room for it the old bytes stay.
TEST_F(ConvertCommandTest, FolderTakingNoNewFilesGetsTheWholeLasFileOrNone) {
  const std::string tmp = m_dir.File("tmp");
  const std::string folder = m_dir.File("shut");
  ASSERT_EQ(::mkdir(tmp.c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  const std::string target = folder + "/out.las";
  ASSERT_EQ(Cli(Convert("--quiet")), 0) << m_err;
  const std::string converted = test::ReadBytes(m_las);
  const std::string wrapped = test::DataFile("sample_2.0_wrapped.las");
  ASSERT_EQ(Cli("unwrap '" + wrapped + "' '" + m_las + "'"), 0) << m_err;
  const std::string unwrapped = test::ReadBytes(m_las);
  const test::CEnvOverride tmpdir("TMPDIR", tmp);
  for (const auto& [command, fallocateError] :
       {std::pair{"convert", 0}, {"convert", ENOSPC}, {"unwrap", 0}, {"unwrap", ENOSPC}}) {
    SCOPED_TRACE(std::string(command) + " " + std::to_string(fallocateError));
    test::WriteBytes(target, "earlier\r\n");
    const test::CNoNewFilesIn shut(folder, fallocateError);
    const bool convert = std::string(command) == "convert";
    const test::CCliRun run = test::RunInProcess(
        convert ? std::vector<std::string>{"convert", "--config", m_lah, "--first-data-line", "5", "--ascii",
                                           m_asc, "--las", target}
                : std::vector<std::string>{"unwrap", wrapped, target});
    const std::string whole = convert ? converted : unwrapped;
    EXPECT_EQ(run.status, fallocateError == 0 ? 0 : 1) << run.err;
    EXPECT_EQ(test::ReadBytes(target), fallocateError == 0 ? whole : std::string("earlier\r\n"));
    const std::string said = fallocateError == 0 ? target +
                                                       ": the folder takes no new files (Permission denied): "
                                                       "the new file is made whole in " +
                                                       tmp + ", then copied over the old one\n"
                                                 : "No space left on device; the old file is as it was";
    EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    EXPECT_EQ(test::ListFolder(folder), std::vector<std::string>{"out.las"});
    EXPECT_TRUE(test::ListFolder(tmp).empty());
  }
}

// A save that would pass the size every configuration is read with is refused, the file
// kept; a configuration cut in the middle of its last line is not read as if whole.
TEST_F(ConvertCommandTest, ConfigurationsPastTheCapOrCutShortAreRefused) {
  const std::string lah = test::ReadBytes(m_lah);
  std::string full = lah;  // filled to the cap with comment lines
  while (full.size() < 64 * 1024 * 1024)
    full +=
        ";" + std::string(std::min<std::size_t>(64 * 1024 * 1024 - full.size(), 1 << 23) - 3, 'x') + "\r\n";
  ASSERT_EQ(full.size(), 64u * 1024 * 1024);
  test::WriteBytes(m_lah, full);
  EXPECT_EQ(Cli(Convert("--save-config --quiet", m_dir.File("a-longer-name-than-the-one-in-the-file.las"))),
            1);
  EXPECT_NE(m_err.find("error: Failed to save configuration file.\ncorvane-cli: " + m_lah +
                       ": the file would be larger than 64 MiB"),
            std::string::npos)
      << m_err;
  EXPECT_TRUE(test::ReadBytes(m_lah) == full);
  test::WriteBytes(m_lah, lah.substr(0, lah.size() - 4));
  EXPECT_EQ(Cli(Convert("")), 1);
  EXPECT_EQ(m_err,
            "Unrecognized Configuration File.\ncorvane-cli: " + m_lah +
                ": the file ends in the middle of a line; it was cut short (a save that did not finish?)\n");
  EXPECT_NE(access(m_las.c_str(), F_OK), 0);
  test::WriteBytes(m_lah, lah);
}

TEST_F(ConvertCommandTest, HelpDocumentsEveryOption) {
  ASSERT_EQ(Cli("convert --help"), 0);
  for (const char* option : {"--config", "--first-data-line", "--ascii", "--las", "--inverse",
                             "--save-config", "--quiet", "--delimiter", "--fixed-width", "--skip-width",
                             "--curve-total", "--null", "Example:", "corvane-cli convert --config"})
    EXPECT_NE(m_out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace corvane
