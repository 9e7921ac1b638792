#pragma once
// One LAS data line per row: the cells of the written columns read with the setup's
// reading choices, formatted ("%12.4lf  ", or the source's digits) and accounted for
// in the reading summary. Most cells are plain decimals, and those are written from
// their text without a number conversion.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ascii/CellReader.h"
#include "las/ReadingSummary.h"
#include "setup/ConversionSetup.h"

namespace corvane {

class CDataRowWriter {
 public:
  // `columns` are the written columns in their order (the index first); findings go to
  // `summary`, which the writer does not own.
  CDataRowWriter(const CConversionSetup& setup, std::vector<int> columns, CReadingSummary& summary);

  // The seconds of the first date-time of the date-time column: its cells are written
  // as seconds since then.
  void SetTimeOrigin(double seconds) noexcept {
    m_timeOrigin = seconds;
    m_hasTimeOrigin = true;
  }

  // Appends the data line of one row (three blanks, one cell per written column, CR
  // LF). `cells` hold one view per column of the curve total; `fields` of them came
  // from the line (the rest fill a short row); `line` numbers the line in the ASCII
  // file for the summary.
  void AppendRow(std::string& out, const std::vector<std::string_view>& cells, std::size_t fields,
                 std::uint64_t line);

  // The first written cell of the last row (the index), as written, blanks included.
  std::string_view FirstCell(const std::string& out) const noexcept {
    return std::string_view(out).substr(m_firstCellBegin, m_firstCellEnd - m_firstCellBegin);
  }

  // Appends the cell of one text, as a row would write it in column `column`; for the
  // depth scan, which writes nothing. Findings go to the summary as for a row.
  void AppendCell(std::string& out, std::string_view cell, int column, std::uint64_t line);

 private:
  bool AppendPlainCell(std::string& out, std::string_view cell, int column, std::uint64_t line);
  void CheckPlainNullLike(std::string_view cell, int column, std::uint64_t line);
  void AppendReadCell(std::string& out, std::string_view cell, int column, std::uint64_t line);
  void AppendDateTimeCell(std::string& out, std::string_view cell, int column, std::uint64_t line);
  void AppendNumber(std::string& out, std::string_view cell, double value, const CNumberScan& scan,
                    int column, std::uint64_t line);
  void CheckNullLike(double value, std::string_view cell, int column, std::uint64_t line);

  std::vector<int> m_columns;
  CReadingSummary& m_summary;
  CCellReader m_reader;
  double m_nullValue;
  std::string m_nullCell;  // the null value's cell, its two blanks included
  bool m_sourceDigits;
  bool m_decimalComma;
  bool m_plainReading;   // no null markers and no whole cells: the text-only route may be taken
  int m_dateTimeColumn;  // from 0; -1 = none
  double m_timeOrigin = 0;
  bool m_hasTimeOrigin = false;
  std::size_t m_firstCellBegin = 0;
  std::size_t m_firstCellEnd = 0;
};

}  // namespace corvane
