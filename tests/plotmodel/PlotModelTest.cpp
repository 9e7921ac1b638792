// The plot's model: scale ends from the data or typed, linear and log fractions, and
// the track changes of the track panel.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "plotmodel/LasHeader.h"
#include "plotmodel/PlotLayout.h"
#include "plotmodel/TrackScale.h"
#include "plotmodel/ValueSample.h"

namespace corvane {
namespace {

CLasHeader HeaderOf(const std::vector<std::pair<std::string, std::string>>& curves) {
  CLasHeader header;
  for (const auto& [mnemonic, unit] : curves) header.curves.push_back({mnemonic, unit, {}, {}});
  return header;
}

const CLasHeader kHeader =
    HeaderOf({{"DEPT", "M"}, {"GR", "GAPI"}, {"NPHI", "V/V"}, {"RHOB", "G/C3"}, {"ILD", "OHMM"}});

// "GR|NPHI+RHOB|ILD(log)|-SP" : tracks left to right, "+" joins curves of one track,
// "(log)" a log scale, "-" a hidden track.
std::string Describe(const CPlotLayout& layout, const CLasHeader& header = kHeader) {
  std::string tracks;
  for (const CTrack& track : layout.tracks) {
    std::string curves;
    for (const CTrackCurve& curve : track.curves)
      curves += (curves.empty() ? "" : "+") + header.curves[curve.curve].mnemonic;
    tracks += (tracks.empty() ? "" : "|") + std::string(track.hidden ? "-" : "") + curves +
              (track.log ? "(log)" : "");
  }
  return tracks;
}

CValueSample SampleOf(const std::vector<double>& values) {
  CValueSample sample;
  for (std::size_t i = 0; i < values.size(); ++i) sample.Add(long(i), float(values[i]));
  return sample;
}

TEST(PlotModelTest, ScaleEnds) {
  std::vector<double> ramp;
  for (int i = 0; i <= 100; ++i) ramp.push_back(i);
  std::vector<double> withNulls = ramp;
  withNulls.insert(withNulls.end(), {NAN, NAN, NAN});
  std::vector<double> withHuge = ramp;
  withHuge.insert(withHuge.end(), {1e100, -1e100});
  std::vector<double> signedValues;
  for (int i = -100; i <= 100; ++i) signedValues.push_back(i);
  struct CCase {
    const char* name;
    std::vector<double> values;
    bool log;
    std::optional<double> left, right;  // typed ends; none: from the data
    double expectedLeft, expectedRight;
  };
  const CCase cases[] = {
      {"1st and 99th percentile", ramp, false, {}, {}, 1.0, 99.0},
      {"typed left end", ramp, false, -50.0, {}, -50.0, 99.0},
      {"both typed, reversed", ramp, false, 150.0, 0.0, 150.0, 0.0},
      {"nulls take no part", withNulls, false, {}, {}, 1.0, 99.0},
      {"nor readings beyond a float's range", withHuge, false, {}, {}, 1.0, 99.0},
      {"log: positive readings only", signedValues, true, {}, {}, 1.99, 99.01},
      {"steady reading", {5, 5, 5}, false, {}, {}, 4.5, 5.5},
      {"steady on log", {20, 20}, true, {}, {}, 10.0, 40.0},
      {"no readings", {NAN}, false, {}, {}, 0.0, 1.0},
      {"no readings, log", {-1.0}, true, {}, {}, 0.1, 1000.0},
      {"log end typed at 0", ramp, true, 0.0, 200.0, 20.0, 200.0},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    const CTrackScale scale = CTrackScale::WithEnds(SampleOf(c.values), c.log, c.left, c.right);
    EXPECT_EQ(scale.Log(), c.log);
    EXPECT_NEAR(scale.Left(), c.expectedLeft, 1e-6);
    EXPECT_NEAR(scale.Right(), c.expectedRight, 1e-6);
  }
}

TEST(PlotModelTest, FractionsAcrossTheTrack) {
  const CTrackScale linear(0, 150, false);
  EXPECT_EQ(linear.Fraction(75), 0.5);
  EXPECT_EQ(linear.Fraction(-15), -0.1);  // beyond the left end
  EXPECT_EQ(linear.ValueAt(0.2), 30.0);
  const CTrackScale reversed(150, 0, false);
  EXPECT_EQ(reversed.Fraction(150), 0.0);
  const CTrackScale log(0.2, 2000, true);
  // Every decade takes the same width: a quarter of four decades.
  for (double value : {0.2, 2.0, 20.0, 200.0})
    EXPECT_NEAR(log.Fraction(value * 10) - log.Fraction(value), 0.25, 1e-12);
  EXPECT_NEAR(log.ValueAt(0.5), 20, 1e-9);
  EXPECT_TRUE(std::isnan(log.Fraction(0)));
  EXPECT_TRUE(std::isnan(log.Fraction(-3)));
}

TEST(PlotModelTest, ResistivitiesAreLogarithmic) {
  for (const char* unit : {"OHMM", "ohmm", "OHM.M", "OHM-M", "Ohm.m", "OHMS"})
    EXPECT_TRUE(IsResistivityUnit(unit)) << unit;
  for (const char* unit : {"MMHO/M", "GAPI", "", "M", "V/V"}) EXPECT_FALSE(IsResistivityUnit(unit)) << unit;
  EXPECT_EQ(Describe(CPlotLayout::Default(kHeader)), "GR|NPHI|RHOB|ILD(log)");
}

TEST(PlotModelTest, TrackChanges) {
  struct CCase {
    const char* name;
    const char* steps;  // "move t by", "join t k", "split t k", separated by ";"
    const char* expected;
    int refused;  // steps that were not possible
  };
  const CCase cases[] = {
      {"move right", "move 0 1", "NPHI|GR|RHOB|ILD(log)", 0},
      {"move left beyond the first", "move 1 -2", "GR|NPHI|RHOB|ILD(log)", 1},
      {"join: the track empties and goes", "join 2 0", "GR|NPHI+RHOB|ILD(log)", 0},
      {"join twice, split the second", "join 2 0;join 1 1;split 0 1", "GR|RHOB|NPHI|ILD(log)", 0},
      {"join into a log track keeps its scale", "move 3 -1;join 3 0", "GR|NPHI|ILD+RHOB(log)", 0},
      {"first track cannot join, lone curve cannot split", "join 0 0;split 1 0", "GR|NPHI|RHOB|ILD(log)", 2},
      {"split gives a track after its own", "join 1 0;split 0 0", "NPHI|GR|RHOB|ILD(log)", 0},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    CPlotLayout layout = CPlotLayout::Default(kHeader);
    int notDone = 0;
    std::istringstream steps(c.steps);
    for (std::string step; std::getline(steps, step, ';');) {
      std::istringstream parts(step);
      std::string verb;
      std::size_t a = 0;
      int b = 0;
      parts >> verb >> a >> b;
      bool done = false;
      if (verb == "move") done = layout.MoveTrack(a, b);
      if (verb == "join") done = layout.JoinPrevious(a, std::size_t(b));
      if (verb == "split") done = layout.Split(a, std::size_t(b));
      notDone += done ? 0 : 1;
    }
    EXPECT_EQ(Describe(layout), c.expected);
    EXPECT_EQ(notDone, c.refused);
  }
}

}  // namespace
}  // namespace corvane
