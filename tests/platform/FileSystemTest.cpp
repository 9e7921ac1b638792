#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

using test::CEnvOverride;
using test::CScratchDir;
using test::ReadBytes;
using test::WriteBytes;

TEST(FileSystemTest, SameFileWhateverThePathLooksLike) {
  CScratchDir dir;
  const std::string a = dir.File("a.asc");
  WriteBytes(a, "x");
  WriteBytes(dir.File("b.asc"), "x");
  ASSERT_EQ(::symlink(a.c_str(), dir.File("soft").c_str()), 0);
  ASSERT_EQ(::link(a.c_str(), dir.File("hard").c_str()), 0);
  ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0755), 0);

  EXPECT_TRUE(SameFile(a, a));
  EXPECT_TRUE(SameFile(a, dir.File("soft")));
  EXPECT_TRUE(SameFile(dir.File("hard"), a));
  EXPECT_TRUE(SameFile(a, dir.File("sub/../a.asc")));
  EXPECT_TRUE(SameFile(a, dir.Path() + "//./a.asc"));
  EXPECT_FALSE(SameFile(a, dir.File("b.asc")));
  EXPECT_FALSE(SameFile(a, dir.File("missing")));
  EXPECT_FALSE(SameFile(dir.File("missing"), dir.File("missing")));
  EXPECT_FALSE(SameFile("", ""));

  char* cwd = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
  EXPECT_TRUE(SameFile("a.asc", a));
  EXPECT_TRUE(SameFile("./sub/../soft", "hard"));
  // Files that need not exist yet are one when their folders are one.
  EXPECT_TRUE(SameFileOrPath("new.las", dir.File("sub/../new.las")));
  EXPECT_TRUE(SameFileOrPath("soft", "a.asc"));
  EXPECT_FALSE(SameFileOrPath("new.las", "sub/new.las"));
  EXPECT_FALSE(SameFileOrPath("", ""));
  ASSERT_EQ(::chdir(cwd), 0);
  std::free(cwd);

  EXPECT_TRUE(FileExists(a));
  EXPECT_TRUE(FileExists(dir.File("soft")));
  EXPECT_FALSE(FileExists(dir.File("sub")));
  EXPECT_FALSE(FileExists(dir.File("missing")));
  EXPECT_FALSE(FileExists(""));
}

TEST(FileSystemTest, TempDirectoryComesFromTheEnvironment) {
  {
    CEnvOverride tmp("TMPDIR", "/var/tmp/");
    EXPECT_EQ(TempDirectory(), "/var/tmp");
  }
  CEnvOverride tmp("TMPDIR", "");
  EXPECT_EQ(TempDirectory(), "/tmp");
}

TEST(FileSystemTest, ExecutableDirectoryHoldsThisProgram) {
  const std::string where = ExecutableDirectory();
  ASSERT_FALSE(where.empty());
  EXPECT_NE(where.back(), '/');
  EXPECT_TRUE(FileExists(where + "/platform_tests"));
}

TEST(FileSystemTest, EditorGetsThePathAsOneArgumentWithoutShell) {
  CScratchDir dir;
  // The launcher writes its arguments into a FIFO: reading it waits for the launcher.
  const std::string record = dir.File("args");
  ASSERT_EQ(::mkfifo(record.c_str(), 0600), 0);
  const std::string script = dir.File("xdg-open");
  WriteBytes(script, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + record + "'\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  {
    CEnvOverride path("PATH", dir.Path() + ":/usr/bin:/bin");
    ASSERT_TRUE(LaunchTextEditor("/data/my log; $(rm -rf x) `x`.las"));
  }
  EXPECT_EQ(ReadBytes(record), "1|/data/my log; $(rm -rf x) `x`.las|");

  CEnvOverride path("PATH", dir.File("nothing-here"));
  EXPECT_FALSE(LaunchTextEditor("a.las"));
}

}  // namespace
}  // namespace corvane
