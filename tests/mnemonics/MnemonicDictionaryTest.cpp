#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "mnemonics/MnemonicDictionary.h"

namespace corvane {
namespace {

// Sets an environment variable for the life of the object, then puts back what was there.
class CEnvironment {
 public:
  CEnvironment(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value != nullptr)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~CEnvironment() {
    if (m_old)
      ::setenv(m_name, m_old->c_str(), 1);
    else
      ::unsetenv(m_name);
  }
  CEnvironment(const CEnvironment&) = delete;
  CEnvironment& operator=(const CEnvironment&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

TEST(MnemonicDictionary, TheBuiltInDictionaryReadsWholeAndCoversEveryFamily) {
  const CMnemonicDictionary dictionary = CMnemonicDictionary::BuiltIn();
  EXPECT_TRUE(dictionary.Problems().empty()) << dictionary.Problems().front();
  EXPECT_GE(dictionary.AliasCount(), 150u);
  EXPECT_GE(dictionary.UnitCount(), 60u);
  // The file as shipped is the file built in.
  EXPECT_EQ(BuiltInMnemonicsText(), test::ReadBytes(test::SourceFile("data/mnemonics.txt")));

  // Every family has curves, and every family name reads back as its family.
  std::set<CurveFamily> found;
  for (CurveFamily family : AllFamilies()) {
    EXPECT_EQ(ParseFamily(FamilyName(family)),
              family == CurveFamily::Unknown ? std::nullopt : std::optional(family))
        << FamilyName(family);
  }
  const std::string text(BuiltInMnemonicsText());
  for (CurveFamily family : AllFamilies()) {
    if (family == CurveFamily::Unknown) continue;
    EXPECT_NE(text.find("| " + std::string(FamilyName(family)) + " "), std::string::npos)
        << "no curve of the family " << FamilyName(family);
  }
  EXPECT_EQ(ParseFamily("  Resistivity   DEEP "), CurveFamily::ResistivityDeep);
  EXPECT_TRUE(IsResistivity(CurveFamily::ResistivityMicro));
  EXPECT_FALSE(IsResistivity(CurveFamily::Conductivity));
  EXPECT_TRUE(IsSonic(CurveFamily::SonicShear));
}

TEST(MnemonicDictionary, NamesAsFilesWriteThem) {
  const CMnemonicDictionary dictionary = CMnemonicDictionary::BuiltIn();
  struct CCase {
    const char* name;
    const char* mnemonic;  // null: not found
    CurveFamily family;
  };
  const CCase cases[] = {
      {"GR", "GR", CurveFamily::GammaRay},
      {"gamma ray", "GR", CurveFamily::GammaRay},
      {"Gamma-Ray", "GR", CurveFamily::GammaRay},
      {"MD", "DEPT", CurveFamily::Depth},
      {"depth_md", "DEPT", CurveFamily::Depth},
      {"DEPTH_WMSF", "DEPT", CurveFamily::Depth},
      {"Depth.MD", "DEPT", CurveFamily::Depth},
      {"DEPT_LOGGER", "DEPT", CurveFamily::Depth},
      {"TDEP", "DEPT", CurveFamily::Depth},
      // A whole alias wins over a pattern that also fits.
      {"DEPTH_TVD", "TVD", CurveFamily::Depth},
      {"DEPTH", "DEPT", CurveFamily::Depth},
      {"ILD", "ILD", CurveFamily::ResistivityDeep},
      {"res_med", "RMED", CurveFamily::ResistivityMedium},
      {"LLS", "LLS", CurveFamily::ResistivityShallow},
      {"MSFL", "MSFL", CurveFamily::ResistivityMicro},
      {"Bulk Density", "RHOB", CurveFamily::Density},
      {"DRHO", "DRHO", CurveFamily::DensityCorrection},
      {"PE", "PEF", CurveFamily::PhotoElectric},
      {"DTSM", "DTSM", CurveFamily::SonicShear},
      {"AC", "DT", CurveFamily::SonicCompressional},
      {"Elapsed Time", "ETIM", CurveFamily::Time},
      {"Inc", "DEVI", CurveFamily::Orientation},
      {"Vp/Vs", "VPVS", CurveFamily::Elastic},
      {"DEPTHS", nullptr, CurveFamily::Unknown},
      {"DEPTH_", "DEPT", CurveFamily::Depth},  // the underscore at the end does not count
      {"COAL", nullptr, CurveFamily::Unknown},
      {"", nullptr, CurveFamily::Unknown},
      {" - ", nullptr, CurveFamily::Unknown},
  };
  for (const CCase& c : cases) {
    const CMnemonicEntry* entry = dictionary.Find(c.name);
    if (c.mnemonic == nullptr) {
      EXPECT_EQ(entry, nullptr) << c.name;
    } else {
      ASSERT_NE(entry, nullptr) << c.name;
      EXPECT_EQ(entry->mnemonic, c.mnemonic) << c.name;
    }
    EXPECT_EQ(dictionary.FamilyOf(c.name), c.family) << c.name;
  }
  EXPECT_EQ(MnemonicKey(" gamma--ray. "), "GAMMA_RAY");
}

TEST(MnemonicDictionary, UnitSpellings) {
  const CMnemonicDictionary dictionary = CMnemonicDictionary::BuiltIn();
  const std::pair<const char*, const char*> cases[] = {
      {"ohm.m", "OHMM"},
      {"Ohm M", "OHMM"},
      {"OHMM", "OHMM"},
      {"v/v_decimal", "V/V"},
      {"API", "GAPI"},
      {"g/cm3", "G/C3"},
      {"us/ft", "US/F"},
      {"\xC2\xB5s/m", "US/M"},
      {"degC", "DEGC"},
      {"\xC2\xB0"
       "C",
       "DEGC"},
      {"inches", "IN"},
      {"mbsf", "M"},
      {"unitless", ""},
      {"-", ""},
  };
  for (const auto& [spelling, conventional] : cases) {
    const std::optional<std::string> unit = dictionary.ConventionalUnit(spelling);
    ASSERT_TRUE(unit.has_value()) << spelling;
    EXPECT_EQ(*unit, conventional) << spelling;
  }
  EXPECT_FALSE(dictionary.ConventionalUnit("furlongs").has_value());
}

TEST(MnemonicDictionary, LaterLinesReplaceEarlierOnesAndBadLinesAreTold) {
  CMnemonicDictionary dictionary = CMnemonicDictionary::BuiltIn();
  dictionary.AddText(
      "\xEF\xBB\xBF# my lines\r\n"
      "GR | GRX | API | gamma ray | Gamma ray of my tool\r\n"
      "DEPTH_* | MDX |  | depth | My depth\r\n"
      "DEPTH_M* | MDM |  | depth | Longer pattern\r\n"
      "Pump Rate | PUMP | L/MIN | drilling | Pump rate\n"
      "BAD | TWO | fields\n"
      "BAD2 | BAD.NAME | | gas | dot\n"
      "BAD3 | OK | | colours | no such family\n"
      "BAD4 | OK | A B | gas | blank in the unit\n"
      "BAD5 | OK | | gas | a colon: here\n"
      "B*D | OK | | gas | star inside\n"
      "* | OK | | gas | empty pattern\n"
      "[wells]\n"
      "[UNITS]\n"
      "furlongs | FUR\n"
      "ohm.m | OHM.M\n"
      "one field\n",
      "mine.txt");
  EXPECT_EQ(dictionary.Find("gr")->mnemonic, "GRX");
  EXPECT_EQ(dictionary.Find("DEPTH_X")->mnemonic, "MDX");
  EXPECT_EQ(dictionary.Find("DEPTH_MD")->mnemonic, "MDM");  // the longer pattern
  EXPECT_EQ(dictionary.Find("DEPTH")->mnemonic, "DEPT");    // a whole alias still wins
  EXPECT_EQ(dictionary.Find("PUMP-RATE")->family, CurveFamily::Drilling);
  EXPECT_EQ(dictionary.Find("BAD2"), nullptr);
  EXPECT_EQ(dictionary.ConventionalUnit("Furlongs"), std::optional<std::string>("FUR"));
  EXPECT_EQ(dictionary.ConventionalUnit("ohm.m"), std::optional<std::string>("OHM.M"));

  const std::vector<std::string> expected = {
      "mine.txt line 6: a curve line has 5 fields",
      "mine.txt line 7: the mnemonic \"BAD.NAME\"",
      "mine.txt line 8: no family is named \"colours\"",
      "mine.txt line 9: the unit \"A B\" holds a blank",
      "mine.txt line 10: a description cannot hold a colon",
      "mine.txt line 11: a \"*\" stands only at the end",
      "mine.txt line 12: the alias is empty",
      "mine.txt line 13: no part is named \"[wells]\"",
      "mine.txt line 17: a unit line has 2 fields",
  };
  ASSERT_EQ(dictionary.Problems().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(dictionary.Problems()[i].rfind(expected[i], 0), 0u) << dictionary.Problems()[i];
}

TEST(MnemonicDictionary, TheUserFileInTheSettingsFolder) {
  test::CScratchDir dir;
  {
    const CEnvironment config("XDG_CONFIG_HOME", dir.Path().c_str());
    EXPECT_EQ(UserDictionaryPath(), dir.Path() + "/Corvane/mnemonics.txt");
    // Without the file the program's dictionary is the built-in one.
    EXPECT_EQ(CMnemonicDictionary::Load().AliasCount(), CMnemonicDictionary::BuiltIn().AliasCount());
    std::filesystem::create_directories(dir.Path() + "/Corvane");
    test::WriteBytes(UserDictionaryPath(), "COAL | COAL | | lithology | Coal flag\n");
    const CMnemonicDictionary loaded = CMnemonicDictionary::Load();
    ASSERT_NE(loaded.Find("coal"), nullptr);
    EXPECT_EQ(loaded.Find("coal")->description, "Coal flag");
    EXPECT_TRUE(loaded.Problems().empty());
    // A folder where the file should be cannot be read: told, the built-in lines stay.
    std::filesystem::remove(UserDictionaryPath());
    std::filesystem::create_directories(UserDictionaryPath());
    const CMnemonicDictionary unreadable = CMnemonicDictionary::Load();
    EXPECT_EQ(unreadable.Problems().size(), 1u);
    EXPECT_NE(unreadable.Find("GR"), nullptr);
  }
  {
    // A relative XDG_CONFIG_HOME is not used: the home folder's .config is.
    const CEnvironment config("XDG_CONFIG_HOME", "relative/config");
    const CEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(UserDictionaryPath(), "/home/someone/.config/Corvane/mnemonics.txt");
  }
  CMnemonicDictionary none;
  EXPECT_TRUE(none.AddFile(dir.File("missing.txt")).Ok());
  EXPECT_EQ(none.AliasCount(), 0u);
}

}  // namespace
}  // namespace corvane
