#pragma once
// The LAS creation run: from the Create LAS button (or `corvane-cli convert`) to the
// closing message.
#include <functional>
#include <string>
#include <vector>

#include "platform/JobProgress.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// Saves the setup to its configuration file; false when the file could not be
// written. On screen: the wizard sheet's save; headless: SaveConfiguration or nothing.
using CSaveOperation = std::function<bool()>;

// Runs the whole job: name checks, save, depth scan, header, data section, closing
// notice. `otherHeaderLines` are the logical lines of the other header text
// (SplitTextLines). Returns true when the LAS file was created completely.
bool CreateLas(CConversionSetup& setup, bool inverse, const std::vector<std::string>& otherHeaderLines,
               CJobProgress& progress, CRunFeedback& feedback, const CSaveOperation& save);

}  // namespace corvane
