#pragma once
// The families that log curves belong to: what a curve measures, so that a plot can
// give the curves of one family a track, a scale and colours of their own, and a
// proposal can tell the index among the columns.
#include <optional>
#include <span>
#include <string_view>

namespace corvane {

enum class CurveFamily {
  Unknown,  // not in the dictionary
  Depth,
  Time,
  GammaRay,
  SpectralGamma,
  SpontaneousPotential,
  Caliper,
  BitSize,
  ResistivityDeep,
  ResistivityMedium,
  ResistivityShallow,
  ResistivityMicro,
  Resistivity,  // reach not known
  Conductivity,
  NeutronPorosity,
  Density,
  DensityCorrection,
  PhotoElectric,
  SonicCompressional,
  SonicShear,
  Porosity,
  Saturation,
  Volume,
  Permeability,
  Nmr,
  Temperature,
  Tension,
  Pressure,
  Drilling,
  Gas,
  Orientation,
  Position,
  Elastic,
  Lithology,
};

// The family's name as the dictionary file writes it ("resistivity deep", "pe").
std::string_view FamilyName(CurveFamily family);

// The family a name of the dictionary file stands for: letter case and runs of blanks
// do not count. None for a name that is no family ("unknown" included).
std::optional<CurveFamily> ParseFamily(std::string_view name);

// Every family, in the order of the enumeration, Unknown last.
std::span<const CurveFamily> AllFamilies();

// Resistivity of any reach (deep, medium, shallow, micro or not known): one track of
// a plot, on a logarithmic scale.
bool IsResistivity(CurveFamily family);

// Compressional or shear slowness or velocity.
bool IsSonic(CurveFamily family);

}  // namespace corvane
