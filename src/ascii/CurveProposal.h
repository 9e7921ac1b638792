#pragma once
// Proposes the curves of a file from its heading lines: each column's LAS mnemonic,
// units and description, from the names and units the file writes above its data and
// the mnemonic dictionary; the index (depth) column is proposed as DEPT.
#include <string>
#include <string_view>
#include <vector>

#include "mnemonics/MnemonicDictionary.h"
#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// A heading line as the file holds it, with its place (lines before it in the file).
struct CHeadingLine {
  int lineIndex = 0;
  std::string text;
};

struct CProposedCurve {
  CCurveDef curve;         // heading, units and description; no API code
  std::string sourceName;  // the column's name as the file writes it; empty when none
  std::string sourceUnit;  // its unit as the file writes it; empty when none
  CurveFamily family = CurveFamily::Unknown;
  bool inDictionary = false;        // the name is one of the dictionary's
  bool unitFromDictionary = false;  // the file gives no unit: the dictionary's is proposed
  bool named = false;               // the file names the column (else "COLn" is proposed)
};

// The unit proposed for an index whose file names none: the one the LAS header gives
// STRT, STOP and STEP of such an index.
inline constexpr std::string_view kAssumedIndexUnit = "M";

struct CCurveProposal {
  std::vector<CProposedCurve> curves;  // one per column; empty when nothing is proposed
  int indexColumn = -1;                // the column proposed as DEPT
  int namesLine = -1;                  // the lines (0-based) the names and units came from
  int unitsLine = -1;
  // The index names no unit: M proposed, the unit the LAS header gives STRT, STOP and
  // STEP of an index without one, so that the curve and the header agree.
  bool indexUnitAssumed = false;
  // One line for the user: "Proposed: 31 curves named from lines 1 and 2; MD taken as
  // DEPT, the index", or why nothing is proposed.
  std::string account;

  bool Proposed() const { return !curves.empty(); }
  // The curve list of the proposal (CCurveDef per column).
  std::vector<CCurveDef> CurveDefs() const;
};

// The proposal for `columnCount` columns (the curve total; 0 or less: as many as the
// names line holds) from the marked heading lines, cut by the layout of `layout` (skip
// width, fixed width, delimiter) as the data lines are. Among the lines, a line of
// names and a line of units are told apart; names may carry their units ("MD[m]",
// "GR (API)"). `firstDataLine`, when given, places the columns of a blank-separated
// file whose names hold blanks ("Elapsed Time") or whose units line leaves some out.
CCurveProposal ProposeCurves(const std::vector<CHeadingLine>& headingLines, const CConversionSetup& layout,
                             int columnCount, const CMnemonicDictionary& dictionary,
                             std::string_view firstDataLine = std::string_view());

// The proposal for a setup whose heading lines are marked (headingsText, with their
// places in headingLines; without them each line is looked for in the file) and whose
// digit samples are gathered (the curve total): the first data line is read from its
// ASCII file. Fails, with the reason in the account, when the file cannot be read.
CResult ProposeCurvesFor(const CConversionSetup& setup, const CMnemonicDictionary& dictionary,
                         CCurveProposal& proposal);

}  // namespace corvane
