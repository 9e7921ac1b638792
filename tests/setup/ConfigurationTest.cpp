#include "setup/Configuration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <tuple>

#include "TestSupport.h"
#include "platform/NumberFormat.h"
#include "platform/Profile.h"
#include "setup/ConfigurationPaths.h"

using namespace corvane;
using corvane::test::CScratchDir;
using corvane::test::ReadBytes;
using corvane::test::WriteBytes;

namespace {

const char* const kNewSetupFile =
    "[File ID]\r\nID=Corvane\r\nVERSION=3.0\r\n\r\n"
    "[User Files]\r\nASCII FILE=\r\nLAS FILE=\r\n\r\n"
    "[LAS HEADER]\r\nWELL LABEL=UWI\r\nUWI=\r\nWELL NAME=\r\nCOUNTRY=\r\nLOG DATE=\r\n\r\n"
    "[Curve Parameters]\r\nNULL=-999.2500000000\r\nFIXED WIDTH=0\r\nSKIP WIDTH=0\r\nDELIMITER=\r\n\r\n"
    "[Curves]\r\nTOTAL=0\r\n";

CConversionSetup SetupWithCurves(const std::string& path, int count) {
  CConversionSetup setup;
  setup.configFilePath = path;
  for (int n = 0; n < count; ++n) {
    const std::string k = std::to_string(n);
    setup.curves.push_back(CCurveDef{"H" + k, "U" + k, "A" + k, "D" + k});
    setup.digitSamples.push_back("1\r\n");
  }
  return setup;
}

CConversionSetup LoadFrom(const std::string& path) {
  CConversionSetup setup;
  setup.configFilePath = path;
  EXPECT_TRUE(LoadConfiguration(setup));
  return setup;
}

bool HasKey(const std::string& path, const std::string& section, const std::string& key) {
  CProfileFile profile;
  return profile.Load(path) && profile.Get(section, key).has_value();
}

// The same save done one private-profile write at a time.
void SaveKeyByKey(const CConversionSetup& s) {
  const std::string& path = s.configFilePath;
  auto write = [&](const char* section, const std::string& key, const std::string& value) {
    ASSERT_TRUE(WriteProfileString(section, key, value.c_str(), path));
  };
  auto remove = [&](const char* section, const std::string& key) {
    ASSERT_TRUE(WriteProfileString(section, key, nullptr, path));
  };
  write("File ID", "ID", "Corvane");
  write("File ID", "VERSION", s.configVersion);
  write("User Files", "ASCII FILE", s.asciiFilePath);
  write("User Files", "LAS FILE", s.lasFilePath);
  write("LAS HEADER", "WELL LABEL", s.wellLabel);
  write("LAS HEADER", "UWI", s.uwiValue);
  write("LAS HEADER", "WELL NAME", s.wellName);
  write("LAS HEADER", "COUNTRY", s.country);
  write("LAS HEADER", "LOG DATE", s.logDate);
  for (int n = 0; n < 100; ++n) remove("LAS HEADER", "OTHER HEADER " + std::to_string(n));
  const auto lines = SplitTextLines(s.otherHeaderText);
  for (std::size_t n = 0; n < lines.size() && n < 1000; ++n)
    write("LAS HEADER", "OTHER HEADER " + std::to_string(n), lines[n]);
  for (int n = std::max<int>(100, static_cast<int>(lines.size())); n < 1000; ++n) {
    remove("LAS HEADER", "OTHER HEADER " + std::to_string(n));
  }
  write("Curve Parameters", "NULL", FormatFixed(s.nullValue, 10));
  write("Curve Parameters", "FIXED WIDTH", std::to_string(s.fixedWidth));
  write("Curve Parameters", "SKIP WIDTH", std::to_string(s.skipWidth));
  write("Curve Parameters", "DELIMITER", s.delimiterText);
  const int total = s.CurveTotal();
  write("Curves", "TOTAL", std::to_string(total));
  for (int n = 0; n < std::max(100, total); ++n) {
    for (const char* name : {"HEADING ", "UNITS ", "API CODE ", "CURVE DESC "})
      remove("Curves", name + std::to_string(n));
  }
  for (int n = 0; n < total; ++n) {
    const CCurveDef& c = s.curves[static_cast<std::size_t>(n)];
    write("Curves", "HEADING " + std::to_string(n), c.heading);
    write("Curves", "UNITS " + std::to_string(n), c.units);
    write("Curves", "API CODE " + std::to_string(n), c.apiCode);
    write("Curves", "CURVE DESC " + std::to_string(n), c.description);
  }
}

}  // namespace

