#include "ascii/CurveProposal.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <tuple>

#include "ascii/ColumnSplitter.h"
#include "ascii/HeadingCells.h"
#include "platform/AsciiText.h"
#include "platform/FileError.h"
#include "platform/TextReader.h"

namespace corvane {
namespace {

// The index the LAS writer recognises, and what every index alias proposes.
constexpr std::string_view kIndexMnemonic = "DEPT";
// Unnamed columns listed by name in the account; more are counted.
constexpr std::size_t kUnnamedListed = 3;

struct CLine {
  int index = 0;
  std::vector<CHeadingCell> cells;
  int filled = 0;      // cells that are not empty
  int unitCells = 0;   // cells that look like units
  int knownNames = 0;  // cells whose name the dictionary knows
  // Mostly units, or some units and no name the dictionary knows ("m,kg m2").
  bool UnitLike() const {
    return filled > 0 && (2 * unitCells > filled || (unitCells > 0 && knownNames == 0));
  }
};

bool CutsAtBlanks(const CConversionSetup& layout) {
  return layout.fixedWidth <= 0 && GetDelimiterSet(layout.delimiterText).find(' ') != std::string::npos;
}

bool LooksLikeUnit(std::string_view cell, const CMnemonicDictionary& dictionary) {
  // "(m)" is a unit; "RHOB {g/cm3}" a name that carries one.
  if (const CNameAndUnit split = SplitNameAndUnit(cell); split.bracketed) return split.name.empty();
  if (dictionary.ConventionalUnit(cell)) return true;
  return cell.find_first_of("/%") != std::string_view::npos;
}

// Cut at blanks, "DEPTH (mbsf)" is two cells: the bracketed unit joins its name.
std::vector<CHeadingCell> JoinBracketedUnits(std::vector<CHeadingCell> cells) {
  std::vector<CHeadingCell> joined;
  for (CHeadingCell& cell : cells) {
    if (!joined.empty() && IsBracketedUnit(cell.text)) {
      CHeadingCell& name = joined.back();
      if (!name.text.empty() && !IsBracketedUnit(name.text) && !SplitNameAndUnit(name.text).bracketed) {
        name.text += ' ';
        name.text += cell.text;
        name.end = cell.end;
        name.placed = name.placed && cell.placed;
        continue;
      }
    }
    joined.push_back(std::move(cell));
  }
  return joined;
}

bool AllPlaced(const std::vector<CHeadingCell>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const CHeadingCell& c) { return c.placed; });
}

// The column whose place a cell shares most; without any shared character the
// nearest one.
std::size_t NearestColumn(const CHeadingCell& cell, const std::vector<CHeadingCell>& reference) {
  std::size_t best = 0;
  std::size_t bestOverlap = 0;
  std::size_t bestGap = static_cast<std::size_t>(-1);
  for (std::size_t k = 0; k < reference.size(); ++k) {
    const CHeadingCell& column = reference[k];
    const std::size_t from = std::max(cell.begin, column.begin);
    const std::size_t to = std::min(cell.end, column.end);
    const std::size_t overlap = to > from ? to - from : 0;
    const std::size_t gap = to > from ? 0 : from - to;
    if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && gap < bestGap)) {
      best = k;
      bestOverlap = overlap;
      bestGap = gap;
    }
  }
  return best;
}

// The text of every column from the cells of a line: one cell per column when the
// counts agree, else by place (cells cut at blanks, the columns placed by
// `reference`), else by order for cut at other delimiters when the line has fewer
// cells. None when the cells cannot be given to the columns.
std::optional<std::vector<std::string>> CellsOfColumns(std::vector<CHeadingCell> cells, std::size_t columns,
                                                       const std::vector<CHeadingCell>* reference,
                                                       bool atBlanks) {
  // Empty cells after the last column (a delimiter at the end of the line) name nothing.
  while (cells.size() > columns && cells.back().text.empty()) cells.pop_back();
  std::vector<std::string> texts(columns);
  if (cells.size() == columns) {
    for (std::size_t k = 0; k < columns; ++k) texts[k] = cells[k].text;
    return texts;
  }
  const bool byPlace = atBlanks && reference != nullptr && reference->size() == columns &&
                       AllPlaced(*reference) && AllPlaced(cells);
  if (byPlace) {
    for (const CHeadingCell& cell : cells) {
      if (cell.text.empty()) continue;
      std::string& text = texts[NearestColumn(cell, *reference)];
      if (!text.empty()) text += ' ';
      text += cell.text;
    }
    return texts;
  }
  if (!atBlanks && cells.size() < columns) {
    for (std::size_t k = 0; k < cells.size(); ++k) texts[k] = cells[k].text;
    return texts;
  }
  return std::nullopt;
}

