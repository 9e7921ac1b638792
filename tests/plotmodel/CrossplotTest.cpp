// The crossplot's counts against the rows: readings in the depth range with both
// curves, those beyond the axes, every bin, points up to kMostPoints and a density
// beyond, the pointer's nearest point and a bin's depths; the file read whole (the
// command line) and from a bucket of the loader (a window) alike.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "PlotTestFiles.h"
#include "TestSupport.h"
#include "platform/JobProgress.h"
#include "plotmodel/Crossplot.h"
#include "plotmodel/LasLoader.h"

namespace corvane {
namespace {

// Four curves: x wanders, y follows it with a twist, the colour curve has nulls; x
// and y have nulls of their own. Readings in sixteenths, which the file writes exactly.
test::CTestLas Made(int rows) {
  test::CTestLas made;
  made.curves = {{"DEPT", "M"}, {"X", ""}, {"Y", ""}, {"C", ""}};
  made.rows = rows;
  made.step = 0.25;
  made.value = [](int row, int curve) -> double {
    const double wander = std::round((50 + 45 * std::sin(row * 0.037)) * 16) / 16;
    if (curve == 1) return row % 97 == 3 ? NAN : wander + (row % 13) * 0.5;
    if (curve == 2) return row % 89 == 7 ? NAN : std::round((20 + 0.75 * wander) * 16) / 16 + (row % 5);
    return row % 11 == 0 ? NAN : row % 150;
  };
  return made;
}

int BinOf(double value, double low, double high) {
  return std::min(CCrossplot::kBins - 1, static_cast<int>((value - low) / (high - low) * CCrossplot::kBins));
}

TEST(CrossplotTest, CountsAgainstTheRows) {
  struct CCase {
    const char* name;
    int rows;
    double top, base;  // depths taken
    double low, high;  // both axes' ends
    bool points;
  };
  const CCase cases[] = {
      {"every row, points", 2000, -1e9, 1e9, 0, 100, true},
      {"a depth range", 2000, 1100.1, 1300.9, 0, 100, true},
      {"axes that leave readings out", 2000, -1e9, 1e9, 20, 80, true},
      {"the most points", int(CCrossplot::kMostPoints) + 200, 1000,
       1000 + (int(CCrossplot::kMostPoints) + 0.5) * 0.25, -1000, 1000, true},
      {"a density beyond", 30000, -1e9, 1e9, 0, 100, false},
      {"no row in the range", 2000, 5000, 6000, 0, 100, true},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::CScratchDir dir;
    const test::CTestLas made = Made(c.rows);
    ASSERT_TRUE(made.Write(dir.File("x.las")));
    CCrossplotSetup setup;
    setup.x = 1;
    setup.y = 2;
    setup.color = 3;
    setup.xAxis = CTrackScale(c.low, c.high, false);
    setup.yAxis = CTrackScale(c.low, c.high, false);
    setup.colorScale = CTrackScale(0, 150, false);
    setup.top = c.base;  // either order
    setup.base = c.top;
    CCrossplot plot(setup);
    CLasHeader header;
    CNullProgress progress;
    const CCrossplotRead read = ReadCrossplot(dir.File("x.las"), header, plot, progress);
    ASSERT_EQ(read.state, LoadState::Done) << read.error;
    ASSERT_EQ(header.curves.size(), 4u);

    long inRange = 0;
    long readings = 0;
    long outside = 0;
    std::vector<std::uint32_t> bins(CCrossplot::kBins * CCrossplot::kBins, 0);
    for (int row = 0; row < made.rows; ++row) {
      const double depth = made.Depth(row);
      if (depth < c.top || depth > c.base) continue;
      ++inRange;
      const double x = made.Value(row, 1);
      const double y = made.Value(row, 2);
      if (std::isnan(x) || std::isnan(y)) continue;
      ++readings;
      if (x < c.low || x > c.high || y < c.low || y > c.high) {
        ++outside;
        continue;
      }
      ++bins[std::size_t(BinOf(y, c.low, c.high)) * CCrossplot::kBins + std::size_t(BinOf(x, c.low, c.high))];
    }
    EXPECT_EQ(plot.RowsRead(), made.rows);
    EXPECT_EQ(plot.Extent(), std::make_pair(made.Depth(0), made.Depth(made.rows - 1)));
    EXPECT_EQ(plot.RowsInRange(), inRange);
    EXPECT_EQ(plot.Readings(), readings);
    EXPECT_EQ(plot.Outside(), outside);
    EXPECT_EQ(plot.ShowsPoints(), c.points);
    EXPECT_EQ(plot.Points().size(), c.points ? std::size_t(readings) : 0u);
    std::uint32_t most = 0;
    for (int row = 0; row < CCrossplot::kBins; ++row)
      for (int column = 0; column < CCrossplot::kBins; ++column) {
        const std::uint32_t expected = bins[std::size_t(row) * CCrossplot::kBins + std::size_t(column)];
        most = std::max(most, expected);
        ASSERT_EQ(plot.Count(column, row), expected) << column << "," << row;
        EXPECT_EQ(plot.BinDepths(column, row).has_value(), expected > 0);
      }
    EXPECT_EQ(plot.MostInBin(), most);
    if (!c.points || readings == 0) continue;
    // The points are the rows', in their order; the nearest to a point's place is itself.
    const CCrossplot::CPoint& point = plot.Points()[std::size_t(readings / 2)];
    const CCrossplot::CPoint* nearest =
        plot.Nearest(setup.xAxis.Fraction(point.x), setup.yAxis.Fraction(point.y), 0.001);
    ASSERT_NE(nearest, nullptr);
    EXPECT_EQ(nearest->x, point.x);
    EXPECT_EQ(nearest->y, point.y);
    const int row = static_cast<int>(std::lround((point.depth - made.start) / made.step));
    EXPECT_EQ(point.x, made.Value(row, 1));
    EXPECT_EQ(std::isnan(point.color), std::isnan(made.Value(row, 3)));
  }
}

TEST(CrossplotTest, AWindowReadsFromTheLoadersBucketAsTheWholeFileReads) {
  test::CScratchDir dir;
  const test::CTestLas made = Made(20000);
  ASSERT_TRUE(made.Write(dir.File("x.las")));
  CLasData data(dir.File("x.las"));
  CNullProgress progress;
  ASSERT_EQ(LoadLasFile(data, progress), LoadState::Done);
  auto lock = data.Lock();
  for (const auto& [top, base] :
       {std::pair{1000.0, 5999.75}, std::pair{1234.6, 1300.1}, std::pair{4100.0, 4100.0}}) {
    SCOPED_TRACE(top);
    CCrossplotSetup setup;
    setup.x = 1;
    setup.y = 2;
    setup.xAxis = CrossplotAxis(data.Sample(1), CurveFamily::Unknown, "", false);
    setup.yAxis = CrossplotAxis(data.Sample(2), CurveFamily::Unknown, "", true);
    setup.top = top;
    setup.base = base;
    CCrossplot whole(setup);
    CLasHeader header;
    ASSERT_EQ(ReadCrossplot(dir.File("x.las"), header, whole, progress).state, LoadState::Done);
    CCrossplot window(setup);
    const auto start = CrossplotStartOf(data, top, base);
    ASSERT_TRUE(start);
    ASSERT_EQ(ReadCrossplotRows(*start, window, progress).state, LoadState::Done);
    EXPECT_EQ(window.RowsInRange(), whole.RowsInRange());
    EXPECT_EQ(window.Readings(), whole.Readings());
    EXPECT_LE(window.RowsRead(), whole.RowsInRange() + 3 * CLasData::kBucketRows);
    for (int row = 0; row < CCrossplot::kBins; ++row)
      for (int column = 0; column < CCrossplot::kBins; ++column)
        ASSERT_EQ(window.Count(column, row), whole.Count(column, row));
  }
}

TEST(CrossplotTest, AxesOfTheCurvesFamilies) {
  CValueSample sample;
  for (int i = 0; i < 100; ++i) sample.Add(i, float(0.1 + i * 0.002));
  struct CCase {
    CurveFamily family;
    const char* unit;
    bool vertical;
    double start, end;
    bool log;
  };
  const CCase cases[] = {
      {CurveFamily::NeutronPorosity, "V/V", false, -0.15, 0.45, false},  // ascending across
      {CurveFamily::Density, "G/C3", true, 2.95, 1.95, false},           // running down
      {CurveFamily::Density, "G/C3", false, 1.95, 2.95, false},
      {CurveFamily::ResistivityDeep, "OHMM", false, 0.2, 2000, true},
      {CurveFamily::Unknown, "", true, 0.1, 0.3, false},  // round ends around the readings
  };
  for (const CCase& c : cases) {
    const CTrackScale axis = CrossplotAxis(sample, c.family, c.unit, c.vertical);
    EXPECT_NEAR(axis.Left(), c.start, 1e-9) << FamilyName(c.family);
    EXPECT_NEAR(axis.Right(), c.end, 1e-9) << FamilyName(c.family);
    EXPECT_EQ(axis.Log(), c.log);
  }
}

}  // namespace
}  // namespace corvane
