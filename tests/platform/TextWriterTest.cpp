#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::ReadBytes;
using test::WriteBytes;

TEST(TextWriterTest, EveryLineEndBecomesCrLf) {
  CScratchDir dir;
  const std::string path = dir.File("out.las");
  WriteBytes(path, std::string(1000, 'z'));  // an existing file is emptied first
  CTextWriter writer;
  writer.Create(path);
  writer.WriteLine("~Version");
  writer.Write("a\nb");
  writer.WriteLine("");
  writer.WriteRaw("raw\r\nkept\n");
  writer.Write("\n\n");
  writer.WriteLine("\r");
  EXPECT_EQ(writer.Position(), 33u);
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
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  first.Close();
  EXPECT_NO_THROW(second.Create(path));
}

TEST(TextWriterTest, WriteFailuresAreReported) {
  CTextWriter writer;
  EXPECT_THROW(writer.Create("/nonexistent-directory/x.las"), CFileError);
  if (::access("/dev/full", W_OK) == 0) {
    writer.Create("/dev/full");
    writer.WriteLine("does not fit");
    try {
      writer.Close();
      FAIL() << "close reported no failure";
    } catch (const CFileError& e) {
      EXPECT_EQ(e.Cause(), ENOSPC);
    }
    EXPECT_FALSE(writer.IsOpen());
    CTextWriter dropped;  // the destructor stays silent
    dropped.Create("/dev/full");
    dropped.WriteLine("lost");
  }
}

TEST(TextWriterTest, AdoptedTempFileWithLengthAndPositions) {
  const CTempFile temp = CreateTempFile("QR");
  CTextWriter writer;
  writer.Adopt(temp.fd, temp.path);
  writer.SetLength(12);
  writer.Seek(7);
  writer.WriteLine("abc");
  EXPECT_EQ(writer.Position(), 12u);
  writer.Seek(0);
  writer.WriteRaw("12");
  writer.Close();
  EXPECT_EQ(ReadBytes(temp.path), std::string("12\0\0\0\0\0abc\r\n", 12));
  EXPECT_TRUE(RemoveFile(temp.path));
}

}  // namespace
}  // namespace corvane
