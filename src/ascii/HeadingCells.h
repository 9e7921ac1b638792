#pragma once
// The cells of a heading line (the names or the units of the curves) cut as the data
// lines are cut, and the making of LAS mnemonics and units from what they hold.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "mnemonics/MnemonicDictionary.h"
#include "setup/ConversionSetup.h"

namespace corvane {

struct CHeadingCell {
  std::string text;       // trimmed
  std::size_t begin = 0;  // where the text stands in the line, after the skip width
  std::size_t end = 0;    // one past its last character
  bool placed = false;    // the place is known
};

// The cells of a line by the setup's layout (skip width, fixed width, delimiter), each
// trimmed, with its place. A byte-order mark at the start of the line is dropped, and a
// comment or section mark before the names ("#", "~A") counts as blanks.
std::vector<CHeadingCell> CutHeadingLine(std::string_view line, const CConversionSetup& layout);

// The cells of a data line by the same layout, for the places of its columns.
std::vector<CHeadingCell> CutDataLine(std::string_view line, const CConversionSetup& layout);

// "MD[m]", "GR(API)", "DEPTH (mbsf)", "RHOB {g/cm3}": the name and the unit written in
// brackets at its end; a cell that is only a bracketed unit ("(m)") has no name.
struct CNameAndUnit {
  std::string name;
  std::string unit;
  bool bracketed = false;  // the unit was written in brackets
};
CNameAndUnit SplitNameAndUnit(std::string_view cell);

// True for a cell that is only a bracketed unit: "(m)", "[deg]", "{g/cm3}".
bool IsBracketedUnit(std::string_view cell);

// A valid LAS mnemonic made of a name: blanks, dots, colons and any byte that is not
// printable ASCII become underscores, runs of them one, none at the ends. Empty when
// nothing is left.
std::string LasMnemonicFrom(std::string_view name);

// A unit as LAS writes it: the dictionary's conventional spelling when it lists the
// unit ("ohm.m" -> "OHMM"), else the unit without blanks, colons made underscores.
std::string LasUnitFrom(std::string_view unit, const CMnemonicDictionary& dictionary);

// A description a LAS reader takes whole: no colon (the reader would end the data
// there), no line end.
std::string LasDescriptionFrom(std::string_view text);

}  // namespace corvane
