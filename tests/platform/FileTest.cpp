#include "platform/File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SysCallFaults.h"
#include "TestSupport.h"
#include "platform/FileReplacement.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::CSysCallFault;
using test::ReadBytes;
using test::WriteBytes;
using Call = CSysCallFault::Call;

TEST(FileTest, NonRegularFilesAreRefusedWithoutWaiting) {
  CScratchDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/null"), dir.Path()}) {
    CFile file;
    const CResult read = file.OpenForReading(path);
    EXPECT_TRUE(read.IsFailed()) << path;
    EXPECT_EQ(read.Reason().rfind(path + ": ", 0), 0u) << read.Reason();
    EXPECT_FALSE(file.OpenForWriting(path).Ok()) << path;
    EXPECT_FALSE(file.IsOpen());
    CFileReplacement replacement;
    EXPECT_FALSE(replacement.Begin(path).Ok()) << path;
  }
  CFile missing;
  const CResult result = missing.OpenForReading(dir.File("none"));
  EXPECT_EQ(result.Error(), ENOENT);
  EXPECT_EQ(result.Reason(), dir.File("none") + ": No such file or directory");
}

TEST(FileTest, LocksRefuseASecondJobUnlessTheFileSystemHasNone) {
  CScratchDir dir;
  const std::string path = dir.File("held.asc");
  WriteBytes(path, "x\n");
  CFile first;
  ASSERT_TRUE(first.OpenForReading(path).Ok());
  CFile second;
  EXPECT_EQ(second.OpenForReading(path).Error(), EWOULDBLOCK);
  EXPECT_TRUE(second.OpenForReading(path, CFile::Lock::None).Ok());
  first.Discard();
  // NFS and friends answer flock with these: the file is used without a lock.
  for (const int error : {EBADF, ENOLCK, EOPNOTSUPP}) {
    CSysCallFault fault(Call::Flock, error);
    CFile file;
    EXPECT_TRUE(file.OpenForReading(path).Ok()) << error;
  }
}

TEST(FileTest, TemporariesLeaveNothingBehindUnlessLinkedIn) {
  CScratchDir dir;
  const std::string target = dir.File("out.las");
  {
    CFile temp;
    ASSERT_TRUE(temp.CreateTemporary(dir.Path(), "QR").Ok());
    EXPECT_TRUE(temp.IsUnnamedTemporary());
    EXPECT_TRUE(test::ListFolder(dir.Path()).empty());
    ASSERT_TRUE(temp.WriteAll("new").Ok());
    ASSERT_TRUE(temp.LinkAs(target).Ok());
  }
  EXPECT_EQ(ReadBytes(target), "new");
  {
    CFile temp;  // a second one replaces the first, in one step
    ASSERT_TRUE(temp.CreateTemporary(dir.Path(), "QR").Ok());
    ASSERT_TRUE(temp.WriteAll("newer").Ok());
    ASSERT_TRUE(temp.LinkAs(target).Ok());
  }
  EXPECT_EQ(ReadBytes(target), "newer");
  EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.las"});
  {
    // A file system without unnamed files: a named one, gone again when dropped.
    CSysCallFault fault(Call::Open, EOPNOTSUPP, 1, dir.Path(), 1);
    CFile temp;
    ASSERT_TRUE(temp.CreateTemporary(dir.Path(), "QR").Ok());
    EXPECT_FALSE(temp.IsUnnamedTemporary());
    EXPECT_EQ(temp.Path().rfind(dir.File("QR"), 0), 0u);
    EXPECT_EQ(test::ListFolder(dir.Path()).size(), 2u);
  }
  EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.las"});
}

// A new file only: a name taken before the start, or while the content is written, is
// refused and its file left as it is, with no temporary behind; unnamed and named
// temporaries alike.
TEST(FileTest, CreateOnlyReplacementNeverTakesAnExistingName) {
  for (const bool named : {false, true}) {
    CScratchDir dir;
    const std::string target = dir.File("new.lah");
    std::optional<CSysCallFault> noUnnamed;
    if (named) noUnnamed.emplace(Call::Open, EOPNOTSUPP, 1, dir.Path(), 1);
    {
      CFileReplacement replacement;
      ASSERT_TRUE(replacement.Begin(target, CFileReplacement::Policy::CreateOnly).Ok());
      ASSERT_TRUE(replacement.File().WriteAll("mine").Ok());
      WriteBytes(target, "theirs");
      EXPECT_EQ(replacement.Commit().Error(), EEXIST) << named;
    }
    EXPECT_EQ(ReadBytes(target), "theirs");
    CFileReplacement again;
    EXPECT_EQ(again.Begin(target, CFileReplacement::Policy::CreateOnly).Error(), EEXIST);
    ::unlink(target.c_str());
    ASSERT_TRUE(again.Begin(target, CFileReplacement::Policy::CreateOnly).Ok());
    ASSERT_TRUE(again.File().WriteAll("mine").Ok());
    ASSERT_TRUE(again.Commit().Ok());
    EXPECT_EQ(ReadBytes(target), "mine");
    EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"new.lah"}) << named;
  }
}

