#include "las/LasCreation.h"

#include "las/LasWriter.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"

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

bool CreateLas(CConversionSetup& setup, bool inverse, const std::vector<std::string>& otherHeaderLines,
               CJobProgress& progress, CRunFeedback& feedback, const CSaveOperation& save) {
  if (setup.configFilePath.empty() || setup.lasFilePath.empty() || setup.asciiFilePath.empty()) return false;

  // Two written forms of one file (a relative path, a link) would let the creation
  // of the LAS file empty the ASCII file: compare the files themselves too.
  if (setup.asciiFilePath == setup.lasFilePath || SameFile(setup.asciiFilePath, setup.lasFilePath)) {
    feedback.ShowError("The name of ASCII and LAS files cannot be the same.", "System Message");
    return false;
  }

  CBusyCursor busy(feedback);
  if (save && !save()) feedback.ShowError("Failed to save configuration file.");

  // The run works on its own copy: whatever the wizard does to its setup while the
  // data section serves the message queue cannot reach this run.
  const CConversionSetup run = setup;
  CDepthRange range = CLasWriter::ScanDepthRange(run, inverse, feedback);
  if (range.unit.empty()) range.unit.push_back('M');

  CTextWriter file;
  CLasWriter writer(file);
  bool complete = false;
  try {
    file.Create(run.lasFilePath);
    writer.WriteVersionSection();
    writer.WriteWellSection(run, range, otherHeaderLines);
    const bool curvesWritten = writer.WriteCurveSection(run, range, feedback);
    const bool dataWritten = writer.WriteDataSection(run, range, inverse, progress, feedback);
    complete = curvesWritten && dataWritten;
  } catch (const CFileError&) {
    busy.End();
    feedback.ShowError("Failed to open or write to LAS file.");
    try {
      if (file.IsOpen()) file.Close();
    } catch (const CFileError&) {
      // Already reported; what was written stays.
    }
    return false;
  }
  busy.End();
  try {
    file.Close();
  } catch (const CFileError&) {
    // The data section has flushed and reported its own failures; nothing is left.
    complete = false;
  }
  return complete;
}

}  // namespace corvane
