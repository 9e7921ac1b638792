#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ascii/CurveProposal.h"
#include "ascii/HeadingCells.h"

namespace corvane {
namespace {

using Texts = std::vector<std::string>;

struct CHeadingStyle {
  const char* style;
  Texts lines;        // the marked heading lines, consecutive
  int firstLine = 0;  // where the first of them stands in the file
  const char* delimiter = "space";
  int fixedWidth = 0;
  int skipWidth = 0;
  int columns = 0;
  const char* dataLine = "";
  Texts headings;            // empty: nothing is proposed
  Texts units;               // empty: not compared
  const char* account = "";  // a part of the account line
};

CConversionSetup Layout(const CHeadingStyle& style) {
  CConversionSetup layout;
  layout.delimiterText = style.delimiter;
  layout.fixedWidth = style.fixedWidth;
  layout.skipWidth = style.skipWidth;
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

// Heading lines as real exports and hand-made files write them.
const CHeadingStyle kStyles[] = {
    {"names and units lines, blank-aligned",
     {"      DEPT        GR      NPHI      RHOB        DT      CALI       ILD        SP       PEF",
      "         M      GAPI       V/V      G/C3      US/M        MM      OHMM        MV       B/E"},
     3,
     "space",
     0,
     0,
     9,
     "",
     {"DEPT", "GR", "NPHI", "RHOB", "DT", "CALI", "ILD", "SP", "PEF"},
     {"M", "GAPI", "V/V", "G/C3", "US/M", "MM", "OHMM", "MV", "B/E"},
     "Proposed: 9 curves named from lines 4 and 5; DEPT is the index"},
    {"CSV with a blank-padded units line",
     {"DEPTH,CALI,COAL,DT,RT,TEMP\r",
      "M          ,inches     ,unitless   ,us/ft      ,ohm.m      ,degC       \r"},
     0,
     ",",
     0,
     0,
     6,
     "",
     {"DEPT", "CALI", "COAL", "DT", "RT", "TEMP"},
     {"M", "IN", "", "US/F", "OHMM", "DEGC"},
     "DEPTH taken as DEPT, the index; 1 name not in the dictionary"},
    {"semicolons",
     {"DEPTH;GR;NPHI;PHIE", "M;API;v/v_decimal;v/v_decimal"},
     0,
     ";",
     0,
     0,
     4,
     "",
     {"DEPT", "GR", "NPHI", "PHIE"},
     {"M", "GAPI", "V/V", "V/V"},
     ""},
    {"units in square brackets after a byte-order mark",
     {"\xEF\xBB\xBFMD[m],Inc[deg],Azi[deg]"},
     0,
     ",",
     0,
     0,
     3,
     "",
     {"DEPT", "DEVI", "AZIM"},
     {"M", "DEG", "DEG"},
     "Proposed: 3 curves named from line 1; MD taken as DEPT"},
    {"index in the third column, units from the dictionary",
     {"RHOB,GR,DEPTH_MD,NPHI,PEF,DTC"},
     0,
     ",",
     0,
     0,
     6,
     "",
     {"RHOB", "GR", "DEPT", "NPHI", "PEF", "DTC"},
     {"G/C3", "GAPI", "", "V/V", "B/E", "US/F"},
     "DEPTH_MD taken as DEPT, the index (column 3); units of 5 curves from the dictionary"},
    {"units in parentheses",
     {"DEPTH(m),GR(API),RHOB(g/cc)"},
     0,
     ",",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "RHOB"},
     {"M", "GAPI", "G/C3"},
     ""},
    {"units in parentheses after a blank, cut at blanks",
     {"DEPTH (mbsf)   GR (API)   SP (mV)"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "SP"},
     {"M", "GAPI", "MV"},
     ""},
    {"units in braces",
     {"DEPT {m}  RHOB {g/cm3}  DRHO {g/cm3}"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "RHOB", "DRHO"},
     {"M", "G/C3", "G/C3"},
     ""},
    {"tabs, names with blanks",
     {"Depth\tPump Rate\tGamma Ray"},
     0,
     "tab",
     0,
     0,
     3,
     "",
     {"DEPT", "Pump_Rate", "GR"},
     {"", "", "GAPI"},
     "1 name not in the dictionary"},
    {"a name of two words over one column, placed by the data",
     {"DEPTH   Elapsed Time    GR"},
     0,
     "space",
     0,
     0,
     3,
     "1500.0      12.5       90",
     {"DEPT", "ETIM", "GR"},
     {},
     ""},
    {"a name of two words without the data to place it",
     {"DEPTH   Elapsed Time    GR"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {},
     {},
     "Nothing proposed: line 1 holds 4 names for 3 columns."},
    {"a units line that leaves some out, placed under the names",
     {"   DEPT      GR    CALI", "      M             IN"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "CALI"},
     {"M", "GAPI", "IN"},
     "units of 1 curve from the dictionary"},
    {"a comment mark before the names",
     {"# DEPT GR NPHI"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "NPHI"},
     {},
     ""},
    {"a comment mark joined to the first name",
     {"#DEPT,GR,NPHI"},
     0,
     ",",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "NPHI"},
     {},
     ""},
    {"a section mark before the names",
     {"~A  DEPTH  GR  ILD"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "ILD"},
     {},
     ""},
    {"lower case names", {"depth gr rhob"}, 0, "space", 0, 0, 3, "", {"DEPT", "GR", "RHOB"}, {}, ""},
    {"an unknown name keeps its spelling",
     {"Depth Porosity_Core"},
     0,
     "space",
     0,
     0,
     2,
     "",
     {"DEPT", "Porosity_Core"},
     {},
     ""},
    {"dots and colons in names",
     {"DEPTH RES.DEEP TIME:SEC"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "RDEP", "TIME_SEC"},
     {},
     ""},
    {"the same name twice", {"DEPT GR GR"}, 0, "space", 0, 0, 3, "", {"DEPT", "GR", "GR_2"}, {}, ""},
    {"two index names: only the first is DEPT",
     {"DEPTH MD GR"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "MD", "GR"},
     {},
     "DEPTH taken as DEPT"},
    {"an alias beside the name it stands for",
     {"DEPT DEN RHOB"},
     0,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "DEN", "RHOB"},
     {},
     ""},
    {"units above the names",
     {"M GAPI OHMM", "DEPT GR ILD"},
     6,
     "space",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "ILD"},
     {"M", "GAPI", "OHMM"},
     "named from lines 7 and 8"},
    {"a title line above names and units",
     {"Well 7 logs", "DEPT GR", "M GAPI"},
     0,
     "space",
     0,
     0,
     2,
     "",
     {"DEPT", "GR"},
     {"M", "GAPI"},
     "named from lines 2 and 3"},
    {"units only", {"M GAPI OHMM"}, 0, "space", 0, 0, 3, "", {}, {}, "hold units, no names"},
    {"no lines marked",
     {},
     0,
     "space",
     0,
     0,
     3,
     "",
     {},
     {},
     "Nothing proposed: no heading lines are marked."},
    {"blank lines only", {"   ", ""}, 0, "space", 0, 0, 3, "", {}, {}, "blank"},
    {"fixed width",
     {"DEPT      GR        NPHI      "},
     0,
     "space",
     10,
     0,
     3,
     "",
     {"DEPT", "GR", "NPHI"},
     {},
     ""},
    {"fixed width after a skip width",
     {"XXDEPT      GR        "},
     0,
     "space",
     10,
     2,
     2,
     "",
     {"DEPT", "GR"},
     {},
     ""},
    {"fixed width, a name with a blank",
     {"DEPT      Bulk Dens GR        "},
     0,
     "space",
     10,
     0,
     3,
     "",
     {"DEPT", "Bulk_Dens", "GR"},
     {},
     ""},
    {"fewer names than columns",
     {"DEPT,GR"},
     0,
     ",",
     0,
     0,
     3,
     "",
     {"DEPT", "GR", "COL3"},
     {},
     "1 column without a name: COL3"},
    {"a delimiter at the end of the names", {"DEPT,GR,"}, 0, ",", 0, 0, 2, "", {"DEPT", "GR"}, {}, ""},
    {"more names than columns",
     {"DEPT,GR,NPHI"},
     0,
     ",",
     0,
     0,
     2,
     "",
     {},
     {},
     "line 1 holds 3 names for 2 columns"},
    {"unit spellings",
     {"DEPT,RES,DEN,TEMP", "ft,ohm-m,g/cc,deg F"},
     0,
     ",",
     0,
     0,
     4,
     "",
     {"DEPT", "RES", "RHOB", "TEMP"},
     {"F", "OHMM", "G/C3", "DEGF"},
     ""},
    {"an unknown unit keeps its spelling without blanks",
     {"DEPT,X", "m,kg m2"},
     0,
     ",",
     0,
     0,
     2,
     "",
     {"DEPT", "X"},
     {"M", "kgm2"},
     ""},
    {"unitless is no unit, not the dictionary's",
     {"DEPT,GR", "m,unitless"},
     0,
     ",",
     0,
     0,
     2,
     "",
     {"DEPT", "GR"},
     {"M", ""},
     ""},
    {"an empty units cell falls back to the name's brackets",
     {"DEPT[m],GR", ",API"},
     0,
     ",",
     0,
     0,
     2,
     "",
     {"DEPT", "GR"},
     {"M", "GAPI"},
     ""},
    {"a heading line of numbers",
     {"DEPT 0.3 1 3"},
     0,
     "space",
     0,
     0,
     4,
     "",
     {"DEPT", "0_3", "1", "3"},
     {},
     "3 names not in the dictionary"},
    {"no depth column",
     {"GR,RHOB"},
     0,
     ",",
     0,
     0,
     2,
     "",
     {"GR", "RHOB"},
     {},
     "no depth column found: name the index DEPT"},
    {"tool depth", {"TDEP GR"}, 0, "space", 0, 0, 2, "", {"DEPT", "GR"}, {}, "TDEP taken as DEPT, the index"},
    {"a depth with its reference after an underscore",
     {"DEPTH_WMSF  GR"},
     0,
     "space",
     0,
     0,
     2,
     "",
     {"DEPT", "GR"},
     {},
     "DEPTH_WMSF taken as DEPT"},
    {"resistivities of three reaches",
     {"DEPT AT90 AT30 AT10"},
     0,
     "space",
     0,
     0,
     4,
     "",
     {"DEPT", "AT90", "AT30", "AT10"},
     {"", "OHMM", "OHMM", "OHMM"},
     ""},
    {"bytes that are no ASCII in a name", {"DEPT \xCE\x94T"}, 0, "space", 0, 0, 2, "", {"DEPT", "T"}, {}, ""},
    {"the columns counted on the names line", {"DEPT GR"}, 0, "space", 0, 0, 0, "", {"DEPT", "GR"}, {}, ""},
    {"line ends kept",
     {"DEPT GR\r\n", "M GAPI\r\n"},
     0,
     "space",
     0,
     0,
     2,
     "",
     {"DEPT", "GR"},
     {"M", "GAPI"},
     ""},
    {"a blank between the name and its brackets, cut at commas",
     {"Depth [m], Gamma Ray [API]"},
     0,
     ",",
     0,
     0,
     2,
     "",
     {"DEPT", "GR"},
     {"M", "GAPI"},
     ""},
};

TEST(CurveProposal, HeadingStyles) {
  static_assert(std::size(kStyles) >= 40);
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
  const CCurveProposal proposal = Propose({"", {"MD,GR,Pump Rate,,ILD"}, 0, ",", 0, 0, 5, "", {}, {}, ""});
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
       "G/C3|GAPI||V/V|B/E|US/F"},
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
