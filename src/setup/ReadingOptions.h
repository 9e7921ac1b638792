#pragma once
// How the cells of the data lines are read: choices beside the column layout, each
// off by default, so that a setup without them reads every line as the plain rules
// say (the longest leading number of each cell, runs of white space as one separator,
// four decimals written).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// How many digits a written cell keeps.
enum class DigitsKept : std::uint8_t {
  Four,    // "%12.4lf": four decimals
  Source,  // the significant digits the source gave, at least four decimals
};

struct CReadingOptions {
  bool decimalComma = false;  // a comma inside a number is its decimal mark ("1500,125")
  bool quotes = false;        // fields in double quotes: quotes removed, delimiters inside kept
  bool emptyFields = false;   // every delimiter separates (tab included): two in a row give an empty field
  std::vector<std::string> nullMarkers;  // cells written as the null value ("-999", "NaN", "NA")
  bool wholeCells = false;               // a cell must be a number from end to end, else the null value
  DigitsKept digits = DigitsKept::Four;
  std::int32_t dateTimeColumn = 0;  // column (from 1) of date-times written as seconds; 0 = none

  // Every choice as a new setup has it: the cells are read as the plain rules say.
  bool IsDefault() const noexcept;
  bool operator==(const CReadingOptions&) const = default;
};

// Reading choices that a caller fixes, each only when given (a command line's flags
// over a configuration's or a proposal's choices).
struct CReadingChoices {
  std::optional<bool> decimalComma;
  std::optional<bool> quotes;
  std::optional<bool> emptyFields;
  std::optional<std::vector<std::string>> nullMarkers;
  std::optional<bool> wholeCells;
  std::optional<DigitsKept> digits;
  std::optional<std::int32_t> dateTimeColumn;

  // Puts the choices given into `reading`.
  void ApplyTo(CReadingOptions& reading) const;
  // True when a choice that changes how a line is cut (quotes, empty fields) is given.
  bool ChangesTheCut() const noexcept { return quotes.has_value() || emptyFields.has_value(); }
};

// The null marker list as the configuration file and the command line write it:
// texts separated by "|" ("-999|NaN|NA"); blanks around each are dropped, empty ones
// skipped.
std::vector<std::string> ParseNullMarkers(std::string_view text);
std::string JoinNullMarkers(const std::vector<std::string>& markers);

// "4" or "source" (the values of the DIGITS key and of --digits); Parse takes any case.
std::string_view DigitsName(DigitsKept digits) noexcept;
bool ParseDigits(std::string_view text, DigitsKept& digits) noexcept;

}  // namespace corvane
