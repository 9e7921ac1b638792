#pragma once
// The header of a LAS file: its sections up to the ~A line, as the plot's header
// tables show them, with what the data reader needs (curves, wrap mode, null value).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plot/LasHeaderLine.h"

namespace corvane {

class CTextReader;

struct CHeaderEntry {
  CHeaderLine fields;
  long lineNumber = 0;  // 1-based line of the file
};

struct CHeaderSection {
  char letter = 0;    // the upper-case character after "~" ('V', 'W', 'C', 'P', 'O' or another)
  std::string title;  // the section line without its "~"
  long lineNumber = 0;
  std::vector<CHeaderEntry> entries;  // delimited sections: every line that is not a comment
  std::vector<std::string> text;      // ~O: its lines as they stand
};

struct CCurveInfo {
  std::string mnemonic;
  std::string unit;
  std::string apiCode;
  std::string description;
};

struct CLasHeader {
  std::vector<CHeaderSection> sections;  // in file order, ~A excluded
  std::vector<CCurveInfo> curves;        // of ~C: the index curve first
  bool wrapped = false;                  // WRAP. YES
  std::optional<double> nullValue;       // NULL of ~W
  std::optional<double> start, stop, step;
  bool hasData = false;          // an ~A line was found
  std::uint64_t dataOffset = 0;  // byte offset of the line after ~A
  long dataLine = 0;             // its 1-based line number

  const CHeaderSection* Section(char letter) const;
  // The value of a ~W line ("WELL", "COMP"); empty when there is none.
  std::string WellValue(const std::string& mnemonic) const;
};

// Reads lines from the start of `reader` up to and including the ~A line (or the end
// of the file). Throws CFileError when the file cannot be read.
CLasHeader ReadLasHeader(CTextReader& reader);

}  // namespace corvane
