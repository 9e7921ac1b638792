#pragma once
// The reading summary of a conversion: every cell of the written columns accounted
// for in the one pass that writes the data section. Per column it counts the cells
// (and rows) whose text was not simply a number and keeps the first of each kind, so
// that the command line, the batch report and the wizard say the same from one record.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "setup/ReadingOptions.h"

namespace corvane {

enum class ReadingKind : std::uint8_t {
  PartialNumber,  // text after the number: the number is written
  NotANumber,     // no number, or with whole cells not only one: the null value is written
  OutOfRange,     // a number beyond the range of a double (1e309): the null value is written
  ShortRow,       // a line with fewer fields than the curve total: the missing ones are null
  LongRow,        // a line with more fields than the curve total: the rest is dropped
  PrecisionLost,  // a reading not 0 written as 0.0000, or keeping fewer than 3 of its significant digits
  NullLike,       // a common null marker (-999, -999.25, -9999, 9999, -99999) that is not the NULL value
  EmptyField,     // an empty field: the null value (no doubt: a missing reading)
  NullMarker,     // one of the chosen null markers: the null value (no doubt: chosen so)
};
inline constexpr std::size_t kReadingKindCount = 9;

// "PARTIAL_NUMBER", "NOT_A_NUMBER", "OUT_OF_RANGE", "SHORT_ROW", "LONG_ROW",
// "PRECISION_LOST", "NULL_LIKE", "EMPTY_FIELD", "NULL_MARKER".
std::string_view ReadingKindName(ReadingKind kind) noexcept;
// What was written, in a few words ("the number before the text written").
std::string_view ReadingKindMeaning(ReadingKind kind) noexcept;
// Every kind but EMPTY_FIELD and NULL_MARKER is a doubt about a value.
bool IsReadingDoubt(ReadingKind kind) noexcept;
// The kinds that make --strict fail: a reading whose value the file does not give
// whole (PARTIAL_NUMBER, NOT_A_NUMBER, OUT_OF_RANGE, SHORT_ROW, LONG_ROW).
bool FailsStrictReading(ReadingKind kind) noexcept;

struct CReadingExample {
  std::uint64_t line = 0;  // line of the ASCII file, counted from 1
  int column = 0;          // counted from 1; for SHORT_ROW and LONG_ROW the fields the line holds
  std::string text;        // the cell (the line, for a row), at most kExampleLength characters
};

struct CReadingCount {
  std::uint64_t count = 0;
  CReadingExample first;  // the occurrence nearest the start of the file
};

// A finding that one reading choice would settle.
struct CReadingHint {
  ReadingKind kind;
  std::string finding;  // "looks like decimal commas"
  std::string option;   // the command line's flag: "--decimal-comma"
  std::string control;  // the Step 2 control: "Decimal comma"
};

class CReadingSummary {
 public:
  static constexpr std::size_t kExampleLength = 80;

  // Starts the accounting of `columns` columns read with `options`; `headings` are the
  // headings the columns are written under (empty for one not written), `delimiterSet`
  // the set they were cut at.
  void Begin(const CReadingOptions& options, std::vector<std::string> headings, std::string delimiterSet);

  // One finding. `column` counts from 0; -1 for SHORT_ROW and LONG_ROW, whose `fields`
  // give the fields the line holds. `text` is the cell (the line for a row).
  void Record(ReadingKind kind, std::uint64_t line, int column, std::string_view text, int fields = 0);
  void AddRows(std::uint64_t rows) noexcept { m_rows += rows; }

  std::uint64_t Rows() const noexcept { return m_rows; }
  const CReadingOptions& Options() const noexcept { return m_options; }
  int Columns() const noexcept { return static_cast<int>(m_headings.size()); }
  // The heading a column is written under; empty for a column not written.
  const std::string& Heading(int column) const { return m_headings[static_cast<std::size_t>(column)]; }
  // Over every column, and of one column (row kinds belong to no column: zero there).
  const CReadingCount& Total(ReadingKind kind) const noexcept {
    return m_totals[static_cast<std::size_t>(kind)];
  }
  const CReadingCount& Count(int column, ReadingKind kind) const noexcept;
  bool ColumnHasFindings(int column) const noexcept;

  bool HasDoubts() const noexcept;
  bool FailsStrict() const noexcept;
  // The choices that would settle what was found, in a fixed order; none that is on already.
  std::vector<CReadingHint> Hints() const;

 private:
  using CCounts = std::array<CReadingCount, kReadingKindCount>;
  void Note(ReadingKind kind, int column, std::string_view text);

  CReadingOptions m_options;
  std::vector<std::string> m_headings;
  std::string m_delimiterSet;
  std::uint64_t m_rows = 0;
  CCounts m_totals;
  std::vector<std::unique_ptr<CCounts>> m_columns;  // made at a column's first finding
  // What the hints rest on.
  std::uint64_t m_commaDecimals = 0;
  std::uint64_t m_quotedCells = 0;
  std::uint64_t m_emptyFieldRows = 0;
  int m_dateTimeColumn = 0;                  // from 1; 0 = none seen
  std::vector<std::string> m_markerTexts;    // text cells that are common null markers ("NaN")
  std::vector<std::string> m_nullLikeTexts;  // the NULL_LIKE readings seen ("-999")
};

// Who reads the summary: the hints name flags on the command line, controls in the wizard.
enum class ReadingAudience { CommandLine, Wizard };

// A few lines: the rows and columns, one line per kind found (count, the first with its
// line, column and text), the hints; "every cell read as a number" when nothing was found.
std::string FormatReadingSummary(const CReadingSummary& summary, ReadingAudience audience);
// Every column with findings, one line per kind (the wizard's details).
std::string FormatReadingColumns(const CReadingSummary& summary);

}  // namespace corvane
