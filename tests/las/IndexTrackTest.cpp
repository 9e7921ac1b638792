// STRT, STOP and STEP from the index cells as written: exact decimal increments.
#include <gtest/gtest.h>

#include "las/IndexTrack.h"

namespace corvane {
namespace {

TEST(IndexTrack, StepIsTheOneIncrementOfTheWrittenCells) {
  struct CCase {
    std::vector<std::string> cells;
    const char* step;
  };
  const std::string wide(19, '9');  // past one 64-bit integer
  const CCase cases[] = {
      {{"   1000.0000", "   1000.5000", "   1001.0000"}, "0.5000"},
      {{"1001.0000", "1000.5000", "1000.0000"}, "-0.5000"},
      {{"0.0000", "0.1000", "0.2000", "0.2998"}, "0.0000"},
      {{"5.0000"}, "0.0000"},
      {{"5.0000", "5.0000"}, "0.0000"},
      {{"-999.2500", "1000.0000", "1000.5000"}, "0.0000"},
      // The source's digits: cells of other decimals compared as decimals.
      {{"1.5000", "1.65000", "1.8000"}, "0.1500"},
      {{"0.000015", "0.000030", "0.000045"}, "0.000015"},
      {{wide + ".0000", wide + "1.0000", "1" + wide + ".0000"}, "0.0000"},
      {{wide + ".0000", "1" + std::string(19, '0') + ".0000", "1" + std::string(18, '0') + "1.0000"},
       "1.0000"},
      {{std::string(37, '9') + ".0000", std::string(37, '9') + ".0000"}, "0.0000"},
      {{"1e5", "2e5"}, "0.0000"},
  };
  for (const CCase& c : cases) {
    CIndexTrack track;
    for (const std::string& cell : c.cells) track.Add(cell);
    EXPECT_EQ(track.Step(), c.step) << c.cells.front() << " .. " << c.cells.back();
    EXPECT_EQ(track.Rows(), c.cells.size());
  }
  CIndexTrack track;
  track.Add("   1000.0000");
  track.Add(std::string(45, '1') + ".0000");
  EXPECT_EQ(track.First(), "1000.0000");
  EXPECT_EQ(track.Last(), std::string(45, '1') + ".0000");
  EXPECT_EQ(CIndexTrack::Difference("1000.0000", "1000.1524"), "0.1524");
  EXPECT_EQ(CIndexTrack::Difference("-0.5", "0"), "0.5000");
  EXPECT_EQ(CIndexTrack::Difference("x", "0"), "");
}

}  // namespace
}  // namespace corvane
