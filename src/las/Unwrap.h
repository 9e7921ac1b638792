#pragma once
// Wrapped LAS files: detection, the offer to unwrap, and the unwrapped copy.
#include <optional>
#include <string>

#include "platform/JobProgress.h"
#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// What the offer needs of the user interface.
class CUnwrapPrompts {
 public:
  virtual ~CUnwrapPrompts() = default;
  virtual bool AskYesNo(const std::string& text) = 0;     // Yes/No, no icon
  virtual std::optional<std::string> ChooseTarget() = 0;  // "Create UNWRAP LAS File"
  virtual void ShowNotice(const std::string& text) = 0;   // OK, no icon
  // OK, error icon; `detail` (which file and why) below the text when not empty.
  virtual void ShowError(const std::string& text, const std::string& detail) = 0;
};

// True when the file's first three lines declare a wrapped LAS file. A file that
// cannot be opened is quietly "not wrapped".
bool IsWrappedLas(const std::string& path);

// Writes the unwrapped copy of `source` to `target`. Done, Cancelled, Failed (a file
// could not be read or written), or Incomplete (the source lacks what a copy needs;
// the reason says what). Only a finished copy takes the place of an earlier file of
// the target's name; on every other way out that file stays as it was. `inPlaceNote`,
// when given, receives why the target was rewritten in place from a complete copy
// (empty when it was replaced by a rename).
CResult UnwrapLas(const std::string& source, const std::string& target, CJobProgress& progress,
                  std::string* inPlaceNote = nullptr);

// The whole offer; true when the setup's ASCII file path now names an unwrapped copy.
bool OfferUnwrap(CConversionSetup& setup, CUnwrapPrompts& prompts, CJobProgress& progress);

}  // namespace corvane
