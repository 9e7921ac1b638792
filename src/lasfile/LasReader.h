#pragma once
// Streaming reader of LAS files (2.0 and 1.2, wrapped or not). One pass from the top,
// one record per call: section lines, header items, comments, blank lines, free text
// and data rows, each with the number of the line it came from. Memory stays bounded
// by the longest line and the widest row, whatever the size of the file.
//
// The reader takes the file as it is and never refuses it: what is odd (a missing
// delimiter, a text among the numbers, a byte outside ASCII) is described in the
// records for the caller to judge. It knows just enough of the header to read the data:
// WRAP of the ~V section and the curves of the ~C section.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lasfile/LasHeaderLine.h"
#include "platform/TextReader.h"

namespace corvane {

enum class LasRecordKind : std::uint8_t {
  SectionTitle,  // a line whose first non-blank character is "~"
  HeaderItem,    // any other non-comment, non-blank line of ~V, ~W, ~C or ~P
  Comment,       // a line whose first non-blank character is "#"
  Blank,         // an empty line, or one of blanks only
  Text,          // any other line outside the data: ~O, sections of the file's own, before the first
                 // section, and everything after the data section
  DataRow,       // the values of one index: one line of ~A, or (wrapped) the lines that hold them
};

enum class LasLineEnd : std::uint8_t { CrLf, Lf, None };

// One physical line of the file.
struct CLasLineInfo {
  std::uint64_t number = 0;  // 1-based
  std::uint64_t offset = 0;  // of its first byte in the file
  std::size_t length = 0;    // characters, without the line end
  LasLineEnd end = LasLineEnd::None;
  // Characters other than ASCII 32 to 126 (the line end aside): how many, the 1-based
  // column of the first one (0 when there is none) and that byte.
  std::size_t badChars = 0;
  std::size_t badColumn = 0;
  unsigned char badChar = 0;
  std::uint32_t values = 0;  // data lines: the values on the line
};

enum class LasCellKind : std::uint8_t {
  Number,    // an optional sign, digits with an optional point ("-999.25", "12", ".5")
  Exponent,  // a number with an exponent ("1.5E+02")
  Text,      // anything else
};

struct CLasCell {
  std::string_view text;
  double value = 0;  // the number (Number and Exponent); NaN for Text
  LasCellKind kind = LasCellKind::Text;
};

// One curve line of the ~C section.
struct CLasCurve {
  std::string mnemonic;
  std::string unit;
  std::string value;  // the API code, as a rule
  std::string description;
  std::uint64_t line = 0;
};

// Filled by CLasReader::Next. Views stay valid until the next call; reuse one record
// for the whole file so that its vectors keep their room.
struct CLasRecord {
  LasRecordKind kind = LasRecordKind::Blank;
  // The section the line belongs to: the letter after its "~", in upper case (a blank
  // when the section line has none), 0 before the first section line.
  char section = 0;
  CLasLineInfo line;      // the line; for a DataRow its first line
  std::string_view text;  // the line without its line end (empty for a wrapped DataRow)
  CLasHeaderLine item;    // HeaderItem

  // DataRow:
  std::vector<CLasLineInfo> rowLines;  // the lines of the row, in order (one when not wrapped)
  std::size_t rowLinesDropped = 0;     // lines past CLasReader::kMaxRowLines, not in rowLines
  std::vector<CLasCell> cells;         // its first values (see CellLimit), in order
  std::size_t valueCount = 0;          // all its values, those not kept in `cells` too
};

class CLasReader {
 public:
  // Curves kept from the ~C section; more are counted but not kept.
  static constexpr std::size_t kMaxCurves = 100000;
  // Characters kept of each part of a curve line.
  static constexpr std::size_t kMaxCurveText = 1024;
  // Characters of value text kept for one wrapped row; the values beyond are counted only.
  static constexpr std::size_t kMaxRowText = 64u * 1024u * 1024u;
  // Values kept per row when the ~C section gave no curves.
  static constexpr std::size_t kDefaultCellLimit = 1024;
  // Lines described per wrapped row.
  static constexpr std::size_t kMaxRowLines = 65536;

  CLasReader() = default;
  CLasReader(const CLasReader&) = delete;
  CLasReader& operator=(const CLasReader&) = delete;

