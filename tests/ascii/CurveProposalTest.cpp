#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "ascii/CurveProposal.h"
#include "ascii/HeadingCells.h"

namespace corvane {
namespace {

using Texts = std::vector<std::string>;

struct CHeadingStyle {
  const char* style;
  std::string layout;  // the delimiter text, then "fixed N" and "skip N" when given
  int columns = 0;
  Texts lines;               // the marked heading lines, consecutive
  Texts headings;            // empty: nothing is proposed
  Texts units;               // empty: not compared
  const char* account = "";  // a part of the account line
  int firstLine = 0;         // where the first of the lines stands in the file
  const char* dataLine = "";

  CHeadingStyle At(int line) const {
    CHeadingStyle moved = *this;
    moved.firstLine = line;
    return moved;
  }
  CHeadingStyle Over(const char* data) const {
    CHeadingStyle placed = *this;
    placed.dataLine = data;
    return placed;
  }
};

CHeadingStyle Row(const char* style, const char* layout, int columns, Texts lines, Texts headings,
                  Texts units, const char* account) {
  return {style, layout, columns, std::move(lines), std::move(headings), std::move(units), account};
}

CConversionSetup Layout(const CHeadingStyle& style) {
  CConversionSetup layout;
  std::istringstream words(style.layout);
  words >> layout.delimiterText;
  std::string word;
  while (words >> word) (word == "fixed" ? words >> layout.fixedWidth : words >> layout.skipWidth);
  return layout;
}

std::string Joined(const Texts& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "|") + text;
  return joined;
}

const CMnemonicDictionary& Dictionary() {
  static const CMnemonicDictionary dictionary = CMnemonicDictionary::BuiltIn();
  return dictionary;
}

CCurveProposal Propose(const CHeadingStyle& style) {
  std::vector<CHeadingLine> lines;
  for (std::size_t i = 0; i < style.lines.size(); ++i)
    lines.push_back({style.firstLine + static_cast<int>(i), style.lines[i]});
  return ProposeCurves(lines, Layout(style), style.columns, Dictionary(), style.dataLine);
}

// Heading lines as real exports and hand-made files write them: the style, the layout
// ("space", ",", "tab", "space fixed 10 skip 2"), the columns, the lines, then the headings
// and units proposed (none: nothing proposed; no units: not compared) and a part of the
// account line.
const std::vector<CHeadingStyle> kStyles = {
    Row("names and units lines, blank-aligned", "space", 9,
        {"      DEPT        GR      NPHI      RHOB        DT      CALI       ILD        SP       PEF",
         "         M      GAPI       V/V      G/C3      US/M        MM      OHMM        MV       B/E"},
        {"DEPT", "GR", "NPHI", "RHOB", "DT", "CALI", "ILD", "SP", "PEF"},
        {"M", "GAPI", "V/V", "G/C3", "US/M", "MM", "OHMM", "MV", "B/E"},
        "Proposed: 9 curves named from lines 4 and 5; DEPT is the index")
        .At(3),
    Row("CSV with a blank-padded units line", ",", 6,
        {"DEPTH,CALI,COAL,DT,RT,TEMP\r",
         "M          ,inches     ,unitless   ,us/ft      ,ohm.m      ,degC       \r"},
        {"DEPT", "CALI", "COAL", "DT", "RT", "TEMP"}, {"M", "IN", "", "US/F", "OHMM", "DEGC"},
        "DEPTH taken as DEPT, the index; 1 name not in the dictionary"),
    Row("semicolons", ";", 4, {"DEPTH;GR;NPHI;PHIE", "M;API;v/v_decimal;v/v_decimal"},
        {"DEPT", "GR", "NPHI", "PHIE"}, {"M", "GAPI", "V/V", "V/V"}, ""),
    Row("units in square brackets after a byte-order mark", ",", 3, {"\xEF\xBB\xBFMD[m],Inc[deg],Azi[deg]"},
        {"DEPT", "DEVI", "AZIM"}, {"M", "DEG", "DEG"},
        "Proposed: 3 curves named from line 1; MD taken as DEPT"),
    Row("index in the third column, units from the dictionary", ",", 6, {"RHOB,GR,DEPTH_MD,NPHI,PEF,DTC"},
        {"RHOB", "GR", "DEPT", "NPHI", "PEF", "DTC"}, {"G/C3", "GAPI", "M", "V/V", "B/E", "US/F"},
        "DEPTH_MD taken as DEPT, the index (column 3); its unit not given: M, as the LAS header says (F if "
        "in "
        "feet); units of 5 curves from the dictionary"),
    Row("units in parentheses", ",", 3, {"DEPTH(m),GR(API),RHOB(g/cc)"}, {"DEPT", "GR", "RHOB"},
        {"M", "GAPI", "G/C3"}, ""),
    Row("units in parentheses after a blank, cut at blanks", "space", 3,
        {"DEPTH (mbsf)   GR (API)   SP (mV)"}, {"DEPT", "GR", "SP"}, {"M", "GAPI", "MV"}, ""),
    Row("units in braces", "space", 3, {"DEPT {m}  RHOB {g/cm3}  DRHO {g/cm3}"}, {"DEPT", "RHOB", "DRHO"},
        {"M", "G/C3", "G/C3"}, ""),
    Row("tabs, names with blanks", "tab", 3, {"Depth\tPump Rate\tGamma Ray"}, {"DEPT", "Pump_Rate", "GR"},
        {"M", "", "GAPI"}, "1 name not in the dictionary"),
    Row("a name of two words over one column, placed by the data", "space", 3, {"DEPTH   Elapsed Time    GR"},
        {"DEPT", "ETIM", "GR"}, {}, "")
        .Over("1500.0      12.5       90"),
    Row("a name of two words without the data to place it", "space", 3, {"DEPTH   Elapsed Time    GR"}, {},
        {}, "Nothing proposed: line 1 holds 4 names for 3 columns."),
    Row("a units line that leaves some out, placed under the names", "space", 3,
        {"   DEPT      GR    CALI", "      M             IN"}, {"DEPT", "GR", "CALI"}, {"M", "GAPI", "IN"},
        "units of 1 curve from the dictionary"),
    Row("a comment mark before the names", "space", 3, {"# DEPT GR NPHI"}, {"DEPT", "GR", "NPHI"}, {}, ""),
    Row("a comment mark joined to the first name", ",", 3, {"#DEPT,GR,NPHI"}, {"DEPT", "GR", "NPHI"}, {}, ""),
    Row("a section mark before the names", "space", 3, {"~A  DEPTH  GR  ILD"}, {"DEPT", "GR", "ILD"}, {}, ""),
    Row("lower case names", "space", 3, {"depth gr rhob"}, {"DEPT", "GR", "RHOB"}, {}, ""),
    Row("an unknown name keeps its spelling", "space", 2, {"Depth Porosity_Core"}, {"DEPT", "Porosity_Core"},
        {}, ""),
    Row("dots and colons in names", "space", 3, {"DEPTH RES.DEEP TIME:SEC"}, {"DEPT", "RDEP", "TIME_SEC"}, {},
        ""),
    Row("the same name twice", "space", 3, {"DEPT GR GR"}, {"DEPT", "GR", "GR_2"}, {}, ""),
    Row("two index names: only the first is DEPT", "space", 3, {"DEPTH MD GR"}, {"DEPT", "MD", "GR"}, {},
        "DEPTH taken as DEPT"),
    Row("an alias beside the name it stands for", "space", 3, {"DEPT DEN RHOB"}, {"DEPT", "DEN", "RHOB"}, {},
        ""),
    Row("units above the names", "space", 3, {"M GAPI OHMM", "DEPT GR ILD"}, {"DEPT", "GR", "ILD"},
        {"M", "GAPI", "OHMM"}, "named from lines 7 and 8")
        .At(6),
    Row("a title line above names and units", "space", 2, {"Well 7 logs", "DEPT GR", "M GAPI"},
        {"DEPT", "GR"}, {"M", "GAPI"}, "named from lines 2 and 3"),
    Row("units only", "space", 3, {"M GAPI OHMM"}, {}, {}, "hold units, no names"),
    Row("no lines marked", "space", 3, {}, {}, {}, "Nothing proposed: no heading lines are marked."),
    Row("blank lines only", "space", 3, {"   ", ""}, {}, {}, "blank"),
    Row("fixed width", "space fixed 10", 3, {"DEPT      GR        NPHI      "}, {"DEPT", "GR", "NPHI"}, {},
        ""),
    Row("fixed width after a skip width", "space fixed 10 skip 2", 2, {"XXDEPT      GR        "},
        {"DEPT", "GR"}, {}, ""),
    Row("fixed width, a name with a blank", "space fixed 10", 3, {"DEPT      Bulk Dens GR        "},
        {"DEPT", "Bulk_Dens", "GR"}, {}, ""),
    Row("fewer names than columns", ",", 3, {"DEPT,GR"}, {"DEPT", "GR", "COL3"}, {},
        "1 column without a name: COL3"),
    Row("a delimiter at the end of the names", ",", 2, {"DEPT,GR,"}, {"DEPT", "GR"}, {}, ""),
    Row("more names than columns", ",", 2, {"DEPT,GR,NPHI"}, {}, {}, "line 1 holds 3 names for 2 columns"),
    Row("unit spellings", ",", 4, {"DEPT,RES,DEN,TEMP", "ft,ohm-m,g/cc,deg F"},
        {"DEPT", "RES", "RHOB", "TEMP"}, {"F", "OHMM", "G/C3", "DEGF"}, ""),
    Row("an unknown unit keeps its spelling without blanks", ",", 2, {"DEPT,X", "m,kg m2"}, {"DEPT", "X"},
        {"M", "kgm2"}, ""),
    Row("unitless is no unit, not the dictionary's", ",", 2, {"DEPT,GR", "m,unitless"}, {"DEPT", "GR"},
        {"M", ""}, ""),
    Row("an empty units cell falls back to the name's brackets", ",", 2, {"DEPT[m],GR", ",API"},
        {"DEPT", "GR"}, {"M", "GAPI"}, ""),
    Row("a heading line of numbers", "space", 4, {"DEPT 0.3 1 3"}, {"DEPT", "0_3", "1", "3"}, {},
        "3 names not in the dictionary"),
    Row("no depth column", ",", 2, {"GR,RHOB"}, {"GR", "RHOB"}, {},
        "no depth column found: name the index DEPT"),
    Row("tool depth", "space", 2, {"TDEP GR"}, {"DEPT", "GR"}, {}, "TDEP taken as DEPT, the index"),
    Row("a depth with its reference after an underscore", "space", 2, {"DEPTH_WMSF  GR"}, {"DEPT", "GR"}, {},
        "DEPTH_WMSF taken as DEPT"),
    Row("resistivities of three reaches", "space", 4, {"DEPT AT90 AT30 AT10"},
        {"DEPT", "AT90", "AT30", "AT10"}, {"M", "OHMM", "OHMM", "OHMM"}, ""),
    Row("bytes that are no ASCII in a name", "space", 2, {"DEPT \xCE\x94T"}, {"DEPT", "T"}, {}, ""),
    Row("the columns counted on the names line", "space", 0, {"DEPT GR"}, {"DEPT", "GR"}, {}, ""),
    Row("line ends kept", "space", 2, {"DEPT GR\r\n", "M GAPI\r\n"}, {"DEPT", "GR"}, {"M", "GAPI"}, ""),
    Row("a blank between the name and its brackets, cut at commas", ",", 2, {"Depth [m], Gamma Ray [API]"},
        {"DEPT", "GR"}, {"M", "GAPI"}, ""),
};

TEST(CurveProposal, HeadingStyles) {
  EXPECT_GE(kStyles.size(), 40u);
  for (const CHeadingStyle& style : kStyles) {
    SCOPED_TRACE(style.style);
    const CCurveProposal proposal = Propose(style);
    Texts headings;
    Texts units;
    for (const CProposedCurve& curve : proposal.curves) {
      headings.push_back(curve.curve.heading);
      units.push_back(curve.curve.units);
      EXPECT_TRUE(curve.curve.apiCode.empty());
      EXPECT_EQ(curve.curve.description.find(':'), std::string::npos);
    }
    EXPECT_EQ(Joined(headings), Joined(style.headings));
    if (!style.units.empty()) {
      EXPECT_EQ(Joined(units), Joined(style.units));
    }
    EXPECT_NE(proposal.account.find(style.account), std::string::npos) << proposal.account;
    EXPECT_EQ(proposal.Proposed(), !style.headings.empty());
    if (!proposal.Proposed()) {
      EXPECT_EQ(proposal.account.rfind("Nothing proposed: ", 0), 0u);
    }
  }
}

TEST(CurveProposal, DescriptionsAndFamilies) {
  const CCurveProposal proposal = Propose(Row("", ",", 5, {"MD,GR,Pump Rate,,ILD"}, {}, {}, ""));
  ASSERT_EQ(proposal.curves.size(), 5u);
  EXPECT_EQ(proposal.indexColumn, 0);
  EXPECT_EQ(proposal.curves[0].curve.description, "Measured depth (MD)");
  EXPECT_EQ(proposal.curves[1].curve.description, "Gamma ray");
  EXPECT_EQ(proposal.curves[2].curve.description, "Pump Rate");
  EXPECT_EQ(proposal.curves[3].curve.heading, "COL4");
  EXPECT_FALSE(proposal.curves[3].named);
  EXPECT_EQ(proposal.curves[4].family, CurveFamily::ResistivityDeep);
  EXPECT_EQ(proposal.curves[0].family, CurveFamily::Depth);
  EXPECT_EQ(proposal.curves[2].family, CurveFamily::Unknown);
  EXPECT_EQ(proposal.CurveDefs()[1], (CCurveDef{"GR", "GAPI", "", "Gamma ray"}));
}

TEST(CurveProposal, NamesAndUnitsPieces) {
  const std::pair<const char*, CNameAndUnit> splits[] = {
      {"MD[m]", {"MD", "m", true}},
      {"GR (API)", {"GR", "API", true}},
      {"RHOB {g/cm3}", {"RHOB", "g/cm3", true}},
      {"(m)", {"", "m", true}},
      {"GR", {"GR", "", false}},
      {"A(B)C", {"A(B)C", "", false}},
  };
  for (const auto& [cell, expected] : splits) {
    const CNameAndUnit split = SplitNameAndUnit(cell);
    EXPECT_EQ(split.name, expected.name) << cell;
    EXPECT_EQ(split.unit, expected.unit) << cell;
    EXPECT_EQ(split.bracketed, expected.bracketed) << cell;
  }
  EXPECT_EQ(LasMnemonicFrom(" Elapsed  Time. "), "Elapsed_Time");
  EXPECT_EQ(LasMnemonicFrom(":.:"), "");
  EXPECT_EQ(LasDescriptionFrom(" Time:  elapsed\t"), "Time elapsed");
}

// The heading lines of the real exports (tests of reading them whole belong with the
// command line): each names its curves as an independent reading of its first lines
// says, the depth column as DEPT, the index, and every unit in its LAS spelling.
TEST(CurveProposal, RealExportHeadings) {
  const std::string volveNames =
      "DEPTH,CALI,COAL,DT,DT_LOG,DTS,DTS_LOG,GR,NPHI,PHIE,PHIEC,PHIT,PHITC,RHOB,RHOB_LOG,RT,RW,TEMP\r";
  const std::string volveUnits =
      "M          ,inches     ,unitless   ,us/ft      ,us/ft      ,us/ft      ,us/ft      ,API        ,"
      "v/v_decimal,v/v_decimal,v/v_decimal,v/v_decimal,v/v_decimal,g/cm3      ,g/cm3      ,ohm.m      ,"
      "ohm.m      ,degC       \r";
  const std::string volveData =
      "3500.0183,9.315,0,76.7292,76.7292,157.1754,157.1754,36.621,0.1542,0.1122,0.1098,0.1209,0.1186,2.4602,"
      "2.46,1.791,0.0211,94.5855\r";
  auto semicolons = [](std::string text) {
    std::replace(text.begin(), text.end(), ',', ';');
    return text;
  };
  const std::string volveHeadings =
      "DEPT|CALI|COAL|DT|DT_LOG|DTS|DTS_LOG|GR|NPHI|PHIE|PHIEC|PHIT|PHITC|RHOB|RHOB_LOG|RT|RW|TEMP";
  const std::string volveUnitsWritten =
      "M|IN||US/F|US/F|US/F|US/F|GAPI|V/V|V/V|V/V|V/V|V/V|G/C3|G/C3|OHMM|OHMM|DEGC";
  struct CExport {
    const char* file;
    const char* delimiter;
    Texts lines;
    std::string data;
    std::string headings;
    std::string units;
  };
  const CExport exports[] = {
      {"volve_15_9-19.csv", ",", {volveNames, volveUnits}, volveData, volveHeadings, volveUnitsWritten},
      {"volve_15_9-19_semicolon_comma.csv",
       ";",
       {semicolons(volveNames), semicolons(volveUnits)},
       "3500,0183;9,315;0;76,7292;76,7292;157,1754;157,1754;36,621;0,1542;0,1122;0,1098;0,1209;0,1186;2,4602;"
       "2,46;1,791;0,0211;94,5855\r",
       volveHeadings,
       volveUnitsWritten},
      {"force_unsupervised.csv",
       ",",
       {"RHOB,GR,DEPTH_MD,NPHI,PEF,DTC"},
       "1.884185791,80.20085144,494.528,,20.915468216,161.13117981",
       "RHOB|GR|DEPT|NPHI|PEF|DTC",
       "G/C3|GAPI|M|V/V|B/E|US/F"},
      {"volve_survey_brackets_bom.csv",
       ",",
       {"\xEF\xBB\xBFMD[m],Inc[deg],Azi[deg]\r"},
       "76.29,0.9,7.19\r",
       "DEPT|DEVI|AZIM",
       "M|DEG|DEG"},
  };
  for (const CExport& file : exports) {
    SCOPED_TRACE(file.file);
    std::vector<CHeadingLine> lines;
    for (std::size_t i = 0; i < file.lines.size(); ++i) lines.push_back({static_cast<int>(i), file.lines[i]});
    CConversionSetup layout;
    layout.delimiterText = file.delimiter;
    const int columns = static_cast<int>(CutDataLine(file.data, layout).size());
    const CCurveProposal proposal = ProposeCurves(lines, layout, columns, Dictionary(), file.data);
    Texts headings;
    Texts units;
    for (const CProposedCurve& curve : proposal.curves) {
      headings.push_back(curve.curve.heading);
      units.push_back(curve.curve.units);
    }
    EXPECT_EQ(Joined(headings), file.headings) << proposal.account;
    EXPECT_EQ(Joined(units), file.units) << proposal.account;
  }
}

}  // namespace
}  // namespace corvane