TEST(SplitTextLines, CutsAtEveryLineEndWithoutATrailingEmptyLine) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitTextLines(""), V{});
  EXPECT_EQ(SplitTextLines("A"), V{"A"});
  EXPECT_EQ(SplitTextLines("A\r\n"), V{"A"});
  EXPECT_EQ(SplitTextLines("A\r\n\r\nB"), (V{"A", "", "B"}));
  EXPECT_EQ(SplitTextLines("A\nB\n\n"), (V{"A", "B", ""}));
  EXPECT_EQ(SplitTextLines("\r\n"), V{""});
  EXPECT_EQ(SplitTextLines("A\rB\r\r\n"), V{"A\rB\r"});  // a lone CR is text
}

TEST(Configuration, NewSetupGivesTheSystemsOwnFileForm) {
  CScratchDir dir;
  CConversionSetup setup;
  setup.configFilePath = dir.File("new.lah");
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(setup.configFilePath), kNewSetupFile);

  // Saving again changes nothing.
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(setup.configFilePath), kNewSetupFile);
}

TEST(Configuration, EmptyPathLoadsNothingAndSavesNothing) {
  CConversionSetup setup;
  EXPECT_FALSE(LoadConfiguration(setup));
  EXPECT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(setup, CConversionSetup{});
}

TEST(Configuration, LoadAfterSaveGivesBackEverySavedField) {
  CScratchDir dir;
  CConversionSetup saved = SetupWithCurves(dir.File("round.lah"), 3);
  saved.asciiFilePath = "/data/logs/well 7.asc";
  saved.lasFilePath = "/data/out/well 7.las";
  saved.nullValue = -9999.125;
  saved.fixedWidth = 12;
  saved.skipWidth = -3;
  saved.delimiterText = ":,";
  saved.uwiValue = "100/01-02-003-04W5/00";
  saved.wellName = "Corvane #7";
  saved.country = "Canada";
  saved.logDate = "2024-05-01";
  saved.otherHeaderText = "FL.   : Location\r\nSRVC.  :  Service Co";
  saved.wellLabel = "API";
  saved.configVersion = "3.1";
  saved.curves[1] = CCurveDef{"", "M", "", "'quoted'"};
  saved.curves.push_back(CCurveDef{"NOT SAVED", "", "", ""});
  saved.firstDigitLineIndex = 4;
  saved.headingsText = "DEPTH GR\r\n";
  ASSERT_TRUE(SaveConfiguration(saved));

  CConversionSetup loaded = LoadFrom(saved.configFilePath);
  CConversionSetup expected = saved;
  expected.curves.pop_back();                 // beyond the curve total: not saved
  expected.curves[1].description = "quoted";  // one pair of quotes is taken off on reading
  expected.digitSamples.assign(3, "");
  expected.userCurveTotal = 3;
  expected.firstDigitLineIndex = -1;  // not kept in the file
  expected.headingsText.clear();
  EXPECT_EQ(loaded, expected);
}

