#include "platform/Profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SysCallFaults.h"
#include "TestSupport.h"

using corvane::CProfileFile;
using corvane::GetProfileString;
using corvane::WriteProfileString;
using corvane::test::CScratchDir;
using corvane::test::CSysCallFault;
using corvane::test::ReadBytes;
using corvane::test::WriteBytes;

namespace {

CProfileFile Parse(const CScratchDir& dir, const std::string& bytes) {
  const std::string path = dir.File("p.ini");
  WriteBytes(path, bytes);
  CProfileFile profile;
  EXPECT_TRUE(profile.Load(path).Ok());
  return profile;
}

}  // namespace

TEST(Profile, ReadingFollowsThePrivateProfileRules) {
  CScratchDir dir;
  const CProfileFile p = Parse(dir,
                               "top=before any section\n"
                               "  [ Alpha ]  \r\n"
                               "; KEY=commented out\n"
                               "  Key One  =  \t value with blanks \t \r\n"
                               "QUOTED=\"  inside  \"\r\n"
                               "single='x'\n"
                               "mixed='x\"\n"
                               "lone='\n"
                               "eq=a=b=c\n"
                               "empty=\n"
                               "key=first\n"
                               "KEY=second\n"
                               "noequals line\n"
                               "[alpha]\n"
                               "other=in the duplicate section\n"
                               "[Beta]\n"
                               "key=beta value");
  EXPECT_EQ(p.Get("ALPHA", "key one"), "value with blanks");
  EXPECT_EQ(p.Get("alpha", "quoted"), "  inside  ");
  EXPECT_EQ(p.Get("Alpha", "single"), "x");
  EXPECT_EQ(p.Get("Alpha", "mixed"), "'x\"");
  EXPECT_EQ(p.Get("Alpha", "lone"), "'");
  EXPECT_EQ(p.Get("Alpha", "eq"), "a=b=c");
  EXPECT_EQ(p.Get("Alpha", "empty"), "");
  EXPECT_EQ(p.Get("Alpha", "key"), "first");         // the first of duplicates wins
  EXPECT_EQ(p.Get("Alpha", "; KEY"), std::nullopt);  // comments hold no keys
  EXPECT_EQ(p.Get("Alpha", "other"), std::nullopt);  // only the first section counts
  EXPECT_EQ(p.Get("Beta", "key"), "beta value");     // last line without a line end
  EXPECT_EQ(p.Get("Gamma", "key"), std::nullopt);
  EXPECT_EQ(p.GetString("Gamma", "key", "dflt"), "dflt");
  EXPECT_EQ(p.GetString("Alpha", "empty", "dflt"), "");
  EXPECT_EQ(p.Keys("alpha"), (std::vector<std::string>{"Key One", "QUOTED", "single", "mixed", "lone", "eq",
                                                       "empty", "key", "KEY"}));
}

TEST(Profile, LongValuesAreReadWhole) {
  CScratchDir dir;
  const std::string value(5000, 'v');
  const CProfileFile p = Parse(dir, "[S]\r\nK=" + value + "\r\n");
  EXPECT_EQ(p.Get("S", "K"), value);
}

TEST(Profile, WritesReplaceInPlaceAppendToTheSectionAndAddMissingSections) {
  CScratchDir dir;
  CProfileFile p = Parse(dir,
                         "; header comment\r\n"
                         "[One]\r\n"
                         "a = 1\r\n"
                         "; inside\r\n"
                         "b=2\r\n"
                         "\r\n"
                         "[Two]\r\n"
                         "\r\n"
                         "[Three]\r\n"
                         "x=1\r\n");
  p.Write("one", "A", "new");  // in place, spelled as the caller spells it
  p.Write("ONE", "c", "3");    // after the last key, before the blank line
  p.Write("Two", "k", "v");    // a section without keys: right after its header
  p.Write("Four", "z", "");    // a new section at the end
  p.Remove("Three", "x");
  p.Remove("Three", "missing");
  p.Remove("Nowhere", "x");
  EXPECT_EQ(p.Text(),
            "; header comment\r\n"
            "[One]\r\n"
            "A=new\r\n"
            "; inside\r\n"
            "b=2\r\n"
            "c=3\r\n"
            "\r\n"
            "[Two]\r\n"
            "k=v\r\n"
            "\r\n"
            "[Three]\r\n"
            "\r\n"
            "[Four]\r\n"
            "z=\r\n");
}

TEST(Profile, EmptyProfileGetsNoLeadingBlankLine) {
  CProfileFile p;
  p.Write("S", "K", "v");
  p.Write("T", "K", "w");
  EXPECT_EQ(p.Text(), "[S]\r\nK=v\r\n\r\n[T]\r\nK=w\r\n");
}

TEST(Profile, SingleKeyAccessCreatesReadsAndRemoves) {
  CScratchDir dir;
  const std::string path = dir.File("new.ini");
  EXPECT_EQ(GetProfileString("S", "K", "dflt", path), "dflt");
  EXPECT_TRUE(WriteProfileString("S", "K", nullptr, path));  // removing from a missing file creates nothing
  EXPECT_NE(::access(path.c_str(), F_OK), 0);
  EXPECT_TRUE(WriteProfileString("S", "K", "v", path));
  EXPECT_TRUE(WriteProfileString("S", "L", "w", path));
  EXPECT_EQ(GetProfileString("s", "k", "dflt", path), "v");
  EXPECT_TRUE(WriteProfileString("S", "K", nullptr, path));
  EXPECT_EQ(ReadBytes(path), "[S]\r\nL=w\r\n");
}

