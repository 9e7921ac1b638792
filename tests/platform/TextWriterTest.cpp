#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "SysCallFaults.h"
#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::CSysCallFault;
using test::ReadBytes;
using test::WriteBytes;

TEST(TextWriterTest, EveryLineEndBecomesCrLf) {
  CScratchDir dir;
  const std::string path = dir.File("out.las");
  WriteBytes(path, std::string(1000, 'z'));  // an existing file is replaced whole
  CTextWriter writer;
  writer.Create(path);
  writer.WriteLine("~Version");
  writer.Write("a\nb");
  writer.WriteLine("");
  writer.WriteRaw("raw\r\nkept\n");
  writer.Write("\n\n");
  writer.WriteLine("\r");
  EXPECT_EQ(writer.Position(), 33u);
  writer.Commit();
  writer.Close();
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(ReadBytes(path), "~Version\r\na\r\nb\r\nraw\r\nkept\n\r\n\r\n\r\r\n");

  // Output larger than the buffer arrives whole and in order.
  std::string expected;
  writer.Create(path);
  for (int i = 0; i < 100000; ++i) {
    const std::string line = "line " + std::to_string(i);
    writer.WriteLine(line);
    expected += line + "\r\n";
  }
  writer.Commit();
  EXPECT_EQ(ReadBytes(path), expected);

  // Without a commit nothing takes the old file's place.
  writer.Create(path);
  writer.WriteLine("dropped");
  writer.Flush();
  writer.Close();
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST(TextWriterTest, LockedFileIsRefusedAndLeftUntouched) {
  CScratchDir dir;
  const std::string path = dir.File("held.txt");
  WriteBytes(path, "precious\r\n");
  {
    CTextReader reader;
    reader.Open(path);
    CTextWriter writer;
    EXPECT_THROW(writer.Create(path), CFileError);
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(ReadBytes(path), "precious\r\n");
  }
  CTextWriter first;
  first.Create(path);
  first.WriteLine("new");
  first.Flush();
  CTextWriter second;
  EXPECT_THROW(second.Create(path), CFileError);
  EXPECT_EQ(ReadBytes(path), "precious\r\n");
  first.Commit();
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  EXPECT_NO_THROW(second.Create(path));
}

TEST(TextWriterTest, WriteFailuresAreReportedAndBlockTheCommit) {
  CScratchDir dir;
  CTextWriter writer;
  EXPECT_THROW(writer.Create("/nonexistent-directory/x.las"), CFileError);
  const std::string path = dir.File("out.las");
  {
    CSysCallFault fault(CSysCallFault::Call::Write, ENOSPC, 1, dir.Path());
    writer.Create(path);
    writer.WriteLine("does not fit");
    try {
      writer.Flush();
      FAIL() << "flush reported no failure";
    } catch (const CFileError& e) {
      EXPECT_EQ(e.Cause(), ENOSPC);
    }
  }
  writer.WriteLine("fits again");
  EXPECT_THROW(writer.Commit(), CFileError);  // a file with a hole in it is never put in place
  writer.Close();
  EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

TEST(TextWriterTest, AdoptedTemporaryIsWrittenFromItsPosition) {
  CScratchDir dir;
  CFile temp;
  ASSERT_TRUE(temp.CreateTemporary(dir.Path(), "QR").Ok());
  ASSERT_TRUE(temp.WriteAll("12").Ok());
  CTextWriter writer;
  writer.Adopt(std::move(temp));
  writer.WriteLine("abc");
  writer.Commit();
  EXPECT_EQ(writer.Position(), 5u);
  writer.Close();
  EXPECT_FALSE(writer.IsOpen());
}

TEST(TextWriterTest, HeadReplacedWhateverItsLengthAndTheRestMoved) {
  CScratchDir dir;
  const std::string path = dir.File("out.las");
  // A tail of several buffers, so that it moves in more than one block.
  std::string tail;
  for (int i = 0; tail.size() < 700000; ++i) tail += "row " + std::to_string(i) + "\r\n";
  for (const std::string head : {"HEAD\r\n", "H\r\n", "A LONGER HEAD THAN BEFORE\r\n", ""}) {
    CTextWriter writer;
    writer.Create(path);
    writer.WriteRaw("HEAD\r\n");
    writer.WriteRaw(tail);
    writer.ReplaceHead(6, head);
    EXPECT_EQ(writer.Position(), head.size() + tail.size());
    writer.WriteRaw("end\r\n");  // later writes go on at the end
    writer.Commit();
    writer.Close();
    EXPECT_EQ(ReadBytes(path), head + tail + "end\r\n") << head;
  }
}

}  // namespace
}  // namespace corvane
