#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::ReadBytes;
using test::WriteBytes;

// Sets an environment variable for one test and puts the old value back.
class CEnvOverride {
 public:
  CEnvOverride(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) {
      m_had = true;
      m_old = old;
    }
    ::setenv(name, value.c_str(), 1);
  }
  ~CEnvOverride() {
    if (m_had) {
      ::setenv(m_name, m_old.c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  bool m_had = false;
  std::string m_old;
};

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
  const std::string record = dir.File("args");
  const std::string script = dir.File("xdg-open");
  WriteBytes(script, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + record + ".tmp'\nmv '" + record +
                         ".tmp' '" + record + "'\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  {
    CEnvOverride path("PATH", dir.Path() + ":/usr/bin:/bin");
    ASSERT_TRUE(LaunchTextEditor("/data/my log; $(rm -rf x) `x`.las"));
  }
  for (int i = 0; i < 500 && !FileExists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(FileExists(record));
  EXPECT_EQ(ReadBytes(record), "1|/data/my log; $(rm -rf x) `x`.las|");

  CEnvOverride path("PATH", dir.File("nothing-here"));
  EXPECT_FALSE(LaunchTextEditor("a.las"));
}

}  // namespace
}  // namespace corvane