TEST(Configuration, HandEditedFileKeepsEverythingForeign) {
  CScratchDir dir;
  const std::string path = dir.File("edited.lah");
  WriteBytes(path,
             "; Corvane setup edited by hand\r\n"
             "[File ID]\r\n"
             "  id = \"Corvane\"  \r\n"
             "Version=2.5\n"
             "\r\n"
             "[Extra]\r\n"
             "foo = bar ; not a comment\r\n"
             "; a comment\r\n"
             "\r\n"
             " [ las header ]\r\n"
             "WELL NAME = 'Old well'\r\n"
             "Unknown Key=kept\r\n"
             "OTHER HEADER 0=old0\r\n"
             "OTHER HEADER 1=old1\r\n"
             "OTHER HEADER 120=stale\r\n"
             "other header 0150=odd spelling\r\n"
             "\r\n"
             "[Curves]\r\n"
             "TOTAL=1\r\n"
             "HEADING 0=OLD\r\n");
  CConversionSetup setup = LoadFrom(path);
  EXPECT_EQ(setup.configVersion, "2.5");
  EXPECT_EQ(setup.wellName, "Old well");
  EXPECT_EQ(setup.otherHeaderText, "old0\r\nold1");
  EXPECT_EQ(setup.nullValue, 0.0);  // a missing NULL reads as "0"
  EXPECT_EQ(setup.wellLabel, "");   // a missing WELL LABEL reads as empty
  ASSERT_EQ(setup.curves.size(), 1u);
  EXPECT_EQ(setup.curves[0].heading, "OLD");

  setup.wellName = "New well";
  setup.otherHeaderText = "L0";
  setup.curves[0].heading = "DEPT";
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(path),
            "; Corvane setup edited by hand\r\n"
            "[File ID]\r\n"
            "ID=Corvane\r\n"
            "VERSION=2.5\r\n"
            "\r\n"
            "[Extra]\r\n"
            "foo = bar ; not a comment\r\n"
            "; a comment\r\n"
            "\r\n"
            " [ las header ]\r\n"
            "WELL NAME=New well\r\n"
            "Unknown Key=kept\r\n"
            "other header 0150=odd spelling\r\n"
            "WELL LABEL=\r\n"
            "UWI=\r\n"
            "COUNTRY=\r\n"
            "LOG DATE=\r\n"
            "OTHER HEADER 0=L0\r\n"
            "\r\n"
            "[Curves]\r\n"
            "TOTAL=1\r\n"
            "HEADING 0=DEPT\r\n"
            "UNITS 0=\r\n"
            "API CODE 0=\r\n"
            "CURVE DESC 0=\r\n"
            "\r\n"
            "[User Files]\r\n"
            "ASCII FILE=\r\n"
            "LAS FILE=\r\n"
            "\r\n"
            "[Curve Parameters]\r\n"
            "NULL=0.0000000000\r\n"
            "FIXED WIDTH=0\r\n"
            "SKIP WIDTH=0\r\n"
            "DELIMITER=\r\n");
}

TEST(Configuration, LoadingUsesDefaultsAndKeepsFieldsThatAreNoNumbers) {
  CScratchDir dir;
  const std::string path = dir.File("defaults.lah");
  WriteBytes(path,
             "[File ID]\r\nID=Corvane\r\n"
             "[Curve Parameters]\r\nNULL=abc\r\nFIXED WIDTH=  12xyz\r\nSKIP WIDTH=x\r\n"
             "[Curves]\r\nTOTAL=3\r\nHEADING 0=DEPT\r\nHEADING 2=GR\r\nUNITS 1=API\r\n");
  CConversionSetup setup = LoadFrom(path);
  EXPECT_EQ(setup.configVersion, "UNKNOWN");
  EXPECT_EQ(setup.nullValue, -999.25);
  EXPECT_EQ(setup.fixedWidth, 12);
  EXPECT_EQ(setup.skipWidth, 0);
  EXPECT_EQ(setup.userCurveTotal, 3);
  ASSERT_EQ(setup.curves.size(), 3u);
  EXPECT_EQ(setup.curves[1], (CCurveDef{"", "API", "", ""}));
  EXPECT_EQ(setup.curves[2].heading, "GR");
  EXPECT_EQ(setup.digitSamples, std::vector<std::string>(3, ""));

  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(GetProfileString("File ID", "VERSION", "", path), "UNKNOWN");

  // A total that is no number reads no curves.
  WriteBytes(path, "[File ID]\r\nID=Corvane\r\n[Curves]\r\nTOTAL=many\r\nHEADING 0=DEPT\r\n");
  setup = LoadFrom(path);
  EXPECT_EQ(setup.userCurveTotal, 0);
  EXPECT_TRUE(setup.curves.empty());
  EXPECT_TRUE(setup.digitSamples.empty());
}

