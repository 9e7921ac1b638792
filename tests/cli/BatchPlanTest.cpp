// What a batch will do, decided before any work: the inputs found, the LAS file each
// gives, and every clash that refuses the whole batch, listed in the order found.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "cli/BatchPlan.h"

namespace corvane::cli {
namespace {

using test::WriteBytes;

class BatchPlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_lah = m_dir.File("well.lah");
    WriteBytes(m_lah, "[File ID]\r\n");
    ::mkdir(m_dir.File("in").c_str(), 0755);
    ::mkdir(m_dir.File("in/sub").c_str(), 0755);
    m_a = Input("in/a.asc");
    m_subA = Input("in/sub/a.txt");
    m_link = m_dir.File("in/link.asc");
    ::symlink(m_a.c_str(), m_link.c_str());
    m_existing = m_dir.File("existing");
    ::mkdir(m_existing.c_str(), 0755);
    WriteBytes(m_existing + "/a.las", "earlier\r\n");
    Input("existing/a.txt");  // an input beside the outputs
  }

  std::string Input(const std::string& name) {
    WriteBytes(m_dir.File(name), "DEPT\r\n1\r\n");
    return m_dir.File(name);
  }

  CBatchPlan Plan(const std::string& outDir, const std::vector<std::string>& inputs,
                  CBatchPlan::COptions options = {}, const std::string& list = std::string()) const {
    options.outDir = outDir;
    options.configPath = m_lah;
    CBatchPlan plan(options);
    std::istringstream listed(list);
    plan.Gather(inputs, listed);
    plan.FindClashes();
    return plan;
  }

  test::CScratchDir m_dir;
  std::string m_lah, m_a, m_subA, m_link, m_existing;
};

TEST_F(BatchPlanTest, EveryClashIsListedInTheOrderFound) {
  const std::string out = m_dir.File("out");
  const std::string existing = m_existing;
  CBatchPlan::COptions overwrite;
  overwrite.overwrite = true;
  CBatchPlan::COptions report;
  report.reportPath = m_a;
  CBatchPlan::COptions reportOnLas;
  reportOnLas.reportPath = out + "/a.las";
  const struct {
    const char* name;
    std::string outDir;
    std::vector<std::string> inputs;
    CBatchPlan::COptions options;
    std::vector<std::string> problems;
  } cases[] = {
      {"two inputs, one output",
       out,
       {m_a, m_subA},
       {},
       {out + "/a.las would be written for each of " + m_a + " and " + m_subA}},
      {"named twice", out, {m_a, m_a}, {}, {"one file is named more than once: " + m_a + " and " + m_a}},
      {"named through a link",
       out,
       {m_a, m_link},
       {},
       {"one file is named more than once: " + m_a + " and " + m_link}},
      {"exists",
       existing,
       {existing + "/a.txt"},
       {},
       {existing + "/a.las exists; give --overwrite to replace it"}},
      {"replaces its input",
       existing,
       {existing + "/a.las"},
       overwrite,
       {existing + "/a.las would replace the input " + existing + "/a.las"}},
      {"the configuration", out, {m_lah}, {}, {m_lah + " is the configuration file"}},
      {"report on an input", out, {m_a}, report, {"the report " + m_a + " would replace the input " + m_a}},
      {"report on a LAS file",
       out,
       {m_a},
       reportOnLas,
       {"the report " + out + "/a.las would replace the LAS file " + out + "/a.las"}},
      {"a folder",
       out,
       {m_dir.File("in")},
       {},
       {m_dir.File("in") + " is a folder; give --recursive to convert the files in it"}},
      {"every clash at once",
       existing,
       {existing + "/a.txt", m_a, m_lah, m_a},
       {},
       {"one file is named more than once: " + m_a + " and " + m_a,
        existing + "/a.las would be written for each of " + existing + "/a.txt, " + m_a + " and " + m_a,
        m_lah + " is the configuration file", existing + "/a.las exists; give --overwrite to replace it"}},
      {"no clash", existing, {existing + "/a.txt"}, overwrite, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Plan(c.outDir, c.inputs, c.options).Problems(), c.problems) << c.name;
  }
}

// A file where the output folder, or a folder above it, would be refuses the batch
// before any work, with the path and the system's reason.
TEST_F(BatchPlanTest, AnOutputFolderThatIsAFileIsRefused) {
  const std::string file = m_dir.File("out.txt");
  WriteBytes(file, "not a folder");
  for (const std::string& outDir : {file, file + "/", file + "/deeper/las"}) {
    const CBatchPlan plan = Plan(outDir, {m_a});
    ASSERT_EQ(plan.Problems().size(), 1u) << outDir;
    EXPECT_EQ(plan.Problems()[0], file + ": Not a directory (--out-dir names the folder of the LAS files)");
  }
  // A folder still to be made is no problem, nor one that is there.
  EXPECT_TRUE(Plan(m_dir.File("new/las"), {m_a}).Problems().empty());
  EXPECT_TRUE(Plan(m_dir.Path(), {m_a}).Problems().empty());
}

