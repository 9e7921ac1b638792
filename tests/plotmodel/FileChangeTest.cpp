// A file that changes under the plot: rows and crossplot readings are read again only
// from the file the loader read. Replaced by another file (as Create LAS into the same
// path does), written in place longer, of the same size later, or of the same size and
// time: never a row of the new file at an old offset; the change is told once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include "PlotTestFiles.h"
#include "TestSupport.h"
#include "platform/JobProgress.h"
#include "plotmodel/Crossplot.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/RowReader.h"

namespace corvane {
namespace {

// The file read, and another of the same layout and size whose every reading differs.
test::CTestLas Made(double shift) {
  test::CTestLas made;
  made.rows = 4000;
  made.start = 1000 + shift;
  made.value = [shift](int row, int curve) { return curve * 10.0 + row % 7 + shift; };
  return made;
}

void SetModified(const std::string& path, const timespec& when) {
  const timespec times[2] = {when, when};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

timespec ModifiedOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mtim;
}

TEST(FileChangeTest, RowsAreNeverReadFromAnotherFile) {
  struct CCase {
    const char* name;
    std::function<void(const std::string& path, const std::string& other)> change;
  };
  const CCase cases[] = {
      {"replaced by another file",
       [](const std::string& path, const std::string& other) { std::rename(other.c_str(), path.c_str()); }},
      {"written in place, longer",
       [](const std::string& path, const std::string& other) {
         test::WriteBytes(path, test::ReadBytes(other) + "  9999.0 1 2\r\n");
       }},
      {"written in place, the same size, later",
       [](const std::string& path, const std::string& other) {
         timespec later = ModifiedOf(path);
         later.tv_sec += 5;
         test::WriteBytes(path, test::ReadBytes(other));
         SetModified(path, later);
       }},
      {"written in place, the same size and time",
       [](const std::string& path, const std::string& other) {
         const timespec before = ModifiedOf(path);
         test::WriteBytes(path, test::ReadBytes(other));
         SetModified(path, before);
       }},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::CScratchDir dir;
    const std::string path = dir.File("well.las");
    const std::string other = dir.File("other.las");
    const test::CTestLas read = Made(0);
    ASSERT_TRUE(read.Write(path));
    ASSERT_TRUE(Made(0.5).Write(other));
    ASSERT_EQ(test::ReadBytes(path).size(), test::ReadBytes(other).size());
    CLasData data(path);
    CNullProgress progress;
    ASSERT_EQ(LoadLasFile(data, progress), LoadState::Done);
    auto lock = data.Lock();
    CRowReader rows(data);
    int told = 0;
    rows.SetChangeListener([&told] { ++told; });
    // Before the change: the rows of the file read.
    const CRowReader::CRows& before = rows.Rows(100, 110);
    ASSERT_TRUE(before.Holds(100, 110));
    EXPECT_EQ(before.Value(105, 1), read.Value(105, 1));

    c.change(path, other);
    // Rows not kept from before are not read; the change is told once.
    for (const long from : {2000L, 3000L, 40L}) {
      const CRowReader::CRows& after = rows.Rows(from, from + 10);
      for (long row = after.first; row < after.first + after.count; ++row)
        EXPECT_EQ(after.Value(row, 1), read.Value(static_cast<int>(row), 1)) << row;
      EXPECT_FALSE(after.Holds(from, from + 10)) << from;
    }
    EXPECT_TRUE(rows.FileChanged());
    EXPECT_FALSE(rows.RowOfLine(3000));
    EXPECT_EQ(told, 1);

    // A crossplot of the window reads nothing either.
    CCrossplotSetup setup;
    setup.x = 1;
    setup.y = 2;
    setup.xAxis = CTrackScale(0, 100, false);
    setup.yAxis = CTrackScale(0, 100, false);
    setup.top = 0;
    setup.base = 1e9;
    CCrossplot plot(setup);
    const auto start = CrossplotStartOf(data, read.Depth(0), read.Depth(read.rows - 1));
    ASSERT_TRUE(start);
    const CCrossplotRead outcome = ReadCrossplotRows(*start, plot, progress);
    EXPECT_EQ(outcome.state, LoadState::Failed);
    EXPECT_TRUE(outcome.fileChanged);
    EXPECT_EQ(plot.Readings(), 0);
  }
}

}  // namespace
}  // namespace corvane
