#pragma once
// Writing one LAS file: the header sections, the depth scan, the data section and
// the depth inversion that the data section may ask for.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "las/DepthRange.h"
#include "las/ReadingSummary.h"
#include "platform/File.h"
#include "platform/JobProgress.h"
#include "platform/Result.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// The closing notice of a run that wrote the whole LAS file; a screen can tell it from
// the others by this text.
inline constexpr const char* kLasCreatedMessage = "LAS file created successfully.";

class CLasWriter {
 public:
  // Every section is written to `out`, which the run has created.
  explicit CLasWriter(CTextWriter& out) : m_out(out) {}

  // The text, then CR LF. Throws CFileError when the write fails.
  void WriteTextLine(std::string_view text);

  // "<mnemonic><N blanks><value> <description>" with N = 41 - |mnemonic| - |value|,
  // none when negative: the value part thus ends in column 41 whenever it can.
  static std::string ComposeHeaderLine(std::string_view mnemonic, std::string_view value,
                                       std::string_view description);
  void WriteHeaderLine(std::string_view mnemonic, std::string_view value, std::string_view description);

  // The version and well sections pass write failures on as CFileError.
  void WriteVersionSection();
  // Keeps the other header lines, should the data section have to write the header
  // again with the range of the rows it wrote.
  void WriteWellSection(const CConversionSetup& setup, const CDepthRange& range,
                        const std::vector<std::string>& otherHeaderLines);
  // The lines WriteWellSection writes, without their line ends: what a page can show
  // of the well section before the run.
  static std::vector<std::string> WellSectionLines(const CConversionSetup& setup, const CDepthRange& range,
                                                   const std::vector<std::string>& otherHeaderLines);
  // Reports a write failure itself ("Failed to write to LAS file.").
  CResult WriteCurveSection(const CConversionSetup& setup, const CDepthRange& range, CRunFeedback& feedback);
  static std::vector<std::string> CurveSectionLines(const CConversionSetup& setup, const CDepthRange& range);
  // "~Other Information" with the first date-time of a time index read from
  // date-times; nothing (no lines) otherwise.
  void WriteOtherSection(const CConversionSetup& setup, const CDepthRange& range);
  static std::vector<std::string> OtherSectionLines(const CConversionSetup& setup, const CDepthRange& range);

  // The units of STRT, STOP, STEP and NULL: the index curve's, "M" for a depth curve
  // without units (and for no index at all).
  static std::string WellUnit(const CConversionSetup& setup, const CDepthRange& range);

  // A curve as the LAS file names it: the date-time column is TIME in S (seconds since
  // its first date-time), whatever its heading; every other curve as the setup has it.
  static CCurveDef WrittenCurve(const CConversionSetup& setup, int column);

  // The curve the depth scan takes for the index: the first one headed DEPTH, DEPT or
  // DEP (any case) among the curves of the curve total, else the first headed TIME;
  // -1 when there is none.
  static int FindDepthColumn(const CConversionSetup& setup);

  // Finds the index curve and its start, stop and step in the ASCII file into `range`:
  // the index cells, as the data section writes them, of the first two rows (lines
  // that are not blank) and of the last row in the last 5000 bytes; the first
  // date-time of a date-time index. Reports "Failed to open ASCII file." itself;
  // `range` then holds what was found. The data section makes the range good from the
  // rows it writes (a step that changes, a Ctrl-Z before the last 5000 bytes).
  static CResult ScanDepthRange(const CConversionSetup& setup, bool inverse, CRunFeedback& feedback,
                                CDepthRange& range);

  // The "~A " title line and one data line per non-blank data line of the ASCII
  // file (of its inverted copy when `inverse`), every cell accounted for in the
  // reading summary; when all of it is written, STRT, STOP and STEP are those of the
  // rows written (the header this writer wrote is written again when they differ from
  // `range`: a STEP of 0.0000 when the increments differ), the output is committed (a
  // new LAS file takes the place of the old one), `reading` (when given) receives the
  // summary, then the closing notice. Done when the data section was written to the end.
  CResult WriteDataSection(const CConversionSetup& setup, const CDepthRange& range, bool inverse,
                           CJobProgress& progress, CRunFeedback& feedback,
                           CReadingSummary* reading = nullptr);
  // Data lines written by WriteDataSection so far.
  std::uint64_t DataRows() const noexcept { return m_rows; }
  // The range the header declares once WriteDataSection has written every row.
  const CDepthRange& WrittenRange() const noexcept { return m_writtenRange; }

  // Copies the data part of `source` (from its read position to its end) into a new
  // unnamed temporary file `temp` in the temporary folder, last line first, every line
  // ending with CR LF; the copy starts with one empty line when the last data line
  // had a line end or there is no data line. The copy begins at offset `start` of
  // the file. A failure is reported here ("Failed on inverse curve file."); a cancel
  // is not. On every way out but success the temporary is gone.
  // `lines`, when given, receives the number of data lines copied.
  static CResult InvertDataLines(CTextReader& source, CJobProgress& progress, CRunFeedback& feedback,
                                 CFile& temp, std::uint64_t& start, std::uint64_t* lines = nullptr);

  // True when the line is empty or holds only white space.
  static bool IsBlankLine(std::string_view line) noexcept;

  // The title of the data section and the order of its columns: the depth curve
  // first, then every other curve with a heading (as written), in curve-list order.
  static std::vector<int> OutputColumns(const CConversionSetup& setup, const CDepthRange& range);
  static std::string DataTitleLine(const CConversionSetup& setup, const std::vector<int>& columns);

 private:
  // Writes the header again with the range of the rows written, when this writer wrote
  // it and the range differs from the one it declares.
  void MendHeader(const CConversionSetup& setup, const CDepthRange& declared, const CDepthRange& written,
                  std::uint64_t headerBytes);

  CTextWriter& m_out;
  std::uint64_t m_rows = 0;
  bool m_wroteWellSection = false;
  std::vector<std::string> m_otherHeaderLines;
  CDepthRange m_writtenRange;
};

}  // namespace corvane