std::string LineNumber(int index) { return std::to_string(index + 1); }

std::string Plural(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

CCurveProposal NothingProposed(std::string why) {
  CCurveProposal proposal;
  proposal.account = "Nothing proposed: " + std::move(why);
  return proposal;
}

// Gives every column a mnemonic of its own: the index first, then names that are
// already their mnemonic, then the others (the dictionary's mnemonic when free, else
// the name as written, else a numbered one).
void ChooseHeadings(std::vector<CProposedCurve>& curves, const std::vector<const CMnemonicEntry*>& entries,
                    const std::vector<std::string>& written, int indexColumn) {
  std::set<std::string> taken;
  auto claim = [&taken](const std::string& name) {
    if (name.empty() || taken.count(ToUpperAscii(name)) != 0) return false;
    taken.insert(ToUpperAscii(name));
    return true;
  };
  auto numbered = [&taken, &claim](const std::string& base) {
    for (int n = 2;; ++n) {
      std::string name = base + "_" + std::to_string(n);
      if (claim(name)) return name;
    }
  };
  const std::size_t count = curves.size();
  std::vector<bool> done(count, false);
  if (indexColumn >= 0) {
    curves[static_cast<std::size_t>(indexColumn)].curve.heading = std::string(kIndexMnemonic);
    claim(std::string(kIndexMnemonic));
    done[static_cast<std::size_t>(indexColumn)] = true;
  }
  // The mnemonic each column asks for: an index alias that is not the index keeps its
  // own name, so that only one column reads DEPT.
  std::vector<std::string> wanted(count);
  for (std::size_t k = 0; k < count; ++k) {
    const bool otherIndex = entries[k] != nullptr && EqualNoCase(entries[k]->mnemonic, kIndexMnemonic);
    wanted[k] = entries[k] != nullptr && !otherIndex ? entries[k]->mnemonic : written[k];
  }
  for (std::size_t k = 0; k < count; ++k) {
    if (done[k] || wanted[k].empty() || MnemonicKey(written[k]) != MnemonicKey(wanted[k])) continue;
    if (claim(wanted[k])) {
      curves[k].curve.heading = wanted[k];
      done[k] = true;
    }
  }
  for (std::size_t k = 0; k < count; ++k) {
    if (done[k]) continue;
    const std::string base = !wanted[k].empty() ? wanted[k] : "COL" + std::to_string(k + 1);
    if (claim(base))
      curves[k].curve.heading = base;
    else if (claim(written[k]))
      curves[k].curve.heading = written[k];
    else
      curves[k].curve.heading = numbered(base);
  }
}

std::string Account(const CCurveProposal& proposal) {
  std::string account = "Proposed: " + Plural(proposal.curves.size(), "curve", "curves") + " named from ";
  if (proposal.unitsLine >= 0)
    account += "lines " + LineNumber(std::min(proposal.namesLine, proposal.unitsLine)) + " and " +
               LineNumber(std::max(proposal.namesLine, proposal.unitsLine));
  else
    account += "line " + LineNumber(proposal.namesLine);

  if (proposal.indexColumn >= 0) {
    const CProposedCurve& index = proposal.curves[static_cast<std::size_t>(proposal.indexColumn)];
    if (EqualNoCase(index.sourceName, kIndexMnemonic))
      account += "; DEPT is the index";
    else
      account += "; " + index.sourceName + " taken as DEPT, the index";
    if (proposal.indexColumn > 0) account += " (column " + std::to_string(proposal.indexColumn + 1) + ")";
    if (proposal.indexUnitAssumed)
      account += "; its unit not given: M, as the LAS header says (F if in feet)";
  } else {
    account += "; no depth column found: name the index DEPT";
  }

  std::size_t unknown = 0;
  std::size_t dictionaryUnits = 0;
  std::vector<std::string> unnamed;
  for (const CProposedCurve& curve : proposal.curves) {
    if (curve.named && !curve.inDictionary) ++unknown;
    if (curve.unitFromDictionary) ++dictionaryUnits;
    if (!curve.named) unnamed.push_back(curve.curve.heading);
  }
  if (unknown > 0) account += "; " + Plural(unknown, "name", "names") + " not in the dictionary";
  if (dictionaryUnits > 0)
    account += "; units of " + Plural(dictionaryUnits, "curve", "curves") + " from the dictionary";
  if (!unnamed.empty()) {
    account += "; " + Plural(unnamed.size(), "column", "columns") + " without a name: ";
    for (std::size_t i = 0; i < unnamed.size() && i < kUnnamedListed; ++i)
      account += (i > 0 ? ", " : "") + unnamed[i];
    if (unnamed.size() > kUnnamedListed) account += ", ...";
  }
  return account;
}

}  // namespace

