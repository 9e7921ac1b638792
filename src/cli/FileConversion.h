#pragma once
// The conversion of one ASCII file once its setup names it and its LAS file: what
// `convert` does for one file and every job of `batch` for each of its files, so that
// both write the same bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "las/LasCreation.h"
#include "platform/JobProgress.h"
#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane::cli {

// Keeps the first error message of a job and its reason; notices are not wanted.
class CJobMessages : public CRunFeedback {
 public:
  void ShowError(const std::string& text, const std::string& caption, const std::string& detail) override;
  void ShowNotice(const std::string&) override {}
  void BeginBusy() override {}
  void EndBusy() override {}
  const std::string& Message() const noexcept { return m_message; }
  const std::string& Detail() const noexcept { return m_detail; }

 private:
  std::string m_message;
  std::string m_detail;
};

// --first-data-line: a line number, or "auto" for the line the layout detection proposes.
struct CFirstDataLine {
  bool detect = false;
  std::int32_t index = 0;

  // None when the text is neither "auto" nor a line number (0 or more).
  static std::optional<CFirstDataLine> Parse(std::string_view text);
  // The line of a run: the option's text when it was given, else the line the
  // configuration stores (FIRST DATA LINE; `stored` < 0 when none), else "auto". None
  // when the option's text does not parse.
  static std::optional<CFirstDataLine> Choose(std::string_view text, bool given, std::int32_t stored);
};

// The message of a value that Parse refuses.
std::string FirstDataLineUsage(std::string_view text);

// Sets setup.firstDigitLineIndex for setup.asciiFilePath. Failed when a detection
// cannot read the file ("Failed to open ASCII file." goes to `feedback`); Incomplete,
// with the reason, when the detection proposes no layout.
CResult ChooseFirstDataLine(CConversionSetup& setup, const CFirstDataLine& line, CRunFeedback& feedback);

// Step 3 and Create LAS of the wizard: the digit samples (which fix the curve total;
// without them nothing is touched), then the LAS creation run with `save` as its save
// operation. `facts` as for CreateLas.
CResult ConvertAsciiFile(CConversionSetup& setup, bool inverse, CJobProgress& progress,
                         CRunFeedback& feedback, const CSaveOperation& save,
                         CLasCreationFacts* facts = nullptr);

}  // namespace corvane::cli
