#include "cli/ReadingFlags.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <iostream>

#include "platform/NumberFormat.h"
#include "platform/Profile.h"

namespace corvane::cli {

void CReadingFlags::AddTo(CLI::App& command) {
  auto flag = [&](const char* name, std::optional<bool>& value, const char* help) {
    command.add_flag_function(
        name, [&value](std::int64_t count) { value = count > 0; },
        std::string(help) + " (" + name + "=false turns a configuration's choice off)");
  };
  flag("--decimal-comma", decimalComma, "A comma inside a number is its decimal mark (1500,125)");
  flag("--quotes", quotes,
       "Fields in double quotes: the quotes are removed, delimiters inside them kept, \"\" is a quote");
  flag("--empty-fields", emptyFields,
       "Every delimiter separates, tab included: two in a row give an empty field (the null value)");
  command
      .add_option(
          "--null-markers", nullMarkers,
          "Cells written as the null value, separated by | (for example '-999|NaN|NA'); \"\" for none")
      ->type_name("LIST");
  flag("--whole-cells", wholeCells, "A cell must be a number from end to end, else the null value");
  command
      .add_option("--digits", digits,
                  "Digits a cell keeps: 4 (four decimals) or source (the significant digits of the source)")
      ->check(CLI::IsMember({"4", "source"}))
      ->type_name("4|source");
  command
      .add_option("--date-time", dateTime,
                  "Column N (from 1) holds date-times: written as seconds since its first one, as TIME in S; "
                  "0 for none")
      ->check(CLI::Range(0, static_cast<int>(kMaxCurveTotal)))
      ->type_name("N");
}

CReadingChoices CReadingFlags::Choices() const {
  CReadingChoices choices;
  choices.decimalComma = decimalComma;
  choices.quotes = quotes;
  choices.emptyFields = emptyFields;
  if (nullMarkers) choices.nullMarkers = ParseNullMarkers(*nullMarkers);
  choices.wholeCells = wholeCells;
  DigitsKept kept = DigitsKept::Four;
  if (digits && ParseDigits(*digits, kept)) choices.digits = kept;
  if (dateTime) choices.dateTimeColumn = *dateTime;
  return choices;
}

void CReadingFlags::ApplyTo(CReadingOptions& reading) const { Choices().ApplyTo(reading); }

std::optional<std::string> NullValueRefusal(double value, const std::string& text,
                                            const std::string& source) {
  if (std::isfinite(value)) return std::nullopt;
  return source + " \"" + text +
         "\" is beyond the range of numbers (about 1.8e308) and cannot stand for a missing reading; give a "
         "number such as -999.25";
}

bool ReadNullOption(const std::string& text, double& value) {
  // Read like the null value box: only its first 399 characters count.
  double read = 0;
  if (!ScanDouble(std::string_view(text).substr(0, 399), read)) {
    std::cerr << "Enter a number.\n";
    return false;
  }
  if (const auto refusal = NullValueRefusal(read, text, "--null")) {
    std::cerr << "Enter a number.\ncorvane-cli: " << *refusal << ".\n";
    return false;
  }
  value = read;
  return true;
}

std::string ConfiguredNullText(const std::string& configPath) {
  CProfileFile profile;
  if (!profile.Load(configPath).Ok()) return std::string();
  return profile.GetString("Curve Parameters", "NULL", "");
}

bool Given(const CLI::Option* option) { return option != nullptr && option->count() > 0; }

}  // namespace corvane::cli
