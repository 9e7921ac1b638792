// The roads of a replacement besides the plain rename: a folder that takes no new files,
// a name that must not be replaced, and the clean-up after runs killed before their end.
#include "platform/FileReplacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "SysCallFaults.h"
#include "TestSupport.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::ReadBytes;
using test::WriteBytes;

// The old file's inode: the first pwrite to it sends SIGTERM when `g_termAtFirstWrite`;
// the second notes whether the signal's handler ran meanwhile.
ino_t g_targetInode = 0;
bool g_termAtFirstWrite = false;
int g_targetWrites = 0;
volatile std::sig_atomic_t g_terms = 0;
int g_termsAtSecondWrite = -1;

void OnPwrite(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_ino != g_targetInode) return;
  if (++g_targetWrites == 1 && g_termAtFirstWrite) ::kill(::getpid(), SIGTERM);
  if (g_targetWrites == 2) g_termsAtSecondWrite = g_terms;
}

extern "C" void CountTerm(int) { g_terms = g_terms + 1; }

// Where the target's folder takes no new files the new content is made whole elsewhere
// and copied over the old file only at the commit: until then, and whenever the copy
// cannot be made safe, the old bytes stay.
TEST(FileReplacementTest, FolderTakingNoNewFilesGetsOnlyAWholeCopy) {
  struct Case {
    const char* name;
    int fallocateError;
    bool noTemporaryFolder;
    bool abandon;
    const char* reasonPart;  // empty: the new content is in place
  };
  const Case cases[] = {
      {"committed", 0, false, false, ""},
      {"cancelled before the commit", 0, false, true, "cancelled"},
      {"full disk", ENOSPC, false, false, "No space left on device; the old file is as it was"},
      {"no allocation, more than the old room", EOPNOTSUPP, false, false, "the old file is as it was"},
      {"no temporary folder", 0, true, false, "no copy of the new file can be made in"},
  };
  const std::string text(1536 * 1024, 'n');  // two blocks of the copy
  for (const Case& c : cases) {
    CScratchDir dir;
    CScratchDir tmp;
    const test::CEnvOverride tmpdir("TMPDIR", c.noTemporaryFolder ? tmp.File("none") : tmp.Path());
    const std::string target = dir.File("out.las");
    WriteBytes(target, "old");
    const test::CNoNewFilesIn refusing(dir.Path(), c.fallocateError);
    CFileReplacement replacement;
    CResult result = replacement.Begin(target);
    if (result.Ok()) {
      EXPECT_TRUE(replacement.InPlace()) << c.name;
      EXPECT_NE(replacement.InPlaceNote().find(tmp.Path()), std::string::npos) << replacement.InPlaceNote();
      result = replacement.File().WriteAll(text);
      EXPECT_EQ(ReadBytes(target), "old") << c.name;
      if (c.abandon) {
        replacement.Abandon();
        result = CResult::Cancelled();
      }
      if (result.Ok()) result = replacement.Commit();
    }
    const bool committed = std::string(c.reasonPart).empty();
    EXPECT_EQ(ReadBytes(target), committed ? text : std::string("old")) << c.name;
    EXPECT_EQ(result.Ok(), committed) << c.name;
    EXPECT_NE(result.Reason().find(c.reasonPart), std::string::npos) << c.name << ": " << result.Reason();
    EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.las"}) << c.name;
    EXPECT_TRUE(test::ListFolder(tmp.Path()).empty()) << c.name;
  }
}

// SIGTERM during the copy over the old file waits for its end, then does what it does.
TEST(FileReplacementTest, CancelSignalsWaitForTheCopyOverTheOldFile) {
  CScratchDir dir;
  CScratchDir tmp;
  const test::CEnvOverride tmpdir("TMPDIR", tmp.Path());
  const std::string target = dir.File("out.las");
  WriteBytes(target, std::string(4 << 20, 'o'));
  struct sigaction count {};
  count.sa_handler = CountTerm;
  struct sigaction old {};
  ASSERT_EQ(::sigaction(SIGTERM, &count, &old), 0);
  g_terms = 0;
  const std::string text(1536 * 1024, 'n');
  {
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    g_targetInode = info.st_ino;
    g_termAtFirstWrite = true;
    const test::CNoNewFilesIn refusing(dir.Path(), 0, OnPwrite);
    CFileReplacement replacement;
    ASSERT_TRUE(replacement.Begin(target).Ok());
    ASSERT_TRUE(replacement.File().WriteAll(text).Ok());
    ASSERT_TRUE(replacement.Commit().Ok());
    EXPECT_EQ(g_targetWrites, 2);
    EXPECT_EQ(g_termsAtSecondWrite, 0);
  }
  EXPECT_EQ(g_terms, 1);
  ::sigaction(SIGTERM, &old, nullptr);
  EXPECT_EQ(ReadBytes(target), text);
}

