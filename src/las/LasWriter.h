#pragma once
// Writing one LAS file: the header sections, the depth scan, the data section and
// the depth inversion that the data section may ask for.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "las/DepthRange.h"
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
  void WriteWellSection(const CConversionSetup& setup, const CDepthRange& range,
                        const std::vector<std::string>& otherHeaderLines);
  // The lines WriteWellSection writes, without their line ends: what a page can show
  // of the well section before the run.
  static std::vector<std::string> WellSectionLines(const CConversionSetup& setup, const CDepthRange& range,
                                                   const std::vector<std::string>& otherHeaderLines);
  // Reports a write failure itself ("Failed to write to LAS file.").
  CResult WriteCurveSection(const CConversionSetup& setup, const CDepthRange& range, CRunFeedback& feedback);

  // The curve the depth scan takes for the depth curve: the first one headed DEPTH,
  // DEPT or DEP (any case) among the curves of the curve total; -1 when there is none.
  static int FindDepthColumn(const CConversionSetup& setup);

  // Finds the depth curve and its start, stop and step in the ASCII file into `range`.
  // Reports "Failed to open ASCII file." itself; `range` then holds what was found.
  static CResult ScanDepthRange(const CConversionSetup& setup, bool inverse, CRunFeedback& feedback,
                                CDepthRange& range);

  // The "~A " title line and one data line per non-blank data line of the ASCII
  // file (of its inverted copy when `inverse`); when all of it is written, the
  // output is committed (a new LAS file takes the place of the old one); then the
  // closing notice. Done when the data section was written to the end.
  CResult WriteDataSection(const CConversionSetup& setup, const CDepthRange& range, bool inverse,
                           CJobProgress& progress, CRunFeedback& feedback);
  // Data lines written by WriteDataSection so far.
  std::uint64_t DataRows() const noexcept { return m_rows; }

  // Copies the data part of `source` (from its read position to its end) into a new
  // unnamed temporary file `temp` in the temporary folder, last line first, every line
  // ending with CR LF; the copy starts with one empty line when the last data line
  // had a line end or there is no data line. The copy begins at offset `start` of
  // the file. A failure is reported here ("Failed on inverse curve file."); a cancel
  // is not. On every way out but success the temporary is gone.
  static CResult InvertDataLines(CTextReader& source, CJobProgress& progress, CRunFeedback& feedback,
                                 CFile& temp, std::uint64_t& start);

  // True when the line is empty or holds only white space.
  static bool IsBlankLine(std::string_view line) noexcept;

  // The title of the data section and the order of its columns: the depth curve
  // first, then every other curve with a heading, in curve-list order.
  static std::vector<int> OutputColumns(const CConversionSetup& setup, const CDepthRange& range);
  static std::string DataTitleLine(const CConversionSetup& setup, const std::vector<int>& columns);

 private:
  CTextWriter& m_out;
  std::uint64_t m_rows = 0;
};

}  // namespace corvane