  // Opens the file for reading (not exclusively). Throws CFileError.
  void Open(const std::string& path);
  // Opens the file at `offset`, the start of a line of its data section that an earlier
  // pass met, to read rows again without the header: the rows are cut as that pass cut
  // them (`wrapped`, `curveCount` values to a wrapped row) and the lines numbered on from
  // `linesBefore`. The data ends at the next section line. Throws CFileError.
  void OpenData(const std::string& path, std::uint64_t offset, std::uint64_t linesBefore, bool wrapped,
                std::size_t curveCount);
  void Close() noexcept;

  // Reads the next record; false at the end of the file. Throws CFileError on a read
  // error or a line longer than CTextReader::kMaxLineLength.
  //
  // In wrapped data a row is complete when it holds one value per curve; the blank and
  // comment lines met meanwhile come back first, so records are in line order except
  // that a wrapped row comes after the lines that interrupted it. A row cut short by
  // the end of the file or a section line comes back as it is.
  bool Next(CLasRecord& record);

  // What the header said so far.
  bool Wrapped() const noexcept { return m_wrapped; }                         // WRAP YES in the first ~V
  const std::vector<CLasCurve>& Curves() const noexcept { return m_curves; }  // first ~C
  // Curve lines of the first ~C section, those past kMaxCurves too: the values per row.
  std::size_t CurveCount() const noexcept { return m_curveCount; }
  // Values kept per row: the number of curves, or kDefaultCellLimit without any.
  std::size_t CellLimit() const noexcept;

  // After the last record: true when a Ctrl-Z byte (0x1A) ended the text, as text mode
  // does on the systems such files come from. BytesRead() is then the offset of that
  // byte; it stands on line CtrlZLine(), in column CtrlZColumn().
  bool StoppedAtCtrlZ() const noexcept { return m_file.StoppedAtCtrlZ(); }
  std::uint64_t CtrlZLine() const noexcept;
  std::size_t CtrlZColumn() const noexcept;

  std::uint64_t LinesRead() const noexcept { return m_lineNumber; }
  std::uint64_t BytesRead() const noexcept { return m_file.Position(); }
  // Size of the file when it was opened: nothing past it is read.
  std::uint64_t Size() const noexcept { return m_file.Size(); }
  // How the file changed while it was read, in words; empty when it did not.
  std::string ChangeSinceOpen() const { return m_file.ChangeSinceOpen(); }
  // The identity of the file when it was opened.
  const CFileIdentity& Identity() const noexcept { return m_file.Identity(); }

 private:
  enum class Part { BeforeSections, Header, FreeText, Data, AfterData };

  bool ReadLine();  // the next physical line into m_line/m_info; false at the end
  void TakeLine(LasRecordKind kind, CLasRecord& record);
  void TakeSectionTitle(std::string_view content, CLasRecord& record);
  void TakeHeaderItem(std::string_view content, CLasRecord& record);
  void TakeDataLine(CLasRecord& record);  // unwrapped: the line is the row
  void GatherDataLine();                  // wrapped: adds the line to the row being gathered
  void FinishRow(CLasRecord& record);

  CTextReader m_file;
  std::string_view m_line;  // the current line without its line end
  CLasLineInfo m_info;
  bool m_held = false;  // m_line has been read but not yet turned into a record
  std::uint64_t m_lineNumber = 0;

  Part m_part = Part::BeforeSections;
  char m_section = 0;
  bool m_seenV = false;
  bool m_seenC = false;
  bool m_inFirstV = false;
  bool m_inFirstC = false;
  bool m_wrapped = false;
  std::vector<CLasCurve> m_curves;
  std::size_t m_curveCount = 0;

  // The wrapped row being gathered.
  bool m_gathering = false;
  std::string m_rowText;
  std::vector<CLasLineInfo> m_rowLines;
  std::size_t m_rowLinesDropped = 0;
  struct CSpan {
    std::size_t offset;
    std::size_t length;
    double value;
    LasCellKind kind;
  };
  std::vector<CSpan> m_spans;
  std::size_t m_rowValues = 0;
};

// Classifies a cell of the data section and reads its number with ScanDouble.
LasCellKind ReadLasCell(std::string_view text, double& value) noexcept;

}  // namespace corvane
