#pragma once
// A whole configuration proposed for an ASCII file, as `corvane-cli init` writes it: the
// layout and reading choices the detection proposes, the curves named from the file's
// heading lines with the mnemonic dictionary, and the first data line, stored so that
// runs without a window need not be told it. What the caller fixes stays as given.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ascii/CurveProposal.h"
#include "ascii/LayoutDetector.h"
#include "mnemonics/MnemonicDictionary.h"
#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// The choices of a new configuration that the caller fixes; each one left unset is
// proposed (the null value: -999.25).
struct CFixedChoices {
  std::optional<std::int32_t> firstDataLine;  // lines before the first line of digits
  std::optional<std::string> delimiterText;   // "space", "tab" or the delimiter characters
  std::optional<std::int32_t> fixedWidth;
  std::optional<std::int32_t> skipWidth;
  std::optional<std::int32_t> curveTotal;
  std::optional<double> nullValue;
  CReadingChoices reading;
};

struct CConfigurationProposal {
  // What the new configuration file holds: the three files, the layout, the reading
  // choices, a curve per column and the stored first data line; the digit samples
  // gathered (they fix the curve total).
  CConversionSetup setup;
  std::optional<CLayoutProposal> layout;  // the detection's proposal; none when it found none
  CCurveProposal curves;                  // the curves as named from the heading lines
  std::vector<int> unwrittenColumns;      // columns of text, from 0: no heading, not written
  // For the user, one line each: the layout, the curves, the columns left out.
  std::vector<std::string> account;
};

// Proposes the configuration of the ASCII file `asciiPath`, to be written as
// `configPath`, its LAS file `lasPath` (empty: NAME.las beside the ASCII file). Fails
// when the file cannot be read or is not text, when its lines end before the first
// data line, and (Incomplete) when no first data line is fixed and the detection
// proposes none; the reason says why.
CResult ProposeConfiguration(const std::string& asciiPath, const std::string& configPath,
                             const std::string& lasPath, const CFixedChoices& fixed,
                             const CMnemonicDictionary& dictionary, CConfigurationProposal& proposal);

// ProposeConfiguration, then the file written (WriteNewConfiguration): what `init` does.
// Refused before anything is read when two of the three files are one (the messages of
// the setup, kSameAsciiAndLasMessage and kConfigurationIsDataFileMessage, as the
// reason) or when a file stands at `configPath` and `overwrite` is false (EEXIST).
CResult CreateConfiguration(const std::string& asciiPath, const std::string& configPath,
                            const std::string& lasPath, const CFixedChoices& fixed, bool overwrite,
                            const CMnemonicDictionary& dictionary, CConfigurationProposal& proposal);

}  // namespace corvane
