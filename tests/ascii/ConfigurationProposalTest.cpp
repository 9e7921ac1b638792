#include "ascii/ConfigurationProposal.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "setup/Configuration.h"

namespace corvane {
namespace {

using Texts = std::vector<std::string>;

const CMnemonicDictionary& Dictionary() {
  static const CMnemonicDictionary dictionary = CMnemonicDictionary::BuiltIn();
  return dictionary;
}

std::string Headings(const CConversionSetup& setup, bool units) {
  std::string joined;
  for (std::size_t k = 0; k < setup.curves.size(); ++k)
    joined += (k == 0 ? "" : "|") + (units ? setup.curves[k].units : setup.curves[k].heading);
  return joined;
}

std::string Account(const CConfigurationProposal& proposal) {
  std::string joined;
  for (const std::string& line : proposal.account) joined += line + "\n";
  return joined;
}

// What a file and the choices fixed give: the layout, the curves and what the user is told.
TEST(ConfigurationProposal, ProposesAWholeConfiguration) {
  struct CCase {
    const char* name;
    std::string text;
    CFixedChoices fixed;
    const char* delimiter;
    int firstLine;
    const char* headings;  // "|"-joined, an unwritten column empty
    const char* units;
    std::vector<int> unwritten;
    const char* account;  // a part of it
  };
  const std::string rows = "1000.0 50.1 2.31\r\n1000.5 51.2 2.32\r\n1001.0 52.3 2.33\r\n1001.5 53.4 2.34\r\n";
  CFixedChoices fromLine3;
  fromLine3.firstDataLine = 3;
  CFixedChoices nullAndMarkers;
  nullAndMarkers.nullValue = -1;
  nullAndMarkers.reading.nullMarkers = Texts{"NA"};
  CFixedChoices semicolons;
  semicolons.delimiterText = ";";
  const CCase cases[] = {
      {"names and units",
       "DEPTH GR RHOB\r\nM GAPI G/CC\r\n" + rows,
       {},
       "space",
       2,
       "DEPT|GR|RHOB",
       "M|GAPI|G/C3",
       {},
       "Curves: Proposed: 3 curves named from lines 1 and 2; DEPTH taken as DEPT, the index\n"},
      {"units in brackets, commas",
       "\xEF\xBB\xBFMD[m],GR(API),RHOB {g/cc}\r\n1,2,3\r\n2,3,4\r\n3,4,5\r\n4,5,6\r\n",
       {},
       ",",
       1,
       "DEPT|GR|RHOB",
       "M|GAPI|G/C3",
       {},
       "Layout: 3 columns cut at commas, data from line 2"},
      {"no names, a depth column",
       rows,
       {},
       "space",
       0,
       "DEPT|COL2|COL3",
       "M||",
       {},
       "column 1 only grows or falls: taken as DEPT, the index"},
      {"no names, no depth column",
       "5 1\r\n3 2\r\n4 3\r\n1 4\r\n",
       {},
       "space",
       0,
       "COL1|COL2",
       "|",
       {},
       "no column taken as the index"},
      {"a column of well names",
       "WELL,DEPTH,GR\r\nA-1,1000,50\r\nA-1,1001,51\r\nA-1,1002,52\r\nB-2,1003,53\r\n",
       {},
       ",",
       1,
       "|DEPT|GR",
       "|M|GAPI",
       {0},
       "Not written: column 1 holds text, not readings"},
      {"first data line given",
       "DEPTH GR RHOB\r\nM GAPI G/CC\r\n--- --- ---\r\n" + rows,
       fromLine3,
       "space",
       3,
       "DEPT|GR|RHOB",
       "M|GAPI|G/C3",
       {},
       "data from line 4"},
      {"decimal commas and semicolons",
       "DEPTH;GR\r\n1000,5;50,1\r\n1001,5;51,2\r\n1002,5;52,3\r\n1003,5;53,4\r\n",
       {},
       ";",
       1,
       "DEPT|GR",
       "M|GAPI",
       {},
       "decimal commas"},
      {"delimiter given",
       "DEPTH;GR\r\n1000;50\r\n1001;51\r\n1002;52\r\n1003;53\r\n",
       semicolons,
       ";",
       1,
       "DEPT|GR",
       "M|GAPI",
       {},
       "cut at semicolons"},
      {"null value and markers given",
       "DEPTH GR\r\n1 NA\r\n2 3\r\n3 4\r\n4 5\r\n",
       nullAndMarkers,
       "space",
       1,
       "DEPT|GR",
       "M|GAPI",
       {},
       "null markers NA"},
  };
  for (const CCase& c : cases) {
    test::CScratchDir dir;
    const std::string ascii = dir.File("well.txt");
    test::WriteBytes(ascii, c.text);
    CConfigurationProposal proposal;
    ASSERT_TRUE(ProposeConfiguration(ascii, dir.File("well.lah"), "", c.fixed, Dictionary(), proposal).Ok())
        << c.name;
    const CConversionSetup& setup = proposal.setup;
    EXPECT_EQ(setup.delimiterText, c.delimiter) << c.name;
    EXPECT_EQ(setup.firstDigitLineIndex, c.firstLine) << c.name;
    EXPECT_EQ(setup.storedFirstDataLine, c.firstLine) << c.name;
    EXPECT_EQ(setup.lasFilePath, dir.File("well.las")) << c.name;
    EXPECT_EQ(Headings(setup, false), c.headings) << c.name;
    EXPECT_EQ(Headings(setup, true), c.units) << c.name;
    EXPECT_EQ(proposal.unwrittenColumns, c.unwritten) << c.name;
    EXPECT_NE(Account(proposal).find(c.account), std::string::npos) << c.name << ": " << Account(proposal);
    EXPECT_EQ(setup.nullValue, c.fixed.nullValue.value_or(-999.25)) << c.name;
    EXPECT_EQ(setup.reading.nullMarkers.empty(), !c.fixed.reading.nullMarkers) << c.name;
  }
}

// A file that cannot give a configuration says why; nothing is written.
TEST(ConfigurationProposal, RefusesWhatCannotBeConfigured) {
  struct CCase {
    const char* name;
    std::string text;   // empty: no file
    int firstDataLine;  // -1: proposed
    CResult::Status status;
    int error;
    const char* reason;  // a part of it
  };
  const CCase cases[] = {
      {"missing", "", -1, CResult::Status::Failed, ENOENT, "No such file"},
      {"binary", std::string("PK\x03\x04\0\0\0\0", 8), -1, CResult::Status::Failed, EINVAL,
       "not a text file"},
      {"only words", "DEPTH GR\r\nno data here\r\n", -1, CResult::Status::Incomplete, 0,
       "No layout proposal"},
      {"line past the end", "1 2\r\n2 3\r\n", 9, CResult::Status::Failed, 0, ""},
  };
  for (const CCase& c : cases) {
    test::CScratchDir dir;
    const std::string ascii = dir.File("well.txt");
    if (!c.text.empty()) test::WriteBytes(ascii, c.text);
    CFixedChoices fixed;
    if (c.firstDataLine >= 0) fixed.firstDataLine = c.firstDataLine;
    CConfigurationProposal proposal;
    const CResult result =
        CreateConfiguration(ascii, dir.File("well.lah"), "", fixed, false, Dictionary(), proposal);
    EXPECT_EQ(result.GetStatus(), c.status) << c.name << ": " << result.Reason();
    EXPECT_TRUE(c.error == 0 || result.Error() == c.error) << c.name << ": " << result.Error();
    EXPECT_NE(result.Reason().find(c.reason), std::string::npos) << c.name << ": " << result.Reason();
    struct stat info {};
    EXPECT_NE(::lstat(dir.File("well.lah").c_str(), &info), 0) << c.name;
  }
}

// The file written loads as the setup proposed; a file in the way is kept unless
// replacing it was asked for; the three files stay distinct.
TEST(ConfigurationProposal, CreateWritesWhatLoadsBack) {
  test::CScratchDir dir;
  const std::string ascii = dir.File("well.csv");
  test::WriteBytes(ascii, "DEPTH_MD,GR\r\nm,gAPI\r\n1,2\r\n2,3\r\n3,4\r\n4,5\r\n");
  const std::string lah = dir.File("well.lah");
  CConfigurationProposal proposal;
  ASSERT_TRUE(CreateConfiguration(ascii, lah, "", {}, false, Dictionary(), proposal).Ok());
  CConversionSetup loaded;
  loaded.configFilePath = lah;
  ASSERT_TRUE(LoadConfiguration(loaded).Ok());
  EXPECT_EQ(loaded.curves, proposal.setup.curves);
  EXPECT_EQ(loaded.storedFirstDataLine, 2);
  EXPECT_EQ(loaded.asciiFilePath, ascii);
  EXPECT_EQ(loaded.lasFilePath, dir.File("well.las"));
  EXPECT_EQ(loaded.reading, proposal.setup.reading);
  const std::string written = test::ReadBytes(lah);

  const CResult again = CreateConfiguration(ascii, lah, "", {}, false, Dictionary(), proposal);
  EXPECT_EQ(again.Error(), EEXIST);
  EXPECT_EQ(test::ReadBytes(lah), written);
  EXPECT_EQ(CreateConfiguration(ascii, lah, ascii, {}, true, Dictionary(), proposal).Reason(),
            kSameAsciiAndLasMessage);
  EXPECT_EQ(CreateConfiguration(ascii, ascii, "", {}, true, Dictionary(), proposal).Reason(),
            kConfigurationIsDataFileMessage);
  EXPECT_EQ(CreateConfiguration(ascii, dir.File("x.las"), dir.File("x.las"), {}, true, Dictionary(), proposal)
                .Reason(),
            kConfigurationIsDataFileMessage);
  EXPECT_EQ(test::ReadBytes(ascii).size(), 41u);
  EXPECT_TRUE(CreateConfiguration(ascii, lah, dir.File("out/w.las"), {}, true, Dictionary(), proposal).Ok());
  EXPECT_NE(test::ReadBytes(lah).find("LAS FILE=out/w.las\r\n"), std::string::npos);
}

}  // namespace
}  // namespace corvane
