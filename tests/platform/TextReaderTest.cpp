#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

using test::CScratchDir;
using test::WriteBytes;

struct SLine {
  std::string text;
  std::uint64_t endPosition;
};

// Text-mode lines of `bytes` worked out the plain way, one byte at a time.
std::vector<SLine> ReferenceLines(const std::string& bytes) {
  std::vector<SLine> lines;
  std::string current;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n') {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      current += '\n';
      lines.push_back({current, i + 1});
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back({current, bytes.size()});
  return lines;
}

void ExpectReadsAsReference(const std::string& path, const std::string& bytes) {
  const std::vector<SLine> expected = ReferenceLines(bytes);
  CTextReader reader;
  reader.Open(path);
  EXPECT_EQ(reader.Size(), bytes.size());
  std::string_view line;
  std::size_t index = 0;
  while (reader.NextLine(line)) {
    ASSERT_LT(index, expected.size());
    ASSERT_EQ(line, expected[index].text) << "line " << index;
    ASSERT_EQ(reader.Position(), expected[index].endPosition) << "line " << index;
    ++index;
  }
  EXPECT_EQ(index, expected.size());
  EXPECT_FALSE(reader.NextLine(line));
  EXPECT_EQ(reader.Position(), bytes.size());
}

TEST(TextReaderTest, LineEndsAndPositions) {
  CScratchDir dir;
  const std::string path = dir.File("mixed.txt");
  WriteBytes(path, "a\r\nb\nc\rd\r\n\r\n\n\r\rlast\r");
  CTextReader reader;
  reader.Open(path);
  std::string line;
  const std::vector<std::pair<std::string, std::uint64_t>> expected = {
      {"a\n", 3}, {"b\n", 5}, {"c\rd\n", 10}, {"\n", 12}, {"\n", 13}, {"\r\rlast\r", 20}};
  for (const auto& [text, position] : expected) {
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, text);
    EXPECT_EQ(reader.Position(), position);
  }
  EXPECT_FALSE(reader.ReadLine(line));

  WriteBytes(path, "");
  reader.Open(path);
  EXPECT_EQ(reader.Size(), 0u);
  EXPECT_FALSE(reader.ReadLine(line));
}

TEST(TextReaderTest, LinesAcrossBlockBoundaries) {
  CScratchDir dir;
  const std::string path = dir.File("blocks.txt");
  const std::size_t block = CTextReader::kBlockSize;
  // Every placement of a CR LF pair around the first two block ends, the pair split included.
  for (std::size_t at : {block - 3, block - 2, block - 1, block, block + 1, 2 * block - 1, 2 * block}) {
    std::string bytes(at, 'x');
    bytes += "\r\nnext\r\n";
    bytes += std::string(block, 'y');
    bytes += "\r";  // a lone CR as the file's last byte
    WriteBytes(path, bytes);
    ExpectReadsAsReference(path, bytes);
  }
  // Random line lengths and line ends over several blocks.
  std::mt19937 rng(3);
  for (int round = 0; round < 4; ++round) {
    std::string bytes;
    while (bytes.size() < 3 * block) {
      const std::size_t length = (rng() % 8 == 0) ? rng() % 200000 : rng() % 120;
      for (std::size_t i = 0; i < length; ++i)
        bytes += (rng() % 50 == 0) ? '\r' : static_cast<char>('a' + rng() % 26);
      switch (rng() % 3) {
        case 0:
          bytes += "\n";
          break;
        case 1:
          bytes += "\r\n";
          break;
        default:
          bytes += "\r\r\n";
          break;
      }
    }
    if (round % 2 == 1) bytes += "tail without end";
    WriteBytes(path, bytes);
    ExpectReadsAsReference(path, bytes);
  }
}

TEST(TextReaderTest, LongLinesWholeOrRefused) {
  CScratchDir dir;
  const std::string path = dir.File("long.txt");
  const std::string big(5 * 1024 * 1024, '7');
  WriteBytes(path, "head\r\n" + big + "\r\nafter");
  CTextReader reader;
  reader.Open(path);
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line.size(), big.size() + 1);
  EXPECT_EQ(line, big + "\n");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "after");

  // A line of exactly the limit is read; one byte more is refused.
  const std::string limit(CTextReader::kMaxLineLength, 'L');
  WriteBytes(path, limit + "\r\n" + limit + "L\r\nshort\n");
  reader.Open(path);
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line.size(), limit.size() + 1);
  EXPECT_THROW(reader.ReadLine(line), CFileError);

  // The same file read by prefixes: the same refusal, lengths exact up to it.
  reader.Open(path);
  std::uint64_t full = 0;
  ASSERT_TRUE(reader.ReadLinePrefix(line, 10, full));
  EXPECT_EQ(line, "LLLLLLLLLL");
  EXPECT_EQ(full, limit.size() + 1);
  EXPECT_THROW(reader.ReadLinePrefix(line, 3, full), CFileError);
}

