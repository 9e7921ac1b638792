// The plot's model: the standard layout by curve family for the example well and the
// public samples, scale ends (standard by unit, round numbers and decades, typed ends
// first), linear and log fractions, the track changes of the track panel with the
// depth track and the fills, colours that stay with their curves, what a fill shades
// pixel row by pixel row, and the depth scale ratio.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "PlotTestFiles.h"
#include "TestSupport.h"
#include "platform/JobProgress.h"
#include "plotmodel/CurveTracer.h"
#include "plotmodel/DepthScale.h"
#include "plotmodel/LasHeader.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/PlotLayout.h"
#include "plotmodel/PlotScales.h"
#include "plotmodel/RowReader.h"
#include "plotmodel/TrackScale.h"
#include "plotmodel/ValueSample.h"

namespace corvane {
namespace {

CLasHeader HeaderOf(const std::vector<std::pair<std::string, std::string>>& curves) {
  CLasHeader header;
  for (const auto& [mnemonic, unit] : curves) header.curves.push_back({mnemonic, unit, {}, {}});
  return header;
}

const CLasHeader kHeader = HeaderOf(
    {{"DEPT", "M"}, {"GR", "GAPI"}, {"NPHI", "V/V"}, {"RHOB", "G/C3"}, {"ILD", "OHMM"}, {"ILM", "OHMM"}});

std::string Describe(const CPlotLayout& layout, const CLasHeader& header = kHeader) {
  return test::DescribeLayout(layout, header);
}

CValueSample SampleOf(const std::vector<double>& values) {
  CValueSample sample;
  for (std::size_t i = 0; i < values.size(); ++i) sample.Add(long(i), float(values[i]));
  return sample;
}

std::unique_ptr<CLasData> Load(const std::string& path) {
  auto data = std::make_unique<CLasData>(path);
  CNullProgress progress;
  LoadLasFile(*data, progress);
  return data;
}

TEST(PlotModelTest, StandardLayoutOfTheExampleAndTheSamples) {
  struct CCase {
    const char* file;
    const char* tracks;
    const char* ends;  // "left..right" of every curve in layout order
  };
  const CCase cases[] = {
      // The bundled example (converted): GR, CALI and SP first, metric ends by unit.
      {"plot_well.las", "GR+CALI+SP{G}|D|ILD(log)|NPHI+RHOB{X}|DT|PEF",
       "0..150 150..400 -60..0 0.2..2000 0.45..-0.15 1.95..2.95 460..130 0..10"},
      // No gamma ray: the depth track first; densities in kg/m3.
      {"sample_2.0.las", "D|SFLU+SFLA+ILM+ILD(log)|RHOB+NPHI{X}|DT",
       "0.2..2000 0.2..2000 0.2..2000 0.2..2000 1950..2950 0.45..-0.15 460..130"},
      // 35 curves: the families together, every other curve in a track of its own.
      {"sample_2.0_wrapped.las",
       "SP+GR+CALI+DCAL+SPBL+GRC{G}|D|RX0+RESS+RESM+RESD(log)|RHOB+NPHI+PHIN{X}|DT|PEF|DRHO|EATT|TPL|FFI|"
       "RHGF|"
       "RHGA|PHIA|PHID|PHIE|PHIC|R0(log)|RWA(log)|SW|MSI|BVW|FGAS|PIDX|FBH|FHCC|LSWB",
       ""},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.file);
    const auto data = Load(test::DataFile(c.file));
    auto lock = data->Lock();
    ASSERT_EQ(data->State(), LoadState::Done);
    const CPlotLayout layout = CPlotLayout::Standard(data->Header());
    EXPECT_EQ(Describe(layout, data->Header()), c.tracks);
    if (*c.ends == 0) continue;
    std::string ends;
    for (const std::vector<CTrackScale>& track : ComputeScales(*data, layout))
      for (const CTrackScale& scale : track) {
        std::ostringstream text;
        text << scale.Left() << ".." << scale.Right();
        ends += (ends.empty() ? "" : " ") + text.str();
      }
    EXPECT_EQ(ends, c.ends);
  }
}

TEST(PlotModelTest, ScaleEnds) {
  std::vector<double> ramp;
  for (int i = 0; i <= 100; ++i) ramp.push_back(i);
  std::vector<double> odd;  // 1st and 99th percentiles near 66.57 and 133.4
  for (int i = 0; i <= 100; ++i) odd.push_back(65.9 + i * 0.68);
  std::vector<double> decades;  // 1.842 to 20.84 on a log scale
  for (int i = 0; i <= 100; ++i) decades.push_back(1.7 * std::pow(10.0, i / 100.0 * 1.1));
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
    CurveFamily family;
    const char* unit;
    std::optional<double> left, right;  // typed ends; none: proposed
    double expectedLeft, expectedRight;
  };
  const auto unknown = CurveFamily::Unknown;
  const CCase cases[] = {
      {"round: a step of 10", ramp, false, unknown, "", {}, {}, 0, 100},
      {"round: a step of 10 around odd ends", odd, false, unknown, "", {}, {}, 60, 140},
      {"whole decades", decades, true, unknown, "OHMM", {}, {}, 1, 100},
      {"typed left end wins", ramp, false, unknown, "", -50.0, {}, -50, 100},
      {"both typed, reversed", ramp, false, unknown, "", 150.0, 0.0, 150, 0},
      {"nulls take no part", withNulls, false, unknown, "", {}, {}, 0, 100},
      {"nor readings beyond a float's range", withHuge, false, unknown, "", {}, {}, 0, 100},
      {"log: positive readings only", signedValues, true, unknown, "", {}, {}, 1, 100},
      {"steady reading", {5, 5, 5}, false, unknown, "", {}, {}, 4.5, 5.5},
      {"steady on log", {20, 20}, true, unknown, "", {}, {}, 10, 100},
      {"no readings", {NAN}, false, unknown, "", {}, {}, 0, 1},
      {"no readings, log", {-1.0}, true, unknown, "", {}, {}, 0.1, 1000},
      {"log end typed at 0", ramp, true, unknown, "", 0.0, 200.0, 20, 200},
      {"gamma ray", odd, false, CurveFamily::GammaRay, "gAPI", {}, {}, 0, 150},
      {"gamma ray in counts: round", odd, false, CurveFamily::GammaRay, "CPS", {}, {}, 60, 140},
      {"gamma ray on a log track: decades", odd, true, CurveFamily::GammaRay, "GAPI", {}, {}, 10, 1000},
      {"resistivity", decades, true, CurveFamily::ResistivityDeep, "ohm.m", {}, {}, 0.2, 2000},
      {"resistivity, right typed",
       decades,
       true,
       CurveFamily::ResistivityMedium,
       "OHMM",
       {},
       200.0,
       0.2,
       200},
      {"resistivity on a linear track: round",
       decades,
       false,
       CurveFamily::ResistivityDeep,
       "OHMM",
       {},
       {},
       0,
       25},
      {"neutron in v/v", ramp, false, CurveFamily::NeutronPorosity, "v/v", {}, {}, 0.45, -0.15},
      {"neutron in p.u.", ramp, false, CurveFamily::NeutronPorosity, "PU", {}, {}, 45, -15},
      {"neutron of no known unit: round, reversed",
       ramp,
       false,
       CurveFamily::NeutronPorosity,
       "",
       {},
       {},
       100,
       0},
      {"density in g/cc", ramp, false, CurveFamily::Density, "g/cc", {}, {}, 1.95, 2.95},
      {"density in kg/m3", ramp, false, CurveFamily::Density, "kg/m3", {}, {}, 1950, 2950},
      {"sonic in us/ft", ramp, false, CurveFamily::SonicCompressional, "us/ft", {}, {}, 140, 40},
      {"sonic in us/m", ramp, false, CurveFamily::SonicCompressional, "US/M", {}, {}, 460, 130},
      {"shear sonic", ramp, false, CurveFamily::SonicShear, "US/F", {}, {}, 240, 40},
      {"photoelectric factor", ramp, false, CurveFamily::PhotoElectric, "B/E", {}, {}, 0, 10},
      {"caliper in inches", ramp, false, CurveFamily::Caliper, "in", {}, {}, 6, 16},
      {"caliper in mm", ramp, false, CurveFamily::Caliper, "MM", {}, {}, 150, 400},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    const CTrackScale scale =
        CTrackScale::Proposed(SampleOf(c.values), c.log, c.family, c.unit, c.left, c.right);
    EXPECT_EQ(scale.Log(), c.log);
    EXPECT_NEAR(scale.Left(), c.expectedLeft, 1e-9);
    EXPECT_NEAR(scale.Right(), c.expectedRight, 1e-9);
  }
}

