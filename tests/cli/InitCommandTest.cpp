// corvane-cli init, and the first data line a configuration stores for convert and batch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CliInProcess.h"
#include "TestSupport.h"
#include "setup/ConversionSetup.h"

namespace corvane {
namespace {

// The data section of a LAS file: from "~A" to the end.
std::string DataSection(const std::string& las) {
  const std::size_t start = las.find("\r\n~A");
  return start == std::string::npos ? std::string() : las.substr(start);
}

std::size_t DataRows(const std::string& las) {
  std::size_t rows = 0;
  const std::string data = DataSection(las);
  for (char c : data) rows += c == '\n';
  return rows < 2 ? 0 : rows - 2;  // the line end before "~A", and its own
}

class InitCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(m_asc, test::ReadBytes(test::SourceFile("examples/well-7.asc")));
    test::WriteBytes(m_example, test::ReadBytes(test::SourceFile("examples/well-7.lah")));
  }

  // The example's configuration with FIRST DATA LINE set to `line` (none when negative).
  std::string ExampleWithKey(int line) {
    std::string text = test::ReadBytes(m_example);
    if (line >= 0) {
      const std::string after = "DELIMITER=space\r\n";
      text.insert(text.find(after) + after.size(), "FIRST DATA LINE=" + std::to_string(line) + "\r\n");
    }
    const std::string path = m_dir.File("keyed" + std::to_string(line) + ".lah");
    test::WriteBytes(path, text);
    return path;
  }

  test::CScratchDir m_dir;
  std::string m_asc = m_dir.File("well-7.asc");
  std::string m_example = m_dir.File("example.lah");
  std::string m_lah = m_dir.File("new.lah");
};

// A new configuration converts the example as the hand-made one does, without a
// further choice; its paths beside it are stored relative to it.
TEST_F(InitCommandTest, InitThenConvertGivesTheHandMadeData) {
  const test::CCliRun init = test::RunInProcess({"init", m_asc, "-o", m_lah});
  ASSERT_EQ(init.status, 0) << init.err;
  EXPECT_EQ(init.err, "");
  EXPECT_NE(init.out.find("Curves: Proposed: 9 curves named from lines 4 and 5; DEPT is the index\n"),
            std::string::npos)
      << init.out;
  EXPECT_NE(init.out.find("Written: " + m_lah), std::string::npos);
  const std::string lah = test::ReadBytes(m_lah);
  for (const char* line : {"ASCII FILE=well-7.asc\r\n", "LAS FILE=well-7.las\r\n", "FIRST DATA LINE=5\r\n",
                           "DELIMITER=space\r\n", "HEADING 8=PEF\r\n", "UNITS 6=OHMM\r\n", "TOTAL=9\r\n"})
    EXPECT_NE(lah.find(line), std::string::npos) << line;

  const test::CCliRun made = test::RunInProcess({"convert", "--config", m_lah, "--quiet"});
  ASSERT_EQ(made.status, 0) << made.err;
  const test::CCliRun byHand = test::RunInProcess({"convert", "--config", m_example, "--first-data-line", "5",
                                                   "--las", m_dir.File("hand.las"), "--quiet"});
  ASSERT_EQ(byHand.status, 0) << byHand.err;
  const std::string las = test::ReadBytes(m_dir.File("well-7.las"));
  EXPECT_EQ(DataRows(las), 3000u);
  EXPECT_EQ(DataSection(las), DataSection(test::ReadBytes(m_dir.File("hand.las"))));

  // Given choices stand over the proposal's.
  ASSERT_EQ(test::RunInProcess({"init", m_asc, "-o", m_lah, "--overwrite", "--first-data-line", "7", "--null",
                                "-1", "--decimal-comma", "--las", m_dir.File("sub/x.las")})
                .status,
            0);
  const std::string given = test::ReadBytes(m_lah);
  for (const char* line :
       {"FIRST DATA LINE=7\r\n", "NULL=-1.0000000000\r\n", "DECIMAL COMMA=YES\r\n", "LAS FILE=sub/x.las\r\n"})
    EXPECT_NE(given.find(line), std::string::npos) << line << given;
}