TEST(TextReaderTest, PrefixesAgreeWithWholeLines) {
  CScratchDir dir;
  const std::string path = dir.File("prefix.txt");
  const std::size_t block = CTextReader::kBlockSize;
  std::string bytes = "ab\r\n\r\nx\rz\n" + std::string(block - 1, 'q') + "\r\nend\r";
  WriteBytes(path, bytes);
  const std::vector<SLine> expected = ReferenceLines(bytes);
  for (std::size_t keep : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4},
                           block - 1, block, block + 5, static_cast<std::size_t>(-1)}) {
    CTextReader reader;
    reader.Open(path);
    std::string line;
    std::uint64_t full = 0;
    for (const SLine& want : expected) {
      ASSERT_TRUE(reader.ReadLinePrefix(line, keep, full));
      EXPECT_EQ(line, want.text.substr(0, keep)) << "keep " << keep;
      EXPECT_EQ(full, want.text.size());
      EXPECT_EQ(reader.Position(), want.endPosition);
    }
    EXPECT_FALSE(reader.ReadLinePrefix(line, keep, full));
  }
}

TEST(TextReaderTest, SeekRereadsFromAnyByte) {
  CScratchDir dir;
  const std::string path = dir.File("seek.txt");
  WriteBytes(path, "one\r\ntwo\nthree\r\nfour");
  CTextReader reader;
  reader.Open(path);
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.ReadLine(line));
  const std::uint64_t third = reader.Position();
  EXPECT_EQ(third, 9u);
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "four");
  reader.Seek(third);
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "three\n");
  reader.Seek(0);  // bytes read before (CR LF turned into "\n") are read afresh
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "one\n");
  reader.Seek(4);  // between CR and LF
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "\n");
  EXPECT_EQ(reader.Position(), 5u);
  reader.Seek(2);
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "e\n");
  reader.Seek(21);
  EXPECT_FALSE(reader.ReadLine(line));
  reader.Seek(1000);
  EXPECT_FALSE(reader.ReadLine(line));
}

TEST(TextReaderTest, ExclusiveOpenShutsOutEveryOtherOpener) {
  CScratchDir dir;
  const std::string path = dir.File("locked.txt");
  WriteBytes(path, "data\n");
  ASSERT_EQ(::symlink(path.c_str(), dir.File("soft").c_str()), 0);
  ASSERT_EQ(::link(path.c_str(), dir.File("hard").c_str()), 0);
  CTextReader first;
  first.Open(path);
  for (const std::string& other : {path, dir.File("soft"), dir.File("hard")}) {
    CTextReader second;
    EXPECT_THROW(second.Open(other), CFileError) << other;
    EXPECT_FALSE(second.IsOpen());
  }
  CTextReader shared;
  EXPECT_NO_THROW(shared.Open(path, false));
  first.Close();
  CTextReader again;
  EXPECT_NO_THROW(again.Open(dir.File("hard")));
}

TEST(TextReaderTest, OpenAndReadFailures) {
  CScratchDir dir;
  CTextReader reader;
  try {
    reader.Open(dir.File("missing.txt"));
    FAIL() << "opened a missing file";
  } catch (const CFileError& e) {
    EXPECT_EQ(e.Cause(), ENOENT);
  }
  EXPECT_THROW(reader.Open(dir.Path()), CFileError);
  EXPECT_FALSE(reader.IsOpen());
  std::string line;
  EXPECT_THROW(reader.ReadLine(line), CFileError);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A Ctrl-Z ends the text for every way of reading, wherever it falls; the reader
// then says so and stands at the mark.
TEST(TextReaderTest, CtrlZEndsTheText) {
  test::CScratchDir dir;
  const std::string path = dir.File("dos.asc");
  const std::string filler(CTextReader::kBlockSize - 3, 'f');
  constexpr std::uint64_t kNoMark = ~std::uint64_t{0};
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
    std::uint64_t mark;  // offset of the Ctrl-Z that ends the text
  };
  const std::vector<Case> cases = {
      {"1 2\r\n3 4\r\n\x1a", {"1 2\n", "3 4\n"}, 10},
      {"1 2\r\n3 4\x1a\r\n5 6\r\n", {"1 2\n", "3 4"}, 8},
      {"\x1a"
       "1 2\r\n",
       {},
       0},
      {filler + "\r\n\x1a"
                "after\r\n",
       {filler + "\n"},
       CTextReader::kBlockSize - 1},
      {"1 2\r\n", {"1 2\n"}, kNoMark},
  };
  for (const Case& c : cases) {
    test::WriteBytes(path, c.bytes);
    CTextReader reader;
    reader.Open(path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(reader.StoppedAtCtrlZ(), c.mark != kNoMark);
    EXPECT_EQ(reader.Position(), c.mark != kNoMark ? c.mark : c.bytes.size());
    reader.Seek(0);
    EXPECT_FALSE(reader.StoppedAtCtrlZ());
    lines.clear();
    std::uint64_t full = 0;
    while (reader.ReadLinePrefix(line, 1u << 20, full)) lines.push_back(line);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(reader.StoppedAtCtrlZ(), c.mark != kNoMark);
  }
}

}  // namespace
}  // namespace corvane
