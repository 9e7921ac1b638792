#pragma once
// Wrapped LAS files: detection, the offer to unwrap, and the unwrapped copy.
#include <optional>
#include <string>

#include "platform/JobProgress.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// What the offer needs of the user interface.
class CUnwrapPrompts {
 public:
  virtual ~CUnwrapPrompts() = default;
  virtual bool AskYesNo(const std::string& text) = 0;     // Yes/No, no icon
  virtual std::optional<std::string> ChooseTarget() = 0;  // "Create UNWRAP LAS File"
  virtual void ShowNotice(const std::string& text) = 0;   // OK, no icon
  virtual void ShowError(const std::string& text) = 0;    // OK, error icon
};

enum class UnwrapResult { Done, Cancelled, EndedEarly, Failed };

// True when the file's first three lines declare a wrapped LAS file. A file that
// cannot be opened is quietly "not wrapped".
bool IsWrappedLas(const std::string& path);

// Writes the unwrapped copy of `source` to `target`.
UnwrapResult UnwrapLas(const std::string& source, const std::string& target, CJobProgress& progress);
// The same, and `reason` tells why it was not done (empty when done): for the
// command line, which reports the cause of an early end.
UnwrapResult UnwrapLas(const std::string& source, const std::string& target, CJobProgress& progress,
                       std::string& reason);

// The whole offer; true when the setup's ASCII file path now names an unwrapped copy.
bool OfferUnwrap(CConversionSetup& setup, CUnwrapPrompts& prompts, CJobProgress& progress);

}  // namespace corvane
