#pragma once
// The record of every choice of one conversion. The wizard sheet owns one for the
// life of a wizard; the command line builds one from a configuration file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/ReadingOptions.h"

namespace corvane {

// One curve of the conversion; entry k of the curve list belongs to data column k.
// An empty heading means that the column is not written to the LAS file.
struct CCurveDef {
  std::string heading;
  std::string units;
  std::string apiCode;
  std::string description;

  bool operator==(const CCurveDef&) const = default;
};

// No log has more curves; a larger total (typed, or read from a damaged file) would
// only exhaust memory while the columns are gathered, so it is refused.
inline constexpr std::int32_t kMaxCurveTotal = 100000;

struct CConversionSetup {
  std::string asciiFilePath;
  double nullValue = -999.25;
  std::int32_t firstDigitLineIndex = -1;  // lines before the first line of digits; -1 = not chosen
  // The first data line the configuration file stores (FIRST DATA LINE), for runs
  // without a window and for Step 2's marks; -1 = not stored: found by the detection.
  std::int32_t storedFirstDataLine = -1;
  std::int32_t userCurveTotal = 0;         // >= 1 forces the column count
  std::int32_t fixedWidth = 0;             // > 0 cuts columns by position
  std::int32_t skipWidth = 0;              // characters dropped at the start of every data line
  std::string delimiterText;               // "space", "tab" or the delimiter characters
  std::string headingsText;                // marked header lines, each followed by CR LF
  std::vector<std::int32_t> headingLines;  // where they stand: lines before each, in file order
  std::vector<CCurveDef> curves;           // at least CurveTotal() entries when saved or converted
  std::vector<std::string> digitSamples;   // one text per column; its size is the curve total
  std::string uwiValue;
  std::string wellName;
  std::string configFilePath;
  std::string country;
  std::string logDate;
  std::string otherHeaderText;    // lines separated by CR LF
  std::string wellLabel = "UWI";  // "API" or "UWI"
  std::string lasFilePath;
  std::string configVersion = "3.0";
  CReadingOptions reading;  // how the cells are read; the [Reading] section of the file

  // The number of columns (curves) of this conversion.
  int CurveTotal() const noexcept { return static_cast<int>(digitSamples.size()); }

  bool operator==(const CConversionSetup&) const = default;
};

// The refusals of a setup whose files overlap: the LAS file would take the place of
// the ASCII file, or the configuration would be written into the data.
inline constexpr const char* kSameAsciiAndLasMessage = "The name of ASCII and LAS files cannot be the same.";
inline constexpr const char* kConfigurationIsDataFileMessage =
    "The configuration file cannot be the ASCII file or the LAS file.";

// True when the configuration file names the ASCII file or the LAS file, by the
// written path or as the same file on disk (links, relative paths).
bool ConfigurationIsDataFile(const CConversionSetup& setup);

// Cuts a multi-line text into its lines at CR LF (a lone LF ends a line too). A line
// end at the very end of the text makes no extra empty line; two in a row make an
// empty line. Used for the other header text, whose lines become configuration keys
// and LAS header lines.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace corvane