TEST(Configuration, OnlyTheExactIdentityIsRecognised) {
  CScratchDir dir;
  const std::string path = dir.File("foreign.lah");
  CConversionSetup setup;
  setup.configFilePath = path;
  EXPECT_FALSE(LoadConfiguration(setup));  // missing file

  for (const char* bytes : {"[File ID]\r\nID=corvane\r\nVERSION=9\r\n", "[File ID]\r\nVERSION=9\r\n",
                            "[Other]\r\nID=Corvane\r\n", "[File ID]\r\nID=Corvane2\r\n",
                            // A curve total no log has (it would exhaust memory while reading).
                            "[File ID]\r\nID=Corvane\r\nVERSION=9\r\n[Curves]\r\nTOTAL=99999999999\r\n",
                            "[File ID]\r\nID=Corvane\r\n[Curves]\r\nTOTAL=100001\r\n"}) {
    WriteBytes(path, bytes);
    EXPECT_FALSE(LoadConfiguration(setup)) << bytes;
    CConversionSetup expected;
    expected.configFilePath = path;
    EXPECT_EQ(setup, expected);
  }

  // A later save adds the system's sections to whatever the file holds.
  WriteBytes(path, "[Other]\r\nX=1\r\n");
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(path), std::string("[Other]\r\nX=1\r\n\r\n") + kNewSetupFile);
}

TEST(Configuration, OtherHeaderLinesAndLongValues) {
  CScratchDir dir;
  CConversionSetup setup;
  setup.configFilePath = dir.File("header.lah");
  setup.otherHeaderText = "A\r\n\r\nB\r\n";
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(GetProfileString("LAS HEADER", "OTHER HEADER 0", "?", setup.configFilePath), "A");
  EXPECT_EQ(GetProfileString("LAS HEADER", "OTHER HEADER 1", "?", setup.configFilePath), "");
  EXPECT_EQ(GetProfileString("LAS HEADER", "OTHER HEADER 2", "?", setup.configFilePath), "B");
  EXPECT_FALSE(HasKey(setup.configFilePath, "LAS HEADER", "OTHER HEADER 3"));
  EXPECT_EQ(LoadFrom(setup.configFilePath).otherHeaderText, "A");

  const std::string longPath = "/" + std::string(300, 'p') + "/file.asc";
  const std::string longLine = "REMARK.  : " + std::string(400, 'r');
  setup.asciiFilePath = longPath;
  setup.wellName = "  \t padded name \t ";
  setup.otherHeaderText = longLine + "\r\n  second  ";
  ASSERT_TRUE(SaveConfiguration(setup));
  const CConversionSetup loaded = LoadFrom(setup.configFilePath);
  EXPECT_EQ(loaded.asciiFilePath, longPath);
  EXPECT_EQ(loaded.wellName, "padded name");
  EXPECT_EQ(loaded.otherHeaderText, longLine + "\r\nsecond");
}

