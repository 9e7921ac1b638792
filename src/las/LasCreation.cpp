#include "las/LasCreation.h"

#include "las/LasWriter.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"
#include "setup/Configuration.h"

namespace corvane {
namespace {

// Pairs BeginBusy with EndBusy on every way out.
class CBusyCursor {
 public:
  explicit CBusyCursor(CRunFeedback& feedback) : m_feedback(feedback) { m_feedback.BeginBusy(); }
  ~CBusyCursor() { End(); }
  CBusyCursor(const CBusyCursor&) = delete;
  CBusyCursor& operator=(const CBusyCursor&) = delete;
  void End() {
    if (m_busy) m_feedback.EndBusy();
    m_busy = false;
  }

 private:
  CRunFeedback& m_feedback;
  bool m_busy = true;
};

}  // namespace

CResult CreateLas(CConversionSetup& setup, bool inverse, const std::vector<std::string>& otherHeaderLines,
                  CJobProgress& progress, CRunFeedback& feedback, const CSaveOperation& save,
                  CLasCreationFacts* facts) {
  if (setup.configFilePath.empty() || setup.lasFilePath.empty() || setup.asciiFilePath.empty())
    return CResult::Failed("the configuration, LAS or ASCII file is not named");

  // Two written forms of one file (a relative path, a link) must not let the LAS file
  // take the place of the ASCII file: compare the files themselves too.
  if (SameFileOrPath(setup.asciiFilePath, setup.lasFilePath)) {
    feedback.ShowError(kSameAsciiAndLasMessage, "System Message");
    return CResult::Failed(setup.lasFilePath + ": the LAS file is the ASCII file");
  }
  // Saving the setup into the ASCII or LAS file would append its text to that file.
  if (ConfigurationIsDataFile(setup)) {
    feedback.ShowError(kConfigurationIsDataFileMessage, "System Message");
    return CResult::Failed(setup.configFilePath + ": the configuration file is the ASCII or the LAS file");
  }

  CBusyCursor busy(feedback);
  if (save) {
    const CResult saved = save();
    if (!saved.Ok()) feedback.ShowError("Failed to save configuration file.", std::string(), saved.Reason());
  }

  // The run works on its own copy: whatever the wizard does to its setup while the
  // data section serves the message queue cannot reach this run.
  const CConversionSetup run = setup;
  CDepthRange range;
  // A failed scan is reported and the run goes on: the data section meets the same file.
  (void)CLasWriter::ScanDepthRange(run, inverse, feedback, range);
  range.unit = CLasWriter::WellUnit(run, range);
  if (facts != nullptr) {
    facts->scanned = true;
    facts->range = range;
  }

  CTextWriter file;
  CLasWriter writer(file);
  CResult result;
  try {
    file.Create(run.lasFilePath, facts != nullptr && facts->createOnly ? CFileReplacement::Policy::CreateOnly
                                                                       : CFileReplacement::Policy::Replace);
  } catch (const CFileError& error) {
    busy.End();
    feedback.ShowError("Failed to open or write to LAS file.", std::string(), error.Result().Reason());
    return error.Result();
  }
  try {
    writer.WriteVersionSection();
    writer.WriteWellSection(run, range, otherHeaderLines);
    const CResult curves = writer.WriteCurveSection(run, range, feedback);
    writer.WriteOtherSection(run, range);
    if (facts != nullptr) facts->read = true;
    result = writer.WriteDataSection(run, range, inverse, progress, feedback,
                                     facts != nullptr ? &facts->reading : nullptr);
    if (facts != nullptr) facts->range = writer.WrittenRange();
    if (result.Ok() && !curves.Ok()) result = curves;
  } catch (const CFileError& error) {
    busy.End();
    feedback.ShowError("Failed to open or write to LAS file.", std::string(), error.Result().Reason());
    return error.Result();
  }
  busy.End();
  file.Close();  // drops what was not committed: the old LAS file stays
  if (result.Ok() && !file.InPlaceNote().empty()) feedback.ShowNotice(file.InPlaceNote());
  if (facts != nullptr) facts->rows = writer.DataRows();
  return result;
}

}  // namespace corvane