// --recursive keeps the subfolders, leaves out hidden, LAS and configuration files,
// links to folders and the output folder; a list on standard input is taken in order.
TEST_F(BatchPlanTest, FoldersAndListsGiveTheInputsInOrder) {
  ::mkdir(m_dir.File("in/.hidden").c_str(), 0755);
  Input("in/.hidden/b.asc");
  Input("in/.dot.asc");
  Input("in/old.LAS");
  Input("in/setup.Lah");
  ::symlink(m_dir.File("in/sub").c_str(), m_dir.File("in/sublink").c_str());
  ::unlink(m_link.c_str());
  CBatchPlan::COptions recursive;
  recursive.recursive = true;
  const std::string out = m_dir.File("in/out");
  ::mkdir(out.c_str(), 0755);
  Input("in/out/c.asc");  // inside the output folder: not an input
  const CBatchPlan plan = Plan(out, {m_dir.File("in/")}, recursive);
  EXPECT_TRUE(plan.Problems().empty());
  std::vector<std::string> outputs;
  for (const CBatchItem& item : plan.Items()) outputs.push_back(item.input + " -> " + item.output);
  EXPECT_EQ(outputs, (std::vector<std::string>{m_dir.File("in/a.asc") + " -> " + out + "/a.las",
                                               m_dir.File("in/sub/a.txt") + " -> " + out + "/sub/a.las"}));
  EXPECT_EQ(plan.Items()[0].bytes, 9u);

  const CBatchPlan listed = Plan(out, {"-"}, {}, m_subA + "\r\n\r\n" + m_a + "\n");
  ASSERT_EQ(listed.TotalFiles(), 2u);
  EXPECT_EQ(listed.Items()[0].input, m_subA);
  EXPECT_EQ(listed.Items()[1].input, m_a);
}

// An endless stream, too long a line, too many lines: the list is refused, not read on.
TEST_F(BatchPlanTest, ListsOnStandardInputAreBounded) {
  // Zero bytes without end, as from /dev/zero.
  class CZeros : public std::streambuf {
   protected:
    int_type underflow() override {
      setg(m_zeros.data(), m_zeros.data(), m_zeros.data() + m_zeros.size());
      return 0;
    }

   private:
    std::array<char, 4096> m_zeros{};
  } zeros;
  std::istream endless(&zeros);
  CBatchPlan fromZeros(CBatchPlan::COptions{});
  fromZeros.Gather({"-"}, endless);
  ASSERT_EQ(fromZeros.Problems().size(), 1u);
  EXPECT_EQ(fromZeros.Problems()[0],
            "line 1 of the list on standard input is longer than 4096 bytes; no path is that long");

  const std::string longest = m_dir.File(std::string(4096 - m_dir.File("").size(), 'p'));
  EXPECT_EQ(Plan(m_dir.File("out"), {"-"}, {}, longest + "\r\n" + m_a + "\n").TotalFiles(), 2u);
  EXPECT_EQ(
      Plan(m_dir.File("out"), {"-"}, {}, m_a + "\n" + longest + "q\n").Problems().at(0).rfind("line 2 ", 0),
      0u);
  const CBatchPlan blank =
      Plan(m_dir.File("out"), {"-"}, {}, std::string(CBatchPlan::kMaxListLines + 1, '\n'));
  ASSERT_EQ(blank.Problems().size(), 1u);
  EXPECT_EQ(
      blank.Problems()[0],
      "the list on standard input has more than 1000000 lines; give at most that many paths in one batch");
}

// Only this shard's LAS files are looked at: the others are written by other runs.
TEST_F(BatchPlanTest, ShardsTakeEveryNthFileAndCheckOnlyTheirOwnOutputs) {
  const struct {
    const char* text;
    bool valid;
    int index;
    int count;
  } shards[] = {{"0/1", true, 0, 1},  {"2/3", true, 2, 3},       {"3/3", false, 0, 0},
                {"1", false, 0, 0},   {"-1/3", false, 0, 0},     {"a/3", false, 0, 0},
                {"1/0", false, 0, 0}, {"1/1234567", false, 0, 0}};
  for (const auto& s : shards) {
    const auto shard = CBatchShard::Parse(s.text);
    ASSERT_EQ(shard.has_value(), s.valid) << s.text;
    if (shard) {
      EXPECT_EQ(std::make_pair(shard->index, shard->count), std::make_pair(s.index, s.count));
    }
  }
  const std::string b = Input("existing/b.txt");
  CBatchPlan::COptions second;
  second.shard = CBatchShard{1, 2};
  const CBatchPlan plan = Plan(m_existing, {m_existing + "/a.txt", b}, second);
  EXPECT_TRUE(plan.Problems().empty());  // a.las exists, but it is the first shard's
  ASSERT_EQ(plan.Items().size(), 1u);
  EXPECT_EQ(plan.Items()[0].input, b);
  EXPECT_EQ(plan.TotalFiles(), 2u);

  EXPECT_EQ(CBatchPlan::OutputFor("out", "", "logs/well.7.asc"), "out/well.7.las");
  EXPECT_EQ(CBatchPlan::OutputFor("out/", "a/b/", "logs/.profile"), "out/a/b/.profile.las");
  EXPECT_EQ(CBatchPlan::OutputFor("", "", "logs/well/"), "well.las");
}

}  // namespace
}  // namespace corvane::cli