TEST(Configuration, RemovalRangesOfCurveAndHeaderKeys) {
  CScratchDir dir;
  const std::string path = dir.File("ranges.lah");
  CConversionSetup big = SetupWithCurves(path, 150);
  for (int n = 0; n < 130; ++n) big.otherHeaderText += "LINE" + std::to_string(n) + "\r\n";
  ASSERT_TRUE(SaveConfiguration(big));
  EXPECT_TRUE(HasKey(path, "Curves", "CURVE DESC 149"));
  EXPECT_TRUE(HasKey(path, "LAS HEADER", "OTHER HEADER 129"));

  // 3 curves clear the curve keys 0 to 99 only; 2 header lines clear every stale line.
  CConversionSetup small = SetupWithCurves(path, 3);
  small.otherHeaderText = "X\r\nY";
  ASSERT_TRUE(SaveConfiguration(small));
  EXPECT_EQ(GetProfileString("Curves", "HEADING 2", "", path), "H2");
  for (const char* key : {"HEADING 3", "UNITS 50", "API CODE 99", "CURVE DESC 99"})
    EXPECT_FALSE(HasKey(path, "Curves", key)) << key;
  for (const char* key : {"HEADING 100", "CURVE DESC 149"}) EXPECT_TRUE(HasKey(path, "Curves", key)) << key;
  for (const char* key : {"OTHER HEADER 2", "OTHER HEADER 99", "OTHER HEADER 100", "OTHER HEADER 129"}) {
    EXPECT_FALSE(HasKey(path, "LAS HEADER", key)) << key;
  }
  EXPECT_EQ(LoadFrom(path).otherHeaderText, "X\r\nY");

  // 120 curves clear 0 to 119: the keys 120 and above of the first save stay.
  ASSERT_TRUE(SaveConfiguration(SetupWithCurves(path, 120)));
  EXPECT_EQ(GetProfileString("Curves", "UNITS 119", "", path), "U119");
  EXPECT_TRUE(HasKey(path, "Curves", "HEADING 120"));
  EXPECT_EQ(LoadFrom(path).curves.size(), 120u);

  // A text of 110 lines keeps its own keys 100 to 109 and drops the stale ones after them.
  WriteProfileString("LAS HEADER", "Other Header 115", "stale", path);
  WriteProfileString("LAS HEADER", "OTHER HEADER 110", "stale", path);
  CConversionSetup header = SetupWithCurves(path, 0);
  for (int n = 0; n < 110; ++n) header.otherHeaderText += "L" + std::to_string(n) + "\r\n";
  ASSERT_TRUE(SaveConfiguration(header));
  EXPECT_EQ(GetProfileString("LAS HEADER", "OTHER HEADER 109", "", path), "L109");
  EXPECT_FALSE(HasKey(path, "LAS HEADER", "OTHER HEADER 110"));
  EXPECT_FALSE(HasKey(path, "LAS HEADER", "OTHER HEADER 115"));
  EXPECT_EQ(LoadFrom(path).otherHeaderText,
            header.otherHeaderText.substr(0, header.otherHeaderText.size() - 2));
}

TEST(Configuration, BatchSaveMatchesKeyByKeyWrites) {
  CScratchDir dir;
  const std::string start =
      "; mine\r\n[Curves]\r\nTOTAL=7\r\nHEADING 130=old\r\n\r\n[LAS HEADER]\r\nOTHER HEADER 0=a\r\n"
      "OTHER HEADER 1=b\r\nOTHER HEADER 140=stale\r\nKEEP=1\r\n\r\n[File ID]\r\nID=Other\r\n";
  CConversionSetup setup = SetupWithCurves(dir.File("batch.lah"), 120);
  setup.otherHeaderText = "one\r\n\r\nthree";
  setup.delimiterText = "space";
  setup.nullValue = 1e-7;
  CConversionSetup byKey = setup;
  byKey.configFilePath = dir.File("keys.lah");
  WriteBytes(setup.configFilePath, start);
  WriteBytes(byKey.configFilePath, start);

  ASSERT_TRUE(SaveConfiguration(setup));
  SaveKeyByKey(byKey);
  EXPECT_EQ(ReadBytes(setup.configFilePath), ReadBytes(byKey.configFilePath));
  ASSERT_TRUE(SaveConfiguration(SetupWithCurves(setup.configFilePath, 3)));
  SaveKeyByKey(SetupWithCurves(byKey.configFilePath, 3));
  EXPECT_EQ(ReadBytes(setup.configFilePath), ReadBytes(byKey.configFilePath));
}

