#pragma once
// The header of a LAS file: its sections up to the ~A line, as the plot's header
// tables show them, with what the data reader needs (curves, wrap mode, null value).
// Read through the LAS reader of the check, so that the plot and the check cut the
// sections and their lines alike.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CLasReader;
struct CLasRecord;

// One line of a delimited section, "MNEM.UNIT VALUE : DESCRIPTION", its parts trimmed.
struct CHeaderEntry {
  std::string mnemonic;
  std::string unit;
  std::string value;  // the data: a value, a name or the API code of a curve
  std::string description;
  long lineNumber = 0;  // 1-based line of the file
};

struct CHeaderSection {
  char letter =
      0;  // the upper-case character after "~" ('V', 'W', 'C', 'P', 'O' or another; a blank for none)
  std::string title;  // the section line without its "~"
  long lineNumber = 0;
  std::vector<CHeaderEntry> entries;  // delimited sections: every line that is neither blank nor a comment
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
  bool wrapped = false;                  // WRAP. YES: the reader gathers a row over several lines
  std::optional<double> nullValue;       // NULL of ~W
  std::optional<double> start, stop, step;
  bool hasData = false;          // an ~A line was found
  std::uint64_t dataOffset = 0;  // byte offset of the line after ~A
  long dataLine = 0;             // its 1-based line number

  const CHeaderSection* Section(char letter) const;
  // The value of a ~W line ("WELL", "COMP"); empty when there is none.
  std::string WellValue(const std::string& mnemonic) const;
};

// Reads the records of `reader`, opened on the file, up to and including the ~A line
// (or to the end of the file); the reader then stands at the first line of the data.
// Throws CFileError when the file cannot be read.
CLasHeader ReadLasHeader(CLasReader& reader);

// The header taken record by record, for a caller that drives the reader itself (and
// checks the same records as it goes): ReadLasHeader is Take over every record up to ~A.
class CLasHeaderBuilder {
 public:
  // True once the record was the ~A line: the header is then complete and the records
  // that follow are data. Takes nothing more after that.
  bool Take(const CLasRecord& record);
  // The header so far, with its curves, null value and depths; `wrapped` and
  // `dataOffset` are left to the caller, whose reader knows them.
  CLasHeader Finish();

 private:
  CLasHeader m_header;
};

// The parts of a header line as the tables show them: cut by ParseLasHeaderLine, except
// that a line whose first dot stands after its last colon ("MNEM : a note. More") is
// taken as a mnemonic and a description, the dot being the description's.
CHeaderEntry ReadHeaderEntry(std::string_view line, long lineNumber);

}  // namespace corvane