// A run killed between writing the new file under a hidden name and renaming it leaves
// that name (a new target: only a named temporary has one); the next replacement of the
// same target removes it, and nothing else: not a look-alike, not a running job's file.
TEST(FileReplacementTest, KilledRunsLeaveNoTemporaryPastTheNextReplacement) {
  for (const auto& [unnamed, existed] : {std::pair{true, true}, {false, true}, {false, false}}) {
    SCOPED_TRACE(std::to_string(unnamed) + std::to_string(existed));
    CScratchDir dir;
    const std::string target = dir.File("out.las");
    if (existed) WriteBytes(target, "old");
    const std::vector<std::string> others = {".out.las.toolong", ".other.las.AbC123", "out.las.AbC123"};
    for (const std::string& name : others) WriteBytes(dir.File(name), "keep");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Killed at the rename, as by the user at the worst moment; without unnamed files
      // (no /proc, or a file system without them) the temporary is named from the start.
      static bool s_unnamed = unnamed;
      static CSysCalls table = RealSysCalls();
      table.rename = [](const char*, const char*) -> int { return ::kill(::getpid(), SIGKILL); };
      table.open = [](const char* path, int flags, mode_t mode) -> int {
        if (!s_unnamed && (flags & O_TMPFILE) == O_TMPFILE) {
          errno = EOPNOTSUPP;
          return -1;
        }
        return RealSysCalls().open(path, flags, mode);
      };
      InstallSysCalls(&table);
      CFileReplacement replacement;
      if (replacement.Begin(target).Ok() && replacement.File().WriteAll("new").Ok())
        (void)replacement.Commit();
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    if (existed) EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(test::ListFolder(dir.Path()).size(), others.size() + (existed ? 2 : 1));

    CFile running;  // another job's temporary for the same target, in use
    {
      const test::CSysCallFault noUnnamedFiles(test::CSysCallFault::Call::Open, EOPNOTSUPP, 1, dir.Path(), 1);
      ASSERT_TRUE(running.CreateTemporary(dir.Path(), ".out.las.").Ok());
    }
    CFileReplacement replacement;
    ASSERT_TRUE(replacement.Begin(target).Ok());
    ASSERT_TRUE(replacement.File().WriteAll("newer").Ok());
    ASSERT_TRUE(replacement.Commit().Ok());
    EXPECT_EQ(ReadBytes(target), "newer");
    std::vector<std::string> expected = others;
    expected.emplace_back("out.las");
    expected.push_back(BaseNameOf(running.Path()));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::ListFolder(dir.Path()), expected);
  }
}

// Create only: a file that takes the name while the new one is written is kept, and the
// new one goes without a trace.
TEST(FileReplacementTest, CreateOnlyNeverReplacesAFile) {
  for (const bool unnamed : {true, false}) {
    CScratchDir dir;
    const std::string target = dir.File("out.las");
    std::optional<test::CSysCallFault> noUnnamedFiles;
    if (!unnamed) noUnnamedFiles.emplace(test::CSysCallFault::Call::Open, EOPNOTSUPP, 1, dir.Path(), 1);
    CFileReplacement replacement;
    ASSERT_TRUE(replacement.Begin(target, CFileReplacement::Policy::CreateOnly).Ok());
    ASSERT_TRUE(replacement.File().WriteAll("mine").Ok());
    WriteBytes(target, "theirs");
    EXPECT_EQ(replacement.Commit().Error(), EEXIST) << unnamed;
    EXPECT_EQ(ReadBytes(target), "theirs");
    EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.las"}) << unnamed;
    EXPECT_EQ(replacement.Begin(target, CFileReplacement::Policy::CreateOnly).Error(), EEXIST);
    ::unlink(target.c_str());
    ASSERT_TRUE(replacement.Begin(target, CFileReplacement::Policy::CreateOnly).Ok());
    ASSERT_TRUE(replacement.File().WriteAll("mine").Ok());
    EXPECT_TRUE(replacement.Commit().Ok());
    EXPECT_EQ(ReadBytes(target), "mine");
    EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.las"}) << unnamed;
  }
}

}  // namespace
}  // namespace corvane