TEST(Configuration, FailedSaveLeavesTheOldFile) {
  CScratchDir dir;
  CConversionSetup setup = SetupWithCurves(dir.File("missing/dir.lah"), 2);
  EXPECT_FALSE(SaveConfiguration(setup));

  setup.configFilePath = dir.Path();  // a directory cannot be read as a file nor replaced
  EXPECT_FALSE(SaveConfiguration(setup));

  if (::geteuid() != 0) {  // permissions do not bind root
    const std::string sub = dir.File("ro");
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    setup.configFilePath = sub + "/old.lah";
    WriteBytes(setup.configFilePath, kNewSetupFile);
    ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);
    EXPECT_FALSE(SaveConfiguration(setup));
    ASSERT_EQ(::chmod(sub.c_str(), 0755), 0);
    EXPECT_EQ(ReadBytes(setup.configFilePath), kNewSetupFile);
  }
}

// The reading choices: absent, they are off and a save adds nothing, so older files stay
// byte for byte; chosen, every key is written and read back; off again, the keys go.
TEST(Configuration, ReadingSectionOnlyWhenAChoiceIsMade) {
  CScratchDir dir;
  const std::string path = dir.File("c.lah");
  CConversionSetup setup;
  setup.configFilePath = path;
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(path), kNewSetupFile);
  EXPECT_EQ(LoadFrom(path).reading, CReadingOptions());

  CReadingOptions chosen;
  chosen.decimalComma = chosen.quotes = chosen.emptyFields = chosen.wholeCells = true;
  chosen.nullMarkers = {"-999", "NaN", "NA"};
  chosen.digits = DigitsKept::Source;
  chosen.dateTimeColumn = 3;
  setup.reading = chosen;
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(path),
            std::string(kNewSetupFile) +
                "\r\n[Reading]\r\nDECIMAL COMMA=YES\r\nQUOTES=YES\r\nEMPTY FIELDS=YES\r\n"
                "NULL MARKERS=-999|NaN|NA\r\nWHOLE CELLS=YES\r\nDIGITS=source\r\nDATE TIME=3\r\n");
  EXPECT_EQ(LoadFrom(path).reading, chosen);

  setup.reading = CReadingOptions();
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(LoadFrom(path).reading, CReadingOptions());
  EXPECT_EQ(ReadBytes(path).find("DIGITS"), std::string::npos);

  // Written by hand: any case and the usual words; a word that is no choice leaves it off.
  struct CCase {
    const char* key;
    const char* value;
    bool on;
  };
  for (const CCase& c :
       {CCase{"decimal comma", "yes", true}, CCase{"QUOTES", " True ", true},
        CCase{"EMPTY FIELDS", "1", true}, CCase{"WHOLE CELLS", "on", true}, CCase{"QUOTES", "maybe", false},
        CCase{"QUOTES", "", false}, CCase{"QUOTES", "0", false}}) {
    WriteBytes(path,
               std::string("[File ID]\r\nID=Corvane\r\n[Reading]\r\n") + c.key + "=" + c.value + "\r\n");
    const CReadingOptions read = LoadFrom(path).reading;
    EXPECT_EQ(read.decimalComma || read.quotes || read.emptyFields || read.wholeCells, c.on)
        << c.key << c.value;
  }
  WriteBytes(
      path,
      "[File ID]\r\nID=Corvane\r\n[Reading]\r\nDIGITS=7\r\nDATE TIME=-2\r\nNULL MARKERS= | -999 ||NaN \r\n");
  const CReadingOptions read = LoadFrom(path).reading;
  EXPECT_EQ(read.digits, DigitsKept::Four);
  EXPECT_EQ(read.dateTimeColumn, 0);
  EXPECT_EQ(read.nullMarkers, (std::vector<std::string>{"-999", "NaN"}));
}

