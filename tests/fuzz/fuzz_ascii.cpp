// Any bytes as an ASCII log, cut by a layout and read with reading choices taken from
// the input's first bytes: the preview, the layout detection, the digit samples and a
// whole conversion (normal or inverted) run without crashing, and a conversion that
// succeeds writes a LAS file whose reading summary accounts for every row.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFiles.h"
#include "ascii/AsciiPreview.h"
#include "ascii/DigitSamples.h"
#include "ascii/LayoutDetector.h"
#include "las/LasCreation.h"
#include "platform/JobProgress.h"

namespace {

class CQuietFeedback : public corvane::CRunFeedback {
 public:
  void ShowError(const std::string&, const std::string&, const std::string&) override {}
  void ShowNotice(const std::string&) override {}
  void BeginBusy() override {}
  void EndBusy() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  if (size < 5) return 0;
  const std::uint8_t layout = data[0];
  const std::uint8_t firstLine = data[1] % 8;
  const std::uint8_t widths = data[2];
  const bool inverse = (data[3] & 1) != 0;
  const std::uint8_t reading = data[4];
  const std::string ascii = fuzz::WriteInput("in.asc", data + 5, size - 5);
  CQuietFeedback feedback;

  CAsciiPreview preview;
  (void)preview.Load(ascii, feedback);
  std::optional<CLayoutProposal> proposal;
  (void)DetectLayout(ascii, proposal);

  static const char* const kDelimiters[] = {"space", "tab", ",", ";", " ,", ""};
  CConversionSetup setup;
  setup.asciiFilePath = ascii;
  setup.lasFilePath = fuzz::ScratchFolder() + "/out.las";
  setup.configFilePath = fuzz::ScratchFolder() + "/out.lah";
  setup.firstDigitLineIndex = proposal && (layout & 0x80) ? proposal->firstDigitLineIndex : firstLine;
  setup.delimiterText = kDelimiters[layout % 6];
  setup.fixedWidth = (layout & 0x40) ? widths % 13 : 0;
  setup.skipWidth = (widths >> 4) % 5;
  setup.userCurveTotal = (layout & 0x20) ? (layout & 0x7) : 0;
  setup.reading.decimalComma = (reading & 0x01) != 0;
  setup.reading.quotes = (reading & 0x02) != 0;
  setup.reading.emptyFields = (reading & 0x04) != 0;
  setup.reading.wholeCells = (reading & 0x08) != 0;
  setup.reading.digits = (reading & 0x10) != 0 ? DigitsKept::Source : DigitsKept::Four;
  if ((reading & 0x20) != 0) setup.reading.nullMarkers = {"-999", "NaN", "\""};
  setup.reading.dateTimeColumn = (reading >> 6) % 3;
  if (!CollectDigitSamples(setup, feedback).Ok()) return 0;
  static const char* const kHeadings[] = {"DEPT", "GR", "", "RHOB", "depth", "NPHI", "DT", "X"};
  for (std::size_t i = 0; i < setup.curves.size(); ++i) setup.curves[i].heading = kHeadings[(i + layout) % 8];
  CNullProgress progress;
  CLasCreationFacts facts;
  const CResult created = CreateLas(
      setup, inverse, {}, progress, feedback, [] { return CResult::Done(); }, &facts);
  struct stat info {};
  if (created.Ok() && ::stat(setup.lasFilePath.c_str(), &info) != 0) std::abort();
  if (created.Ok() && facts.reading.Rows() != facts.rows) std::abort();
  return 0;
}