// Each refusal names its reason, writes nothing and leaves every file as it was.
TEST_F(InitCommandTest, RefusalsLeaveEveryFileAsItWas) {
  test::WriteBytes(m_lah, "mine");
  test::WriteBytes(m_dir.File("words.txt"), "DEPTH GR\r\nno numbers here\r\n");
  test::WriteBytes(m_dir.File("image.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const std::vector<std::string> before = test::ListFolder(m_dir.Path());
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {{"init", m_asc, "-o", m_lah}, 2, "new.lah: File exists; give --overwrite to replace it.\n"},
      {{"init", m_asc, "-o", m_asc}, 2, std::string(kConfigurationIsDataFileMessage) + "\n"},
      {{"init", m_asc, "-o", m_dir.File("x.lah"), "--las", m_asc},
       2,
       std::string(kSameAsciiAndLasMessage) + "\n"},
      {{"init", m_asc, "-o", m_dir.File("x.lah"), "--las", m_dir.File("./x.lah")},
       2,
       std::string(kConfigurationIsDataFileMessage) + "\n"},
      {{"init", m_asc, "-o", m_dir.File("x.lah"), "--first-data-line", "five"}, 2, "\"five\""},
      {{"init", m_dir.File("missing.asc"), "-o", m_dir.File("x.lah")},
       1,
       "missing.asc: No such file or directory.\n"},
      {{"init", m_dir.File("words.txt"), "-o", m_dir.File("x.lah")}, 2, "; give --first-data-line N.\n"},
      {{"init", m_dir.File("image.png"), "-o", m_dir.File("x.lah")}, 1, "image.png: not a text file"},
      {{"init", m_asc, "-o", m_dir.File("x.lah"), "--first-data-line", "9999"}, 1, ""},
  };
  for (const Case& c : cases) {
    const test::CCliRun run = test::RunInProcess(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[3] << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ListFolder(m_dir.Path()), before) << run.err;
    EXPECT_EQ(test::ReadBytes(m_lah), "mine");
  }
  // --overwrite replaces the file whole: nothing of the old one stays.
  ASSERT_EQ(test::RunInProcess({"init", m_asc, "-o", m_lah, "--overwrite", "--quiet"}).status, 0);
  EXPECT_EQ(test::ReadBytes(m_lah).rfind("[File ID]\r\nID=Corvane\r\n", 0), 0u);
}

// The stored first data line is used when the command line gives none; the option
// stands over it; without the key the line is detected, and a save adds no key.
TEST_F(InitCommandTest, StoredFirstDataLineServesConvertAndBatch) {
  struct Case {
    int key;             // FIRST DATA LINE of the configuration; -1: none
    const char* option;  // --first-data-line; empty: not given
    std::size_t rows;
    int saved;  // the key after --save-config
  };
  const Case cases[] = {
      {-1, "", 3000, -1}, {6, "", 2999, 6}, {6, "5", 3000, 5}, {8, "auto", 3000, 5}, {-1, "7", 2998, -1}};
  for (const Case& c : cases) {
    const std::string lah = ExampleWithKey(c.key);
    const std::string saved = test::ReadBytes(ExampleWithKey(c.saved));
    const std::string las = m_dir.File("well-7.las");
    std::vector<std::string> convert = {"convert", "--config", lah, "--quiet", "--save-config"};
    std::vector<std::string> batch = {"batch",       "--config", lah, "--out-dir", m_dir.File("batch"),
                                      "--overwrite", m_asc};
    if (*c.option != '\0') {
      for (auto* args : {&convert, &batch}) {
        args->push_back("--first-data-line");
        args->push_back(c.option);
      }
    }
    const test::CCliRun converted = test::RunInProcess(convert);
    ASSERT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(DataRows(test::ReadBytes(las)), c.rows) << c.key << c.option;
    // A save stores the line used in a file that stores one, and adds no key to others.
    EXPECT_EQ(test::ReadBytes(lah), saved) << c.key << c.option;
    const test::CCliRun batched = test::RunInProcess(batch);
    ASSERT_EQ(batched.status, 0) << batched.err;
    EXPECT_EQ(DataRows(test::ReadBytes(m_dir.File("batch/well-7.las"))), c.rows) << c.key << c.option;
  }
}

}  // namespace
}  // namespace corvane
