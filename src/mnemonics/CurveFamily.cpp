#include "mnemonics/CurveFamily.h"

#include <array>
#include <string>
#include <utility>

#include "platform/AsciiText.h"

namespace corvane {
namespace {

constexpr std::array<std::pair<CurveFamily, std::string_view>, 34> kNames = {{
    {CurveFamily::Depth, "depth"},
    {CurveFamily::Time, "time"},
    {CurveFamily::GammaRay, "gamma ray"},
    {CurveFamily::SpectralGamma, "spectral gamma"},
    {CurveFamily::SpontaneousPotential, "sp"},
    {CurveFamily::Caliper, "caliper"},
    {CurveFamily::BitSize, "bit size"},
    {CurveFamily::ResistivityDeep, "resistivity deep"},
    {CurveFamily::ResistivityMedium, "resistivity medium"},
    {CurveFamily::ResistivityShallow, "resistivity shallow"},
    {CurveFamily::ResistivityMicro, "resistivity micro"},
    {CurveFamily::Resistivity, "resistivity"},
    {CurveFamily::Conductivity, "conductivity"},
    {CurveFamily::NeutronPorosity, "neutron porosity"},
    {CurveFamily::Density, "density"},
    {CurveFamily::DensityCorrection, "density correction"},
    {CurveFamily::PhotoElectric, "pe"},
    {CurveFamily::SonicCompressional, "sonic compressional"},
    {CurveFamily::SonicShear, "sonic shear"},
    {CurveFamily::Porosity, "porosity"},
    {CurveFamily::Saturation, "saturation"},
    {CurveFamily::Volume, "volume"},
    {CurveFamily::Permeability, "permeability"},
    {CurveFamily::Nmr, "nmr"},
    {CurveFamily::Temperature, "temperature"},
    {CurveFamily::Tension, "tension"},
    {CurveFamily::Pressure, "pressure"},
    {CurveFamily::Drilling, "drilling"},
    {CurveFamily::Gas, "gas"},
    {CurveFamily::Orientation, "orientation"},
    {CurveFamily::Position, "position"},
    {CurveFamily::Elastic, "elastic"},
    {CurveFamily::Lithology, "lithology"},
    {CurveFamily::Unknown, "unknown"},
}};

constexpr std::array<CurveFamily, kNames.size()> kFamilies = [] {
  std::array<CurveFamily, kNames.size()> families{};
  for (std::size_t i = 0; i < kNames.size(); ++i) families[i] = kNames[i].first;
  return families;
}();

// Lower case, blanks at the ends dropped and runs of blanks inside made one.
std::string FoldedName(std::string_view name) {
  std::string folded;
  for (char c : TrimCSpace(name)) {
    if (IsCSpace(c)) {
      if (folded.empty() || folded.back() != ' ') folded.push_back(' ');
    } else {
      folded.push_back(ToLowerAscii(c));
    }
  }
  return folded;
}

}  // namespace

std::string_view FamilyName(CurveFamily family) {
  for (const auto& [value, name] : kNames)
    if (value == family) return name;
  return "unknown";
}

std::optional<CurveFamily> ParseFamily(std::string_view name) {
  const std::string folded = FoldedName(name);
  for (const auto& [value, known] : kNames)
    if (value != CurveFamily::Unknown && known == folded) return value;
  return std::nullopt;
}

std::span<const CurveFamily> AllFamilies() { return kFamilies; }

bool IsResistivity(CurveFamily family) {
  return family == CurveFamily::ResistivityDeep || family == CurveFamily::ResistivityMedium ||
         family == CurveFamily::ResistivityShallow || family == CurveFamily::ResistivityMicro ||
         family == CurveFamily::Resistivity;
}

bool IsSonic(CurveFamily family) {
  return family == CurveFamily::SonicCompressional || family == CurveFamily::SonicShear;
}

}  // namespace corvane
