#pragma once
// The reading choices on the command line of convert, batch and inspect: each flag
// given takes the place of the configuration's choice (or the proposal's, for inspect),
// the others leave it as it is.
#include <optional>
#include <string>

#include "setup/ConversionSetup.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace corvane::cli {

struct CReadingFlags {
  std::optional<bool> decimalComma;
  std::optional<bool> quotes;
  std::optional<bool> emptyFields;
  std::optional<std::string> nullMarkers;  // "-999|NaN|NA"; empty: none
  std::optional<bool> wholeCells;
  std::optional<std::string> digits;  // "4" or "source"
  std::optional<int> dateTime;        // column from 1; 0: none

  // Adds --decimal-comma, --quotes, --empty-fields, --null-markers LIST, --whole-cells,
  // --digits 4|source and --date-time N to `command`.
  void AddTo(CLI::App& command);
  // The flags given, as reading choices.
  CReadingChoices Choices() const;
  // Puts the flags given into `reading`.
  void ApplyTo(CReadingOptions& reading) const;
};

// The refusal of a null value that is not a finite number ("--null 1e309", a
// configuration's NULL=1e999): none when `value` is finite. `text` is the value as
// given, `source` names where ("--null", "NULL in well.lah").
std::optional<std::string> NullValueRefusal(double value, const std::string& text, const std::string& source);

// Reads the text of --null as the null value box reads it; on a refusal the message
// goes to stderr and `value` is left as it is.
bool ReadNullOption(const std::string& text, double& value);

// True when the user gave `option` on the command line (a null option: never).
bool Given(const CLI::Option* option);

// The NULL value of a configuration file as its text stands, for the refusal.
std::string ConfiguredNullText(const std::string& configPath);

}  // namespace corvane::cli
