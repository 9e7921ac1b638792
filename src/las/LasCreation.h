#pragma once
// The LAS creation run: from the Create LAS button (or `corvane-cli convert`) to the
// closing message.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "las/DepthRange.h"
#include "las/ReadingSummary.h"
#include "platform/JobProgress.h"
#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// Saves the setup to its configuration file. On screen: the wizard sheet's save;
// headless: SaveConfiguration or nothing.
using CSaveOperation = std::function<CResult()>;

// What a run found and wrote, for callers that report on many runs (a batch).
struct CLasCreationFacts {
  bool scanned = false;  // the depth scan ran: `range` holds what the header declares
  CDepthRange range;
  std::uint64_t rows = 0;  // data lines written (a failed or cancelled run wrote them to no file)
  bool read = false;       // the data section read the rows: `reading` accounts for their cells
  CReadingSummary reading;
  // Asked by the caller: the LAS file is only created, never put in the place of a file
  // of its name (one there at the start or made meanwhile fails the run with EEXIST).
  bool createOnly = false;
};

// Runs the whole job: name checks, save, depth scan, header, data section, closing
// notice. `otherHeaderLines` are the logical lines of the other header text
// (SplitTextLines). Done when the LAS file was created completely; only then does it
// take the place of an earlier LAS file of the same name, which a failed or
// cancelled run leaves as it was. `facts`, when given, receives the depth range, the
// number of data lines and the reading summary (before the closing notice is shown);
// the file is the same with or without it.
CResult CreateLas(CConversionSetup& setup, bool inverse, const std::vector<std::string>& otherHeaderLines,
                  CJobProgress& progress, CRunFeedback& feedback, const CSaveOperation& save,
                  CLasCreationFacts* facts = nullptr);

}  // namespace corvane