std::vector<CCurveDef> CCurveProposal::CurveDefs() const {
  std::vector<CCurveDef> defs;
  defs.reserve(curves.size());
  for (const CProposedCurve& proposed : curves) defs.push_back(proposed.curve);
  return defs;
}

CCurveProposal ProposeCurves(const std::vector<CHeadingLine>& headingLines, const CConversionSetup& layout,
                             int columnCount, const CMnemonicDictionary& dictionary,
                             std::string_view firstDataLine) {
  if (headingLines.empty()) return NothingProposed("no heading lines are marked.");
  const bool atBlanks = CutsAtBlanks(layout);

  std::vector<CLine> lines;
  for (const CHeadingLine& heading : headingLines) {
    CLine line;
    line.index = heading.lineIndex;
    line.cells = CutHeadingLine(heading.text, layout);
    if (atBlanks) line.cells = JoinBracketedUnits(std::move(line.cells));
    for (const CHeadingCell& cell : line.cells) {
      if (cell.text.empty()) continue;
      ++line.filled;
      if (LooksLikeUnit(cell.text, dictionary)) ++line.unitCells;
      if (dictionary.Find(SplitNameAndUnit(cell.text).name) != nullptr) ++line.knownNames;
    }
    if (line.filled > 0) lines.push_back(std::move(line));
  }
  if (lines.empty()) return NothingProposed("the marked heading lines are blank.");

  // The names: of the lines that are not units, the one that fits the columns, holds
  // the most names the dictionary knows, and stands nearest the data.
  const CLine* names = nullptr;
  for (const CLine& line : lines) {
    if (line.UnitLike()) continue;
    auto rank = [columnCount](const CLine& l) {
      return std::tuple(l.filled == columnCount, l.knownNames, l.index);
    };
    if (names == nullptr || rank(line) > rank(*names)) names = &line;
  }
  if (names == nullptr) return NothingProposed("the marked heading lines hold units, no names.");
  // The units: a line of units that fits the columns, else the one nearest the names.
  const CLine* units = nullptr;
  for (const CLine& line : lines) {
    if (&line == names || !line.UnitLike()) continue;
    auto rank = [columnCount, names](const CLine& l) {
      return std::tuple(l.filled == columnCount, -std::abs(l.index - names->index));
    };
    if (units == nullptr || rank(line) > rank(*units)) units = &line;
  }

  std::size_t columns = static_cast<std::size_t>(std::max(columnCount, 0));
  if (columns == 0) {
    // As many as the names line holds, the empty cells after its last name aside.
    for (std::size_t k = 0; k < names->cells.size(); ++k)
      if (!names->cells[k].text.empty()) columns = k + 1;
  }
  if (columns == 0) return NothingProposed("the data has no columns.");
  const std::vector<CHeadingCell> dataCells =
      firstDataLine.empty() ? std::vector<CHeadingCell>() : CutDataLine(firstDataLine, layout);
  const std::vector<CHeadingCell>* dataPlaces = dataCells.size() == columns ? &dataCells : nullptr;

  const std::optional<std::vector<std::string>> nameTexts =
      CellsOfColumns(names->cells, columns, dataPlaces, atBlanks);
  if (!nameTexts)
    return NothingProposed("line " + LineNumber(names->index) + " holds " +
                           Plural(static_cast<std::size_t>(names->filled), "name", "names") + " for " +
                           Plural(columns, "column", "columns") + ".");
  std::optional<std::vector<std::string>> unitTexts;
  if (units != nullptr) {
    // Units stand under their names; the names line places them when it fits the columns.
    const bool namesFit = names->cells.size() == columns;
    unitTexts = CellsOfColumns(units->cells, columns, namesFit ? &names->cells : dataPlaces, atBlanks);
  }

  CCurveProposal proposal;
  proposal.namesLine = names->index;
  proposal.unitsLine = unitTexts ? units->index : -1;
  proposal.curves.resize(columns);
  std::vector<const CMnemonicEntry*> entries(columns, nullptr);
  std::vector<std::string> written(columns);
  for (std::size_t k = 0; k < columns; ++k) {
    CProposedCurve& curve = proposal.curves[k];
    const CNameAndUnit split = SplitNameAndUnit((*nameTexts)[k]);
    std::string unitText = unitTexts ? (*unitTexts)[k] : std::string();
    if (IsBracketedUnit(unitText))
      unitText = std::string(TrimCSpace(unitText.substr(1, unitText.size() - 2)));
    curve.sourceName = split.name;
    curve.sourceUnit = !unitText.empty() ? unitText : split.unit;
    written[k] = LasMnemonicFrom(split.name);
    curve.named = !written[k].empty();
    entries[k] = curve.named ? dictionary.Find(split.name) : nullptr;
    curve.inDictionary = entries[k] != nullptr;
    if (curve.inDictionary) curve.family = entries[k]->family;
    if (proposal.indexColumn < 0 && curve.inDictionary && EqualNoCase(entries[k]->mnemonic, kIndexMnemonic))
      proposal.indexColumn = static_cast<int>(k);

    if (!curve.sourceUnit.empty()) {
      curve.curve.units = LasUnitFrom(curve.sourceUnit, dictionary);
    } else if (curve.inDictionary && !entries[k]->unit.empty()) {
      curve.curve.units = entries[k]->unit;
      curve.unitFromDictionary = true;
    }
  }
  ChooseHeadings(proposal.curves, entries, written, proposal.indexColumn);
  if (proposal.indexColumn >= 0) {
    CCurveDef& index = proposal.curves[static_cast<std::size_t>(proposal.indexColumn)].curve;
    if (index.units.empty()) {
      index.units = std::string(kAssumedIndexUnit);
      proposal.indexUnitAssumed = true;
    }
  }

  for (std::size_t k = 0; k < columns; ++k) {
    CProposedCurve& curve = proposal.curves[k];
    const std::string name = LasDescriptionFrom(curve.sourceName);
    if (curve.inDictionary) {
      curve.curve.description = entries[k]->description;
      // What the file called it stays readable when the heading says it otherwise.
      if (MnemonicKey(name) != MnemonicKey(curve.curve.heading)) curve.curve.description += " (" + name + ")";
    } else if (!curve.named) {
      curve.curve.description = "Column " + std::to_string(k + 1) + ", not named in the file";
    } else if (name != curve.curve.heading) {
      curve.curve.description = name;
    }
  }
  proposal.account = Account(proposal);
  return proposal;
}

CResult ProposeCurvesFor(const CConversionSetup& setup, const CMnemonicDictionary& dictionary,
                         CCurveProposal& proposal) {
  const std::vector<std::string> texts = SplitTextLines(setup.headingsText);
  std::vector<CHeadingLine> headings;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const bool placed = setup.headingLines.size() == texts.size();
    headings.push_back({placed ? setup.headingLines[i] : -1, texts[i]});
  }
  std::string dataLine;
  try {
    // The lines up to the data are read as the samples read them.
    CTextReader reader;
    reader.Open(setup.asciiFilePath, false);
    std::string_view line;
    for (std::int32_t i = 0; i <= setup.firstDigitLineIndex && reader.NextLine(line); ++i) {
      if (i == setup.firstDigitLineIndex) {
        dataLine.assign(line);
        break;
      }
      for (CHeadingLine& heading : headings)
        if (heading.lineIndex < 0 && heading.text == TrimLineEnd(line)) heading.lineIndex = i;
    }
  } catch (const CFileError& error) {
    proposal = NothingProposed(error.Result().Reason());
    return error.Result();
  }
  proposal = ProposeCurves(headings, setup, setup.CurveTotal(), dictionary, dataLine);
  return CResult::Done();
}

}  // namespace corvane