// Each failure of the way to a new file is reported, leaves no temporary behind and,
// up to the moment the new file takes its place, the old one as it was.
TEST(FileTest, FailedReplacementsLeaveTheOldFile) {
  struct Case {
    const char* name;
    Call call;
    int error;
  };
  const Case cases[] = {
      {"full disk", Call::Write, ENOSPC}, {"fsync", Call::Fsync, EIO}, {"rename", Call::Rename, EXDEV},
      {"link", Call::Linkat, EMLINK},     {"close", Call::Close, EIO},
  };
  for (const Case& c : cases) {
    CScratchDir dir;
    const std::string target = dir.File("out.las");
    WriteBytes(target, "old\r\n");
    ::chmod(target.c_str(), 0640);
    CSysCallFault fault(c.call, c.error, 1, dir.Path());
    CTextWriter writer;
    bool failed = false;
    try {
      writer.Create(target);
      writer.WriteLine("new");
      writer.Commit();
    } catch (const CFileError& error) {
      failed = true;
      EXPECT_EQ(error.Cause(), c.error) << c.name;
    }
    writer.Close();
    EXPECT_TRUE(failed) << c.name;
    EXPECT_GE(fault.Hits(), 1) << c.name;
    // A close that fails after the new file is in place is reported, and leaves the new
    // file: it was complete and synced before it took the old one's place.
    EXPECT_EQ(ReadBytes(target), c.call == Call::Close ? "new\r\n" : "old\r\n") << c.name;
    EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.las"}) << c.name;
  }
}

TEST(FileTest, ReplacementKeepsModeLinksAndProtection) {
  CScratchDir dir;
  const std::string target = dir.File("out.las");
  WriteBytes(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
  ASSERT_EQ(::symlink("out.las", dir.File("link.las").c_str()), 0);
  auto replace = [](const std::string& path, const std::string& text,
                    CFileReplacement::Policy policy = CFileReplacement::Policy::Replace) {
    CFileReplacement replacement;
    CResult result = replacement.Begin(path, policy);
    if (result.Ok()) result = replacement.File().WriteAll(text);
    if (result.Ok()) result = replacement.Commit();
    return result;
  };
  // Short writes are completed; a link is followed and stays a link.
  {
    CSysCallFault fault(Call::ShortWrite, EIO, 1, dir.Path());
    ASSERT_TRUE(replace(dir.File("link.las"), std::string(1000, 'n')).Ok());
  }
  EXPECT_EQ(ReadBytes(target), std::string(1000, 'n'));
  struct stat info {};
  ASSERT_EQ(::lstat(dir.File("link.las").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);

  // A read-only file is not replaced behind its protection (root passes access()).
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    EXPECT_EQ(replace(target, "x").Error(), EACCES);
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
  }

  // A hard-linked file is rewritten in place when asked, so both names see the new text.
  ASSERT_EQ(::link(target.c_str(), dir.File("other.las").c_str()), 0);
  ASSERT_TRUE(replace(target, "both", CFileReplacement::Policy::InPlaceWhenLinked).Ok());
  EXPECT_EQ(ReadBytes(dir.File("other.las")), "both");
  ASSERT_TRUE(replace(target, "one").Ok());
  EXPECT_EQ(ReadBytes(dir.File("other.las")), "both");
  EXPECT_EQ(ReadBytes(target), "one");

  // A folder that takes no new files: the file is written in place.
  {
    CSysCallFault fault(Call::Open, EACCES, 2, dir.Path(), 1);
    CFileReplacement replacement;
    ASSERT_TRUE(replacement.Begin(target).Ok());
    EXPECT_TRUE(replacement.InPlace());
    ASSERT_TRUE(replacement.File().WriteAll("in").Ok());
    ASSERT_TRUE(replacement.Commit().Ok());
  }
  EXPECT_EQ(ReadBytes(target), "in");
}

}  // namespace
}  // namespace corvane