TEST(Profile, SaveKeepsModeAndSymbolicLinks) {
  CScratchDir dir;
  const std::string target = dir.File("real.ini");
  const std::string link = dir.File("link.ini");
  WriteBytes(target, "[S]\nK=old\n");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(::symlink("real.ini", link.c_str()), 0);

  ASSERT_TRUE(WriteProfileString("S", "K", "new", link));
  struct stat st;
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadBytes(target), "[S]\r\nK=new\r\n");

  const std::string created = dir.File("created.ini");
  ASSERT_TRUE(WriteProfileString("S", "K", "v", created));
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ASSERT_EQ(::stat(created.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u & ~mask);
}

TEST(Profile, FailedSavesLeaveEverythingAsItWas) {
  CScratchDir dir;
  CProfileFile p;
  p.Write("S", "K", "v");
  EXPECT_FALSE(p.Save(dir.File("missing/dir/file.ini")).Ok());
  EXPECT_FALSE(p.Save("").Ok());

  // The target is a directory, or a FIFO that would never answer: refused at once.
  const std::string sub = dir.File("sub");
  ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
  EXPECT_FALSE(p.Save(sub).Ok());
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(p.Save(dir.File("fifo")).Ok());
  CProfileFile fifo;
  EXPECT_FALSE(fifo.Load(dir.File("fifo")).Ok());

  // A file that cannot be read is not overwritten by a write.
  EXPECT_FALSE(WriteProfileString("S", "K", "v", sub));

  // Write, fsync and rename failures, through the system call seam.
  const std::string target = dir.File("f.ini");
  for (const auto call :
       {CSysCallFault::Call::Write, CSysCallFault::Call::Fsync, CSysCallFault::Call::Rename}) {
    WriteBytes(target, "[S]\r\nK=old\r\n");
    CSysCallFault fault(call, call == CSysCallFault::Call::Write ? ENOSPC : EIO, 1, dir.Path());
    const corvane::CResult saved = p.Save(target);
    EXPECT_TRUE(saved.IsFailed());
    EXPECT_EQ(saved.Reason().rfind(target + ": ", 0), 0u) << saved.Reason();
    EXPECT_EQ(ReadBytes(target), "[S]\r\nK=old\r\n");
  }

  // No temporary file is left behind.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  }
}

TEST(Profile, SavesKeepHardLinksTogetherAndByteOrderMarks) {
  CScratchDir dir;
  const std::string path = dir.File("c.lah");
  WriteBytes(path, "\xEF\xBB\xBF[File ID]\r\nID=Corvane\r\n");
  ASSERT_EQ(::link(path.c_str(), dir.File("alias.lah").c_str()), 0);
  CProfileFile p;
  ASSERT_TRUE(p.Load(path).Ok());
  EXPECT_EQ(p.Get("File ID", "ID"), "Corvane");  // the mark is not part of the first section's name
  p.Write("File ID", "VERSION", "3.0");
  ASSERT_TRUE(p.Save(path).Ok());
  const std::string expected = "\xEF\xBB\xBF[File ID]\r\nID=Corvane\r\nVERSION=3.0\r\n";
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(ReadBytes(dir.File("alias.lah")), expected);

  // Larger than any profile of the program: refused unread.
  const std::string huge = dir.File("huge.lah");
  WriteBytes(huge, "[S]\r\n");
  ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(CProfileFile::kMaxFileSize) + 1), 0);
  EXPECT_EQ(p.Load(huge).Error(), EFBIG);
}

// A hard-linked profile is rewritten in place: a full disk fails before its first byte
// changes, a text past the size cap is refused, and a file cut in the middle of its last
// line is known as such when read.
TEST(Profile, InPlaceSavesFailWholeAndCutFilesAreKnown) {
  CScratchDir dir;
  const std::string path = dir.File("c.lah");
  const std::string old = "[Curves]\r\nHEADING 0=DEPT\r\n";
  WriteBytes(path, old);
  ASSERT_EQ(::link(path.c_str(), dir.File("alias.lah").c_str()), 0);
  CProfileFile p;
  ASSERT_TRUE(p.Load(path).Ok());
  EXPECT_FALSE(p.CutShort());
  for (int n = 1; n < 400; ++n) p.Write("Curves", "HEADING " + std::to_string(n), "C" + std::to_string(n));
  {
    CSysCallFault full(CSysCallFault::Call::Fallocate, ENOSPC, 1, dir.Path());
    EXPECT_EQ(p.Save(path).Error(), ENOSPC);
    EXPECT_EQ(full.Hits(), 1);
  }
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(ReadBytes(dir.File("alias.lah")), old);

  CProfileFile big;
  big.Write("S", "K", std::string(CProfileFile::kMaxFileSize, 'v'));
  EXPECT_EQ(big.Save(path).Error(), EFBIG);
  EXPECT_EQ(ReadBytes(path), old);

  ASSERT_TRUE(p.Save(path).Ok());
  const std::string whole = ReadBytes(dir.File("alias.lah"));
  EXPECT_NE(whole.find("HEADING 399=C399\r\n"), std::string::npos);
  EXPECT_EQ(corvane::test::ListFolder(dir.Path()), (std::vector<std::string>{"alias.lah", "c.lah"}));
  for (const std::size_t cut : {whole.size() - 1, whole.size() - 2, whole.size() - 7}) {
    WriteBytes(path, whole.substr(0, cut));
    ASSERT_TRUE(p.Load(path).Ok());
    EXPECT_TRUE(p.CutShort()) << cut;
  }
  WriteBytes(path, "[S]\nK=v\n");
  ASSERT_TRUE(p.Load(path).Ok());
  EXPECT_FALSE(p.CutShort());
}