TEST(Configuration, RelativePathsAreTakenFromTheConfigurationsFolder) {
  const std::tuple<const char*, const char*, const char*> resolved[] = {
      {"w.asc", "/data/set/a.lah", "/data/set/w.asc"},
      {"../out/w.las", "/data/set/a.lah", "/data/set/../out/w.las"},
      {"/abs/w.asc", "/data/set/a.lah", "/abs/w.asc"},
      {"", "/data/set/a.lah", ""},
      {"w.asc", "a.lah", "w.asc"},  // a configuration in the working folder
      {"w.asc", "examples/a.lah", "examples/w.asc"},
  };
  for (const auto& [stored, config, path] : resolved)
    EXPECT_EQ(ResolveStoredPath(stored, config), path) << stored;

  CScratchDir dir;
  ASSERT_EQ(::mkdir(dir.File("set").c_str(), 0755), 0);
  const std::string lah = dir.File("set/a.lah");
  WriteBytes(lah, "[File ID]\r\nID=Corvane\r\n[User Files]\r\nASCII FILE=data/w.asc\r\nLAS FILE=./w.las\r\n");
  CConversionSetup setup = LoadFrom(lah);
  EXPECT_EQ(setup.asciiFilePath, dir.File("set/data/w.asc"));
  EXPECT_EQ(setup.lasFilePath, dir.File("set/./w.las"));

  // Saved again, the paths that still name their files stay as they were written.
  setup.wellName = "W";
  ASSERT_TRUE(SaveConfiguration(setup));
  CProfileFile profile;
  ASSERT_TRUE(profile.Load(lah));
  EXPECT_EQ(profile.GetString("User Files", "ASCII FILE", ""), "data/w.asc");
  EXPECT_EQ(profile.GetString("User Files", "LAS FILE", ""), "./w.las");
  // Another file is written as it is named; a path relative to the working folder is
  // made absolute, since a reader of the file would take it from the file's folder.
  setup.asciiFilePath = "/elsewhere/x.asc";
  setup.lasFilePath = "out.las";
  ASSERT_TRUE(SaveConfiguration(setup));
  ASSERT_TRUE(profile.Load(lah));
  EXPECT_EQ(profile.GetString("User Files", "ASCII FILE", ""), "/elsewhere/x.asc");
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(profile.GetString("User Files", "LAS FILE", ""), std::string(cwd) + "/out.las");
  EXPECT_EQ(PathToStore("", "old.asc", lah), "");
}

TEST(Configuration, TheTextOfASetupChangesOnlyWithWhatASaveWrites) {
  CConversionSetup setup = SetupWithCurves("/data/a.lah", 3);
  setup.asciiFilePath = "/data/a.asc";
  CConversionSetup same = setup;
  same.configFilePath = "/elsewhere/b.lah";  // not in the file
  same.headingsText = "DEPT GR\r\n";
  same.headingLines = {2};
  same.firstDigitLineIndex = 4;
  same.digitSamples.assign(3, "1.5\r\n");
  same.curves.push_back(CCurveDef{"BEYOND", "THE", "TOTAL", ""});
  EXPECT_EQ(ConfigurationText(same), ConfigurationText(setup));
  for (auto change : std::initializer_list<void (*)(CConversionSetup&)>{
           [](CConversionSetup& s) { s.curves[2].units = "M"; },
           [](CConversionSetup& s) { s.digitSamples.pop_back(); },
           [](CConversionSetup& s) { s.wellName = "W"; },
           [](CConversionSetup& s) { s.nullValue = 0; },
           [](CConversionSetup& s) { s.lasFilePath = "/data/a.las"; },
           [](CConversionSetup& s) { s.reading.quotes = true; },
           [](CConversionSetup& s) { s.reading.nullMarkers = {"NaN"}; },
       }) {
    CConversionSetup changed = setup;
    change(changed);
    EXPECT_NE(ConfigurationText(changed), ConfigurationText(setup));
  }
}

