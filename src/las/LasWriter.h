#pragma once
// Writing one LAS file: the header sections, the depth scan, the data section and
// the depth inversion that the data section may ask for.
#include <string>
#include <string_view>
#include <vector>

#include "las/DepthRange.h"
#include "platform/JobProgress.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"
#include "setup/ConversionSetup.h"

namespace corvane {

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
  // Reports a write failure itself ("Failed to write to LAS file.") and returns false.
  bool WriteCurveSection(const CConversionSetup& setup, const CDepthRange& range, CRunFeedback& feedback);

  // Finds the depth curve and its start, stop and step in the ASCII file. Reports
  // "Failed to open ASCII file." itself and returns the range found until then.
  static CDepthRange ScanDepthRange(const CConversionSetup& setup, bool inverse, CRunFeedback& feedback);

  // The "~A " title line and one data line per non-blank data line of the ASCII
  // file (of its inverted copy when `inverse`), then the closing notice. True when
  // the data section was written to the end.
  bool WriteDataSection(const CConversionSetup& setup, const CDepthRange& range, bool inverse,
                        CJobProgress& progress, CRunFeedback& feedback);

  // Copies the data part of `source` (from its read position to its end) into a new
  // temporary file, last line first, every line ending with CR LF; the file starts
  // with one empty line when the last data line had a line end or there is no data
  // line. `tempPath` receives the file's name as soon as it exists, so that the
  // caller can remove it on every way out. False after a failure ("Failed on inverse
  // curve file.", reported here) or a cancel (no message).
  static bool InvertDataLines(CTextReader& source, CJobProgress& progress, CRunFeedback& feedback,
                              std::string& tempPath);

  // True when the line is empty or holds only white space.
  static bool IsBlankLine(std::string_view line) noexcept;

  // The title of the data section and the order of its columns: the depth curve
  // first, then every other curve with a heading, in curve-list order.
  static std::vector<int> OutputColumns(const CConversionSetup& setup, const CDepthRange& range);
  static std::string DataTitleLine(const CConversionSetup& setup, const std::vector<int>& columns);

 private:
  CTextWriter& m_out;
};

}  // namespace corvane
