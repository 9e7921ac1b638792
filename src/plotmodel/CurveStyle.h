#pragma once
// How a curve looks in a plot, from the family it belongs to (the mnemonic dictionary
// knows it): its colour, the same for a curve wherever it is moved, its family's hue
// in a shade of its own for every further curve of that family in the file; and the
// standard ends of its scale in its unit (GR 0 to 150 GAPI, NPHI 0.45 to -0.15 V/V,
// resistivities 0.2 to 2000 OHMM on a log scale), or round ends around its readings.
// Colours are data (RGB), for the painter and the track panel alike.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "mnemonics/CurveFamily.h"

namespace corvane {

struct CLasHeader;

struct CRgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const CRgb&) const = default;
};

// The family of every curve of a header (by its place in ~C), by the program's
// mnemonic dictionary; Unknown for a name it does not list.
std::vector<CurveFamily> FamiliesOf(const CLasHeader& header);

// The colour of the `rank`-th curve (0 first) of a family in a file. Curves of no
// known family take the colours of a palette in turn, by their rank among them.
CRgb FamilyColor(CurveFamily family, std::size_t rank);
// The colour of every curve of a file, by its family and its rank within it.
std::vector<CRgb> CurveColors(const std::vector<CurveFamily>& families);

// The colour of a fraction (0..1, clamped) of a colour scale: dark blue through green
// to yellow, even in lightness, as a crossplot colours its points by a third curve and
// its bins by their counts.
CRgb RampColor(double fraction);

// Families whose scale runs from great values on the left to small ones on the right
// (neutron porosity, sonic slowness).
bool IsReversedFamily(CurveFamily family);

// The standard scale ends of a curve of `family` whose unit is `unit` (any spelling
// the dictionary knows), for a linear or a log track; none where the family has none in
// that unit or for that kind of scale.
std::optional<std::pair<double, double>> StandardEnds(CurveFamily family, std::string_view unit, bool log);

// Round ends around the readings low..high (low <= high): on a linear scale whole
// multiples of the finest step of 1, 2 or 5 times a power of ten that spans them in at
// most ten steps; on a log scale whole decades (positive readings only).
std::pair<double, double> RoundEnds(double low, double high, bool log);

}  // namespace corvane