// FIRST DATA LINE: only in the files of setups that store one; a file without it loads
// as not stored, one with a value that is no line number too.
TEST(Configuration, FirstDataLineIsStoredOnlyWhenTheSetupHasOne) {
  CScratchDir dir;
  const std::string path = dir.File("c.lah");
  CConversionSetup setup;
  setup.configFilePath = path;
  setup.firstDigitLineIndex = 7;  // marked, not stored: the file stays as it was
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(path), kNewSetupFile);
  EXPECT_EQ(LoadFrom(path).storedFirstDataLine, -1);
  EXPECT_EQ(LoadFrom(path).firstDigitLineIndex, -1);

  setup.storedFirstDataLine = 3;
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_NE(ReadBytes(path).find("DELIMITER=\r\nFIRST DATA LINE=3\r\n"), std::string::npos);
  EXPECT_EQ(LoadFrom(path).storedFirstDataLine, 3);
  setup.storedFirstDataLine = -1;
  ASSERT_TRUE(SaveConfiguration(setup));
  EXPECT_EQ(ReadBytes(path), kNewSetupFile);

  for (const auto& [value, stored] : {std::pair{"12", 12}, std::pair{" 0 ", 0}, std::pair{"-1", -1},
                                      std::pair{"auto", -1}, std::pair{"", -1}}) {
    WriteBytes(path, std::string("[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nFIRST DATA LINE=") +
                         value + "\r\n");
    EXPECT_EQ(LoadFrom(path).storedFirstDataLine, stored) << value;
  }
}

// A new configuration file: the setup and nothing else, its neighbours named relative
// to it; an existing file is replaced only when asked, and never half.
TEST(Configuration, NewConfigurationFileHoldsTheSetupAlone) {
  CScratchDir dir;
  ASSERT_EQ(::mkdir(dir.File("logs").c_str(), 0755), 0);
  const std::string path = dir.File("logs/new.lah");
  CConversionSetup setup = SetupWithCurves(path, 2);
  setup.asciiFilePath = dir.File("logs/data/w.csv");
  setup.lasFilePath = dir.File("out/w.las");
  setup.storedFirstDataLine = 2;
  ASSERT_TRUE(WriteNewConfiguration(setup, false));
  CProfileFile profile;
  ASSERT_TRUE(profile.Load(path));
  EXPECT_EQ(profile.GetString("User Files", "ASCII FILE", ""), "data/w.csv");
  EXPECT_EQ(profile.GetString("User Files", "LAS FILE", ""), dir.File("out/w.las"));
  const CConversionSetup loaded = LoadFrom(path);
  EXPECT_EQ(loaded.asciiFilePath, setup.asciiFilePath);
  EXPECT_EQ(loaded.curves, setup.curves);
  EXPECT_EQ(loaded.storedFirstDataLine, 2);

  // Refused without `replace`, whatever has the name; with it, nothing of the old file stays.
  const std::string before = ReadBytes(path);
  EXPECT_EQ(WriteNewConfiguration(SetupWithCurves(path, 1), false).Error(), EEXIST);
  EXPECT_EQ(ReadBytes(path), before);
  ASSERT_EQ(::symlink("nowhere.lah", dir.File("logs/link.lah").c_str()), 0);
  EXPECT_EQ(WriteNewConfiguration(SetupWithCurves(dir.File("logs/link.lah"), 1), false).Error(), EEXIST);
  WriteBytes(path, before + "[Mine]\r\nKEY=kept?\r\n");
  ASSERT_TRUE(WriteNewConfiguration(SetupWithCurves(path, 1), true));
  EXPECT_EQ(ReadBytes(path).find("[Mine]"), std::string::npos);
  EXPECT_EQ(LoadFrom(path).curves.size(), 1u);
}
