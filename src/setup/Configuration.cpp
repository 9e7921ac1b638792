#include "setup/Configuration.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/AsciiText.h"
#include "platform/File.h"
#include "platform/NumberFormat.h"
#include "platform/Profile.h"
#include "setup/ConfigurationPaths.h"

namespace corvane {

namespace {

constexpr std::string_view kFileId = "File ID";
constexpr std::string_view kUserFiles = "User Files";
constexpr std::string_view kLasHeader = "LAS HEADER";
constexpr std::string_view kCurveParameters = "Curve Parameters";
constexpr std::string_view kCurves = "Curves";
constexpr std::string_view kReading = "Reading";
constexpr std::string_view kIdentity = "Corvane";
constexpr std::string_view kOtherHeaderPrefix = "OTHER HEADER ";

// Whatever a file holds, no more than this many other header lines are kept.
constexpr int kMaxOtherHeaderLines = 1000;
// Curve keys below this number are cleared on every save, however few curves there are.
constexpr int kMinCurveKeysCleared = 100;
// Other header keys below this number are cleared on every save.
constexpr int kOtherHeaderKeysCleared = 100;

std::string NumberedKey(std::string_view name, long long n) {
  std::string key(name);
  key.push_back(' ');
  AppendInt(key, n);
  return key;
}

// The number n of a key that reads exactly "OTHER HEADER <n>" (any letter case), as
// a load would ask for it; -1 for any other key.
long long OtherHeaderNumber(std::string_view key) {
  if (key.size() <= kOtherHeaderPrefix.size() || key.size() > kOtherHeaderPrefix.size() + 9) return -1;
  if (!StartsWithNoCase(key, kOtherHeaderPrefix)) return -1;
  const std::string_view digits = key.substr(kOtherHeaderPrefix.size());
  if (digits.size() > 1 && digits.front() == '0') return -1;
  long long n = 0;
  for (char c : digits) {
    if (!IsAsciiDigit(c)) return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// Lines before the first line of digits, after DELIMITER; optional.
constexpr std::string_view kFirstDataLine = "FIRST DATA LINE";

// The keys of [Reading], in the order a save writes them.
constexpr std::string_view kDecimalComma = "DECIMAL COMMA";
constexpr std::string_view kQuotes = "QUOTES";
constexpr std::string_view kEmptyFields = "EMPTY FIELDS";
constexpr std::string_view kNullMarkers = "NULL MARKERS";
constexpr std::string_view kWholeCells = "WHOLE CELLS";
constexpr std::string_view kDigits = "DIGITS";
constexpr std::string_view kDateTime = "DATE TIME";

// YES, TRUE, ON or 1 and NO, FALSE, OFF or 0, in any case; anything else (a key left
// out included) leaves the choice as it was.
void ReadSwitch(const CProfileFile& profile, std::string_view key, bool& value) {
  const std::optional<std::string> text = profile.Get(kReading, key);
  if (!text) return;
  const std::string_view word = TrimCSpace(*text);
  for (std::string_view yes : {"YES", "TRUE", "ON", "1"})
    if (EqualNoCase(word, yes)) value = true;
  for (std::string_view no : {"NO", "FALSE", "OFF", "0"})
    if (EqualNoCase(word, no)) value = false;
}

// The reading choices: a file without the section reads every cell as the plain rules say.
void LoadReading(const CProfileFile& profile, CReadingOptions& reading) {
  ReadSwitch(profile, kDecimalComma, reading.decimalComma);
  ReadSwitch(profile, kQuotes, reading.quotes);
  ReadSwitch(profile, kEmptyFields, reading.emptyFields);
  if (const auto markers = profile.Get(kReading, kNullMarkers))
    reading.nullMarkers = ParseNullMarkers(*markers);
  ReadSwitch(profile, kWholeCells, reading.wholeCells);
  if (const auto digits = profile.Get(kReading, kDigits)) ParseDigits(*digits, reading.digits);
  std::int32_t column = 0;
  if (const auto dateTime = profile.Get(kReading, kDateTime); dateTime && ScanInt(*dateTime, column))
    reading.dateTimeColumn = std::max<std::int32_t>(column, 0);
}

// Choices all at their defaults add nothing to the file (one that had the section loses
// its keys), so the files of setups that never used them stay as they were; otherwise
// every key is written, so the file says each choice.
void SaveReading(CProfileFile& profile, const CReadingOptions& reading) {
  if (reading.IsDefault()) {
    for (std::string_view key :
         {kDecimalComma, kQuotes, kEmptyFields, kNullMarkers, kWholeCells, kDigits, kDateTime})
      profile.Remove(kReading, key);
    return;
  }
  auto yesNo = [](bool value) { return std::string_view(value ? "YES" : "NO"); };
  profile.Write(kReading, kDecimalComma, yesNo(reading.decimalComma));
  profile.Write(kReading, kQuotes, yesNo(reading.quotes));
  profile.Write(kReading, kEmptyFields, yesNo(reading.emptyFields));
  profile.Write(kReading, kNullMarkers, JoinNullMarkers(reading.nullMarkers));
  profile.Write(kReading, kWholeCells, yesNo(reading.wholeCells));
  profile.Write(kReading, kDigits, DigitsName(reading.digits));
  profile.Write(kReading, kDateTime, FormatInt(reading.dateTimeColumn));
}

}  // namespace

CResult LoadConfiguration(CConversionSetup& setup) {
  const std::string& path = setup.configFilePath;
  if (path.empty()) return CResult::Failed("no configuration file named");
  // A missing file is no configuration to load (for a save it is a new one).
  CFile probe;
  if (CResult opened = probe.OpenForReading(path, CFile::Lock::None); !opened.Ok()) return opened;
  probe.Discard();
  CProfileFile profile;
  CResult loaded = profile.Load(path);
  if (!loaded.Ok()) return loaded;
  // The last key of a cut file holds part of its value (or part of its name).
  if (profile.CutShort())
    return CResult::Failed(path +
                           ": the file ends in the middle of a line; it was cut short (a save that did "
                           "not finish?)");
  if (profile.GetString(kFileId, "ID", "UNKNOWN") != kIdentity)
    return CResult::Failed(path +
                           ": not a configuration file that Corvane can read (its ID is not \"Corvane\")");
  // A damaged or hostile TOTAL (billions of curves) would exhaust memory while the
  // curves are read; no log has that many, so such a file is not recognised, and it
  // is refused before anything of the setup changes.
  std::int32_t total = 0;
  if (!ScanInt(profile.GetString(kCurves, "TOTAL", "0"), total)) total = 0;
  if (total > kMaxCurveTotal) return CResult::Failed(path + ": a curve total above 100000");

  setup.configVersion = profile.GetString(kFileId, "VERSION", "UNKNOWN");
  setup.asciiFilePath = ResolveStoredPath(profile.GetString(kUserFiles, "ASCII FILE", ""), path);
  setup.lasFilePath = ResolveStoredPath(profile.GetString(kUserFiles, "LAS FILE", ""), path);
  setup.wellLabel = profile.GetString(kLasHeader, "WELL LABEL", "");
  setup.uwiValue = profile.GetString(kLasHeader, "UWI", "");
  setup.wellName = profile.GetString(kLasHeader, "WELL NAME", "");
  setup.country = profile.GetString(kLasHeader, "COUNTRY", "");
  setup.logDate = profile.GetString(kLasHeader, "LOG DATE", "");

  setup.otherHeaderText.clear();
  for (int n = 0; n < kMaxOtherHeaderLines; ++n) {
    const std::string line = profile.GetString(kLasHeader, NumberedKey("OTHER HEADER", n), "");
    if (line.empty()) break;
    if (!setup.otherHeaderText.empty()) setup.otherHeaderText.append("\r\n");
    setup.otherHeaderText.append(line);
  }

  // A value that is not a number leaves the field as it was.
  ScanDouble(profile.GetString(kCurveParameters, "NULL", "0"), setup.nullValue);
  ScanInt(profile.GetString(kCurveParameters, "FIXED WIDTH", "0"), setup.fixedWidth);
  ScanInt(profile.GetString(kCurveParameters, "SKIP WIDTH", "0"), setup.skipWidth);
  setup.delimiterText = profile.GetString(kCurveParameters, "DELIMITER", "");
  // Stored by `init`: a value that is no line number counts as not stored.
  std::int32_t firstDataLine = -1;
  if (const auto stored = profile.Get(kCurveParameters, kFirstDataLine);
      stored && ScanInt(*stored, firstDataLine) && firstDataLine >= 0)
    setup.storedFirstDataLine = firstDataLine;

  setup.userCurveTotal = total;
  for (std::int32_t n = 0; n < total; ++n) {
    CCurveDef curve;
    curve.heading = profile.GetString(kCurves, NumberedKey("HEADING", n), "");
    curve.units = profile.GetString(kCurves, NumberedKey("UNITS", n), "");
    curve.apiCode = profile.GetString(kCurves, NumberedKey("API CODE", n), "");
    curve.description = profile.GetString(kCurves, NumberedKey("CURVE DESC", n), "");
    setup.curves.push_back(std::move(curve));
    setup.digitSamples.emplace_back();
  }
  LoadReading(profile, setup.reading);
  return CResult::Done();
}

namespace {

// The keys of a save, written over what `profile` holds.
void WriteSetup(CProfileFile& profile, const CConversionSetup& setup) {
  profile.Write(kFileId, "ID", kIdentity);
  profile.Write(kFileId, "VERSION", setup.configVersion);
  const std::string& path = setup.configFilePath;
  profile.Write(kUserFiles, "ASCII FILE",
                PathToStore(setup.asciiFilePath, profile.GetString(kUserFiles, "ASCII FILE", ""), path));
  profile.Write(kUserFiles, "LAS FILE",
                PathToStore(setup.lasFilePath, profile.GetString(kUserFiles, "LAS FILE", ""), path));
  profile.Write(kLasHeader, "WELL LABEL", setup.wellLabel);
  profile.Write(kLasHeader, "UWI", setup.uwiValue);
  profile.Write(kLasHeader, "WELL NAME", setup.wellName);
  profile.Write(kLasHeader, "COUNTRY", setup.country);
  profile.Write(kLasHeader, "LOG DATE", setup.logDate);

  for (int n = 0; n < kOtherHeaderKeysCleared; ++n)
    profile.Remove(kLasHeader, NumberedKey("OTHER HEADER", n));
  const std::vector<std::string> lines = SplitTextLines(setup.otherHeaderText);
  const int lineCount = static_cast<int>(std::min<std::size_t>(lines.size(), kMaxOtherHeaderLines));
  for (int n = 0; n < lineCount; ++n) {
    profile.Write(kLasHeader, NumberedKey("OTHER HEADER", n), lines[static_cast<std::size_t>(n)]);
  }
  // Keys from an earlier, longer text would otherwise come back as further lines on
  // the next load.
  for (const std::string& key : profile.Keys(kLasHeader)) {
    const long long n = OtherHeaderNumber(key);
    if (n >= kOtherHeaderKeysCleared && n >= lineCount) profile.Remove(kLasHeader, key);
  }

  profile.Write(kCurveParameters, "NULL", FormatFixed(setup.nullValue, 10));
  profile.Write(kCurveParameters, "FIXED WIDTH", FormatInt(setup.fixedWidth));
  profile.Write(kCurveParameters, "SKIP WIDTH", FormatInt(setup.skipWidth));
  profile.Write(kCurveParameters, "DELIMITER", setup.delimiterText);
  // Only a setup that stores its first data line has the key: the files of the others
  // stay as they were.
  if (setup.storedFirstDataLine >= 0)
    profile.Write(kCurveParameters, kFirstDataLine, FormatInt(setup.storedFirstDataLine));
  else
    profile.Remove(kCurveParameters, kFirstDataLine);

  const int total = setup.CurveTotal();
  profile.Write(kCurves, "TOTAL", FormatInt(total));
  const int cleared = std::max(kMinCurveKeysCleared, total);
  for (int n = 0; n < cleared; ++n) {
    profile.Remove(kCurves, NumberedKey("HEADING", n));
    profile.Remove(kCurves, NumberedKey("UNITS", n));
    profile.Remove(kCurves, NumberedKey("API CODE", n));
    profile.Remove(kCurves, NumberedKey("CURVE DESC", n));
  }
  const CCurveDef none;
  for (int n = 0; n < total; ++n) {
    const CCurveDef& curve =
        static_cast<std::size_t>(n) < setup.curves.size() ? setup.curves[static_cast<std::size_t>(n)] : none;
    profile.Write(kCurves, NumberedKey("HEADING", n), curve.heading);
    profile.Write(kCurves, NumberedKey("UNITS", n), curve.units);
    profile.Write(kCurves, NumberedKey("API CODE", n), curve.apiCode);
    profile.Write(kCurves, NumberedKey("CURVE DESC", n), curve.description);
  }
  SaveReading(profile, setup.reading);
}

}  // namespace

CResult SaveConfiguration(const CConversionSetup& setup) {
  if (setup.configFilePath.empty()) return CResult::Done();
  CProfileFile profile;
  // A file that exists but cannot be read is not replaced by a file without its contents.
  CResult loaded = profile.Load(setup.configFilePath);
  if (!loaded.Ok()) return loaded;
  WriteSetup(profile, setup);
  return profile.Save(setup.configFilePath);
}

CResult WriteNewConfiguration(const CConversionSetup& setup, bool replace) {
  if (setup.configFilePath.empty()) return CResult::Failed("no configuration file named", ENOENT);
  CProfileFile profile;
  // Paths written beforehand are kept by the save, as it keeps those of a loaded file
  // that still name their files.
  const std::string& path = setup.configFilePath;
  profile.Write(kFileId, "ID", kIdentity);
  profile.Write(kFileId, "VERSION", setup.configVersion);
  profile.Write(kUserFiles, "ASCII FILE", PathForNewConfiguration(setup.asciiFilePath, path));
  profile.Write(kUserFiles, "LAS FILE", PathForNewConfiguration(setup.lasFilePath, path));
  WriteSetup(profile, setup);
  return replace ? profile.Save(path) : profile.SaveNew(path);
}

std::string ConfigurationText(const CConversionSetup& setup) {
  CProfileFile profile;
  WriteSetup(profile, setup);
  return profile.Text();
}

}  // namespace corvane