TEST(PlotModelTest, RoundEndsAreOneTwoOrFiveTimesAPowerOfTen) {
  struct CCase {
    double low, high;
    bool log;
    double left, right;
  };
  const CCase cases[] = {
      {66.57, 133.4, false, 60, 140},  {0.0123, 0.0871, false, 0.01, 0.09}, {-37.2, 12.1, false, -40, 20},
      {1800, 2450, false, 1800, 2500}, {0.151, 0.298, false, 0.14, 0.3},    {1.842, 20.84, true, 1, 100},
      {0.2, 2000, true, 0.1, 10000},   {0.03, 0.04, true, 0.01, 0.1},       {7, 7, false, 6.2, 7.8},
  };
  for (const CCase& c : cases) {
    const auto [left, right] = RoundEnds(c.low, c.high, c.log);
    EXPECT_NEAR(left, c.left, 1e-12) << c.low << ".." << c.high;
    EXPECT_NEAR(right, c.right, 1e-12) << c.low << ".." << c.high;
    if (c.log) continue;
    // A whole number of steps of 1, 2 or 5 times a power of ten, at most ten of them.
    bool found = false;
    for (double step = 1e-6; step < 1e6 && !found; step *= 10)
      for (double factor : {1.0, 2.0, 5.0}) {
        const double steps = (right - left) / (step * factor);
        const double at = left / (step * factor);
        if (steps <= 10 + 1e-9 && std::fabs(steps - std::round(steps)) < 1e-6 &&
            std::fabs(at - std::round(at)) < 1e-6)
          found = true;
      }
    EXPECT_TRUE(found) << left << ".." << right;
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
  for (const char* unit : {"OHMM", "ohmm", "OHM.M", "OHM-M", "Ohm.m", "OHMS"})
    EXPECT_TRUE(IsResistivityUnit(unit)) << unit;
  for (const char* unit : {"MMHO/M", "GAPI", "", "M", "V/V"}) EXPECT_FALSE(IsResistivityUnit(unit)) << unit;
}

TEST(PlotModelTest, TrackChanges) {
  struct CCase {
    const char* name;
    const char* steps;  // "move t by", "join t k", "split t k", "depth n", separated by ";"
    const char* expected;
    int refused;  // steps that were not possible
  };
  // Standard: "GR{G}|D|ILD+ILM(log)|NPHI+RHOB{X}"
  const CCase cases[] = {
      {"move across the depth track", "move 0 1", "D|GR{G}|ILD+ILM(log)|NPHI+RHOB{X}", 0},
      {"and back", "move 0 1;move 0 -1", "GR{G}|D|ILD+ILM(log)|NPHI+RHOB{X}", 0},
      {"move left beyond the first", "move 0 -1;move 0 -1", "GR{G}|D|ILD+ILM(log)|NPHI+RHOB{X}", 2},
      {"two places: across and past a track", "move 0 2", "D|ILD+ILM(log)|GR{G}|NPHI+RHOB{X}", 0},
      {"the last track past the depth track at the end", "depth 3;move 2 1;move 2 1",
       "GR{G}|ILD+ILM(log)|D|NPHI+RHOB{X}", 1},
      {"the depth track moves by itself", "depth 3", "GR{G}|ILD+ILM(log)|NPHI+RHOB{X}|D", 0},
      {"density leaves: its crossover goes", "split 2 1", "GR{G}|D|ILD+ILM(log)|NPHI|RHOB", 0},
      {"and comes back: the crossover again", "split 2 1;join 3 0", "GR{G}|D|ILD+ILM(log)|NPHI+RHOB{X}", 0},
      {"a switched-off fill stays off", "fill 2 0 off;move 2 -1", "GR{G}|D|NPHI+RHOB{x}|ILD+ILM(log)", 0},
      {"gamma ray joins the resistivities with its fill", "move 0 2;join 1 0",
       "D|ILD+ILM+GR{G}(log)|NPHI+RHOB{X}", 0},
      {"a track that empties goes, the depth track stays", "join 1 0;join 1 0",
       "GR+ILD+ILM{G}|D|NPHI+RHOB{X}", 0},
      {"join into a log track keeps its scale", "join 2 0", "GR{G}|D|ILD+ILM+NPHI(log)|RHOB", 0},
      {"first track cannot join, lone curve cannot split", "join 0 0;split 0 0",
       "GR{G}|D|ILD+ILM(log)|NPHI+RHOB{X}", 2},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    CPlotLayout layout = CPlotLayout::Standard(kHeader);
    ASSERT_EQ(Describe(layout), "GR{G}|D|ILD+ILM(log)|NPHI+RHOB{X}");
    int notDone = 0;
    std::istringstream steps(c.steps);
    for (std::string step; std::getline(steps, step, ';');) {
      std::istringstream parts(step);
      std::string verb;
      std::size_t a = 0;
      int b = 0;
      std::string on;
      parts >> verb >> a >> b >> on;
      bool done = true;
      if (verb == "move") done = layout.MoveTrack(a, b);
      if (verb == "join") done = layout.JoinPrevious(a, std::size_t(b));
      if (verb == "split") done = layout.Split(a, std::size_t(b));
      if (verb == "depth") layout.depthTrack = a;
      if (verb == "fill") layout.tracks[a].fills[std::size_t(b)].on = on != "off";
      notDone += done ? 0 : 1;
    }
    EXPECT_EQ(Describe(layout), c.expected);
    EXPECT_EQ(notDone, c.refused);
  }
}

TEST(PlotModelTest, ColoursStayWithTheirCurves) {
  const CLasHeader header = HeaderOf({{"DEPT", "M"},
                                      {"GR", "GAPI"},
                                      {"ILD", "OHMM"},
                                      {"ILM", "OHMM"},
                                      {"LLD", "OHMM"},
                                      {"NPHI", "V/V"},
                                      {"RHOB", "G/C3"},
                                      {"AAA", ""},
                                      {"BBB", ""}});
  CPlotLayout layout = CPlotLayout::Standard(header);
  const std::vector<CurveFamily> families = FamiliesOf(header);
  auto colorOf = [&](const CPlotLayout& of) {
    std::vector<CRgb> byCurve(header.curves.size());
    const auto colors = TrackColors(of, families);
    for (std::size_t t = 0; t < of.tracks.size(); ++t)
      for (std::size_t k = 0; k < of.tracks[t].curves.size(); ++k)
        byCurve[of.tracks[t].curves[k].curve] = colors[t][k];
    return byCurve;
  };
  const std::vector<CRgb> before = colorOf(layout);
  // Distinct within every track, and the families' hues: gamma ray green, deep red, neutron blue.
  EXPECT_EQ(before[1], FamilyColor(CurveFamily::GammaRay, 0));
  EXPECT_EQ(before[2], FamilyColor(CurveFamily::ResistivityDeep, 0));
  EXPECT_EQ(before[4], FamilyColor(CurveFamily::ResistivityDeep, 1));  // a second deep resistivity
  EXPECT_NE(before[2], before[4]);
  EXPECT_EQ(before[5], FamilyColor(CurveFamily::NeutronPorosity, 0));
  EXPECT_NE(before[7], before[8]);
  // Moved about, every curve keeps its colour.
  ASSERT_TRUE(layout.MoveTrack(0, 2));
  ASSERT_TRUE(layout.MoveTrack(3, -2));
  ASSERT_TRUE(layout.MoveTrack(4, -1));
  EXPECT_EQ(colorOf(layout), before);
  // Two curves that would look alike in one track: the one that comes in takes another shade.
  CPlotLayout joined;
  CTrack both;
  both.curves = {CTrackCurve{2, {}, {}}, CTrackCurve{2, {}, {}}};
  joined.tracks.push_back(both);
  const auto colors = TrackColors(joined, families);
  EXPECT_NE(colors[0][0], colors[0][1]);
}

TEST(PlotModelTest, FillsShadeWhatTheirCurvesEnclose) {
  // GR wanders between 10 and 90; RHOB and NPHI cross where the row number passes 100:
  // density porosity above neutron porosity (RHOB left of NPHI) below it.
  test::CScratchDir dir;
  test::CTestLas made;
  made.curves = {{"DEPT", "M"}, {"GR", "GAPI"}, {"NPHI", "V/V"}, {"RHOB", "G/C3"}};
  made.rows = 200;
  made.value = [](int row, int curve) -> double {
    if (curve == 1) return row % 50 == 25 ? NAN : 50 + 40 * std::sin(row * 0.1);
    if (curve == 2) return 0.15;                        // 0.5 of the track
    return 2.25 + 0.4 * std::tanh((100 - row) / 10.0);  // from 2.65 (right of NPHI) to 1.85 (left)
  };
  ASSERT_TRUE(made.Write(dir.File("fills.las")));
  const auto data = Load(dir.File("fills.las"));
  auto lock = data->Lock();
  const CPlotLayout layout = CPlotLayout::Standard(data->Header());
  ASSERT_EQ(Describe(layout, data->Header()), "GR{G}|D|NPHI+RHOB{X}");
  const CPlotScales scales = ComputeScales(*data, layout);
  for (const int pixels : {50, 200, 800}) {  // four rows to a pixel row, one, a row over four
    SCOPED_TRACE(pixels);
    const double top = made.Depth(0);
    const double base = made.Depth(made.rows - 1);
    CRowReader rows(*data);
    CCurveTracer tracer(*data, &rows, top, base, pixels);
    // Gamma ray from the left edge to the left of the curve in every pixel row it is drawn.
    const std::vector<CFillSpan> gamma =
        FillSpans(layout.tracks[0].fills[0], tracer, scales[0][0], scales[0][0], top, base, pixels);
    ASSERT_FALSE(gamma.empty());
    for (const CFillSpan& span : gamma) {
      EXPECT_EQ(span.from, 0.0);
      EXPECT_GT(span.to, 0.06);
      EXPECT_LT(span.to, 0.61);
    }
    // The crossover: only where RHOB lies left of NPHI, from one to the other.
    const std::vector<CFillSpan> crossover =
        FillSpans(layout.tracks[1].fills[0], tracer, scales[1][1], scales[1][0], top, base, pixels);
    ASSERT_FALSE(crossover.empty());
    for (const CFillSpan& span : crossover) {
      const double depth = top + (span.pixel + 0.5) * (base - top) / pixels;
      const double row = (depth - made.start) / made.step;
      EXPECT_GT(row, 90) << span.pixel;
      EXPECT_NEAR(span.to, 0.5, 1e-9);
      EXPECT_LT(span.from, span.to);
    }
    EXPECT_GT(crossover.size(), std::size_t(pixels) * 4 / 10);
  }
}

TEST(PlotModelTest, DepthScaleRatio) {
  struct CCase {
    double ratio;
    const char* unit;
    double pixelsPerUnit;  // at 96 pixels to the inch
  };
  const CCase cases[] = {
      {200, "M", 96 / 0.0254 / 200}, {500, "m", 96 / 0.0254 / 500}, {1000, "M", 96 / 0.0254 / 1000},
      {500, "F", 96 * 12.0 / 500},   {240, "FT", 96 * 12.0 / 240},  {500, "", 96 / 0.0254 / 500},
      {500, "CM", 96 / 2.54 / 500},
  };
  for (const CCase& c : cases) {
    EXPECT_NEAR(PixelsPerDepthUnit(c.ratio, c.unit, kPictureDpi), c.pixelsPerUnit, 1e-9) << c.ratio << c.unit;
    EXPECT_NEAR(RatioOf(c.pixelsPerUnit, c.unit, kPictureDpi), c.ratio, 1e-9);
  }
  // 100 m at 1:500 on a page of 96 dpi: 20 cm, 755.9 pixels.
  EXPECT_NEAR(100 * PixelsPerDepthUnit(500, "M", kPictureDpi), 755.905, 1e-3);
  const std::pair<const char*, std::optional<double>> texts[] = {
      {"1:500", 500}, {" 1 : 200 ", 200}, {"1/1000", 1000}, {"750", 750},  {"2:500", {}},
      {"1:0", {}},    {"1:-5", {}},       {"abc", {}},      {"1:1e9", {}}, {"", {}},
  };
  for (const auto& [text, ratio] : texts) EXPECT_EQ(ParseRatio(text), ratio) << text;
}

}  // namespace
}  // namespace corvane
