#include "plotmodel/CurveStyle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "mnemonics/MnemonicDictionary.h"
#include "platform/AsciiText.h"
#include "plotmodel/LasHeader.h"

namespace corvane {
namespace {

struct CFamilyColor {
  CurveFamily family;
  CRgb color;
};

// The hues of log plots as petrophysicists know them: gamma ray green, deep resistivity
// red and shallow green, neutron blue against density red.
constexpr std::array<CFamilyColor, 21> kFamilyColors = {{
    {CurveFamily::GammaRay, {0x00, 0x80, 0x00}},
    {CurveFamily::SpectralGamma, {0x8b, 0x45, 0x13}},
    {CurveFamily::SpontaneousPotential, {0x20, 0x40, 0xa0}},
    {CurveFamily::Caliper, {0x30, 0x30, 0x30}},
    {CurveFamily::BitSize, {0x90, 0x90, 0x90}},
    {CurveFamily::ResistivityDeep, {0xc0, 0x10, 0x10}},
    {CurveFamily::ResistivityMedium, {0x10, 0x50, 0xd0}},
    {CurveFamily::ResistivityShallow, {0x10, 0x90, 0x40}},
    {CurveFamily::ResistivityMicro, {0xd0, 0x70, 0x00}},
    {CurveFamily::Resistivity, {0x90, 0x20, 0x90}},
    {CurveFamily::Conductivity, {0xb0, 0x30, 0x60}},
    {CurveFamily::NeutronPorosity, {0x10, 0x40, 0xd0}},
    {CurveFamily::Density, {0xd0, 0x10, 0x10}},
    {CurveFamily::DensityCorrection, {0x70, 0x70, 0x70}},
    {CurveFamily::PhotoElectric, {0x90, 0x00, 0x90}},
    {CurveFamily::SonicCompressional, {0x60, 0x20, 0xa0}},
    {CurveFamily::SonicShear, {0x00, 0x80, 0x80}},
    {CurveFamily::Porosity, {0x00, 0x70, 0xc0}},
    {CurveFamily::Saturation, {0x00, 0x90, 0xb0}},
    {CurveFamily::Volume, {0x8b, 0x5a, 0x2b}},
    {CurveFamily::Temperature, {0xe0, 0x40, 0x00}},
}};

// Curves of the other families, in turn.
constexpr std::array<CRgb, 10> kPalette = {{{0x1f, 0x4e, 0x9c},
                                            {0xc0, 0x39, 0x2b},
                                            {0x2e, 0x8b, 0x57},
                                            {0x8e, 0x44, 0xad},
                                            {0xd3, 0x54, 0x00},
                                            {0x16, 0xa0, 0x85},
                                            {0x7f, 0x6a, 0x00},
                                            {0xb0, 0x2a, 0x7a},
                                            {0x34, 0x49, 0x5e},
                                            {0x6d, 0x8b, 0x00}}};

std::uint8_t Channel(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// Another shade of a colour for the further curves of a family: darker, lighter,
// darker still, ...
CRgb Shade(CRgb color, std::size_t rank) {
  if (rank == 0) return color;
  const std::size_t step = (rank + 1) / 2;  // 1, 1, 2, 2, ...: a darker and a lighter shade each
  const double level = std::min(0.75, 0.25 * static_cast<double>(step));
  auto mix = [&](std::uint8_t c) {
    return rank % 2 == 1 ? Channel(c * (1 - level)) : Channel(c + (255 - c) * level);
  };
  return {mix(color.r), mix(color.g), mix(color.b)};
}

// The unit as the dictionary writes it ("g/cc" -> "G/C3"), else in upper case.
std::string UnitKey(std::string_view unit) {
  if (const auto conventional = CMnemonicDictionary::Program().ConventionalUnit(unit)) return *conventional;
  std::string key;
  for (char c : TrimCSpace(unit)) key += ToUpperAscii(c);
  return key;
}

struct CStandard {
  CurveFamily family;
  const char* unit;
  bool log;
  double left;
  double right;
};

// Standard scale ends; metric ones are the imperial ends converted and rounded.
constexpr std::array<CStandard, 24> kStandards = {{
    {CurveFamily::GammaRay, "GAPI", false, 0, 150},
    {CurveFamily::Caliper, "IN", false, 6, 16},
    {CurveFamily::Caliper, "MM", false, 150, 400},
    {CurveFamily::Caliper, "CM", false, 15, 40},
    {CurveFamily::BitSize, "IN", false, 6, 16},
    {CurveFamily::BitSize, "MM", false, 150, 400},
    {CurveFamily::BitSize, "CM", false, 15, 40},
    {CurveFamily::ResistivityDeep, "OHMM", true, 0.2, 2000},
    {CurveFamily::ResistivityMedium, "OHMM", true, 0.2, 2000},
    {CurveFamily::ResistivityShallow, "OHMM", true, 0.2, 2000},
    {CurveFamily::ResistivityMicro, "OHMM", true, 0.2, 2000},
    {CurveFamily::Resistivity, "OHMM", true, 0.2, 2000},
    {CurveFamily::NeutronPorosity, "V/V", false, 0.45, -0.15},
    {CurveFamily::NeutronPorosity, "PU", false, 45, -15},
    {CurveFamily::NeutronPorosity, "%", false, 45, -15},
    {CurveFamily::Density, "G/C3", false, 1.95, 2.95},
    {CurveFamily::Density, "K/M3", false, 1950, 2950},
    {CurveFamily::DensityCorrection, "G/C3", false, -0.25, 0.25},
    {CurveFamily::DensityCorrection, "K/M3", false, -250, 250},
    {CurveFamily::PhotoElectric, "B/E", false, 0, 10},
    {CurveFamily::SonicCompressional, "US/F", false, 140, 40},
    {CurveFamily::SonicCompressional, "US/M", false, 460, 130},
    {CurveFamily::SonicShear, "US/F", false, 240, 40},
    {CurveFamily::SonicShear, "US/M", false, 790, 130},
}};

}  // namespace

std::vector<CurveFamily> FamiliesOf(const CLasHeader& header) {
  const CMnemonicDictionary& dictionary = CMnemonicDictionary::Program();
  std::vector<CurveFamily> families;
  families.reserve(header.curves.size());
  for (const CCurveInfo& curve : header.curves) families.push_back(dictionary.FamilyOf(curve.mnemonic));
  return families;
}

CRgb FamilyColor(CurveFamily family, std::size_t rank) {
  for (const CFamilyColor& known : kFamilyColors)
    if (known.family == family) return Shade(known.color, rank);
  return Shade(kPalette[rank % kPalette.size()], rank / kPalette.size());
}

std::vector<CRgb> CurveColors(const std::vector<CurveFamily>& families) {
  std::vector<CRgb> colors;
  colors.reserve(families.size());
  for (std::size_t c = 0; c < families.size(); ++c) {
    // Curves of no colour of their family's own share the palette.
    const bool ownColor = std::any_of(kFamilyColors.begin(), kFamilyColors.end(),
                                      [&](const CFamilyColor& known) { return known.family == families[c]; });
    const std::size_t rank = static_cast<std::size_t>(
        std::count_if(families.begin(), families.begin() + static_cast<long>(c), [&](CurveFamily other) {
          return ownColor ? other == families[c]
                          : std::none_of(kFamilyColors.begin(), kFamilyColors.end(),
                                         [&](const CFamilyColor& known) { return known.family == other; });
        }));
    colors.push_back(FamilyColor(ownColor ? families[c] : CurveFamily::Unknown, rank));
  }
  return colors;
}

CRgb RampColor(double fraction) {
  static constexpr std::array<CRgb, 5> kStops = {
      {{0x44, 0x01, 0x54}, {0x3b, 0x52, 0x8b}, {0x21, 0x91, 0x8c}, {0x5e, 0xc9, 0x62}, {0xfd, 0xe7, 0x25}}};
  if (std::isnan(fraction)) fraction = 0;
  const double at = std::clamp(fraction, 0.0, 1.0) * (kStops.size() - 1);
  const auto below = std::min(static_cast<std::size_t>(at), kStops.size() - 2);
  const double t = at - static_cast<double>(below);
  const CRgb a = kStops[below];
  const CRgb b = kStops[below + 1];
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}

bool IsReversedFamily(CurveFamily family) {
  return family == CurveFamily::NeutronPorosity || IsSonic(family);
}

std::optional<std::pair<double, double>> StandardEnds(CurveFamily family, std::string_view unit, bool log) {
  const std::string key = UnitKey(unit);
  for (const CStandard& standard : kStandards)
    if (standard.family == family && standard.log == log && key == standard.unit)
      return std::make_pair(standard.left, standard.right);
  return std::nullopt;
}

std::pair<double, double> RoundEnds(double low, double high, bool log) {
  if (log) {
    if (!(low > 0)) low = high > 0 ? high / 10 : 0.1;
    if (!(high > 0)) high = 1000;
    double first = std::floor(std::log10(low) + 1e-9);
    double last = std::ceil(std::log10(high) - 1e-9);
    if (last <= first) last = first + 1;
    return {std::pow(10.0, first), std::pow(10.0, last)};
  }
  if (!(high > low)) {
    // A steady reading: a band around it.
    const double spread = low == 0 ? 1.0 : std::fabs(low) * 0.1;
    low -= spread;
    high += spread;
  }
  const double decade = std::pow(10.0, std::floor(std::log10((high - low) / 10)));
  for (double factor : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
    const double step = decade * factor;
    const double first = std::floor(low / step + 1e-9);
    const double last = std::ceil(high / step - 1e-9);
    if (last - first <= 10) {
      // As a decimal number would write them (0.3, not 0.30000000000000004).
      auto tidy = [step](double count) {
        const double digits = std::max(0.0, -std::floor(std::log10(step)));
        const double scale = std::pow(10.0, digits);
        return std::round(count * step * scale) / scale + 0.0;  // never -0
      };
      return {tidy(first), tidy(last)};
    }
  }
  return {low, high};
}

}  // namespace corvane
