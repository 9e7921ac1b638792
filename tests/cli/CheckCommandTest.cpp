// corvane-cli check, and --check of convert and unwrap, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "CliInProcess.h"
#include "TestSupport.h"

namespace corvane {
namespace {

class CheckCommandTest : public ::testing::Test {
 protected:
  // Runs corvane-cli with `arguments` (already quoted); returns the exit status.
  int Cli(const std::string& arguments) {
    const std::string command = std::string("'") + CORVANE_CLI + "' " + arguments + " >'" +
                                m_dir.File("stdout") + "' 2>'" + m_dir.File("stderr") + "' </dev/null";
    const int status = std::system(command.c_str());
    m_out = test::ReadBytes(m_dir.File("stdout"));
    m_err = test::ReadBytes(m_dir.File("stderr"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = m_dir.File(name);
    test::WriteBytes(path, bytes);
    return path;
  }
  // The example's configuration with its ASCII file beside it; `keepOtherHeader` false
  // drops its Other Header Details lines (COMP, FLD, LOC, SRVC, PROV).
  std::string ExampleConfig(bool keepOtherHeader) {
    test::WriteBytes(m_dir.File("well-7.asc"), test::ReadBytes(test::SourceFile("examples/well-7.asc")));
    std::string lah = test::ReadBytes(test::SourceFile("examples/well-7.lah"));
    if (!keepOtherHeader) {
      std::string kept;
      std::size_t start = 0;
      while (start < lah.size()) {
        std::size_t end = lah.find('\n', start);
        end = end == std::string::npos ? lah.size() : end + 1;
        const std::string line = lah.substr(start, end - start);
        if (line.rfind("OTHER HEADER", 0) != 0) kept += line;
        start = end;
      }
      lah = kept;
    }
    return Write(keepOtherHeader ? "full.lah" : "bare.lah", lah);
  }
  std::string Convert(const std::string& lah, const std::string& las, const std::string& extra) {
    return "convert --config '" + lah + "' --first-data-line auto --ascii '" + m_dir.File("well-7.asc") +
           "' --las '" + las + "' --quiet " + extra;
  }

  test::CScratchDir m_dir;
  std::string m_out;
  std::string m_err;
};

const char kClean[] =
    "~V\r\n VERS. 2.0 : V\r\n WRAP. NO : W\r\n~W\r\n STRT.M 10 : S\r\n STOP.M 10.5 : S\r\n STEP.M 0.5 : S\r\n"
    " NULL. -999.25 : N\r\n COMP. C : C\r\n WELL. W : W\r\n FLD . F : F\r\n LOC . L : L\r\n PROV. P : P\r\n"
    " SRVC. S : S\r\n DATE. D : D\r\n UWI . U : U\r\n~C\r\n DEPT.M : D\r\n GR.GAPI : G\r\n~A\r\n10 1\r\n10.5 "
    "2\r\n";

TEST_F(CheckCommandTest, ExitStatusFollowsErrorsAndStrictWarnings) {
  const std::string clean = Write("clean.las", kClean);
  std::string lf = kClean;
  for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  const std::string warned = Write("warned.las", lf);
  std::string bad = kClean;
  bad.replace(bad.find("10.5 2"), 6, "10.5 x");
  const std::string broken = Write("broken.las", bad);

  EXPECT_EQ(Cli("check '" + clean + "'"), 0) << m_out << m_err;
  EXPECT_EQ(m_out.rfind(clean + ": 0 errors, 0 warnings, 0 notes\n", 0), 0u) << m_out;
  EXPECT_EQ(Cli("check '" + warned + "'"), 0);
  EXPECT_NE(m_out.find("  warnings:\n    line 1: LINE_END_NOT_CRLF (3.0): "), std::string::npos) << m_out;
  EXPECT_EQ(Cli("check --strict '" + warned + "'"), 1);
  EXPECT_EQ(Cli("check '" + broken + "'"), 1);
  EXPECT_NE(m_out.find("  errors:\n    line 22: VALUE_NOT_NUMBER (3.0): value 2 of the row is not a number"),
            std::string::npos)
      << m_out;
  EXPECT_EQ(Cli("check '" + clean + "' '" + broken + "' '" + m_dir.File("none.las") + "'"), 1);
  EXPECT_NE(m_out.find("    file: FILE_UNREADABLE: the file cannot be opened"), std::string::npos) << m_out;
  EXPECT_NE(m_out.find("\n3 files checked, 2 with errors\n"), std::string::npos) << m_out;
  EXPECT_EQ(m_err, "");

  EXPECT_EQ(Cli("check"), 2);
  EXPECT_EQ(Cli("check --color '" + clean + "'"), 2);
}

// UTF-16 and lines ended by CR alone are named once for what they are; a value or NULL
// beyond what a 64-bit float holds is an error, not a number read as infinity.
TEST_F(CheckCommandTest, ForeignTextAndValuesNoFloatHoldsAreNamed) {
  auto utf16 = [](const std::string& text, bool littleEndian) {
    std::string wide;
    for (const char c : text) wide += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return wide;
  };
  std::string crOnly = kClean;
  for (std::size_t at; (at = crOnly.find("\r\n")) != std::string::npos;) crOnly.erase(at + 1, 1);
  const std::string digits400(400, '9');
  std::string huge = kClean;
  huge.replace(huge.find("10.5 2"), 6, "10.5 " + digits400);
  std::string hugeNull = kClean;
  hugeNull.replace(hugeNull.find("-999.25"), 7, "1e999");
  const struct {
    const char* name;
    std::string bytes;
    const char* finding;
  } cases[] = {
      {"le.las", "\xFF\xFE" + utf16(kClean, true),
       "line 1: FILE_UNREADABLE: the file cannot be read as LAS: the file is UTF-16 text (little-endian, "
       "with a "
       "byte-order mark); LAS files are ASCII text"},
      {"be.las", utf16(kClean, false), "the file is UTF-16 text (big-endian, without a byte-order mark)"},
      {"cr.las", crOnly, "the lines of the file end with CR alone"},
      {"huge.las", huge,
       "line 22: VALUE_NOT_NUMBER (3.0): value 2 of the row is beyond the range of numbers a 64-bit float "
       "holds"},
      {"null.las", hugeNull, "W_VALUE_NOT_NUMBER (5.4): NULL holds \"1e999\", a number beyond the range"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cli("check '" + Write(c.name, c.bytes) + "'"), 1) << c.name;
    EXPECT_NE(m_out.find(": 1 error, 0 warnings"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find(c.finding), std::string::npos) << m_out;
  }
}

// A file cut or still written while it is checked is read to the size it had and the
// check says that it changed, with exit status 1.
TEST_F(CheckCommandTest, FilesChangedWhileCheckedAreReported) {
  std::string las = kClean;
  std::string rows;
  for (int i = 0; i < 200000; ++i) rows += "11 " + std::to_string(i % 100) + "\r\n";
  las.insert(las.find("10.5 2\r\n"), rows);
  for (const bool grows : {true, false}) {
    const std::string path = Write("changing.las", las);
    test::CReadGate gate(path, 2);  // the look at the text form and the first block pass
    test::CCapturedOutput captured;
    int status = -1;
    std::thread check([&status, &path] { status = test::RunCommands({"check", path}); });
    ASSERT_TRUE(gate.WaitUntilHeld(1));
    if (grows)
      std::ofstream(path, std::ios::binary | std::ios::app) << std::string(5000, '1');
    else
      ASSERT_EQ(::truncate(path.c_str(), 100000), 0);
    gate.Open();
    check.join();
    captured.End();
    EXPECT_EQ(status, 1) << grows;
    const std::string said = "the file changed while it was checked (it had " + std::to_string(las.size()) +
                             " bytes when it was opened and " +
                             std::to_string(grows ? las.size() + 5000 : 100000) + " at the end)";
    EXPECT_NE(captured.Out().find(said), std::string::npos) << captured.Out();
  }
}

TEST_F(CheckCommandTest, JsonIsOneDocumentForAllFiles) {
  const std::string clean = Write("clean.las", kClean);
  std::string bad = kClean;
  bad.replace(bad.find(" WRAP. NO"), 9, " WRAP. \"\\\x01");
  const std::string odd = Write("odd.las", bad);
  EXPECT_EQ(Cli("check --json '" + clean + "' '" + odd + "'"), 1);
  EXPECT_EQ(m_out.rfind("{\"schema\":\"corvane-las-check/1\",", 0), 0u) << m_out;
  EXPECT_EQ(m_out.find("{\"schema\""), m_out.rfind("{\"schema\""));  // one document
  for (const std::string field :
       {"\"strict\":false,\"files\":[{\"path\":",
        "\"passed\":true,\"counts\":{\"errors\":0,\"warnings\":0,\"notes\":0}",
        "\"passed\":false,\"counts\":{\"errors\":2,",
        "{\"severity\":\"error\",\"code\":\"WRAP_INVALID\",\"line\":3,\"text\":\" WRAP. \\\"\\\\\\u0001 : "
        "W\",",
        "\"rows\":2,", "\"curves\":[{\"mnemonic\":\"DEPT\",\"unit\":\"M\",\"line\":18,\"values\":2,",
        "\"totals\":{\"files\":2,\"failed\":1,\"errors\":2,\"warnings\":0,\"notes\":0}}\n"}) {
    EXPECT_NE(m_out.find(field), std::string::npos) << field << "\n" << m_out;
  }
  EXPECT_EQ(Cli("check --json --strict '" + clean + "'"), 0);
  EXPECT_NE(m_out.find("\"strict\":true"), std::string::npos);
}

TEST_F(CheckCommandTest, ConvertCheckReportsAfterTheRunAndChangesNoByte) {
  const std::string full = ExampleConfig(true);
  const std::string bare = ExampleConfig(false);
  const std::string plain = m_dir.File("plain.las");
  const std::string checked = m_dir.File("checked.las");

  // With its header lines complete the example converts into a file without findings.
  ASSERT_EQ(Cli(Convert(full, plain, "")), 0) << m_err;
  ASSERT_EQ(Cli(Convert(full, checked, "--check --strict")), 0) << m_out << m_err;
  EXPECT_EQ(m_out.rfind("LAS check: " + checked + ": 0 errors, 0 warnings, 0 notes\n", 0), 0u) << m_out;
  EXPECT_EQ(test::ReadBytes(plain), test::ReadBytes(checked));

  // Without them the required well items are missing; the run itself still succeeds.
  ASSERT_EQ(Cli(Convert(bare, checked, "--check")), 0) << m_err;
  for (const char* item : {"COMP", "FLD", "LOC", "SRVC", "PROV"}) {
    EXPECT_NE(m_out.find(std::string("    line 4: W_ITEM_MISSING (5.4): the ~W section has no ") + item),
              std::string::npos)
        << item << "\n"
        << m_out;
  }
  EXPECT_EQ(Cli(Convert(bare, checked, "--check --strict")), 1);
  // Alone, --strict asks only the reading, which found every cell a number.
  EXPECT_EQ(Cli(Convert(bare, checked, "--strict")), 0) << m_err;
  EXPECT_EQ(m_out, "");
}

TEST_F(CheckCommandTest, UnwrapCheck) {
  const std::string wrapped = Write("wrapped.las", test::ReadBytes(test::DataFile("sample_2.0_wrapped.las")));
  const std::string target = m_dir.File("unwrapped.las");
  EXPECT_EQ(Cli("unwrap '" + wrapped + "' '" + target + "' --check"), 0) << m_err;
  // The sample's STOP does not match its data, as published.
  EXPECT_NE(m_out.find("LAS check: " + target + ": 1 error, 4 warnings, 0 notes\n  LAS 2.0, WRAP NO;"),
            std::string::npos)
      << m_out;
  EXPECT_NE(m_out.find("    line 8: STOP_MISMATCH (5.4): "), std::string::npos) << m_out;
  EXPECT_EQ(Cli("unwrap '" + wrapped + "' '" + target + "' --check --strict"), 1);
  EXPECT_EQ(Cli("unwrap '" + wrapped + "' '" + target + "'"), 0);
  EXPECT_EQ(m_out, "");
  // An unwrap reads no ASCII file: there --strict is a word of the check only.
  EXPECT_EQ(Cli("unwrap '" + wrapped + "' '" + target + "' --strict"), 2);
  EXPECT_NE(m_err.find("--strict requires --check"), std::string::npos) << m_err;
}

}  // namespace
}  // namespace corvane
